#pragma once
// The inventory and the cart of the current character on the "Char Profile" tab, without
// widgets: the lines, the weight caption, the selection, which buttons work, and New, Edit,
// Delete and Delete All. Every change sets the character's unsaved flag. The tab renders this
// state; tavo-cli's item commands go through the same calls.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/unsaved_flag.h"
#include "characters/character_record.h"

namespace tavo {

struct AppSettings;
class ItemTable;
struct ItemNaming;
class ItemPanelEditor;
class Ui;

enum class ItemListKind { Inventory, Cart };

// The view field (weapon, shield, top, mid and lower head sprites) after an item worn at
// location is taken off: that position becomes "0". A field that is not five values, or a
// location without a sprite, leaves it unchanged.
std::string clear_equip_view(std::int32_t location, std::string_view view);

class ItemListEditor {
public:
    ItemListEditor(ItemListKind kind, CharacterRecord& record, const AppSettings& settings,
                   const ItemTable& items, UnsavedFlag& unsaved);

    ItemListKind kind() const { return kind_; }
    ItemList& list();
    const ItemList& list() const;
    // The list lines: an equipped inventory item shows where it is worn.
    std::vector<std::string> lines(const ItemNaming& naming) const;
    std::string caption() const;

    int selected() const { return selected_; }
    void select(int line);
    // After the character was (re)loaded: the first line selected.
    void reset();
    // Edit, Delete and Delete All work while the list has lines.
    bool has_lines() const { return !list().items.empty(); }

    // New: false with "Max item count reach." on a full list, else the panel opens for an add.
    bool new_item(Ui& ui, ItemPanelEditor& panel);
    // Edit (and a double click): the panel opens preset from the selected item.
    bool edit_item(ItemPanelEditor& panel);
    // The panel's confirm button for this list. True when the item was stored.
    bool confirm(Ui& ui, ItemPanelEditor& panel);
    // Delete and Delete All, each after "Are you sure?".
    bool delete_selected(Ui& ui);
    bool delete_all(Ui& ui);

private:
    ItemListKind kind_;
    CharacterRecord& record_;
    const AppSettings& settings_;
    const ItemTable& items_;
    UnsavedFlag& unsaved_;
    int selected_ = -1;
};

}  // namespace tavo
