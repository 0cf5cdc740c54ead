#include "accounts/account_write.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

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
namespace {

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

// The GM lines of the new accounts and the held GM levels, for the batch that writes the
// accounts: made from the GM file on disk, under the ids the accounts reach their file with.
void stage_gm_levels(const AppContext& app, Ui& ui, const AccountTable& table, FileBatch& batch) {
    const fs::path path = app.server_file(kGmFile);
    batch.add(path, std::string(kGmFile), [&app, &ui, &table, path](AtomicWriter& out) {
        std::optional<std::vector<std::string>> before;
        std::vector<std::string> lines;
        const auto read = [&] {
            if (before) return;
            before = is_missing(path) ? std::vector<std::string>{} : read_lines(path);
            lines = *before;
        };
        for (const HeldGmLevel& held : table.held_gm_levels) {
            read();
            std::uint8_t settled = 0;
            lines = settle_gm_level_lines(app, ui, lines, held.account_id, held.level,
                                          GmLevelAsRead{held.level_read, held.label}, settled);
        }
        for (const auto& [id, level] : table.unsaved_accounts) {
            if (!level) continue;
            read();
            lines = set_gm_level_lines(lines, id, *level);
        }
        if (!before || (lines == *before && file_exists(path))) return false;
        for (const std::string& line : lines) out.write_line(line);
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

// A line of the file a table that holds part of it replaces: where it is and its new text.
struct LineChange {
    std::uint64_t offset = 0;
    std::size_t length = 0;
    std::string text;
};

// The bytes of the file from where the last copy ended: `count` of them (the rest of the file
// when nothing is given) copied into out, or passed over without it.
class ByteCopy {
public:
    explicit ByteCopy(const fs::path& path) : path_(path), fd_(::open(path.c_str(), O_RDONLY)) {
        if (fd_ < 0) throw failure_from_errno(errno, path);
    }
    ~ByteCopy() { ::close(fd_); }
    ByteCopy(const ByteCopy&) = delete;
    ByteCopy& operator=(const ByteCopy&) = delete;

    void copy(std::optional<std::uint64_t> count, AtomicWriter* out) {
        if (out != nullptr) {
            at_ += out->copy_from(fd_, path_, at_, count);
            return;
        }
        struct stat status {};
        if (::fstat(fd_, &status) != 0) throw failure_from_errno(errno, path_);
        if (static_cast<std::uint64_t>(status.st_size) < at_ + *count) {
            throw Failure(err::kPathFileAccess,
                          path_.filename().string() + " became shorter while it was copied");
        }
        at_ += *count;
    }
    // Whether the file's last byte ends a line.
    bool ended_with_break() const {
        char last = '\n';
        if (at_ > 0 && ::pread(fd_, &last, 1, static_cast<off_t>(at_ - 1)) != 1) last = '\n';
        return last == '\n' || last == '\r';
    }

private:
    fs::path path_;
    int fd_;
    std::uint64_t at_ = 0;
};

// The file on disk with the changed records of a table that holds part of it, and its raised
// %newid% line, in their places: the bytes write_table gives for the whole table read from the
// file as it is now. Where every line ends in the file's line end those are the file's own bytes
// around the changes; otherwise each line is written with the line end, as write_table writes it.
void write_part(const fs::path& path, const AccountTable& table, bool has_newid,
                AtomicWriter& out) {
    const PartRead& part = *table.part;
    std::vector<LineChange> changes;
    for (std::size_t i = 0; i < table.records.size(); ++i) {
        const AccountRecord& record = table.records[i];
        if (!record.edited()) continue;
        LineChange change{part.records[i].offset, part.records[i].length, {}};
        append_account_line(change.text, record, table.server_generation);
        changes.push_back(std::move(change));
    }
    if (part.last_newid) {
        for (auto kept = table.kept_lines.rbegin(); kept != table.kept_lines.rend(); ++kept) {
            if (!kept->newid) continue;
            changes.push_back({part.last_newid->offset, part.last_newid->length, kept->text});
            break;
        }
    }
    std::sort(changes.begin(), changes.end(),
              [](const LineChange& a, const LineChange& b) { return a.offset < b.offset; });
    if (!table.has_header) {
        for (std::string_view line : kHeader) out.write_line(line);
    }
    bool ended_with_break = true;
    if (part.uniform_breaks) {
        ByteCopy in(path);
        std::uint64_t at = 0;
        for (const LineChange& change : changes) {
            in.copy(change.offset - at, &out);
            out.write(change.text);
            in.copy(change.length, nullptr);
            at = change.offset + change.length;
        }
        in.copy(std::nullopt, &out);
        ended_with_break = in.ended_with_break();
    } else {
        LineReader in(path);
        std::size_t next = 0;
        std::string_view line;
        while (in.next(line)) {
            const bool changed = next < changes.size() && changes[next].offset == in.line_offset();
            out.write_line(changed ? std::string_view(changes[next++].text) : line);
        }
    }
    if (!has_newid && writes_newid_line(table.server_generation)) {
        // The line before it gets its break, which the file's last line may not have had.
        if (!ended_with_break) out.write(out.line_end());
        out.write_line(table.newid.line_after(table.highest_player_id));
    }
}

}  // namespace

bool save_account(const AppContext& app, Ui& ui, AccountTable& table) {
    if (!table.load_state.allow_write(ui)) return false;
    return guarded(ui, "save_account", [&] {
        FileBatch batch(app.files);
        stage_account_save(app, ui, table, batch);
        try {
            batch.commit();
        } catch (...) {
            throw batch.told(failure_from_current_exception());
        }
        account_save_done(app, table);
    });
}

void stage_account_save(const AppContext& app, Ui& ui, AccountTable& table, FileBatch& batch,
                        bool account_file) {
    // The table goes onto the file as it is on disk, again if another writer changes the file
    // before the rename; the GM lines follow the ids the accounts reach the file with.
    if (account_file) {
        const fs::path path = app.server_file(kAccountFile);
        batch.add(path, std::string(kAccountFile), [&app, &ui, &table, path](AtomicWriter& out) {
            if (table.part && stamp_of(path) == table.read_stamp) {
                write_part(path, table, raise_newid(table), out);
                return true;
            }
            if (table.part && !has_content(path)) {
                // The rest of the file is gone: the records the table holds are not all of it.
                throw Failure(err::kPathFileAccess, std::string(kAccountFile) +
                                                        " was emptied or removed since it was "
                                                        "read; nothing was written");
            }
            rebase_accounts(app, ui, table);
            const bool has_newid = raise_newid(table);
            write_table(ui, table, has_newid, out);
            return true;
        });
    }
    stage_gm_levels(app, ui, table, batch);
}

void account_save_done(const AppContext& app, AccountTable& table) {
    note_accounts_written(app, table);
    table.modified = false;
    table.unsaved_accounts.clear();
    table.held_gm_levels.clear();
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

const std::vector<std::string_view>& account_file_header() {
    return kHeader;
}

}  // namespace tavo
