#include <iostream>

#include "accounts/account_form.h"
#include "accounts/account_read.h"
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

// One line for the program folder files the start-up missed, from `first` on.
void note_missing_files(const std::vector<std::string>& missing, std::size_t first,
                        const AppContext& app) {
    if (first >= missing.size()) return;
    std::string names, costs, folders = app.program_folder.string();
    for (std::size_t i = first; i < missing.size(); ++i) {
        const std::string& file = missing[i];
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

struct Session::Own {
    explicit Own(const CliOptions& options) : ui(options) {}
    CliUi ui;
    Workspace ws;
};

Session::Session(const CliOptions& options)
    : own_(options.batch ? nullptr : std::make_unique<Own>(options)),
      options(options),
      ui(options.batch ? options.batch->ui : own_->ui),
      ws(options.batch ? options.batch->ws : own_->ws),
      batch_(options.batch) {
    // On its own a command reads lazily; the characters are found without the index.
    if (!batch_) ws.characters.state().lookup.read_lazily(true);
}

Session::Session(const CliOptions& options, ForBatch)
    : own_(std::make_unique<Own>(options)),
      options(options),
      ui(own_->ui),
      ws(own_->ws),
      batch_(nullptr),
      whole_(true) {}

Session::~Session() = default;

bool Session::batch() const {
    return batch_ ? batch_->batch() : whole_;
}

bool Session::settle_folder() {
    settled_ = true;
    set_program_folders(ws.app, running_program_folder());
    StartOptions start_options;
    // A folder named on the command line is taken from where the command runs.
    if (options.data) start_options.data_folder = std::filesystem::absolute(*options.data).string();
    // A record changed here and on disk is refused unless the command line chose a side.
    ws.app.on_conflict = options.mine     ? OnConflict::Mine
                         : options.theirs ? OnConflict::Theirs
                                          : OnConflict::Refuse;
    // --yes answers "Are you sure?"; only --drop-excess lets a save lose items.
    ws.app.on_excess = options.drop_excess ? OnExcess::Drop : OnExcess::Refuse;
    load_app_option(ws.app, ui, start_options);
    // Writes are refused while the server runs, unless --force; reading only warns.
    guard_writes(ws.app, ui, options.force ? WhileRunning::Write : WhileRunning::Refuse);
    if (const auto server = running_server(ws.app.settings.data_folder)) {
        std::cerr << "Warning: " << lf_lines(running_server_warning(*server))
                  << (options.force ? "\n(--force: files are written all the same)\n"
                                    : "\nNothing is written while it runs (add --force to "
                                      "write all the same).\n");
    }
    if (!is_server_folder(ws.app.settings.data_folder)) {
        std::cerr << "No eAthena server folder (with db, save and conf) at "
                  << ws.app.settings.data_folder << "\n";
        folder_found_ = false;
    }
    return folder_found_;
}

bool Session::start(unsigned reads) {
    return start(reads, {});
}

bool Session::start(unsigned reads, const std::function<void()>& read) {
    if (batch_) return batch_->start(reads, read);
    const std::size_t noted = ui.missing_files().size();
    ui.hold_missing_files(true);
    const bool found = settled_ ? folder_found_ : settle_folder();
    const unsigned missing = found ? reads & ~read_ : 0;
    if (missing & kProgramLists) load_program_lists(ws, ui);
    if (missing & kAccountTable) ws.accounts.load(ui);
    if (missing & kItemTables) load_item_tables(ws, ui);
    if (missing & kForgerList) ws.forgers.load(ws.app, ui, ws.characters.state().lookup);
    if (found && read) read();
    read_ |= missing;
    ui.hold_missing_files(false);
    note_missing_files(ui.missing_files(), noted, ws.app);
    return found;
}

std::optional<std::size_t> Session::index_of(std::int32_t id) {
    if (batch_) return batch_->index_of(id);
    const std::vector<AccountRecord>& records = ws.accounts.table().records;
    if (!whole_) return index_of_account(ws.accounts.table(), id);
    // A record's id never changes in place: a table with other records has another size, or
    // was read anew.
    const std::string* image = ws.accounts.table().image.get();
    if (records.data() != indexed_records_ || records.size() != indexed_count_ ||
        image != indexed_image_) {
        account_index_.clear();
        account_index_.reserve(records.size());
        for (std::size_t i = 0; i < records.size(); ++i) {
            account_index_.emplace(records[i].account_id(), i);
        }
        indexed_records_ = records.data();
        indexed_count_ = records.size();
        indexed_image_ = image;
    }
    const auto found = account_index_.find(id);
    if (found == account_index_.end()) return std::nullopt;
    return found->second;
}

std::optional<FoundAccount> Session::find_account(std::int32_t id) {
    if (batch_) return batch_->find_account(id);
    AccountTable* table = &ws.accounts.table();
    if (whole_ || (read_ & kAccountTable) != 0) {
        if (!start(kAccountTable)) return std::nullopt;
    } else {
        table = &one_account_;
        load_one_account(ws.app, ui, id, one_account_);
    }
    const std::optional<std::size_t> index =
        table == &one_account_ ? index_of_account(*table, id) : index_of(id);
    if (!index) return std::nullopt;
    return FoundAccount{*table, *index};
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
