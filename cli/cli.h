#pragma once
// tavo-cli: the editor's capabilities without a desktop, for servers and scripts.

#include <CLI/CLI.hpp>
#include <functional>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "accounts/account_table.h"
#include "app/ui.h"
#include "workspace/workspace.h"

namespace tavo::cli {

enum ExitCode { kDone = 0, kFailed = 1, kUsage = 2 };

class Session;

struct CliOptions {
    std::optional<std::string> data;
    bool yes = false;
    bool json = false;
    bool force = false;        // write even while the server runs
    bool mine = false;         // a record changed here and on disk: write this version
    bool theirs = false;       // ... keep the one on disk
    bool drop_excess = false;  // a save may drop items beyond maxinventory or maxstorage
    bool quiet = false;
    // The session of the batch this command is a line of; none for a command run on its own.
    Session* batch = nullptr;
};

// Messages go to stderr; a question is answered Yes only with --yes and otherwise stops the
// command with a clear word on what to add.
class CliUi : public Ui {
public:
    explicit CliUi(const CliOptions& options) : options_(options) {}
    void message(const std::string& text, const std::string& title, Icon icon) override;
    void error_report(const std::string& text, Icon icon) override;
    bool ask_yes_no(const std::string& text, const std::string& title, Icon icon) override;
    std::string browse_for_folder(const std::string& instruction) override;
    void progress_show() override {}
    void progress_set(const std::string&) override {}
    void progress_close() override {}
    bool progress_due() override { return false; }
    // While the session starts, missing program files are noted, not shown; afterwards they
    // are shown like other messages. Nothing is shown with --quiet.
    void program_file_missing(const std::string& file, const std::string& text) override;
    void hold_missing_files(bool hold) { holding_ = hold; }
    const std::vector<std::string>& missing_files() const { return missing_files_; }

    bool declined() const { return declined_; }
    bool reported() const { return reported_; }
    // How many messages were shown, so that a command can tell whether a step reported one.
    int message_count() const { return message_count_; }

private:
    const CliOptions& options_;
    bool declined_ = false;
    bool reported_ = false;
    int message_count_ = 0;
    bool holding_ = false;
    std::vector<std::string> missing_files_;
};

// Whether this run reported an error (an error report or a refused write): the run then exits
// with 1 even where the command itself went on.
bool error_reported();

// A number option takes a whole number from low to high written in decimal digits, as the
// window's fields hold them; anything else ("5.5", "-5", "0x1E8487", "1e6") is a usage error
// naming the option. A leading 0 is decimal: "07502203" is 7502203, never another record.
CLI::Validator decimal(long long low, long long high);
inline constexpr long long kHighestId = 2147483647;
// An account or character id option.
CLI::Option* add_id_option(CLI::App* command, const std::string& name, std::int32_t& id,
                           const std::string& description);

// What a command reads before it runs, besides the settings and the server folder. A record it
// needs one of (an account, a character, a store) it finds itself, reading its file up to it.
enum Reads : unsigned {
    kSettingsOnly = 0,
    kProgramLists = 1,  // maps, skills and job classes of tavo.ini, battle_athena.conf, About
    kAccountTable = 2,  // every account of save/account.txt
    kItemTables = 4,    // item_db.txt and the card name tables
    kForgerList = 8,    // the item panel's forger chooser (the index of athena.txt)
    kEverything = 15,
};

// An account found by Session::find_account, in the table that holds it.
struct FoundAccount {
    AccountTable& table;
    std::size_t index;
    const AccountRecord& record() const { return table.records[index]; }
};

// One command's run: the workspace and the terminal Ui. A command run on its own reads only what
// it needs, and finds single records lazily (one pass over their file, up to the record). A
// line of a batch runs on the batch's session, which reads files whole, builds each index once
// and holds every change until the batch ends.
class Session {
    struct Own;
    std::unique_ptr<Own> own_;  // the Ui and workspace of a session that is not a batch's line

public:
    explicit Session(const CliOptions& options);
    // The session of a batch (tavo-cli batch).
    struct ForBatch {};
    Session(const CliOptions& options, ForBatch);
    ~Session();

    // Settles the settings and the server folder once, then reads what `reads` names and was
    // not read yet. False (with a message) when no server folder was found.
    bool start(unsigned reads = kEverything);
    // start, with a read of the command's own (`read`) among those of the start-up: its
    // messages come before the note of missing program files, as theirs do.
    bool start(unsigned reads, const std::function<void()>& read);
    // The account with that id: from the account table when it is read, else read lazily.
    // Nothing when there is none (a failure to read the file is reported).
    std::optional<FoundAccount> find_account(std::int32_t id);
    // Whether this session runs a batch (a line's session answers for its batch).
    bool batch() const;
    // index_of_account in the account table; a batch, whose lines look up many accounts in the
    // same table, finds them through an index of it built once (again when the table changed
    // its records).
    std::optional<std::size_t> index_of(std::int32_t id);

    const CliOptions& options;
    CliUi& ui;
    Workspace& ws;

private:
    bool settle_folder();
    Session* batch_;  // the batch's session, for a line of one
    bool whole_ = false;
    bool settled_ = false;
    bool folder_found_ = true;
    unsigned read_ = 0;
    AccountTable one_account_;                                     // a lazily read account
    std::unordered_map<std::int32_t, std::size_t> account_index_;  // a batch's: the first of each
    const AccountRecord* indexed_records_ = nullptr;  // the table's records it was built from
    std::size_t indexed_count_ = 0;
    const std::string* indexed_image_ = nullptr;  // the file image of the table then
};

// A record another writer changed meanwhile kept the other writer's version (--theirs): says
// so, and that nothing was changed. The exit code: the change was not made.
int kept_on_disk(Ui& ui, const std::string& record);

// Prints a JSON document or lines of text, as --json asks.
void print_json(const nlohmann::json& document);

// File texts are bytes of the client's code page; JSON wants UTF-8, so they are taken as
// Latin-1, the way the editor shows them.
std::string utf8(std::string_view bytes);

// A text of CR LF lines (messages, the About text, the profile) as the terminal wants it.
std::string lf_lines(std::string_view text);

// Runs one command on a session started with what it reads; the command returns the exit code.
// A failed start-up (no server folder, an unanswered question) fails the command.
template <class Command>
void run_command(const CliOptions& options, int& result, unsigned reads, Command&& command) {
    Session session(options);
    if (!session.start(reads) || session.ui.declined()) {
        result = kFailed;
        return;
    }
    result = command(session);
}
template <class Command>
void run_command(const CliOptions& options, int& result, Command&& command) {
    run_command(options, result, kEverything, std::forward<Command>(command));
}

// Each group of commands adds itself to the parser. A command stores its exit code in `result`.
void add_info_command(CLI::App& app, const CliOptions& options, int& result);
void add_refdata_commands(CLI::App& app, const CliOptions& options, int& result);
void add_account_commands(CLI::App& app, const CliOptions& options, int& result);
void add_character_commands(CLI::App& app, const CliOptions& options, int& result);
// `char set|memo|skill|var|delete` under `char`, and `delete` under `chars`.
void add_character_edit_commands(CLI::App* character, CLI::App* chars, const CliOptions& options,
                                 int& result);
void add_item_commands(CLI::App& app, const CliOptions& options, int& result);
void add_check_command(CLI::App& app, const CliOptions& options, int& result);
void add_export_command(CLI::App& app, const CliOptions& options, int& result);
void add_wipe_command(CLI::App& app, const CliOptions& options, int& result);
void add_overview_commands(CLI::App& app, const CliOptions& options, int& result);
void add_batch_command(CLI::App& app, const CliOptions& options, int& result);
// Every command above: the parser of the command line and of each line of a batch.
void add_commands(CLI::App& app, const CliOptions& options, int& result);

}  // namespace tavo::cli
