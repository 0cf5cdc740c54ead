#include "items/item_naming.h"

#include <algorithm>

#include "app/failure.h"
#include "app/numbers.h"
#include "app/settings.h"
#include "app/text.h"
#include "app/text_file.h"
#include "characters/guild_party_pet.h"
#include "refdata/refdata.h"
#include "refdata/server_db.h"

namespace tavo {
namespace {

constexpr std::int32_t kPetEgg = -256;
constexpr std::int32_t kMadeItem = 254;
constexpr std::int32_t kForgedWeapon = 255;

std::int32_t composed_id(std::int16_t low, std::int16_t high) {
    return static_cast<std::int32_t>(high) * 65536 + static_cast<std::uint16_t>(low);
}

std::string strength_word(std::int32_t card1) {
    const std::int32_t s = card1 >= 0 ? card1 / 10 : -((-card1 + 9) / 10);  // floor
    switch (s) {
        case 128: return "Very Strong ";
        case 256: return "Very Very Strong ";
        case 384: return "Very Very Very Strong ";
        default: return {};
    }
}

std::string element_word(std::int32_t card1) {
    switch (card1 % 10) {
        case 1: return "Ice ";
        case 2: return "Earth ";
        case 3: return "Fire ";
        case 4: return "Wind ";
        default: return {};
    }
}

std::string without_leading_blanks(std::string text) {
    text.erase(0, std::min(text.find_first_not_of(' '), text.size()));
    return text;
}

void end_with_blank(std::string& text) {
    if (!text.empty() && text.back() != ' ') text += ' ';
}

struct Repeat {
    std::string mult;
    std::int32_t card = 0;
    std::int32_t rest[3] = {-1, -1, -1};
};

// Three equal cards of at least 1, tested in a fixed order; the fourth is named after them.
bool find_triple(std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d, Repeat& r) {
    const std::int32_t cases[4][2] = {{a == b && b == c ? a : 0, d},
                                      {a == c && c == d ? a : 0, b},
                                      {a == b && b == d ? a : 0, c},
                                      {b == c && c == d ? b : 0, a}};
    for (const auto& [card, remaining] : cases) {
        if (card >= 1) {
            r = {"Triple ", card, {remaining, -1, -1}};
            return true;
        }
    }
    return false;
}

// Two equal cards of at least 1; the two others are named after them, in slot order.
bool find_double(std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d, Repeat& r) {
    const std::int32_t v[4] = {a, b, c, d};
    const int pairs[6][2] = {{0, 1}, {0, 2}, {0, 3}, {1, 2}, {1, 3}, {2, 3}};
    for (const auto& [i, j] : pairs) {
        if (v[i] != v[j] || v[i] < 1) continue;
        r = {"Double ", v[i], {-1, -1, -1}};
        int k = 0;
        for (int slot = 0; slot < 4; ++slot) {
            if (slot != i && slot != j) r.rest[k++] = v[slot];
        }
        return true;
    }
    return false;
}

PetTypeIndex read_pet_types(const fs::path& pet_db) {
    PetTypeIndex index;
    if (!has_content(pet_db)) return index;
    LineReader reader(pet_db);
    std::string_view line;
    while (reader.next(line)) {
        if (line.empty() || line.front() == '/') continue;
        const double id = leading_number(piece(line, ',', 0));
        if (id >= INT32_MIN && id <= INT32_MAX) {
            index.try_emplace(static_cast<std::int32_t>(id), std::string(piece(line, ',', 2)));
        }
    }
    return index;
}

std::string egg_pet_name(const ItemNaming& n, const ItemSlot& egg) {
    const std::int32_t pet_id = egg_pet_id(egg);
    if (n.book == nullptr || pet_id == 0) return pet_name_of(n.app, n.ui, pet_id);
    const auto found = n.book->pets.find(pet_id);
    return found != n.book->pets.end() ? found->second : "No Name [" + std::to_string(pet_id) + "]";
}

std::string name_part(const ItemNaming& n, const ItemSlot& item) {
    switch (item.card0) {
        case kPetEgg:
            return item_name(n.ref.items, item.nameid) + " '" + egg_pet_name(n, item) + "'";
        case kMadeItem:
            return find_forger(n, item.card2, item.card3) + "'s " +
                   item_name(n.ref.items, item.nameid);
        case kForgedWeapon:
            return strength_word(item.card1) + find_forger(n, item.card2, item.card3) + "'s " +
                   element_word(item.card1) + item_name(n.ref.items, item.nameid);
        default:
            return itemcardname(n.ref.cards, item_name(n.ref.items, item.nameid), item.card0,
                                item.card1, item.card2, item.card3);
    }
}

}  // namespace

std::string item_name(const ItemTable& items, std::int32_t nameid) {
    const ItemDbEntry* entry = items.find(nameid);
    if (entry == nullptr) return "Unknown item [" + std::to_string(nameid) + "]";
    if (entry->slot_count == 0) return entry->name;
    return entry->name + " [" + std::to_string(entry->slot_count) + "]";
}

std::string card_name(const CardTable& cards, std::int32_t card_id) {
    const CardNameEntry* card = cards.find(card_id);
    return card == nullptr ? std::to_string(card_id) : card->name;
}

bool is_postfix_card(const CardTable& cards, std::int32_t card_id) {
    const CardNameEntry* card = cards.find(card_id);
    return card != nullptr && card->postfix == 1;
}

std::string itemcardname(const CardTable& cards, std::string name, std::int32_t a, std::int32_t b,
                         std::int32_t c, std::int32_t d) {
    if (a < 0) return {};
    Repeat repeat;
    std::string cs;
    std::int32_t cid = a;
    bool named_with_rest = false;
    if (a != 0 && a == b && b == c && c == d) {
        repeat.mult = "Quad ";
        cs = card_name(cards, a);
    } else if (find_triple(a, b, c, d, repeat) || find_double(a, b, c, d, repeat)) {
        named_with_rest = true;
    } else if (a != 0) {
        if (b == -1 || b == 0) {
            cs = card_name(cards, a);
        } else {
            repeat = {"", a, {b, c, d}};
            named_with_rest = true;
        }
    }
    if (named_with_rest) {
        cid = repeat.card;
        const std::string rest =
            itemcardname(cards, name, repeat.rest[0], repeat.rest[1], repeat.rest[2], -1);
        cs = is_postfix_card(cards, cid) ? rest + card_name(cards, cid)
                                         : card_name(cards, cid) + " " + rest;
    }
    const bool postfix = is_postfix_card(cards, cid);
    std::string result;
    if (d != -1) {
        end_with_blank(cs);
        if (cs.find(name) != std::string::npos) name.clear();
        if (postfix)
            result = name + " " + cs + repeat.mult;
        else if (cid == 0)
            result = name;
        else
            result = repeat.mult + cs + name;
    } else if (!cs.empty()) {
        end_with_blank(cs);
        if (postfix)
            result = cs + repeat.mult;
        else if (cid == 0)
            result = name;
        else
            result = repeat.mult + cs;
    }
    return without_leading_blanks(std::move(result));
}

std::string equip_location_name(std::int32_t location) {
    switch (location) {
        case 1: return "Lower Head";
        case 2: return "Right Hand";
        case 4: return "Robe/Garment";
        case 8: return "Left Accessory";
        case 16: return "Body/Armour";
        case 32: return "Left Hand";
        case 34: return "Both Hand";
        case 64: return "Foot Wear";
        case 128: return "Right Accessory";
        case 256: return "Top Head";
        case 512: return "Mid Head";
        case 513: return "Mid/Lower Head";
        case 768: return "Top/Mid Head";
        case 769: return "Top/Mid/Lower Head";
        case 32768: return "Arrow Holder";
        default: return "Unknown Part";
    }
}

std::int32_t maker_of(const ItemSlot& item) {
    const bool made = item.card0 == kMadeItem || item.card0 == kForgedWeapon;
    return made ? composed_id(item.card2, item.card3) : 0;
}

bool is_pet_egg(const ItemSlot& item) {
    return item.card0 == kPetEgg;
}

std::int32_t egg_pet_id(const ItemSlot& egg) {
    return composed_id(egg.card1, egg.card2);
}

std::string item_list_text(const ItemNaming& n, const ItemSlot& item) {
    std::string line;
    guarded(n.ui, "addlistitem", [&] {
        std::string text = std::to_string(item.amount) + (item.amount == 1 ? " pc " : " pcs ");
        if (item.refine != 0) text.append("+").append(std::to_string(item.refine)).append(" ");
        text += name_part(n, item);
        if (item.identify == 0) text += " -- Not Identified";
        line = std::move(text);
    });
    return line;
}

std::string equipped_item_line(const ItemNaming& n, const ItemSlot& item) {
    std::string line = item_list_text(n, item);
    if (item.equip != 0) line += "  [EQP : " + equip_location_name(item.equip) + "]";
    return line;
}

std::string find_forger(const ItemNaming& n, std::int16_t card2, std::int16_t card3) {
    std::string name = "unknown";
    const std::int32_t char_id = composed_id(card2, card3);
    if (char_id == 0) return name;
    if (n.book != nullptr) {
        const auto found = n.book->characters.find(char_id);
        return found != n.book->characters.end() ? found->second : name;
    }
    guarded(n.ui, "find_forger", [&] {
        if (auto found = n.characters.name_of(n.app.server_file("save/athena.txt"), char_id)) {
            name = std::move(*found);
        }
    });
    return name;
}

void find_forgers(const ItemNaming& n, const std::vector<ItemSlot>& items) {
    std::vector<std::int32_t> ids;
    for (const ItemSlot& item : items) {
        if (item.card0 != kMadeItem && item.card0 != kForgedWeapon) continue;
        if (const std::int32_t id = composed_id(item.card2, item.card3); id != 0) ids.push_back(id);
    }
    try {
        n.characters.find_names(n.app.server_file("save/athena.txt"), ids);
    } catch (const Failure&) {
        // find_forger reports it for each item it names
    }
}

std::string find_pet_type(const ItemNaming& n, std::int32_t pet_class) {
    std::string name = "Monster ID not found";
    if (pet_class == 0) return name;
    guarded(n.ui, "find_pet_type", [&] {
        const PetTypeIndex& index =
            n.pet_types.get(locate_db_file(n.app, "pet_db.txt"), read_pet_types);
        if (const auto it = index.find(pet_class); it != index.end()) name = it->second;
    });
    return name;
}

}  // namespace tavo
