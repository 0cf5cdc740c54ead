// The server check of save/account.txt and the GM file.

#include <algorithm>

#include "app/gm_line.h"
#include "app/text.h"
#include "check/check_world.h"

namespace tavo::check {
namespace {

constexpr long long kHighestAccountId = 100000000;
constexpr std::size_t kMostRegisters = 16;
constexpr long long kMostGmRangeWalk = 1000000;

const char* const kAccountFieldNames[] = {
    "id",     "account name",  "password",      "last login", "sex",  "login count", "state",
    "e-mail", "error message", "validity time", "last IP",    "memo", "ban time",
};

std::string account_named(long long id, std::string_view name) {
    return "Account " + std::to_string(id) + " (" + shown(name) + ")";
}

// Why the server cannot read the record, or nothing when it can. `form` is the number of
// fields the line's form has before its registers (7, 12 or 13).
std::optional<std::string> record_problem(const std::vector<std::string_view>& p,
                                          std::size_t form) {
    for (std::size_t i = 1; i < form; ++i) {
        if (!p[i].empty()) continue;
        if (form == 13) return std::nullopt;  // the empty field of the 1.0.0 form, told apart
        return "its " + std::string(kAccountFieldNames[i]) +
               " is empty, and the server cannot read an empty field";
    }
    for (std::size_t i : {5, 6, 9, 12}) {
        if (i < form && !is_integer(p[i])) {
            return "its " + std::string(kAccountFieldNames[i]) + " is not a number";
        }
    }
    if (p[4].size() != 1) return "its sex is not one letter";
    return std::nullopt;
}

// An account name taken by an earlier account.
struct TakenName {
    World* world;
    void operator()(std::string_view name, long long, std::size_t line, std::size_t index) const {
        world->found.add_at(index, Problem::DuplicateAccountName, kAccounts, line,
                            "The account name " + shown(name) +
                                " is taken by an earlier account: the server drops this one.");
    }
};

class AccountReader {
public:
    explicit AccountReader(World& world)
        : world_(world), late_names_(names_, world.found, TakenName{&world}) {
        names_.reserve(records_to_expect(world.app.server_file(kAccounts)));
    }

    void line(std::string_view text, std::size_t number) {
        if (text.empty() || text.starts_with("//")) return;
        split_tabs(text, p_);
        if (const char* why = nullptr; newid_.take(p_, number, why)) {
            if (why != nullptr) unreadable(number, why);
            return;
        }
        if (!is_integer(p_[0])) return unreadable(number, "the account id is not a number");
        const long long id = integer_value(p_[0]);
        const std::size_t n = p_.size();
        std::size_t form = 0;
        if (n >= 14) {
            form = 13;
        } else if (n == 13 && !p_[12].empty() && is_integer(p_[12])) {
            return unreadable(number,
                              "the TAB after the ban time is missing, so the server reads it as "
                              "an older line and drops its e-mail, validity, IP, memo and ban "
                              "time");
        } else if (n == 13) {
            form = 12;
        } else if (n == 7 || n == 8) {
            form = 7;
        } else {
            return unreadable(number, "it has " + std::to_string(n) +
                                          " TAB-separated fields; an account has 7, 12 or 13");
        }
        if (const auto problem = record_problem(p_, form)) return unreadable(number, *problem);
        if (id > kHighestAccountId) {
            return unreadable(number, "the server drops accounts with an id above 100,000,000");
        }
        if (form == 13) check_long_form(id, number);
        note(id, number);
    }

    void finish(bool whole) {
        late_names_.settle();
        if (!whole) return;
        world_.accounts_read = true;
        check_newid(world_.found, kAccounts, newid_.line, newid_.counter, highest_, "account");
    }

private:
    void unreadable(std::size_t number, const std::string& why) {
        world_.found.add(Problem::UnreadableLine, kAccounts, number,
                         "The server cannot read this account line: " + why + ".");
    }

    void check_long_form(long long id, std::size_t number) {
        for (std::size_t i = 1; i < 13; ++i) {
            if (!p_[i].empty()) continue;
            world_.found.add(Problem::EmptyAccountField, kAccounts, number,
                             account_named(id, p_[1]) + " has an empty " + kAccountFieldNames[i] +
                                 " field: the server takes every later value from its "
                                 "neighbour. Write \"-\" instead.");
            return;
        }
        if (register_count(p_[13]) > kMostRegisters) {
            world_.found.add(Problem::TooManyRegisters, kAccounts, number,
                             account_named(id, p_[1]) +
                                 " has more than 16 account registers: the server drops the "
                                 "rest at its next save.");
        }
    }

    static std::size_t register_count(std::string_view text) {
        std::size_t count = 0;
        bool in_item = false;
        for (const char c : text) {
            if (c == ' ' || c == '\t') {
                in_item = false;
            } else if (!in_item) {
                in_item = true;
                ++count;
            }
        }
        return count;
    }

    void note(long long id, std::size_t number) {
        highest_ = std::max(highest_, id);
        if (p_[4] != "S") world_.report.player_accounts = true;
        if (!world_.account_ids.insert(id)) {
            world_.found.add(Problem::DuplicateAccountId, kAccounts, number,
                             "The account id " + std::to_string(id) +
                                 " is taken by an earlier line: the server drops this one.");
            return;
        }
        late_names_.add(p_[1], id, number);
    }

    World& world_;
    std::vector<std::string_view> p_;
    NameTable names_;
    LateNames<TakenName> late_names_;
    long long highest_ = 0;
    NewIdLine newid_;
};

// "low-high" or "low~high" of a GM line.
bool read_gm_ids(std::string_view field, long long& low, long long& high) {
    const std::size_t cut = field.find_first_of("-~", 1);
    if (cut == std::string_view::npos) {
        if (!is_integer(field)) return false;
        low = high = integer_value(field);
        return true;
    }
    const std::string_view a = field.substr(0, cut);
    const std::string_view b = field.substr(cut + 1);
    if (!is_integer(a) || !is_integer(b)) return false;
    low = integer_value(a);
    high = integer_value(b);
    return low < high;
}

bool any_account_in(const World& world, long long low, long long high) {
    if (high - low > kMostGmRangeWalk) return true;  // not walked: taken as used
    for (long long id = low; id <= high; ++id) {
        if (world.account_ids.contains(id)) return true;
    }
    return false;
}

void check_gm_line(World& world, std::string_view line, std::size_t number) {
    if (line.empty() || line.starts_with("//")) return;
    const GmEntryLine entry = read_gm_entry(line);
    std::string ids(entry.ids);
    std::erase(ids, ' ');  // "704555 - 704556" is a range too
    long long low = 0;
    long long high = 0;
    if (!entry.level || !read_gm_ids(ids, low, high) || !is_integer(*entry.level)) {
        world.found.add(Problem::UnreadableLine, kGm, number,
                        "The server cannot read this GM line: it reads \"id level\" or "
                        "\"low-high level\" with low below high.");
        return;
    }
    const long long level = integer_value(*entry.level);
    if (level > 99) {
        world.found.add(
            Problem::GmLevelAbove99, kGm, number,
            "The GM level " + std::to_string(level) + " is above 99: the server takes 99.");
    }
    if (!world.accounts_read) return;
    if (low == high && !world.account_ids.contains(low)) {
        world.found.add(
            Problem::GmWithoutAccount, kGm, number,
            "Account " + std::to_string(low) +
                " has a GM level but is not in save/account.txt yet: an account made with this id "
                "gets it.");
    } else if (low != high && !any_account_in(world, low, high)) {
        world.found.add(Problem::GmWithoutAccount, kGm, number,
                        "None of the accounts " + std::to_string(low) + " to " +
                            std::to_string(high) +
                            " that this GM line names exists yet: accounts made with these ids "
                            "get its level.");
    }
}

}  // namespace

void check_accounts(World& world) {
    AccountReader reader(world);
    const bool read = each_line(world, kAccounts, [&](std::string_view line, std::size_t number) {
        reader.line(line, number);
    });
    reader.finish(read);
    if (is_missing(world.app.server_file(kAccounts))) {
        world.found.add(Problem::MissingFile, kAccounts, 0,
                        "The file is missing: the login server reads no account, so no one can "
                        "log in, not even the char server.");
    }
}

void check_gm_file(World& world) {
    each_line(world, kGm, [&](std::string_view line, std::size_t number) {
        check_gm_line(world, line, number);
    });
}

}  // namespace tavo::check
