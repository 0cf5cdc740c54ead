#pragma once
// What the readers of the server check learn from each file and hand on to the files read
// after it: the accounts, characters, parties and guilds that exist, and the members the party
// and guild files name, which are looked up once the characters are known.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "app/failure.h"
#include "app/file_stamp.h"
#include "app/settings.h"
#include "app/text_file.h"
#include "check/check_support.h"

namespace tavo {
struct AppContext;
}

namespace tavo::check {

// A party or guild member, to be found among the characters.
struct MemberRef {
    bool guild = false;
    std::size_t line = 0;
    std::size_t piece = 0;  // where the member's slot starts on its line
    long long group_id = 0;
    std::string_view group_name;  // kept in the world's arena, as the name
    long long account_id = 0;
    long long char_id = 0;  // guild members only
    std::string_view name;
    bool leads = false;  // the party leader or the guild master
};

// One place a pet is held: in an egg of an inventory, cart, store or guild storage, or hatched
// beside its character.
struct PetPlace {
    enum class Kind : std::uint8_t { Inventory, Cart, Hatched, Store, GuildStorage };
    Kind kind = Kind::Inventory;
    long long owner = 0;    // the character, account or guild
    std::string_view name;  // the character's name (kept in the world's arena)
    std::size_t line = 0;
};

// The places of one pet: the first two, and how many there are.
struct PetHolding {
    PetPlace first;
    PetPlace second;
    std::size_t count = 0;
};

struct World {
    explicit World(const AppContext& context, CheckReport& out)
        : app(context), report(out), found(out.findings) {}

    const AppContext& app;
    CheckReport& report;
    Gathered found;

    // Each table counts only when its file was read whole: a reference to an account,
    // character, party or guild is never judged against part of a file.
    bool accounts_read = false;
    IdSet account_ids;
    bool chars_read = false;
    IdSet char_ids;
    NameTable char_names;  // name -> account id
    bool parties_read = false;
    IdSet party_ids;
    bool guilds_read = false;
    IdSet guild_ids;
    IdSet store_accounts;
    PiecedList<MemberRef> members;
    Arena kept;  // the names of the members and of the characters that hold pets
    // Where each pet is held; the pets of a file count only when it was read whole (a missing
    // store or guild storage file holds none).
    std::unordered_map<long long, PetHolding> pets_held;
    bool stores_read = false;
    bool guild_stores_read = false;

    // Takes the parties and guilds a second world read beside this one, with its findings.
    void take_groups(World& groups);
};

// A pet held at a place; an egg's pet of an item list (each blank-separated item, card0 -256).
void hold_pet(World& world, long long pet, PetPlace place);
void hold_eggs(World& world, std::string_view items, const PetPlace& place);
// The pet of the next egg of an item list from `from`, which moves past it; 0 when no egg with a
// pet is left.
long long next_egg(std::string_view items, std::size_t& from);

// Whether the server would read the file as one line: its first line ends in a lone CR.
bool ends_lines_in_cr(const fs::path& path);
// About how many records the file holds, from the length of the lines at its start, so that a
// table of names is sized once; never more than one per 64 bytes, so that odd short lines at
// the start never make a table of gigabytes.
std::size_t records_to_expect(const fs::path& path);
void note_unreadable_file(World& world, std::string_view file, const Failure& failure);
void note_cr_lines(World& world, std::string_view file);
// A folder (or anything else that is not a file) where a save file belongs.
void note_not_a_file(World& world, std::string_view file);

// Notes the stamp of a save file, and whether it can be read line by line: not when it is
// missing, and not when it is a folder or reads as one line, which is reported.
bool readable_by_lines(World& world, std::string_view file);
// Where the first line that starts at or after `near` starts: right after an LF, which ends a
// line whatever the file's line ends. The file's length when there is none.
std::uint64_t line_start_from(const fs::path& path, std::uint64_t near);
// Where athena.txt is cut for its two parts read at once: the first part goes into the tables as
// it is read and the second waits for it, so the first is a little shorter.
std::uint64_t character_parts_meet(const fs::path& path);

// Calls each(line, number) for every line of a save file, read once in large pieces. True when
// the file was read whole: false when it is missing, and when it is a folder, cannot be read or
// reads as one line, which is reported instead. Its stamp is noted for the repairs.
template <class Each>
bool each_line(World& world, std::string_view file, Each&& each) {
    if (!readable_by_lines(world, file)) return false;
    try {
        LineReader reader(world.app.server_file(file));
        std::string_view line;
        std::size_t number = 0;
        while (reader.next(line)) each(line, ++number);
    } catch (const Failure& failure) {
        note_unreadable_file(world, file, failure);
        return false;
    }
    return true;
}

// A line that holds a record: not empty, not a "//" comment.
inline bool is_record(std::string_view line) {
    return !line.empty() && !line.starts_with("//");
}

// Every record line of a file through check(world, line, number, pieces); true when the file
// was read whole.
template <class Check>
bool each_record(World& world, std::string_view file, Check check) {
    std::vector<std::string_view> pieces;
    return each_line(world, file, [&](std::string_view line, std::size_t number) {
        if (is_record(line)) check(world, line, number, pieces);
    });
}

// The readers, in the order the check runs them.
void check_accounts(World& world);
void check_gm_file(World& world);
void check_parties(World& world);
void check_guilds(World& world);
void check_characters(World& world);
// The members go to `out`, so that they can be looked for while another file is read.
void check_members(const World& world, std::vector<Finding>& out);
void check_stores(World& world);
void check_guild_stores(World& world);
void check_pets(World& world);
void check_castles(World& world);
void check_friends(World& world);
void check_registers(World& world);
// What interrupted rewrites left in save/ and conf/: notes, removed by the repair.
void check_leftovers(World& world);

inline constexpr std::string_view kAccounts = "save/account.txt";
inline constexpr std::string_view kGm = "conf/GM_account.txt";
inline constexpr std::string_view kAthena = "save/athena.txt";
inline constexpr std::string_view kStorage = "save/storage.txt";
inline constexpr std::string_view kGuildStorage = "save/g_storage.txt";
inline constexpr std::string_view kParty = "save/party.txt";
inline constexpr std::string_view kGuild = "save/guild.txt";
inline constexpr std::string_view kPet = "save/pet.txt";
inline constexpr std::string_view kCastle = "save/castle.txt";
inline constexpr std::string_view kFriends = "save/friends.txt";
inline constexpr std::string_view kAccreg = "save/accreg.txt";

}  // namespace tavo::check
