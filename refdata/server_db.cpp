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

bool check_table_file(const fs::path& path, Ui& ui, std::string_view consequence) {
    if (!file_exists(path)) {
        ui.message("File " + path.string() + " not found...\r\n" + std::string(consequence));
        return false;
    }
    if (file_length(path) == 0) {
        ui.message("File is empty...\r\n" + std::string(consequence));
        return false;
    }
    return true;
}

}  // namespace tavo
