#include "accounts/account_file.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "accounts/account_merge.h"
#include "accounts/gm_levels.h"
#include "app/failure.h"
#include "app/file_batch.h"
#include "app/file_writer.h"
#include "app/numbers.h"
#include "app/text.h"
#include "app/text_file.h"
#include "app/ui.h"

namespace tavo {
// One-letter texts as strings: GCC 12 at -O3 misreads assigning a one-letter literal.
using namespace std::string_literals;

namespace {

// The most register items a record may hold; more means a line the server did not write.
constexpr std::size_t kMaxRegisters = 19;

const std::vector<std::string_view> kHeader = {
    "// Accounts file: here are saved all information about the accounts.",
    "// Structure: ID, account name, password, last login time, sex, login count, state, email, "
    "error message for state 7, validity time, last (accepted) login ip, memo field, ban "
    "timestamp, repeated(register text, register value)",
    "// Some explanations:",
    "//   account id      : number",
    "//   account name    : between 4 to 23 char for a normal account (standard client can't "
    "send less than 4 char).",
    "//   account password: between 4 to 23 char",
    "//   sex             : M or F for normal accounts, S for server accounts",
    "//   state           : 0: account is ok, 1 to 256: error code of packet 0x006a + 1",
    "//   email           : between 3 to 39 char (a@a.com is like no email)",
    "//   error message   : text for the state 7: 'Your are Prohibited to login until <text>'. "
    "Max 19 char",
    "//   valitidy time   : 0: unlimited account, <other value>: date calculated by addition of "
    "1/1/1970 + value (number of seconds since the 1/1/1970)",
    "//   memo field      : max 254 char",
    "//   ban time        : 0: no ban, <other value>: banned until the date: date calculated by "
    "addition of 1/1/1970 + value (number of seconds since the 1/1/1970)",
};

// The LF bytes of the file, counted eight at a time (the table is sized once from it).
std::size_t count_line_breaks(std::string_view text) {
    constexpr std::uint64_t kBreaks = 0x0A0A0A0A0A0A0A0AULL;
    constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7FULL;
    std::size_t count = 0;
    std::size_t at = 0;
    for (; at + 8 <= text.size(); at += 8) {
        std::uint64_t chunk;
        std::memcpy(&chunk, text.data() + at, 8);
        const std::uint64_t x = chunk ^ kBreaks;
        const std::uint64_t breaks = ~(((x & kLow7) + kLow7) | x | kLow7);  // 0x80 per LF
        // The flags summed by one multiplication: no popcount instruction is assumed.
        count += static_cast<std::size_t>(((breaks >> 7) * 0x0101010101010101ULL) >> 56);
    }
    for (; at < text.size(); ++at) count += text[at] == '\n' ? 1 : 0;
    return count;
}

class Loader {
public:
    Loader(const AppContext& app, Ui& ui, AccountTable& table)
        : app_(app), ui_(ui), table_(table), progress_(ui) {}

    void read(std::string_view image) {
        BreakScanner breaks(image);
        std::size_t at = 0;
        while (at < image.size()) {
            const BreakScanner::Break found = breaks.find(at);
            const std::size_t line_end = std::min(found.at, image.size());
            ++line_number_;
            take(image.substr(at, line_end - at));
            progress_.reading(static_cast<long long>(table_.records.size()));
            at = line_end + found.length;
        }
    }

    void report_kept_lines() const {
        std::size_t count = 0;
        std::size_t first = 0;
        for (const KeptLine& line : table_.kept_lines) {
            if (line.comment) continue;
            if (count++ == 0) first = line.line_number;
        }
        if (count == 0) return;
        ui_.message(std::to_string(count) + " line(s) of " + std::string(kAccountFile) +
                        " could not be read as accounts, the first at line " +
                        std::to_string(first) +
                        ". They are not listed, and they are written back unchanged when the "
                        "file is saved.",
                    "Tavo", Icon::Warning);
    }

private:
    void take(std::string_view line) {
        if (line.empty() || line.starts_with("//")) {
            table_.has_header = table_.has_header || !line.empty();
            keep(line, true);
            return;
        }
        const LineFields fields(line);
        if (fields.count >= 2 && fields.field(1) == "%newid%") {
            if (table_.server_generation != ServerGeneration::V100) {
                table_.server_generation = ServerGeneration::V052;
            }
            // It stays in its place; a save may only raise it.
            if (fields.count < 7 && table_.newid.take(line)) {
                keep(line, true);
                table_.kept_lines.back().newid = true;
                return;
            }
        }
        const bool record_shape =
            fields.count == 7 || fields.count == 8 || fields.count >= LineFields::kMost;
        if (!record_shape || line.front() == '\t') {
            keep(line);
            return;
        }
        AccountRecord record;
        try {
            record = AccountRecord::from_line(fields);
        } catch (const Failure&) {
            keep(line);  // a number the server does not write (a state above 255, ...)
            return;
        }
        // Either form: an edit writes a short line back in the long form, which must read again.
        if (record.reg_count() > kMaxRegisters) {
            keep(line);
            return;
        }
        if (record.long_form()) table_.server_generation = ServerGeneration::V100;
        note_id(record);
        table_.records.push_back(std::move(record));
    }

    void keep(std::string_view line, bool comment = false) {
        table_.kept_lines.push_back(
            {table_.records.size(), std::string(line), line_number_, comment});
    }

    void note_id(AccountRecord& record) {
        const std::int32_t id = record.account_id();
        if (id >= kFirstPlayerId) {
            if (id > table_.highest_player_id) table_.highest_player_id = id;
        } else if (id > kLastServerId) {
            if (id > table_.highest_gm_id) table_.highest_gm_id = id;
            record.set_gm_level(gm_level(id));
        }
    }

    // The GM file is read at the first account of the GM id range; a failure is reported once.
    std::uint8_t gm_level(std::int32_t id) {
        if (!gm_) gm_ = GmLevels::read(app_);
        try {
            return gm_->level_of(id);
        } catch (const Failure& failure) {
            if (!gm_reported_) show_error_report(ui_, failure, "read_gm_lvl");
            gm_reported_ = true;
            return 0;
        }
    }

    const AppContext& app_;
    Ui& ui_;
    AccountTable& table_;
    Progress progress_;
    std::optional<GmLevels> gm_;
    bool gm_reported_ = false;
    std::size_t line_number_ = 0;
};

// Only a file that is missing or of 0 bytes is a new one: anything else that cannot be read is
// a failure, never a reason to start from the default accounts.
void read_account_file(const AppContext& app, Ui& ui, AccountTable& table) {
    const fs::path path = app.server_file(kAccountFile);
    if (is_new_file(path)) {
        set_def(ui, table);
        table.modified = true;
        return;
    }
    table.read_stamp = stamp_of(path);  // before the read: a change meanwhile shows later
    auto image = std::make_shared<const std::string>(read_file(path));
    table.image = image;
    table.server_generation = ServerGeneration::V817;
    // One record per line at most: the table is sized once.
    table.records.reserve(count_line_breaks(*image) + 1);
    Loader loader(app, ui, table);
    loader.read(*image);
    loader.report_kept_lines();
}

}  // namespace

bool load_account(const AppContext& app, Ui& ui, AccountTable& table) {
    const ServerGeneration generation = table.server_generation;
    table = AccountTable{};
    table.server_generation = generation;
    try {
        read_account_file(app, ui, table);
        table.load_state.set_whole();
        return true;
    } catch (...) {
        const Failure failure = failure_from_current_exception();
        table.load_state.set_failed(kAccountFile, failure);
        show_error_report(ui, failure, "load_account");
        return false;
    }
}

void set_def(Ui& ui, AccountTable& table) {
    const bool eA817 = ui.ask_yes_no(
        "What version are you using? Is it eA817Text?\r\n  Yes= eA817 Text,\r\n  No=eA.50 above.",
        "Tavo");
    if (eA817) {
        make_default_account(table, 0, "vokl1", "wemk1");
    } else {
        make_default_account(table, 0, "q1", "j1");
    }
    make_default_account(table, 1, "q2", "j2");
    make_default_account(table, 2, "q3", "j3");
    make_default_account(table, 3, "q4", "j4");
    make_default_account(table, 4, "q5", "j5");
}

void make_default_account(AccountTable& table, std::size_t slot, std::string_view name,
                          std::string_view password) {
    if (table.records.size() <= slot) table.records.resize(slot + 1);
    AccountRecord& record = table.records[slot];
    AccountFields fields = record.fields();
    fields.account_id = static_cast<std::int32_t>(slot);
    fields.userid = name;
    fields.pass = password;
    fields.lastlogin = "-"s;
    fields.sex = 2;
    fields.logincount = 0;
    fields.state = 0;
    record.assign(std::move(fields));
}

namespace {

// The last %newid% line of the file, raised in its place when the accounts passed every counter
// of the file; false when the file has none.
bool raise_newid(AccountTable& table) {
    KeptLine* last = nullptr;
    for (KeptLine& kept : table.kept_lines) {
        if (kept.newid) last = &kept;
    }
    if (last == nullptr) return false;
    const std::string raised = table.newid.line_after(table.highest_player_id);
    if (newid_counter(raised) > table.newid.counter()) {
        last->text = raised;
        table.newid.take(raised);
    }
    return true;
}

// The GM lines of the new accounts, for the batch that writes the accounts: made from the GM
// file on disk, under the ids the accounts reach their file with.
void stage_new_gm_levels(const AppContext& app, const AccountTable& table, FileBatch& batch) {
    const fs::path path = app.server_file(kGmFile);
    batch.add(path, std::string(kGmFile), [&table, path](AtomicWriter& out) {
        std::optional<std::vector<std::string>> lines;
        for (const auto& [id, level] : table.unsaved_accounts) {
            if (!level) continue;
            if (!lines) lines = is_missing(path) ? std::vector<std::string>{} : read_lines(path);
            lines = set_gm_level_lines(*lines, id, *level);
        }
        if (!lines) return false;
        for (const std::string& line : *lines) out.write_line(line);
        return true;
    });
}

// The whole table into out, in the file's generation; a %newid% line at the end when the file
// has none in its place.
void write_table(Ui& ui, const AccountTable& table, bool has_newid, AtomicWriter& out) {
    Progress progress(ui);
    if (!table.has_header) {
        for (std::string_view line : kHeader) out.write_line(line);
    }
    const std::vector<KeptLine>& kept = table.kept_lines;
    std::size_t next_kept = 0;
    std::string line;
    for (std::size_t i = 0; i < table.records.size(); ++i) {
        while (next_kept < kept.size() && kept[next_kept].before <= i) {
            out.write_line(kept[next_kept++].text);
        }
        const AccountRecord& record = table.records[i];
        if (record.edited()) {
            line.clear();
            append_account_line(line, record, table.server_generation);
            out.write_line(line);
        } else {
            out.write_line(record.line());
        }
        progress.writing(static_cast<long long>(i));
    }
    while (next_kept < kept.size()) out.write_line(kept[next_kept++].text);
    if (!has_newid && writes_newid_line(table.server_generation)) {
        out.write_line(table.newid.line_after(table.highest_player_id));
    }
}

}  // namespace

bool save_account(const AppContext& app, Ui& ui, AccountTable& table) {
    if (!table.load_state.allow_write(ui)) return false;
    return guarded(ui, "save_account", [&] {
        FileBatch batch(app.files);
        // The table goes onto the file as it is on disk, again if another writer changes the
        // file before the rename; the GM lines follow the ids the accounts reach the file with.
        batch.add(app.server_file(kAccountFile), std::string(kAccountFile), [&](AtomicWriter& out) {
            rebase_accounts(app, ui, table);
            const bool has_newid = raise_newid(table);
            write_table(ui, table, has_newid, out);
            return true;
        });
        stage_new_gm_levels(app, table, batch);
        try {
            batch.commit();
        } catch (...) {
            throw batch.told(failure_from_current_exception());
        }
        note_accounts_written(app, table);
        table.modified = false;
        table.unsaved_accounts.clear();
    });
}

bool write_account_file_without(const AppContext& app, AtomicWriter& out, std::int32_t account_id) {
    LineReader in(app.server_file(kAccountFile));
    NewIdCounter counter;
    bool found = false;
    std::string_view line;
    while (in.next(line)) {
        const std::string_view id = piece(line, '\t', 0);
        const bool account_line = !counter.take(line) && !line.starts_with("//") && !id.empty() &&
                                  id.front() >= '0' && id.front() <= '9' &&
                                  leading_number(id) == account_id;
        if (account_line) {
            found = true;
        } else {
            out.write_line(line);
        }
    }
    return found;
}

void recompute_highest_ids(AccountTable& table) {
    table.highest_player_id = kFirstPlayerId;
    table.highest_gm_id = kGmIdBase;
    for (const AccountRecord& record : table.records) {
        const std::int32_t id = record.account_id();
        if (id >= kFirstPlayerId) {
            table.highest_player_id = std::max(table.highest_player_id, id);
        } else if (id > kLastServerId) {
            table.highest_gm_id = std::max(table.highest_gm_id, id);
        }
    }
}

const std::vector<std::string_view>& account_file_header() {
    return kHeader;
}

}  // namespace tavo
