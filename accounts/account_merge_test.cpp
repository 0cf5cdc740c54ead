// account.txt changed by a second writer between load and save: the table is put onto the file
// as it is now, and only an account both changed is asked about.

#include "accounts/account_merge.h"

#include <gtest/gtest.h>

#include "accounts/account_read.h"
#include "accounts/account_write.h"
#include "app/text.h"
#include "testsupport/server_folders.h"

namespace tavo {
namespace {

std::string account(int id, const std::string& name, const std::string& memo, int logins = 0) {
    return std::to_string(id) + "\t" + name + "\tpw\t-\tM\t" + std::to_string(logins) +
           "\t0\ta@a.com\t-\t0\t-\t" + memo + "\t0\t\n";
}

// The file as read, or as another writer saved it with ben's login count changed.
std::string three_accounts(int ben_logins = 0) {
    return account(2000001, "anna", "a") + account(2000002, "ben", "b", ben_logins) +
           account(2000003, "cora", "c") + "2000004\t%newid%\n";
}

// An account made in the editor, not yet saved.
AccountFields new_account(std::int32_t id, const char* name) {
    AccountFields made;
    made.account_id = id;
    made.userid = name;
    made.pass = "pw";
    made.lastlogin = "-";
    made.email = "a@a.com";
    made.error_message = made.last_ip = made.memo = "-";
    return made;
}

class AccountMerge : public ::testing::Test {
protected:
    AccountMerge() {
        write(three_accounts());
        EXPECT_TRUE(load_account(app, ui, table));
    }
    // Another writer saves later than the read: a rewrite of the same size within one tick of
    // the file system clock would look untouched.
    void write(const std::string& text) {
        const fs::path path = folders.server("save/account.txt", text);
        fs::last_write_time(path, fs::last_write_time(path) + std::chrono::seconds(++saves));
    }
    // The account's memo changed in the table, as the editor changes it.
    void set_memo(std::size_t index, const std::string& memo) {
        AccountFields fields = table.records[index].fields();
        fields.memo = memo;
        table.records[index].assign(std::move(fields));
        table.modified = true;
    }
    std::vector<std::string> records_on_disk() {
        std::vector<std::string> lines;
        const std::string file = folders.dir.read("server/save/account.txt");
        for (std::string_view line : split(file, '\n')) {
            if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
            if (line.empty() || line.starts_with("//") || contains(line, "%newid%")) continue;
            const std::vector<std::string_view> f = split(line, '\t');
            lines.push_back(std::string(f[0]) + "\t" + std::string(f[1]) + " " +
                            std::string(f[11]) + " " + std::string(f[5]));
        }
        return lines;
    }

    // Another writer saves `text` once, after Tavo merged the table and right before its rename.
    void write_before_the_rename(const std::string& text) {
        auto once = std::make_shared<bool>(true);
        app.files.calls().before_rename = [this, text, once](const fs::path& target) {
            if (target.filename() == "account.txt" && std::exchange(*once, false)) write(text);
        };
    }

    testing::ServerFolders folders;
    AppContext& app = folders.app;
    testing::ScriptedUi& ui = folders.ui;
    AccountTable table;
    int saves = 0;
};

TEST_F(AccountMerge, AnotherAccountChangedOnDiskKeepsBothChanges) {
    set_memo(0, "mine");
    // The login server saved meanwhile: ben logged in.
    write(three_accounts(7));
    ASSERT_TRUE(save_account(app, ui, table));
    EXPECT_EQ(records_on_disk(),
              (std::vector<std::string>{"2000001\tanna mine 0", "2000002\tben b 7",
                                        "2000003\tcora c 0"}));
    // The table now holds what was written: a second save without changes keeps it all.
    ASSERT_TRUE(save_account(app, ui, table));
    EXPECT_EQ(records_on_disk()[1], "2000002\tben b 7");
}

// The window between the merge and the rename: the file is merged again, and the GM line of a
// new account follows the id the account moved to.
TEST_F(AccountMerge, ASaveRightBeforeTheRenameIsMergedToo) {
    set_memo(0, "mine");
    table.records.emplace_back(new_account(704554, "gm1"));
    table.unsaved_accounts[704554] = 50;
    folders.server("conf/GM_account.txt", "// GM accounts\n");
    write_before_the_rename(account(704554, "theirs", "t") + three_accounts(7));
    ASSERT_TRUE(save_account(app, ui, table));
    EXPECT_EQ(records_on_disk(), (std::vector<std::string>{
                                     "704554\ttheirs t 0", "2000001\tanna mine 0",
                                     "2000002\tben b 7", "2000003\tcora c 0", "704555\tgm1 - 0"}));
    EXPECT_EQ(folders.dir.read("server/conf/GM_account.txt"), "// GM accounts\n704555 50\n");
    EXPECT_EQ(ui.messages().size(), 1u);  // the new id
}

TEST_F(AccountMerge, TheSameAccountChangedOnBothSidesIsAskedAboutEitherWay) {
    set_memo(1, "mine");
    write(three_accounts(9));
    ui.answer({true});  // keep the version on disk
    ASSERT_TRUE(save_account(app, ui, table));
    EXPECT_EQ(ui.questions(),
              (std::vector<std::string>{"Account 2000002 (ben) was changed on disk since it was "
                                        "read. Keep the version on disk?"}));
    EXPECT_EQ(records_on_disk()[1], "2000002\tben b 9");

    set_memo(1, "mine again");
    write(three_accounts(10));
    ui.answer({false});  // write Tavo's
    ASSERT_TRUE(save_account(app, ui, table));
    EXPECT_EQ(records_on_disk()[1], "2000002\tben mine again 9");  // on what it had kept
    EXPECT_EQ(ui.questions().size(), 2u);
}

TEST_F(AccountMerge, AccountsMadeAndDeletedOnEitherSideStaySo) {
    // Here: cora deleted, a new account that takes the next id.
    table.records.erase(table.records.begin() + 2);
    table.records.emplace_back(new_account(2000004, "dina"));
    // There: ben deleted, and an account of its own with the same new id.
    write(account(2000001, "anna", "a") + account(2000003, "cora", "c") +
          account(2000004, "emil", "e") + "2000005\t%newid%\n");
    ASSERT_TRUE(save_account(app, ui, table));
    EXPECT_EQ(records_on_disk(), (std::vector<std::string>{"2000001\tanna a 0", "2000004\temil e 0",
                                                           "2000005\tdina - 0"}));
    EXPECT_EQ(ui.messages(),
              (std::vector<std::string>{"The new account dina takes the id 2000005: another "
                                        "writer gave the id 2000004 to an account of its own "
                                        "meanwhile."}));
    EXPECT_TRUE(contains(folders.dir.read("server/save/account.txt"), "2000006\t%newid%"));
}

// A new GM account's line in the GM file goes with the account, under the id it is written
// with: never to the account another writer gave the id meanwhile.
TEST_F(AccountMerge, ANewGmAccountWhoseIdWasTakenStaysAGmWithItsLevel) {
    table.records.emplace_back(new_account(704554, "gm1"));
    table.unsaved_accounts[704554] = 50;
    folders.server("conf/GM_account.txt", "// GM accounts\n");
    write(account(704554, "theirs", "t") + three_accounts());
    ASSERT_TRUE(save_account(app, ui, table));
    EXPECT_EQ(records_on_disk()[4], "704555\tgm1 - 0");
    const std::string gm_file = folders.dir.read("server/conf/GM_account.txt");
    EXPECT_TRUE(contains(gm_file, "704555 50")) << gm_file;
    EXPECT_FALSE(contains(gm_file, "704554")) << gm_file;
    EXPECT_EQ(ui.messages().size(), 1u);
}

TEST_F(AccountMerge, TheCommandLineRefusesABothSidedChangeUnlessItChooses) {
    set_memo(1, "mine");
    const std::string theirs = three_accounts(9);
    write(theirs);
    app.on_conflict = OnConflict::Refuse;
    EXPECT_FALSE(save_account(app, ui, table));
    EXPECT_EQ(folders.dir.read("server/save/account.txt"), theirs);
    EXPECT_TRUE(contains(ui.messages().back(), "Add --mine to write this version"));
    // The refused save left the table as it was: --mine writes it now.
    app.on_conflict = OnConflict::Mine;
    ASSERT_TRUE(save_account(app, ui, table));
    EXPECT_EQ(records_on_disk()[1], "2000002\tben mine 0");
}

}  // namespace
}  // namespace tavo
