#include <iostream>

#include "app/running_server.h"
#include "app/settings.h"
#include "cli/cli.h"
#include "workspace/startup.h"

namespace tavo::cli {
namespace {

// What the editor does without a program folder file.
std::string_view cost_of(std::string_view file) {
    if (file == "tavo.ini") return "default settings, no class, skill and map names";
    if (file == "cardprefixnametable.txt") return "no card names";
    if (file == "cardpostfixnametable.txt") return "no postfix card names";
    return {};
}

// One line for every program folder file the start-up missed.
void note_missing_files(const std::vector<std::string>& files, const AppContext& app) {
    if (files.empty()) return;
    std::string names, costs, folders = app.program_folder.string();
    for (const std::string& file : files) {
        names += (names.empty() ? "" : ", ") + file;
        const std::string_view cost = cost_of(file);
        if (!cost.empty()) costs.append(costs.empty() ? "" : "; ").append(cost);
    }
    for (const fs::path* folder : {&app.config_folder, &app.shared_folder}) {
        if (!folder->empty()) folders += ", " + folder->string();
    }
    std::cerr << "Missing " << names << " (looked in " << folders << "): " << costs << ".\n";
}

}  // namespace

bool Session::start(bool tables) {
    set_program_folders(ws.app, running_program_folder());
    StartOptions start_options;
    // A folder named on the command line is taken from where the command runs.
    if (options.data) start_options.data_folder = std::filesystem::absolute(*options.data).string();
    // Writes are refused while the server runs, unless --force; reading only warns.
    start_options.while_running = options.force ? WhileRunning::Write : WhileRunning::Refuse;
    start_options.warn_running_server = false;
    // A record changed here and on disk is refused unless the command line chose a side.
    ws.app.on_conflict = options.mine     ? OnConflict::Mine
                         : options.theirs ? OnConflict::Theirs
                                          : OnConflict::Refuse;
    // --yes answers "Are you sure?"; only --drop-excess lets a save lose items.
    ws.app.on_excess = options.drop_excess ? OnExcess::Drop : OnExcess::Refuse;
    if (tables) {
        ui.hold_missing_files(true);
        run_startup(ws, ui, start_options);
        ui.hold_missing_files(false);
        note_missing_files(ui.missing_files(), ws.app);
    } else {
        load_app_option(ws.app, ui, start_options);
        guard_writes(ws.app, ui, start_options.while_running);
    }
    if (const auto server = running_server(ws.app.settings.data_folder)) {
        std::cerr << "Warning: " << lf_lines(running_server_warning(*server))
                  << (options.force ? "\n(--force: files are written all the same)\n"
                                    : "\nNothing is written while it runs (add --force to "
                                      "write all the same).\n");
    }
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

std::string lf_lines(std::string_view text) {
    std::string lines;
    lines.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        lines += text[i];
    }
    return lines;
}

std::string utf8(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size());
    for (const unsigned char c : bytes) {
        if (c < 0x80) {
            text += static_cast<char>(c);
        } else {
            text += static_cast<char>(0xC0 | (c >> 6));
            text += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return text;
}

}  // namespace tavo::cli
