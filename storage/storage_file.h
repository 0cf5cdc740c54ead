#pragma once
// save/storage.txt: one line of Kafra storage per account that has one.

#include <cstdint>

namespace tavo {

struct AppContext;
class Ui;

// Removes the account's line (with a backup in save/storage.bak.txt). Without a storage file
// there is nothing to remove. True when nothing failed.
bool delete_user_storage(const AppContext& app, Ui& ui, std::int32_t account_id);

}  // namespace tavo
