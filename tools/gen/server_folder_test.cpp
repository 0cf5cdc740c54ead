// The rules a server folder must keep, checked on the demo server, and the checker itself
// catching what would crash the server or change it silently.

#include <gtest/gtest.h>

#include <cstdlib>

#include "testsupport/server_folders.h"
#include "testsupport/server_rules.h"
#include "testsupport/temp_dir.h"
#include "tools/gen/server_gen.h"

namespace tavo::gen {
namespace {

using testing::guild_line_breaks;
using testing::guild_text;
using testing::listed;
using testing::server_rule_breaks;
using testing::TempDir;
namespace fs = std::filesystem;

// A guild of `slots` slots with the first `members` of them filled.
std::string guild(int slots, int members, int extension = 0) {
    std::vector<std::string> filled;
    for (int i = 0; i < members; ++i)
        filled.push_back("2000001," + std::to_string(150000 + i) + ",K");
    return guild_text("10001\tIron Wolves\tKaelen", slots, filled, extension);
}

TEST(ServerRules, AGuildLineMustAgreeWithItsOwnGuildExtension) {
    EXPECT_EQ(listed(guild_line_breaks(guild(16, 3))), "");
    EXPECT_EQ(listed(guild_line_breaks(guild(36, 30, 10))), "");
    // Free sizes the server would cut back to 16 slots, or past its 36-member array.
    EXPECT_EQ(listed(guild_line_breaks(guild(22, 20))),
              "max_member 22 where Guild Extension gives 16\n");
    EXPECT_EQ(listed(guild_line_breaks(guild(40, 38, 12))),
              "max_member 40 where Guild Extension gives 36\n");
    // What crashes the char server at load.
    EXPECT_EQ(listed(guild_line_breaks(guild(16, 0))), "a guild without members\n");
    std::string line = guild(16, 3);
    line.erase(line.size() - 2, 1);  // the last skill without its blank
    EXPECT_EQ(listed(guild_line_breaks(line)), "guild skills without the last blank\n");
    line = guild(16, 3);
    line.erase(line.find("10000,0 ") + 7, 1);  // two skills run together
    EXPECT_NE(listed(guild_line_breaks(line)), "");
}

TEST(ServerRules, HostileGuildCountsAreReportedNotWalked) {
    const auto with = [](const std::string& from, const std::string& to) {
        std::string line = guild(16, 3);
        line.replace(line.find(from), from.size(), to);
        return listed(guild_line_breaks(line));
    };
    for (const char* count : {"1e300", "18446744073709551617", "4294967297"}) {
        EXPECT_EQ(with("\t3,16,", std::string("\t3,") + count + ","),
                  "fewer member or position pairs than max_member says\n");
        EXPECT_EQ(with("$\t0\t0\t", std::string("$\t") + count + "\t0\t"),
                  "fewer alliances than counted\n");
        EXPECT_NE(with("$\t0\t0\t", std::string("$\t0\t") + count + "\t"), "");
    }
    EXPECT_NE(with("\t3,16,", "\t3,-16,"), "");
}

TEST(ServerRules, AFolderMissingASaveFileOrOverfillingAnArrayIsCaught) {
    TempDir dir;
    ServerOptions options;
    options.out = dir.path() / "server";
    options.accounts = 40;
    options.storage_share = 1;
    options.storage_items = 5;
    generate_server(options);
    ASSERT_EQ(listed(server_rule_breaks(options.out)), "");

    fs::remove(options.out / "save/friends.txt");
    EXPECT_EQ(listed(server_rule_breaks(options.out)), "save/friends.txt missing\n");
    dir.write("server/save/friends.txt", "");

    dir.write("server/save/storage.txt", "2000001,301\t" + testing::item_list(301) + "\t\n");
    EXPECT_NE(listed(server_rule_breaks(options.out)), "");
    EXPECT_EQ(listed(server_rule_breaks(options.out, testing::ServerLimits{600})), "");
    dir.write("server/save/storage.txt", "2000001,2\t1,501,1,0,1,0,0,0,0,0,0 \t\n");
    EXPECT_NE(listed(server_rule_breaks(options.out)), "");  // the count says 2
}

TEST(ServerRules, TheDemoServerKeepsEveryRule) {
    const char* source = std::getenv("TAVO_SOURCE_DIR");
    ASSERT_NE(source, nullptr);
    EXPECT_EQ(listed(server_rule_breaks(fs::path(source) / "demo/server")), "");
}

}  // namespace
}  // namespace tavo::gen
