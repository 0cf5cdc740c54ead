#pragma once
// Deleting an account is one act across the server's files: its line in account.txt, its
// characters in athena.txt, its store, its characters' party and guild places, their pets (the
// one out and those in the eggs they and the store hold), the castles of a guild that goes with
// them, the characters' friend lists and their places in others', the account's registers in
// accreg.txt, and its GM entry. Every new file is made first; the renames begin only when all
// are ready, and a failure puts back every file already replaced.

#include <cstdint>
#include <optional>
#include <string>

namespace tavo {

struct Workspace;
class Ui;

// Writes the deletion to the files. Nothing (success) or what failed: the file that could not
// be written, with why, and what the files are like now ("... could not be written. No file was
// changed."). A file another writer changed before its rename is merged again; a party, guild,
// pet or castle that both changed is settled by the changed-on-disk guard (asked through ui),
// and a refusal writes no file at all.
std::optional<std::string> delete_account_files(Workspace& ws, Ui& ui, std::int32_t account_id);

// "Delete" on the "User Info" tab and `account delete`: the warnings and the question (skipped
// when `confirmed`), the files, then the record; the table's other unsaved edits stay pending.
// Returns the index to select next, or nothing when the user said No or a file could not be
// written (the user is told which; the account then stays everywhere).
std::optional<std::size_t> delete_account(Workspace& ws, Ui& ui, std::size_t index,
                                          bool confirmed = false);

}  // namespace tavo
