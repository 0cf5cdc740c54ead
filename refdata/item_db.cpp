#include "refdata/item_db.h"

#include <utility>

#include "app/failure.h"
#include "app/numbers.h"
#include "app/skipped_rows.h"
#include "app/text.h"
#include "app/text_file.h"
#include "app/ui.h"
#include "refdata/server_db.h"

namespace tavo {
namespace {

constexpr std::size_t kUsedColumns = 14;  // columns 0..13 must be there

ItemDbEntry entry_from_columns(const std::vector<std::string_view>& columns) {
    ItemDbEntry entry;
    entry.id = leading_i32(columns[0]);
    entry.list_name = std::string(columns[1]);
    entry.name = std::string(columns[2]);
    entry.type = leading_u8(columns[3]);
    entry.weight = to_i32(leading_number(columns[6]) / 10);
    entry.slot_count = leading_u8(columns[10]);
    entry.equip_locations = leading_i32(columns[13]);
    return entry;
}

// False for a row that cannot be an item: too few columns, or a number too big for its field.
bool read_item_row(const std::vector<std::string_view>& columns, ItemDbEntry& entry) {
    if (columns.size() < kUsedColumns) return false;
    try {
        entry = entry_from_columns(columns);
        return true;
    } catch (const Failure&) {
        return false;
    }
}

// The quicksort of the item chooser. Entries with equal names end where these exact steps put
// them; the second recursion runs as a loop.
void quicksort(std::vector<ItemDbEntry>& items, std::int32_t lo, std::int32_t hi) {
    while (lo < hi) {
        const std::string pivot = items[static_cast<std::size_t>((lo + hi) / 2)].name;
        std::int32_t i = lo;
        std::int32_t j = hi;
        while (i <= j) {
            while (items[i].name < pivot && i < hi) ++i;
            while (pivot < items[j].name && j > lo) --j;
            if (i <= j) {
                std::swap(items[i], items[j]);
                ++i;
                --j;
            }
        }
        if (lo < j) quicksort(items, lo, j);
        lo = i;
    }
}

}  // namespace

void ItemTable::clear() {
    entries_.clear();
    index_.clear();
}

void ItemTable::add(ItemDbEntry entry) {
    if (static_cast<std::int32_t>(entries_.size()) >= kLimit) throw Failure(err::kOverflow);
    index_.note(entry.id, static_cast<std::int32_t>(entries_.size()));
    entries_.push_back(std::move(entry));
}

void ItemTable::reindex() {
    index_.clear();
    index_.reserve(entries_.size());
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        index_.note(entries_[i].id, static_cast<std::int32_t>(i));
    }
}

void sort_items_by_name(ItemTable& items) {
    if (items.count() < 2) return;
    quicksort(items.entries_, 0, items.count() - 1);
    items.reindex();
}

void load_itemdb(const AppContext& app, Ui& ui, ItemTable& items) {
    items.clear();
    guarded(ui, "load_itemdb", [&] {
        const fs::path path = locate_db_file(app, "item_db.txt");
        if (!check_table_file(path, ui, "Item name will not be shown...")) return;
        SkippedRows skipped("db/item_db.txt");
        {
            LineReader reader(path);
            Progress progress(ui);
            std::vector<std::string_view> columns;
            std::string_view line;
            for (std::size_t number = 1; reader.next(line); ++number) {
                if (!line.empty()) {
                    split_into(line, ',', columns);
                    if (columns[0].empty() || columns[0].front() != '/') {
                        ItemDbEntry entry;
                        if (read_item_row(columns, entry)) {
                            items.add(std::move(entry));
                        } else {
                            skipped.add(number, line);
                        }
                    }
                }
                progress.reading(items.count());
            }
        }
        skipped.report(ui);
    });
}

std::uint8_t item_type(const ItemTable& items, std::int32_t nameid) {
    const ItemDbEntry* entry = items.find(nameid);
    return entry == nullptr ? 0 : entry->type;
}

}  // namespace tavo
