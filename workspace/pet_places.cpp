#include "workspace/pet_places.h"

#include <limits>
#include <vector>

#include "accounts/account_form.h"
#include "accounts/account_read.h"
#include "app/failure.h"
#include "app/numbers.h"
#include "app/text.h"
#include "app/text_file.h"
#include "characters/guild_party_pet.h"
#include "items/item_naming.h"
#include "workspace/workspace.h"

namespace tavo {
namespace {

constexpr const char* kAthena = "save/athena.txt";
constexpr const char* kStorage = "save/storage.txt";
constexpr const char* kGuildStorage = "save/g_storage.txt";
// No record: equal to no id.
constexpr double kNone = std::numeric_limits<double>::quiet_NaN();

bool holds_egg(const std::vector<ItemSlot>& items, std::int32_t pet) {
    for (const ItemSlot& item : items) {
        if (is_pet_egg(item) && egg_pet_id(item) == pet) return true;
    }
    return false;
}

// An item list as a file holds it; an item that cannot be read holds no pet.
bool holds_egg(std::string_view field, std::int32_t pet) {
    if (field.find(",-256,") == std::string_view::npos) return false;
    for (const std::string_view entry : list_entries(field)) {
        try {
            const ItemSlot item = parse_item(entry);
            if (is_pet_egg(item) && egg_pet_id(item) == pet) return true;
        } catch (const Failure&) {
        }
    }
    return false;
}

// The pet id of "party,guild,pet".
bool hatched(std::string_view party_guild_pet, std::int32_t pet) {
    return leading_number(piece(party_guild_pet, ',', 2)) == pet;
}

std::optional<std::string> character_place(std::string_view name, bool hatched, bool in_inventory,
                                           bool in_cart) {
    const std::string owner = std::string(name) + "'s";
    if (hatched) return owner + " hatched pet";
    if (in_inventory) return "in an egg in " + owner + " inventory";
    if (in_cart) return "in an egg in " + owner + " cart";
    return std::nullopt;
}

std::optional<std::string> file_character_place(const Workspace& ws, std::int32_t pet) {
    const fs::path path = ws.app.server_file(kAthena);
    if (!file_exists(path)) return std::nullopt;
    const double current = ws.characters.loaded() ? leading_number(ws.characters.id()) : kNone;
    // Only a line with an egg or the pet's id after a comma and before a TAB can hold it.
    const std::string hatched_text = "," + std::to_string(pet) + "\t";
    std::vector<std::string_view> f;
    LineReader reader(path);
    std::string_view line;
    while (reader.next(line)) {
        if (line.find(",-256,") == std::string_view::npos &&
            line.find(hatched_text) == std::string_view::npos) {
            continue;
        }
        split_into(line, '\t', f);
        if (f.size() < 17 || leading_number(f[0]) == current) continue;
        if (auto place = character_place(f[2], hatched(f[9], pet), holds_egg(f[15], pet),
                                         holds_egg(f[16], pet))) {
            return place;
        }
    }
    return std::nullopt;
}

std::string store_place(const Workspace& ws, Ui& ui, double account) {
    const auto id = static_cast<std::int32_t>(account);
    std::string place = "in an egg in the store of account " + std::to_string(id);
    // A command run alone may not have read the account table: its one account is read then.
    AccountTable one;
    const AccountTable* table = &ws.accounts.table();
    if (!index_of_account(*table, id) && load_one_account(ws.app, ui, id, one)) table = &one;
    if (const auto index = index_of_account(*table, id)) {
        place += " (" + std::string(table->records[*index].userid()) + ")";
    }
    return place;
}

// The first "id,count" store line of save/storage.txt or save/g_storage.txt whose items hold an
// egg of the pet, other than those of `skipped`; its id.
std::optional<double> store_with_egg(const Workspace& ws, const char* file, std::int32_t pet,
                                     double skipped) {
    const fs::path path = ws.app.server_file(file);
    if (!file_exists(path)) return std::nullopt;
    LineReader reader(path);
    std::string_view line;
    while (reader.next(line)) {
        const double id = leading_number(piece(line, '\t', 0));
        if (id == skipped) continue;
        if (holds_egg(piece(line, '\t', 1), pet)) return id;
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> pet_place(const Workspace& ws, Ui& ui, std::int32_t pet_id) {
    if (ws.characters.loaded()) {
        const CharacterRecord& c = ws.characters.current();
        if (auto place = character_place(c.name, hatched(c.party_guild_pet, pet_id),
                                         holds_egg(c.inventory.items, pet_id),
                                         holds_egg(c.cart.items, pet_id))) {
            return place;
        }
    }
    if (auto place = file_character_place(ws, pet_id)) return place;
    const std::optional<std::int32_t> store = ws.store.account();
    if (store && holds_egg(ws.store.items(), pet_id)) return store_place(ws, ui, *store);
    if (const auto account = store_with_egg(ws, kStorage, pet_id, store ? *store : kNone)) {
        return store_place(ws, ui, *account);
    }
    if (const auto guild = store_with_egg(ws, kGuildStorage, pet_id, kNone)) {
        const auto id = static_cast<std::int32_t>(*guild);
        return "in an egg in the storage of guild " + std::to_string(id) + " (" +
               guild_name_of(ws.app, ui, id) + ")";
    }
    return std::nullopt;
}

}  // namespace tavo
