#pragma once
// Reading save/account.txt into the account table.

#include "accounts/account_table.h"
#include "app/settings.h"

namespace tavo {

class Ui;

// Reads the file into a fresh table, with the GM level the GM file gives every account.
// Only a missing file or one of 0 bytes gives the five default accounts (add_default_accounts).
// Lines that are not understood are kept and reported once; comment lines are kept too. Returns
// false when the load ended through the error report ("in load_account"); the table is then marked
// as not loaded, and nothing is ever written from it.
bool load_account(const AppContext& app, Ui& ui, AccountTable& table);

}  // namespace tavo
