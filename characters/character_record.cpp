#include "characters/character_record.h"

namespace tavo {

std::string character_line(const CharacterRecord& r) {
    std::string line = std::to_string(r.char_id) + "\t" + std::to_string(r.account_id) + "," +
                       std::to_string(r.char_num) + "\t" + r.name + "\t";
    for (const std::string* text :
         {&r.class_levels, &r.exp_zeny, &r.hp_sp, &r.stats, &r.points, &r.field8,
          &r.party_guild_pet, &r.looks, &r.field11, &r.last_point, &r.save_point}) {
        line += *text;
        line += '\t';
    }
    for (const std::string& point : r.memo) line += point;  // back to back, as the server writes
    line += '\t';
    for (const ItemSlot& item : r.inventory.items) append_item_text(line, item);
    line += '\t';
    for (const ItemSlot& item : r.cart.items) append_item_text(line, item);
    line += '\t';
    for (const std::string& skill : r.skills) line += skill + " ";
    line += '\t';
    for (const std::string& reg : r.regs) line += reg + " ";
    line += '\t';
    return line;
}

}  // namespace tavo
