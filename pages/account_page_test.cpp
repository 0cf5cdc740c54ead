#include "pages/account_page.h"

#include <gtest/gtest.h>

#include <functional>

#include "testsupport/scripted_ui.h"
#include "testsupport/temp_dir.h"
#include "workspace/workspace.h"

namespace tavo {
namespace {

using testing::ScriptedUi;
using testing::TempDir;

constexpr char kLongForm[] =
    "0\tserver\tpw\t-\tS\t0\t0\ta@a.com\t-\t0\t-\t-\t0\t\r\n"
    "2000001\tanna\tpw\t-\tF\t3\t0\tanna@example.org\t-\t0\t-\tnote\t0\t\r\n"
    "2000002\tben\tpw\t-\tM\t0\t0\ta@a.com\t-\t0\t-\t-\t0\t\r\n"
    "2000003\t%newid%\r\n";
constexpr char kOldForm[] = "0\tserver\tpw\t-\tS\t0\t0\r\n2000001\tanna\tpw\t-\tF\t3\t0\r\n";

struct AccountPageObject : ::testing::Test {
    AccountPageObject() {
        dir.make_server("server");
        ws.app.settings.data_folder = (dir.path() / "server").string() + "/";
        dir.write("server/conf/GM_account.txt", "// GMs\n");
    }
    void load(std::string_view accounts) {
        file = accounts;
        dir.write("server/save/account.txt", accounts);
        ASSERT_TRUE(ws.accounts.load(ui));
        page.table_reloaded();
    }
    // Changes the form as typing into the window would.
    void type(const std::function<void(AccountForm&)>& change) {
        AccountForm form = page.form();
        change(form);
        page.set_form(form);
    }
    // Types into a field, then presses the button.
    EditResult type_and_press(AccountButton button, AccountField field, std::string text) {
        page.type_field(field, std::move(text));
        return page.press(button).result;
    }
    // "New Player" or "New GM" with a name and a password typed, then the same button again.
    EditResult make_account(AccountButton button, const char* name) {
        page.press(button);
        type([&](AccountForm& form) { form.username = name, form.password = "pw"; });
        return page.press(button).result;
    }
    std::string account_file() const { return dir.read("server/save/account.txt"); }

    TempDir dir;
    ScriptedUi ui;
    Workspace ws;
    AccountPage page{ws, ui};
    std::string file;
};

TEST_F(AccountPageObject, ModesDecideCaptionsButtonsFieldsAndLists) {
    load(kLongForm);
    page.select(0);
    EXPECT_EQ(page.mode(), AccountMode::Browse);
    EXPECT_FALSE(page.offered(AccountButton::EditRecord));  // the first entry is not edited
    EXPECT_TRUE(page.offered(AccountButton::Delete));
    EXPECT_FALSE(page.field_unlocked(AccountField::Username));

    page.select(1);
    EXPECT_EQ(page.form().username, "anna");
    page.press(AccountButton::EditRecord);
    EXPECT_EQ(page.mode(), AccountMode::Edit);
    EXPECT_EQ(page.caption(AccountButton::EditRecord), "Save Record");
    for (AccountButton off :
         {AccountButton::NewPlayer, AccountButton::NewGm, AccountButton::Delete}) {
        EXPECT_FALSE(page.offered(off));
    }
    EXPECT_TRUE(page.field_unlocked(AccountField::Memo));
    EXPECT_FALSE(page.field_unlocked(AccountField::UserId));  // the program fills it
    EXPECT_TRUE(page.list_enabled(AccountList::GmLevel));
    page.press(AccountButton::Cancel);
    EXPECT_EQ(page.mode(), AccountMode::Browse);
    EXPECT_EQ(page.caption(AccountButton::EditRecord), "Edit Record");

    page.press(AccountButton::NewPlayer);
    EXPECT_EQ(page.caption(AccountButton::NewPlayer), "Save Player");
    EXPECT_EQ(page.form().user_id, "2000003");
    EXPECT_TRUE(page.list_enabled(AccountList::Sex));
    EXPECT_FALSE(page.list_enabled(AccountList::GmLevel));
    // A missing name is refused and the mode stays for a correction.
    EXPECT_EQ(page.press(AccountButton::NewPlayer).result, EditResult::Refused);
    EXPECT_EQ(page.mode(), AccountMode::NewPlayer);
    EXPECT_EQ(ui.messages(), std::vector<std::string>{"Please enter username & password."});
}

TEST_F(AccountPageObject, NoFreeGmIdOffersOnlyNewGmAndCancel) {
    load("704584\tlast\tpw\t-\tM\t0\t0\r\n");
    page.select(0);
    EXPECT_EQ(page.press(AccountButton::NewGm).result, EditResult::Failed);
    EXPECT_EQ(ui.messages(), std::vector<std::string>{"Hey! Have'nt you have enough already."});
    EXPECT_EQ(page.mode(), AccountMode::NoGmId);
    EXPECT_EQ(page.caption(AccountButton::NewGm), "New GM");
    for (AccountButton off :
         {AccountButton::NewPlayer, AccountButton::EditRecord, AccountButton::Delete}) {
        EXPECT_FALSE(page.offered(off));
    }
    page.press(AccountButton::Cancel);
    EXPECT_TRUE(page.offered(AccountButton::NewPlayer));
}

TEST_F(AccountPageObject, OverLongChangedFieldsAreRefusedAndNothingIsStoredButReadOnesKept) {
    load(kLongForm);
    const struct {
        AccountField field;
        std::size_t limit;
        const char* message;
    } limits[] = {
        {AccountField::Username, 23, "Username takes at most 23 characters."},
        {AccountField::Password, 23, "Password takes at most 23 characters."},
        {AccountField::Email, 39, "E-mail takes at most 39 characters."},
        {AccountField::ErrorMsg, 19, "Error Msg takes at most 19 characters."},
        {AccountField::Memo, 254, "Memo takes at most 254 characters."},
    };
    for (const auto& limit : limits) {
        SCOPED_TRACE(limit.message);
        page.select(1);
        page.press(AccountButton::EditRecord);
        EXPECT_EQ(type_and_press(AccountButton::EditRecord, limit.field,
                                 std::string(limit.limit + 1, 'x')),
                  EditResult::Failed);
        EXPECT_EQ(ui.messages(), std::vector<std::string>{limit.message});
        EXPECT_EQ(page.mode(), AccountMode::Edit);  // what was typed stays for a correction
        EXPECT_EQ(*form_text(page.form(), limit.field), std::string(limit.limit + 1, 'x'));
        EXPECT_NE(*form_text(account_to_form(ws.accounts.table().records[1]), limit.field),
                  std::string(limit.limit + 1, 'x'));
        ui.clear();
        // Exactly the limit fits.
        EXPECT_EQ(
            type_and_press(AccountButton::EditRecord, limit.field, std::string(limit.limit, 'y')),
            EditResult::Saved);
        EXPECT_EQ(*form_text(page.form(), limit.field), std::string(limit.limit, 'y'));
    }
    // New accounts are held to the same limits.
    page.press(AccountButton::NewPlayer);
    type([](AccountForm& form) { form.username = "carl", form.password = std::string(24, 'p'); });
    EXPECT_EQ(page.press(AccountButton::NewPlayer).result, EditResult::Failed);
    EXPECT_EQ(ui.messages(), std::vector<std::string>{"Password takes at most 23 characters."});

    // A value past its limit read from the file is kept when other fields change.
    load(
        "0\tserver\tpw\t-\tS\t0\t0\ta@a.com\t-\t0\t-\t-\t0\t\r\n"
        "2000001\tan_account_name_of_thirty_\tpw\t-\tF\t3\t0\ta@a.com\t-\t0\t-\t-\t0\t\r\n");
    page.select(1);
    page.press(AccountButton::EditRecord);
    EXPECT_EQ(type_and_press(AccountButton::EditRecord, AccountField::Memo, "moved"),
              EditResult::Saved);
    EXPECT_EQ(ws.accounts.table().records[1].userid(), "an_account_name_of_thirty_");
}

TEST_F(AccountPageObject, FieldsAnOldFileLacksAreLockedAndTheirChangesRefused) {
    load(kOldForm);
    page.select(1);
    page.press(AccountButton::EditRecord);
    EXPECT_TRUE(page.field_unlocked(AccountField::Password));
    for (AccountField field : {AccountField::Email, AccountField::ErrorMsg, AccountField::Memo,
                               AccountField::Validity, AccountField::Ban}) {
        EXPECT_FALSE(page.field_unlocked(field));
    }
    EXPECT_EQ(type_and_press(AccountButton::EditRecord, AccountField::Email, "anna@example.org"),
              EditResult::Failed);
    EXPECT_EQ(ui.messages(),
              std::vector<std::string>{"E-mail cannot be changed: the account file of this server "
                                       "(817 Text) has no such field, so the server would lose "
                                       "it."});
    ui.clear();
    EXPECT_FALSE(ws.accounts.modified());
    // A new player's untouched defaults pass; the file keeps its 7-field lines.
    page.press(AccountButton::Cancel);
    ASSERT_EQ(make_account(AccountButton::NewPlayer, "carl"), EditResult::Saved);
    ASSERT_EQ(page.press(AccountButton::SaveFile).result, EditResult::Saved);
    EXPECT_NE(account_file().find("\r\n2000002\tcarl\tpw\t-\tM\t0\t0\r\n"), std::string::npos);
}

TEST_F(AccountPageObject, TheUnsavedFlagFollowsTheTableAndIsObserved) {
    load(kLongForm);
    std::vector<bool> heard;
    ws.accounts.observe_modified([&heard](bool unsaved) { heard.push_back(unsaved); });
    page.select(2);
    page.press(AccountButton::EditRecord);
    EXPECT_FALSE(page.offered(AccountButton::SaveFile));
    ASSERT_EQ(type_and_press(AccountButton::EditRecord, AccountField::Memo, "moved"),
              EditResult::Saved);
    EXPECT_TRUE(ws.accounts.modified());
    EXPECT_TRUE(page.offered(AccountButton::SaveFile));
    EXPECT_EQ(account_file(), file);  // nothing written before "Save File"
    const AccountOutcome saved = page.press(AccountButton::SaveFile);
    ASSERT_EQ(saved.result, EditResult::Saved);
    EXPECT_EQ(saved.status, "Saved save/account.txt: 3 accounts");
    EXPECT_FALSE(ws.accounts.modified());
    EXPECT_NE(account_file().find("\tmoved\t"), std::string::npos);
    EXPECT_EQ(heard, (std::vector<bool>{true, false}));

    // A deletion reaches the file at once, so nothing is left unsaved; the next account is
    // chosen, and the press says which row went and which to choose.
    const std::string name(ws.accounts.table().records[*page.selection()].userid());
    ui.answer({true});
    const AccountOutcome removed = page.press(AccountButton::Delete);
    EXPECT_EQ(removed.list, AccountListChange::Removed);
    EXPECT_EQ(removed.removed_row, 2u);
    EXPECT_EQ(removed.row, std::optional<std::size_t>(1));
    EXPECT_EQ(page.selection(), std::optional<std::size_t>(1));
    EXPECT_FALSE(ws.accounts.modified());
    EXPECT_EQ(account_file().find("\t" + name + "\t"), std::string::npos);
}

TEST_F(AccountPageObject, ANewGmLevelReachesTheGmFileWithItsAccountOnly) {
    load(kLongForm);
    const auto gm_file = [this] { return dir.read("server/conf/GM_account.txt"); };
    ASSERT_EQ(make_account(AccountButton::NewGm, "gwen"), EditResult::Saved);
    EXPECT_EQ(gm_file(), "// GMs\n");  // a discard now leaves the GM file as it was
    // A level changed before the save is the one written.
    page.press(AccountButton::EditRecord);
    type([](AccountForm& form) { form.gm_level = 40; });
    ASSERT_EQ(page.press(AccountButton::EditRecord).result, EditResult::Saved);
    EXPECT_EQ(gm_file(), "// GMs\n");
    ASSERT_EQ(page.press(AccountButton::SaveFile).result, EditResult::Saved);
    EXPECT_EQ(gm_file(), "// GMs\n704554 40\n");
    EXPECT_NE(account_file().find("704554\tgwen\t"), std::string::npos);
    // Once on disk, a level change is written at once.
    page.press(AccountButton::EditRecord);
    type([](AccountForm& form) { form.gm_level = 60; });
    ASSERT_EQ(page.press(AccountButton::EditRecord).result, EditResult::Saved);
    EXPECT_EQ(gm_file(), "// GMs\n704554 60\n");
}

TEST_F(AccountPageObject, TypedValuesAskBeforeTheyAreThrownAway) {
    load(kLongForm);
    page.select(2);
    page.press(AccountButton::EditRecord);
    EXPECT_FALSE(page.typing());
    EXPECT_TRUE(page.may_discard_typing());  // nothing typed: no question
    type([](AccountForm& form) { form.memo = "typed"; });
    EXPECT_TRUE(page.typing());
    ui.answer({false});
    EXPECT_FALSE(page.may_discard_typing());
    EXPECT_EQ(ui.questions(), std::vector<std::string>{kDiscardChangesQuestion});
    ui.clear();
    EXPECT_EQ(page.form().memo, "typed");  // No keeps them
    // "Save File" with a typed form (another account's edit pending): No writes nothing.
    page.press(AccountButton::Cancel);
    page.press(AccountButton::EditRecord);
    ASSERT_EQ(type_and_press(AccountButton::EditRecord, AccountField::Memo, "typed"),
              EditResult::Saved);
    page.press(AccountButton::NewPlayer);
    type([](AccountForm& form) { form.username = "half"; });
    ui.answer({false});
    EXPECT_EQ(page.press(AccountButton::SaveFile).result, EditResult::Refused);
    EXPECT_EQ(account_file(), file);
    EXPECT_EQ(page.mode(), AccountMode::NewPlayer);
    // Yes drops the typed player and writes the rest.
    ui.answer({true});
    EXPECT_EQ(page.press(AccountButton::SaveFile).result, EditResult::Saved);
    ui.clear();
    EXPECT_EQ(account_file().find("half"), std::string::npos);
    EXPECT_NE(account_file().find("\ttyped\t"), std::string::npos);
}

}  // namespace
}  // namespace tavo
