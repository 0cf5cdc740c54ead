#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QtTest>

#include "app/text.h"
#include "editors/account_editor.h"
#include "ui/tests/widget_fixture.h"

using tavo::testing::WidgetFixture;

namespace {

// The "User Info" tab and List1 of a window opened on the fixture's server.
struct Tab {
    explicit Tab(WidgetFixture& f) : f(f), form(f.open_window()) {
        form.show();
        list = form.findChild<QListView*>("List1");
    }
    QPushButton* button(int i) const {
        return form.findChild<QPushButton*>(QString("Command2_%1").arg(i));
    }
    QLineEdit* text(int i) const { return form.findChild<QLineEdit*>(QString("Text2_%1").arg(i)); }
    QComboBox* combo(int i) const {
        return form.findChild<QComboBox*>(QString("Combo1_%1").arg(i));
    }
    int rows() const { return list->model()->rowCount(); }
    int selected() const { return list->currentIndex().row(); }
    QString entry(int row) const { return list->model()->index(row, 0).data().toString(); }
    void click_row(int row) const {
        const QRect rect = list->visualRect(list->model()->index(row, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    }
    void type(int field, const QString& what) const {
        text(field)->clear();
        QTest::keyClicks(text(field), what);
    }
    std::vector<std::string> account_lines() const {
        std::vector<std::string> lines;
        const std::string file = f.dir.read("server/save/account.txt");
        for (std::string_view line : tavo::split(file, '\n')) {
            if (!line.empty() && !line.starts_with("//")) lines.emplace_back(line);
        }
        return lines;
    }

    WidgetFixture& f;
    tavo::ui::Form1& form;
    QListView* list;
};

const char kAccounts[] =
    "0\tserver\tpw\t-\tS\t0\t0\ta@a.com\t-\t0\t-\t-\t0\t\r\n"
    "704554\tadmin\tpw\t-\tM\t0\t0\ta@a.com\t-\t0\t-\t-\t0\t\r\n"
    "704555\thelper\tpw\t-\tF\t0\t0\ta@a.com\t-\t0\t-\t-\t0\t\r\n"
    "2000001\tanna\tpw\t-\tF\t3\t0\tanna@example.org\t-\t0\t10.0.0.1\tnote\t0\tquest,2 \r\n"
    "2000002\tben\tpw\t-\tM\t0\t0\ta@a.com\t-\t0\t-\t-\t0\t\r\n"
    "2000003\t%newid%\r\n";

}  // namespace

class UserInfoTabTest : public QObject {
    Q_OBJECT
private slots:
    void new_player_is_checked_listed_and_saved() {
        WidgetFixture f;
        f.dir.write("server/save/account.txt", kAccounts);
        Tab tab(f);
        QCOMPARE(tab.selected(), 0);
        QCOMPARE(tab.text(1)->text(), QString("server"));
        QVERIFY(tab.text(1)->isReadOnly());
        QVERIFY(!tab.button(2)->isEnabled());  // the first entry is not edited

        tab.button(0)->click();
        QCOMPARE(tab.button(0)->text(), QString("Save Player"));
        QCOMPARE(tab.text(0)->text(), QString("2000003"));
        QCOMPARE(tab.text(8)->text(), QString("a@a.com"));
        QCOMPARE(tab.text(3)->text(), QString("-"));
        for (int i : {1, 2, 5}) QVERIFY(!tab.button(i)->isEnabled());
        QVERIFY(tab.combo(0)->isEnabled() && tab.combo(1)->isEnabled());
        QVERIFY(!tab.combo(2)->isEnabled());
        QVERIFY(!tab.text(1)->isReadOnly());

        // The checks keep the mode and what was typed.
        tab.button(0)->click();
        tab.type(1, "anna");
        tab.type(2, "secret");
        tab.button(0)->click();
        QCOMPARE(f.ui.messages(), (std::vector<std::string>{"Please enter username & password.",
                                                            "username is already inuse."}));
        QCOMPARE(f.ui.shown().back().title, std::string("Error"));
        QCOMPARE(tab.button(0)->text(), QString("Save Player"));
        QCOMPARE(tab.rows(), 5);

        // Other letter case is another name. A typed name stops at 23 characters.
        tab.type(1, "Anna_with_a_very_long_name_indeed");
        QCOMPARE(tab.text(1)->text(), QString("Anna_with_a_very_long_n"));
        tab.combo(0)->setCurrentIndex(1);
        tab.button(0)->click();
        QCOMPARE(tab.rows(), 6);
        QCOMPARE(tab.selected(), 5);
        QCOMPARE(tab.entry(5), QString("Anna_with_a_very_long_n"));
        QCOMPARE(tab.button(0)->text(), QString("New Player"));
        QVERIFY(tab.text(1)->isReadOnly());
        QVERIFY(tab.button(4)->isEnabled());

        tab.button(4)->click();
        QVERIFY(!tab.button(4)->isEnabled());
        const std::vector<std::string> lines = tab.account_lines();
        QCOMPARE(lines.size(), 7u);
        QCOMPARE(lines[5], std::string("2000003\tAnna_with_a_very_long_n\tsecret\t-\tF\t0\t0\t"
                                       "a@a.com\t-\t0\t-\t-\t0\t\r"));
        QCOMPARE(lines[6], std::string("2000004\t%newid%\r"));
        QCOMPARE(lines[3], std::string("2000001\tanna\tpw\t-\tF\t3\t0\tanna@example.org\t-\t0\t"
                                       "10.0.0.1\tnote\t0\tquest,2 \r"));
        QVERIFY(f.ui.unexpected.empty());
    }

    void new_gm_writes_its_level_and_stops_at_the_last_gm_id() {
        WidgetFixture f;
        f.dir.write("server/save/account.txt", kAccounts);
        f.dir.write("server/conf/GM_account.txt", "// GMs\n704554 99\n704555 20\n");
        Tab tab(f);
        tab.button(1)->click();
        QCOMPARE(tab.button(1)->text(), QString("Save GM"));
        QCOMPARE(tab.text(0)->text(), QString("704556"));
        QCOMPARE(tab.combo(2)->currentText(), QString("Access 10"));
        QVERIFY(tab.combo(2)->isEnabled());
        tab.type(1, "warden");
        tab.type(2, "pw");
        tab.combo(2)->setCurrentIndex(tab.combo(2)->findText("Access 50"));
        tab.button(1)->click();
        // The level waits for its account: both reach their files with "Save File".
        QCOMPARE(f.dir.read("server/conf/GM_account.txt"),
                 std::string("// GMs\n704554 99\n704555 20\n"));
        tab.button(4)->click();
        QCOMPARE(f.dir.read("server/conf/GM_account.txt"),
                 std::string("// GMs\n704554 99\n704555 20\n704556 50\n"));
        QCOMPARE(tab.entry(tab.selected()), QString("warden"));
        QCOMPARE(tab.combo(2)->currentText(), QString("Access 50"));

        // The last GM id is 704584; then "New GM" refuses until Cancel.
        f.dir.write("server/save/account.txt", "704584\tlast\tpw\t-\tM\t0\t0\t\r\n");
        WidgetFixture g;
        g.dir.write("server/save/account.txt", "704583\tnext\tpw\t-\tM\t0\t0\t\r\n");
        Tab full(g);
        full.button(1)->click();
        QCOMPARE(full.text(0)->text(), QString("704584"));
        full.type(1, "last");
        full.type(2, "pw");
        full.button(1)->click();
        g.ui.clear();
        full.button(1)->click();
        QCOMPARE(g.ui.messages(),
                 std::vector<std::string>{"Hey! Have'nt you have enough already."});
        QCOMPARE(full.button(1)->text(), QString("New GM"));
        for (int i : {0, 2, 5}) QVERIFY(!full.button(i)->isEnabled());
        full.button(3)->click();
        for (int i : {0, 1, 2, 5}) QVERIFY(full.button(i)->isEnabled());
    }

    void edit_record_keeps_unknown_levels_and_filters_digits() {
        WidgetFixture f;
        f.dir.write("server/save/account.txt", kAccounts);
        f.dir.write("server/conf/GM_account.txt", "704554-704555 45\n");
        Tab tab(f);
        tab.click_row(2);
        QCOMPARE(tab.combo(2)->currentText(), QString("Access 45"));
        tab.button(2)->click();
        QCOMPARE(tab.button(2)->text(), QString("Save Record"));
        for (int i : {0, 1, 5}) QVERIFY(!tab.button(i)->isEnabled());
        tab.type(10, "night shift");
        tab.type(6, "12a3+4");  // letters and signs but the date dash are dropped from Validity
        QCOMPARE(tab.text(6)->text(), QString("1234"));
        tab.button(2)->click();
        QCOMPARE(tab.button(2)->text(), QString("Edit Record"));
        QVERIFY(tab.text(10)->isReadOnly());
        // The level shown is the level it had: the range stays whole, the file untouched.
        QCOMPARE(f.dir.read("server/conf/GM_account.txt"), std::string("704554-704555 45\n"));
        tab.button(4)->click();
        QCOMPARE(tab.account_lines()[2], std::string("704555\thelper\tpw\t-\tF\t0\t0\ta@a.com\t-\t"
                                                     "1234\t-\tnight shift\t0\t\r"));

        // A TAB pasted into a field is refused and nothing changes.
        tab.click_row(3);
        tab.button(2)->click();
        tab.text(8)->setText("anna@example.org\tx");
        tab.button(2)->click();
        QCOMPARE(f.ui.shown().back().title, std::string("Error"));
        QCOMPARE(tab.button(2)->text(), QString("Save Record"));
        QVERIFY(!tab.button(4)->isEnabled());
        // Cancel shows the account as it is.
        tab.button(3)->click();
        QCOMPARE(tab.text(8)->text(), QString("anna@example.org"));
        QCOMPARE(tab.button(2)->text(), QString("Edit Record"));
        QVERIFY(tab.text(8)->isReadOnly());
        // The first entry cannot be edited.
        tab.click_row(0);
        tab.button(2)->click();
        QCOMPARE(tab.button(2)->text(), QString("Edit Record"));
        QVERIFY(f.ui.unexpected.empty());
    }

    void delete_warns_and_selects_the_right_entry() {
        WidgetFixture f;
        f.dir.write("server/save/account.txt", kAccounts);
        Tab tab(f);
        f.ui.answer({false});
        tab.button(5)->click();  // the server account: a warning, then No
        QCOMPARE(f.ui.shown().size(), 2u);
        QVERIFY(tavo::contains(f.ui.shown()[0].text, "SERVER account"));
        QCOMPARE(f.ui.shown()[1].text, std::string("Are you sure?"));
        QCOMPARE(tab.rows(), 5);

        tab.click_row(4);  // the last entry
        f.ui.answer({true});
        tab.button(5)->click();
        QCOMPARE(tab.rows(), 4);
        QCOMPARE(tab.selected(), 3);
        QCOMPARE(tab.text(1)->text(), QString("anna"));
        QVERIFY(!tab.button(4)->isEnabled());  // the file lost the account at once
        QCOMPARE(tab.account_lines().size(), 5u);

        tab.click_row(1);  // a GM: its own warning
        f.ui.clear();
        f.ui.answer({true});
        tab.button(5)->click();
        QVERIFY(tavo::contains(f.ui.shown()[0].text, "GM account"));
        QCOMPARE(tab.selected(), 1);
        QCOMPARE(tab.text(1)->text(), QString("helper"));

        // With the players gone, the next player id starts over; the file's counter stays.
        tab.click_row(2);
        f.ui.answer({true});
        tab.button(5)->click();
        tab.button(0)->click();
        QCOMPARE(tab.text(0)->text(), QString("2000001"));
        tab.button(3)->click();
        tab.button(4)->click();
        QCOMPARE(tab.account_lines(),
                 (std::vector<std::string>{"0\tserver\tpw\t-\tS\t0\t0\ta@a.com\t-\t0\t-\t-\t0\t\r",
                                           "704555\thelper\tpw\t-\tF\t0\t0\ta@a.com\t-\t0\t-\t-\t"
                                           "0\t\r",
                                           "2000003\t%newid%\r"}));
        QVERIFY(f.ui.unexpected.empty());
    }

    void typed_values_ask_before_another_account_or_closing() {
        WidgetFixture f;
        f.dir.write("server/save/account.txt", kAccounts);
        Tab tab(f);
        tab.click_row(3);
        tab.button(2)->click();  // Edit Record
        tab.type(10, "typed memo");
        f.ui.answer({false});
        tab.click_row(4);  // No: the account and what was typed stay
        QCOMPARE(tab.selected(), 3);
        QCOMPARE(tab.button(2)->text(), QString("Save Record"));
        QCOMPARE(tab.text(10)->text(), QString("typed memo"));
        f.ui.answer({false});
        QVERIFY(!tab.form.close());
        QCOMPARE(tab.text(10)->text(), QString("typed memo"));
        QCOMPARE(f.ui.questions(), std::vector<std::string>(2, tavo::kDiscardChangesQuestion));
        f.ui.clear();
        f.ui.answer({true});
        tab.click_row(4);  // Yes: the typed values go
        QCOMPARE(tab.selected(), 4);
        QCOMPARE(tab.text(1)->text(), QString("ben"));
        QVERIFY(tab.form.close());  // nothing typed any more: no question
        QCOMPARE(f.ui.questions().size(), 1u);
        QVERIFY(f.ui.unexpected.empty());
    }

    void unsaved_character_work_guards_every_change_of_account() {
        WidgetFixture f;
        f.dir.write("server/save/account.txt", kAccounts);
        Tab tab(f);
        auto* character_save = tab.form.findChild<QPushButton*>("Command4_4");
        tab.form.character_editor().mark_changed();
        QVERIFY(character_save->isEnabled());
        f.ui.answer({false, false});
        tab.click_row(3);
        QCOMPARE(tab.selected(), 0);
        QTest::keyClick(tab.list, Qt::Key_Down);  // asks again
        QCOMPARE(tab.selected(), 0);
        QCOMPARE(f.ui.questions().size(), 2u);
        QCOMPARE(tab.text(1)->text(), QString("server"));
        f.ui.answer({false, true});
        QTest::keyClick(tab.list, Qt::Key_Down);
        QCOMPARE(tab.selected(), 0);
        auto* find = tab.form.findChild<QLineEdit*>("FindBox");
        QTest::keyClicks(find, "BEN");
        QTest::keyClick(find, Qt::Key_Return);
        QCOMPARE(tab.rows(), 1);  // typing narrowed the list to ben
        QCOMPARE(tab.selected(), 0);
        QCOMPARE(tab.text(1)->text(), QString("ben"));
        QVERIFY(!character_save->isEnabled());
        QCOMPARE(f.ui.questions(),
                 std::vector<std::string>(4,
                                          "You have not save the modified items, Do you want to "
                                          "discard changes"));
        // Without unsaved work nothing is asked; an emptied find box lists every account again
        // and keeps the chosen one.
        find->clear();
        QCOMPARE(tab.rows(), 5);
        QCOMPARE(tab.selected(), 4);
        QTest::keyClicks(find, "2000001");
        QTest::keyClick(find, Qt::Key_Return);
        QCOMPARE(tab.text(1)->text(), QString("anna"));
        find->clear();
        QTest::keyClick(tab.list, Qt::Key_Up);
        QCOMPARE(tab.text(1)->text(), QString("helper"));
        QCOMPARE(f.ui.questions().size(), 4u);
        QVERIFY(f.ui.unexpected.empty());
    }

    void a_missing_account_file_gives_the_defaults() {
        WidgetFixture f;
        std::filesystem::remove(f.server() / "save/account.txt");
        f.dir.write("server/save/athena.txt", "");
        f.ui.answer({false});
        Tab tab(f);
        QCOMPARE(tab.rows(), 5);
        QCOMPARE(tab.entry(0), QString("q1"));
        QCOMPARE(tab.combo(0)->currentText(), QString("System"));
        QVERIFY(tab.button(4)->isEnabled());
        tab.button(0)->click();
        QCOMPARE(tab.text(0)->text(), QString("2000001"));
        QVERIFY(f.ui.unexpected.empty());
    }
};

QTEST_MAIN(UserInfoTabTest)
#include "user_info_tab_test.moc"
