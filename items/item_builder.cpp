#include "items/item_builder.h"

#include <algorithm>

#include "app/failure.h"
#include "app/numbers.h"
#include "app/text.h"
#include "app/ui.h"
#include "characters/guild_party_pet.h"
#include "refdata/item_db.h"
#include "refdata/weight.h"

namespace tavo {
namespace {

constexpr double kCarryShare = 0.9;
constexpr std::int32_t kForgedWeapon = 255;
constexpr std::int32_t kMadeItem = 254;

std::int16_t low_half(std::int32_t id) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(id & 0xFFFF));
}
std::int16_t high_half(std::int32_t id) {
    return static_cast<std::int16_t>(id >> 16);
}
std::int32_t composed_id(std::int16_t low, std::int16_t high) {
    return static_cast<std::int32_t>(high) * 65536 + static_cast<std::uint16_t>(low);
}

// The marker of a forged weapon or made item: the smith's id split into two 16-bit halves.
void mark_maker(ItemSlot& slot, std::int16_t card0, std::int16_t card1, std::int32_t char_id) {
    slot.card0 = card0;
    slot.card1 = card1;
    slot.card2 = low_half(char_id);
    slot.card3 = high_half(char_id);
}

void encode_equipment(const PanelValues& values, ItemSlot& slot) {
    if (values.forging && values.maker != 0) {
        mark_maker(slot, kForgedWeapon, to_i16(values.strength * 1280 + values.element),
                   values.maker);
        return;
    }
    if (values.cards[0] == 0) {
        slot.card0 = slot.card1 = slot.card2 = slot.card3 = 0;
        return;
    }
    std::int16_t* cards[4] = {&slot.card0, &slot.card1, &slot.card2, &slot.card3};
    for (int i = 0; i < 4; ++i) {
        if (values.cards[i]) *cards[i] = to_i16(*values.cards[i]);
    }
}

void encode_cards(const PanelValues& values, std::uint8_t type, ItemSlot& slot) {
    switch (item_kind(type)) {
        case ItemKind::Equipment: encode_equipment(values, slot); return;
        case ItemKind::Egg: {
            if (trim_blanks(values.pet_id).empty()) {
                slot.card0 = slot.card1 = slot.card2 = slot.card3 = 0;
                return;
            }
            const std::int32_t pet_id = to_i32(numeric_value(values.pet_id));
            slot.card0 = -256;
            slot.card1 = low_half(pet_id);
            slot.card2 = high_half(pet_id);
            slot.card3 = 1;
            return;
        }
        case ItemKind::Usable:
            if (values.maker != 0) {
                mark_maker(slot, kMadeItem, 0, values.maker);
                return;
            }
            break;
        case ItemKind::Other: break;
    }
    slot.refine = 0;
    slot.equip = 0;
    slot.card0 = slot.card1 = slot.card2 = slot.card3 = 0;
}

// An egg holds a pet of pet.txt: the server cannot hatch one the file lacks. The pet the egg
// held when it was read passes, so such an egg can still be edited.
bool pet_known(const PanelValues& values, const AppContext& app, Ui& ui, std::uint8_t type) {
    if (item_kind(type) != ItemKind::Egg) return true;
    const std::optional<long long> id = integer_in(trim_blanks(values.pet_id), 0, INT32_MAX);
    // No pet, or a text build_item reports; or the egg's own pet.
    if (!id || (*id != 0 && *id == values.egg_pet)) return true;
    bool known = false;
    const auto pet = static_cast<std::int32_t>(*id);
    if (!guarded(ui, "do1-view inventory/cart item", [&] { known = pet_exists(app, pet); })) {
        return false;
    }
    if (!known) ui.message("No pet " + std::to_string(pet) + " in save/pet.txt", "Tavo");
    return known;
}

}  // namespace

ItemKind item_kind(std::uint8_t type) {
    if (type <= 2) return ItemKind::Usable;
    if (type == kWeaponType || type == kArmorType) return ItemKind::Equipment;
    if (type == kEggType) return ItemKind::Egg;
    return ItemKind::Other;
}

bool is_unstackable_type(std::uint8_t type) {
    return type == kWeaponType || type == kArmorType || type == kEggType || type == kPetArmorType;
}

std::string PanelValues::duplicate_key() const {
    return item_id + "-" + zero_pad(maker, 5);
}

bool build_item(PanelValues& values, const ItemTable& items, Ui& ui, std::int32_t maxitemcount,
                ItemSlot& slot, std::int32_t* weight, std::int32_t max_weight) {
    bool fits = true;
    const bool done = guarded(ui, "do1-view inventory/cart item", [&] {
        const std::int32_t nameid = to_i32(numeric_value(values.item_id));
        const std::uint8_t type = item_type(items, nameid);
        std::int32_t qty = to_i32(numeric_value(values.qty));
        if (qty > maxitemcount) {
            qty = maxitemcount;
            values.qty = std::to_string(qty);
        }
        const double refine = std::min<double>(numeric_value(values.refine), kMaxRefine);
        ItemSlot made = slot;
        long long new_weight = 0;
        if (weight != nullptr) {
            const long long old_part =
                values.add ? 0
                           : static_cast<long long>(slot.amount) * item_weight(items, slot.nameid);
            new_weight =
                *weight - old_part + static_cast<long long>(item_weight(items, nameid)) * qty;
            if (static_cast<double>(new_weight) > kCarryShare * max_weight) {
                ui.message("Character CAN NOT hold that much.", "Tavo");
                fits = false;
                return;
            }
        }
        made.amount = qty;
        if (items.find(nameid) == nullptr && !values.add && nameid == slot.nameid) {
            // An item the table lacks keeps what it carries: only its amount is the panel's.
            slot = made;
        } else {
            if (values.add) made.id = made.equip = made.attribute = 0;
            made.identify = 1;
            made.nameid = nameid;
            made.refine = to_u8(refine);
            encode_cards(values, type, made);
            slot = made;
        }
        if (weight != nullptr) *weight = to_i32(static_cast<double>(new_weight));
    });
    return done && fits;
}

std::optional<std::size_t> confirm_item(PanelValues& values, const ItemTable& items,
                                        const AppContext& app, Ui& ui, std::int32_t maxitemcount,
                                        ItemTarget target) {
    if (trim_blanks(values.qty).empty() || leading_number(values.qty) == 0) {
        ui.message("Please enter item quantity.", "Tavo");
        return std::nullopt;
    }
    if (!values.add && (!target.selected || *target.selected >= target.items.size())) {
        return std::nullopt;
    }
    const std::optional<std::size_t> except = values.add ? std::nullopt : target.selected;
    const std::uint8_t type = item_type(items, as_i32(leading_number(values.item_id)).value_or(0));
    if (!is_unstackable_type(type) &&
        count_duplicates(target.items, values.duplicate_key(), except) > 0) {
        ui.message("That item is already in list.\r\nPlease use Edit instead...", "Tavo");
        return std::nullopt;
    }
    if (!pet_known(values, app, ui, type)) return std::nullopt;
    ItemSlot slot = values.add ? ItemSlot{} : target.items[*except];
    if (!build_item(values, items, ui, maxitemcount, slot, target.weight, target.max_weight)) {
        return std::nullopt;
    }
    if (values.add) {
        target.items.push_back(slot);
        return target.items.size() - 1;
    }
    target.items[*except] = slot;
    return except;
}

std::string item_duplicate_key(const ItemSlot& item) {
    const std::int32_t marker = static_cast<std::uint16_t>(item.card0);
    const std::int32_t maker = marker == kForgedWeapon || marker == kMadeItem
                                   ? composed_id(item.card2, item.card3)
                                   : item.card2;
    return std::to_string(item.nameid) + "-" + zero_pad(maker, 5);
}

int count_duplicates(const std::vector<ItemSlot>& items, std::string_view key,
                     std::optional<std::size_t> except) {
    int found = 0;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i != except && item_duplicate_key(items[i]) == key) ++found;
    }
    return found;
}

}  // namespace tavo
