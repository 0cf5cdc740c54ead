#pragma once
// The server at a glance: one pass over account.txt, athena.txt, castle.txt, guild.txt and
// party.txt gives the figures of the overview. Memory stays small however large the server:
// counts by month, class, level and group size, the rankings kept, and one account id and one
// ranked value (8 bytes) per character, which the median, the share of the top 1% and the
// accounts' sums need.

#include <array>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "census/census_run.h"
#include "census/job_families.h"

namespace tavo {

// What a ranking orders by: zeny, base level (then job level), or base experience. Ranked by
// account, zeny and experience are the sums over the account's characters and level the
// highest of them.
enum class RankBy { Zeny, Level, Exp };

struct Ranked {
    std::int32_t id = 0;          // the character, or the account
    std::int32_t account_id = 0;  // the character's account; the account itself
    std::string name;             // the character's name, or the account's user id
    long long value = 0;          // for a level: base level × 1000 + job level
    int characters = 0;           // the account's characters; 1 for a character
};

struct AccountFigures {
    long long accounts = 0;
    long long server_accounts = 0;  // sex S: the map servers' own logins
    long long players = 0;
    long long never_logged_in = 0;              // no login count or no date of last login
    std::map<std::string, long long> by_month;  // "2004-07" of the last login
    long long banned = 0;   // refused by its state, or banned until a time still to come
    long long expired = 0;  // its validity has passed
};

struct CharacterFigures {
    long long characters = 0;
    std::map<std::int32_t, long long> by_class;  // classes outside the server's tables: -1
    std::array<long long, kJobFamilies> by_family{};
    std::map<std::int32_t, long long> by_level;  // base level
};

struct EconomyFigures {
    long long zeny = 0;                    // over every character
    double median = 0;                     // of the characters' zeny
    long long top_percent_characters = 0;  // 1% of the characters, at least one
    long long top_percent_zeny = 0;        // what they hold
};

struct CastleHeld {
    std::int32_t castle_id = 0;
    std::int32_t guild_id = 0;
    std::string guild_name;  // empty when guild.txt has no such guild
};

struct GroupFigures {
    long long guilds = 0;
    std::map<int, long long> guilds_by_members;
    std::map<std::int32_t, long long> guilds_by_level;
    std::vector<Ranked> largest_guilds;  // by members (the id is the guild's)
    std::vector<CastleHeld> castles;     // the castles a guild holds, by castle id
    long long parties = 0;
    std::map<int, long long> parties_by_members;
};

struct ServerFigures {
    RankBy rank_by = RankBy::Zeny;
    AccountFigures accounts;
    CharacterFigures characters;
    EconomyFigures economy;  // with rank_by Zeny only
    std::vector<Ranked> top_characters;
    std::vector<Ranked> top_accounts;
    GroupFigures groups;
    CensusNotes notes;
};

struct CensusOptions {
    fs::path folder;       // the server folder
    std::int64_t now = 0;  // seconds since 1970: what has expired and which bans still hold
    RankBy rank_by = RankBy::Zeny;
    std::size_t top = 20;                   // entries of each ranking
    bool accounts = true;                   // activity from account.txt
    bool account_ranking = true;            // the accounts' sums, named from account.txt
    bool groups = true;                     // guilds, parties and castles
    std::uint64_t split_from = kSplitFrom;  // athena.txt this long or longer is read in halves
};

// The figures of the server folder; CensusStopped when `stop` is set meanwhile.
ServerFigures take_census(const CensusOptions& options, const CensusProgress& progress = {},
                          const std::atomic<bool>* stop = nullptr);

// Classes the server's tables know (0-99 and 4000-4099) are counted one by one, the rest as -1.
inline constexpr std::int32_t kOtherClass = -1;

}  // namespace tavo
