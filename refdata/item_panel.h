#pragma once
// What the item panel's choosers list, without widgets: the item-type filter, the items it
// passes (in table order, so alphabetically after start-up) and the forging choosers.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tavo {

class ItemTable;

inline constexpr std::array<const char*, 7> kItemTypeFilters{
    "List All Types", "Usable/Arrow", "Items/Loots", "Weapons", "Armor", "Cards", "Eggs"};
inline constexpr std::array<const char*, 5> kElementChoices{
    "None", "Ice property", "Earth property", "Fire property", "Wind property"};
inline constexpr std::array<const char*, 4> kForgingChoices{
    "None", "Very Strong", "Very Very Strong", "Very Very Very Strong"};

// Whether an item type passes the filter at that index of kItemTypeFilters.
bool passes_item_filter(std::uint8_t type, std::size_t filter);

// The list names of the entries that pass the filter, in table order.
std::vector<std::string> item_chooser_entries(const ItemTable& items, std::size_t filter);

// The item table's half of resetting the panel at start-up: the sort by name (with the index
// by item number rebuilt after it).
void prepare_item_panel(ItemTable& items);

}  // namespace tavo
