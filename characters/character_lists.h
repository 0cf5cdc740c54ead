#pragma once
// A character's three small lists besides its items: memo points ("map,x,y"), skills
// ("id,level") and character variables ("name,value"). Their limits, the texts the lists show,
// the duplicate rules and the forms the server can read back.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavo {

struct SkillTable;

// "Add" works while a list holds fewer entries than these; the map list's "Do it" adds a memo
// point only while there are fewer than three.
inline constexpr std::size_t kMemoAddLimit = 4;
inline constexpr std::size_t kMemoPickLimit = 3;
inline constexpr std::size_t kSkillAddLimit = 450;
inline constexpr std::size_t kQuestAddLimit = 96;

inline constexpr const char* kSkillInList = "That skill is already in his list.";
inline constexpr const char* kQuestInList = "That Quest/variable is already in his list.";

// The server keeps map names and variable names in fixed fields; a longer name overruns them.
inline constexpr std::size_t kMapNameMost = 23;
inline constexpr std::size_t kVariableNameMost = 31;
// Coordinates are 16-bit numbers on the server.
inline constexpr long long kCoordinateMost = 32767;

// The shown text of a skill entry: "Bash [10/10]" for a skill of the table (the last entry of
// that id wins), "skill 999 [1/??]" for one the table lacks, "" for an empty entry.
std::string skill_list_text(const SkillTable& skills, std::string_view entry);

// Whether a line of `lines`, other than the one at `except` (-1: none), begins with the skill
// name of a skill chooser text ("[005] Bash" gives "Bash").
bool is_skill_in_list(const std::vector<std::string>& lines, std::string_view chooser_text,
                      int except);
// Whether a line of `lines`, other than the one at `except`, holds the variable of the text:
// begins with its name and comma ("QUEST_A,2" finds "QUEST_A,1"), or with the whole text when
// it has no comma.
bool is_quest_in_list(const std::vector<std::string>& lines, std::string_view text, int except);

// What is wrong with a map name of a position or memo point, as a sentence naming `what`
// ("The save map"); nothing when the server reads it back as written. A map name holds no
// comma, blank, TAB or line break, starts with a letter (memo points are written back to back,
// each map name right after the previous point's last digit) and fits the server's field.
std::optional<std::string> map_name_problem(std::string_view name, std::string_view what);
// The same for a coordinate: a whole number from 0 to 32767 in decimal digits.
std::optional<std::string> coordinate_problem(std::string_view value, std::string_view what);

// What is wrong with a memo point or a variable entry; nothing when the server can read it.
// A memo point reads map,x,y; a variable reads name,whole number.
std::optional<std::string> memo_point_problem(std::string_view entry);
std::optional<std::string> variable_problem(std::string_view entry);

// A map of the map list ("prontera.gat (156,191)"): the memo point "prontera.gat,156,191", or
// nothing for a line that does not read so.
std::optional<std::string> map_list_point(std::string_view line);

}  // namespace tavo
