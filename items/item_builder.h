#pragma once
// Turning the item panel's values into an item and storing it: the encoding of cards, forged
// weapons, made items and pet eggs, the quantity, refine and weight limits, and the refusal of a
// second stack of the same item.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "characters/item_slot.h"

namespace tavo {

struct AppContext;
class ItemTable;
class Ui;

inline constexpr int kMaxRefine = 10;

// The item types as the panel treats them.
enum class ItemKind { Usable, Equipment, Egg, Other };
ItemKind item_kind(std::uint8_t type);
inline constexpr std::uint8_t kWeaponType = 4;
inline constexpr std::uint8_t kArmorType = 5;
inline constexpr std::uint8_t kEggType = 7;
inline constexpr std::uint8_t kPetArmorType = 8;

// Items the server keeps one per slot: two of them are two items, never a stack.
bool is_unstackable_type(std::uint8_t type);

// What the item panel holds when its confirm button is pressed.
struct PanelValues {
    std::string item_id;  // the field texts
    std::string qty;
    std::string refine;
    bool forging = false;    // the forger chooser is open
    std::int32_t maker = 0;  // the character chosen in the forger chooser; 0 for "None"
    int strength = 0;        // the position in "Forging Property"
    int element = 0;         // the position in "Elemental Property"
    // The card each chooser shows (0 for "None"); nothing where a chooser shows none.
    std::optional<std::int32_t> cards[4];
    std::string pet_id;        // "Pet Info" ID
    std::int32_t egg_pet = 0;  // the pet the egg held when it was read (0: none)
    bool add = true;           // a new item; false: it replaces the selected one

    // The duplicate key: "501-00000"; the maker's character id for a made item ("501-150000").
    std::string duplicate_key() const;
};

// The list a composed item goes into.
struct ItemTarget {
    std::vector<ItemSlot>& items;
    // The carried weight and its limit; nullptr for the store, which has no weight limit.
    std::int32_t* weight = nullptr;
    std::int32_t max_weight = 0;
    std::optional<std::size_t> selected;  // the line an edit replaces
};

// do1-view inventory/cart item: fills slot from the values. A quantity above maxitemcount is
// put down to it, in `values` too, so the panel shows what is stored. With a weight, the new
// total may not pass nine tenths of max_weight ("Character CAN NOT hold that much."); the weight
// is updated when the item fits. False when refused or when a field holds no valid number (the
// error report is shown); slot and weight are then unchanged.
bool build_item(PanelValues& values, const ItemTable& items, Ui& ui, std::int32_t maxitemcount,
                ItemSlot& slot, std::int32_t* weight, std::int32_t max_weight);

// The confirm button: checks the quantity, duplicates and the egg's pet, builds the item and adds
// it (or replaces the selected one) in the target. Returns the index of the stored item, or
// nothing when it was refused (the message is shown).
std::optional<std::size_t> confirm_item(PanelValues& values, const ItemTable& items,
                                        const AppContext& app, Ui& ui, std::int32_t maxitemcount,
                                        ItemTarget target);

// The duplicate key of an item in a list: its number and the character that made it.
std::string item_duplicate_key(const ItemSlot& item);
// count_duplicates: how many items other than the one at except have that key.
int count_duplicates(const std::vector<ItemSlot>& items, std::string_view key,
                     std::optional<std::size_t> except);

}  // namespace tavo
