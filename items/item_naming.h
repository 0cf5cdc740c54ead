#pragma once
// The one-line text of an item in every item list: amount, refine, the full name with the
// words of its cards, the smith of a forged weapon or the maker of a brewed item, the pet in
// an egg, and whether it is identified.

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

#include "app/file_stamp.h"
#include "characters/character_lookup.h"
#include "characters/item_slot.h"

namespace tavo {

struct AppContext;
struct RefData;
class CardTable;
class ItemTable;
class Ui;

// Monster names of pet_db.txt by monster id (the first line of an id wins).
using PetTypeIndex = std::unordered_map<std::int32_t, std::string>;

// Names read beforehand, with the items they name, by a pass over the files: the makers of
// forged and brewed items by character id, and the pets in eggs by pet id.
struct NameBook {
    std::unordered_map<std::int32_t, std::string> characters;
    std::unordered_map<std::int32_t, std::string> pets;
};

// What naming needs besides the tables: the files it looks names up in, each read once and
// kept until it changes. With a book, makers and pets are named from it alone and no file is
// read: a name it lacks is one the files lack.
struct ItemNaming {
    const AppContext& app;
    Ui& ui;
    const RefData& ref;
    CharacterLookup& characters;
    CachedIndex<PetTypeIndex>& pet_types;
    const NameBook* book = nullptr;
};

// The line of an item in a store, inventory or cart list: "7 pcs +2 Red Potion", with
// " -- Not Identified" for an item not identified.
std::string item_list_text(const ItemNaming& naming, const ItemSlot& item);
// An inventory line: an equipped item gets "  [EQP : " + its location + "]".
std::string equipped_item_line(const ItemNaming& naming, const ItemSlot& item);

// The item's name with " [slots]" when it has card slots; "Unknown item [id]" when the item
// table does not hold it.
std::string item_name(const ItemTable& items, std::int32_t nameid);
// The word a card adds to a name; the card number itself when the table does not hold it.
std::string card_name(const CardTable& cards, std::int32_t card_id);
bool is_postfix_card(const CardTable& cards, std::int32_t card_id);
// The item name with the words of the cards a, b, c, d before and after it.
std::string itemcardname(const CardTable& cards, std::string name, std::int32_t a, std::int32_t b,
                         std::int32_t c, std::int32_t d);
std::string equip_location_name(std::int32_t location);

// The character that forged or brewed an item: card2 holds the low 16 bits of its id and
// card3 the high 16 bits, as the server writes them. "unknown" when there is none.
std::string find_forger(const ItemNaming& naming, std::int16_t card2, std::int16_t card3);
// Looks up the smiths and makers of the items together, before their lines are named: read
// lazily, athena.txt is then read once for all of them, not once for each.
void find_forgers(const ItemNaming& naming, const std::vector<ItemSlot>& items);
// The monster name of a pet class from pet_db.txt; "Monster ID not found" when there is none.
std::string find_pet_type(const ItemNaming& naming, std::int32_t pet_class);

// The character that forged or brewed the item (card0 255 or 254); 0 for any other item.
std::int32_t maker_of(const ItemSlot& item);

// A pet egg holding a pet (card0 -256), whatever the item.
bool is_pet_egg(const ItemSlot& item);
// The pet id an egg carries: card1 holds its low 16 bits and card2 the high bits.
std::int32_t egg_pet_id(const ItemSlot& egg);

}  // namespace tavo
