#pragma once
// The skill table of the [skills] section of tavo.ini, the skills of each job class from
// class-skill.txt, and the entry texts of the skill and level choosers.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tavo {

struct AppContext;
struct ProgramIni;
class Ui;

struct SkillEntry {
    std::int16_t id = 0;
    std::string name;
    std::uint8_t max_level = 0;
};

struct SkillTable {
    static constexpr int kCapacity = 601;
    static constexpr int kListLimit = 600;

    std::array<SkillEntry, kCapacity> entries{};
    std::int16_t count = 0;
};

inline constexpr const char* kSkillNotInList = "[000] Skill not in list";

void load_skills(const AppContext& app, Ui& ui, const ProgramIni& ini, SkillTable& skills);
void load_skills(const AppContext& app, Ui& ui, SkillTable& skills);

// "[" + id with at least three digits + "] " + name: "[005] Bash".
std::string skill_display_text(const SkillEntry& skill);

// Skill chooser entries, each with the SkillTable entry it names (-1 for "[000] Skill not in
// list"). The table may hold one skill id twice with other levels, so the chooser passes on
// this index, never its text or the skill id.
struct SkillChoices {
    std::vector<std::string> entries;  // chooser texts
    std::vector<int> table_index;
};

// The skill chooser of "[9999] All Job Class": "[000] Skill not in list", then every skill.
SkillChoices all_skill_entries(const SkillTable& skills);

// The skill chooser for one class, read from class-skill.txt (entries in file order).
struct ClassSkills : SkillChoices {
    // False when class-skill.txt is missing or empty: skills cannot be chosen by class.
    bool available = false;
    bool select_first = false;  // the list was read through and has an entry 0
};

// class_number is compared as text with the first field of each line of class-skill.txt.
// The chooser then selects entry 0, so a class without skills is reported.
ClassSkills load_skills_by_class(const AppContext& app, Ui& ui, const SkillTable& skills,
                                 std::string_view class_number);
// The same list for a listing, where an empty one is no failure.
ClassSkills skills_of_class(const AppContext& app, Ui& ui, const SkillTable& skills,
                            std::string_view class_number);

// The level chooser of a skill chooser entry: "0" .. the skill's max level, or nothing for an
// index outside the table ("[000] Skill not in list").
std::vector<std::string> level_entries(const SkillTable& skills, int table_index);

}  // namespace tavo
