#pragma once
// save/storage.txt: one line of Kafra storage per account that has one:
//   account_id,item_count TAB items (eleven values and a blank each) TAB

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "app/file_stamp.h"
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

// The lines of storage.txt that name one account.
struct AccountLines {
    std::size_t kept_at = 0;  // the line number (from 1) of the store line kept; 0: none
    std::string kept;
    std::size_t store_lines = 0;
    std::size_t no_tab_at = 0;  // the first line without a TAB; 0: none
    std::size_t no_tab_lines = 0;
    // Where a save writes the store: in place of the line kept, else of the first line without
    // a TAB (a second line for the account is never added).
    std::size_t place() const { return kept_at != 0 ? kept_at : no_tab_at; }
};

// The account's lines as a read found them, with the file's stamp before it: while the file
// keeps that stamp, a save needs no second pass to find them.
struct LinesRead {
    AccountLines lines;
    std::optional<FileStamp> stamp;
};

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
    std::optional<LinesRead> lines_read;
};

// load_storage: the store of the account: its last store line, the one the server keeps (empty
// lines and lines of other accounts are passed over). The account's other lines (an earlier store
// line, a line that names it without a TAB, which the server cannot read) are named in one
// warning. A missing or empty file gives an empty store. A line with more items than maxstorage
// keeps them all after a warning. False after a reported failure ("in load_storage"); the
// record is then marked as not read whole.
// With an index (a batch, which reads many stores), the account's lines are found there instead
// of by a pass over the file.
class StorageIndex;
bool load_storage(const AppContext& app, Ui& ui, std::int32_t account_id, StorageRecord& record,
                  CachedIndex<StorageIndex>* index = nullptr);

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

// A store's new line with the line it replaces as it was read: what save_storage writes.
struct StoreChange {
    std::int32_t account_id = 0;
    std::size_t count = 0;                 // the items written (beyond maxstorage dropped)
    std::optional<std::string> read_line;  // the account's store line as read (none: none)
    std::optional<std::string> line;       // the new line; none for an empty store
    std::string label;                     // "The store of account 2000001"
    std::optional<std::string> written;    // what the file holds for the account afterwards
    std::optional<LinesRead> lines_read;
};
// The change save_storage would write, after the questions about items beyond maxstorage;
// nothing when it may not be written (told).
std::optional<StoreChange> store_change(const AppContext& app, Ui& ui, std::int32_t account_id,
                                        StorageRecord& record, std::int32_t maxstorage);
// storage.txt from the file on disk with each change written as save_storage writes it: for
// several stores at once.
void write_stores(const AppContext& app, Ui& ui, std::vector<StoreChange>& changes,
                  AtomicWriter& out);
// After the change was written: the record holds what the file holds. False when the disk's
// version was kept and could not be read again.
bool store_written(const AppContext& app, Ui& ui, const StoreChange& change, StorageRecord& record);

// Where each account's lines are in storage.txt, from one pass over it.
class StorageIndex {
public:
    static StorageIndex build(const fs::path& storage);
    // What a pass over the file would find of the account's lines.
    AccountLines lines_of(const fs::path& storage, std::int32_t account_id) const;

private:
    struct Entry {
        std::size_t kept_at = 0;
        std::uint64_t offset = 0;  // of the line kept
        std::uint32_t length = 0;
        std::uint32_t store_lines = 0;
        std::size_t no_tab_at = 0;
        std::uint32_t no_tab_lines = 0;
    };
    std::unordered_map<std::int32_t, Entry> entries_;
};

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
