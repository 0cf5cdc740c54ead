#include "workspace/item_editors.h"

#include "workspace/naming.h"

namespace tavo {

ItemEditors::ItemEditors(Workspace& ws, Ui& ui, UnsavedFlag& character_unsaved)
    : ui(ui),
      naming(item_naming(ws, ui)),
      panel(naming, ws.forgers),
      inventory(ItemListKind::Inventory, ws.characters.current, ws.app.settings, ws.ref.items,
                character_unsaved),
      cart(ItemListKind::Cart, ws.characters.current, ws.app.settings, ws.ref.items,
           character_unsaved),
      store(ws.store) {}

bool ItemEditors::confirm() {
    switch (panel.destination()) {
        case ItemDestination::Inventory: return inventory.confirm(ui, panel);
        case ItemDestination::Cart: return cart.confirm(ui, panel);
        case ItemDestination::Storage: return store.confirm(ui, panel);
    }
    return false;
}

}  // namespace tavo
