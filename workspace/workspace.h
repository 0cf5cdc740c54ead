#pragma once
// The state of one run of the editor (or of one tavo-cli command): settings, reference
// tables and the records being edited. The editor owns one; tests make their own.

#include <string>

#include "accounts/account_table.h"
#include "app/settings.h"
#include "characters/character_file.h"
#include "items/forgers.h"
#include "items/item_naming.h"
#include "refdata/refdata.h"
#include "storage/store_editor.h"

namespace tavo {

struct Workspace {
    AppContext app;
    RefData ref;
    std::string about;  // the Options/About text, built once at start-up
    AccountTable accounts;
    CharacterState characters;
    CachedIndex<PetTypeIndex> pet_types;  // monster names of pet_db.txt
    ForgerList forgers;                   // the item panel's forger chooser
    StoreEditor store{app};               // the chosen account's Kafra storage
};

}  // namespace tavo
