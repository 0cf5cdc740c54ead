// What a double-click on a finding chooses: read from the finding's line as the file is now.

#include "check/finding_target.h"

#include <gtest/gtest.h>

#include "app/settings.h"
#include "check/server_check.h"
#include "testsupport/temp_dir.h"

namespace tavo {
namespace {

using testing::TempDir;

TEST(FindingTarget, ReadsTheRecordOnTheLineOrSaysWhyThereIsNone) {
    TempDir dir;
    dir.make_server("server");
    dir.write("server/save/athena.txt", "// characters\n150007\t2000004,1\tMira\t4\n");
    dir.write("server/save/storage.txt", "2000009,1\t1,501,2,0,1,0,0,0,0,0,0 \t\n");
    AppContext app;
    app.settings.data_folder = (dir.path() / "server").string() + "/";
    const CheckReport report = check_server(app);
    const auto target = [&](const std::string& file, std::size_t line) {
        return finding_target(app, report, Finding{Problem::UnreadableLine, file, line, "", {}});
    };

    const auto mira = std::get<FindingTarget>(target("save/athena.txt", 2));
    EXPECT_EQ(mira.kind, FindingTarget::Kind::Character);
    EXPECT_EQ(mira.char_id, 150007);
    EXPECT_EQ(mira.account_id, 2000004);
    const auto store = std::get<FindingTarget>(target("save/storage.txt", 1));
    EXPECT_EQ(store.kind, FindingTarget::Kind::Store);
    EXPECT_EQ(store.account_id, 2000009);

    EXPECT_EQ(std::get<std::string>(target("save/athena.txt", 1)),
              "save/athena.txt:1 names no account the editor can read.");
    EXPECT_EQ(std::get<std::string>(target("save/guild.txt", 3)),
              "A finding of save/guild.txt is not about one account, character or store.");
    EXPECT_EQ(std::get<std::string>(target("save/storage.txt", 0)),
              "This finding is about save/storage.txt as a whole.");
    // The line numbers of the check no longer hold once the file changed.
    dir.write("server/save/storage.txt", "2000001,1\t1,501,2,0,1,0,0,0,0,0,0 \t\n\n");
    EXPECT_EQ(std::get<std::string>(target("save/storage.txt", 1)),
              "save/storage.txt changed since the check: press Check Files again.");
}

}  // namespace
}  // namespace tavo
