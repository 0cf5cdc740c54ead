#include "refdata/card_names.h"

#include <gtest/gtest.h>

#include "testsupport/server_folders.h"

namespace tavo {
namespace {

using testing::ServerFolders;
using Texts = std::vector<std::string>;

class CardNames : public ::testing::Test {
protected:
    void TearDown() override { EXPECT_TRUE(f.ui.unexpected.empty()); }
    void load(const std::string& prefix, const std::string& postfix) {
        f.program("cardprefixnametable.txt", prefix);
        f.program("cardpostfixnametable.txt", postfix);
        load_carddb(f.app, f.ui, cards);
    }

    ServerFolders f;
    CardTable cards;
};

TEST_F(CardNames, PrefixAndPostfixTables) {
    load(
        "// client table\r\n\r\n#No number#\r\n/4000#Commented#\r\n4001#Lucky#\r\n"
        "4002#Vital \r\n4047#of Ghost#extra#\r\n4001#Second Lucky#\r\n",
        "// postfix cards\r\n4047#\r\n 4001 #\r\n9999#\r\n\r\n");
    ASSERT_EQ(cards.count(), 4);
    EXPECT_EQ(cards.find(4002)->name, "Vital ");  // no closing "#": the rest of the line
    EXPECT_EQ(cards.find(4047)->name, "of Ghost");
    EXPECT_EQ(cards.find(4047)->postfix, 1);
    EXPECT_EQ(cards.find(4001)->name, "Lucky");  // the first of a number given twice
    EXPECT_EQ(cards.find(4001)->postfix, 1);
    EXPECT_EQ(cards.entries()[3].postfix, 0);  // only that first one is marked
    EXPECT_EQ(cards.find(4002)->postfix, 0);
    EXPECT_EQ(cards.find(9999), nullptr);  // an unknown postfix number changes nothing
    EXPECT_TRUE(f.ui.shown().empty());
}

// A line that is no card costs that line only, and is named in one message per table.
TEST_F(CardNames, BadLinesAreSkippedAndReported) {
    load("4001#Lucky#\r\n4002\r\n99999999999#Huge#\r\n4003#Hard#\r\n",
         "4001#\r\nx4002#\r\n4003#\r\n");
    EXPECT_EQ(cards.count(), 2);
    EXPECT_EQ(cards.find(4001)->postfix, 1);
    EXPECT_EQ(cards.find(4003)->postfix, 1);
    EXPECT_EQ(f.ui.messages(),
              (Texts{"2 row(s) of cardprefixnametable.txt could not be read and were skipped; the "
                     "other rows are loaded.\r\nline 2: 4002\r\nline 3: 99999999999#Huge#",
                     "1 row(s) of cardpostfixnametable.txt could not be read and were skipped; "
                     "the other rows are loaded.\r\nline 2: x4002#"}));
}

TEST_F(CardNames, MissingOrEmptyTables) {
    // Each message ends with where the tables come from, and is read once.
    const auto told = [&](const std::string& what) {
        EXPECT_EQ(f.ui.messages(), Texts{what + "\r\nYou can get at the data folder of client."});
        f.ui.clear();
    };
    load_carddb(f.app, f.ui, cards);
    const fs::path folder = f.app.program_folder;
    told("File " + (folder / "cardprefixnametable.txt").string() +
         " not found...\r\nCard name will not be shown...");
    load("", "");
    told("File is empty...\r\nCard name will not be shown...");
    load("4001#Lucky#\r\n", "");
    EXPECT_EQ(cards.count(), 1);
    told("File is empty...\r\nCard Postfix name list not found.");
    fs::remove(folder / "cardpostfixnametable.txt");
    load_carddb(f.app, f.ui, cards);
    told("File " + (folder / "cardpostfixnametable.txt").string() +
         " not found...\r\nCard Postfix name list not found.");
}

}  // namespace
}  // namespace tavo
