#pragma once
// A program folder and a server folder (db, save, conf) in a scratch folder, with the context
// the loaders work in. db/item_db.txt starts out empty.

#include <string>
#include <string_view>

#include "app/settings.h"
#include "testsupport/scripted_ui.h"
#include "testsupport/temp_dir.h"

namespace tavo::testing {

// `count` potions as the item list of a line: "1,501,1,0,1,0,0,0,0,0,0 2,501,1,...".
inline std::string item_list(int count) {
    std::string list;
    for (int i = 1; i <= count; ++i) list += std::to_string(i) + ",501,1,0,1,0,0,0,0,0,0 ";
    return list;
}

struct ServerFolders {
    ServerFolders() {
        app.program_folder = dir.path() / "program";
        fs::create_directories(app.program_folder);
        app.settings.data_folder = dir.make_server("server").string() + "/";
    }

    fs::path program(std::string_view name, std::string_view content) const {
        return dir.write("program/" + std::string(name), content);
    }
    fs::path server(std::string_view relative, std::string_view content) const {
        return dir.write("server/" + std::string(relative), content);
    }
    // A save file as it is now ("storage.txt").
    std::string saved(std::string_view name) const {
        return dir.read("server/save/" + std::string(name));
    }

    TempDir dir;
    ScriptedUi ui;
    AppContext app;
};

}  // namespace tavo::testing
