#pragma once
// save/storage.txt: one line of Kafra storage per account that has one:
//   account_id,item_count TAB items (eleven values and a blank each) TAB

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/load_state.h"
#include "characters/item_slot.h"

namespace tavo {

struct AppContext;
class AtomicWriter;
class Ui;

inline constexpr std::string_view kStorageFile = "save/storage.txt";
inline constexpr std::string_view kStorageBackup = "save/storage.bak.txt";

// A line of storage.txt (or of g_storage.txt, keyed by guild) split at its TABs.
struct StoreLine {
    std::string_view head;   // up to the first comma: the account (or guild) id
    std::string_view items;  // the second TAB field
};
// A line the editor takes as a store: it has the TAB after its head. An empty line, or one
// without a TAB, is not a store and goes back as it was read.
std::optional<StoreLine> store_line(std::string_view line);

// The store of the account chosen in the account list.
struct StorageRecord {
    std::int32_t account_id = 0;  // 0 when no store is loaded
    std::vector<ItemSlot> items;  // every item of the line, in file order
    // The head of the account's line up to its first comma, exactly as the file has it, so a
    // rewritten line keeps it ("000123" stays "000123").
    std::string head;
    // Whether the store was read whole; one read part-way is never written back.
    LoadState load_state{kStorageFile};
    // The account's line as read or last written (nothing: the file had none), which a save
    // compares with the line on disk, so that another writer's change is not overwritten unasked.
    std::optional<std::string> read_line;
    // The last save found another writer's change and kept the version on disk.
    bool disk_version_kept = false;
};

// load_storage: the store of the account: its last store line, the one the server keeps (empty
// lines and lines of other accounts are passed over). The account's other lines (an earlier store
// line, a line that names it without a TAB, which the server cannot read) are named in one
// warning. A missing or empty file gives an empty store. A line with more items than maxstorage
// keeps them all after a warning. False after a reported failure ("in load_storage"); the
// record is then marked as not read whole.
bool load_storage(const AppContext& app, Ui& ui, std::int32_t account_id, StorageRecord& record);

// "Save File": the store (no line when it is empty) in place of the account's line the server
// keeps, else of its first line without a TAB, else as a new line at the end; the account's other
// lines are left out, so that it has one line at most. Every other line goes back as it was read,
// with the file's own line ends.
// The old file is kept in save/storage.bak.txt. Without a storage file, the file is made with
// the one line. Items beyond maxstorage stay unless the user agrees to drop them
// (app/item_limit.h); the record then holds what was written. A store that was not read whole is
// refused with a message. A store another writer changed since it was read keeps the line on disk
// when Tavo did not change it, and is settled by the changed-on-disk guard when both did; the
// record then holds what was written (read anew when the disk's version was kept). True when
// written.
bool save_storage(const AppContext& app, Ui& ui, std::int32_t account_id, StorageRecord& record,
                  std::int32_t maxstorage);

// The line a save writes for the first `count` items of the store, or nothing for an empty store
// (the server writes no line for one).
std::optional<std::string> store_line_to_write(const StorageRecord& record, std::int32_t account_id,
                                               std::size_t count);

// The text of one store line without its line end.
std::string storage_line(std::string_view head, const std::vector<ItemSlot>& items,
                         std::size_t count);

// Removes the account's line (with a backup in save/storage.bak.txt). Without a storage file
// there is nothing to remove. True when nothing failed.
bool delete_user_storage(const AppContext& app, Ui& ui, std::int32_t account_id);
// The file without the account's lines written into `out`: the items they held, as one list, or
// nothing when it had no such line.
std::optional<std::string> write_storage_without(const AppContext& app, AtomicWriter& out,
                                                 std::int32_t account_id);

}  // namespace tavo
