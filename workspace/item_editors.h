#pragma once
// The item editors of one window or one tavo-cli command: the "Add / Edit Item" panel, the
// current character's inventory and cart, and the store, with the panel's confirm button
// going to the list it was opened for.

#include "items/item_list_editor.h"
#include "items/item_panel_editor.h"
#include "workspace/workspace.h"

namespace tavo {

struct ItemEditors {
    // character_unsaved is the character page's flag: every inventory or cart change sets it.
    ItemEditors(Workspace& ws, Ui& ui, UnsavedFlag& character_unsaved);

    // The panel's confirm button (Command1 0): the item goes where the panel was opened for.
    bool confirm();
    // The panel's cancel button (Command1 1).
    void cancel() { panel.close(); }

    Ui& ui;
    ItemNaming naming;
    ItemPanelEditor panel;
    ItemListEditor inventory;
    ItemListEditor cart;
    StoreEditor& store;
};

}  // namespace tavo
