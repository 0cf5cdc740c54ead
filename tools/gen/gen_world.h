#pragma once
// The plan of a generated server, made before any file is written so that every file agrees
// with the others: which accounts exist, which characters they own, who is in which party and
// guild, and which pets exist.

#include <cstdint>
#include <string>
#include <vector>

#include "tools/gen/gen_support.h"
#include "tools/gen/server_gen.h"

namespace tavo::gen {

// The server's limits of this era; a line holding more makes it write past its arrays.
constexpr int kPartySize = 12;
constexpr int kMostGuildMembers = 36;
constexpr int kMostItems = 100;  // inventory and cart

struct PlannedAccount {
    std::int32_t id = 0;
    char sex = 'M';
};

struct PlannedChar {
    std::int32_t id = 0;
    std::int32_t account = 0;
    int slot = 0;
    int job = 0;
    int base_level = 1;
    int job_level = 1;
    int str = 1;
    int hair = 1;
    int hair_color = 0;
    char sex = 'M';
    int party = 0;
    int guild = 0;
    int guild_position = 0;
    int active_pet = 0;      // pet_id of a hatched pet, 0 for none
    int egg_pet = 0;         // pet_id of an egg carried in the inventory
    int enlarge_weight = 0;  // level of skill 36
    std::string name;
};

struct PlannedPet {
    int id = 0;
    int kind = 0;  // index into pet_defs()
    std::int32_t account = 0;
    std::int32_t char_id = 0;
    bool egg = false;
};

struct PlannedGroup {  // a party or a guild
    int id = 0;
    std::string name;
    std::vector<std::size_t> members;  // indexes into chars, the leader or master first
    int castle = -1;
};

struct World {
    std::vector<PlannedAccount> accounts;
    std::vector<PlannedChar> chars;
    std::vector<PlannedPet> pets;
    std::vector<PlannedGroup> parties;
    std::vector<PlannedGroup> guilds;
    std::vector<std::int32_t> smiths;  // char ids of blacksmiths and whitesmiths
    std::vector<std::int32_t> makers;  // char ids of alchemists, archers and acolytes
};

bool is_merchant(int job);

World plan_accounts(const ServerOptions& options, Rng& rng);
void write_accounts(const ServerOptions& options, const World& world, Rng& rng);
void write_gm_file(const ServerOptions& options, const World& world);

void plan_characters(const ServerOptions& options, World& world, Rng& rng);
void write_characters(const ServerOptions& options, const World& world, Rng& rng);
void write_storage(const ServerOptions& options, const World& world, Rng& rng, long long& stores);
void write_groups_pets_castles(const ServerOptions& options, const World& world, Rng& rng);

}  // namespace tavo::gen
