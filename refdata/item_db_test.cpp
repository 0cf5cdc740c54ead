#include "refdata/item_db.h"

#include <gtest/gtest.h>

#include "app/text.h"
#include "refdata/weight.h"
#include "testsupport/server_folders.h"

namespace tavo {
namespace {

using testing::ServerFolders;
using Texts = std::vector<std::string>;

// One item_db.txt row: id, names, type, weight (tenths), slots, equip locations.
std::string row(int id, const std::string& name, int type, const std::string& weight, int slots = 0,
                int locations = 0) {
    return std::to_string(id) + "," + name + "_List," + name + "," + std::to_string(type) +
           ",10,5," + weight + ",,,," + std::to_string(slots) + ",0xFFFFFFFF,2," +
           std::to_string(locations) + ",,,,{},{}\r\n";
}

std::vector<std::string> names(const ItemTable& items) {
    std::vector<std::string> result;
    for (const ItemDbEntry& entry : items.entries()) result.push_back(entry.name);
    return result;
}

class ItemDb : public ::testing::Test {
protected:
    void TearDown() override { EXPECT_TRUE(f.ui.unexpected.empty()); }
    void load(const std::string& content) {
        f.server("db/item_db.txt", content);
        load_itemdb(f.app, f.ui, items);
    }

    ServerFolders f;
    ItemTable items;
};

TEST_F(ItemDb, RowsCommentsAndColumns) {
    load("// comment\r\n/\r\n\r\n/501,Commented\r\n" + row(501, "Red Potion", 0, "70") +
         " //,Blank first,Blank first,3,,,10,,,,,,,0\r\n" + row(1102, "Sword", 4, "500", 3, 2) +
         row(2211, "Bandana", 5, "10", 0, 256));
    ASSERT_EQ(items.count(), 4);
    const ItemDbEntry& potion = items[0];
    EXPECT_EQ(potion.id, 501);
    EXPECT_EQ(potion.list_name, "Red Potion_List");
    EXPECT_EQ(potion.name, "Red Potion");
    EXPECT_EQ(potion.weight, 7);
    EXPECT_EQ(items[1].id, 0);  // a blank before the slashes is no comment
    EXPECT_EQ(items[1].name, "Blank first");
    EXPECT_EQ(items[2].slot_count, 3);
    EXPECT_EQ(items[2].type, 4);
    EXPECT_EQ(items[2].equip_locations, 2);
    EXPECT_EQ(items[3].equip_locations, 256);
    EXPECT_EQ(f.ui.progress_shows, 1);
    EXPECT_EQ(f.ui.progress_closes, 1);
    EXPECT_EQ(f.ui.progress_texts.back(), "Reading 4 lines");
    EXPECT_TRUE(f.ui.shown().empty());
}

// A bad row costs that row only; all of them are named in one message, a long one cut short.
TEST_F(ItemDb, BadRowsAreSkippedAndReportedOnce) {
    const std::string huge(10 << 20, 'x');
    load("// items\n" + row(501, "Red Potion", 0, "70") + "hello world\n" + huge + "\n" +
         row(502, "Orange Potion", 0, "100") + "503,Too,Heavy,0,10,5,99999999999,,,,0,0,2,0\n" +
         row(504, "Yellow Potion", 0, "130"));
    ASSERT_EQ(items.count(), 3);
    EXPECT_EQ(items.find(502)->weight, 10);
    EXPECT_EQ(items.find(504)->name, "Yellow Potion");
    ASSERT_EQ(f.ui.messages().size(), 1u);
    const std::string message = f.ui.messages()[0];
    EXPECT_TRUE(message.starts_with("3 row(s) of db/item_db.txt could not be read")) << message;
    EXPECT_TRUE(contains(message, "\r\nline 3: hello world\r\n")) << message;
    EXPECT_TRUE(contains(message, "\r\nline 4: " + std::string(60, 'x') + "... (10485760 bytes)"));
    EXPECT_TRUE(contains(message, "\r\nline 6: 503,Too,Heavy"));
    EXPECT_LT(message.size(), 400u);
    EXPECT_EQ(f.ui.shown()[0].icon, Icon::Warning);
}

TEST_F(ItemDb, WeightsRoundHalfToEven) {
    load(row(1, "a", 3, "15") + row(2, "b", 3, "25") + row(3, "c", 3, "35") + row(4, "d", 3, "14") +
         row(5, "e", 3, "4") + row(6, "f", 3, " 27 tenths"));
    EXPECT_EQ(item_weight(items, 1), 2);
    EXPECT_EQ(item_weight(items, 2), 2);
    EXPECT_EQ(item_weight(items, 3), 4);
    EXPECT_EQ(item_weight(items, 4), 1);
    EXPECT_EQ(item_weight(items, 5), 0);
    EXPECT_EQ(item_weight(items, 6), 3);
    EXPECT_EQ(item_weight(items, 7), 1);  // not in the table
    EXPECT_EQ(item_type(items, 7), 0);
}

TEST_F(ItemDb, WhereTheDatabaseIsFound) {
    fs::remove(f.app.server_file("db/item_db.txt"));
    f.server("db/english/item_db.txt", row(501, "Red Potion", 0, "70"));
    load_itemdb(f.app, f.ui, items);
    EXPECT_EQ(items.count(), 1);

    fs::remove(f.app.server_file("db/english/item_db.txt"));
    load_itemdb(f.app, f.ui, items);
    EXPECT_TRUE(items.empty());
    EXPECT_EQ(item_weight(items, 501), 1);
    EXPECT_EQ(f.ui.messages(),
              Texts{"File item_db.txt not found...\r\nItem name will not be shown..."});

    f.ui.clear();
    load("");
    EXPECT_EQ(f.ui.messages(), Texts{"File is empty...\r\nItem name will not be shown..."});
    EXPECT_EQ(f.ui.progress_shows, 0);
}

TEST_F(ItemDb, TheTableHoldsAtMost32767Rows) {
    std::string rows;
    for (int id = 1; id <= 32768; ++id) rows += std::to_string(id) + ",a,a,3,,,10,,,,,,,0\n";
    load(rows);
    EXPECT_EQ(items.count(), 32767);
    EXPECT_EQ(f.ui.messages(), Texts{"Error 6, Overflow\r\nin load_itemdb"});
    EXPECT_FALSE(f.ui.progress_open);
    EXPECT_EQ(f.ui.progress_texts.back(), "Reading 32767 lines");
}

TEST_F(ItemDb, SortByNameAndFirstByNameWins) {
    load(row(10, "apple", 3, "10") + row(11, "Zebra", 3, "20") + row(12, "Mango", 3, "30") +
         row(11, "Aardvark", 3, "50") + row(13, "mango", 3, "10") + row(14, "Mango", 6, "10"));
    EXPECT_EQ(item_weight(items, 11), 2);  // file order until the sort
    sort_items_by_name(items);
    EXPECT_EQ(names(items), (Texts{"Aardvark", "Mango", "Mango", "Zebra", "apple", "mango"}));
    EXPECT_EQ(item_weight(items, 11), 5);  // Aardvark sorts before Zebra
    EXPECT_EQ(item_type(items, 14), 6);
    EXPECT_EQ(items.find(13)->name, "mango");

    // Equal names end where the exact steps put them: every pass swaps equals too.
    load(row(1, "b", 3, "10") + row(2, "b", 3, "10") + row(3, "a", 3, "10") + row(4, "b", 3, "10"));
    sort_items_by_name(items);
    std::vector<int> ids;
    for (const ItemDbEntry& entry : items.entries()) ids.push_back(entry.id);
    EXPECT_EQ(ids, (std::vector<int>{3, 4, 1, 2}));

    ItemTable empty;
    sort_items_by_name(empty);
    EXPECT_EQ(empty.find(0), nullptr);
}

}  // namespace
}  // namespace tavo
