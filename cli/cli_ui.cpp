#include <algorithm>
#include <iostream>

#include "cli/cli.h"

namespace tavo::cli {
namespace {
bool errors = false;
}  // namespace

bool error_reported() {
    return errors;
}

void CliUi::error_report(const std::string& text, Icon icon) {
    errors = true;
    message(text, "Tavo", icon);
}

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

namespace tavo::cli {

CLI::Option* add_id_option(CLI::App* command, const std::string& name, std::int32_t& id,
                           const std::string& description) {
    const CLI::Validator decimal(
        [](std::string& text) -> std::string {
            const bool digits = !text.empty() && text.size() <= 10 &&
                                text.find_first_not_of("0123456789") == std::string::npos;
            return digits ? std::string() : "an id is written in decimal digits: " + text;
        },
        "DECIMAL");
    return command->add_option(name, id, description)->check(decimal);
}

int kept_on_disk(Ui& ui, const std::string& record) {
    ui.message(record +
                   " was changed on disk since it was read, and the version on disk was kept "
                   "(--theirs). Nothing was changed.",
               "Tavo", Icon::Information);
    return kFailed;
}

}  // namespace tavo::cli
