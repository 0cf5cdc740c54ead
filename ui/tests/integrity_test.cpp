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
};

}  // namespace

QTEST_MAIN(IntegrityTest)
#include "integrity_test.moc"
