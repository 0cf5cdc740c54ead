#include "refdata/job_classes.h"

#include <optional>

#include "app/failure.h"
#include "app/numbers.h"
#include "app/settings.h"
#include "app/skipped_rows.h"
#include "app/text.h"
#include "app/text_file.h"
#include "app/ui.h"
#include "refdata/program_ini.h"
#include "refdata/server_db.h"

namespace tavo {
namespace {

// Entries 0..99 before the section is read: an "Unknown #k" name, and the base weight of the
// first and second class generations (the baby classes carry little).
void reset_names_and_weights(JobClassTable& jobs) {
    for (int k = 0; k < JobClassTable::kListLimit; ++k) {
        JobClassEntry& entry = jobs.entries[k];
        entry.name = "Unknown #" + std::to_string(k);
        if (k <= 45) {
            entry.base_weight = 2000;
        } else if (k <= 68) {
            entry.base_weight = 150;
        }
    }
}

// "<id> TAB <name>", exactly two fields, the id numeric.
bool accepted_class_line(std::string_view line, std::string_view& id, std::string_view& name) {
    const std::size_t tab = line.find('\t');
    if (tab == std::string_view::npos || line.find('\t', tab + 1) != std::string_view::npos) {
        return false;
    }
    id = line.substr(0, tab);
    name = line.substr(tab + 1);
    return !id.empty() && id.front() != '/' && is_numeric(id);
}

void read_class_section(Ui& ui, const ProgramIni& ini, JobClassTable& jobs) {
    jobs.count = 0;
    jobs.list_entries.clear();
    jobs.listed = true;
    SkippedRows skipped("tavo.ini [jobclass]");
    for_each_section_line(ini, "class", [&](std::string_view line, std::size_t number) {
        std::string_view id_text, name;
        if (!accepted_class_line(line, id_text, name)) return true;
        if (jobs.count >= JobClassTable::kListLimit) {
            ui.message("This version of Tavo can only support up to 100 job class.");
            return false;
        }
        const std::optional<std::int32_t> id = as_i32(numeric_value(id_text));
        if (!id) {
            skipped.add(number, line);
            return true;
        }
        JobClassEntry& entry = jobs.entries[jobs.count];
        entry.id = *id;
        entry.name = std::string(trim_blanks(name));
        jobs.list_entries.push_back(
            std::string("[").append(std::to_string(entry.id)).append("] ").append(name));
        ++jobs.count;
        return true;
    });
    skipped.report(ui);
}

}  // namespace

void load_jobclass(const AppContext& app, Ui& ui, const ProgramIni& ini, JobClassTable& jobs) {
    bool read = false;
    guarded(ui, "load_jobclass", [&] {
        reset_names_and_weights(jobs);
        if (!program_ini_usable(ini, ui, "Job Class Name will not shown...")) return;
        read_class_section(ui, ini, jobs);
        read = true;
    });
    if (read) load_baseweight(app, ui, jobs);
}

void load_jobclass(const AppContext& app, Ui& ui, JobClassTable& jobs) {
    load_jobclass(app, ui, read_program_ini(app), jobs);
}

void load_baseweight(const AppContext& app, Ui& ui, JobClassTable& jobs) {
    guarded(ui, "load_baseweight", [&] {
        const fs::path path = locate_db_file(app, "job_db1.txt");
        if (!check_table_file(path, ui, "Max Weight will be set to default...")) return;
        LineReader reader(path);
        std::string_view line;
        int k = 0;
        while (reader.next(line)) {
            if (line.empty()) continue;
            const std::string_view weight = piece(line, ',', 0);
            if (weight.empty() || weight.front() == '/' || !is_numeric(weight)) continue;
            if (k >= JobClassTable::kCapacity) throw Failure(err::kSubscript);
            jobs.entries[k].base_weight = to_i32(numeric_value(weight) / 10);
            ++k;
        }
    });
}

std::int16_t get_base_weight(const JobClassTable& jobs, std::int16_t class_id) {
    for (int k = 0; k < JobClassTable::kListLimit; ++k) {
        if (jobs.entries[k].id == class_id) return to_i16(jobs.entries[k].base_weight);
    }
    return 0;
}

std::vector<std::string> class_chooser_entries(const JobClassTable& jobs) {
    std::vector<std::string> entries;
    if (!jobs.listed) return entries;
    entries.reserve(jobs.list_entries.size() + 1);
    entries.emplace_back(kAllJobClass);
    entries.insert(entries.end(), jobs.list_entries.begin(), jobs.list_entries.end());
    return entries;
}

std::string class_number_of(std::string_view entry) {
    const std::size_t open = entry.find('[');
    const std::size_t close = entry.find(']');
    if (close == std::string_view::npos || close == 0) return {};
    const std::size_t start = open == std::string_view::npos ? 0 : open + 1;
    if (start >= entry.size()) return {};
    return std::string(entry.substr(start, close - 1));
}

}  // namespace tavo
