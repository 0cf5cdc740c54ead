#include "storage/storage_file.h"

#include <algorithm>

#include "app/failure.h"
#include "app/numbers.h"
#include "app/settings.h"
#include "app/text.h"
#include "app/text_file.h"
#include "app/ui.h"
#include "characters/character_index.h"

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

// The line end the file uses: LF when its first line ends with a bare LF, else CR LF.
std::string_view line_break_of(const fs::path& path) {
    LineReader reader(path);
    std::string_view line;
    if (!reader.next(line)) return "\r\n";
    const std::string head = read_line_at(path, reader.line_offset() + line.size(), 1);
    return head == "\n" ? "\n" : "\r\n";
}

}  // namespace

std::int32_t stored_count(const StorageRecord& record, std::int32_t maxstorage) {
    return static_cast<std::int32_t>(
        std::min<long long>(static_cast<long long>(record.items.size()), std::max(maxstorage, 0)));
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
    if (!has_content(path)) return true;
    const bool done = guarded(ui, "load_storage", [&] {
        LineReader in(path);
        std::string_view line;
        while (in.next(line)) {
            const std::optional<StoreLine> store = store_line(line);
            if (!is_account_line(store, account_id)) continue;
            record.head = store->head;
            record.account_id = leading_i32(store->head);
            for (std::string_view entry : list_entries(store->items)) {
                record.items.push_back(parse_item(entry));
            }
            const std::int32_t limit = app.settings.maxstorage;
            if (static_cast<long long>(record.items.size()) > limit) {
                ui.message("Kafra Storage item count will be set to " + std::to_string(limit) +
                               " only. Some items WILL be lost if you SAVE.",
                           "Tavo");
            }
            return;
        }
    });
    record.loaded = done;
    return done;
}

bool save_storage(const AppContext& app, Ui& ui, std::int32_t account_id,
                  const StorageRecord& record, std::int32_t maxstorage) {
    if (!record.loaded) {
        ui.message(
            "The store of this account was not read completely, so it is not written "
            "back.\r\nChoose the account again to reload it.",
            "Tavo");
        return false;
    }
    const std::size_t count = static_cast<std::size_t>(stored_count(record, maxstorage));
    return guarded(ui, "save_storage", [&] {
        const fs::path path = app.server_file(kStorageFile);
        AtomicWriter out = app.files.open(path);
        bool found = false;
        std::string_view line_break = "\r\n";
        if (file_exists(path)) {
            line_break = line_break_of(path);
            LineReader in(path);
            Progress progress(ui);
            long long lines = 0;
            std::string_view line;
            while (in.next(line)) {
                progress.reading(++lines);
                const std::optional<StoreLine> store = store_line(line);
                if (!found && is_account_line(store, account_id)) {
                    found = true;
                    // An empty store has no line: the server never writes one.
                    if (count == 0) continue;
                    out.write(storage_line(store->head, record.items, count));
                } else {
                    out.write(line);
                }
                out.write(line_break);
            }
        }
        if (!found && count > 0) {
            out.write(storage_line(std::to_string(account_id), record.items, count));
            out.write(line_break);
        }
        out.commit(app.server_file(kStorageBackup));
    });
}

bool delete_user_storage(const AppContext& app, Ui& ui, std::int32_t account_id) {
    const fs::path storage = app.server_file(kStorageFile);
    if (!file_exists(storage)) return true;
    return guarded(ui, "delete_user_storage", [&] {
        const std::string_view line_break = line_break_of(storage);
        LineReader in(storage);
        AtomicWriter out = app.files.open(storage);
        std::string_view line;
        while (in.next(line)) {
            const std::string_view head = piece(piece(line, '\t', 0), ',', 0);
            if (leading_number(head) == account_id) continue;
            out.write(line);
            out.write(line_break);
        }
        out.commit(app.server_file(kStorageBackup));
    });
}

}  // namespace tavo
