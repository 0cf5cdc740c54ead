#include "workspace/deletion.h"

#include <algorithm>
#include <memory>

#include "app/failure.h"
#include "app/file_batch.h"
#include "app/text.h"
#include "app/text_file.h"
#include "characters/friends.h"
#include "characters/guild_party_pet.h"
#include "characters/item_slot.h"
#include "items/item_naming.h"
#include "workspace/workspace.h"

namespace tavo {
namespace {

constexpr const char* kAthena = "save/athena.txt";
constexpr const char* kFriends = "save/friends.txt";

// The same characters with the same ties and eggs: the releases made for one hold for the other.
bool same_characters(const std::vector<LeavingCharacter>& a,
                     const std::vector<LeavingCharacter>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const auto& x, const auto& y) {
        return x.char_id == y.char_id && x.party_guild_pet == y.party_guild_pet &&
               egg_pets(x.items) == egg_pets(y.items);
    });
}

void stage_friends(const AppContext& app, FileBatch& batch,
                   const std::vector<LeavingCharacter>& leaving) {
    const fs::path path = app.server_file(kFriends);
    if (leaving.empty() || is_missing(path)) return;
    std::vector<std::int32_t> ids;
    ids.reserve(leaving.size());
    for (const LeavingCharacter& character : leaving) ids.push_back(character.char_id);
    batch.add(path, kFriends,
              [&app, ids](AtomicWriter& out) { return write_friends_without(app, out, ids); });
}

}  // namespace

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

std::vector<LeavingCharacter> stage_leaving_characters(const Workspace& ws, FileBatch& batch,
                                                       const LeavingSet& leaving) {
    const fs::path path = ws.app.server_file(kAthena);
    if (leaving.empty() || is_missing(path)) return {};
    auto left = std::make_shared<std::optional<std::vector<LeavingCharacter>>>();
    auto who = std::make_shared<const LeavingSet>(leaving);
    const auto make = [&ws, who, left](AtomicWriter& out) {
        std::vector<LeavingCharacter> now =
            write_without_characters(ws.app, out, ws.accounts.table().server_generation, *who);
        // The releases were made for the characters as first met: one that another writer
        // added or changed meanwhile would keep its ties.
        if (*left && !same_characters(**left, now)) {
            throw Failure(err::kPathFileAccess,
                          "The characters being deleted changed on disk meanwhile");
        }
        *left = std::move(now);
        return !(*left)->empty();
    };
    batch.add(path, kAthena, make, ws.app.server_file("save/athena.bak.txt"));
    return left->value_or(std::vector<LeavingCharacter>{});
}

void stage_releases(const Workspace& ws, Ui& ui, FileBatch& batch,
                    const std::vector<LeavingCharacter>& leaving, std::vector<std::int32_t> pets) {
    for (const LeavingCharacter& character : leaving) {
        const std::vector<std::int32_t> held = egg_pets(character.items);
        pets.insert(pets.end(), held.begin(), held.end());
    }
    if (!leaving.empty() || !pets.empty()) {
        CharacterTies ties = read_character_ties(ws.app);
        for (const LeavingCharacter& character : leaving) {
            release_character(ties, character.party_guild_pet, character.account_id,
                              character.char_id);
        }
        for (const std::int32_t pet : pets) release_pet(ties, pet);
        stage_character_ties(ws.app, ui, ties, batch);
    }
    stage_friends(ws.app, batch, leaving);
}

std::optional<std::string> commit_deletion(FileBatch& batch, const std::function<void()>& stages) {
    try {
        stages();
        batch.commit();
    } catch (...) {
        const Failure failure = failure_from_current_exception();
        const std::string& file = failure.file().empty() ? batch.current() : failure.file();
        return file + " (Error " + std::to_string(failure.number()) + ", " + failure.description() +
               ") could not be written. " + batch.outcome();
    }
    return std::nullopt;
}

std::optional<std::string> delete_characters_files(Workspace& ws, Ui& ui,
                                                   const LeavingSet& leaving) {
    FileBatch batch(ws.app.files);
    return commit_deletion(batch, [&] {
        const std::vector<LeavingCharacter> left = stage_leaving_characters(ws, batch, leaving);
        stage_releases(ws, ui, batch, left, {});
    });
}

std::optional<std::string> delete_char(Workspace& ws, Ui& ui, std::int32_t char_id) {
    LeavingSet leaving;
    leaving.add_character(char_id);
    return delete_characters_files(ws, ui, leaving);
}

std::optional<std::string> delete_user_char(Workspace& ws, Ui& ui, std::int32_t account_id) {
    LeavingSet leaving;
    leaving.add_account(account_id);
    return delete_characters_files(ws, ui, leaving);
}

}  // namespace tavo
