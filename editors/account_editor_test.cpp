#include "editors/account_editor.h"

#include <gtest/gtest.h>

#include <functional>

#include "accounts/account_read.h"
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

struct AccountEditorObject : ::testing::Test {
    AccountEditorObject() {
        dir.make_server("server");
        ws.app.settings.data_folder = (dir.path() / "server").string() + "/";
        dir.write("server/conf/GM_account.txt", "// GMs\n");
    }
    void load(std::string_view accounts) {
        file = accounts;
        dir.write("server/save/account.txt", accounts);
        ASSERT_TRUE(load_account(ws.app, ui, ws.accounts));
        editor.table_reloaded();
    }
    // Changes the form as typing into the window would.
    void type(const std::function<void(AccountForm&)>& change) {
        AccountForm form = editor.form();
        change(form);
        editor.set_form(form);
    }
    // Types into a field, then presses the button.
    EditResult type_and_press(AccountButton button, AccountField field, std::string text) {
        type([&](AccountForm& form) { *form_text(form, field) = std::move(text); });
        return editor.press(button);
    }
    // "New Player" or "New GM" with a name and a password typed, then the same button again.
    EditResult make_account(AccountButton button, const char* name) {
        editor.press(button);
        type([&](AccountForm& form) { form.username = name, form.password = "pw"; });
        return editor.press(button);
    }
    std::string account_file() const { return dir.read("server/save/account.txt"); }

    TempDir dir;
    ScriptedUi ui;
    Workspace ws;
    AccountEditor editor{ws, ui};
    std::string file;
};

TEST_F(AccountEditorObject, ModesDecideCaptionsButtonsFieldsAndLists) {
    load(kLongForm);
    editor.select(0);
    EXPECT_EQ(editor.mode(), AccountMode::Browse);
    EXPECT_FALSE(editor.offered(AccountButton::EditRecord));  // the first entry is not edited
    EXPECT_TRUE(editor.offered(AccountButton::Delete));
    EXPECT_FALSE(editor.field_unlocked(AccountField::Username));

    editor.select(1);
    EXPECT_EQ(editor.form().username, "anna");
    editor.press(AccountButton::EditRecord);
    EXPECT_EQ(editor.mode(), AccountMode::Edit);
    EXPECT_EQ(editor.caption(AccountButton::EditRecord), "Save Record");
    for (AccountButton off :
         {AccountButton::NewPlayer, AccountButton::NewGm, AccountButton::Delete}) {
        EXPECT_FALSE(editor.offered(off));
    }
    EXPECT_TRUE(editor.field_unlocked(AccountField::Memo));
    EXPECT_FALSE(editor.field_unlocked(AccountField::UserId));  // the program fills it
    EXPECT_TRUE(editor.list_enabled(AccountList::GmLevel));
    editor.press(AccountButton::Cancel);
    EXPECT_EQ(editor.mode(), AccountMode::Browse);
    EXPECT_EQ(editor.caption(AccountButton::EditRecord), "Edit Record");

    editor.press(AccountButton::NewPlayer);
    EXPECT_EQ(editor.caption(AccountButton::NewPlayer), "Save Player");
    EXPECT_EQ(editor.form().user_id, "2000003");
    EXPECT_TRUE(editor.list_enabled(AccountList::Sex));
    EXPECT_FALSE(editor.list_enabled(AccountList::GmLevel));
    // A missing name is refused and the mode stays for a correction.
    EXPECT_EQ(editor.press(AccountButton::NewPlayer), EditResult::Refused);
    EXPECT_EQ(editor.mode(), AccountMode::NewPlayer);
    EXPECT_EQ(ui.messages(), std::vector<std::string>{"Please enter username & password."});
}

TEST_F(AccountEditorObject, NoFreeGmIdOffersOnlyNewGmAndCancel) {
    load("704584\tlast\tpw\t-\tM\t0\t0\r\n");
    editor.select(0);
    EXPECT_EQ(editor.press(AccountButton::NewGm), EditResult::Failed);
    EXPECT_EQ(ui.messages(), std::vector<std::string>{"Hey! Have'nt you have enough already."});
    EXPECT_EQ(editor.mode(), AccountMode::NoGmId);
    EXPECT_EQ(editor.caption(AccountButton::NewGm), "New GM");
    for (AccountButton off :
         {AccountButton::NewPlayer, AccountButton::EditRecord, AccountButton::Delete}) {
        EXPECT_FALSE(editor.offered(off));
    }
    editor.press(AccountButton::Cancel);
    EXPECT_TRUE(editor.offered(AccountButton::NewPlayer));
}

TEST_F(AccountEditorObject, OverLongChangedFieldsAreRefusedAndNothingIsStoredButReadOnesKept) {
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
        editor.select(1);
        editor.press(AccountButton::EditRecord);
        EXPECT_EQ(type_and_press(AccountButton::EditRecord, limit.field,
                                 std::string(limit.limit + 1, 'x')),
                  EditResult::Failed);
        EXPECT_EQ(ui.messages(), std::vector<std::string>{limit.message});
        EXPECT_EQ(editor.mode(), AccountMode::Edit);  // what was typed stays for a correction
        EXPECT_EQ(*form_text(editor.form(), limit.field), std::string(limit.limit + 1, 'x'));
        EXPECT_NE(*form_text(account_to_form(ws.accounts.records[1]), limit.field),
                  std::string(limit.limit + 1, 'x'));
        ui.clear();
        // Exactly the limit fits.
        EXPECT_EQ(
            type_and_press(AccountButton::EditRecord, limit.field, std::string(limit.limit, 'y')),
            EditResult::Saved);
        EXPECT_EQ(*form_text(editor.form(), limit.field), std::string(limit.limit, 'y'));
    }
    // New accounts are held to the same limits.
    editor.press(AccountButton::NewPlayer);
    type([](AccountForm& form) { form.username = "carl", form.password = std::string(24, 'p'); });
    EXPECT_EQ(editor.press(AccountButton::NewPlayer), EditResult::Failed);
    EXPECT_EQ(ui.messages(), std::vector<std::string>{"Password takes at most 23 characters."});

    // A value past its limit read from the file is kept when other fields change.
    load(
        "0\tserver\tpw\t-\tS\t0\t0\ta@a.com\t-\t0\t-\t-\t0\t\r\n"
        "2000001\tan_account_name_of_thirty_\tpw\t-\tF\t3\t0\ta@a.com\t-\t0\t-\t-\t0\t\r\n");
    editor.select(1);
    editor.press(AccountButton::EditRecord);
    EXPECT_EQ(type_and_press(AccountButton::EditRecord, AccountField::Memo, "moved"),
              EditResult::Saved);
    EXPECT_EQ(ws.accounts.records[1].userid(), "an_account_name_of_thirty_");
}

TEST_F(AccountEditorObject, FieldsAnOldFileLacksAreLockedAndTheirChangesRefused) {
    load(kOldForm);
    editor.select(1);
    editor.press(AccountButton::EditRecord);
    EXPECT_TRUE(editor.field_unlocked(AccountField::Password));
    for (AccountField field : {AccountField::Email, AccountField::ErrorMsg, AccountField::Memo,
                               AccountField::Validity, AccountField::Ban}) {
        EXPECT_FALSE(editor.field_unlocked(field));
    }
    EXPECT_EQ(type_and_press(AccountButton::EditRecord, AccountField::Email, "anna@example.org"),
              EditResult::Failed);
    EXPECT_EQ(ui.messages(),
              std::vector<std::string>{"E-mail cannot be changed: the account file of this server "
                                       "(817 Text) has no such field, so the server would lose "
                                       "it."});
    ui.clear();
    EXPECT_FALSE(editor.unsaved().get());
    // A new player's untouched defaults pass; the file keeps its 7-field lines.
    editor.press(AccountButton::Cancel);
    ASSERT_EQ(make_account(AccountButton::NewPlayer, "carl"), EditResult::Saved);
    ASSERT_EQ(editor.press(AccountButton::SaveFile), EditResult::Saved);
    EXPECT_NE(account_file().find("\r\n2000002\tcarl\tpw\t-\tM\t0\t0\r\n"), std::string::npos);
}

TEST_F(AccountEditorObject, TheUnsavedFlagFollowsTheTableAndIsObserved) {
    load(kLongForm);
    std::vector<bool> heard;
    editor.unsaved().observe([&heard](bool unsaved) { heard.push_back(unsaved); });
    editor.select(2);
    editor.press(AccountButton::EditRecord);
    EXPECT_FALSE(editor.offered(AccountButton::SaveFile));
    ASSERT_EQ(type_and_press(AccountButton::EditRecord, AccountField::Memo, "moved"),
              EditResult::Saved);
    EXPECT_TRUE(editor.unsaved().get());
    EXPECT_TRUE(editor.offered(AccountButton::SaveFile));
    EXPECT_EQ(account_file(), file);  // nothing written before "Save File"
    ASSERT_EQ(editor.press(AccountButton::SaveFile), EditResult::Saved);
    EXPECT_FALSE(editor.unsaved().get());
    EXPECT_NE(account_file().find("\tmoved\t"), std::string::npos);
    EXPECT_EQ(heard, (std::vector<bool>{true, false}));

    // A deletion reaches the file at once, so nothing is left unsaved; the next account is
    // chosen.
    const std::string name(ws.accounts.records[*editor.selection()].userid());
    ui.answer({true});
    EXPECT_EQ(editor.delete_chosen(), std::optional<std::size_t>(1));
    EXPECT_EQ(editor.selection(), std::optional<std::size_t>(1));
    EXPECT_FALSE(editor.unsaved().get());
    EXPECT_EQ(account_file().find("\t" + name + "\t"), std::string::npos);
}

TEST_F(AccountEditorObject, ANewGmLevelReachesTheGmFileWithItsAccountOnly) {
    load(kLongForm);
    const auto gm_file = [this] { return dir.read("server/conf/GM_account.txt"); };
    ASSERT_EQ(make_account(AccountButton::NewGm, "gwen"), EditResult::Saved);
    EXPECT_EQ(gm_file(), "// GMs\n");  // a discard now leaves the GM file as it was
    // A level changed before the save is the one written.
    editor.press(AccountButton::EditRecord);
    type([](AccountForm& form) { form.gm_level = 40; });
    ASSERT_EQ(editor.press(AccountButton::EditRecord), EditResult::Saved);
    EXPECT_EQ(gm_file(), "// GMs\n");
    ASSERT_EQ(editor.press(AccountButton::SaveFile), EditResult::Saved);
    EXPECT_EQ(gm_file(), "// GMs\n704554 40\n");
    EXPECT_NE(account_file().find("704554\tgwen\t"), std::string::npos);
    // Once on disk, a level change is written at once.
    editor.press(AccountButton::EditRecord);
    type([](AccountForm& form) { form.gm_level = 60; });
    ASSERT_EQ(editor.press(AccountButton::EditRecord), EditResult::Saved);
    EXPECT_EQ(gm_file(), "// GMs\n704554 60\n");
}

TEST_F(AccountEditorObject, TypedValuesAskBeforeTheyAreThrownAway) {
    load(kLongForm);
    editor.select(2);
    editor.press(AccountButton::EditRecord);
    EXPECT_FALSE(editor.typing());
    EXPECT_TRUE(editor.may_discard_typing());  // nothing typed: no question
    type([](AccountForm& form) { form.memo = "typed"; });
    EXPECT_TRUE(editor.typing());
    ui.answer({false});
    EXPECT_FALSE(editor.may_discard_typing());
    EXPECT_EQ(ui.questions(), std::vector<std::string>{kDiscardChangesQuestion});
    ui.clear();
    EXPECT_EQ(editor.form().memo, "typed");  // No keeps them
    // "Save File" with a typed form (another account's edit pending): No writes nothing.
    editor.press(AccountButton::Cancel);
    editor.press(AccountButton::EditRecord);
    ASSERT_EQ(type_and_press(AccountButton::EditRecord, AccountField::Memo, "typed"),
              EditResult::Saved);
    editor.press(AccountButton::NewPlayer);
    type([](AccountForm& form) { form.username = "half"; });
    ui.answer({false});
    EXPECT_EQ(editor.press(AccountButton::SaveFile), EditResult::Refused);
    EXPECT_EQ(account_file(), file);
    EXPECT_EQ(editor.mode(), AccountMode::NewPlayer);
    // Yes drops the typed player and writes the rest.
    ui.answer({true});
    EXPECT_EQ(editor.press(AccountButton::SaveFile), EditResult::Saved);
    ui.clear();
    EXPECT_EQ(account_file().find("half"), std::string::npos);
    EXPECT_NE(account_file().find("\ttyped\t"), std::string::npos);
}

}  // namespace
}  // namespace tavo
