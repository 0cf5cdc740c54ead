#include "items/item_builder.h"

#include <algorithm>

#include "app/failure.h"
#include "app/numbers.h"
#include "app/text.h"
#include "app/ui.h"
#include "characters/guild_party_pet.h"
#include "items/item_panel_editor.h"
#include "refdata/item_db.h"
#include "refdata/refdata.h"
#include "refdata/weight.h"

namespace tavo {
namespace {

constexpr double kCarryShare = 0.9;

std::int16_t low_half(std::int32_t id) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(id & 0xFFFF));
}
std::int16_t high_half(std::int32_t id) {
    return static_cast<std::int16_t>(id >> 16);
}

// The marker of a forged weapon or made item: the smith's id split into two 16-bit halves.
void mark_maker(ItemSlot& slot, std::int16_t card0, std::int16_t card1, std::int32_t char_id) {
    slot.card0 = card0;
    slot.card1 = card1;
    slot.card2 = low_half(char_id);
    slot.card3 = high_half(char_id);
}

void encode_equipment(const ItemPanelEditor& panel, ItemSlot& slot) {
    const PanelOpen& is = panel.open_state();
    const std::int32_t smith =
        panel.forger_choices()[static_cast<std::size_t>(panel.forger())].char_id;
    if (is.forger && panel.forger() >= 1) {
        mark_maker(slot, 255, to_i16(panel.strength() * 1280 + panel.element()), smith);
        return;
    }
    if (panel.card(0) == 0) {
        slot.card0 = slot.card1 = slot.card2 = slot.card3 = 0;
        return;
    }
    std::int16_t* cards[4] = {&slot.card0, &slot.card1, &slot.card2, &slot.card3};
    for (int i = 0; i < 4; ++i) {
        const int line = panel.card(i);
        if (line >= 0)
            *cards[i] = to_i16(panel.card_choices()[static_cast<std::size_t>(line)].card_id);
    }
}

void encode_cards(ItemPanelEditor& panel, std::uint8_t type, ItemSlot& slot) {
    const std::int32_t maker =
        panel.forger_choices()[static_cast<std::size_t>(panel.forger())].char_id;
    switch (item_kind(type)) {
        case ItemKind::Equipment: encode_equipment(panel, slot); return;
        case ItemKind::Egg: {
            const std::string& id = panel.pet().id;
            if (trim_blanks(id).empty()) {
                slot.card0 = slot.card1 = slot.card2 = slot.card3 = 0;
                return;
            }
            const std::int32_t pet_id = to_i32(numeric_value(id));
            slot.card0 = -256;
            slot.card1 = low_half(pet_id);
            slot.card2 = high_half(pet_id);
            slot.card3 = 1;
            return;
        }
        case ItemKind::Usable:
            if (panel.forger() >= 1) {
                mark_maker(slot, 254, 0, maker);
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
bool pet_known(ItemPanelEditor& panel, Ui& ui, std::uint8_t type) {
    if (item_kind(type) != ItemKind::Egg) return true;
    const std::optional<long long> id = integer_in(trim_blanks(panel.pet().id), 0, INT32_MAX);
    // No pet, or a text build_item reports; or the egg's own pet.
    if (!id || (*id != 0 && *id == panel.pet().found_id)) return true;
    bool known = false;
    const auto pet = static_cast<std::int32_t>(*id);
    if (!guarded(ui, "do1-view inventory/cart item",
                 [&] { known = pet_exists(panel.naming().app, pet); })) {
        return false;
    }
    if (!known) ui.message("No pet " + std::to_string(pet) + " in save/pet.txt", "Tavo");
    return known;
}

}  // namespace

bool build_item(ItemPanelEditor& panel, Ui& ui, std::int32_t maxitemcount, ItemSlot& slot,
                bool is_new, std::int32_t* weight, std::int32_t max_weight) {
    const ItemTable& items = panel.naming().ref.items;
    ItemFields& f = panel.fields();
    bool fits = true;
    const bool done = guarded(ui, "do1-view inventory/cart item", [&] {
        const std::int32_t nameid = to_i32(numeric_value(f.item_id));
        const std::uint8_t type = item_type(items, nameid);
        std::int32_t qty = to_i32(numeric_value(f.qty));
        if (qty > maxitemcount) {
            qty = maxitemcount;
            f.qty = std::to_string(qty);
        }
        const double refine = std::min<double>(numeric_value(f.refine), kMaxRefine);
        ItemSlot made = slot;
        long long new_weight = 0;
        if (weight != nullptr) {
            const long long old_part =
                is_new ? 0 : static_cast<long long>(slot.amount) * item_weight(items, slot.nameid);
            new_weight =
                *weight - old_part + static_cast<long long>(item_weight(items, nameid)) * qty;
            if (static_cast<double>(new_weight) > kCarryShare * max_weight) {
                ui.message("Character CAN NOT hold that much.", "Tavo");
                fits = false;
                return;
            }
        }
        if (is_new) made.id = made.equip = made.attribute = 0;
        made.identify = 1;
        made.amount = qty;
        made.nameid = nameid;
        made.refine = to_u8(refine);
        encode_cards(panel, type, made);
        slot = made;
        if (weight != nullptr) *weight = to_i32(static_cast<double>(new_weight));
    });
    return done && fits;
}

std::optional<std::size_t> confirm_item(ItemPanelEditor& panel, Ui& ui, std::int32_t maxitemcount,
                                        ItemTarget target) {
    panel.clear_shown_prefix();
    const std::string& qty = panel.fields().qty;
    if (trim_blanks(qty).empty() || leading_number(qty) == 0) {
        ui.message("Please enter item quantity.", "Tavo");
        return std::nullopt;
    }
    const bool add = panel.action() == ItemAction::Add;
    if (!add && (!target.selected || *target.selected >= target.items.size())) return std::nullopt;
    const std::optional<std::size_t> except = add ? std::nullopt : target.selected;
    const std::uint8_t type = item_type(panel.naming().ref.items,
                                        as_i32(leading_number(panel.fields().item_id)).value_or(0));
    if (!is_unstackable_type(type) &&
        count_duplicates(target.items, panel.duplicate_key(), except) > 0) {
        ui.message("That item is already in list.\r\nPlease use Edit instead...", "Tavo");
        return std::nullopt;
    }
    if (!pet_known(panel, ui, type)) return std::nullopt;
    ItemSlot slot = add ? ItemSlot{} : target.items[*except];
    if (!build_item(panel, ui, maxitemcount, slot, add, target.weight, target.max_weight)) {
        return std::nullopt;
    }
    panel.close();
    if (add) {
        target.items.push_back(slot);
        return target.items.size() - 1;
    }
    target.items[*except] = slot;
    return except;
}

}  // namespace tavo
