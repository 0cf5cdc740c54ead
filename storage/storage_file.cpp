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

struct StoreLine {
    std::string_view head;   // up to the first comma
    std::string_view items;  // the second TAB field
};

// A line the editor takes as a store: it has the TAB after its head. An empty line, or one
// without a TAB, is not a store and goes back as it was read.
std::optional<StoreLine> store_line(std::string_view line) {
    const std::size_t tab = line.find('\t');
    if (tab == std::string_view::npos) return std::nullopt;
    const std::string_view head = line.substr(0, tab);
    const std::string_view rest = line.substr(tab + 1);
    return StoreLine{head.substr(0, head.find(',')), rest.substr(0, rest.find('\t'))};
}

bool is_account_line(const std::optional<StoreLine>& store, std::int32_t account_id) {
    return store && leading_number(store->head) == account_id;
}

}  // namespace

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
        LineReader in(path);
        std::string_view line;
        while (in.next(line)) {
            const std::optional<StoreLine> store = store_line(line);
            if (!is_account_line(store, account_id)) continue;
            record.read_line = std::string(line);
            record.head = store->head;
            record.account_id = leading_i32(store->head);
            for (std::string_view entry : list_entries(store->items)) {
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
            break;
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
            bool found = false;
            std::string_view last_break = "\n";
            if (file_exists(path)) {
                LineReader in(path);
                Progress progress(ui);
                long long lines = 0;
                std::string_view line;
                while (in.next(line)) {
                    progress.reading(++lines);
                    last_break = in.line_break();
                    if (!found && is_account_line(store_line(line), account_id)) {
                        found = true;
                        written =
                            settled_text(ui, app.on_conflict, label, record.read_line, mine, line);
                        if (written) out.write_line(*written, last_break);
                    } else {
                        out.write_line(line, last_break);
                    }
                }
            }
            if (!found) {
                written = settled_text(ui, app.on_conflict, label, record.read_line, mine, {});
                if (written) {
                    // The old last line had no break.
                    if (last_break.empty()) out.write(out.line_end());
                    out.write_line(*written);
                }
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
