#include "storage/storage_file.h"

#include <algorithm>

#include "app/disk_guard.h"
#include "app/failure.h"
#include "app/file_batch.h"
#include "app/numbers.h"
#include "app/settings.h"
#include "app/text.h"
#include "app/text_file.h"
#include "app/ui.h"

namespace tavo {
namespace {

// What a line is to the store of one account: its store line, a line that names the account but
// has no TAB ("2000001,3 1,501,..."), which the server cannot read, or none of its own.
enum class LineOf { Other, Store, NoTab };

LineOf line_of(std::string_view line, std::int32_t account_id) {
    // Only the head is looked at: every line of a large file passes here.
    const std::size_t tab = line.find('\t');
    if (tab != std::string_view::npos) {
        const std::string_view head = line.substr(0, tab);
        const bool store = leading_number(head.substr(0, head.find(','))) == account_id;
        return store ? LineOf::Store : LineOf::Other;
    }
    const std::string_view head = line.substr(0, line.find(','));
    const bool names = is_integer(head) && integer_value(head) == account_id;
    return names ? LineOf::NoTab : LineOf::Other;
}

// The account's lines in a file: the server keeps the last store line it reads.
struct AccountLines {
    std::size_t kept_at = 0;  // the line number (from 1) of the store line kept; 0: none
    std::string kept;
    std::size_t store_lines = 0;
    std::size_t no_tab_at = 0;  // the first line without a TAB; 0: none
    std::size_t no_tab_lines = 0;

    void take(std::string_view line, std::size_t number, std::int32_t account_id) {
        switch (line_of(line, account_id)) {
            case LineOf::Store:
                kept_at = number;
                kept = line;
                ++store_lines;
                break;
            case LineOf::NoTab:
                if (no_tab_lines++ == 0) no_tab_at = number;
                break;
            case LineOf::Other: break;
        }
    }
    // Where a save writes the store: in place of the line kept, else of the first line without a
    // TAB (a second line for the account is never added).
    std::size_t place() const { return kept_at != 0 ? kept_at : no_tab_at; }
};

AccountLines account_lines(const fs::path& path, std::int32_t account_id) {
    AccountLines lines;
    if (!file_exists(path)) return lines;
    LineReader in(path);
    std::string_view line;
    for (std::size_t number = 1; in.next(line); ++number) lines.take(line, number, account_id);
    return lines;
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

bool load_storage(const AppContext& app, Ui& ui, std::int32_t account_id, StorageRecord& record) {
    record = StorageRecord{};
    const fs::path path = app.server_file(kStorageFile);
    if (is_new_file(path)) {
        record.load_state.set_whole();
        return true;
    }
    try {
        const AccountLines lines = account_lines(path, account_id);
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

bool save_storage(const AppContext& app, Ui& ui, std::int32_t account_id, StorageRecord& record,
                  std::int32_t maxstorage) {
    if (!record.load_state.allow_write(ui)) return false;
    const std::optional<std::size_t> kept =
        items_to_write(ui, app.on_excess, "the store of account " + std::to_string(account_id),
                       record.items.size(), maxstorage, "maxstorage");
    if (!kept) return false;
    const std::size_t count = *kept;
    const std::optional<std::string> mine = store_line_to_write(record, account_id, count);
    const std::string label = "The store of account " + std::to_string(account_id);
    std::optional<std::string> written;
    const bool done = guarded(ui, "save_storage", [&] {
        const fs::path path = app.server_file(kStorageFile);
        // Made from the file on disk, again when another writer changes it before the rename.
        const auto make = [&](AtomicWriter& out) {
            written.reset();
            // The store takes the place of the line the server keeps; the account's other lines
            // go, as they go at the server's next save.
            const AccountLines on_disk = account_lines(path, account_id);
            const std::optional<std::string_view> kept =
                on_disk.kept_at != 0 ? std::optional<std::string_view>(on_disk.kept) : std::nullopt;
            written = settled_text(ui, app.on_conflict, label, record.read_line, mine, kept);
            // When the disk's version stays, so does every line of the account.
            const bool mine_goes = written == mine;
            std::string_view last_break = "\n";
            if (file_exists(path)) {
                LineReader in(path);
                Progress progress(ui);
                std::size_t number = 0;
                std::string_view line;
                while (in.next(line)) {
                    progress.reading(static_cast<long long>(++number));
                    last_break = in.line_break();
                    if (mine_goes && number == on_disk.place()) {
                        if (written) out.write_line(*written, last_break);
                    } else if (!mine_goes || line_of(line, account_id) == LineOf::Other) {
                        out.write_line(line, last_break);
                    }
                }
            }
            if (on_disk.place() == 0 && written) {
                // The old last line had no break.
                if (last_break.empty()) out.write(out.line_end());
                out.write_line(*written);
            }
            return true;
        };
        rewrite_from_disk(app.files, path, make, app.server_file(kStorageBackup));
    });
    if (!done) return false;
    record.read_line = written;
    record.items.resize(std::min(count, record.items.size()));
    record.disk_version_kept = false;
    if (written == mine) return true;
    // The version on disk was kept: the store shows what the file holds.
    const bool reloaded = load_storage(app, ui, account_id, record);
    record.disk_version_kept = true;
    return reloaded;
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
