#pragma once
// What a party, guild or castle line says about its group, read in one pass over the line:
// the figures an overview of the server counts. Nothing for a line the server would not read
// as such a record.

#include <cstdint>
#include <optional>
#include <string_view>

namespace tavo {

// save/party.txt: `id⇥name⇥exp,item⇥` then 12 pairs `account_id,leader⇥name⇥`.
struct PartyLine {
    std::int32_t id = 0;
    std::string_view name;
    int members = 0;  // slots with an account
};
std::optional<PartyLine> read_party_line(std::string_view line);

// save/guild.txt: `id⇥name⇥master⇥level,max_member,...⇥notice1⇥notice2⇥` then the member pairs
// `account_id,char_id,...⇥name⇥`, the master's first.
struct GuildLine {
    std::int32_t id = 0;
    std::string_view name;
    std::int32_t level = 0;
    int members = 0;  // slots with an account, up to max_member
    std::int32_t master_account = 0;
    std::int32_t master_char = 0;
};
std::optional<GuildLine> read_guild_line(std::string_view line);

// save/castle.txt: `castle_id,guild_id,...`; guild 0 holds no castle.
struct CastleLine {
    std::int32_t castle_id = 0;
    std::int32_t guild_id = 0;
};
std::optional<CastleLine> read_castle_line(std::string_view line);

// save/pet.txt: `pet_id,class,name⇥...`; the name runs to the TAB, commas and all.
struct PetLine {
    std::int32_t id = 0;
    std::string_view name;
};
std::optional<PetLine> read_pet_line(std::string_view line);

}  // namespace tavo
