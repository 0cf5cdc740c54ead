#include "characters/character_lists.h"

#include <algorithm>
#include <cmath>

#include "app/numbers.h"
#include "app/text.h"
#include "refdata/skills.h"

namespace tavo {
namespace {

bool begins_with(std::string_view line, std::string_view key) {
    return line.substr(0, key.size()) == key;
}

bool in_list(const std::vector<std::string>& lines, std::string_view key, int except) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (static_cast<int>(i) != except && begins_with(lines[i], key)) return true;
    }
    return false;
}

bool is_letter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

std::string quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

}  // namespace

std::string skill_list_text(const SkillTable& skills, std::string_view entry) {
    if (entry.empty()) return {};
    const std::string_view id = piece(entry, ',', 0);
    const std::string_view level = piece(entry, ',', 1);
    std::string text = "skill " + std::string(id) + " [" + std::string(level) + "/??]";
    const double wanted = leading_number(id);
    const double shown_level =
        std::clamp(round_half_even(leading_number(level)), -32768.0, 32767.0);
    for (int i = 0; i < skills.count; ++i) {
        const SkillEntry& skill = skills.entries[i];
        if (skill.name.empty() && skill.id == 0) break;
        if (skill.id != wanted) continue;
        text = skill.name + " [" + std::to_string(static_cast<int>(shown_level)) + "/" +
               std::to_string(skill.max_level) + "]";
    }
    return text;
}

bool is_skill_in_list(const std::vector<std::string>& lines, std::string_view chooser_text,
                      int except) {
    const std::size_t close = chooser_text.find(']');
    std::string_view key =
        close == std::string_view::npos ? chooser_text : chooser_text.substr(close + 1);
    if (key.starts_with(' ')) key.remove_prefix(1);
    return in_list(lines, key, except);
}

bool is_quest_in_list(const std::vector<std::string>& lines, std::string_view text, int except) {
    // The variable's name with its comma: the same variable with another value is the same
    // variable, and the server would keep only one of the two.
    const std::size_t comma = text.find(',');
    return in_list(lines, comma == text.npos ? text : text.substr(0, comma + 1), except);
}

std::optional<std::string> map_name_problem(std::string_view name, std::string_view what) {
    const std::string subject(what);
    if (name.empty()) return subject + " is empty: give a map name such as prontera.gat.";
    if (name.find_first_of(",\t\r\n ") != std::string_view::npos) {
        return subject + " " + quoted(name) +
               " holds a comma, a blank, a TAB or a line break, which would break the "
               "character's line.";
    }
    if (!is_letter(name.front())) {
        return subject + " " + quoted(name) + " must begin with a letter, as map names do.";
    }
    if (name.size() > kMapNameMost) {
        return subject + " " + quoted(name) + " is longer than the server's " +
               std::to_string(kMapNameMost) + " characters for a map name.";
    }
    return std::nullopt;
}

std::optional<std::string> coordinate_problem(std::string_view value, std::string_view what) {
    const bool digits = !value.empty() && value.find_first_not_of("0123456789") == value.npos;
    if (digits && integer_in(value, 0, kCoordinateMost)) return std::nullopt;
    return std::string(what) + " " + quoted(value) + " is not a whole number from 0 to " +
           std::to_string(kCoordinateMost) + ".";
}

std::optional<std::string> memo_point_problem(std::string_view entry) {
    const std::vector<std::string_view> values = split(entry, ',');
    if (values.size() != 3) {
        return "A memo point reads map_name.gat,x,y: a map name and two whole numbers, not " +
               quoted(entry) + ".";
    }
    if (auto problem = map_name_problem(values[0], "The memo point's map")) return problem;
    if (auto problem = coordinate_problem(values[1], "The memo point's x")) return problem;
    return coordinate_problem(values[2], "The memo point's y");
}

std::optional<std::string> variable_problem(std::string_view entry) {
    const std::vector<std::string_view> values = split(entry, ',');
    const bool number = values.size() == 2 && is_integer(values[1]) &&
                        integer_in(values[1], INT32_MIN, INT32_MAX).has_value();
    if (!number || values[0].empty()) {
        return "A quest variable reads Quest_Var,<value>: a name and a whole number, not " +
               quoted(entry) + ".";
    }
    if (values[0].find_first_of("\t\r\n ") != std::string_view::npos) {
        return "The variable name " + quoted(values[0]) +
               " holds a blank, a TAB or a line break, which would break the character's line.";
    }
    if (values[0].size() > kVariableNameMost) {
        return "The variable name " + quoted(values[0]) + " is longer than the server's " +
               std::to_string(kVariableNameMost) + " characters.";
    }
    return std::nullopt;
}

std::optional<std::string> map_list_point(std::string_view line) {
    const std::size_t blank = line.find(' ');
    const std::size_t open = line.find('(');
    if (blank == line.npos || open == line.npos) return std::nullopt;
    const std::size_t comma = line.find(',', open);
    if (comma == line.npos) return std::nullopt;
    const std::size_t close = line.find(')', comma);
    if (close == line.npos) return std::nullopt;
    return std::string(line.substr(0, blank)) + "," +
           std::string(line.substr(open + 1, comma - open - 1)) + "," +
           std::string(line.substr(comma + 1, close - comma - 1));
}

}  // namespace tavo
