#include "refdata/skills.h"

#include <optional>

#include "app/failure.h"
#include "app/numbers.h"
#include "app/settings.h"
#include "app/skipped_rows.h"
#include "app/text.h"
#include "app/text_file.h"
#include "app/ui.h"
#include "refdata/program_ini.h"

namespace tavo {
namespace {

bool skipped_field(std::string_view field) {
    return field.empty() || field.front() == '/';
}

// A skill row: numeric id and level that fit their fields; nothing for a row that is not one.
std::optional<SkillEntry> skill_row(const std::vector<std::string_view>& fields) {
    if (!is_numeric(fields[0]) || !is_numeric(fields[1])) return std::nullopt;
    const std::optional<std::int32_t> id = as_i32(numeric_value(fields[0]));
    const double level = round_half_even(numeric_value(fields[1]));
    if (!id || *id < INT16_MIN || *id > INT16_MAX || !(level >= 0 && level <= 255)) {
        return std::nullopt;
    }
    SkillEntry entry;
    entry.id = static_cast<std::int16_t>(*id);
    entry.max_level = static_cast<std::uint8_t>(level);
    entry.name = std::string(fields[3]);
    return entry;
}

void read_skill_section(Ui& ui, const ProgramIni& ini, SkillTable& skills) {
    std::vector<std::string_view> fields;
    SkippedRows skipped("tavo.ini [skills]");
    for_each_section_line(ini, "skills", [&](std::string_view line, std::size_t number) {
        split_into(line, ',', fields);
        if (fields.size() < 4 || skipped_field(fields[0])) return true;
        if (skills.count >= SkillTable::kListLimit) {
            ui.message("This version of Tavo can only support up to 600 skills.");
            return false;
        }
        std::optional<SkillEntry> entry = skill_row(fields);
        if (!entry) {
            skipped.add(number, line);
            return true;
        }
        skills.entries[skills.count++] = std::move(*entry);
        return true;
    });
    skipped.report(ui);
}

int find_skill(const SkillTable& skills, double id) {
    for (int i = 0; i < skills.count; ++i) {
        if (skills.entries[i].id == id) return i;
    }
    return -1;
}

// One line of class-skill.txt: "<class>,<skill id>,<number>,<anything>[,...]". Returns false
// when the line stops the reading (the syntax message has been shown).
bool read_class_skill_line(Ui& ui, const SkillTable& skills, std::string_view class_number,
                           std::string_view line, long long counter,
                           std::vector<std::string_view>& fields, ClassSkills& result) {
    if (line.empty() || line.front() == '/') return true;
    split_into(line, ',', fields);
    if (fields.size() < 4 || skipped_field(fields[0])) return true;
    if (!is_numeric(fields[0]) || !is_numeric(fields[1]) || !is_numeric(fields[2])) {
        ui.message("Invalid syntax in class-skill.txt\r\nline number: " + std::to_string(counter) +
                   ": " + row_excerpt(line));
        return false;
    }
    if (fields[0] != class_number) return true;
    const int index = find_skill(skills, numeric_value(fields[1]));
    if (index < 0) return true;
    const SkillEntry& skill = skills.entries[index];
    result.entries.push_back(skill_display_text(skill));
    result.table_index.push_back(index);
    return true;
}

}  // namespace

void load_skills(const AppContext&, Ui& ui, const ProgramIni& ini, SkillTable& skills) {
    guarded(ui, "load_skills", [&] {
        if (!program_ini_usable(ini, ui, "Skills will not shown...")) return;
        skills.count = 0;
        read_skill_section(ui, ini, skills);
    });
}

void load_skills(const AppContext& app, Ui& ui, SkillTable& skills) {
    load_skills(app, ui, read_program_ini(app), skills);
}

std::string skill_display_text(const SkillEntry& skill) {
    return std::string("[").append(zero_pad(skill.id, 3)).append("] ").append(skill.name);
}

SkillChoices all_skill_entries(const SkillTable& skills) {
    SkillChoices choices;
    choices.entries.reserve(static_cast<std::size_t>(skills.count) + 1);
    choices.table_index.reserve(static_cast<std::size_t>(skills.count) + 1);
    choices.entries.emplace_back(kSkillNotInList);
    choices.table_index.push_back(-1);
    for (int i = 0; i < skills.count; ++i) {
        choices.entries.push_back(skill_display_text(skills.entries[i]));
        choices.table_index.push_back(i);
    }
    return choices;
}

namespace {

ClassSkills read_class_skills(const AppContext& app, Ui& ui, const SkillTable& skills,
                              std::string_view class_number, bool select_first) {
    ClassSkills result;
    guarded(ui, "load_skills_by_class", [&] {
        const fs::path path = app.program_file("class-skill.txt");
        if (!file_exists(path)) {
            ui.message("File " + path.string() +
                       " not found...\r\nYou cant select Skills by class...");
            return;
        }
        if (file_length(path) == 0) {
            ui.message("File is empty...\r\nReinstall class-skill.txt");
            return;
        }
        result.available = true;
        LineReader reader(path);
        std::vector<std::string_view> fields;
        std::string_view line;
        for (long long counter = 0; reader.next(line); ++counter) {
            if (!read_class_skill_line(ui, skills, class_number, line, counter, fields, result)) {
                return;
            }
        }
        if (!select_first) return;
        // The chooser selects its entry 0 next; a class without skills has none.
        if (result.entries.empty()) throw Failure(err::kSubscript);
        result.select_first = true;
    });
    return result;
}

}  // namespace

ClassSkills load_skills_by_class(const AppContext& app, Ui& ui, const SkillTable& skills,
                                 std::string_view class_number) {
    return read_class_skills(app, ui, skills, class_number, true);
}

ClassSkills skills_of_class(const AppContext& app, Ui& ui, const SkillTable& skills,
                            std::string_view class_number) {
    return read_class_skills(app, ui, skills, class_number, false);
}

std::vector<std::string> level_entries(const SkillTable& skills, int table_index) {
    std::vector<std::string> levels;
    if (table_index < 0 || table_index >= skills.count) return levels;
    for (int level = 0; level <= skills.entries[table_index].max_level; ++level) {
        levels.push_back(std::to_string(level));
    }
    return levels;
}

}  // namespace tavo
