#pragma once
// Reading save/account.txt into the account table.

#include <cstdint>
#include <optional>
#include <string>

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

// The generation of save/account.txt as load_account finds it, with the file read only as far
// as it must be: a 1.0.0 file is known at its first account. Unknown for a missing or empty
// file; a failure is thrown.
ServerGeneration read_server_generation(const AppContext& app, Ui& ui);

// Reads one account into a fresh table: the file is read up to the record load_account would
// find first for that id, and no further; the table holds it (or nothing) with its GM level, and
// is never written. A missing or empty file is read as load_account reads it. False after a
// reported failure ("in load_account").
bool load_one_account(const AppContext& app, Ui& ui, std::int32_t account_id, AccountTable& table);

// Reads the table for an edit of one account, with one pass over the file that keeps only the
// records the edit looks at: the file's first record (never edited), the first record of
// account_id and, when `name` is given, the first record of that name (a renamed account's name
// must be free). Everything else load_account learns (the generation, the highest ids, the
// %newid% counter, the header, the kept lines and their report) it learns the same way; the
// table's `part` says where the records are, and a save writes the rest of the file as it is
// on disk. A missing or empty file is read whole, as load_account reads it. A file of
// `split_from` bytes or more is read in two halves at once.
inline constexpr std::uint64_t kSplitAccountFileFrom = 16 << 20;
bool load_for_one_edit(const AppContext& app, Ui& ui, std::int32_t account_id,
                       const std::optional<std::string>& name, AccountTable& table,
                       std::uint64_t split_from = kSplitAccountFileFrom);

// A record line as the table reads it, or nothing for one it keeps as it is: a field count or
// a number the server does not write, or more registers than it holds. The line must outlive
// the record.
std::optional<AccountRecord> account_of_line(const LineFields& fields);

}  // namespace tavo
