#pragma once
// save/account.txt in its three generations: "817" (7 fields), ".52" (7 fields and a %newid%
// line) and "1.0.0" (13 fields and the account registers). The whole file is held as the
// account table; the account list shows it in file order (list index = table index).

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "accounts/account_record.h"
#include "app/file_stamp.h"
#include "app/load_state.h"
#include "app/newid.h"
#include "app/settings.h"

namespace tavo {

class Ui;

inline constexpr std::string_view kAccountFile = "save/account.txt";
inline constexpr std::int32_t kFirstPlayerId = 2000000;  // player ids are above
inline constexpr std::int32_t kGmIdBase = 704553;        // GM ids are above
inline constexpr std::int32_t kLastServerId = 704500;    // server ids are up to here

// A line of the file that is not an account the editor understands (a field count or a number
// the server does not write), a comment or a %newid% line. It goes back to the file as it was
// read, in its place: before the account at table index `before`. Only a %newid% counter below
// the accounts' ids is raised in place.
struct KeptLine {
    std::size_t before = 0;
    std::string text;
    std::size_t line_number = 0;
    bool comment = false;  // a "//" line, an empty one or a %newid% line: kept without a word
    bool newid = false;    // a %newid% line
};

struct AccountTable {
    std::vector<AccountRecord> records;
    // As detected by the last load; Unknown before the first file read.
    ServerGeneration server_generation = ServerGeneration::Unknown;
    std::int32_t highest_player_id = kFirstPlayerId;
    std::int32_t highest_gm_id = kGmIdBase;
    // The table differs from the file ("Save File" is enabled).
    bool modified = false;
    std::vector<KeptLine> kept_lines;
    // The file as read: untouched records and kept lines are views of it.
    std::shared_ptr<const std::string> image;
    // The file's stamp when it was read or last written: another writer changed it when the
    // stamp differs (see accounts/account_merge.h).
    std::optional<FileStamp> read_stamp;
    // Accounts changed here and written since the file was read, by id, with their text.
    std::unordered_map<std::int32_t, std::optional<std::string>> written;
    // The file has comment lines of its own: the standard header is not added on saving.
    bool has_header = false;
    // The %newid% counter of the file; a save never writes a lower one.
    NewIdCounter newid;
    // Whether the table holds the whole file; save_account refuses to write it otherwise, and
    // so does every command that would end in that save (new account, deletion, wipes).
    LoadState load_state{kAccountFile};
    // Accounts made since the last load or save, not yet in the file, with the GM level each
    // one's line in the GM file gets when the account reaches the file (none for a player).
    std::map<std::int32_t, std::optional<std::uint8_t>> unsaved_accounts;
};

// Reads the file into a fresh table, with the GM level of every account in the GM id range.
// Only a missing file or one of 0 bytes gives the five default accounts (set_def). Lines that
// are not understood are kept and reported once; comment lines are kept too. Returns false when
// the load ended through the error report ("in load_account"); the table is then marked as not
// loaded, and nothing is ever written from it.
bool load_account(const AppContext& app, Ui& ui, AccountTable& table);

// The five default accounts, after the version question.
void set_def(Ui& ui, AccountTable& table);
void make_default_account(AccountTable& table, std::size_t slot, std::string_view name,
                          std::string_view password);

// Writes the whole table: the header (when the file had none), every account in the file's
// generation with the kept lines in their places. The last %newid% line is raised when the
// accounts passed every counter; for .52 and 1.0.0 a file without one gets one at the end.
// Untouched accounts and kept lines go back as they were read, with the file's own line ends.
// Refuses (with a message naming the file and the failure) a table that is not loaded whole.
// The GM levels of new accounts reach the GM file together with the accounts.
// Returns false when nothing was written; the old files are then left as they were.
bool save_account(const AppContext& app, Ui& ui, AccountTable& table);

// The file as it is on disk without the account's line, written into `out`: the deletion of
// one account reaches the file at once while other edits of the table stay pending. False when
// the file has no line of that account.
bool write_account_file_without(const AppContext& app, AtomicWriter& out, std::int32_t account_id);

// The highest player and GM ids over the table, starting from 2000000 and 704553.
void recompute_highest_ids(AccountTable& table);

// The 13 comment lines at the top of the file, as the server writes them too.
const std::vector<std::string_view>& account_file_header();

}  // namespace tavo
