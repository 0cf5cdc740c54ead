#include "accounts/gm_levels.h"

#include <gtest/gtest.h>

#include "testsupport/scripted_ui.h"
#include "testsupport/temp_dir.h"

namespace tavo {
namespace {

using testing::ScriptedUi;
using testing::TempDir;

struct GmLevelsTest : ::testing::Test {
    GmLevelsTest() {
        dir.make_server("server");
        app.settings.data_folder = (dir.path() / "server").string() + "/";
    }
    void write_gm(std::string_view content) const {
        dir.write("server/conf/GM_account.txt", content);
    }
    std::string gm_file() const { return dir.read("server/conf/GM_account.txt"); }
    std::uint8_t level(std::int32_t id) { return read_gm_lvl(app, ui, id); }

    TempDir dir;
    ScriptedUi ui;
    AppContext app;
};

TEST_F(GmLevelsTest, LookupTakesTheFirstMatchingLine) {
    write_gm(
        "// GM accounts\r\n"
        "\r\n"
        "704554 99\r\n"
        "2000000-2000010 10\r\n"
        "2000020~2000030 40\r\n"
        "2000005 80\r\n"
        "2000040-2000050\r\n");
    // 2000005: the range comes first.
    const std::pair<std::int32_t, int> levels[] = {{704554, 99},  {2000000, 10}, {2000005, 10},
                                                   {2000010, 10}, {2000011, 0},  {2000025, 40}};
    for (const auto& [id, expected] : levels) EXPECT_EQ(level(id), expected) << id;
    // A matching line without a level is an error; the lookup gives 0.
    EXPECT_EQ(level(2000045), 0);
    EXPECT_EQ(ui.messages(),
              std::vector<std::string>{"Error 9, Subscript out of range\r\nin read_gm_lvl"});
}

TEST_F(GmLevelsTest, LookupFailuresAreReportedAndGiveZero) {
    // The server clamps levels above 99, so does every lookup; a negative one is an error.
    write_gm("704554 150\n704555 300\n704556 -1\n");
    EXPECT_EQ(level(704554), 99);
    EXPECT_EQ(level(704555), 99);
    EXPECT_EQ(GmLevels::parse({"704555 300"}).level_of(704555), 99);
    EXPECT_EQ(level(704556), 0);
    std::filesystem::remove(dir.path() / "server/conf/GM_account.txt");
    EXPECT_EQ(level(704554), 0);
    EXPECT_EQ(ui.messages(),
              (std::vector<std::string>{
                  "Error 6, Overflow\r\nin read_gm_lvl",
                  "Error 53, File not found (conf/GM_account.txt)\r\nin read_gm_lvl"}));
    // The file is found in the server's own spelling of its name, whatever the case.
    dir.write("server/conf/gm_ACCOUNT.TXT", "704554 60\n");
    EXPECT_EQ(level(704554), 60);
}

TEST_F(GmLevelsTest, WritingALevelAppendsOrRewritesAndKeepsTheRest) {
    // An LF file stays LF; a CR LF file stays CR LF.
    write_gm("// GM accounts\n\n704554 99\n2000000-2000010 10\n");
    ASSERT_TRUE(check_gm_id(app, ui, 704560, 5));
    EXPECT_EQ(gm_file(), "// GM accounts\n\n704554 99\n2000000-2000010 10\n704560 5\n");
    write_gm("// GM accounts\r\n\r\n704554 99\r\n2000000-2000010 10\r\n704560 5\r\n");
    ASSERT_TRUE(check_gm_id(app, ui, 704560, 60));
    EXPECT_EQ(gm_file(), "// GM accounts\r\n\r\n704554 99\r\n2000000-2000010 10\r\n704560 60\r\n");
    EXPECT_EQ(level(704560), 60);
}

// A line of blanks is no entry: account 0 gets its own line, and reads back its level.
TEST_F(GmLevelsTest, ALineOfBlanksNamesNoAccount) {
    const std::vector<std::string> lines = set_gm_level_lines({"70480", " ", "\t"}, 0, 10);
    EXPECT_EQ(lines, (std::vector<std::string>{"70480", " ", "\t", "0 10"}));
    EXPECT_EQ(GmLevels::parse(lines).level_of(0), 10);
    // An id the lookup reads as 0 is written as 0, never as the comment it would make.
    const std::vector<std::string> odd = set_gm_level_lines({"77 5", " //80"}, 0, 10);
    EXPECT_EQ(odd, (std::vector<std::string>{"77 5", "0 10"}));
    EXPECT_EQ(GmLevels::parse(odd).level_of(0), 10);
}

TEST_F(GmLevelsTest, LevelZeroTakesTheIdOutOfTheFile) {
    // Its own line goes; out of a range only its piece, the rest keeping their level.
    write_gm("// GM accounts\n704554 99 // admin\n2000000-2000010 10\n704560~704561 20\n");
    ASSERT_TRUE(check_gm_id(app, ui, 704554, 0));
    ASSERT_TRUE(check_gm_id(app, ui, 2000005, 0));
    ASSERT_TRUE(check_gm_id(app, ui, 704561, 0));
    EXPECT_EQ(gm_file(), "// GM accounts\n2000000-2000004 10\n2000006-2000010 10\n704560 20\n");
    EXPECT_EQ((std::vector<int>{level(704554), level(2000005), level(704561), level(2000004),
                                level(704560)}),
              (std::vector<int>{0, 0, 0, 10, 20}));
    // An id without a line: nothing to take out, and the file is not written at all.
    write_gm("704554 99\n");
    ASSERT_TRUE(check_gm_id(app, ui, 2000001, 0));
    EXPECT_EQ(gm_file(), "704554 99\n");
}

TEST_F(GmLevelsTest, WritingInsideARangeSplitsItSoNoOtherAccountChanges) {
    write_gm("2000000-2000010 10 // testers\n704554~704584 20\n");
    ASSERT_TRUE(check_gm_id(app, ui, 2000005, 50));
    ASSERT_TRUE(check_gm_id(app, ui, 704554, 99));  // at the low end
    ASSERT_TRUE(check_gm_id(app, ui, 704584, 40));  // at the high end
    EXPECT_EQ(gm_file(),
              "2000000-2000004 10 // testers\n"
              "2000005 50\n"
              "2000006-2000010 10 // testers\n"
              "704554 99\n"
              "704555~704583 20\n"
              "704584 40\n");
    for (std::int32_t id = 2000000; id <= 2000010; ++id) {
        EXPECT_EQ(level(id), id == 2000005 ? 50 : 10) << id;
    }
    EXPECT_EQ((std::vector<int>{level(704554), level(704570), level(704584)}),
              (std::vector<int>{99, 20, 40}));

    // Pieces of a single id are written as single ids; the same level writes nothing.
    write_gm("2000000-2000002 10\n2000000-2000002 10\n");
    ASSERT_TRUE(check_gm_id(app, ui, 2000001, 10));
    EXPECT_EQ(gm_file(), "2000000-2000002 10\n2000000-2000002 10\n");
    // Every matching line is written, so that the lookup agrees whichever comes first.
    ASSERT_TRUE(check_gm_id(app, ui, 2000001, 99));
    EXPECT_EQ(gm_file(),
              "2000000 10\n2000001 99\n2000002 10\n2000000 10\n2000001 99\n2000002 10\n");
}

TEST_F(GmLevelsTest, RangesCompareAsNumbers) {
    // As text, 2000005 sorts before 704554; as numbers it lies inside the range.
    write_gm("704554-2000100 20\n");
    ASSERT_TRUE(check_gm_id(app, ui, 2000005, 60));
    EXPECT_EQ(gm_file(), "704554-2000004 20\n2000005 60\n2000006-2000100 20\n");
    EXPECT_EQ(level(2000005), 60);
    EXPECT_EQ(level(1000000), 20);
}

TEST_F(GmLevelsTest, AFileThatCannotBeWrittenIsLeftAsItWas) {
    std::filesystem::remove(dir.path() / "server/conf/GM_account.txt");
    EXPECT_FALSE(check_gm_id(app, ui, 704554, 99));
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "server/conf/GM_account.txt"));
    // A matching range without a level cannot be split.
    write_gm("704554-704560\n");
    EXPECT_FALSE(check_gm_id(app, ui, 704555, 99));
    EXPECT_EQ(gm_file(), "704554-704560\n");
    EXPECT_EQ(ui.messages(), (std::vector<std::string>{
                                 "Error 53, File not found (conf/GM_account.txt)\r\nin check_gm_id",
                                 "Error 9, Subscript out of range\r\nin check_gm_id"}));
}

TEST(GmEntryRemoval, TheAccountLeavesItsLineOrItsRangeAndNoOneElseChanges) {
    const std::vector<std::string> lines = {"// GMs", "704554 99", "704555-704560 20 // team",
                                            "704562~704563 40", "704600 10"};
    EXPECT_EQ(remove_gm_entry_lines(lines, 704554),
              (std::vector<std::string>{"// GMs", "704555-704560 20 // team", "704562~704563 40",
                                        "704600 10"}));
    EXPECT_EQ(
        remove_gm_entry_lines(lines, 704557),
        (std::vector<std::string>{"// GMs", "704554 99", "704555-704556 20 // team",
                                  "704558-704560 20 // team", "704562~704563 40", "704600 10"}));
    // The ends of a range; a range of two leaves a single id.
    EXPECT_EQ(remove_gm_entry_lines(lines, 704562),
              (std::vector<std::string>{"// GMs", "704554 99", "704555-704560 20 // team",
                                        "704563 40", "704600 10"}));
    EXPECT_EQ(remove_gm_entry_lines(lines, 704560)->at(2), "704555-704559 20 // team");
    // No line names the account: the file is not rewritten.
    EXPECT_FALSE(remove_gm_entry_lines(lines, 704561));
    // A bound beyond any id keeps its text, as a level change keeps it.
    EXPECT_EQ(remove_gm_entry_lines({"704554-99999999999999999999 20"}, 2000000),
              (std::vector<std::string>{"704554-1999999 20", "2000001-99999999999999999999 20"}));
}

// The server reads blanks around a range's separator, and runs of blanks between the words.
TEST(GmEntryLines, RangesWrittenWithBlanksAreRangesForEveryUse) {
    const std::vector<std::string> lines = {"704555 - 704557  30 // team", "704560- 704561 20",
                                            "704562 ~704563 40", "2000000- 10"};
    const GmLevels levels = GmLevels::parse(lines);
    const std::pair<std::int32_t, int> expected[] = {
        {704556, 30}, {704561, 20}, {704563, 40}, {704558, 0}, {2000000, 10}};
    for (const auto& [id, level] : expected) EXPECT_EQ(levels.level_of(id), level) << id;
    EXPECT_EQ(remove_gm_entry_lines(lines, 704556),
              (std::vector<std::string>{"704555 30 // team", "704557 30 // team",
                                        "704560- 704561 20", "704562 ~704563 40", "2000000- 10"}));
    EXPECT_EQ(remove_gm_entry_lines(lines, 704560)->at(1), "704561 20");
    EXPECT_EQ(set_gm_level_lines(lines, 704563, 99).at(2), "704562 40");
    EXPECT_EQ(set_gm_level_lines(lines, 704563, 99).at(3), "704563 99");
}

TEST_F(GmLevelsTest, BoundsBeyondTheIdsOrWithAFractionKeepTheirText) {
    write_gm("1.5-3 10\n704554-99999999999999999999 20\n");
    ASSERT_TRUE(check_gm_id(app, ui, 2, 50));
    ASSERT_TRUE(check_gm_id(app, ui, 2000000, 60));
    EXPECT_EQ(gm_file(),
              "2 50\n3 10\n704554-1999999 20\n2000000 60\n"
              "2000001-99999999999999999999 20\n");
    EXPECT_EQ(level(1), 0);  // never inside 1.5-3
    EXPECT_EQ(level(3), 10);
    EXPECT_EQ(level(2147483647), 20);

    // "-1 10" would read as the range 0 to 1 and reach the server accounts.
    EXPECT_FALSE(check_gm_id(app, ui, -1, 10));
    EXPECT_EQ(ui.messages(), std::vector<std::string>{
                                 "Error 5, Invalid procedure call or argument\r\nin check_gm_id"});
    EXPECT_EQ(level(0), 0);
}

}  // namespace
}  // namespace tavo
