#pragma once
// The job class table of the [jobclass] section of tavo.ini, with each class's base carrying
// weight from the server's job database.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tavo {

struct AppContext;
struct ProgramIni;
class Ui;

struct JobClassEntry {
    std::int32_t id = 0;
    std::string name;  // blanks around it removed
    std::int32_t base_weight = 0;
};

struct JobClassTable {
    static constexpr int kCapacity = 101;  // entries 0..100; the list holds at most 100
    static constexpr int kListLimit = 100;

    std::array<JobClassEntry, kCapacity> entries{};
    std::int16_t count = 0;
    // The job class list texts, "[" + id + "] " + the name as written in the file.
    std::vector<std::string> list_entries;
    // Whether the last load got as far as refilling the lists (false when tavo.ini was missing
    // or empty: the choosers are then left as they were).
    bool listed = false;
};

inline constexpr const char* kAllJobClass = "[9999] All Job Class";

// Names entries 0..99 "Unknown #k", gives them their default base weights, reads the
// [jobclass] section and then the base weights of the job database (load_baseweight).
void load_jobclass(const AppContext& app, Ui& ui, const ProgramIni& ini, JobClassTable& jobs);
void load_jobclass(const AppContext& app, Ui& ui, JobClassTable& jobs);

// The k-th usable line of db/job_db1.txt gives entry k its base weight (tenths to units).
void load_baseweight(const AppContext& app, Ui& ui, JobClassTable& jobs);

// The base weight of the first of entries 0..99 with that id; 0 when none has it.
std::int16_t get_base_weight(const JobClassTable& jobs, std::int16_t class_id);

// The class chooser: "[9999] All Job Class", then the job class list.
std::vector<std::string> class_chooser_entries(const JobClassTable& jobs);

// The class number of a class chooser entry: the text after the first "[", as long as the
// position of the first "]" less one ("4001" of "[4001] Novice High"); empty without a "]".
std::string class_number_of(std::string_view entry);

}  // namespace tavo
