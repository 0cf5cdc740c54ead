#pragma once
// The "Add / Edit Item" panel: the entries of the filter, the item chooser, the card and forger
// choosers, the field texts, which fields are open and which keys they take, and where the
// composed item goes. The rules keep the user from composing an item the server would not take:
// cards only in slotted equipment and only of a fitting kind, forging only for a weapon without
// cards, a maker only for usable items, a pet only in an egg. An item the item table lacks keeps
// what it carries. See pages/pages.h for how a page is used.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "characters/item_slot.h"
#include "items/forgers.h"
#include "items/item_builder.h"
#include "items/item_naming.h"

namespace tavo {

struct ItemDbEntry;

inline constexpr std::array<const char*, 7> kItemTypeFilters{
    "List All Types", "Usable/Arrow", "Items/Loots", "Weapons", "Armor", "Cards", "Eggs"};
inline constexpr std::array<const char*, 5> kElementChoices{
    "None", "Ice property", "Earth property", "Fire property", "Wind property"};
inline constexpr std::array<const char*, 4> kForgingChoices{
    "None", "Very Strong", "Very Very Strong", "Very Very Very Strong"};

// Whether an item type passes the filter at that index of kItemTypeFilters.
bool passes_item_filter(std::uint8_t type, std::size_t filter);

// Where the composed item goes, and whether it is a new one or replaces the selected one.
enum class ItemDestination { Inventory, Cart, Storage };
enum class ItemAction { Add, Save };

// "Add to Inventory", "Save to Cart", "Add to Storage" ...
std::string confirm_caption(ItemDestination destination, ItemAction action);

// A page whose list the panel stores into: the inventory, the cart or the store.
class ItemPanelTarget {
public:
    virtual ItemDestination destination() const = 0;
    // Stores the panel's item into the list; true when stored (a refusal shows its message).
    virtual bool store(PanelValues& values) = 0;

protected:
    ~ItemPanelTarget() = default;
};

// An entry of the item chooser: the item's list name and where it is in the item table.
struct ItemChoice {
    std::size_t table_index = 0;
    std::int32_t item_id = 0;
    std::string text;
};

// An entry of a card chooser: "[4035] Hunter Fly", the first "[0000] None" (card 0).
struct CardChoice {
    std::int32_t card_id = 0;
    std::string text;
};

// The fields of the panel (Text4_0 .. Text4_5).
enum class ItemField { Qty, Type, Slots, Refine, ItemId, Name };
inline constexpr int kItemFieldCount = 6;

// The field texts of the panel.
struct ItemFields {
    std::string qty;         // "Qty"
    std::string type;        // "Type"
    std::string slot_count;  // "Slots" ("slots" is a keyword macro under Qt)
    std::string refine;      // "Refine"
    std::string item_id;     // "Item ID"
    std::string name;        // "Item Name"
};

// Which controls are open (enabled) and which frames are shown.
struct PanelOpen {
    bool qty = true;
    bool refine = true;
    bool element = false;
    bool strength = false;
    bool forger = false;
    bool cards[4] = {false, false, false, false};
    bool card_frame = true;
    bool pet_info = false;
    bool edit_pet_name = false;
};

// The pet inside an egg (Pet Info: ID, Type, Name).
struct PetFields {
    std::string id;
    std::string type;
    std::string name;
    // The pet read from pet.txt: its name is what "Edit Name" changes, whatever id is typed.
    std::int32_t found_id = 0;
    // Its name as read from pet.txt: a rename does not overwrite another writer's.
    std::string read_name;
    bool name_open = false;  // "Save Name" shows: the name is being typed
};

class ItemPanelPage {
public:
    ItemPanelPage(const ItemNaming& naming, ForgerList& forgers);
    const ItemNaming& naming() const { return naming_; }

    // Opened by a list's New (Add) or Edit (Save, then preset()) for that list.
    void open(ItemPanelTarget& target, ItemAction action);
    void close();
    bool is_open() const { return open_; }
    ItemAction action() const { return action_; }
    // The confirm button's caption: "Add to Inventory", "Save to Storage" ...
    std::string caption() const;
    // The confirm button (Command1 0): the item goes to the list the panel was opened for;
    // the panel closes when it was stored.
    bool confirm();
    // The cancel button (Command1 1).
    void cancel() { close(); }

    // Filter change (Combo11): the item chooser lists the items of the chosen type.
    void set_filter(std::size_t filter);
    std::size_t filter() const { return filter_; }
    const std::vector<ItemChoice>& choices() const { return choices_; }
    int chosen() const { return chosen_; }

    // A key typed in the item chooser; true when the panel used it (the list must not).
    bool type_key(int code);
    const std::string& prefix() const { return prefix_; }
    bool prefix_visible() const { return !shown_prefix_.empty(); }
    const std::string& shown_prefix() const { return shown_prefix_; }

    // Choosing a line of the item chooser (-1: none); fills the fields for that item.
    void choose(int index);
    // The first chooser line of that item number, or -1.
    int line_of_item(std::int32_t item_id) const;

    // The four card choosers share their entries; a chooser's selection is -1 for none.
    const std::vector<CardChoice>& card_choices() const { return cards_; }
    int card(int slot) const { return card_index_[slot]; }
    void choose_card(int slot, int index);
    // The line of a card number in the card choosers, or -1.
    int line_of_card(std::int32_t card_id) const;

    int element() const { return element_; }
    int strength() const { return strength_; }
    void choose_element(int index) { element_ = index; }
    void choose_strength(int index) { strength_ = index; }
    // The forger chooser: "[00000] None" and the eligible characters.
    const std::vector<ForgerChoice>& forger_choices() const { return forgers_.entries(); }
    int forger() const { return forger_; }
    void choose_forger(int index);

    const ItemFields& fields() const { return fields_; }
    const std::string& field_text(ItemField field) const;
    // What is typed into "Qty" or "Refine"; the other fields are the program's.
    void type_field(ItemField field, std::string text);
    static bool field_typed(ItemField field) {
        return field == ItemField::Qty || field == ItemField::Refine;
    }
    // Digits only, in every field but "Item Name".
    static bool field_digits_only(ItemField field) { return field != ItemField::Name; }
    bool field_open(ItemField field) const;
    const PanelOpen& open_state() const { return is_; }

    const PetFields& pet() const { return pet_; }
    // What is typed into the pet's ID (digits only) or Name.
    void type_pet_id(std::string text) { pet_.id = std::move(text); }
    void type_pet_name(std::string text) { pet_.name = std::move(text); }
    // "Edit Name" opens the pet's name; "Save Name" writes it to pet.txt at once and closes
    // it. An empty name does neither; a name the server would misread is refused and stays
    // open for a correction.
    void edit_or_save_pet_name();
    // Cancel: closed, the name of an existing pet as pet.txt has it.
    void cancel_pet_name();
    std::string pet_name_caption() const { return pet_.name_open ? "Save Name" : "Edit Name"; }

    // do3-view storage items: the panel preset from an item of the store, inventory or cart.
    void preset(const ItemSlot& item);

    // What the confirm button stores.
    PanelValues values() const;

private:
    const ItemDbEntry* chosen_entry() const;
    void apply_kind(const ItemDbEntry& entry);
    void no_cards();
    void load_card_combo(std::int32_t location);
    void card_rules(bool clear);
    void select_forger_of(std::int32_t char_id);
    void preset_cards(const ItemSlot& item);
    int card_or_added(std::int32_t card_id);
    std::uint8_t shown_type() const;
    std::int32_t shown_slots() const;

    ItemNaming naming_;
    ForgerList& forgers_;
    ItemPanelTarget* target_ = nullptr;
    bool open_ = false;
    ItemAction action_ = ItemAction::Add;
    std::size_t filter_ = 0;
    std::vector<ItemChoice> choices_;
    int chosen_ = -1;
    std::string prefix_;
    std::string shown_prefix_;  // Text7; emptied by the confirm and cancel buttons
    std::vector<CardChoice> cards_;
    int card_index_[4] = {-1, -1, -1, -1};
    int element_ = 0;
    int strength_ = 0;
    int forger_ = 0;
    ItemFields fields_;
    PetFields pet_;
    PanelOpen is_;
};

}  // namespace tavo
