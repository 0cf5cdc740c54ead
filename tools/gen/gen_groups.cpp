// save/party.txt, guild.txt, pet.txt and castle.txt of a generated server.

#include <algorithm>
#include <vector>

#include "tools/gen/gen_db.h"
#include "tools/gen/gen_world.h"

namespace tavo::gen {
namespace {

constexpr int kGuildPositions = 20;
constexpr int kGuildSkills = 20;
constexpr int kFirstGuildSkill = 10000;
constexpr int kCastles = 20;

const char* const kPositionNames[] = {"GuildMaster", "Officer", "Veteran", "Member", "Recruit"};

void write_parties(const ServerOptions& options, const World& world) {
    Out out(options.out / "save" / "party.txt");
    for (const PlannedGroup& party : world.parties) {
        out << party.id << '\t' << party.name << '\t' << party.id % 2 << ',' << party.id % 3 % 2
            << '\t';
        for (int slot = 0; slot < kPartySize; ++slot) {
            if (slot < static_cast<int>(party.members.size())) {
                const PlannedChar& c = world.chars[party.members[static_cast<std::size_t>(slot)]];
                out << c.account << ',' << (slot == 0 ? 1 : 0) << '\t' << c.name << '\t';
            } else {
                out << "0,0\tNoMember\t";
            }
        }
        out << '\n';
    }
}

// The server gives a guild 16 member slots and 2 more for each level of Guild Extension, up to
// 36 in this era; a guild line whose size disagrees loses its last members at the next save.
constexpr int kGuildExtension = 10004;
constexpr int kBaseGuildSlots = 16;

int guild_slots(int extension) {
    return std::min(kMostGuildMembers, kBaseGuildSlots + 2 * extension);
}

// The guild's level of each of its 20 skills: Approval and Kafra Contract at random, Guild
// Extension at least as high as its members need.
std::vector<int> guild_skill_levels(int members, Rng& rng) {
    std::vector<int> levels(kGuildSkills, 0);
    levels[0] = rng.below(2);
    levels[1] = rng.below(2);
    const int needed = std::max(0, (members - kBaseGuildSlots + 1) / 2);
    const int most = (kMostGuildMembers - kBaseGuildSlots) / 2;
    levels[kGuildExtension - kFirstGuildSkill] =
        rng.chance(0.3) ? rng.between(needed, most) : needed;
    return levels;
}

void write_guild(Out& out, const World& world, std::size_t index, Rng& rng) {
    const PlannedGroup& guild = world.guilds[index];
    const PlannedChar& master = world.chars[guild.members.front()];
    const int size = static_cast<int>(guild.members.size());
    const std::vector<int> skills = guild_skill_levels(size, rng);
    const int max_member = guild_slots(skills[kGuildExtension - kFirstGuildSkill]);
    int spent = 0;
    for (int level : skills) spent += level;
    const int level = 1 + spent + rng.below(5);
    out << guild.id << '\t' << guild.name << '\t' << master.name << '\t' << level << ','
        << max_member << ',' << rng.below(100000) << ',' << level - 1 - spent << ','
        << std::max(guild.castle, 0) << '\t';
    out << (rng.chance(0.5) ? "Siege at eight, bring potions#" : "#") << '\t'
        << (rng.chance(0.3) ? "Welcome to " + guild.name + "#" : std::string("#")) << '\t';
    for (int slot = 0; slot < max_member; ++slot) {
        if (slot < size) {
            const PlannedChar& c = world.chars[guild.members[static_cast<std::size_t>(slot)]];
            out << c.account << ',' << c.id << ',' << c.hair << ',' << c.hair_color << ','
                << (c.sex == 'M' ? 1 : 0) << ',' << c.job << ',' << c.base_level << ','
                << rng.below(5000) << ',' << (slot == 0 ? 0 : rng.below(10)) << ','
                << c.guild_position << '\t' << c.name << '\t';
        } else {
            out << "0,0,0,0,0,0,0,0,0,0\t-\t";
        }
    }
    for (int position = 0; position < kGuildPositions; ++position) {
        const int mode = position == 0 ? 17 : (position < 3 ? 1 : 0);
        out << mode << ',' << (position < 3 ? 10 : 0) << '\t'
            << kPositionNames[std::min(position, 4)];
        if (position >= 4) out << ' ' << position;
        out << "#\t";
    }
    if (rng.chance(0.3)) {
        out << "4,1,0a0b0c0d$\t";
    } else {
        out << "0,0,$\t";
    }
    // Neighbouring guilds of an even index are allies of each other.
    const std::size_t partner = index % 2 == 0 ? index + 1 : index - 1;
    if (partner < world.guilds.size() && world.guilds[std::min(index, partner)].id % 3 == 0) {
        out << "1\t" << world.guilds[partner].id << ",0\t" << world.guilds[partner].name << '\t';
    } else {
        out << "0\t";
    }
    if (rng.chance(0.1)) {
        const PlannedAccount& gone = world.accounts[static_cast<std::size_t>(
            rng.below(static_cast<int>(world.accounts.size())))];
        out << "1\t" << gone.id << ",0,0,0\tExiled\t" << gone.id << "\tleft the guild#\t";
    } else {
        out << "0\t";
    }
    for (int skill = 0; skill < kGuildSkills; ++skill) {
        out << kFirstGuildSkill + skill << ',' << skills[static_cast<std::size_t>(skill)] << ' ';
    }
    out << "\t\n";
}

void write_pets(const ServerOptions& options, const World& world, Rng& rng) {
    Out out(options.out / "save" / "pet.txt");
    for (const PlannedPet& pet : world.pets) {
        const PetDef& def = pet_defs()[static_cast<std::size_t>(pet.kind)];
        out << pet.id << ',' << def.mob_id << ',' << def.jname << '\t' << pet.account << ','
            << pet.char_id << ',' << rng.between(1, 30) << ',' << def.egg_id << ','
            << (rng.chance(0.3) ? def.equip_id : 0) << ',' << rng.between(100, 1000) << ','
            << rng.between(10, 100) << ",0," << (pet.egg ? 1 : 0) << '\n';
    }
}

void write_castles(const ServerOptions& options, const World& world, Rng& rng) {
    Out out(options.out / "save" / "castle.txt");
    for (int castle = 0; castle < kCastles; ++castle) {
        int owner = 0;
        for (const PlannedGroup& guild : world.guilds) {
            if (guild.castle == castle) owner = guild.id;
        }
        out << castle << ',' << owner;
        if (owner == 0) {
            for (int i = 0; i < 24; ++i) out << ",0";
        } else {
            out << ',' << rng.between(1, 60) << ',' << rng.between(1, 30) << ",0,0,0,0,0,1";
            int visible[8];
            for (int& v : visible) {
                v = rng.chance(0.5) ? 1 : 0;
                out << ',' << v;
            }
            for (int v : visible) out << ',' << (v != 0 ? rng.between(1000, 15670) : 0);
        }
        out << '\n';
    }
}

}  // namespace

void write_groups_pets_castles(const ServerOptions& options, const World& world, Rng& rng) {
    write_parties(options, world);
    {
        Out out(options.out / "save" / "guild.txt");
        for (std::size_t i = 0; i < world.guilds.size(); ++i) write_guild(out, world, i, rng);
    }
    write_pets(options, world, rng);
    write_castles(options, world, rng);
}

}  // namespace tavo::gen
