#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QtTest>

#include "app/text.h"
#include "pages/account_page.h"
#include "ui/qt_ui.h"
#include "ui/tests/widget_fixture.h"

using tavo::kDiscardChangesQuestion;
using tavo::testing::child;
using tavo::testing::WidgetFixture;

namespace {

const char kAccounts[] =
    "0\tserver\tpw\t-\tS\t0\t0\ta@a.com\t-\t0\t-\t-\t0\t\r\n"
    "704554\tadmin\tpw\t-\tM\t0\t0\ta@a.com\t-\t0\t-\t-\t0\t\r\n"
    "704555\thelper\tpw\t-\tF\t0\t0\ta@a.com\t-\t0\t-\t-\t0\t\r\n"
    "2000001\tanna\tpw\t-\tF\t3\t7\tanna@example.org\t-\t0\t10.0.0.1\tnote\t0\tquest,2 \r\n"
    "2000002\tben\tpw\t-\tM\t0\t0\ta@a.com\t-\t0\t-\t-\t0\t\r\n"
    "2000003\t%newid%\r\n";
constexpr int kAnna = 3;
constexpr int kBen = 4;

std::string character(int id, int account, const std::string& name) {
    return std::to_string(id) + "\t" + std::to_string(account) + ",0\t" + name +
           "\t0,1,1\t0,0,0\t40,40,10,10\t1,1,1,1,1,1\t0,0\t0,0,0\t0,0,0\t1,1,1\t0,0,0,0,0\t"
           "new_1-1.gat,53,111\tnew_1-1.gat,53,111,0\t\t\t\t\t\t\n";
}

// The "User Info" tab of a window opened on the fixture's server, which holds kAccounts and a
// character for anna and ben unless `accounts` is false.
struct Tab {
    explicit Tab(WidgetFixture& f, bool accounts = true) : f(f), form(open(f, accounts)) {
        form.show();
        QApplication::setActiveWindow(&form);
        list = child<QListView>(form, "List1");
        find = child<QLineEdit>(form, "FindBox");
    }
    static tavo::ui::Form1& open(WidgetFixture& f, bool accounts) {
        if (accounts) {
            f.dir.write("server/save/account.txt", kAccounts);
            f.dir.write("server/save/athena.txt", character(150000, 2000002, "Brightblade") +
                                                      character(150001, 2000001, "Moss"));
        }
        return f.open_window();
    }
    QPushButton* button(int i) const {
        return child<QPushButton>(form, QString("Command2_%1").arg(i));
    }
    QLineEdit* text(int i) const { return child<QLineEdit>(form, QString("Text2_%1").arg(i)); }
    QComboBox* combo(int i) const { return child<QComboBox>(form, QString("Combo1_%1").arg(i)); }
    int rows() const { return list->model()->rowCount(); }
    int selected() const { return list->currentIndex().row(); }
    QString entry(int row) const { return list->model()->index(row, 0).data().toString(); }
    void click_row(int row) const {
        const QRect rect = list->visualRect(list->model()->index(row, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    }
    // Pasted text: past the key filter, as the clipboard brings it.
    void paste(int field, const QString& what) const {
        text(field)->selectAll();
        text(field)->insert(what);
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
    QLineEdit* find;
};

// Presses a key in the message box the next question opens.
void answer_box_with(int key) {
    QTimer::singleShot(0, [key] {
        QWidget* box = QApplication::activeModalWidget();
        if (box != nullptr) QTest::keyClick(box, static_cast<Qt::Key>(key));
    });
}

}  // namespace

class UserInfoTabTest : public QObject {
    Q_OBJECT
private slots:
    void enter_and_escape_at_a_question_keep_things_as_they_are() {
        tavo::ui::QtUi qt_ui;
        tavo::Ui& ui = qt_ui;
        for (int key : {Qt::Key_Return, Qt::Key_Escape}) {
            answer_box_with(key);
            QVERIFY(!ui.ask_yes_no(kDiscardChangesQuestion, "Tavo"));
        }
        answer_box_with(Qt::Key_Y);  // the Yes button's shortcut still answers Yes
        QVERIFY(ui.ask_yes_no("Are you sure?", "Tavo"));
    }

    void new_player_is_checked_listed_and_saved() {
        WidgetFixture f;
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

        // A typed name stops at 23 characters.
        tab.type(2, "secret");
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
        QVERIFY(tab.form.isWindowModified());

        tab.button(4)->click();
        QVERIFY(!tab.button(4)->isEnabled());
        QVERIFY(!tab.form.isWindowModified());
        QCOMPARE(tab.form.statusBar()->currentMessage(),
                 QString("Saved save/account.txt: 6 accounts"));
        const std::vector<std::string> lines = tab.account_lines();
        QCOMPARE(lines.size(), 7u);
        QCOMPARE(lines[5], std::string("2000003\tAnna_with_a_very_long_n\tsecret\t-\tF\t0\t0\t"
                                       "a@a.com\t-\t0\t-\t-\t0\t\r"));
        QCOMPARE(lines[6], std::string("2000004\t%newid%\r"));
        // Escape ends "New Player" without a trace.
        tab.button(0)->click();
        QTest::keyClick(tab.text(1), Qt::Key_Escape);
        QCOMPARE(tab.button(0)->text(), QString("New Player"));
        QCOMPARE(f.ws.accounts.table().records.size(), 6u);
        QCOMPARE(tab.rows(), 6);  // and adds no empty row to the list
    }

    void new_gm_writes_its_level() {
        WidgetFixture f;
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
        tab.button(4)->click();  // the level reaches its file with the account
        QCOMPARE(f.dir.read("server/conf/GM_account.txt"),
                 std::string("// GMs\n704554 99\n704555 20\n704556 50\n"));
        QCOMPARE(tab.entry(tab.selected()), QString("warden"));
        QCOMPARE(tab.combo(2)->currentText(), QString("Access 50"));
    }

    void edit_record_keeps_unknown_levels_and_filters_digits() {
        WidgetFixture f;
        f.dir.write("server/conf/GM_account.txt", "704554-704555 45\n");
        Tab tab(f);
        tab.click_row(2);
        QCOMPARE(tab.combo(2)->currentText(), QString("Access 45"));
        auto* validity_date = child<QLabel>(tab.form, "ValidityDate");
        QCOMPARE(validity_date->text(), QString("unlimited"));
        tab.button(2)->click();
        QCOMPARE(tab.button(2)->text(), QString("Save Record"));
        for (int i : {0, 1, 5}) QVERIFY(!tab.button(i)->isEnabled());
        tab.type(6, "12a3+4");  // letters and signs but the date dash are dropped from Validity
        QCOMPARE(tab.text(6)->text(), QString("1234"));
        tab.type(6, "2025-01-01");
        QCOMPARE(validity_date->text(), QString("= 2025-01-01 00:00"));
        tab.type(10, "night shift");
        QTest::keyClick(tab.text(10), Qt::Key_Return);  // Enter saves the record
        QCOMPARE(tab.button(2)->text(), QString("Edit Record"));
        QVERIFY(tab.text(10)->isReadOnly());
        QCOMPARE(tab.text(6)->text(), QString("1735689600"));
        // The level shown is the level it had: the range stays whole, the file untouched.
        QCOMPARE(f.dir.read("server/conf/GM_account.txt"), std::string("704554-704555 45\n"));
        tab.button(4)->click();
        QCOMPARE(tab.account_lines()[2], std::string("704555\thelper\tpw\t-\tF\t0\t0\ta@a.com\t-\t"
                                                     "1735689600\t-\tnight shift\t0\t\r"));

        // A TAB pasted into a field is refused and nothing changes; so is a ban past 2038.
        tab.click_row(kAnna);
        tab.button(2)->click();
        tab.paste(8, "anna@example.org\tx");
        tab.button(2)->click();
        QCOMPARE(f.ui.shown().back().title, std::string("Error"));
        tab.paste(8, "anna@example.org");
        tab.paste(7, "123456789012");
        tab.button(2)->click();
        QVERIFY(tavo::contains(f.ui.messages().back(), "Ban cannot hold 123456789012"));
        QCOMPARE(tab.button(2)->text(), QString("Save Record"));
        QVERIFY(!tab.button(4)->isEnabled());
        // Cancel shows the account as it is.
        tab.button(3)->click();
        QCOMPARE(tab.text(7)->text(), QString("0"));
        QCOMPARE(tab.button(2)->text(), QString("Edit Record"));
        QVERIFY(tab.text(8)->isReadOnly());
    }

    // The GM file gives players levels too; a change asks nothing and touches no other id.
    void a_players_gm_level_is_shown_and_changed_alone() {
        WidgetFixture f;
        f.dir.write("server/conf/GM_account.txt", "2000001 10\n2000002-2000004 20\n");
        Tab tab(f);
        const auto set_level = [&](int row, const QString& level) {
            tab.click_row(row);
            tab.button(2)->click();
            tab.combo(2)->setCurrentIndex(tab.combo(2)->findText(level));
            tab.button(2)->click();
            QCOMPARE(tab.button(2)->text(), QString("Edit Record"));
        };
        tab.click_row(kAnna);
        QCOMPARE(tab.combo(2)->currentText(), QString("Access 10"));
        tab.click_row(kBen);
        QCOMPARE(tab.combo(2)->currentText(), QString("Access 20"));
        set_level(kAnna, "Access 30");
        set_level(kBen, "Access 60");
        QVERIFY(f.ui.questions().empty());
        QCOMPARE(f.dir.read("server/conf/GM_account.txt"),
                 std::string("2000001 30\n2000002 60\n2000003-2000004 20\n"));
    }

    void tab_walks_the_form_and_each_state_says_what_the_server_does() {
        WidgetFixture f;
        Tab tab(f);
        tab.click_row(kAnna);
        QCOMPARE(tab.combo(1)->currentText(), QString("STATE 7"));
        QCOMPARE(tab.combo(1)->toolTip(),
                 QString("Login refused: prohibited until the date in \"Error Msg\"."));
        QCOMPARE(tab.combo(1)->itemData(0, Qt::ToolTipRole).toString(),
                 QString("The server lets the account log in."));
        tab.button(2)->click();
        tab.text(1)->setFocus();
        QStringList walked{QApplication::focusWidget()->objectName()};
        for (int i = 0; i < 9; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            walked << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(walked, QStringList({"Text2_1", "Text2_2", "Combo1_0", "Combo1_1", "Combo1_2",
                                      "Text2_6", "Text2_7", "Text2_8", "Text2_9", "Text2_10"}));
    }

    void delete_key_asks_and_deleting_selects_the_right_entry() {
        WidgetFixture f;
        Tab tab(f);
        tab.click_row(kBen);  // the last entry
        tab.list->setFocus();
        f.ui.answer({false, true});
        QTest::keyClick(tab.list, Qt::Key_Delete);
        QCOMPARE(tab.rows(), 5);
        tab.button(5)->click();
        QCOMPARE(f.ui.questions(), std::vector<std::string>(2, "Are you sure?"));
        QCOMPARE(tab.rows(), 4);
        QCOMPARE(tab.selected(), kAnna);
        QCOMPARE(tab.text(1)->text(), QString("anna"));
        QVERIFY(!tab.button(4)->isEnabled());  // the file lost the account at once
        QCOMPARE(tab.account_lines().size(), 5u);
    }

    void typed_values_ask_before_another_account_or_closing() {
        WidgetFixture f;
        Tab tab(f);
        tab.click_row(kAnna);
        tab.button(2)->click();  // Edit Record
        tab.type(10, "typed memo");
        f.ui.answer({false});
        tab.click_row(kBen);  // No: the account and what was typed stay
        QCOMPARE(tab.selected(), kAnna);
        QCOMPARE(tab.button(2)->text(), QString("Save Record"));
        QCOMPARE(tab.text(10)->text(), QString("typed memo"));
        f.ui.answer({false});
        QVERIFY(!tab.form.close());
        QCOMPARE(tab.text(10)->text(), QString("typed memo"));
        QCOMPARE(f.ui.questions(), std::vector<std::string>(2, kDiscardChangesQuestion));
        f.ui.clear();
        f.ui.answer({true});
        tab.click_row(kBen);  // Yes: the typed values go
        QCOMPARE(tab.selected(), kBen);
        QCOMPARE(tab.text(1)->text(), QString("ben"));
        QVERIFY(tab.form.close());  // nothing typed any more: no question
        QCOMPARE(f.ui.questions().size(), 1u);
    }

    void unsaved_character_work_guards_every_change_of_account() {
        WidgetFixture f;
        Tab tab(f);
        auto* character_save = child<QPushButton>(tab.form, "Command4_4");
        f.ws.characters.mark_modified();
        QVERIFY(character_save->isEnabled());
        f.ui.answer({false, false});
        tab.click_row(kAnna);
        QCOMPARE(tab.selected(), 0);
        QTest::keyClick(tab.list, Qt::Key_Down);  // asks again
        QCOMPARE(tab.selected(), 0);
        QCOMPARE(f.ui.questions().size(), 2u);
        QCOMPARE(tab.text(1)->text(), QString("server"));
        f.ui.answer({false, true});
        QTest::keyClick(tab.list, Qt::Key_Down);
        QCOMPARE(tab.selected(), 0);
        QTest::keyClicks(tab.find, "BEN");
        QTest::keyClick(tab.find, Qt::Key_Return);
        QCOMPARE(tab.rows(), 1);  // typing narrowed the list to ben
        QCOMPARE(tab.selected(), 0);
        QCOMPARE(tab.text(1)->text(), QString("ben"));
        QVERIFY(!character_save->isEnabled());
        QCOMPARE(f.ui.questions(), std::vector<std::string>(4, kDiscardChangesQuestion));
    }

    void typing_narrows_the_list_by_account_or_character_and_counts_the_matches() {
        WidgetFixture f;
        Tab tab(f);
        QTest::keyClick(&tab.form, Qt::Key_F, Qt::ControlModifier);
        QCOMPARE(QApplication::focusWidget(), tab.find);
        QTest::keyClicks(tab.find, "N");
        QCOMPARE(tab.rows(), 3);  // admin, anna, ben
        QTest::keyClicks(tab.find, "n");
        QCOMPARE(tab.rows(), 1);
        QCOMPARE(tab.entry(0), QString("anna"));
        bool counted = false;
        for (QLabel* label : tab.form.statusBar()->findChildren<QLabel*>()) {
            counted = counted || label->text().contains("1 of 5 accounts match");
        }
        QVERIFY(counted);
        QTest::keyClick(tab.find, Qt::Key_Return);
        QCOMPARE(tab.text(1)->text(), QString("anna"));
        tab.find->clear();
        QCOMPARE(tab.rows(), 5);
        QCOMPARE(tab.selected(), kAnna);  // anna stays chosen
        // Digits find the ids that hold them, and Enter goes round those accounts.
        QTest::keyClicks(tab.find, "0000");
        QCOMPARE(tab.rows(), 2);  // anna 2000001 and ben 2000002, not the GM ids 7045xx
        QTest::keyClick(tab.find, Qt::Key_Return);
        QCOMPARE(tab.text(1)->text(), QString("ben"));
        QTest::keyClick(tab.find, Qt::Key_Return);
        QCOMPARE(tab.text(1)->text(), QString("anna"));
        tab.find->clear();
        // A character's name finds the account that owns it.
        child<QComboBox>(tab.form, "FindBy")->setCurrentIndex(1);
        QTest::keyClicks(tab.find, "BRIGHT");
        QCOMPARE(tab.rows(), 1);
        QCOMPARE(tab.entry(0), QString("ben"));
    }

    void a_missing_account_file_gives_the_defaults() {
        WidgetFixture f;
        std::filesystem::remove(f.server() / "save/account.txt");
        f.dir.write("server/save/athena.txt", "");
        f.ui.answer({false});
        Tab tab(f, false);
        QCOMPARE(tab.rows(), 5);
        QCOMPARE(tab.entry(0), QString("q1"));
        QCOMPARE(tab.combo(0)->currentText(), QString("System"));
        QVERIFY(tab.button(4)->isEnabled());
        tab.button(0)->click();
        QCOMPARE(tab.text(0)->text(), QString("2000001"));
    }
};

QTEST_MAIN(UserInfoTabTest)
#include "user_info_tab_test.moc"
