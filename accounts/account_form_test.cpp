#include "accounts/account_form.h"

#include <gtest/gtest.h>

#include "accounts/account_read.h"
#include "accounts/account_write.h"
#include "accounts/gm_levels.h"
#include "testsupport/scripted_ui.h"
#include "testsupport/temp_dir.h"

namespace tavo {
namespace {

using testing::ScriptedUi;
using testing::TempDir;

struct AccountFormTest : ::testing::Test {
    AccountFormTest() {
        dir.make_server("server");
        app.settings.data_folder = (dir.path() / "server").string() + "/";
        dir.write("server/conf/GM_account.txt", "// GMs\n704554 99\n");
    }
    void load(std::string_view accounts) {
        dir.write("server/save/account.txt", accounts);
        ASSERT_TRUE(load_account(app, ui, table));
    }
    void load_defaults() {
        dir.write("server/save/account.txt", "");
        ui.answer({false});
        ASSERT_TRUE(load_account(app, ui, table));
        ui.clear();
    }
    AccountForm player(std::string name, std::string password = "pw") const {
        return named(new_account_form(next_player_id(table), 0), std::move(name), password);
    }
    static AccountForm named(AccountForm form, std::string name, std::string password = "pw") {
        form.username = std::move(name);
        form.password = std::move(password);
        return form;
    }

    TempDir dir;
    ScriptedUi ui;
    AppContext app;
    AccountTable table;
};

TEST_F(AccountFormTest, NewPlayersTakeTheNextPlayerId) {
    load_defaults();
    EXPECT_EQ(next_player_id(table), 2000001);
    ASSERT_EQ(save_new_account(app, ui, table, player("anna"), false), EditResult::Saved);
    EXPECT_EQ(next_player_id(table), 2000002);
    const AccountRecord& anna = table.records.back();
    EXPECT_EQ(anna.account_id(), 2000001);
    EXPECT_EQ(anna.email(), "a@a.com");
    EXPECT_EQ(anna.lastlogin(), "-");
    EXPECT_TRUE(table.modified);
    // A player is no GM even when the disabled GM list still shows a level.
    AccountForm ben = player("ben");
    ben.gm_level = 99;
    ASSERT_EQ(save_new_account(app, ui, table, ben, false), EditResult::Saved);
    EXPECT_EQ(table.records.back().gm_level(), 0);
    EXPECT_EQ(dir.read("server/conf/GM_account.txt"), "// GMs\n704554 99\n");
}

TEST_F(AccountFormTest, NewGmsStopAt704584) {
    load("704583\tgm\tp\t-\tM\t0\t0\t\n");
    const std::optional<std::int32_t> id = next_gm_id(ui, table);
    ASSERT_EQ(id, 704584);
    AccountForm form = named(new_account_form(*id, kNewGmLevel), "last");
    form.gm_level = 50;  // "Access 50" means level 50
    ASSERT_EQ(save_new_account(app, ui, table, form, true), EditResult::Saved);
    EXPECT_EQ(table.records.back().gm_level(), 50);
    EXPECT_EQ(dir.read("server/conf/GM_account.txt"), "// GMs\n704554 99\n");
    ASSERT_TRUE(save_account(app, ui, table));  // the GM line comes with the account
    EXPECT_EQ(read_gm_lvl(app, ui, 704584), 50);
    EXPECT_EQ(dir.read("server/conf/GM_account.txt"), "// GMs\n704554 99\n704584 50\n");
    EXPECT_EQ(next_gm_id(ui, table), std::nullopt);
    EXPECT_EQ(ui.messages(), std::vector<std::string>{"Hey! Have'nt you have enough already."});

    // With the defaults the first GM is 704554; a level of 0 is written too.
    load_defaults();
    form = named(new_account_form(*next_gm_id(ui, table), 0), "first");
    ASSERT_EQ(save_new_account(app, ui, table, form, true), EditResult::Saved);
    EXPECT_EQ(table.records.back().account_id(), 704554);
    ASSERT_TRUE(save_account(app, ui, table));
    EXPECT_EQ(read_gm_lvl(app, ui, 704554), 0);
}

TEST_F(AccountFormTest, NameChecksAreCaseSensitive) {
    load_defaults();
    EXPECT_EQ(save_new_account(app, ui, table, player(""), false), EditResult::Refused);
    EXPECT_EQ(save_new_account(app, ui, table, player("x", ""), false), EditResult::Refused);
    EXPECT_EQ(save_new_account(app, ui, table, player("q2"), false), EditResult::Refused);
    EXPECT_EQ(ui.messages(), (std::vector<std::string>{"Please enter username & password.",
                                                       "Please enter username & password.",
                                                       "username is already inuse."}));
    for (const auto& shown : ui.shown()) EXPECT_EQ(shown.title, "Error");
    EXPECT_EQ(table.records.size(), 5u);
    EXPECT_EQ(save_new_account(app, ui, table, player("Q2"), false), EditResult::Saved);

    // Editing: keeping the name passes, taking another account's name does not.
    AccountForm q3 = account_to_form(table.records[2]);
    q3.password = "kept name";
    EXPECT_EQ(save_edited_account(app, ui, table, 2, q3, "q3"), EditResult::Saved);
    EXPECT_EQ(table.records[2].pass(), "kept name");
    q3.username = "q4";
    EXPECT_EQ(save_edited_account(app, ui, table, 2, q3, "q3"), EditResult::Refused);
    EXPECT_EQ(ui.messages().back(), "username is already inuse.");
    EXPECT_EQ(table.records[2].userid(), "q3");
    // The first entry of the list is not edited.
    EXPECT_EQ(save_edited_account(app, ui, table, 0, account_to_form(table.records[0]), "q1"),
              EditResult::Failed);
}

TEST_F(AccountFormTest, FieldsThatCannotBeStoredLeaveTheRecordAlone) {
    load(
        "1\ts\tp\t-\tS\t0\t0\ta@a.com\t-\t0\t-\t-\t0\t\n"
        "2000001\tanna\tpw\t-\tF\t4\t0\tanna@ex.org\t-\t0\t-\tnote\t0\treg,1 \n");
    // Each with a changed memo beside it, which must not be stored either.
    const std::pair<std::string AccountForm::*, const char*> bad[] = {
        {&AccountForm::validity, "soon"},           {&AccountForm::ban, ""},
        {&AccountForm::login_count, "99999999999"}, {&AccountForm::memo, "two\tfields"},
        {&AccountForm::email, "two\tfields"},       {&AccountForm::username, "two\tfields"},
        {&AccountForm::error_msg, "two\tfields"},   {&AccountForm::password, "line\r\nbreak"},
    };
    for (const auto& [field, value] : bad) {
        AccountForm form = account_to_form(table.records[1]);
        form.memo = "changed";
        form.*field = value;
        EXPECT_EQ(save_edited_account(app, ui, table, 1, form, "anna"), EditResult::Failed)
            << value;
    }
    const std::vector<std::string> messages = ui.messages();
    ASSERT_EQ(messages.size(), 8u);
    EXPECT_EQ(messages[0], "Error 13, Type mismatch\r\nin do2-set user accounts");
    EXPECT_EQ(messages[1], "Error 13, Type mismatch\r\nin do2-set user accounts");
    EXPECT_EQ(messages[2], "Error 6, Overflow\r\nin do2-set user accounts");
    EXPECT_EQ(messages[3].rfind("Memo holds a TAB or a line break", 0), 0u) << messages[3];
    EXPECT_EQ(ui.shown()[7].title, "Error");
    EXPECT_FALSE(table.records[1].edited());
    EXPECT_EQ(table.records[1].memo(), "note");
    EXPECT_FALSE(table.modified);

    // A register entry with a blank in it would split into two.
    AccountFields fields = table.records[1].fields();
    fields.regs.push_back("two words,1");
    EXPECT_TRUE(account_fields_problem(fields).has_value());
}

TEST_F(AccountFormTest, GmLevelListKeepsLevelsAsNumbers) {
    const auto texts = [](const std::vector<ListEntry>& entries) {
        std::vector<std::string> t;
        for (const ListEntry& e : entries) t.push_back(e.text);
        return t;
    };
    const std::vector<ListEntry> standard = gm_level_entries(99);
    EXPECT_EQ(texts(standard),
              (std::vector<std::string>{"Access 0", "Access 10", "Access 20", "Access 30",
                                        "Access 40", "Access 50", "Access 60", "Access 70",
                                        "Access 80", "Access 90", "Access 99"}));
    EXPECT_EQ(entry_position(standard, 99), 10);
    EXPECT_EQ(entry_position(standard, 50), 5);
    const std::vector<ListEntry> odd = gm_level_entries(45);
    EXPECT_EQ(odd.size(), 12u);
    EXPECT_EQ(entry_position(odd, 45), 5);
    EXPECT_EQ(odd[5].text, "Access 45");
    EXPECT_EQ(gm_level_entries(150).back().text, "Access 150");
    EXPECT_EQ(status_entries(2).size(), 4u);
    EXPECT_EQ(status_entries(7).back().text, "STATE 7");

    // Saving a GM shown at a level the list does not hold keeps that level; "Access 0" takes
    // the account out of the GM file, so the server no longer gives it the rights.
    dir.write("server/conf/GM_account.txt", "704554-704556 45\n");
    load("704554\ta\tp\t-\tM\t0\t0\t\n704555\tb\tp\t-\tM\t0\t0\t\n");
    AccountForm b = account_to_form(table.records[1]);
    EXPECT_EQ(b.gm_level, 45);
    EXPECT_EQ(save_edited_account(app, ui, table, 1, b, "b"), EditResult::Saved);
    EXPECT_EQ(dir.read("server/conf/GM_account.txt"), "704554-704556 45\n");
    b.gm_level = 0;
    EXPECT_EQ(save_edited_account(app, ui, table, 1, b, "b"), EditResult::Saved);
    EXPECT_EQ(dir.read("server/conf/GM_account.txt"), "704554 45\n704556 45\n");
    EXPECT_EQ(table.records[1].gm_level(), 0);
    EXPECT_EQ(read_gm_lvl(app, ui, 704555), 0);
}

TEST_F(AccountFormTest, DeletionWarnsSelectsAndRecomputesIds) {
    load(
        "0\ts\tp\t-\tS\t0\t0\t\n"
        "704554\tgm\tp\t-\tM\t0\t0\t\n"
        "2000001\tanna\tp\t-\tF\t0\t0\t\n"
        "2000002\tben\tp\t-\tM\t0\t0\t\n");
    ui.answer({false});
    EXPECT_FALSE(confirm_account_deletion(ui, table.records[0]));
    ui.answer({true});
    EXPECT_TRUE(confirm_account_deletion(ui, table.records[1]));
    ui.answer({true});
    EXPECT_TRUE(confirm_account_deletion(ui, table.records[3]));
    ASSERT_EQ(ui.shown().size(), 5u);
    EXPECT_EQ(ui.shown()[0].text,
              "WARNING!!! This is a SERVER account... Please make sure that you REALLY WANTED to "
              "delete this.");
    EXPECT_EQ(ui.shown()[0].icon, Icon::Critical);
    EXPECT_EQ(ui.shown()[1].text, "Are you sure?");
    EXPECT_EQ(ui.shown()[2].text,
              "WARNING!!! This is a GM account... Please make sure that you REALLY WANTED to "
              "delete this.");
    EXPECT_EQ(ui.shown()[4].text, "Are you sure?");  // a player: no warning

    // The last entry: the new last one is selected; the highest ids follow.
    EXPECT_EQ(remove_account(table, 3), 2u);
    EXPECT_EQ(table.highest_player_id, 2000001);
    EXPECT_EQ(remove_account(table, 1), 1u);
    EXPECT_EQ(table.records[1].userid(), "anna");
    EXPECT_EQ(table.highest_gm_id, 704553);
    EXPECT_EQ(remove_account(table, 1), 0u);
    EXPECT_EQ(next_player_id(table), 2000001);
    EXPECT_TRUE(table.modified);
}

TEST_F(AccountFormTest, AnAccountMatchesByNameOrTheDigitsOfItsId) {
    load(
        "0\tserver\tp\t-\tS\t0\t0\t\n"
        "2000001\tAnna\tp\t-\tF\t0\t0\t\n"
        "2000002\tben\tp\t-\tM\t0\t0\t\n"
        "2000003\tjoanna\tp\t-\tF\t0\t0\t\n");
    const auto matching = [this](std::string_view text) {
        std::vector<std::size_t> found;
        for (std::size_t i = 0; i < table.records.size(); ++i) {
            if (account_matches(table.records[i], text)) found.push_back(i);
        }
        return found;
    };
    using Indexes = std::vector<std::size_t>;
    EXPECT_EQ(matching("ANNA"), Indexes({1, 3}));
    EXPECT_EQ(matching(" 2000002 "), Indexes({2}));
    EXPECT_EQ(matching("0003"), Indexes({3}));        // digits the id holds
    EXPECT_EQ(matching("0"), Indexes({0, 1, 2, 3}));  // every id holds a 0
    EXPECT_EQ(matching("zed"), Indexes{});
    EXPECT_EQ(matching(""), Indexes{});
    EXPECT_EQ(index_of_account(table, 2000003), 3u);
    EXPECT_EQ(index_of_account(table, 5), std::nullopt);
}

}  // namespace
}  // namespace tavo
