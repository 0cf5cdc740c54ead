#pragma once
// The item table read from the server's db/item_db.txt, sorted by name once it is read so that
// the item chooser lists items alphabetically.

#include <cstdint>
#include <string>
#include <vector>

#include "refdata/id_index.h"

namespace tavo {

struct AppContext;
class Ui;

struct ItemDbEntry {
    std::int32_t id = 0;
    std::string list_name;        // the item chooser's text (column 1)
    std::string name;             // the display name and sort key (column 2)
    std::uint8_t slot_count = 0;  // card slots ("slots" is a keyword macro under Qt)
    std::uint8_t type = 0;
    std::int32_t equip_locations = 0;
    std::int32_t weight = 0;  // whole units: the database's tenths divided by 10
};

class ItemTable;
// Sorts the table by name, byte by byte ("Z" before "a"), for the item chooser: a lookup by
// number then meets the first of that number by name.
void sort_items_by_name(ItemTable& items);

class ItemTable {
public:
    static constexpr std::int32_t kLimit = 32767;  // the table's counter is 16-bit

    std::int16_t count() const { return static_cast<std::int16_t>(entries_.size()); }
    bool empty() const { return entries_.empty(); }
    const std::vector<ItemDbEntry>& entries() const { return entries_; }
    const ItemDbEntry& operator[](std::size_t index) const { return entries_[index]; }

    // The entry a scan from index 0 would meet first, or nullptr.
    const ItemDbEntry* find(std::int32_t id) const {
        const std::int32_t index = index_.find(id);
        return index < 0 ? nullptr : &entries_[static_cast<std::size_t>(index)];
    }

    void clear();
    // Appends an entry; fails with Overflow when the table is full.
    void add(ItemDbEntry entry);

private:
    friend void sort_items_by_name(ItemTable& items);
    void reindex();

    std::vector<ItemDbEntry> entries_;
    IdIndex index_;
};

// Fills the table from item_db.txt (db/, else db/english/, else the bare name), showing the
// progress window. A failure names the line being read after "in load_itemdb".
void load_itemdb(const AppContext& app, Ui& ui, ItemTable& items);

// The type of the first entry with that number; 0 when there is none.
std::uint8_t item_type(const ItemTable& items, std::int32_t nameid);

}  // namespace tavo
