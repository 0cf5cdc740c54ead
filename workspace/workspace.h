#pragma once
// The state of one run of the editor (or of one tavo-cli command): settings, reference tables
// and the three documents a user edits and saves. The editor owns one; tests make their own.

#include <string>

#include "app/settings.h"
#include "items/forgers.h"
#include "items/item_naming.h"
#include "refdata/refdata.h"
#include "workspace/account_document.h"
#include "workspace/character_document.h"
#include "workspace/store_document.h"

namespace tavo {

struct Workspace {
    AppContext app;
    RefData ref;
    std::string about;  // the Options/About text, built once at start-up
    AccountDocument accounts{app};
    CharacterDocument characters{app, ref};  // the current character
    StoreDocument store{app};                // the chosen account's Kafra storage
    CachedIndex<PetTypeIndex> pet_types;     // monster names of pet_db.txt
    ForgerList forgers;                      // the item panel's forger chooser
};

}  // namespace tavo
