#pragma once
// A workspace over a copy of the demo server, started as the window starts it.

#include <cstdlib>

#include "testsupport/scripted_ui.h"
#include "testsupport/temp_dir.h"
#include "workspace/startup.h"
#include "workspace/workspace.h"

namespace tavo::testing {

struct DemoWorkspace {
    DemoWorkspace() {
        const char* source = std::getenv("TAVO_SOURCE_DIR");
        const fs::path demo = fs::path(source != nullptr ? source : ".") / "demo";
        const auto options = fs::copy_options::recursive | fs::copy_options::overwrite_existing;
        fs::copy(demo / "server", dir.path() / "server", options);
        fs::copy(demo / "program", dir.path() / "program", options);
        name_port_zero(dir.path() / "server");
        ws.app.program_folder = dir.path() / "program";
    }
    void start() { run_startup(ws, ui, StartOptions{(dir.path() / "server").string() + "/"}); }
    std::string save(const std::string& name) const { return dir.read("server/save/" + name); }

    TempDir dir;
    ScriptedUi ui;
    Workspace ws;
};

}  // namespace tavo::testing
