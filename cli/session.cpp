#include <iostream>

#include "app/settings.h"
#include "cli/cli.h"
#include "workspace/startup.h"

namespace tavo::cli {

bool Session::start() {
    ws.app.program_folder = running_program_folder();
    StartOptions start_options;
    // A folder named on the command line is taken from where the command runs.
    if (options.data) start_options.data_folder = std::filesystem::absolute(*options.data).string();
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
