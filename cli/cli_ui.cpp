#include <algorithm>
#include <iostream>

#include "app/numbers.h"
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

CLI::Validator decimal(long long low, long long high) {
    const std::string range = std::to_string(low) + " to " + std::to_string(high);
    return CLI::Validator(
        [low, high, range](std::string& text) -> std::string {
            const std::optional<long long> value = integer_in(text, low, high);
            if (!value) return "a whole number from " + range + " in decimal digits, not " + text;
            text = std::to_string(*value);  // CLI11 would read a leading 0 as octal
            return {};
        },
        "DECIMAL");
}

CLI::Option* add_id_option(CLI::App* command, const std::string& name, std::int32_t& id,
                           const std::string& description) {
    return command->add_option(name, id, description)->transform(decimal(0, kHighestId));
}

int kept_on_disk(Ui& ui, const std::string& record) {
    ui.message(record +
                   " was changed on disk since it was read, and the version on disk was kept "
                   "(--theirs). Nothing was changed.",
               "Tavo", Icon::Information);
    return kFailed;
}

}  // namespace tavo::cli
