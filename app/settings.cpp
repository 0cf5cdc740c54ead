#include "app/settings.h"

#include <unistd.h>

#include <array>
#include <cstdlib>
#include <functional>
#include <vector>

#include "app/failure.h"
#include "app/numbers.h"
#include "app/text.h"
#include "app/text_file.h"
#include "app/ui.h"

namespace tavo {
namespace {

constexpr char kSeparator = '/';
constexpr std::string_view kSettingsFile = "tavo.ini";

struct NumericKey {
    std::string_view name;
    double limit;
    std::function<void(AppSettings&, std::string_view value, double number)> store;
};

void store_i32(std::int32_t& field, double number) {
    field = to_i32(number);
}

const std::array<NumericKey, 8>& numeric_keys() {
    static const std::array<NumericKey, 8> keys{{
        {"maxblvl", 999, [](AppSettings& s, auto, double n) { store_i32(s.maxblvl, n); }},
        {"maxjlvl", 200, [](AppSettings& s, auto, double n) { store_i32(s.maxjlvl, n); }},
        {"maxzeny", 1e10, [](AppSettings& s, auto v, double) { s.maxzeny = std::string(v); }},
        {"maxstpoint", 32000, [](AppSettings& s, auto, double n) { store_i32(s.maxstpoint, n); }},
        {"maxskpoint", 32000, [](AppSettings& s, auto, double n) { store_i32(s.maxskpoint, n); }},
        {"maxitemcount", 64000,
         [](AppSettings& s, auto, double n) { store_i32(s.maxitemcount, n); }},
        {"maxinventory", 64000,
         [](AppSettings& s, auto, double n) { store_i32(s.maxinventory, n); }},
        {"maxstorage", 32000, [](AppSettings& s, auto, double n) { store_i32(s.maxstorage, n); }},
    }};
    return keys;
}

bool is_section_header(std::string_view line) {
    return contains(line, "[") && contains(line, "]");
}

std::string with_final_separator(std::string folder) {
    if (folder.empty() || folder.back() != kSeparator) folder += kSeparator;
    return folder;
}

void settings_missing_message(Ui& ui, const fs::path& path) {
    ui.program_file_missing(
        std::string(kSettingsFile),
        "File " + path.string() + " not found...\r\nJob Class Name will not shown...");
}

void apply_key(AppContext& app, Ui& ui, std::string_view key, std::string_view value,
               bool folder_given) {
    if (key == "eafolder") {
        if (folder_given) return;
        check_data_folder(app, ui, std::string(value));
        app.settings.data_folder = with_final_separator(app.settings.data_folder);
        return;
    }
    for (const NumericKey& known : numeric_keys()) {
        if (key != known.name) continue;
        const double number = numeric_value(value);
        if (number <= known.limit) known.store(app.settings, value, number);
        return;
    }
}

void read_key_section(AppContext& app, Ui& ui, const fs::path& path, bool folder_given) {
    // The whole file is read first: the eafolder rewrite happens while the keys after it are
    // still to be read, and they must be read as they were.
    const std::vector<std::string> lines = read_lines(path);
    bool in_keys = false;
    std::vector<std::string_view> fields;
    for (const std::string& line : lines) {
        if (line.empty()) continue;
        if (is_section_header(line)) {
            in_keys = contains(to_lower(line), "option");
            continue;
        }
        if (!in_keys) continue;
        split_into(line, '\t', fields);
        if (fields.size() != 2 || fields[0].empty() || fields[0].front() == '/') continue;
        apply_key(app, ui, fields[0], fields[1], folder_given);
    }
}

}  // namespace

fs::path AppContext::server_file(std::string_view relative) const {
    return resolve_in(fs::path(settings.data_folder), relative);
}

fs::path AppContext::program_file(std::string_view name) const {
    const fs::path* order[] = {&program_folder, &config_folder, &shared_folder};
    if (!program_folder_writable) std::swap(order[0], order[1]);
    for (const fs::path* folder : order) {
        if (folder->empty()) continue;
        fs::path path = resolve_in(*folder, name);
        if (file_exists(path)) return path;
    }
    return resolve_in(program_folder, name);
}

fs::path AppContext::writable_program_file(std::string_view name) const {
    if (program_folder_writable || config_folder.empty()) return resolve_in(program_folder, name);
    return resolve_in(config_folder, name);
}

std::string AppContext::program_folder_text() const {
    return with_final_separator(program_folder.string());
}

fs::path running_program_folder() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::current_path() : exe.parent_path();
}

void set_program_folders(AppContext& app, const fs::path& program_folder) {
    app.program_folder = program_folder;
    app.shared_folder = (program_folder / ".." / "share" / "tavo").lexically_normal();
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    if (xdg != nullptr && *xdg == '/') {
        app.config_folder = fs::path(xdg) / "tavo";
    } else if (home != nullptr && *home != '\0') {
        app.config_folder = fs::path(home) / ".config" / "tavo";
    } else {
        app.config_folder.clear();
    }
    app.program_folder_writable = ::access(program_folder.c_str(), W_OK) == 0;
}

std::string folder_text(std::string_view folder) {
    std::string text(folder);
    for (char& c : text) {
        if (c == '\\') c = kSeparator;
    }
    return with_final_separator(std::move(text));
}

bool is_server_folder(const fs::path& folder) {
    for (const char* sub : {"db", "save", "conf"}) {
        if (!folder_present(resolve_in(folder, sub))) return false;
    }
    return true;
}

bool check_data_folder(AppContext& app, Ui& ui, std::string candidate, bool remember) {
    while (!candidate.empty()) {
        candidate = folder_text(candidate);
        fs::path folder(candidate);
        if (folder.is_relative()) {
            folder = (app.program_folder / folder).lexically_normal();
            candidate = with_final_separator(folder.string());
        }
        std::error_code ec;
        if (!fs::is_directory(folder, ec)) {
            ui.message("The eAthena folder specified in the tavo.ini does not exist.");
        } else if (is_server_folder(folder)) {
            app.settings.data_folder = candidate;
            if (remember) save_eafolder_location(app, ui);
            return true;
        } else {
            ui.message(
                "The eAthena db, save or conf folder was NOT found.\r\n"
                "make sure to enter the correct path in tavo.ini\r\n"
                "or place tavo.exe in your eAthena folder.");
        }
        candidate = ui.browse_for_folder(app.program_folder.string());
    }
    return false;
}

void load_app_option(AppContext& app, Ui& ui, const StartOptions& options) {
    app.settings = AppSettings{};
    app.settings.data_folder = app.program_folder_text();
    const fs::path path = app.program_file(kSettingsFile);
    const bool folder_given = options.data_folder.has_value();
    if (!file_exists(path)) {
        settings_missing_message(ui, path);
    } else if (file_length(path) == 0) {
        ui.program_file_missing(std::string(kSettingsFile),
                                "File is empty...\r\nReinstall tavo.ini");
    } else {
        guarded(ui, "load_app_option", [&] { read_key_section(app, ui, path, folder_given); });
    }
    if (folder_given) check_data_folder(app, ui, *options.data_folder, false);
}

void save_eafolder_location(AppContext& app, Ui& ui) {
    guarded(ui, "save_eafolder_location", [&] {
        const fs::path path = app.program_file(kSettingsFile);
        // A folder whose name holds a line break is used, never remembered: it would break the
        // line in two.
        if (!has_content(path) || has_line_breaker(app.settings.data_folder)) return;
        const fs::path target = app.writable_program_file(kSettingsFile);
        std::string content;
        for (const std::string& line : read_lines(path)) {
            if (!line.empty() && line.front() != '/' && piece(line, '\t', 0) == "eafolder") {
                content += "eafolder\t" + app.settings.data_folder;
            } else {
                content += line;
            }
            content += "\r\n";
        }
        if (target != path) fs::create_directories(target.parent_path());
        app.files.rewrite(target, content);
    });
}

}  // namespace tavo
