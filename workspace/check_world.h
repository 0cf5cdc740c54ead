#pragma once
// What the readers of the server check learn from each file and hand on to the files read
// after it: the accounts, characters, parties and guilds that exist, and the members the party
// and guild files name, which are looked up once the characters are known.

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/mapped_file.h"
#include "workspace/check_support.h"

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
    std::string group_name;
    long long account_id = 0;
    long long char_id = 0;  // guild members only
    std::string name;
    bool leads = false;  // the party leader or the guild master
};

struct World {
    explicit World(const AppContext& context, CheckReport& out)
        : app(context), report(out), found(out.findings) {}

    const AppContext& app;
    CheckReport& report;
    Gathered found;

    bool accounts_read = false;
    IdSet account_ids;
    bool chars_read = false;
    IdSet char_ids;
    NameTable char_names;                // name -> account id
    std::unique_ptr<MappedFile> athena;  // the names above point into it
    bool parties_read = false;
    IdSet party_ids;
    bool guilds_read = false;
    IdSet guild_ids;
    std::vector<MemberRef> members;
};

// The text of a save file, or nothing when it is missing or cannot be read as lines (which is
// reported). Its stamp is noted for the repairs.
std::unique_ptr<MappedFile> open_save_file(World& world, std::string_view file);

// The readers, in the order the check runs them.
void check_accounts(World& world);
void check_gm_file(World& world);
void check_parties(World& world);
void check_guilds(World& world);
void check_characters(World& world);
void check_members(World& world);
void check_stores(World& world);
void check_pets(World& world);
void check_castles(World& world);

inline constexpr std::string_view kAccounts = "save/account.txt";
inline constexpr std::string_view kGm = "conf/GM_account.txt";
inline constexpr std::string_view kAthena = "save/athena.txt";
inline constexpr std::string_view kStorage = "save/storage.txt";
inline constexpr std::string_view kParty = "save/party.txt";
inline constexpr std::string_view kGuild = "save/guild.txt";
inline constexpr std::string_view kPet = "save/pet.txt";
inline constexpr std::string_view kCastle = "save/castle.txt";
inline constexpr std::string_view kFriends = "save/friends.txt";

}  // namespace tavo::check
