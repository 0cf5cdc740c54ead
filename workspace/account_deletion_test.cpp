#include "workspace/account_deletion.h"

#include <gtest/gtest.h>

#include <map>

#include "accounts/account_editor.h"
#include "testsupport/demo_workspace.h"

namespace tavo {
namespace {

using testing::DemoWorkspace;

constexpr std::int32_t kKaelen = 2000001;  // two characters, a party, a guild and a store

const std::vector<std::string> kFiles = {
    "save/account.txt", "save/athena.txt",    "save/storage.txt", "save/party.txt",
    "save/guild.txt",   "save/pet.txt",       "save/castle.txt",  "save/friends.txt",
    "save/accreg.txt",  "conf/GM_account.txt"};

std::size_t index_of(const Workspace& ws, std::int32_t id) {
    return index_of_account(ws.accounts, id).value();
}

// A friends.txt line: the character and its 20 pairs, the empty ones last.
std::string friends(const std::string& id, const std::vector<std::string>& pairs) {
    std::string line = id;
    for (std::size_t i = 0; i < 20; ++i) line += "," + (i < pairs.size() ? pairs[i] : "0,");
    return line + "\r\n";
}

void insert_after(std::string& text, const std::string& at, const std::string& inserted) {
    const std::size_t found = text.find(at);
    ASSERT_NE(found, std::string::npos) << at;
    text.insert(found + at.size(), inserted);
}

// The demo server, with Kaelen's pet (pet 3 of pet.txt) on the character that carries it, pet
// eggs in both characters and the store, friends and account registers.
struct AccountDeletion : ::testing::Test {
    void SetUp() override {
        std::string athena = file("save/athena.txt");
        const std::size_t pet = athena.find("\t1,10001,0\t");
        ASSERT_NE(pet, std::string::npos);
        athena.replace(pet, 11, "\t1,10001,3\t");
        insert_after(athena, "4035,4035,4035,4029 ", "19,9004,1,0,1,0,0,-256,5,0,0 ");
        insert_after(athena, "18,716,30,0,1,0,0,0,0,0,0 ", "20,9001,1,0,1,0,0,-256,2,0,0 ");
        demo.dir.write("server/save/athena.txt", athena);
        std::string storage = file("save/storage.txt");
        storage.replace(storage.find(",-256,3,0,0"), 11, ",-256,4,0,0");
        demo.dir.write("server/save/storage.txt", storage);
        demo.dir.write("server/save/pet.txt", file("save/pet.txt") +
                                                  "4,1002,Jelly\t2000001,0,3,9001,0,100,50,0,0\n"
                                                  "5,1002,Drop\t2000001,0,3,9001,0,100,50,0,0\n");
        demo.dir.write("server/save/friends.txt",
                       "// friends\r\n" + friends("150000", {"150002,Mirabel"}) +
                           friends("150002", {"150000,Kaelen", "150005,Ashgrove", "150001,Kaelbrew",
                                              "150006,Selafin"}) +
                           friends("150005", {"150002,Mirabel"}));
        demo.dir.write("server/save/accreg.txt",
                       "2000002\t#bank,7 \n2000001\t#bank,5 \n2000012\tquest,1 \n");
        demo.start();
        demo.ui.clear();
    }
    std::map<std::string, std::string> files() const {
        std::map<std::string, std::string> all;
        for (const std::string& name : kFiles) all[name] = demo.dir.read("server/" + name);
        return all;
    }
    std::string file(const std::string& name) const { return demo.dir.read("server/" + name); }

    DemoWorkspace demo;
};

TEST_F(AccountDeletion, TheAccountLeavesEveryFileAtOnceAndOtherEditsStayPending) {
    // Another account's memo edited but not saved.
    AccountForm form = account_to_form(demo.ws.accounts.records[index_of(demo.ws, 2000002)]);
    form.memo = "pending";
    ASSERT_TRUE(form_to_account(demo.ui, demo.ws.accounts, form, index_of(demo.ws, 2000002)));
    const std::string storage_before = file("save/storage.txt");
    demo.ui.answer({true});
    ASSERT_TRUE(delete_account(demo.ws, demo.ui, index_of(demo.ws, kKaelen)));
    EXPECT_EQ(demo.ui.questions(), std::vector<std::string>{"Are you sure?"});

    EXPECT_EQ(file("save/account.txt").find("\n2000001\t"), std::string::npos);
    EXPECT_EQ(file("save/athena.txt").find("\t2000001,"), std::string::npos);
    EXPECT_EQ(file("save/storage.txt").find("2000001,"), std::string::npos);
    EXPECT_NE(file("save/storage.txt"), storage_before);
    EXPECT_EQ(file("save/party.txt").find("2000001,"), std::string::npos);
    EXPECT_NE(file("save/party.txt").find("Dawnbreakers"), std::string::npos);  // others stay
    EXPECT_EQ(file("save/guild.txt").find("2000001,"), std::string::npos);
    EXPECT_NE(file("save/guild.txt").find("Iron Wolves"), std::string::npos);
    EXPECT_EQ(file("save/pet.txt").find("Moonie"), std::string::npos);
    EXPECT_NE(file("save/pet.txt").find("Pudding"), std::string::npos);

    // The other account's edit is still in the table only.
    EXPECT_FALSE(index_of_account(demo.ws.accounts, kKaelen));
    EXPECT_TRUE(demo.ws.accounts.modified);
    EXPECT_EQ(file("save/account.txt").find("pending"), std::string::npos);
    EXPECT_EQ(demo.ws.accounts.records[index_of(demo.ws, 2000002)].memo(), "pending");
    // Saved later, the file still lacks the deleted account.
    ASSERT_TRUE(save_account(demo.ws.app, demo.ui, demo.ws.accounts));
    EXPECT_EQ(file("save/account.txt").find("\n2000001\t"), std::string::npos);
    EXPECT_NE(file("save/account.txt").find("pending"), std::string::npos);
}

// Eggs hold pets too: those of the inventory, the cart and the store go with their holder, and
// the friends lists and registers keep no trace of the account.
TEST_F(AccountDeletion, PetsInEggsFriendsAndRegistersGoWithTheAccount) {
    demo.ui.answer({true});
    ASSERT_TRUE(delete_account(demo.ws, demo.ui, index_of(demo.ws, kKaelen)));
    EXPECT_EQ(file("save/pet.txt"), "1,1002,Pudding\t2000002,150002,12,9001,0,450,60,1,1\n");
    EXPECT_EQ(file("save/friends.txt"),
              "// friends\r\n" + friends("150002", {"150005,Ashgrove", "150006,Selafin"}) +
                  friends("150005", {"150002,Mirabel"}));
    EXPECT_EQ(file("save/accreg.txt"), "2000002\t#bank,7 \n2000012\tquest,1 \n");
}

// The write of the n-th file fails: the disk is full.
FileWriter failing_write(int n) {
    auto calls = std::make_shared<int>(0);
    return FileWriter([calls, n](int fd, const char* data, std::size_t size) -> ssize_t {
        if ((*calls)++ == n) {
            errno = ENOSPC;
            return -1;
        }
        return ::write(fd, data, size);
    });
}

TEST_F(AccountDeletion, AFailureAtAnyFileWriteLeavesEveryFileAsBefore) {
    const std::map<std::string, std::string> before = files();
    const std::size_t accounts = demo.ws.accounts.records.size();
    int failed = 0;
    for (int n = 0;; ++n) {
        demo.ws.app.files = failing_write(n);
        demo.ui.answer({true});
        if (delete_account(demo.ws, demo.ui, index_of(demo.ws, kKaelen))) break;
        ++failed;
        const std::vector<std::string> messages = demo.ui.messages();
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_TRUE(messages[0].starts_with("The account 2000001 was not deleted: save/"));
        EXPECT_NE(messages[0].find("could not be written. No file was changed."),
                  std::string::npos);
        demo.ui.clear();
        ASSERT_EQ(files(), before) << "failure at write " << n;
        EXPECT_EQ(demo.ws.accounts.records.size(), accounts);
    }
    // account, athena, storage, party, guild, pet, friends and registers files each failed once.
    EXPECT_EQ(failed, 8);
    demo.ui.clear();
}

TEST_F(AccountDeletion, AGmAccountTakesItsGmLineAndNoOtherOne) {
    const std::string gm = file("conf/GM_account.txt");
    demo.ui.answer({true});
    ASSERT_TRUE(delete_account(demo.ws, demo.ui, index_of(demo.ws, 704555)));
    EXPECT_EQ(demo.ui.messages().size(), 1u);  // the GM account warning
    demo.ui.clear();
    std::string expected = gm;
    expected.erase(gm.find("704555 80\n"), 10);
    EXPECT_EQ(file("conf/GM_account.txt"), expected);
}

TEST_F(AccountDeletion, NoKeepsEveryFile) {
    const std::map<std::string, std::string> before = files();
    demo.ui.answer({false});
    EXPECT_FALSE(delete_account(demo.ws, demo.ui, index_of(demo.ws, kKaelen)));
    demo.ui.clear();
    EXPECT_EQ(files(), before);
    EXPECT_TRUE(index_of_account(demo.ws.accounts, kKaelen));
}

}  // namespace
}  // namespace tavo
