#include "refdata/server_db.h"

#include <string>

#include "app/settings.h"
#include "app/text_file.h"
#include "app/ui.h"

namespace tavo {

fs::path locate_db_file(const AppContext& app, std::string_view name) {
    const std::string file(name);
    for (const std::string& relative : {"db/" + file, "db/english/" + file}) {
        fs::path candidate = app.server_file(relative);
        if (file_exists(candidate)) return candidate;
    }
    return fs::path(file);
}

namespace {

// Why a table file cannot be read, or nothing when it can.
std::string table_file_problem(const fs::path& path, std::string_view consequence) {
    if (!file_exists(path)) {
        return "File " + path.string() + " not found...\r\n" + std::string(consequence);
    }
    if (file_length(path) == 0) return "File is empty...\r\n" + std::string(consequence);
    return {};
}

}  // namespace

bool check_table_file(const fs::path& path, Ui& ui, std::string_view consequence) {
    const std::string problem = table_file_problem(path, consequence);
    if (!problem.empty()) ui.message(problem);
    return problem.empty();
}

bool check_program_table(const fs::path& path, Ui& ui, std::string_view consequence) {
    const std::string problem = table_file_problem(path, consequence);
    if (!problem.empty()) ui.program_file_missing(path.filename().string(), problem);
    return problem.empty();
}

}  // namespace tavo
