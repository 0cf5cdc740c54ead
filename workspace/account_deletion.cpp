#include "workspace/account_deletion.h"

#include "accounts/account_editor.h"
#include "accounts/gm_levels.h"
#include "app/failure.h"
#include "app/file_batch.h"
#include "app/numbers.h"
#include "app/text.h"
#include "app/text_file.h"
#include "app/ui.h"
#include "characters/character_deletion.h"
#include "characters/friends.h"
#include "characters/guild_party_pet.h"
#include "characters/item_slot.h"
#include "items/item_naming.h"
#include "storage/storage_file.h"
#include "workspace/workspace.h"

namespace tavo {
namespace {

constexpr const char* kAthena = "save/athena.txt";
constexpr const char* kStorage = "save/storage.txt";
constexpr const char* kFriends = "save/friends.txt";
constexpr const char* kAccountRegisters = "save/accreg.txt";

void stage_account_line(const AppContext& app, FileBatch& batch, std::int32_t id) {
    const fs::path path = app.server_file(kAccountFile);
    if (!file_exists(path)) return;
    if (!write_account_file_without(app, batch.open(path, std::string(kAccountFile)), id)) {
        batch.forget_last();
    }
}

std::vector<LeavingCharacter> stage_characters(const Workspace& ws, FileBatch& batch,
                                               std::int32_t id) {
    const fs::path path = ws.app.server_file(kAthena);
    if (!file_exists(path)) return {};
    AtomicWriter& out = batch.open(path, kAthena, ws.app.server_file("save/athena.bak.txt"));
    std::vector<LeavingCharacter> leaving =
        write_without_account(ws.app, out, ws.accounts.server_generation, id);
    if (leaving.empty()) batch.forget_last();
    return leaving;
}

// The store's items, for the pets of its eggs.
std::string stage_storage(const AppContext& app, FileBatch& batch, std::int32_t id) {
    const fs::path path = app.server_file(kStorage);
    if (!file_exists(path)) return {};
    AtomicWriter& out = batch.open(path, kStorage, app.server_file("save/storage.bak.txt"));
    std::optional<std::string> items = write_storage_without(app, out, id);
    if (!items) batch.forget_last();
    return items.value_or(std::string());
}

// The pets inside the eggs of an item list; an item that cannot be read holds none.
std::vector<std::int32_t> egg_pets(std::string_view items) {
    std::vector<std::int32_t> pets;
    for (const std::string_view entry : list_entries(items)) {
        try {
            const ItemSlot item = parse_item(entry);
            if (is_pet_egg(item)) pets.push_back(egg_pet_id(item));
        } catch (const Failure&) {
        }
    }
    return pets;
}

// The characters leave their parties and guilds and take their pets, hatched or in an egg,
// with the pets of the store's eggs.
void stage_ties(const AppContext& app, Ui& ui, FileBatch& batch,
                const std::vector<LeavingCharacter>& leaving, std::string_view store_items,
                std::int32_t id) {
    std::vector<std::int32_t> pets = egg_pets(store_items);
    for (const LeavingCharacter& character : leaving) {
        const std::vector<std::int32_t> held = egg_pets(character.items);
        pets.insert(pets.end(), held.begin(), held.end());
    }
    if (leaving.empty() && pets.empty()) return;
    CharacterTies ties = read_character_ties(app);
    for (const LeavingCharacter& character : leaving) {
        release_character(ties, character.party_guild_pet, id, character.char_id);
    }
    for (const std::int32_t pet : pets) release_pet(ties, pet);
    stage_character_ties(app, ui, ties, batch);
}

void stage_friends(const AppContext& app, FileBatch& batch,
                   const std::vector<LeavingCharacter>& leaving) {
    const fs::path path = app.server_file(kFriends);
    if (leaving.empty() || !file_exists(path)) return;
    std::vector<std::int32_t> ids;
    for (const LeavingCharacter& character : leaving) ids.push_back(character.char_id);
    if (!write_friends_without(app, batch.open(path, kFriends), ids)) batch.forget_last();
}

// save/accreg.txt: "account_id TAB name,value ..." for the accounts with registers.
void stage_account_registers(const AppContext& app, FileBatch& batch, std::int32_t id) {
    const fs::path path = app.server_file(kAccountRegisters);
    if (!file_exists(path)) return;
    AtomicWriter& out = batch.open(path, kAccountRegisters);
    LineReader in(path);
    bool found = false;
    std::string_view line;
    while (in.next(line)) {
        if (!line.starts_with("//") && leading_number(piece(line, '\t', 0)) == id) {
            found = true;
            continue;
        }
        out.write_line(line, in.line_break());
    }
    if (!found) batch.forget_last();
}

void stage_gm_entry(const AppContext& app, FileBatch& batch, std::int32_t id) {
    const fs::path path = app.server_file(kGmFile);
    if (!file_exists(path)) return;
    if (auto lines = remove_gm_entry_lines(read_lines(path), id)) {
        batch.add_lines(path, std::string(kGmFile), *lines);
    }
}

}  // namespace

std::optional<std::string> delete_account_files(Workspace& ws, Ui& ui, std::int32_t account_id) {
    const AppContext& app = ws.app;
    FileBatch batch(app.files);
    try {
        stage_account_line(app, batch, account_id);
        const std::vector<LeavingCharacter> leaving = stage_characters(ws, batch, account_id);
        const std::string store_items = stage_storage(app, batch, account_id);
        stage_ties(app, ui, batch, leaving, store_items, account_id);
        stage_friends(app, batch, leaving);
        stage_account_registers(app, batch, account_id);
        stage_gm_entry(app, batch, account_id);
        batch.commit();
    } catch (...) {
        const Failure failure = failure_from_current_exception();
        return batch.current() + " (Error " + std::to_string(failure.number()) + ", " +
               failure.description() + ")";
    }
    return std::nullopt;
}

std::optional<std::size_t> delete_account(Workspace& ws, Ui& ui, std::size_t index,
                                          bool confirmed) {
    AccountStore& store = ws.accounts;
    if (index >= store.records.size()) return std::nullopt;
    // The account table is rewritten without the account: refused before anything else goes.
    if (!store.load_state.allow_write(ui)) return std::nullopt;
    if (!confirmed && !confirm_account_deletion(ui, store.records[index])) return std::nullopt;
    const std::int32_t id = store.records[index].account_id();
    if (const std::optional<std::string> failed = delete_account_files(ws, ui, id)) {
        ui.message("The account " + std::to_string(id) + " was not deleted: " + *failed +
                       " could not be written. No file was changed.",
                   "Tavo", Icon::Warning);
        return std::nullopt;
    }
    // The file already lacks the account: whether the table still differs from the file is
    // up to its other edits.
    const bool modified = store.modified;
    store.unsaved_accounts.erase(id);
    const std::size_t next = remove_account(store, index);
    store.modified = modified;
    return next;
}

}  // namespace tavo
