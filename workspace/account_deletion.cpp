#include "workspace/account_deletion.h"

#include <algorithm>
#include <memory>

#include "accounts/account_form.h"
#include "accounts/account_write.h"
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

// The same characters with the same ties and eggs: the releases made for one hold for the other.
bool same_characters(const std::vector<LeavingCharacter>& a,
                     const std::vector<LeavingCharacter>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const auto& x, const auto& y) {
        return x.char_id == y.char_id && x.party_guild_pet == y.party_guild_pet &&
               egg_pets(x.items) == egg_pets(y.items);
    });
}

// The releases were made for what the account held when it was first met: a character or an
// egg that another writer added or changed meanwhile would keep its ties.
[[noreturn]] void held_changed(std::string_view what) {
    throw Failure(err::kPathFileAccess, "The account's " + std::string(what) +
                                            " changed on disk while it was being deleted");
}

// Each stage adds a file the deletion changes; its content is made from the file on disk, and
// made again when another writer changes the file before its rename. A missing file has
// nothing of the account; a folder in its place fails the deletion.
void stage_account_line(const AppContext& app, FileBatch& batch, std::int32_t id) {
    const fs::path path = app.server_file(kAccountFile);
    if (is_missing(path)) return;
    batch.add(path, std::string(kAccountFile),
              [&app, id](AtomicWriter& out) { return write_account_file_without(app, out, id); });
}

std::vector<LeavingCharacter> stage_characters(const Workspace& ws, FileBatch& batch,
                                               std::int32_t id) {
    const fs::path path = ws.app.server_file(kAthena);
    if (is_missing(path)) return {};
    auto leaving = std::make_shared<std::optional<std::vector<LeavingCharacter>>>();
    const auto make = [&ws, id, leaving](AtomicWriter& out) {
        std::vector<LeavingCharacter> now =
            write_without_account(ws.app, out, ws.accounts.table().server_generation, id);
        if (*leaving && !same_characters(**leaving, now)) held_changed("characters");
        *leaving = std::move(now);
        return !(*leaving)->empty();
    };
    batch.add(path, kAthena, make, ws.app.server_file("save/athena.bak.txt"));
    return leaving->value_or(std::vector<LeavingCharacter>{});
}

// The pets of the store's eggs.
std::vector<std::int32_t> stage_storage(const AppContext& app, FileBatch& batch, std::int32_t id) {
    const fs::path path = app.server_file(kStorage);
    if (is_missing(path)) return {};
    auto eggs = std::make_shared<std::optional<std::vector<std::int32_t>>>();
    const auto make = [&app, id, eggs](AtomicWriter& out) {
        const std::optional<std::string> items = write_storage_without(app, out, id);
        std::vector<std::int32_t> now = egg_pets(items.value_or(std::string()));
        if (*eggs && **eggs != now) held_changed("store");
        *eggs = std::move(now);
        return items.has_value();
    };
    batch.add(path, kStorage, make, app.server_file("save/storage.bak.txt"));
    return eggs->value_or(std::vector<std::int32_t>{});
}

// The characters leave their parties and guilds and take their pets, hatched or in an egg,
// with the pets of the store's eggs.
void stage_ties(const AppContext& app, Ui& ui, FileBatch& batch,
                const std::vector<LeavingCharacter>& leaving, std::vector<std::int32_t> pets,
                std::int32_t id) {
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
    if (leaving.empty() || is_missing(path)) return;
    std::vector<std::int32_t> ids;
    for (const LeavingCharacter& character : leaving) ids.push_back(character.char_id);
    batch.add(path, kFriends,
              [&app, ids](AtomicWriter& out) { return write_friends_without(app, out, ids); });
}

// save/accreg.txt: "account_id TAB name,value ..." for the accounts with registers.
void stage_account_registers(const AppContext& app, FileBatch& batch, std::int32_t id) {
    const fs::path path = app.server_file(kAccountRegisters);
    if (is_missing(path)) return;
    batch.add(path, kAccountRegisters, [path, id](AtomicWriter& out) {
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
        return found;
    });
}

void stage_gm_entry(const AppContext& app, FileBatch& batch, std::int32_t id) {
    const fs::path path = app.server_file(kGmFile);
    if (is_missing(path)) return;
    batch.add(path, std::string(kGmFile), [path, id](AtomicWriter& out) {
        const auto lines = remove_gm_entry_lines(read_lines(path), id);
        if (!lines) return false;
        for (const std::string& line : *lines) out.write_line(line);
        return true;
    });
}

}  // namespace

std::optional<std::string> delete_account_files(Workspace& ws, Ui& ui, std::int32_t account_id) {
    const AppContext& app = ws.app;
    FileBatch batch(app.files);
    try {
        stage_account_line(app, batch, account_id);
        const std::vector<LeavingCharacter> leaving = stage_characters(ws, batch, account_id);
        std::vector<std::int32_t> store_eggs = stage_storage(app, batch, account_id);
        stage_ties(app, ui, batch, leaving, std::move(store_eggs), account_id);
        stage_friends(app, batch, leaving);
        stage_account_registers(app, batch, account_id);
        stage_gm_entry(app, batch, account_id);
        batch.commit();
    } catch (...) {
        const Failure failure = failure_from_current_exception();
        const std::string& file = failure.file().empty() ? batch.current() : failure.file();
        return file + " (Error " + std::to_string(failure.number()) + ", " + failure.description() +
               ") could not be written. " + batch.outcome();
    }
    return std::nullopt;
}

std::optional<std::size_t> delete_account(Workspace& ws, Ui& ui, std::size_t index,
                                          bool confirmed) {
    AccountTable& table = ws.accounts.table();
    if (index >= table.records.size()) return std::nullopt;
    // The account table is rewritten without the account: refused before anything else goes.
    if (!table.load_state.allow_write(ui)) return std::nullopt;
    if (!confirmed && !confirm_account_deletion(ui, table.records[index])) return std::nullopt;
    const std::int32_t id = table.records[index].account_id();
    if (const std::optional<std::string> failed = delete_account_files(ws, ui, id)) {
        ui.message("The account " + std::to_string(id) + " was not deleted: " + *failed, "Tavo",
                   Icon::Warning);
        return std::nullopt;
    }
    // The file already lacks the account: whether the table still differs from the file is
    // up to its other edits.
    const bool modified = table.modified.get();
    table.unsaved_accounts.erase(id);
    const std::size_t next = remove_account(table, index);
    table.modified = modified;
    return next;
}

}  // namespace tavo
