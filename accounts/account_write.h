#pragma once
// Writing the account table to save/account.txt, put onto the file as it is on disk first.

#include <cstdint>
#include <string_view>
#include <vector>

#include "accounts/account_table.h"
#include "app/settings.h"

namespace tavo {

class AtomicWriter;
class FileBatch;
class Ui;

// Writes the whole table: the header (when the file had none), every account in the file's
// generation with the kept lines in their places. The last %newid% line is raised when the
// accounts passed every counter; for .52 and 1.0.0 a file without one gets one at the end.
// Untouched accounts and kept lines go back as they were read, with the file's own line ends.
// Refuses (with a message naming the file and the failure) a table that is not loaded whole.
// The GM levels of new accounts reach the GM file together with the accounts.
// Returns false when nothing was written; the old files are then left as they were.
bool save_account(const AppContext& app, Ui& ui, AccountTable& table);

// save_account in two steps, for a batch of files that change together: the account file (left
// out without `account_file`: only GM levels changed) and the GM file added to the batch (the
// table must be loaded whole), and, once the batch is committed, the table noted as written.
void stage_account_save(const AppContext& app, Ui& ui, AccountTable& table, FileBatch& batch,
                        bool account_file = true);
void account_save_done(const AppContext& app, AccountTable& table);

// The file as it is on disk without the account's line, written into `out`: the deletion of
// one account reaches the file at once while other edits of the table stay pending. False when
// the file has no line of that account.
bool write_account_file_without(const AppContext& app, AtomicWriter& out, std::int32_t account_id);

// The 13 comment lines at the top of the file, as the server writes them too.
const std::vector<std::string_view>& account_file_header();

}  // namespace tavo
