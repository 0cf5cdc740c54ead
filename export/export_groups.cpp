// The stores, pets, parties, guilds, guild stores, castles, friend lists and map registers.

#include <algorithm>

#include "app/numbers.h"
#include "app/text.h"
#include "check/check_support.h"
#include "check/check_world.h"
#include "export/export_run.h"
#include "export/sql_text.h"

namespace tavo::sqlx {
namespace {

constexpr std::string_view kGuildStorage = "save/g_storage.txt";
constexpr std::string_view kMapreg = "save/mapreg.txt";
constexpr std::size_t kPartySlots = 12;
constexpr std::size_t kGuildPositions = 20;
constexpr std::size_t kFriendSlots = 20;

bool is_record(std::string_view line) {
    return !line.empty() && !line.starts_with("//");
}

std::string named(const char* kind, std::string_view id, std::string_view name) {
    return std::string(kind) + " " + std::string(id) + " (" + check::shown(name) + ")";
}

// A notice or position name without the "#" the server strips.
std::string_view without_hash(std::string_view text) {
    return text.ends_with('#') ? text.substr(0, text.size() - 1) : text;
}

// `account,count TAB items TAB`, keyed by account (storage.txt) or guild (g_storage.txt).
void export_store_file(ExportRun& run, std::string_view file, TableRows& rows, const char* kind) {
    std::vector<std::string_view> p;
    run.each_line(file, [&](std::string_view line, std::size_t number) {
        if (!is_record(line)) return;
        check::split_tabs(without_last_cr(line), p);
        long long head[2] = {};
        if (p.size() < 3 || !read_numbers(p[0], head, 2)) return;
        export_items(run, rows, head[0], p[1], true, file, number,
                     [&] { return std::string(kind) + " " + std::to_string(head[0]); });
    });
}

class GuildPass {
public:
    explicit GuildPass(ExportRun& run)
        : run_(run),
          guilds_(run.table("guild")),
          members_(run.table("guild_member")),
          positions_(run.table("guild_position")),
          skills_(run.table("guild_skill")),
          expulsions_(run.table("guild_expulsion")),
          alliances_(run.table("guild_alliance")) {}

    void line(std::string_view text, std::size_t number) {
        if (!is_record(text)) return;
        check::split_tabs(without_last_cr(text), p_);
        long long head[5] = {};
        if (p_.size() < 6 || !is_integer(p_[0]) || !read_numbers(p_[3], head, 5)) return;
        const long long id = integer_value(p_[0]);
        const auto max_member = static_cast<std::size_t>(std::clamp(head[1], 0LL, 1000LL));
        std::size_t at = 6 + 2 * max_member;
        const std::size_t emblem = at + 2 * kGuildPositions;
        if (emblem + 2 >= p_.size()) return;
        who_ = named("Guild", p_[0], p_[1]);
        // Members first: the master's character and the mean level go into the guild row.
        long long master_char = 0;
        long long levels = 0;
        long long counted = 0;
        for (std::size_t slot = 0; slot < max_member; ++slot) {
            long long m[10] = {};
            if (!read_numbers(p_[6 + 2 * slot], m, 10) || m[0] == 0) continue;
            if (p_[7 + 2 * slot] == p_[2] && master_char == 0) master_char = m[1];
            levels += m[6];
            ++counted;
        }
        if (!guild_row(id, head, master_char, counted ? levels / counted : 0, emblem, number)) {
            return;
        }
        member_rows(id, max_member, number);
        for (std::size_t i = 0; i < kGuildPositions; ++i, at += 2) position_row(id, i, at, number);
        at = emblem + 1;
        at = alliance_rows(id, at, number);
        at = expulsion_rows(id, at, number);
        if (at < p_.size()) skill_rows(id, p_[at], number);
    }

private:
    bool guild_row(long long id, const long long* head, long long master_char, long long average,
                   std::size_t emblem, std::size_t number) {
        guilds_.begin();
        guilds_.number(0, id);
        guilds_.text(1, p_[1]);
        guilds_.number(2, master_char);
        guilds_.text(3, p_[2]);
        guilds_.number(4, head[0]);
        guilds_.number(5, 0);
        guilds_.number(6, head[1]);
        guilds_.number(7, average);
        guilds_.number(8, head[2]);
        guilds_.number(9, 0);
        guilds_.number(10, head[3]);
        guilds_.number(11, head[4]);
        guilds_.text(12, without_hash(p_[4]));
        guilds_.text(13, without_hash(p_[5]));
        // len,id,<hex>$: the hex goes in as the text it is; both servers read the same hex.
        const std::string_view e = p_[emblem];
        const std::size_t first = e.find(',');
        const std::size_t second = e.find(',', first + 1);
        long long len_id[2] = {};
        if (second != std::string_view::npos) read_numbers(e.substr(0, second), len_id, 2);
        std::string_view hex =
            second == std::string_view::npos ? std::string_view() : e.substr(second + 1);
        if (hex.ends_with('$')) hex.remove_suffix(1);
        guilds_.number(14, len_id[0]);
        guilds_.number(15, len_id[1]);
        guilds_.text(16, hex);
        if (!guilds_.has(11) && head[4] != 0) {
            run_.change(check::kGuild, number, who_,
                        "its castle id " + std::to_string(head[4]) +
                            " has no column in the 2013 schema; guild_castle keeps the owner");
        }
        return run_.add(guilds_, check::kGuild, number, who_);
    }

    void member_rows(long long id, std::size_t max_member, std::size_t number) {
        seen_.clear();
        for (std::size_t slot = 0; slot < max_member; ++slot) {
            long long m[10] = {};
            const std::string_view name = p_[7 + 2 * slot];
            if (!read_numbers(p_[6 + 2 * slot], m, 10) || m[0] == 0) continue;
            const std::string what = who_ + ", member " + check::shown(name);
            if (run_.era == SqlEra::Y2013) {
                if (std::find(seen_.begin(), seen_.end(), m[1]) != seen_.end()) {
                    run_.skip(check::kGuild, number, what,
                              "the character is a member already, and the 2013 schema keys "
                              "members by guild and character");
                    continue;
                }
                seen_.push_back(m[1]);
            }
            members_.begin();
            members_.number(0, id);
            for (std::size_t i = 0; i < 9; ++i) members_.number(1 + i, m[i]);
            members_.number(10, 0);
            members_.number(11, m[9]);
            members_.number(12, 0);
            members_.number(13, 0);
            members_.text(14, name);
            run_.add(members_, check::kGuild, number, what);
        }
    }

    void position_row(long long id, std::size_t position, std::size_t at, std::size_t number) {
        long long v[2] = {};
        read_numbers(p_[at], v, 2);
        positions_.begin();
        positions_.number(0, id);
        positions_.number(1, static_cast<long long>(position));
        positions_.text(2, without_hash(p_[at + 1]));
        positions_.number(3, v[0]);
        positions_.number(4, v[1]);
        run_.add(positions_, check::kGuild, number,
                 who_ + ", position " + std::to_string(position));
    }

    std::size_t alliance_rows(long long id, std::size_t at, std::size_t number) {
        const long long count = at < p_.size() ? integer_in(p_[at], 0, 1000).value_or(0) : 0;
        seen_.clear();
        for (long long i = 0; i < count && at + 2 < p_.size(); ++i) {
            long long v[2] = {};
            read_numbers(p_[at + 1 + 2 * i], v, 2);
            const std::string_view name = p_[at + 2 + 2 * i];
            const std::string what = who_ + ", alliance with " + std::to_string(v[0]);
            if (run_.era == SqlEra::Y2013 &&
                std::find(seen_.begin(), seen_.end(), v[0]) != seen_.end()) {
                run_.skip(check::kGuild, number, what, "the guild is listed already");
                continue;
            }
            seen_.push_back(v[0]);
            alliances_.begin();
            alliances_.number(0, id);
            alliances_.number(1, v[1]);
            alliances_.number(2, v[0]);
            alliances_.text(3, name);
            run_.add(alliances_, check::kGuild, number, what);
        }
        return at + 1 + 2 * static_cast<std::size_t>(count);
    }

    std::size_t expulsion_rows(long long id, std::size_t at, std::size_t number) {
        const long long count = at < p_.size() ? integer_in(p_[at], 0, 1000).value_or(0) : 0;
        std::vector<std::string> names;
        for (long long i = 0; i < count && at + 4 + 4 * i < p_.size(); ++i) {
            const std::size_t e = at + 1 + 4 * static_cast<std::size_t>(i);
            long long v[4] = {};
            read_numbers(p_[e], v, 4);
            const std::string_view name = p_[e + 1];
            const std::string what = who_ + ", expulsion of " + check::shown(name);
            if (run_.era == SqlEra::Y2013) {
                std::string key = latin1_ci_key(name);
                if (std::find(names.begin(), names.end(), key) != names.end()) {
                    run_.skip(check::kGuild, number, what,
                              "the name is expelled already, and the 2013 schema keys "
                              "expulsions by guild and name");
                    continue;
                }
                names.push_back(std::move(key));
            }
            expulsions_.begin();
            expulsions_.number(0, id);
            expulsions_.number(1, v[0]);
            expulsions_.text(2, name);
            expulsions_.text(3, without_hash(p_[e + 3]));
            expulsions_.text(4, p_[e + 2]);
            expulsions_.number(5, v[1]);
            expulsions_.number(6, v[2]);
            expulsions_.number(7, v[3]);
            run_.add(expulsions_, check::kGuild, number, what);
        }
        return at + 1 + 4 * static_cast<std::size_t>(count);
    }

    // All 20 skills, level 0 included: the server numbers them by their place.
    void skill_rows(long long id, std::string_view list, std::size_t number) {
        seen_.clear();
        each_entry(list, [&](std::string_view entry) {
            long long v[2] = {};
            if (!read_numbers(entry, v, 2)) return true;
            const std::string what = who_ + ", guild skill " + std::to_string(v[0]);
            if (std::find(seen_.begin(), seen_.end(), v[0]) != seen_.end()) {
                run_.skip(check::kGuild, number, what, "the guild has this skill already");
                return true;
            }
            seen_.push_back(v[0]);
            skills_.begin();
            skills_.number(0, id);
            skills_.number(1, v[0]);
            skills_.number(2, v[1]);
            run_.add(skills_, check::kGuild, number, what);
            return true;
        });
    }

    ExportRun& run_;
    TableRows& guilds_;
    TableRows& members_;
    TableRows& positions_;
    TableRows& skills_;
    TableRows& expulsions_;
    TableRows& alliances_;
    std::vector<std::string_view> p_;
    std::vector<long long> seen_;
    std::string who_;
};

}  // namespace

void export_stores(ExportRun& run) {
    export_store_file(run, check::kStorage, run.table("storage"), "Store of account");
}

void export_guild_stores(ExportRun& run) {
    export_store_file(run, kGuildStorage, run.table("guild_storage"), "Store of guild");
}

void export_pets(ExportRun& run) {
    TableRows& pets = run.table("pet");
    std::vector<std::string_view> p;
    run.each_line(check::kPet, [&](std::string_view line, std::size_t number) {
        if (!is_record(line)) return;
        check::split_tabs(without_last_cr(line), p);
        const std::string_view head = p[0];
        const std::size_t second = head.find(',', head.find(',') + 1);
        long long id_class[2] = {};
        long long v[9] = {};
        if (p.size() < 2 || second == std::string_view::npos ||
            !read_numbers(head.substr(0, second), id_class, 2) || !read_numbers(p[1], v, 9)) {
            return;
        }
        const std::string_view name = head.substr(second + 1);
        pets.begin();
        pets.number(0, id_class[0]);
        pets.number(1, id_class[1]);
        pets.text(2, name);
        for (std::size_t i = 0; i < 5; ++i) pets.number(3 + i, v[i]);
        // The server holds intimacy to 0..1000 and hunger to 0..100 whenever it loads a pet.
        pets.number(8, std::clamp(v[5], 0LL, 1000LL));
        pets.number(9, std::clamp(v[6], 0LL, 100LL));
        pets.number(10, v[7]);
        pets.number(11, v[8]);
        run.add(pets, check::kPet, number, named("Pet", std::to_string(id_class[0]), name));
    });
}

void export_parties(ExportRun& run) {
    TableRows& parties = run.table("party");
    std::vector<std::string_view> p;
    run.each_line(check::kParty, [&](std::string_view line, std::size_t number) {
        if (!is_record(line)) return;
        check::split_tabs(without_last_cr(line), p);
        long long exp_item[2] = {};
        if (p.size() < 3 + 2 * kPartySlots || !is_integer(p[0]) ||
            !read_numbers(p[2], exp_item, 2)) {
            return;
        }
        long long leader = 0;
        std::string_view leader_name;
        for (std::size_t slot = 0; slot < kPartySlots; ++slot) {
            long long m[2] = {};
            if (read_numbers(p[3 + 2 * slot], m, 2) && m[0] != 0 && m[1] == 1) {
                leader = m[0];
                leader_name = p[4 + 2 * slot];
                break;
            }
        }
        parties.begin();
        parties.number(0, integer_value(p[0]));
        parties.text(1, p[1]);
        parties.number(2, exp_item[0]);
        parties.number(3, exp_item[1]);
        parties.number(4, leader);
        if (parties.has(5)) {
            const auto leader_char =
                run.characters.char_named(static_cast<std::int32_t>(leader), leader_name);
            parties.number(5, leader_char.value_or(0));
        }
        run.add(parties, check::kParty, number, named("Party", p[0], p[1]));
    });
}

void export_guilds(ExportRun& run) {
    GuildPass pass(run);
    run.each_line(check::kGuild,
                  [&](std::string_view text, std::size_t line) { pass.line(text, line); });
}

void export_castles(ExportRun& run) {
    TableRows& castles = run.table("guild_castle");
    run.each_line(check::kCastle, [&](std::string_view line, std::size_t number) {
        if (!is_record(line)) return;
        long long v[26] = {};
        const std::string_view text = without_last_cr(line);
        const bool full = read_numbers(text, v, 26);
        if (!full && !read_numbers(text, v, 18)) return;
        castles.begin();
        for (std::size_t i = 0; i < 26; ++i) castles.number(i, v[i]);
        const std::string what = "Castle " + std::to_string(v[0]);
        if (!castles.has(18) && std::any_of(v + 18, v + 26, [](long long hp) { return hp != 0; })) {
            run.change(check::kCastle, number, what,
                       "its guardians' HP has no column in the 2013 schema and is not carried");
        }
        run.add(castles, check::kCastle, number, what);
    });
}

void export_friends(ExportRun& run) {
    TableRows& friends = run.table("friends");
    std::vector<std::string_view> p;
    run.each_line(check::kFriends, [&](std::string_view line, std::size_t number) {
        if (!is_record(line)) return;
        split_into(without_last_cr(line), ',', p);
        if (!is_integer(p[0])) return;
        const long long id = integer_value(p[0]);
        const std::string who = "Friends of character " + std::to_string(id);
        // The server reads the pairs up to the first empty name.
        std::size_t count = 0;
        while (count < kFriendSlots && 2 + 2 * count < p.size() && !p[2 + 2 * count].empty()) {
            ++count;
        }
        if (run.era == SqlEra::Y2004) {
            friends.begin();
            friends.number(0, id);
            for (std::size_t i = 0; i < count; ++i) {
                friends.number(1 + 2 * i,
                               integer_in(p[1 + 2 * i], INT32_MIN, INT32_MAX).value_or(0));
                friends.text(2 + 2 * i, p[2 + 2 * i]);
            }
            run.add(friends, check::kFriends, number, who);
            return;
        }
        for (std::size_t i = 0; i < count; ++i) {
            const long long friend_id = integer_in(p[1 + 2 * i], 0, INT32_MAX).value_or(0);
            if (friend_id == 0) continue;
            const auto account = run.characters.account_of(static_cast<std::int32_t>(friend_id));
            const std::string what = who + ", friend " + std::to_string(friend_id);
            if (!account) {
                run.skip(check::kFriends, number, what, "there is no such character");
                continue;
            }
            friends.begin();
            friends.number(0, id);
            friends.number(1, *account);
            friends.number(2, friend_id);
            run.add(friends, check::kFriends, number, what);
        }
    });
}

// `$name TAB value` or `$name,index TAB value`.
void export_map_registers(ExportRun& run) {
    TableRows& mapreg = run.table("mapreg");
    run.each_line(kMapreg, [&](std::string_view line, std::size_t number) {
        if (!is_record(line)) return;
        const std::string_view text = without_last_cr(line);
        const std::size_t tab = text.find('\t');
        if (tab == std::string_view::npos) return;
        std::string_view name = text.substr(0, tab);
        long long index = 0;
        if (const std::size_t comma = name.find(','); comma != std::string_view::npos) {
            index = integer_in(name.substr(comma + 1), 0, INT32_MAX).value_or(0);
            name = name.substr(0, comma);
        }
        mapreg.begin();
        mapreg.text(0, name);
        mapreg.number(1, index);
        mapreg.text(2, text.substr(tab + 1));
        run.add(mapreg, kMapreg, number, "Map register " + check::shown(name));
    });
}

}  // namespace tavo::sqlx
