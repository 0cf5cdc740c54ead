#include "pages/account_finder.h"

#include <gtest/gtest.h>

#include "testsupport/scripted_ui.h"
#include "testsupport/temp_dir.h"
#include "workspace/workspace.h"

namespace tavo {
namespace {

using testing::ScriptedUi;
using testing::TempDir;

constexpr char kAccounts[] =
    "0\tserver\tpw\t-\tS\t0\t0\r\n"
    "2000001\tAnna\tpw\t-\tF\t3\t0\r\n"
    "2000002\tben\tpw\t-\tM\t0\t0\r\n"
    "2000013\tjoanna\tpw\t-\tF\t0\t0\r\n";

struct Finder : ::testing::Test {
    Finder() {
        dir.make_server("server");
        ws.app.settings.data_folder = (dir.path() / "server").string() + "/";
        dir.write("server/save/account.txt", kAccounts);
        dir.write("server/save/athena.txt",
                  "150000\t2000002,0\tSirBrave\t7,0,0\r\n"
                  "150001\t2000013,0\tbravelet\t0,0,0\r\n"
                  "150002\t2000001,0\tQuiet\t0,0,0\r\n");
        EXPECT_TRUE(ws.accounts.load(ui));
    }
    TempDir dir;
    ScriptedUi ui;
    Workspace ws;
    AccountFinder finder{ws};
};

using Indexes = std::vector<std::size_t>;

TEST_F(Finder, NarrowsByNameOrIdAndKeepsNarrowingAsTextGrows) {
    finder.narrow("ANN");
    EXPECT_EQ(finder.shown(), Indexes({1, 3}));
    finder.narrow("anna");
    EXPECT_EQ(finder.shown(), Indexes({1, 3}));
    finder.narrow("joanna");
    EXPECT_EQ(finder.shown(), Indexes({3}));
    EXPECT_EQ(finder.status_text(), "1 of 4 accounts match");
    // A shorter text looks at every account again.
    finder.narrow("a");
    EXPECT_EQ(finder.shown(), Indexes({1, 3}));
    finder.narrow("00001");  // the ids holding it: 2000001 and 2000013
    EXPECT_EQ(finder.shown(), Indexes({1, 3}));
    finder.narrow("  ");
    EXPECT_FALSE(finder.shown());
    EXPECT_EQ(finder.count(), 4u);
    // The table changing starts afresh.
    finder.narrow("an");
    ws.accounts.table().records.erase(ws.accounts.table().records.begin() + 1);
    finder.table_changed();
    finder.narrow("ann");
    EXPECT_EQ(finder.shown(), Indexes({2}));
}

// One rule for the find box, its Enter and `accounts --find`: a name that holds the text, or an
// id that holds its digits; Enter goes round the matches.
TEST_F(Finder, EnterAndTheListingFollowTheRuleOfTheFindBox) {
    EXPECT_EQ(finder.found("0001"), Indexes({1, 3}));
    EXPECT_EQ(finder.next(std::nullopt), std::optional<std::size_t>(1));
    EXPECT_EQ(finder.next(1), std::optional<std::size_t>(3));
    EXPECT_EQ(finder.next(3), std::optional<std::size_t>(1));
    EXPECT_EQ(finder.next(2), std::optional<std::size_t>(3));  // from an account not listed
    EXPECT_EQ(finder.found("BEN"), Indexes({2}));
    EXPECT_EQ(finder.found("zed"), Indexes{});
    EXPECT_EQ(finder.next(std::nullopt), std::nullopt);
    EXPECT_EQ(finder.found("").size(), 4u);   // no text lists every account
    EXPECT_EQ(finder.next(0), std::nullopt);  // and Enter has nothing to go to
}

TEST_F(Finder, CharacterNamesFindTheirAccountsInTableOrder) {
    finder.set_by(FindBy::Character);
    finder.narrow("brave");
    EXPECT_EQ(finder.shown(), Indexes({2, 3}));
    finder.narrow("nobody");
    EXPECT_EQ(finder.shown(), Indexes{});
    EXPECT_EQ(finder.status_text(), "0 of 4 accounts match");
    // Switching back looks at names and ids again.
    finder.set_by(FindBy::Account);
    finder.narrow("ben");
    EXPECT_EQ(finder.shown(), Indexes({2}));
}

}  // namespace
}  // namespace tavo
