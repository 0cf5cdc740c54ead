#pragma once
// Turning the item panel into an item and storing it: the encoding of cards, forged weapons,
// made items and pet eggs, the quantity, refine and weight limits, and the refusal of a second
// stack of the same item.

#include <cstdint>
#include <optional>
#include <vector>

#include "characters/item_slot.h"

namespace tavo {

class ItemPanelEditor;
class Ui;

inline constexpr int kMaxRefine = 10;

// The list a composed item goes into.
struct ItemTarget {
    std::vector<ItemSlot>& items;
    // The carried weight and its limit; nullptr for the store, which has no weight limit.
    std::int32_t* weight = nullptr;
    std::int32_t max_weight = 0;
    std::optional<std::size_t> selected;  // the line an edit replaces
};

// do1-view inventory/cart item: fills slot from the panel. With a weight, the new total may
// not pass nine tenths of max_weight ("Character CAN NOT hold that much."); the weight is
// updated when the item fits. False when refused or when a field holds no valid number (the
// error report is shown); slot and weight are then unchanged.
bool build_item(ItemPanelEditor& panel, Ui& ui, std::int32_t maxitemcount, ItemSlot& slot,
                bool is_new, std::int32_t* weight, std::int32_t max_weight);

// The confirm button: checks the quantity and duplicates, builds the item and adds it (or
// replaces the selected one) in the target. The panel closes on success. Returns the index of
// the stored item, or nothing when it was refused (the message is shown).
std::optional<std::size_t> confirm_item(ItemPanelEditor& panel, Ui& ui, std::int32_t maxitemcount,
                                        ItemTarget target);

}  // namespace tavo
