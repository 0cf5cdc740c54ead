#pragma once
// Deleting an account takes its characters and its store with it, so it reaches beyond the
// account table.

#include <cstdint>
#include <optional>

namespace tavo {

struct Workspace;
class Ui;

// Removes every character of the account from save/athena.txt. True when nothing failed.
bool delete_user_char(Workspace& ws, Ui& ui, std::int32_t account_id);
// Removes the account's line from save/storage.txt. True when nothing failed.
bool delete_user_storage(Workspace& ws, Ui& ui, std::int32_t account_id);

// "Delete" on the "User Info" tab: the warnings and the question, the account's characters
// (when it has any) and store, then the record. Returns the index to select next, or nothing
// when the user said No or when the characters or the store could not be removed: the account
// then stays, so that no character or store is left without its account.
std::optional<std::size_t> delete_account(Workspace& ws, Ui& ui, std::size_t index,
                                          bool has_characters);

}  // namespace tavo
