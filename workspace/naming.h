#pragma once
// Item naming over the workspace's tables and file indexes.

#include "items/item_naming.h"
#include "workspace/workspace.h"

namespace tavo {

inline ItemNaming item_naming(Workspace& ws, Ui& ui) {
    return ItemNaming{ws.app, ui, ws.ref, ws.characters.state().index, ws.pet_types};
}

}  // namespace tavo
