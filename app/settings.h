#pragma once
// The program's own settings (the key section of tavo.ini), the DataFolder and the context
// every file procedure works in.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "app/disk_guard.h"
#include "app/file_writer.h"
#include "app/item_limit.h"

namespace tavo {

class Ui;
namespace fs = std::filesystem;

struct AppSettings {
    std::string data_folder;  // the server folder, always ending in a separator
    std::int32_t maxblvl = 99;
    std::int32_t maxjlvl = 50;
    std::string maxzeny = "1000000000";  // kept as the text written in tavo.ini
    std::int32_t maxstpoint = 10000;
    std::int32_t maxskpoint = 1000;
    std::int32_t maxitemcount = 30000;
    std::int32_t maxinventory = 100;
    std::int32_t maxstorage = 100;
};

// What every file procedure needs: where the program and the server are, the settings, and
// the one writer through which files are rewritten.
struct AppContext {
    fs::path program_folder;
    // An installed program also finds its files in the share folder of its prefix, and keeps
    // the settings it writes in the user's config folder when it may not write beside itself.
    // Either may be empty.
    fs::path config_folder;
    fs::path shared_folder;
    bool program_folder_writable = true;
    AppSettings settings;
    FileWriter files;
    // What a save does with a record that another writer changed too (app/disk_guard.h).
    OnConflict on_conflict = OnConflict::Ask;
    // What a save does with items beyond maxinventory or maxstorage (app/item_limit.h).
    OnExcess on_excess = OnExcess::Ask;

    // DataFolder + a relative name such as "save/account.txt" (either separator), found
    // without regard to letter case where the exact name does not exist.
    fs::path server_file(std::string_view relative) const;
    // A file of the program folder, such as tavo.ini: the first that exists of the program
    // folder, the config folder (first when the program folder is not writable) and the
    // share folder; the program folder's when none does.
    fs::path program_file(std::string_view name) const;
    // Where a program file is written: the program folder, or the config folder when the
    // program folder is not writable.
    fs::path writable_program_file(std::string_view name) const;
    // The program folder as a DataFolder text (with its final separator).
    std::string program_folder_text() const;
};

// What a write does while a server answers: ask the user (the editor), refuse (tavo-cli), or
// write anyway (tavo-cli --force).
enum class WhileRunning { Ask, Refuse, Write };

// How the program was started; tavo-cli names the server folder on its command line.
struct StartOptions {
    std::optional<std::string> data_folder;
    // What a write does while the server answers on its port; the editor asks.
    WhileRunning while_running = WhileRunning::Ask;
    // The start-up warning about a running server goes through the Ui.
    bool warn_running_server = true;
};

// Fills the settings from tavo.ini and settles the DataFolder, asking for a folder until a
// valid one is picked or the picker is cancelled.
void load_app_option(AppContext& app, Ui& ui, const StartOptions& options = {});

// Rewrites every eafolder line of tavo.ini with the current DataFolder.
void save_eafolder_location(AppContext& app, Ui& ui);

// The DataFolder check of one candidate folder; true when the candidate, or a folder picked
// after it, was accepted as the DataFolder. An accepted folder is remembered in tavo.ini
// unless it was only given for this run.
bool check_data_folder(AppContext& app, Ui& ui, std::string candidate, bool remember = true);

// Whether a folder holds the server's db, save and conf folders, each with a file in it.
bool is_server_folder(const fs::path& folder);

// The folder of the running executable: tavo.ini and the card tables live there.
fs::path running_program_folder();
// The program folder, and from it and the environment the share folder (<prefix>/share/tavo
// beside <prefix>/bin), the user's config folder ($XDG_CONFIG_HOME/tavo, else
// $HOME/.config/tavo) and whether the program folder is writable.
void set_program_folders(AppContext& app, const fs::path& program_folder);

// A folder text as the settings keep it: "\" taken as the separator, one final separator.
std::string folder_text(std::string_view folder);

}  // namespace tavo
