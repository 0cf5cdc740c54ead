#pragma once
// The account table: save/account.txt in its three generations, "817" (7 fields), ".52" (7 fields
// and a %newid% line) and "1.0.0" (13 fields and the account registers), held whole in memory.
// The account list shows it in file order (list index = table index).

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
#include "app/modified_flag.h"
#include "app/newid.h"

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

// A GM level given to an account of the file while the table holds its GM writes (a batch):
// written with the table's next save.
struct HeldGmLevel {
    std::int32_t account_id = 0;
    std::uint8_t level = 0;
    std::uint8_t level_read = 0;  // the level before: another writer's change is told apart
    std::string label;            // "Account 704555 (gm1)"
};

// What the read of a table for a one-record edit (load_for_one_edit) learnt of the lines it did
// not keep: the table then holds only the records the edit looks at, and a save writes the file
// as it is on disk with their lines put in.
struct PartRead {
    struct Place {
        std::uint64_t offset = 0;
        std::size_t length = 0;
    };
    std::vector<Place> records;       // where each record of the table is in the file
    std::optional<Place> last_newid;  // the last %newid% line among the kept lines
    // Every line ends in the file's line end (the last one may have none): the file's bytes
    // around the changed lines are what writing each line would give.
    bool uniform_breaks = true;
};

struct AccountTable {
    std::vector<AccountRecord> records;
    // As detected by the last load; Unknown before the first file read.
    ServerGeneration server_generation = ServerGeneration::Unknown;
    std::int32_t highest_player_id = kFirstPlayerId;
    std::int32_t highest_gm_id = kGmIdBase;
    // The table differs from the file ("Save File" is enabled): the account document's flag.
    ModifiedFlag modified;
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
    // While set (a batch), GM levels given to the file's accounts wait for the next save too,
    // and reach the GM file with it, in the order they were given.
    bool hold_gm_levels = false;
    std::vector<HeldGmLevel> held_gm_levels;
    // Set when the table holds only some records of the file (load_for_one_edit): every other
    // line stays as the file on disk has it.
    std::shared_ptr<const PartRead> part;
};

// The five default accounts of a missing or empty file, after the version question.
void add_default_accounts(Ui& ui, AccountTable& table);

// The highest player and GM ids over the table, starting from 2000000 and 704553.
void recompute_highest_ids(AccountTable& table);

}  // namespace tavo
