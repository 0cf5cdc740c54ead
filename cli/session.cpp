#include <iostream>

#include "app/settings.h"
#include "cli/cli.h"
#include "workspace/startup.h"

namespace tavo::cli {

bool Session::start() {
    ws.app.program_folder = running_program_folder();
    StartOptions start_options;
    start_options.data_folder = options.data;
    run_startup(ws, ui, start_options);
    if (!is_server_folder(ws.app.settings.data_folder)) {
        std::cerr << "No eAthena server folder (with db, save and conf) at "
                  << ws.app.settings.data_folder << "\n";
        return false;
    }
    return true;
}

void print_json(const nlohmann::json& document) {
    std::cout << document.dump(2) << '\n';
}

}  // namespace tavo::cli
