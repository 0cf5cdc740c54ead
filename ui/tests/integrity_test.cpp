// The window against other writers: a save after account.txt or athena.txt changed on disk asks
// about the account or character both changed, and "Check Files" lists the folder's problems.

#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

#include "ui/check_files_dialog.h"
#include "ui/tests/widget_fixture.h"

using tavo::testing::WidgetFixture;

namespace {

std::string accounts(int ben_logins) {
    return "0\tserver\tpw\t-\tS\t0\t0\ta@a.com\t-\t0\t-\t-\t0\t\n"
           "2000001\tanna\tpw\t-\tF\t3\t0\ta@a.com\t-\t0\t-\t-\t0\t\n"
           "2000002\tben\tpw\t-\tM\t" +
           std::to_string(ben_logins) + "\t0\ta@a.com\t-\t0\t-\t-\t0\t\n2000003\t%newid%\n";
}

struct Window {
    explicit Window(WidgetFixture& f) : form(f.open_window()) {
        form.show();
        list = form.findChild<QListView*>("List1");
    }
    QPushButton* button(const QString& name) const { return form.findChild<QPushButton*>(name); }
    void edit_memo(int row, const QString& memo) const {
        const QRect rect = list->visualRect(list->model()->index(row, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
        button("Command2_2")->click();  // "Edit Record"
        QLineEdit* field = form.findChild<QLineEdit*>("Text2_10");
        field->clear();
        QTest::keyClicks(field, memo);
        button("Command2_2")->click();  // "Save Record"
    }

    tavo::ui::Form1& form;
    QListView* list;
};

class IntegrityTest : public QObject {
    Q_OBJECT
private slots:
    void a_record_changed_on_disk_too_is_asked_about() {
        WidgetFixture f;
        f.dir.write("server/save/account.txt", accounts(0));
        Window w(f);
        w.edit_memo(2, "from the editor");
        f.dir.write("server/save/account.txt", accounts(17));  // the server saved meanwhile
        f.ui.answer({true});                                   // keep the version on disk
        w.button("Command2_4")->click();                       // "Save File"
        QCOMPARE(f.ui.questions().back(),
                 std::string("Account 2000002 (ben) was changed on disk since it was read. Keep "
                             "the version on disk?"));
        QVERIFY(f.dir.read("server/save/account.txt").ends_with(accounts(17)));  // below the header
    }

    // The Yes side; the core tests hold the No side.
    void a_character_changed_on_disk_too_is_asked_about() {
        WidgetFixture f;
        f.use_demo();
        tavo::ui::Form1& form = f.open_window();
        form.select_account(13);  // Kaelen's account: character 150000 is shown
        auto* save = form.findChild<QPushButton*>("Command4_4");
        f.ws.characters.current().name = "Kael";  // as an edit of the character does
        f.ws.characters.mark_modified();
        // The char server saved meanwhile: Kaelen's zeny changed.
        std::string text = f.dir.read("server/save/athena.txt");
        const std::size_t zeny = text.find("\t19840233,1500876,", text.find("150000\t")) + 18;
        text.replace(zeny, text.find('\t', zeny) - zeny, "7777777");
        f.dir.write("server/save/athena.txt", text);
        f.ui.answer({true});  // keep the version on disk
        save->click();
        QCOMPARE(f.ui.questions(),
                 std::vector<std::string>{"Character 150000 (Kaelen) was changed on disk since it "
                                          "was read. Keep the version on disk?"});
        QCOMPARE(f.dir.read("server/save/athena.txt"), text);
        QCOMPARE(f.ws.characters.current().name, std::string("Kaelen"));  // the page shows the file
        QVERIFY(!save->isEnabled());
    }

    void check_files_lists_the_problems_in_a_copyable_window() {
        WidgetFixture f;
        f.dir.write("server/conf/GM_account.txt", "// GM accounts\n704599 50\n");
        Window w(f);
        QPushButton* command = w.button("Command8_1");
        QCOMPARE(command->text(), QString("Check Files"));
        command->click();
        auto* dialog = w.form.findChild<tavo::ui::CheckFilesDialog*>("CheckFiles");
        QVERIFY(dialog != nullptr && dialog->isVisible());
        auto* lines = dialog->findChild<QPlainTextEdit*>("CheckList");
        auto* notes = dialog->findChild<QPlainTextEdit*>("CheckNotes");
        QVERIFY(lines->isReadOnly());
        QVERIFY(lines->textInteractionFlags() & Qt::TextSelectableByKeyboard);
        // An id kept for a GM account made later harms nothing: a note, apart from the problems.
        QVERIFY(notes->isVisible());
        QVERIFY(notes->toPlainText().startsWith(
            "conf/GM_account.txt:2: Note: Account 704599 has a GM level but is not in "
            "save/account.txt yet"));
        QVERIFY(!lines->toPlainText().contains("704599"));
        auto* summary = dialog->findChild<QLabel*>("CheckSummary");
        QVERIFY2(summary->text().contains(" problem(s), 1 note(s) found in "),
                 qPrintable(summary->text()));
    }

    // "Fix…" asks the question of tavo-cli check --fix: No leaves the file as it was, Yes makes
    // the repair with a backup. A double-click chooses a finding's store, or says why not.
    void check_files_fixes_after_its_question_and_chooses_a_findings_store() {
        WidgetFixture f;
        const std::string stores =
            "2000001,1\t1,501,3,0,1,0,0,0,0,0,0 \t\r\n"
            "2000009,1\t1,501,2,0,1,0,0,0,0,0,0 \t\r\n"
            "2000002,1\t1,501,1,0,1,0,0,0,0,0,0 \t\r\n"
            "2000002,1\t1,501,4,0,1,0,0,0,0,0,0 \t\r\n";
        f.dir.write("server/save/storage.txt", stores);
        Window w(f);
        w.button("Command8_1")->click();
        auto* dialog = w.form.findChild<tavo::ui::CheckFilesDialog*>("CheckFiles");
        QVERIFY(dialog->fix_button()->isEnabled());

        dialog->finding_chosen(0, false);  // the store of the missing account 2000009
        QCOMPARE(f.ui.messages(), std::vector<std::string>{"Account 2000009 is not in "
                                                           "save/account.txt: there is nothing to "
                                                           "choose."});
        dialog->finding_chosen(1, false);  // ben's second store
        QCOMPARE(w.form.tabs()->currentIndex(), 2);
        QCOMPARE(w.form.pages().accounts.selection(), std::optional<std::size_t>(2));
        f.ui.clear();

        f.ui.answer({false});
        dialog->fix_button()->click();
        QCOMPARE(f.ui.questions().size(), std::size_t(1));
        QVERIFY(f.ui.questions()[0].find("2000009") != std::string::npos);
        QCOMPARE(f.dir.read("server/save/storage.txt"), stores);
        QVERIFY(!std::filesystem::exists(f.server() / "save/storage.bak.txt"));

        f.ui.clear();
        f.ui.answer({true});
        dialog->fix_button()->click();
        f.ui.clear();
        QVERIFY(f.dir.read("server/save/storage.txt").find("2000009") == std::string::npos);
        QCOMPARE(f.dir.read("server/save/storage.bak.txt"), stores);
        auto* lines = dialog->findChild<QPlainTextEdit*>("CheckList");
        QVERIFY(!lines->toPlainText().contains("2000009"));
        QVERIFY(lines->toPlainText().contains("2000002"));  // the doubled store stays, unrepaired
        QVERIFY(!dialog->fix_button()->isEnabled());
    }
};

}  // namespace

QTEST_MAIN(IntegrityTest)
#include "integrity_test.moc"
