#pragma once
// Where a pet is: in an egg of an inventory, a cart, an account's store or a guild's storage,
// or hatched beside its character. The server hatches a pet from any egg that names it, so a
// pet in two places would be given twice.

#include <cstdint>
#include <optional>
#include <string>

namespace tavo {

struct Workspace;
class Ui;

// Where the pet is held as the editor has it now: the current character and the chosen
// account's store as they are edited, saved or not; every other character, store and guild
// storage as save/athena.txt, save/storage.txt and save/g_storage.txt hold them. The place reads
// after "Pet 1 (Pudding) is already ": "in an egg in Mirabel's inventory", "in an egg in the
// store of account 2000001 (kaelen)", "Mirabel's hatched pet". Nothing when no one holds it.
// Fails when a file cannot be read.
std::optional<std::string> pet_place(const Workspace& ws, Ui& ui, std::int32_t pet_id);

}  // namespace tavo
