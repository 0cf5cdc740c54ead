#include "census/server_census.h"

#include <algorithm>
#include <deque>
#include <optional>

#include "accounts/account_read.h"
#include "app/numbers.h"
#include "app/text.h"
#include "census/line_sweep.h"
#include "census/top_list.h"
#include "characters/character_fields.h"
#include "characters/character_index.h"
#include "characters/group_lines.h"

namespace tavo {
namespace {

constexpr std::string_view kAccounts = "save/account.txt";
constexpr std::string_view kAthena = "save/athena.txt";
constexpr std::string_view kCastle = "save/castle.txt";
constexpr std::string_view kGuild = "save/guild.txt";
constexpr std::string_view kParty = "save/party.txt";
constexpr std::size_t kLargestGuilds = 10;
// Levels beyond any server's are counted together at the edges.
constexpr std::int32_t kHighestLevel = 1000;

std::optional<std::int32_t> whole(std::string_view text) {
    const std::optional<long long> value = integer_in(text, INT32_MIN, INT32_MAX);
    if (!value) return std::nullopt;
    return static_cast<std::int32_t>(*value);
}

std::int32_t counted_class(std::int32_t class_id) {
    const bool known = (class_id >= 0 && class_id < 100) || (class_id >= 4000 && class_id < 4100);
    return known ? class_id : kOtherClass;
}

std::int32_t counted_level(std::int32_t level) {
    return std::clamp(level, 0, kHighestLevel);
}

// The numbers of a character line that the figures count.
struct CharacterNumbers {
    std::int32_t char_id = 0, account_id = 0, class_id = 0, base_level = 0, job_level = 0;
    std::int32_t base_exp = 0, zeny = 0;
};

std::optional<CharacterNumbers> character_numbers(const CharacterFields& f) {
    const std::optional<std::int32_t> values[] = {whole(f[0]),
                                                  whole(piece(f[1], ',', 0)),
                                                  whole(piece(f[3], ',', 0)),
                                                  whole(piece(f[3], ',', 1)),
                                                  whole(piece(f[3], ',', 2)),
                                                  whole(piece(f[4], ',', 0)),
                                                  whole(piece(f[4], ',', 2))};
    for (const auto& value : values) {
        if (!value) return std::nullopt;
    }
    return CharacterNumbers{*values[0], *values[1], *values[2], *values[3],
                            *values[4], *values[5], *values[6]};
}

std::int32_t ranked_value(RankBy by, const CharacterNumbers& c) {
    switch (by) {
        case RankBy::Zeny: return c.zeny;
        case RankBy::Exp: return c.base_exp;
        case RankBy::Level:
            return std::clamp(c.base_level, -1000000, 1000000) * 1000 +
                   std::clamp(c.job_level, 0, 999);
    }
    return 0;
}

// One character's account and ranked value: all the pass keeps of each character.
struct Kept {
    std::int32_t account_id;
    std::int32_t value;
};

// What the character lines of one half of athena.txt add up to.
struct CharacterTally {
    explicit CharacterTally(std::size_t top) : top_characters(top) {}
    CharacterFigures figures;
    long long zeny = 0;
    TopList<Ranked> top_characters;
    std::vector<Kept> kept;  // in file order
    bool accounts_in_order = true;

    // The second half's tally after this one's.
    void add(CharacterTally& later) {
        figures.characters += later.figures.characters;
        for (const auto& [id, count] : later.figures.by_class) figures.by_class[id] += count;
        for (std::size_t i = 0; i < kJobFamilies; ++i) {
            figures.by_family[i] += later.figures.by_family[i];
        }
        for (const auto& [level, count] : later.figures.by_level) figures.by_level[level] += count;
        zeny += later.zeny;
        for (Ranked& entry : later.top_characters.ranked()) top_characters.add(std::move(entry));
        accounts_in_order = accounts_in_order && later.accounts_in_order &&
                            (kept.empty() || later.kept.empty() ||
                             kept.back().account_id <= later.kept.front().account_id);
        kept.insert(kept.end(), later.kept.begin(), later.kept.end());
        later.kept = {};
    }
};

class Census {
public:
    Census(const CensusOptions& options, const CensusProgress& progress,
           const std::atomic<bool>* stop)
        : options_(options), run_(options.folder, progress, stop), top_accounts_(options.top) {
        figures_.rank_by = options.rank_by;
    }

    ServerFigures take() {
        read_characters();
        if (options_.account_ranking) rank_accounts();
        if (options_.rank_by == RankBy::Zeny) settle_economy();
        kept_ = {};
        figures_.top_accounts = top_accounts_.ranked();
        if (options_.accounts || !figures_.top_accounts.empty()) read_accounts();
        if (options_.groups) {
            read_castles();
            read_guilds();
            read_parties();
        }
        figures_.notes = std::move(run_.notes);
        return std::move(figures_);
    }

private:
    void read_characters() {
        std::deque<CharacterTally> tallies;
        tallies.emplace_back(options_.top);
        tallies.emplace_back(options_.top);
        CharacterFields fields[2];
        const std::size_t counted = run_.read_halves(
            kAthena, options_.split_from,
            [&](CensusHalf& half, std::string_view line, std::size_t number) {
                if (is_blank_or_comment(line)) return;
                CharacterFields& f = fields[half.index];
                if (!character_fields_swept(without_last_cr(line), f)) {
                    // A line of fewer than three fields (the %newid% line) is no character.
                    if (character_id_field(line)) half.unreadable(kAthena, number);
                    return;
                }
                const std::optional<CharacterNumbers> numbers = character_numbers(f);
                if (!numbers) {
                    half.unreadable(kAthena, number);
                    return;
                }
                count_character(tallies[half.index], *numbers, f[2]);
            });
        if (counted == 2) tallies[0].add(tallies[1]);
        CharacterTally& tally = tallies[0];
        figures_.characters = std::move(tally.figures);
        figures_.economy.zeny = tally.zeny;
        figures_.top_characters = tally.top_characters.ranked();
        kept_ = std::move(tally.kept);
        accounts_in_order_ = tally.accounts_in_order;
    }

    void count_character(CharacterTally& tally, const CharacterNumbers& c, std::string_view name) {
        CharacterFigures& chars = tally.figures;
        ++chars.characters;
        ++chars.by_class[counted_class(c.class_id)];
        ++chars.by_family[static_cast<std::size_t>(job_family(c.class_id))];
        ++chars.by_level[counted_level(c.base_level)];
        tally.zeny += c.zeny;
        const std::int32_t value = ranked_value(options_.rank_by, c);
        if (tally.top_characters.wants(value, c.char_id)) {
            tally.top_characters.add({c.char_id, c.account_id, std::string(name), value, 1});
        }
        if (!keeps_values_) return;
        std::vector<Kept>& kept = tally.kept;
        if (!kept.empty() && c.account_id < kept.back().account_id) tally.accounts_in_order = false;
        kept.push_back({c.account_id, value});
    }

    // Zeny and experience add up over an account's characters; its level is its best.
    void rank_accounts() {
        if (!accounts_in_order_) {
            std::sort(kept_.begin(), kept_.end(),
                      [](const Kept& a, const Kept& b) { return a.account_id < b.account_id; });
        }
        const bool best = options_.rank_by == RankBy::Level;
        for (std::size_t i = 0; i < kept_.size();) {
            const std::int32_t account = kept_[i].account_id;
            long long value = kept_[i].value;
            int characters = 0;
            for (; i < kept_.size() && kept_[i].account_id == account; ++i, ++characters) {
                if (characters == 0) continue;
                value = best ? std::max<long long>(value, kept_[i].value) : value + kept_[i].value;
            }
            top_accounts_.add({account, account, {}, value, characters});
        }
    }

    void settle_economy() {
        EconomyFigures& economy = figures_.economy;
        const std::size_t n = kept_.size();
        if (n == 0) return;
        const auto by_value = [](const Kept& a, const Kept& b) { return a.value < b.value; };
        const auto middle = kept_.begin() + static_cast<std::ptrdiff_t>(n / 2);
        std::nth_element(kept_.begin(), middle, kept_.end(), by_value);
        const double upper = middle->value;
        if (n % 2 == 1) {
            economy.median = upper;
        } else {
            const double lower = std::max_element(kept_.begin(), middle, by_value)->value;
            economy.median = (lower + upper) / 2;
        }
        const std::size_t top = std::max<std::size_t>(1, (n + 99) / 100);
        const auto first_top = kept_.end() - static_cast<std::ptrdiff_t>(top);
        std::nth_element(kept_.begin(), first_top, kept_.end(), by_value);
        economy.top_percent_characters = static_cast<long long>(top);
        for (auto it = first_top; it != kept_.end(); ++it) economy.top_percent_zeny += it->value;
    }

    void read_accounts() {
        std::vector<std::pair<std::int32_t, std::size_t>> wanted;  // ranked account, place
        for (std::size_t i = 0; i < figures_.top_accounts.size(); ++i) {
            wanted.emplace_back(figures_.top_accounts[i].id, i);
        }
        std::sort(wanted.begin(), wanted.end());
        run_.read(kAccounts, [&](std::string_view line, std::size_t number) {
            if (is_blank_or_comment(line)) return;
            const LineFields fields(without_last_cr(line));
            if (fields.count >= 2 && fields.count < 7 && fields.field(1) == "%newid%") return;
            const std::optional<AccountRecord> record = account_of_line(fields);
            if (!record) {
                run_.unreadable(kAccounts, number);
                return;
            }
            if (options_.accounts) count_account(*record);
            const auto at = std::lower_bound(wanted.begin(), wanted.end(),
                                             std::pair{record->account_id(), std::size_t{0}});
            for (auto it = at; it != wanted.end() && it->first == record->account_id(); ++it) {
                figures_.top_accounts[it->second].name = record->userid();
            }
        });
    }

    void count_account(const AccountRecord& record) {
        AccountFigures& accounts = figures_.accounts;
        ++accounts.accounts;
        if (record.sex() == 2) {
            ++accounts.server_accounts;
            return;
        }
        ++accounts.players;
        const std::string_view last = record.lastlogin();
        if (record.logincount() == 0 || !is_date(last)) {
            ++accounts.never_logged_in;
        } else {
            ++accounts.by_month[std::string(last.substr(0, 7))];
        }
        if (record.state() != 0 || record.ban_until() > options_.now) ++accounts.banned;
        if (record.connect_until() != 0 && record.connect_until() < options_.now) {
            ++accounts.expired;
        }
    }

    // "2004-07-21 ...": a date of last login.
    static bool is_date(std::string_view text) {
        if (text.size() < 10 || text[4] != '-' || text[7] != '-') return false;
        for (std::size_t i : {0, 1, 2, 3, 5, 6, 8, 9}) {
            if (text[i] < '0' || text[i] > '9') return false;
        }
        return true;
    }

    void read_castles() {
        run_.read(kCastle, [&](std::string_view line, std::size_t number) {
            if (is_blank_or_comment(line)) return;
            const std::optional<CastleLine> castle = read_castle_line(line);
            if (!castle) {
                run_.unreadable(kCastle, number);
            } else if (castle->guild_id != 0) {
                figures_.groups.castles.push_back({castle->castle_id, castle->guild_id, {}});
            }
        });
        std::stable_sort(
            figures_.groups.castles.begin(), figures_.groups.castles.end(),
            [](const CastleHeld& a, const CastleHeld& b) { return a.castle_id < b.castle_id; });
    }

    void read_guilds() {
        GroupFigures& groups = figures_.groups;
        TopList<Ranked> largest(kLargestGuilds);
        run_.read(kGuild, [&](std::string_view line, std::size_t number) {
            if (is_blank_or_comment(line)) return;
            const std::optional<GuildLine> guild = read_guild_line(line);
            if (!guild) {
                run_.unreadable(kGuild, number);
                return;
            }
            ++groups.guilds;
            ++groups.guilds_by_members[guild->members];
            ++groups.guilds_by_level[counted_level(guild->level)];
            if (largest.wants(guild->members, guild->id)) {
                largest.add({guild->id, guild->master_account, std::string(guild->name),
                             guild->members, guild->members});
            }
            for (CastleHeld& castle : groups.castles) {
                if (castle.guild_id == guild->id) castle.guild_name = guild->name;
            }
        });
        groups.largest_guilds = largest.ranked();
    }

    void read_parties() {
        GroupFigures& groups = figures_.groups;
        run_.read(kParty, [&](std::string_view line, std::size_t number) {
            if (is_blank_or_comment(line)) return;
            const std::optional<PartyLine> party = read_party_line(line);
            if (!party) {
                run_.unreadable(kParty, number);
                return;
            }
            ++groups.parties;
            ++groups.parties_by_members[party->members];
        });
    }

    const CensusOptions& options_;
    CensusRun run_;
    ServerFigures figures_;
    TopList<Ranked> top_accounts_;
    // The median and the accounts' sums need every character's value.
    const bool keeps_values_ = options_.account_ranking || options_.rank_by == RankBy::Zeny;
    std::vector<Kept> kept_;
    bool accounts_in_order_ = true;
};

}  // namespace

ServerFigures take_census(const CensusOptions& options, const CensusProgress& progress,
                          const std::atomic<bool>* stop) {
    return Census(options, progress, stop).take();
}

}  // namespace tavo
