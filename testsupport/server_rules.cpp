#include "testsupport/server_rules.h"

#include <algorithm>
#include <set>
#include <utility>

#include "app/numbers.h"
#include "app/text.h"
#include "app/text_file.h"

namespace tavo::testing {
namespace {

using Fields = std::vector<std::string_view>;

constexpr std::size_t kMostReported = 20;  // per file: a broken generator breaks every line
constexpr double kHighestAccount = 100000000;
constexpr double kZenyCap = 1000000000;
constexpr double kStackCap = 30000;
constexpr std::size_t kMostItems = 100;
constexpr std::size_t kMostGuildStorage = 1000;
constexpr std::size_t kMostRegisters = 16;
constexpr std::size_t kMostVariables = 96;
constexpr std::size_t kGuildPositions = 20;
constexpr std::size_t kGuildSkills = 20;
constexpr std::size_t kPartySlots = 12;

const char* const kFiles[] = {
    "save/account.txt",        "save/athena.txt", "save/friends.txt", "save/storage.txt",
    "save/g_storage.txt",      "save/party.txt",  "save/guild.txt",   "save/pet.txt",
    "save/castle.txt",         "save/accreg.txt", "save/mapreg.txt",  "conf/GM_account.txt",
    "conf/battle_athena.conf", "db/item_db.txt",  "db/job_db1.txt",   "db/pet_db.txt"};

double number(std::string_view text) {
    return leading_number(text);
}

// A count read from a line, at most `most`: a hostile count must not send a walk or an
// allocation past the line it was read from.
std::size_t count_within(std::string_view text, std::size_t most) {
    const double value = number(text);
    return value > 0 ? static_cast<std::size_t>(std::min(value, static_cast<double>(most))) : 0;
}

// Collects what one file breaks, with the line it is on.
class Report {
public:
    Report(std::vector<std::string>& breaks, std::string file)
        : breaks_(breaks), file_(std::move(file)) {}
    void at(std::size_t line) { line_ = line; }
    void check(bool sound, std::string_view what) {
        if (sound || ++count_ > kMostReported) return;
        const std::string where =
            file_.empty() ? "" : file_ + " line " + std::to_string(line_) + ": ";
        breaks_.push_back(where + std::string(what));
    }

private:
    std::vector<std::string>& breaks_;
    std::string file_;
    std::size_t line_ = 0;
    std::size_t count_ = 0;
};

// A blank-separated list ("a,b c,d "): every entry with `values` values and its own blank.
std::vector<Fields> blank_list(std::string_view field, std::size_t values, std::string_view what,
                               Report& report) {
    std::vector<Fields> entries;
    if (field.empty()) return entries;
    report.check(field.back() == ' ', std::string(what) + " without the last blank");
    for (std::string_view entry : split(field, ' ')) {
        if (entry.empty()) continue;
        entries.push_back(split(entry, ','));
        report.check(entries.back().size() == values,
                     std::string(what) + " entry \"" + std::string(entry) + "\" has " +
                         std::to_string(entries.back().size()) + " values");
    }
    return entries;
}

// The number of items.
std::size_t check_items(std::string_view field, std::size_t most, std::string_view what,
                        Report& report) {
    const std::vector<Fields> items = blank_list(field, 11, what, report);
    report.check(items.size() <= most, std::string(what) + ": " + std::to_string(items.size()) +
                                           " items, the server holds " + std::to_string(most));
    for (const Fields& item : items) {
        const double amount = item.size() < 3 ? 1 : number(item[2]);
        report.check(amount >= 1 && amount <= kStackCap,
                     std::string(what) + ": amount out of range");
    }
    return items.size();
}

// The record lines of a save file, each reported at its line; comments and empty lines skipped.
template <class Check>
void each_record(const fs::path& file, Report& report, Check check) {
    std::size_t number_of_line = 0;
    for (const std::string& line : read_lines(file)) {
        report.at(++number_of_line);
        if (line.empty() || line.starts_with("//")) continue;
        check(std::string_view(line));
    }
}

// The last line "<next free id> TAB %newid%": true when this is it. Nothing may follow it, and
// its id is above every record's.
bool is_newid_line(std::string_view line, double highest, double& next_free, Report& report) {
    report.check(next_free < 0, "a record after the %newid% line");
    if (!contains(line, "%newid%")) return false;
    next_free = number(line);
    report.check(next_free > highest, "%newid% not above every id");
    return true;
}

void check_accounts(const fs::path& file, Report& report) {
    double last_id = -1;
    double next_free = -1;
    std::set<std::string, std::less<>> names;
    each_record(file, report, [&](std::string_view line) {
        if (is_newid_line(line, last_id, next_free, report)) return;
        const Fields f = split(line, '\t');
        const std::size_t fields = f.size() - 1;  // the account registers follow the last TAB
        report.check(fields == 7 || fields == 12 || fields == 13, "not an account line");
        for (std::size_t i = 0; i < fields; ++i) {
            report.check(!f[i].empty(), "empty field " + std::to_string(i) + " shifts the rest");
        }
        if (fields < 7) return;
        const double id = number(f[0]);
        report.check(id > last_id, "ids not ascending or repeated");
        report.check(id <= kHighestAccount, "id above 100,000,000");
        last_id = id;
        report.check(names.emplace(f[1]).second, "user name repeated");
        for (std::size_t i : {1u, 2u, 3u}) report.check(f[i].size() <= 23, "text cut at 23");
        if (fields >= 12) {
            report.check(f[10].size() <= 15, "IP cut at 15");
            report.check(f[11].size() <= 254, "memo cut at 254");
        }
        report.check(blank_list(f[fields], 2, "registers", report).size() <= kMostRegisters,
                     "more than 16 account registers");
    });
}

void check_gm_levels(const fs::path& file, Report& report) {
    each_record(file, report, [&](std::string_view line) {
        const Fields f = split(line, ' ');
        report.check(f.size() == 2, "not \"id level\"");
        if (f.size() != 2) return;
        const double level = number(f[1]);
        report.check(level >= 1 && level <= 99, "level outside 1-99");
        const std::size_t cut = f[0].find_first_of("-~");
        if (cut != std::string_view::npos) {
            report.check(number(f[0].substr(0, cut)) < number(f[0].substr(cut + 1)),
                         "range not low-high");
        }
    });
}

void check_characters(const fs::path& file, Report& report) {
    std::pair<double, double> last_place{-1, -1};
    std::set<double> ids;
    double next_free = -1;
    each_record(file, report, [&](std::string_view line) {
        if (is_newid_line(line, ids.empty() ? -1 : *ids.rbegin(), next_free, report)) return;
        const Fields f = split(line, '\t');
        report.check(f.size() == 20 && f.back().empty(), "not 19 fields and the final TAB");
        if (f.size() != 20) return;
        report.check(ids.insert(number(f[0])).second, "char id repeated");
        const std::pair<double, double> place{number(piece(f[1], ',', 0)),
                                              number(piece(f[1], ',', 1))};
        report.check(place > last_place, "not sorted by account and slot");
        report.check(place.second >= 0 && place.second <= 8, "slot outside 0-8");
        last_place = place;
        const double zeny = number(piece(f[4], ',', 2));
        report.check(zeny >= 0 && zeny <= kZenyCap, "zeny past the cap");
        for (std::size_t point : {12u, 13u}) {
            report.check(piece(f[point], ',', 0).ends_with(".gat"), "map name without .gat");
        }
        check_items(f[15], kMostItems, "inventory", report);
        check_items(f[16], kMostItems, "cart", report);
        const std::vector<Fields> skills = blank_list(f[17], 2, "skills", report);
        report.check(std::is_sorted(skills.begin(), skills.end(),
                                    [](const Fields& a, const Fields& b) {
                                        return number(a[0]) < number(b[0]);
                                    }),
                     "skills not sorted by id");
        report.check(blank_list(f[18], 2, "variables", report).size() <= kMostVariables,
                     "more than 96 character variables");
    });
}

void check_stores(const fs::path& file, std::size_t most, Report& report) {
    each_record(file, report, [&](std::string_view line) {
        const Fields f = split(line, '\t');
        report.check(f.size() == 3 && f.back().empty(), "not \"id,count TAB items TAB\"");
        if (f.size() < 2) return;
        const std::size_t items = check_items(f[1], most, "store", report);
        report.check(number(piece(f[0], ',', 1)) == static_cast<double>(items),
                     "item count differs from the items");
    });
}

void check_parties(const fs::path& file, Report& report) {
    each_record(file, report, [&](std::string_view line) {
        const Fields f = split(line, '\t');
        report.check(f.size() == 3 + 2 * kPartySlots + 1 && f.back().empty(),
                     "not 12 member pairs and the final TAB");
        std::size_t members = 0;
        for (std::size_t i = 3; i + 1 < f.size(); i += 2) members += number(f[i]) != 0;
        report.check(members > 0, "a party without members");
    });
}

void check_pets(const fs::path& file, Report& report) {
    each_record(file, report, [&](std::string_view line) {
        const Fields f = split(line, '\t');
        report.check(
            f.size() == 2 && split(f[0], ',').size() == 3 && split(f.back(), ',').size() == 9,
            "not \"id,class,name TAB\" and nine values");
    });
}

void check_castles(const fs::path& file, Report& report) {
    std::size_t castles = 0;
    each_record(file, report, [&](std::string_view line) {
        const std::size_t values = split(line, ',').size();
        report.check(values == 26 || values == 18, "not 26 (or 18) values");
        report.check(number(line) == static_cast<double>(castles++), "castle ids not 0-19");
    });
    report.check(castles == 20, "not 20 castles");
}

void check_guilds(const fs::path& file, Report& report) {
    each_record(file, report, [&](std::string_view line) {
        for (const std::string& fault : guild_line_breaks(line)) report.check(false, fault);
    });
}

}  // namespace

std::vector<std::string> guild_line_breaks(std::string_view line) {
    std::vector<std::string> breaks;
    Report report(breaks, "");
    const Fields f = split(line, '\t');
    if (f.size() < 6) return {"not a guild line"};
    const std::size_t max_member = count_within(piece(f[3], ',', 1), f.size());
    const std::size_t positions = 6 + 2 * max_member;
    const std::size_t alliances = positions + 2 * kGuildPositions + 1;
    if (f.size() <= alliances) return {"fewer member or position pairs than max_member says"};
    const std::size_t allies = count_within(f[alliances], f.size());
    const std::size_t expulsions = alliances + 1 + 2 * allies;
    if (f.size() <= expulsions) return {"fewer alliances than counted"};
    const std::size_t skills = expulsions + 1 + 4 * count_within(f[expulsions], f.size());
    report.check(f.size() == skills + 2 && f.back().empty(), "not ending with skills and a TAB");
    if (f.size() != skills + 2) return breaks;

    report.check(f[4].ends_with('#') && f[5].ends_with('#'), "a notice without its #");
    std::size_t members = 0;
    for (std::size_t i = 6; i < positions; i += 2) members += number(f[i]) != 0;
    report.check(members > 0, "a guild without members");
    for (std::size_t i = positions + 1; i < positions + 2 * kGuildPositions; i += 2) {
        report.check(f[i].ends_with('#'), "a position name without its #");
    }
    int extension = 0;
    const std::vector<Fields> levels = blank_list(f[skills], 2, "guild skills", report);
    report.check(levels.size() == kGuildSkills, "not 20 guild skills");
    for (const Fields& skill : levels) {
        if (skill.size() == 2 && number(skill[0]) == 10004) {
            extension = static_cast<int>(number(skill[1]));
        }
    }
    const auto slots = static_cast<std::size_t>(std::min(36, 16 + 2 * extension));
    report.check(max_member == slots, "max_member " + std::to_string(max_member) +
                                          " where Guild Extension gives " + std::to_string(slots));
    return breaks;
}

std::string guild_text(const std::string& head, int slots, const std::vector<std::string>& members,
                       int extension) {
    std::string line = head + "\t3," + std::to_string(slots) + ",1200,0,0\tWelcome#\tBe kind#\t";
    for (std::size_t i = 0; i < static_cast<std::size_t>(slots); ++i) {
        const std::vector<std::string_view> m =
            i < members.size() ? split(members[i], ',') : std::vector<std::string_view>{"0"};
        line += m[0] == "0" ? std::string("0,0,0,0,0,0,0,0,0,0\t-\t")
                            : std::string(m[0]) + "," + std::string(m[1]) + ",5,2,0,7,55,1000,0," +
                                  std::to_string(i) + "\t" + std::string(m[2]) + "\t";
    }
    line += "17,0\tGuild Master#\t";
    for (int p = 2; p <= 20; ++p) line += "0,0\tPosition " + std::to_string(p) + "#\t";
    line += "0,0,$\t0\t0\t";
    for (int s = 0; s < 20; ++s) {
        line += std::to_string(10000 + s) + "," + std::to_string(s == 4 ? extension : 0) + " ";
    }
    return line + "\t";
}

std::string listed(const std::vector<std::string>& breaks) {
    std::string text;
    for (const std::string& fault : breaks) text += fault + "\n";
    return text;
}

std::vector<std::string> server_rule_breaks(const fs::path& server, const ServerLimits& limits) {
    std::vector<std::string> breaks;
    for (const char* name : kFiles) {
        if (!file_exists(server / name)) breaks.push_back(std::string(name) + " missing");
    }
    if (!breaks.empty()) return breaks;
    const auto check = [&](const char* name, auto checker) {
        Report report(breaks, name);
        checker(server / name, report);
    };
    check("save/account.txt", check_accounts);
    check("conf/GM_account.txt", check_gm_levels);
    check("save/athena.txt", check_characters);
    check("save/storage.txt",
          [&](const fs::path& f, Report& r) { check_stores(f, limits.storage_items, r); });
    check("save/g_storage.txt",
          [&](const fs::path& f, Report& r) { check_stores(f, kMostGuildStorage, r); });
    check("save/party.txt", check_parties);
    check("save/guild.txt", check_guilds);
    check("save/pet.txt", check_pets);
    check("save/castle.txt", check_castles);
    return breaks;
}

}  // namespace tavo::testing
