#include <algorithm>
#include <iostream>

#include "cli/cli.h"

namespace tavo::cli {
void CliUi::message(const std::string& text, const std::string&, Icon) {
    reported_ = true;
    ++message_count_;
    std::cerr << lf_lines(text) << '\n';
}

bool CliUi::ask_yes_no(const std::string& text, const std::string&, Icon) {
    std::cerr << lf_lines(text) << '\n';
    if (options_.yes) {
        std::cerr << "(answered Yes: --yes)\n";
        return true;
    }
    std::cerr << "(not answered: add --yes to answer Yes; nothing more was done)\n";
    declined_ = true;
    return false;
}

void CliUi::program_file_missing(const std::string& file, const std::string& text) {
    if (options_.quiet) return;
    if (!holding_) {
        message(text, "Tavo", Icon::None);
        return;
    }
    if (std::find(missing_files_.begin(), missing_files_.end(), file) == missing_files_.end()) {
        missing_files_.push_back(file);
    }
}

std::string CliUi::browse_for_folder(const std::string&) {
    std::cerr << "(no folder picker here: name the server folder with --data DIR)\n";
    return {};
}

}  // namespace tavo::cli
