#include "refdata/item_panel.h"

#include "refdata/item_db.h"

namespace tavo {

bool passes_item_filter(std::uint8_t type, std::size_t filter) {
    switch (filter) {
        case 0: return true;
        case 1: return type == 0 || type == 10;
        case 2: return type == 3;
        case 3: return type == 4;
        case 4: return type == 5;
        case 5: return type == 6;
        case 6: return type == 7;
        default: return false;
    }
}

std::vector<std::string> item_chooser_entries(const ItemTable& items, std::size_t filter) {
    std::vector<std::string> entries;
    entries.reserve(filter == 0 ? items.entries().size() : 0);
    for (const ItemDbEntry& entry : items.entries()) {
        if (passes_item_filter(entry.type, filter)) entries.push_back(entry.list_name);
    }
    return entries;
}

void prepare_item_panel(ItemTable& items) {
    sort_items_by_name(items, 0, items.count() - 1);
}

}  // namespace tavo
