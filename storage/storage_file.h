#pragma once
// save/storage.txt: one line of Kafra storage per account that has one.

#include <cstdint>

namespace tavo {

struct AppContext;
class AtomicWriter;
class Ui;

// Removes the account's line (with a backup in save/storage.bak.txt). Without a storage file
// there is nothing to remove. True when nothing failed.
bool delete_user_storage(const AppContext& app, Ui& ui, std::int32_t account_id);
// The file without the account's line written into `out`; false when it had no such line.
bool write_storage_without(const AppContext& app, AtomicWriter& out, std::int32_t account_id);

}  // namespace tavo
