#pragma once
// The inventory and the cart of the current character on the "Char Profile" page: the lines,
// the weight caption, the selection, which buttons are offered, and New, Edit, Delete and
// Delete All. Every change marks the character document modified. See pages/pages.h for how a
// page is used.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "pages/item_panel_page.h"

namespace tavo {

struct AppSettings;
class CharacterDocument;
struct ItemList;
class Ui;

enum class ItemListKind { Inventory, Cart };

// The buttons under an item list (Command4_0 .. Command4_3, Command5_0 .. Command5_3) and
// under the store (Command3_0 .. Command3_3, with "Save File" as Command3_4).
enum class ItemButton { New, Edit, Delete, DeleteAll, SaveFile };

// What a press on an item list did.
struct ItemOutcome {
    bool done = false;           // it did what the button offers (false: refused or declined)
    bool lines_changed = false;  // the lines and the caption are drawn again
    bool panel_opened = false;   // the item panel opened for this list
};

// The view field (weapon, shield, top, mid and lower head sprites) after an item worn at
// location is taken off: that position becomes "0". A field that is not five values, or a
// location without a sprite, leaves it unchanged.
std::string clear_equip_view(std::int32_t location, std::string_view view);

class ItemListPage : public ItemPanelTarget {
public:
    ItemListPage(ItemListKind kind, CharacterDocument& character, const AppSettings& settings,
                 ItemPanelPage& panel, Ui& ui);

    ItemListKind kind() const { return kind_; }
    ItemDestination destination() const override;
    const ItemList& list() const;
    // The list lines: an equipped inventory item shows where it is worn.
    std::vector<std::string> lines() const;
    // The weight caption of the list's frame.
    std::string caption() const;

    int selected() const { return selected_; }
    void select(int line);
    // After the character was (re)loaded: the first line selected.
    void reset();

    // New works once a character is shown; Edit, Delete and Delete All while the list has lines.
    bool offered(ItemButton button) const;
    // New (the panel opens for an add; a full list says "Max item count reach."), Edit (and a
    // double click: the panel opens preset from the selected item), Delete and Delete All
    // (each after "Are you sure?").
    ItemOutcome press(ItemButton button);
    // The panel's confirm button for this list.
    bool store(PanelValues& values) override;

private:
    ItemList& edited_list();
    bool delete_selected();
    bool delete_all();

    ItemListKind kind_;
    CharacterDocument& character_;
    const AppSettings& settings_;
    ItemPanelPage& panel_;
    Ui& ui_;
    int selected_ = -1;
};

}  // namespace tavo
