#include "characters/character_record.h"

namespace tavo {

std::string character_line(const CharacterRecord& r, std::size_t inventory_items,
                           std::size_t cart_items) {
    std::string line = std::to_string(r.char_id) + "\t" + std::to_string(r.account_id) + "," +
                       std::to_string(r.char_num) + "\t" + r.name + "\t";
    for (const std::string* text :
         {&r.class_levels, &r.exp_zeny, &r.hp_sp, &r.stats, &r.points, &r.option_karma_manner,
          &r.party_guild_pet, &r.looks, &r.equip_view, &r.last_point, &r.save_point}) {
        line += *text;
        line += '\t';
    }
    for (const std::string& point : r.memo) line += point;  // back to back, as the server writes
    line += '\t';
    for (std::size_t i = 0; i < inventory_items && i < r.inventory.items.size(); ++i) {
        append_item_text(line, r.inventory.items[i]);
    }
    line += '\t';
    for (std::size_t i = 0; i < cart_items && i < r.cart.items.size(); ++i) {
        append_item_text(line, r.cart.items[i]);
    }
    line += '\t';
    for (const std::string& skill : r.skills) line += skill + " ";
    line += '\t';
    for (const std::string& reg : r.regs) line += reg + " ";
    line += '\t';
    line += r.tail;
    return line;
}

}  // namespace tavo
