#include "storage/storage_file.h"

#include <algorithm>
#include <unordered_map>

#include "app/disk_guard.h"
#include "app/failure.h"
#include "app/file_batch.h"
#include "app/numbers.h"
#include "app/settings.h"
#include "app/text.h"
#include "app/text_file.h"
#include "app/ui.h"
#include "characters/character_index.h"

namespace tavo {
namespace {

// What a line is to the store of one account: its store line, a line that names the account but
// has no TAB ("2000001,3 1,501,..."), which the server cannot read, or none of its own.
enum class LineOf { Other, Store, NoTab };

// Which account a line names, and how. Only the head is looked at: every line of a large file
// passes here.
struct LineOwner {
    LineOf kind = LineOf::Other;
    double account = 0;
    // The account as an id, when the line names one.
    std::optional<std::int32_t> id() const {
        if (kind == LineOf::Other || account < INT32_MIN || account > INT32_MAX) return {};
        const auto id = static_cast<std::int32_t>(account);
        return id == account ? std::optional<std::int32_t>(id) : std::nullopt;
    }
};

LineOwner owner_of(std::string_view line) {
    const std::size_t tab = line.find('\t');
    if (tab != std::string_view::npos) {
        const std::string_view head = line.substr(0, tab);
        return {LineOf::Store, leading_number(head.substr(0, head.find(',')))};
    }
    const std::string_view head = line.substr(0, line.find(','));
    if (!is_integer(head)) return {};
    return {LineOf::NoTab, static_cast<double>(integer_value(head))};
}

// The server keeps the last store line of an account it reads.
void take(AccountLines& lines, std::string_view line, std::size_t number, LineOf kind) {
    switch (kind) {
        case LineOf::Store:
            lines.kept_at = number;
            lines.kept = line;
            ++lines.store_lines;
            break;
        case LineOf::NoTab:
            if (lines.no_tab_lines++ == 0) lines.no_tab_at = number;
            break;
        case LineOf::Other: break;
    }
}

// The lines of each of the accounts in one pass over the file.
std::unordered_map<std::int32_t, AccountLines> lines_of_accounts(
    const fs::path& path, const std::vector<std::int32_t>& accounts) {
    std::unordered_map<std::int32_t, AccountLines> found;
    for (const std::int32_t account : accounts) found[account];
    if (!file_exists(path)) return found;
    LineReader in(path);
    std::string_view line;
    for (std::size_t number = 1; in.next(line); ++number) {
        const LineOwner owner = owner_of(line);
        const std::optional<std::int32_t> id = owner.id();
        if (!id) continue;
        if (const auto it = found.find(*id); it != found.end()) {
            take(it->second, line, number, owner.kind);
        }
    }
    return found;
}

// The lines of the changed accounts on disk: those found when the stores were read while the
// file is as it was then, else from a pass over it.
std::unordered_map<std::int32_t, AccountLines> lines_on_disk(
    const fs::path& path, const std::vector<StoreChange>& changes,
    const std::vector<std::int32_t>& accounts) {
    const std::optional<FileStamp> now = stamp_of(path);
    std::unordered_map<std::int32_t, AccountLines> found;
    for (const StoreChange& change : changes) {
        if (!now || !change.lines_read || change.lines_read->stamp != now) {
            return lines_of_accounts(path, accounts);
        }
        found[change.account_id] = change.lines_read->lines;
    }
    return found;
}

// What the user is told of the account's lines the store does not show; empty when the account
// has one line at most.
std::string unshown_lines_text(const AccountLines& lines, std::int32_t account_id) {
    const std::string account = "account " + std::to_string(account_id);
    const std::string file(kStorageFile);
    std::string text;
    if (lines.store_lines > 1) {
        text += file + " holds " + std::to_string(lines.store_lines) + " store lines for " +
                account + ". The server keeps the last one it reads (line " +
                std::to_string(lines.kept_at) + "), which is shown here.\r\n";
    }
    if (lines.no_tab_lines == 1) {
        text += "Line " + std::to_string(lines.no_tab_at) + " of " + file + " names " + account +
                " but has no TAB: the server cannot read it as a store, and it is not shown.\r\n";
    } else if (lines.no_tab_lines > 1) {
        text += std::to_string(lines.no_tab_lines) + " lines of " + file + " name " + account +
                " but have no TAB, the first at line " + std::to_string(lines.no_tab_at) +
                ": the server cannot read them as a store, and they are not shown.\r\n";
    }
    if (text.empty()) return text;
    return text + "Saving the store leaves one line for the account: the store shown here.";
}

}  // namespace

std::optional<StoreLine> store_line(std::string_view line) {
    const std::size_t tab = line.find('\t');
    if (tab == std::string_view::npos) return std::nullopt;
    const std::string_view head = line.substr(0, tab);
    const std::string_view rest = line.substr(tab + 1);
    return StoreLine{head.substr(0, head.find(',')), rest.substr(0, rest.find('\t'))};
}

std::string storage_line(std::string_view head, const std::vector<ItemSlot>& items,
                         std::size_t count) {
    std::string line(head);
    line += ',';
    line += std::to_string(count);
    line += '\t';
    for (std::size_t i = 0; i < count && i < items.size(); ++i) append_item_text(line, items[i]);
    line += '\t';
    return line;
}

bool load_storage(const AppContext& app, Ui& ui, std::int32_t account_id, StorageRecord& record,
                  CachedIndex<StorageIndex>* index) {
    record = StorageRecord{};
    const fs::path path = app.server_file(kStorageFile);
    if (is_new_file(path)) {
        record.load_state.set_whole();
        return true;
    }
    try {
        const std::optional<FileStamp> stamp = stamp_of(path);
        const AccountLines lines =
            index ? index->get(path, StorageIndex::build).lines_of(path, account_id)
                  : lines_of_accounts(path, {account_id}).at(account_id);
        record.lines_read = LinesRead{lines, stamp};
        if (const std::string unshown = unshown_lines_text(lines, account_id); !unshown.empty()) {
            ui.message(unshown, "Tavo", Icon::Warning);
        }
        if (lines.kept_at != 0) {
            const StoreLine store = *store_line(lines.kept);
            record.read_line = lines.kept;
            record.head = store.head;
            record.account_id = leading_i32(store.head);
            for (std::string_view entry : list_entries(store.items)) {
                record.items.push_back(parse_item(entry));
            }
            const std::int32_t limit = app.settings.maxstorage;
            if (static_cast<long long>(record.items.size()) > limit) {
                const long long count = static_cast<long long>(record.items.size());
                ui.message("Kafra Storage holds " + std::to_string(count) + " items, " +
                               std::to_string(count - limit) + " more than maxstorage (" +
                               std::to_string(limit) + "), which the server cannot hold.",
                           "Tavo");
            }
        }
        record.load_state.set_whole();
        return true;
    } catch (...) {
        const Failure failure = failure_from_current_exception();
        record.load_state.set_failed(kStorageFile, failure);
        show_error_report(ui, failure, "load_storage");
        return false;
    }
}

std::optional<std::string> store_line_to_write(const StorageRecord& record, std::int32_t account_id,
                                               std::size_t count) {
    // An empty store has no line: the server never writes one.
    if (count == 0) return std::nullopt;
    const std::string head = record.head.empty() ? std::to_string(account_id) : record.head;
    return storage_line(head, record.items, count);
}

std::optional<StoreChange> store_change(const AppContext& app, Ui& ui, std::int32_t account_id,
                                        StorageRecord& record, std::int32_t maxstorage) {
    if (!record.load_state.allow_write(ui)) return std::nullopt;
    const std::optional<std::size_t> kept =
        items_to_write(ui, app.on_excess, "the store of account " + std::to_string(account_id),
                       record.items.size(), maxstorage, "maxstorage");
    if (!kept) return std::nullopt;
    StoreChange change;
    change.account_id = account_id;
    change.count = *kept;
    change.read_line = record.read_line;
    change.line = store_line_to_write(record, account_id, *kept);
    change.label = "The store of account " + std::to_string(account_id);
    change.lines_read = record.lines_read;
    return change;
}

void write_stores(const AppContext& app, Ui& ui, std::vector<StoreChange>& changes,
                  AtomicWriter& out) {
    const fs::path path = app.server_file(kStorageFile);
    std::vector<std::int32_t> accounts;
    for (const StoreChange& change : changes) accounts.push_back(change.account_id);
    const std::unordered_map<std::int32_t, AccountLines> on_disk =
        lines_on_disk(path, changes, accounts);
    // A store takes the place of the line the server keeps; the account's other lines go, as
    // they go at the server's next save. When the disk's version stays, so does every line of
    // the account.
    struct Settled {
        const AccountLines* lines;
        StoreChange* change;
        bool mine_goes;
    };
    std::unordered_map<std::int32_t, Settled> settled;
    for (StoreChange& change : changes) {
        const AccountLines& lines = on_disk.at(change.account_id);
        const std::optional<std::string_view> kept =
            lines.kept_at != 0 ? std::optional<std::string_view>(lines.kept) : std::nullopt;
        change.written =
            settled_text(ui, app.on_conflict, change.label, change.read_line, change.line, kept);
        settled[change.account_id] = {&lines, &change, change.written == change.line};
    }
    std::string_view last_break = "\n";
    if (file_exists(path)) {
        LineReader in(path);
        Progress progress(ui);
        std::size_t number = 0;
        std::string_view line;
        while (in.next(line)) {
            progress.reading(static_cast<long long>(++number));
            last_break = in.line_break();
            const LineOwner owner = owner_of(line);
            const std::optional<std::int32_t> id = owner.id();
            const auto it = id ? settled.find(*id) : settled.end();
            if (it == settled.end() || !it->second.mine_goes) {
                out.write_line(line, last_break);
            } else if (number == it->second.lines->place()) {
                if (it->second.change->written)
                    out.write_line(*it->second.change->written, last_break);
            }
        }
    }
    for (const StoreChange& change : changes) {
        if (on_disk.at(change.account_id).place() != 0 || !change.written) continue;
        // The old last line had no break.
        if (last_break.empty()) out.write(out.line_end());
        last_break = out.line_end();
        out.write_line(*change.written);
    }
}

bool store_written(const AppContext& app, Ui& ui, const StoreChange& change,
                   StorageRecord& record) {
    record.read_line = change.written;
    record.lines_read.reset();
    record.items.resize(std::min(change.count, record.items.size()));
    record.disk_version_kept = false;
    if (change.written == change.line) return true;
    // The version on disk was kept: the store shows what the file holds.
    const bool reloaded = load_storage(app, ui, change.account_id, record);
    record.disk_version_kept = true;
    return reloaded;
}

bool save_storage(const AppContext& app, Ui& ui, std::int32_t account_id, StorageRecord& record,
                  std::int32_t maxstorage) {
    std::optional<StoreChange> change = store_change(app, ui, account_id, record, maxstorage);
    if (!change) return false;
    std::vector<StoreChange> changes{std::move(*change)};
    const bool done = guarded(ui, "save_storage", [&] {
        // Made from the file on disk, again when another writer changes it before the rename.
        const auto make = [&](AtomicWriter& out) {
            write_stores(app, ui, changes, out);
            return true;
        };
        rewrite_from_disk(app.files, app.server_file(kStorageFile), make,
                          app.server_file(kStorageBackup));
    });
    return done && store_written(app, ui, changes.front(), record);
}

StorageIndex StorageIndex::build(const fs::path& storage) {
    StorageIndex index;
    if (!file_exists(storage)) return index;
    LineReader in(storage);
    std::string_view line;
    for (std::size_t number = 1; in.next(line); ++number) {
        const LineOwner owner = owner_of(line);
        const std::optional<std::int32_t> id = owner.id();
        if (!id) continue;
        Entry& entry = index.entries_[*id];
        if (owner.kind == LineOf::Store) {
            entry.kept_at = number;
            entry.offset = in.line_offset();
            entry.length = static_cast<std::uint32_t>(line.size());
            ++entry.store_lines;
        } else if (entry.no_tab_lines++ == 0) {
            entry.no_tab_at = number;
        }
    }
    return index;
}

AccountLines StorageIndex::lines_of(const fs::path& storage, std::int32_t account_id) const {
    AccountLines lines;
    const auto it = entries_.find(account_id);
    if (it == entries_.end()) return lines;
    const Entry& entry = it->second;
    lines.kept_at = entry.kept_at;
    if (entry.kept_at != 0) lines.kept = read_line_at(storage, entry.offset, entry.length);
    lines.store_lines = entry.store_lines;
    lines.no_tab_at = entry.no_tab_at;
    lines.no_tab_lines = entry.no_tab_lines;
    return lines;
}

std::optional<std::string> write_storage_without(const AppContext& app, AtomicWriter& out,
                                                 std::int32_t account_id) {
    LineReader in(app.server_file(kStorageFile));
    std::optional<std::string> items;
    std::string_view line;
    while (in.next(line)) {
        const std::string_view head = piece(piece(line, '\t', 0), ',', 0);
        if (leading_number(head) == account_id) {
            items = items ? *items + " " : std::string();
            items->append(piece(line, '\t', 1));
            continue;
        }
        out.write_line(line, in.line_break());  // each line keeps its own break
    }
    return items;
}

bool delete_user_storage(const AppContext& app, Ui& ui, std::int32_t account_id) {
    const fs::path storage = app.server_file(kStorageFile);
    if (!file_exists(storage)) return true;
    return guarded(ui, "delete_user_storage", [&] {
        const auto make = [&](AtomicWriter& out) {
            write_storage_without(app, out, account_id);
            return true;
        };
        rewrite_from_disk(app.files, storage, make, app.server_file(kStorageBackup));
    });
}

}  // namespace tavo
