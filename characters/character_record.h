#pragma once
// The current character: one line of save/athena.txt held in memory while it is edited.

#include <cstdint>
#include <string>
#include <vector>

#include "characters/item_slot.h"

namespace tavo {

// An inventory or a cart.
struct ItemList {
    std::int32_t max_weight = 0;
    std::int32_t weight = 0;
    std::vector<ItemSlot> items;
    std::int32_t count() const { return static_cast<std::int32_t>(items.size()); }
};

struct CharacterRecord {
    std::int32_t account_id = 0;  // set when the account's characters are listed
    std::int32_t char_id = 0;
    std::uint8_t char_num = 0;
    std::string name;
    // Fields 3 to 13 of the line, each kept exactly as read.
    std::string class_levels, exp_zeny, hp_sp, stats, points, option_karma_manner, party_guild_pet,
        looks, equip_view, last_point, save_point;
    std::vector<std::string> memo;    // memo points "map,x,y"
    std::vector<std::string> skills;  // "id,level"
    std::vector<std::string> regs;    // character variables "name,value"
    ItemList inventory;
    ItemList cart;
    // What follows the TAB of field 18, as read: fields of a later server Tavo does not know.
    std::string tail;
};

// The character line of a record: fields 0 to 18, each followed by a TAB, then its tail.
// The inventory and the cart are written up to the given number of items.
std::string character_line(const CharacterRecord& record, std::size_t inventory_items,
                           std::size_t cart_items);
inline std::string character_line(const CharacterRecord& record) {
    return character_line(record, record.inventory.items.size(), record.cart.items.size());
}

}  // namespace tavo
