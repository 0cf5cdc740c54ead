// save/account.txt and conf/GM_account.txt of a generated server.

#include "accounts/account_write.h"
#include "tools/gen/gen_world.h"

namespace tavo::gen {
namespace {

constexpr std::int32_t kFirstGm = 704554;
constexpr std::int32_t kFirstPlayer = 2000001;

const char* const kNameParts[] = {"kael", "mira", "tor",  "lune", "ash",  "vex",  "nori",
                                  "bram", "sela", "dax",  "ivy",  "quin", "roan", "tess",
                                  "umi",  "wren", "yuki", "zane", "orin", "pia"};
const char* const kMailHosts[] = {"example.org", "mail.example.net", "example.com"};
const char* const kMemos[] = {"vip", "refund_2004-02", "shared_pc", "donor", "watch"};
const char* const kRegisters[] = {"#CASHPOINTS", "#kafra_bank", "#event_day", "#quest_q1",
                                  "#BANK_VAULT"};

void write_last_login(Out& out, Rng& rng) {
    if (rng.chance(0.1)) {
        out << '-';
        return;
    }
    char text[32];
    std::snprintf(text, sizeof text, "2004-%02d-%02d %02d:%02d:%02d.%03d", rng.between(1, 12),
                  rng.between(1, 28), rng.below(24), rng.below(60), rng.below(60), rng.below(1000));
    out << std::string_view(text);
}

void write_ip(Out& out, Rng& rng) {
    out << rng.between(10, 220) << '.' << rng.below(256) << '.' << rng.below(256) << '.'
        << rng.between(1, 254);
}

void write_account(Out& out, const PlannedAccount& account, std::string_view name,
                   std::string_view generation, bool registers, Rng& rng) {
    const bool server = account.sex == 'S';
    out << account.id << '\t' << name << '\t';
    if (server) {
        out << 'p' << account.id + 1;
    } else {
        for (int i = 0, n = rng.between(6, 10); i < n; ++i) {
            out << static_cast<char>(rng.chance(0.3) ? '0' + rng.below(10) : 'a' + rng.below(26));
        }
    }
    out << '\t';
    if (server) {
        out << '-';
    } else {
        write_last_login(out, rng);
    }
    out << '\t' << account.sex << '\t' << (server ? 0 : rng.below(600)) << '\t';
    const int state = server || rng.chance(0.93) ? 0 : rng.pick({1, 2, 3, 7});
    out << state << '\t';
    if (generation == "1.0.0") {
        if (!server && rng.chance(0.4)) {
            out << name << '@' << rng.pick(kMailHosts);
        } else {
            out << kNoEmail;
        }
        out << '\t' << (state == 7 ? "2005-01-01 00:00:00" : "-") << '\t'
            << (rng.chance(0.05) ? 1100000000 + rng.below(50000000) : 0) << '\t';
        if (server || rng.chance(0.2)) {
            out << '-';
        } else {
            write_ip(out, rng);
        }
        out << '\t' << (rng.chance(0.05) ? rng.pick(kMemos) : "-") << '\t'
            << (state == 0 && rng.chance(0.02) ? 1090000000 + rng.below(20000000) : 0) << '\t';
    }
    if (registers) {
        for (int i = 0, n = rng.between(1, 4); i < n; ++i) {
            out << kRegisters[(i + account.id) % 5] << ',' << rng.below(100000) << ' ';
        }
    }
    out << '\n';
}

}  // namespace

World plan_accounts(const ServerOptions& options, Rng& rng) {
    World world;
    const long long total = std::max(5LL, options.accounts);
    world.accounts.reserve(static_cast<std::size_t>(total));
    for (int id = 0; id < 5; ++id) world.accounts.push_back({id, 'S'});
    const long long gms = std::min<long long>(options.gm_accounts, total - 5);
    for (long long i = 0; i < gms; ++i) {
        world.accounts.push_back(
            {static_cast<std::int32_t>(kFirstGm + i), rng.chance(0.7) ? 'M' : 'F'});
    }
    for (long long i = 0; i < total - 5 - gms; ++i) {
        world.accounts.push_back(
            {static_cast<std::int32_t>(kFirstPlayer + i), rng.chance(0.6) ? 'M' : 'F'});
    }
    return world;
}

void write_accounts(const ServerOptions& options, const World& world, Rng& rng) {
    Out out(options.out / "save" / "account.txt");
    for (std::string_view line : account_file_header()) out << line << '\n';
    std::string name;
    for (std::size_t i = 0; i < world.accounts.size(); ++i) {
        const PlannedAccount& account = world.accounts[i];
        name.clear();
        if (account.sex == 'S') {
            name = std::string("s").append(std::to_string(account.id + 1));
        } else {
            name = account.id < kFirstPlayer ? "gm_" : "";
            name += kNameParts[i % 20];
            name += std::to_string(i);
        }
        const bool registers = account.sex != 'S' && rng.chance(options.register_share);
        write_account(out, account, name, options.generation, registers, rng);
    }
    if (options.generation != "817") {
        std::int32_t highest = kFirstPlayer - 1;
        for (const PlannedAccount& account : world.accounts)
            highest = std::max(highest, account.id);
        out << highest + 1 << "\t%newid%\n";
    }
}

// Single ids for the first GMs, then a "-" range and a "~" range over the others.
void write_gm_file(const ServerOptions& options, const World& world) {
    Out out(options.out / "conf" / "GM_account.txt");
    out << "// GM accounts: id level, or low-high level / low~high level\n"
           "// 99 administrator, 80 and 60 game masters, 40 and 20 helpers\n\n";
    std::vector<std::int32_t> gms;
    for (const PlannedAccount& account : world.accounts) {
        if (account.id >= kFirstGm && account.id < kFirstPlayer) gms.push_back(account.id);
    }
    const std::size_t singles = std::min<std::size_t>(3, gms.size());
    const int single_levels[] = {99, 80, 60};
    for (std::size_t i = 0; i < singles; ++i) out << gms[i] << ' ' << single_levels[i] << '\n';
    // A range holds at least two ids (the server wants low below high); one id is a single line.
    const auto write_ids = [&out](std::int32_t low, std::int32_t high, char separator, int level) {
        out << low;
        if (high > low) out << separator << high;
        out << ' ' << level << '\n';
    };
    const std::size_t rest = gms.size() - singles;
    if (rest == 0) return;
    const std::size_t half = singles + (rest + 1) / 2;
    out << "// helpers\n";
    write_ids(gms[singles], gms[half - 1], '-', 40);
    if (half < gms.size()) write_ids(gms[half], gms.back(), '~', 20);
}

}  // namespace tavo::gen
