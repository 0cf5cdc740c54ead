#pragma once
// The "Status/Stats" text of the character page.

#include <cstdint>
#include <string>
#include <string_view>

namespace tavo {

struct AppContext;
struct CharacterRecord;
struct JobClassTable;
struct RefData;
class Ui;

// The job class name of the first of entries 0..99 with that id, or "unknown:" + id.
std::string get_job_name(const JobClassTable& jobs, std::int32_t class_id);

// A number grouped in thousands ("1,234,567"); 0 gives an empty text and a text that is not
// a number is shown as it stands.
std::string zeny_text(std::string_view zeny, std::string_view group_separator);

// The 22 lines of the profile, each ended by CR LF.
std::string show_char_profile(const AppContext& app, Ui& ui, const RefData& ref,
                              const CharacterRecord& record,
                              std::string_view group_separator = ",");

}  // namespace tavo
