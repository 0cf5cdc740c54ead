#pragma once
// Where the server's read-only databases are found.

#include <filesystem>
#include <string_view>

namespace tavo {

struct AppContext;
class Ui;
namespace fs = std::filesystem;

// DataFolder + db/<name>, else DataFolder + db/english/<name>, else the bare name (taken from
// the current folder), which is then what the not-found message names.
fs::path locate_db_file(const AppContext& app, std::string_view name);

// "File " + path + " not found..." and "File is empty..." with the loader's second line(s);
// true when the file can be read.
bool check_table_file(const fs::path& path, Ui& ui, std::string_view consequence);
// The same for a table of the program folder, told through Ui::program_file_missing.
bool check_program_table(const fs::path& path, Ui& ui, std::string_view consequence);

}  // namespace tavo
