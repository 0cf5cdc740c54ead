#include "storage/storage_file.h"

#include <gtest/gtest.h>

#include "app/settings.h"
#include "app/text.h"
#include "testsupport/server_folders.h"

namespace tavo {
namespace {

using testing::item_list;
using testing::ServerFolders;
using testing::slurp;

class StorageTest : public ::testing::Test {
protected:
    void TearDown() override { EXPECT_TRUE(f.ui.unexpected.empty()); }
    fs::path file() const { return f.app.server_file("save/storage.txt"); }
    std::string saved() const { return slurp(file()); }
    bool load(std::int32_t account) {
        store = StorageRecord{};
        return load_storage(f.app, f.ui, account, store);
    }
    bool save(std::int32_t account) {
        return save_storage(f.app, f.ui, account, store, f.app.settings.maxstorage);
    }

    ServerFolders f;
    StorageRecord store;
};

constexpr const char* kTwoStores =
    "2000001,1\t1,501,3,0,1,0,0,0,0,0,0 \t\r\n"
    "2000003,2\t2,909,1,0,1,0,0,0,0,0,0 3,512,4,0,1,0,0,0,0,0,0 \t\r\n";

TEST_F(StorageTest, ReadsTheAccountsLineOnly) {
    f.server("save/storage.txt", kTwoStores);
    ASSERT_TRUE(load(2000003));
    ASSERT_EQ(store.items.size(), 2u);
    EXPECT_EQ(store.items[1], (ItemSlot{3, 512, 4, 0, 1, 0, 0, 0, 0, 0, 0}));
    ASSERT_TRUE(load(2000002));
    EXPECT_TRUE(store.items.empty());
    // An empty line is no reason to stop, and a last item without its blank is kept.
    f.server("save/storage.txt",
             "\n2000001,2\t1,501,3,0,1,0,0,0,0,0,0 2,909,1,0,1,0,0,0,0,0,0\t\n");
    ASSERT_TRUE(load(2000001));
    EXPECT_EQ(store.items.size(), 2u);
}

TEST_F(StorageTest, NewStoreIsAppendedAndAnEmptiedOneRemoved) {
    f.server("save/storage.txt", kTwoStores);
    ASSERT_TRUE(load(2000002));
    StorageRecord record;
    record.load_state.set_whole();
    record.items = {{0, 501, 2, 0, 1, 0, 0, 0, 0, 0, 0}};
    ASSERT_TRUE(save_storage(f.app, f.ui, 2000002, record, 100));
    EXPECT_EQ(saved(), std::string(kTwoStores) + "2000002,1\t0,501,2,0,1,0,0,0,0,0,0 \t\r\n");
    EXPECT_EQ(slurp(f.app.server_file("save/storage.bak.txt")), kTwoStores);

    ASSERT_TRUE(load(2000001));
    store.items.clear();
    ASSERT_TRUE(save(2000001));
    EXPECT_EQ(saved(),
              "2000003,2\t2,909,1,0,1,0,0,0,0,0,0 3,512,4,0,1,0,0,0,0,0,0 \t\r\n"
              "2000002,1\t0,501,2,0,1,0,0,0,0,0,0 \t\r\n");
}

TEST_F(StorageTest, RewrittenLineKeepsItsHeadAndOtherLinesTheirBytes) {
    const std::string others = "2000003,9\tnot a store the editor reads \t\nno tab here\n\n";
    f.server("save/storage.txt", "0002000001,1\t1,501,3,0,1,0,0,0,0,0,0 \t\n" + others);
    ASSERT_TRUE(load(2000001));
    store.items.clear();
    // A store with an item again: the head stays as written, the LF line ends stay.
    StorageRecord record = store;
    record.head = "0002000001";
    record.items = {{1, 501, 7, 0, 1, 0, 0, 0, 0, 0, 0}};
    ASSERT_TRUE(save_storage(f.app, f.ui, 2000001, record, 100));
    EXPECT_EQ(saved(), "0002000001,1\t1,501,7,0,1,0,0,0,0,0,0 \t\n" + others);
    f.ui.clear();
    // The line written from the copy is another writer's change to the store: Tavo's wins.
    f.ui.answer({false});
    ASSERT_TRUE(save(2000001));  // the emptied store: its line goes
    EXPECT_EQ(saved(), others);
}

// Items beyond maxstorage are the player's: a save drops them only when allowed to.
TEST_F(StorageTest, ItemsBeyondMaxstorageStayUnlessTheSaveMayDropThem) {
    const std::string original = "2000001,120\t" + item_list(120) + "\t\n";
    f.server("save/storage.txt", original);
    ASSERT_TRUE(load(2000001));
    EXPECT_EQ(f.ui.messages(), std::vector<std::string>{"Kafra Storage holds 120 items, 20 more "
                                                        "than maxstorage (100), which the server "
                                                        "cannot hold."});
    EXPECT_EQ(store.items.size(), 120u);
    StorageRecord record = store;
    f.app.on_excess = OnExcess::Refuse;
    EXPECT_FALSE(save_storage(f.app, f.ui, 2000001, record, 100));
    EXPECT_TRUE(
        f.ui.messages().back().starts_with("Not written: the store of account 2000001 "
                                           "holds 120 items, 20 more than maxstorage"));
    EXPECT_EQ(saved(), original);
    f.app.on_excess = OnExcess::Ask;
    f.ui.answer({false});  // keep every item
    ASSERT_TRUE(save_storage(f.app, f.ui, 2000001, record, 100));
    EXPECT_EQ(saved(), original);
    EXPECT_TRUE(contains(f.ui.questions().back(), "Drop the last 20 items when saving?"));
    f.ui.answer({true});
    ASSERT_TRUE(save_storage(f.app, f.ui, 2000001, record, 100));
    EXPECT_EQ(saved(), "2000001,100\t" + item_list(100) + "\t\n");
    EXPECT_EQ(record.items.size(), 100u);  // what the file holds now
}

// The server's own stores reach 600 items in later releases; nothing in the editor stops at
// 255.
TEST_F(StorageTest, StoresBeyond255Items) {
    f.app.settings.maxstorage = 600;
    const std::string line = "2000001,300\t" + item_list(300) + "\t\r\n";
    f.server("save/storage.txt", line);
    ASSERT_TRUE(load(2000001));
    EXPECT_EQ(store.items.size(), 300u);
    StorageRecord record = store;
    ASSERT_TRUE(save_storage(f.app, f.ui, 2000001, record, 600));
    EXPECT_EQ(saved(), line);
}

TEST_F(StorageTest, MissingFileIsMadeWithTheOneLine) {
    fs::remove(file());
    ASSERT_TRUE(load(2000005));
    StorageRecord record;
    record.load_state.set_whole();
    record.items = {{0, 909, 1, 0, 1, 0, 0, 0, 0, 0, 0}};
    ASSERT_TRUE(save_storage(f.app, f.ui, 2000005, record, 100));
    EXPECT_EQ(saved(), "2000005,1\t0,909,1,0,1,0,0,0,0,0,0 \t\r\n");
}

TEST_F(StorageTest, LastLineWithoutItsBreakGetsOneBeforeANewLineAndTheFileStillEndsWithout) {
    f.server("save/storage.txt", "2000001,1\t1,501,3,0,1,0,0,0,0,0,0 \t");
    StorageRecord record;
    record.load_state.set_whole();
    record.items = {{0, 909, 1, 0, 1, 0, 0, 0, 0, 0, 0}};
    ASSERT_TRUE(save_storage(f.app, f.ui, 2000005, record, 100));
    EXPECT_EQ(saved(),
              "2000001,1\t1,501,3,0,1,0,0,0,0,0,0 \t\r\n2000005,1\t0,909,1,0,1,0,0,0,0,0,0 \t");
}

// A store that could not be read whole is never written back over the file.
TEST_F(StorageTest, PartlyReadStoreIsNotWritten) {
    const std::string broken = "2000001,2\t1,501,3,0,1,0,0,0,0,0,0 2,909 \t\r\n";
    f.server("save/storage.txt", broken);
    EXPECT_FALSE(load(2000001));
    EXPECT_EQ(f.ui.messages(),
              std::vector<std::string>{"Error 9, Subscript out of range\r\nin load_storage"});
    f.ui.clear();
    store.items.erase(store.items.begin());
    EXPECT_FALSE(save(2000001));
    EXPECT_NE(f.ui.messages().back().find("could not be read"), std::string::npos);
    EXPECT_EQ(saved(), broken);
}

// The server keeps the last store line of an account and writes one line back; a line naming
// the account without a TAB it cannot read. The store shows what the server keeps, says what it
// does not show, and a save leaves one line for the account.
TEST_F(StorageTest, TheStoreIsTheLineTheServerKeepsAndASaveLeavesOneLine) {
    const std::string other = "2000003,1\t2,909,1,0,1,0,0,0,0,0,0 \t\n";
    f.server("save/storage.txt", "2000001,1\t1,501,3,0,1,0,0,0,0,0,0 \t\n" + other +
                                     "2000001,1\t1,909,5,0,1,0,0,0,0,0,0 \t\n"
                                     "2000001,1 1,512,2,0,1,0,0,0,0,0,0 \n");
    StorageRecord record;
    ASSERT_TRUE(load_storage(f.app, f.ui, 2000001, record));
    EXPECT_EQ(record.items, (std::vector<ItemSlot>{{1, 909, 5, 0, 1, 0, 0, 0, 0, 0, 0}}));
    ASSERT_EQ(f.ui.messages().size(), 1u);
    EXPECT_EQ(f.ui.messages()[0],
              "save/storage.txt holds 2 store lines for account 2000001. The server keeps the "
              "last one it reads (line 3), which is shown here.\r\n"
              "Line 4 of save/storage.txt names account 2000001 but has no TAB: the server cannot "
              "read it as a store, and it is not shown.\r\n"
              "Saving the store leaves one line for the account: the store shown here.");
    record.items[0].amount = 6;
    ASSERT_TRUE(save_storage(f.app, f.ui, 2000001, record, 100));
    EXPECT_EQ(saved(), other + "2000001,1\t1,909,6,0,1,0,0,0,0,0,0 \t\n");

    // Only a line without a TAB: the store is empty, and a new item takes that line's place.
    f.ui.clear();
    f.server("save/storage.txt", "2000001,1 1,512,2,0,1,0,0,0,0,0,0 \n" + other);
    ASSERT_TRUE(load_storage(f.app, f.ui, 2000001, record));
    EXPECT_TRUE(record.items.empty());
    EXPECT_EQ(f.ui.messages().size(), 1u);
    record.items = {{0, 501, 1, 0, 1, 0, 0, 0, 0, 0, 0}};
    ASSERT_TRUE(save_storage(f.app, f.ui, 2000001, record, 100));
    EXPECT_EQ(saved(), "2000001,1\t0,501,1,0,1,0,0,0,0,0,0 \t\n" + other);
}

TEST_F(StorageTest, DeleteUserStorageKeepsTheOtherLines) {
    f.server("save/storage.txt", kTwoStores);
    ASSERT_TRUE(delete_user_storage(f.app, f.ui, 2000001));
    EXPECT_EQ(saved(), "2000003,2\t2,909,1,0,1,0,0,0,0,0,0 3,512,4,0,1,0,0,0,0,0,0 \t\r\n");
    EXPECT_EQ(slurp(f.app.server_file("save/storage.bak.txt")), kTwoStores);
}

}  // namespace
}  // namespace tavo
