#include "workspace/account_deletion.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <map>
#include <set>

#include "accounts/account_form.h"
#include "app/file_writer.h"
#include "testsupport/demo_workspace.h"
#include "testsupport/file_faults.h"
#include "workspace/deletion.h"

namespace tavo {
namespace {

using testing::DemoWorkspace;

constexpr std::int32_t kKaelen = 2000001;  // two characters, a party, a guild and a store

constexpr std::int32_t kIvy = 2000011;  // given a place in every file the deletion rewrites

// Every file of the server folder, by path, so that a leftover or a changed backup shows too.
std::map<std::string, std::string> every_file(const fs::path& folder) {
    std::map<std::string, std::string> all;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file()) {
            all[fs::relative(entry.path(), folder).string()] = testing::slurp(entry.path());
        }
    }
    return all;
}

std::size_t index_of(const Workspace& ws, std::int32_t id) {
    return index_of_account(ws.accounts.table(), id).value();
}

void replace_once(std::string& text, std::string_view what, std::string_view with) {
    const std::size_t at = text.find(what);
    ASSERT_NE(at, std::string::npos) << what;
    text.replace(at, what.size(), with);
}

void insert_after(std::string& text, const std::string& at, const std::string& inserted) {
    const std::size_t found = text.find(at);
    ASSERT_NE(found, std::string::npos) << at;
    text.insert(found + at.size(), inserted);
}

// A friends.txt line: the character and its 20 pairs, the empty ones last.
std::string friends(const std::string& id, const std::vector<std::string>& pairs) {
    std::string line = id;
    for (std::size_t i = 0; i < 20; ++i) line += "," + (i < pairs.size() ? pairs[i] : "0,");
    return line + "\r\n";
}

// The demo server, with Kaelen's pet (pet 3 of pet.txt) on the character that carries it, pet
// eggs in both his characters and his store, friends and account registers; and Ivy, the only
// member of the guild that holds castle 3, given a party place, a pet, a store with an egg,
// friends, registers and a GM level: her deletion rewrites all ten files. athena.txt has an
// older backup.
struct AccountDeletion : ::testing::Test {
    void SetUp() override {
        std::string athena = file("save/athena.txt");
        replace_once(athena, "\t1,10001,0\t", "\t1,10001,3\t");
        replace_once(athena, "\t0,10002,0\t", "\t2,10002,6\t");
        insert_after(athena, "4035,4035,4035,4029 ", "19,9004,1,0,1,0,0,-256,5,0,0 ");
        insert_after(athena, "18,716,30,0,1,0,0,0,0,0,0 ", "20,9001,1,0,1,0,0,-256,2,0,0 ");
        demo.dir.write("server/save/athena.txt", athena);
        std::string party = file("save/party.txt");
        replace_once(party, "Roanoke\t0,0\tNoMember", "Roanoke\t2000011,0\tIvy");
        demo.dir.write("server/save/party.txt", party);
        std::string storage = file("save/storage.txt");
        replace_once(storage, ",-256,3,0,0", ",-256,4,0,0");
        demo.dir.write(
            "server/save/storage.txt",
            storage + "2000011,2\t106,501,3,0,1,0,0,0,0,0,0 107,9001,1,0,1,0,0,-256,7,0,0 \t\n");
        append("save/pet.txt",
               "4,1002,Jelly\t2000001,0,3,9001,0,100,50,0,0\n"
               "5,1002,Drop\t2000001,0,3,9001,0,100,50,0,0\n" +
                   ivy_pets);
        demo.dir.write("server/save/friends.txt",
                       "// friends\r\n" + friends("150000", {"150002,Mirabel"}) +
                           friends("150002", {"150000,Kaelen", "150005,Ashgrove", "150001,Kaelbrew",
                                              "150006,Selafin"}) +
                           friends("150005", {"150002,Mirabel"}) + ivy_friends);
        demo.dir.write("server/save/accreg.txt",
                       "2000002\t#bank,7 \n2000001\t#bank,5 \n2000012\tquest,1 \n" + ivy_registers);
        append("conf/GM_account.txt", "2000011 5\n");
        demo.dir.write("server/save/athena.bak.txt", "an older backup\n");
        demo.start();
        demo.ui.clear();
    }
    std::map<std::string, std::string> files() const {
        return every_file(demo.dir.path() / "server");
    }
    std::string file(const std::string& name) const { return demo.dir.read("server/" + name); }
    void append(const std::string& name, const std::string& text) const {
        demo.dir.write("server/" + name, file(name) + text);
    }

    // What stays of Ivy when Kaelen goes.
    const std::string ivy_pets =
        "6,1063,Leafy\t2000011,150009,5,9004,0,250,50,0,0\n"
        "7,1002,Sprout\t2000011,0,3,9001,0,100,50,0,0\n";
    const std::string ivy_friends = friends("150009", {"150002,Mirabel"});
    const std::string ivy_registers = "2000011\tquest,2 \n";

    DemoWorkspace demo;
};

TEST_F(AccountDeletion, TheAccountLeavesEveryFileAtOnceAndOtherEditsStayPending) {
    // Another account's memo edited but not saved.
    AccountForm form =
        account_to_form(demo.ws.accounts.table().records[index_of(demo.ws, 2000002)]);
    form.memo = "pending";
    ASSERT_TRUE(
        form_to_account(demo.ui, demo.ws.accounts.table(), form, index_of(demo.ws, 2000002)));
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
    EXPECT_FALSE(index_of_account(demo.ws.accounts.table(), kKaelen));
    EXPECT_TRUE(demo.ws.accounts.modified());
    EXPECT_EQ(file("save/account.txt").find("pending"), std::string::npos);
    EXPECT_EQ(demo.ws.accounts.table().records[index_of(demo.ws, 2000002)].memo(), "pending");
    // Saved later, the file still lacks the deleted account.
    ASSERT_TRUE(demo.ws.accounts.save(demo.ui));
    EXPECT_EQ(file("save/account.txt").find("\n2000001\t"), std::string::npos);
    EXPECT_NE(file("save/account.txt").find("pending"), std::string::npos);
}

// Eggs hold pets too: those of the inventory, the cart and the store go with their holder, and
// the friends lists and registers keep no trace of the account.
TEST_F(AccountDeletion, PetsInEggsFriendsAndRegistersGoWithTheAccount) {
    demo.ui.answer({true});
    ASSERT_TRUE(delete_account(demo.ws, demo.ui, index_of(demo.ws, kKaelen)));
    EXPECT_EQ(file("save/pet.txt"),
              "1,1002,Pudding\t2000002,150002,12,9001,0,450,60,1,1\n" + ivy_pets);
    EXPECT_EQ(file("save/friends.txt"),
              "// friends\r\n" + friends("150002", {"150005,Ashgrove", "150006,Selafin"}) +
                  friends("150005", {"150002,Mirabel"}) + ivy_friends);
    EXPECT_EQ(file("save/accreg.txt"), "2000002\t#bank,7 \n2000012\tquest,1 \n" + ivy_registers);
}

// The write of the n-th file fails: the disk is full.
void fail_write(FileWriter& files, int n) {
    auto calls = std::make_shared<int>(0);
    files.calls().write = [calls, n](int fd, const char* data, std::size_t size) -> ssize_t {
        if ((*calls)++ == n) {
            errno = ENOSPC;
            return -1;
        }
        return ::write(fd, data, size);
    };
}

// Ivy's deletion rewrites ten files. Whichever step fails, the write of a file, its rename
// after others were already replaced, or a backup, every file of the server folder is as before (no
// backup replaced, nothing left behind) and the message names the file.
TEST_F(AccountDeletion, AFailureAtAnyFileLeavesEveryFileAsBefore) {
    const std::map<std::string, std::string> before = files();
    const std::size_t accounts = demo.ws.accounts.table().records.size();
    const auto fails = [&](const std::string& file, const std::string& error) {
        SCOPED_TRACE(file);
        demo.ui.answer({true});
        EXPECT_FALSE(delete_account(demo.ws, demo.ui, index_of(demo.ws, kIvy)));
        EXPECT_EQ(
            demo.ui.messages(),
            std::vector<std::string>{"The account 2000011 was not deleted: " + file + " (Error " +
                                     error + ") could not be written. No file was changed."});
        demo.ui.clear();
        EXPECT_EQ(files(), before);
        EXPECT_EQ(demo.ws.accounts.table().records.size(), accounts);
    };
    const std::string written[] = {"save/account.txt",   "save/athena.txt",  "save/storage.txt",
                                   "save/party.txt",     "save/guild.txt",   "save/pet.txt",
                                   "save/castle.txt",    "save/friends.txt", "save/accreg.txt",
                                   "conf/GM_account.txt"};
    for (std::size_t n = 0; n < std::size(written); ++n) {
        demo.ws.app.files = FileWriter();
        fail_write(demo.ws.app.files, static_cast<int>(n));
        fails(written[n], "61, Disk full");
    }
    for (const std::string& file : written) {
        demo.ws.app.files = FileWriter();
        testing::refuse_rename(demo.ws.app.files, fs::path(file).filename());
        fails(file, "70, Permission denied");
    }
    // The backups are made once every file is in place: one failing puts all ten files back,
    // and the backups made before it.
    demo.ws.app.files = FileWriter();
    testing::refuse_rename(demo.ws.app.files, "storage.bak.txt");
    fails("save/storage.bak.txt", "70, Permission denied");
    // Without hard links the nine files replaced before the last one are put back from copies.
    demo.ws.app.files = FileWriter();
    testing::refuse_rename(demo.ws.app.files, "GM_account.txt");
    demo.ws.app.files.calls().link = [](const char*, const char*) {
        errno = EPERM;
        return -1;
    };
    fails("conf/GM_account.txt", "70, Permission denied");
    demo.ws.app.files = FileWriter();
    demo.ui.answer({true});
    ASSERT_TRUE(delete_account(demo.ws, demo.ui, index_of(demo.ws, kIvy)));
    demo.ui.clear();
    for (const std::string& file : written) EXPECT_NE(this->file(file), before.at(file)) << file;
}

// Ivy's character alone: athena.txt and the five files of its ties, each refused in turn.
TEST_F(AccountDeletion, ACharacterDeletionRefusedAtAnyFileLeavesEveryFileAsBefore) {
    const std::map<std::string, std::string> before = files();
    const std::string written[] = {"save/athena.txt", "save/party.txt",  "save/guild.txt",
                                   "save/pet.txt",    "save/castle.txt", "save/friends.txt"};
    for (const std::string& file : written) {
        SCOPED_TRACE(file);
        demo.ws.app.files = FileWriter();
        testing::refuse_rename(demo.ws.app.files, fs::path(file).filename());
        EXPECT_EQ(
            delete_char(demo.ws, demo.ui, 150009),
            file + " (Error 70, Permission denied) could not be written. No file was changed.");
        EXPECT_EQ(files(), before);
    }
    demo.ws.app.files = FileWriter();
    ASSERT_EQ(delete_char(demo.ws, demo.ui, 150009), std::nullopt);
    for (const std::string& file : written) EXPECT_NE(this->file(file), before.at(file)) << file;
}

// A file replaced before the failure that cannot be put back either is named, with where its old
// content waits.
TEST_F(AccountDeletion, AFileThatCannotBePutBackIsNamedWithItsOldContent) {
    const std::string accounts = file("save/account.txt");
    demo.ws.app.files.calls().rename = [](const char* from, const char* to) {
        const std::string name = fs::path(to).filename();
        if (name == "athena.txt" || std::string_view(from).find(".kept") != std::string::npos) {
            errno = EPERM;
            return -1;
        }
        return ::rename(from, to);
    };
    demo.ui.answer({true});
    EXPECT_FALSE(delete_account(demo.ws, demo.ui, index_of(demo.ws, kKaelen)));
    const std::string kept = ".account.txt.kept" + std::to_string(::getpid());
    EXPECT_EQ(demo.ui.messages(),
              std::vector<std::string>{
                  "The account 2000001 was not deleted: save/athena.txt (Error 70, Permission "
                  "denied) could not be written. save/account.txt was changed and could not be "
                  "put back (its old content is in save/" +
                  kept + "). No other file was changed."});
    demo.ui.clear();
    EXPECT_EQ(file("save/" + kept), accounts);
}

// Other writers save while the deletion runs, after its files were made and right before each
// rename: lines appended with `>>` to account.txt, friends.txt and accreg.txt, and a party and a
// pet renamed in replaced files, stay, and the deletion still takes everything of the account
// from them.
TEST_F(AccountDeletion, ChangesRightBeforeTheRenamesStay) {
    const std::map<std::string, std::string> appended = {
        {"account.txt", "2000099\tlate\tpw\t-\tM\t0\t0\t\n"},
        {"friends.txt", friends("150004", {"150000,Kaelen", "150002,Mirabel"})},
        {"accreg.txt", "2000003\t#bank,9 \n"}};
    std::map<std::string, std::string> replaced = {{"party.txt", file("save/party.txt")},
                                                   {"pet.txt", file("save/pet.txt")}};
    replace_once(replaced["party.txt"], "Lone Wolf", "Lone Wolves");
    replace_once(replaced["pet.txt"], "Pudding", "Puddle");
    const fs::path server = demo.dir.path() / "server";
    auto done = std::make_shared<std::set<std::string>>();
    demo.ws.app.files.calls().before_rename = [=](const fs::path& target) {
        const std::string name = target.filename();
        if (!done->insert(name).second) return;
        if (appended.contains(name)) {
            std::ofstream(target, std::ios::app | std::ios::binary) << appended.at(name);
        } else if (replaced.contains(name)) {
            std::ofstream(server / "new", std::ios::binary) << replaced.at(name);
            fs::rename(server / "new", target);
        }
    };
    demo.ui.answer({true});
    ASSERT_TRUE(delete_account(demo.ws, demo.ui, index_of(demo.ws, kKaelen)));
    EXPECT_EQ(*done, (std::set<std::string>{"account.txt", "athena.txt", "storage.txt", "party.txt",
                                            "guild.txt", "pet.txt", "friends.txt", "accreg.txt"}));
    EXPECT_TRUE(file("save/account.txt").ends_with(appended.at("account.txt")));
    EXPECT_EQ(file("save/account.txt").find("\n2000001\t"), std::string::npos);
    EXPECT_NE(file("save/party.txt").find("\tLone Wolves\t"), std::string::npos);
    EXPECT_EQ(file("save/party.txt").find("2000001,"), std::string::npos);
    EXPECT_EQ(file("save/athena.txt").find("\t2000001,"), std::string::npos);
    EXPECT_EQ(file("save/pet.txt"),
              "1,1002,Puddle\t2000002,150002,12,9001,0,450,60,1,1\n" + ivy_pets);
    EXPECT_TRUE(file("save/friends.txt").ends_with(friends("150004", {"150002,Mirabel"})));
    EXPECT_EQ(file("save/friends.txt").find("150000,"), std::string::npos);
    EXPECT_TRUE(file("save/accreg.txt").ends_with(ivy_registers + appended.at("accreg.txt")));
    EXPECT_EQ(file("save/accreg.txt").find("2000001\t"), std::string::npos);
    demo.ui.clear();
}

// An egg put into the store right before its rename holds a pet the deletion did not release:
// the deletion fails and puts back what it replaced, and the other writer's store stays.
TEST_F(AccountDeletion, AnEggGainedRightBeforeTheRenameFailsTheDeletion) {
    std::map<std::string, std::string> before = files();
    std::string storage = file("save/storage.txt");
    replace_once(storage, "2000001,4\t", "2000001,5\t108,9001,1,0,1,0,0,-256,1,0,0 ");
    before["save/storage.txt"] = storage;
    const fs::path server = demo.dir.path() / "server";
    demo.ws.app.files.calls().before_rename = [=](const fs::path& target) {
        if (target.filename() != "storage.txt" || testing::slurp(target) == storage) return;
        std::ofstream(server / "new", std::ios::binary) << storage;
        fs::rename(server / "new", target);
    };
    demo.ui.answer({true});
    EXPECT_FALSE(delete_account(demo.ws, demo.ui, index_of(demo.ws, kKaelen)));
    EXPECT_EQ(demo.ui.messages(),
              std::vector<std::string>{
                  "The account 2000001 was not deleted: save/storage.txt (Error 75, The "
                  "account's store changed on disk while it was being deleted) could not be "
                  "written. No file was changed."});
    demo.ui.clear();
    EXPECT_EQ(files(), before);
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
    EXPECT_TRUE(index_of_account(demo.ws.accounts.table(), kKaelen));
}

}  // namespace
}  // namespace tavo
