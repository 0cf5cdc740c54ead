#include "check/server_check.h"

#include <algorithm>
#include <iterator>
#include <vector>

#include "check/check_world.h"

namespace tavo {
namespace {

// Findings are listed in the order of the files as the server folder is usually read.
int file_rank(std::string_view file) {
    using namespace check;
    const std::string_view order[] = {kAccounts, kGm,  kAthena, kStorage, kGuildStorage, kParty,
                                      kGuild,    kPet, kCastle, kFriends, kAccreg};
    for (std::size_t i = 0; i < std::size(order); ++i) {
        if (order[i] == file) return static_cast<int>(i);
    }
    return static_cast<int>(std::size(order));
}

}  // namespace

CheckReport check_server(const AppContext& app) {
    using namespace check;
    CheckReport report;
    World world(app, report);
    {
        // The parties and guilds need nothing of the accounts: they are read beside them.
        CheckReport groups_report;
        World groups(app, groups_report);
        run_together(
            [&] {
                check_parties(groups);
                check_guilds(groups);
            },
            [&] { check_accounts(world); });
        world.take_groups(groups);
    }
    check_gm_file(world);
    check_characters(world);
    std::vector<Finding> members;
    run_together([&] { check_members(world, members); }, [&] { check_stores(world); });
    std::move(members.begin(), members.end(), std::back_inserter(report.findings));
    check_guild_stores(world);
    check_pets(world);
    check_castles(world);
    check_friends(world);
    check_registers(world);
    check_leftovers(world);
    std::stable_sort(report.findings.begin(), report.findings.end(),
                     [](const Finding& a, const Finding& b) {
                         const int ra = file_rank(a.file);
                         const int rb = file_rank(b.file);
                         return ra != rb ? ra < rb : a.line < b.line;
                     });
    return report;
}

}  // namespace tavo
