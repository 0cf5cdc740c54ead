// The server check of the party, guild, store, pet and castle files.

#include <algorithm>

#include "app/settings.h"
#include "app/text_file.h"
#include "check/check_world.h"

namespace tavo::check {
namespace {

constexpr std::size_t kPartySlots = 12;
constexpr std::size_t kGuildPositions = 20;
constexpr long long kMostGuildMembers = 36;
constexpr long long kGuildExtension = 10004;
constexpr long long kMostStoreItems = 300;

std::string group_named(const char* kind, long long id, std::string_view name) {
    return std::string(kind) + " " + std::to_string(id) + " (" + shown(name) + ")";
}

void check_party_line(World& world, std::string_view line, std::size_t number,
                      std::vector<std::string_view>& p) {
    split_tabs(line, p);
    if (p.size() < 3 + 2 * kPartySlots || !is_integer(p[0]) || !integers(p[2], 2)) {
        world.found.add(Problem::UnreadableLine, kParty, number,
                        "The server cannot read this party line: it needs the id, the name, "
                        "exp,item and 12 member slots.");
        return;
    }
    const long long id = integer_value(p[0]);
    world.party_ids.insert(id);
    const std::string_view name = world.kept.keep(p[1]);
    int members = 0;
    for (std::size_t slot = 0; slot < kPartySlots; ++slot) {
        const std::size_t at = 3 + 2 * slot;
        const long long account = integer_at(p[at], 0);
        if (account == 0) continue;
        ++members;
        world.members.push_back({false, number, at, id, name, account, 0,
                                 world.kept.keep(p[at + 1]), integer_at(p[at], 1) == 1});
    }
    if (members == 0) {
        world.found.add(Problem::PartyWithoutMembers, kParty, number,
                        group_named("Party", id, p[1]) +
                            " has no members: the server deletes it when it loads.");
    }
}

// The place of each part of a guild line, or nothing when the line is too short for them.
struct GuildLayout {
    long long max_member = 0;
    std::size_t skills = 0;  // the piece of the guild skills
};

std::optional<GuildLayout> guild_layout(const std::vector<std::string_view>& p) {
    if (p.size() < 6 || !is_integer(p[0]) || !integers(p[3], 5)) return std::nullopt;
    GuildLayout layout;
    layout.max_member = integer_at(p[3], 1);
    if (layout.max_member < 0 || layout.max_member > 1000) return std::nullopt;
    std::size_t at = 6 + 2 * static_cast<std::size_t>(layout.max_member) + 2 * kGuildPositions + 1;
    for (const std::size_t width : {2, 4}) {  // alliances, then expulsions
        if (at >= p.size() || !is_integer(p[at])) return std::nullopt;
        const long long count = integer_value(p[at]);
        if (count < 0 || count > 1000) return std::nullopt;
        at += 1 + width * static_cast<std::size_t>(count);
    }
    if (at >= p.size()) return std::nullopt;
    layout.skills = at;
    return layout;
}

// The level of Guild Extension in the guild skills, and whether every skill has its blank.
long long extension_level(std::string_view skills) {
    std::size_t start = 0;
    while (start < skills.size()) {
        std::size_t end = skills.find(' ', start);
        if (end == std::string_view::npos) end = skills.size();
        const std::string_view entry = skills.substr(start, end - start);
        if (integer_at(entry, 0) == kGuildExtension) return integer_at(entry, 1);
        start = end + 1;
    }
    return 0;
}

void check_guild_size(World& world, std::size_t number, const std::string& who,
                      const GuildLayout& layout, long long extension) {
    const long long expected = std::min(kMostGuildMembers, 16 + 2 * extension);
    if (layout.max_member > kMostGuildMembers) {
        world.found.add(Problem::GuildSize, kGuild, number,
                        who + " has room for " + std::to_string(layout.max_member) +
                            " members; the server holds at most 36 and drops the rest at its "
                            "next save.");
    } else if (layout.max_member != expected) {
        world.found.add(Problem::GuildSize, kGuild, number,
                        who + " has room for " + std::to_string(layout.max_member) +
                            " members, but its Guild Extension level " + std::to_string(extension) +
                            " gives " + std::to_string(expected) +
                            ": the server changes it at load and drops members beyond it.");
    }
}

void check_guild_line(World& world, std::string_view line, std::size_t number,
                      std::vector<std::string_view>& p) {
    split_tabs(line, p);
    const std::optional<GuildLayout> layout = guild_layout(p);
    if (!layout) {
        world.found.add(Problem::UnreadableLine, kGuild, number,
                        "The server cannot read this guild line: its member, position, "
                        "alliance and expulsion fields do not add up to its size.");
        return;
    }
    const long long id = integer_value(p[0]);
    const std::string who = group_named("Guild", id, p[1]);
    world.guild_ids.insert(id);
    const std::string_view name = world.kept.keep(p[1]);
    int members = 0;
    for (long long slot = 0; slot < layout->max_member; ++slot) {
        const std::size_t at = 6 + 2 * static_cast<std::size_t>(slot);
        const long long account = integer_at(p[at], 0);
        if (account == 0) continue;
        ++members;
        world.members.push_back({true, number, at, id, name, account, integer_at(p[at], 1),
                                 world.kept.keep(p[at + 1]), p[at + 1] == p[2]});
    }
    if (members == 0) {
        world.found.add(Problem::GuildWithoutMembers, kGuild, number,
                        who + " has no members: the char server crashes when it loads it.");
    }
    const std::string_view skills = p[layout->skills];
    if (!skills.empty() && skills.back() != ' ') {
        world.found.add(Problem::GuildSkillBlank, kGuild, number,
                        who +
                            ": the last guild skill lacks its trailing blank, and the char "
                            "server crashes when it loads it.");
    }
    check_guild_size(world, number, who, *layout, extension_level(skills));
}

// Each group's members that are found, so that a missing one is only dropped while another
// stays.
bool member_found(const World& world, const MemberRef& m) {
    if (m.guild) return world.char_ids.contains(m.char_id);
    const std::optional<long long> account = world.char_names.find(m.name);
    return account && *account == m.account_id;
}

void report_member(Gathered& found, const MemberRef& m, bool others_stay) {
    std::optional<Repair> repair;
    if (others_stay && !m.leads) {
        repair = Repair{m.guild ? Repair::Edit::ClearGuildMember : Repair::Edit::ClearPartyMember,
                        m.piece, 0,
                        "drop " + shown(m.name) + " from " + (m.guild ? "guild " : "party ") +
                            std::to_string(m.group_id),
                        m.guild ? "1 guild member" : "1 party member"};
    }
    const std::string who = group_named(m.guild ? "Guild" : "Party", m.group_id, m.group_name);
    const std::string member =
        m.guild ? "character " + std::to_string(m.char_id) + " (" + shown(m.name) + ")"
                : shown(m.name) + " of account " + std::to_string(m.account_id);
    found.add(Problem::MemberWithoutCharacter, m.guild ? kGuild : kParty, m.line,
              who + " lists " + member + ", who is not in save/athena.txt.", std::move(repair));
}

long long store_limit(const World& world) {
    return std::max<long long>(kMostStoreItems, world.app.settings.maxstorage);
}

void check_store_line(World& world, std::string_view line, std::size_t number,
                      std::vector<std::string_view>& p) {
    split_tabs(line, p);
    const auto unreadable = [&](const std::string& why) {
        world.found.add(Problem::UnreadableLine, kStorage, number,
                        "The server cannot read this store line: " + why + ".");
    };
    if (p.size() < 2) {
        return unreadable("it has no TAB; a store is account,count, a TAB, the items and a TAB");
    }
    if (!integers(p[0], 2)) return unreadable("it must start with account,count");
    if (p.size() < 3) return unreadable("the TAB after the items is missing");
    const long long items = item_count(p[1]);
    if (items < 0) return unreadable("an item is not 11 numbers");
    const long long said = integer_at(p[0], 1);
    if (said != items) {
        return unreadable("it says " + std::to_string(said) + " items but holds " +
                          std::to_string(items));
    }
    const long long account = integer_at(p[0], 0);
    ++world.report.store_lines;
    if (!world.store_accounts.insert(account)) {
        world.found.add(Problem::DuplicateStore, kStorage, number,
                        "The store of account " + std::to_string(account) +
                            " has a second line: the server keeps the last one it reads and "
                            "loses the other at its next save.");
    } else {
        hold_eggs(world, p[1], {PetPlace::Kind::Store, account, {}, number});
    }
    if (world.accounts_read && !world.account_ids.contains(account)) {
        world.found.add(
            Problem::StoreWithoutAccount, kStorage, number,
            "The store of account " + std::to_string(account) +
                " belongs to no account in save/account.txt.",
            Repair{Repair::Edit::DropLine, 0, 0,
                   "drop the store of the missing account " + std::to_string(account),
                   "1 store line of " + std::to_string(items) + (items == 1 ? " item" : " items")});
    }
    if (items > store_limit(world)) {
        world.found.add(Problem::TooManyItems, kStorage, number,
                        "The store of account " + std::to_string(account) + " holds " +
                            std::to_string(items) + " items; the server holds " +
                            std::to_string(store_limit(world)) + ".");
    }
}

void check_castle_line(World& world, std::string_view line, std::size_t number) {
    if (!integers(line, 26) && !integers(line, 18)) {
        world.found.add(Problem::UnreadableLine, kCastle, number,
                        "The server cannot read this castle line: it reads 26 numbers (or the "
                        "older 18).");
        return;
    }
    const long long guild = integer_at(line, 1);
    if (guild == 0 || !world.guilds_read || world.guild_ids.contains(guild)) return;
    world.found.add(Problem::CastleWithoutGuild, kCastle, number,
                    "Castle " + std::to_string(integer_at(line, 0)) + " is owned by guild " +
                        std::to_string(guild) + ", which does not exist.");
}

}  // namespace

void check_parties(World& world) {
    world.parties_read = each_record(world, kParty, check_party_line);
}

void check_guilds(World& world) {
    world.guilds_read = each_record(world, kGuild, check_guild_line);
}

void check_members(const World& world, std::vector<Finding>& out) {
    if (!world.chars_read) return;
    Gathered gathered(out);
    std::vector<bool> found(world.members.size());
    for (std::size_t i = 0; i < world.members.size(); ++i) {
        found[i] = member_found(world, world.members[i]);
    }
    // The members of one line are next to each other.
    for (std::size_t first = 0; first < world.members.size();) {
        std::size_t end = first;
        bool any_found = false;
        while (end < world.members.size() &&
               world.members[end].guild == world.members[first].guild &&
               world.members[end].line == world.members[first].line) {
            any_found = any_found || found[end];
            ++end;
        }
        for (std::size_t i = first; i < end; ++i) {
            if (!found[i]) report_member(gathered, world.members[i], any_found);
        }
        first = end;
    }
}

void check_stores(World& world) {
    if (!file_exists(world.app.server_file(kStorage))) {
        world.found.add(Problem::MissingFile, kStorage, 0,
                        "The file is missing: the server fails when it saves the stores. Make "
                        "it as an empty file.");
        world.stores_read = is_missing(world.app.server_file(kStorage));
        return;
    }
    world.stores_read = each_record(world, kStorage, check_store_line);
}

void check_castles(World& world) {
    each_record(world, kCastle,
                [](World& w, std::string_view line, std::size_t number,
                   std::vector<std::string_view>&) { check_castle_line(w, line, number); });
}

}  // namespace tavo::check
