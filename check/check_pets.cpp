// The server check of the pets: save/pet.txt against the characters, stores and guild storages
// that hold them. One pet is held once, in an egg or hatched beside its character.

#include <cstring>

#include "check/check_world.h"

namespace tavo::check {
namespace {

constexpr long long kEggMarker = -256;  // card0 of an egg that holds a pet

std::string place_text(const PetPlace& place) {
    const std::string owner = std::to_string(place.owner);
    const std::string character = "character " + owner + " (" + shown(place.name) + ")";
    std::string text;
    switch (place.kind) {
        case PetPlace::Kind::Inventory: text = "an egg in the inventory of " + character; break;
        case PetPlace::Kind::Cart: text = "an egg in the cart of " + character; break;
        case PetPlace::Kind::Hatched: text = character + ", hatched"; break;
        case PetPlace::Kind::Store:
            return "an egg in the store of account " + owner + " at " + std::string(kStorage) +
                   ":" + std::to_string(place.line);
        case PetPlace::Kind::GuildStorage:
            return "an egg in the storage of guild " + owner + " at " + std::string(kGuildStorage) +
                   ":" + std::to_string(place.line);
    }
    return text + " at " + std::string(kAthena) + ":" + std::to_string(place.line);
}

void check_pet_places(World& world, long long pet, std::string_view name, std::size_t number) {
    const std::string who = "Pet " + std::to_string(pet) + " (" + shown(name) + ")";
    const auto held = world.pets_held.find(pet);
    if (held == world.pets_held.end()) {
        if (!world.chars_read || !world.stores_read || !world.guild_stores_read) return;
        world.found.add(
            Problem::PetNotHeld, kPet, number,
            who +
                " is in no egg and hatched by no character: the record of an egg "
                "deleted or sold to a shop, which no one gets back.",
            Repair{Repair::Edit::DropLine, 0, 0,
                   "drop " + who + ", which no egg or character holds", "1 pet record"});
        return;
    }
    const PetHolding& holding = held->second;
    if (holding.count < 2) return;
    std::string more;
    if (holding.count > 2) more = " and " + std::to_string(holding.count - 2) + " more";
    world.found.add(Problem::PetInTwoPlaces, kPet, number,
                    who + " is in " + std::to_string(holding.count) + " places: " +
                        place_text(holding.first) + "; " + place_text(holding.second) + more +
                        ". The server gives the same pet from each.");
}

void check_pet_line(World& world, std::string_view line, std::size_t number,
                    std::vector<std::string_view>& p) {
    split_tabs(line, p);
    const std::string_view head = p[0];
    const std::size_t second = head.find(',', head.find(',') + 1);
    if (p.size() < 2 || second == std::string_view::npos || !integers(head.substr(0, second), 2) ||
        !integers(p[1], 9)) {
        world.found.add(Problem::UnreadableLine, kPet, number,
                        "The server cannot read this pet line: it reads pet_id,class,name, a "
                        "TAB and nine numbers.");
        return;
    }
    const long long pet = integer_at(head, 0);
    const std::string_view name = head.substr(second + 1);
    const long long account = integer_at(p[1], 0);
    const long long owner = integer_at(p[1], 1);
    const bool account_missing = world.accounts_read && !world.account_ids.contains(account);
    const bool owner_missing = owner != 0 && world.chars_read && !world.char_ids.contains(owner);
    if (account_missing || owner_missing) {
        world.found.add(Problem::PetWithoutOwner, kPet, number,
                        "Pet " + std::to_string(pet) + " (" + shown(name) +
                            ") belongs to character " + std::to_string(owner) + " of account " +
                            std::to_string(account) + ", who is missing.");
    }
    check_pet_places(world, pet, name, number);
}

void check_guild_store_line(World& world, std::string_view line, std::size_t number,
                            std::vector<std::string_view>& p) {
    split_tabs(line, p);
    if (p.size() < 3 || !integers(p[0], 2) || item_count(p[1]) < 0) return;
    hold_eggs(world, p[1], {PetPlace::Kind::GuildStorage, integer_at(p[0], 0), {}, number});
}

}  // namespace

namespace {

// The place of the comma before the next ",-256," from `from`, or npos.
std::size_t next_egg_mark(std::string_view items, std::size_t from) {
    constexpr std::string_view kMark = ",-256,";
    while (from < items.size()) {
        const void* dash = std::memchr(items.data() + from, '-', items.size() - from);
        if (dash == nullptr) break;
        const std::size_t at = static_cast<const char*>(dash) - items.data();
        if (at > 0 && items.substr(at - 1, kMark.size()) == kMark) return at - 1;
        from = at + 1;
    }
    return std::string_view::npos;
}

}  // namespace

void hold_pet(World& world, long long pet, PetPlace place) {
    PetHolding& holding = world.pets_held[pet];
    if (holding.count < 2) {
        place.name = world.kept.keep(place.name);
        (holding.count == 0 ? holding.first : holding.second) = place;
    }
    ++holding.count;
}

long long next_egg(std::string_view items, std::size_t& from) {
    // Most lists hold no egg, and a '-' is rare in them: only an item with ",-256," is looked
    // at, found by its '-' (a search for the comma would stop at every field).
    for (std::size_t at; (at = next_egg_mark(items, from)) != std::string_view::npos;) {
        from = at + 2;
        const std::size_t start = items.rfind(' ', at) + 1;  // npos + 1 is 0
        std::size_t end = items.find(' ', at);
        if (end == std::string_view::npos) end = items.size();
        const std::string_view item = items.substr(start, end - start);
        if (integer_at(item, 7) != kEggMarker) continue;
        from = end + 2;
        const long long pet = (integer_at(item, 8) & 0xFFFF) + integer_at(item, 9) * 65536;
        if (pet != 0) return pet;
    }
    from = items.size();
    return 0;
}

void hold_eggs(World& world, std::string_view items, const PetPlace& place) {
    std::size_t from = 0;
    while (const long long pet = next_egg(items, from)) hold_pet(world, pet, place);
}

void check_guild_stores(World& world) {
    const bool read = each_record(world, kGuildStorage, check_guild_store_line);
    world.guild_stores_read = read || is_missing(world.app.server_file(kGuildStorage));
}

void check_pets(World& world) {
    each_record(world, kPet, check_pet_line);
}

}  // namespace tavo::check
