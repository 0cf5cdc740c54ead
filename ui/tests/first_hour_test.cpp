#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QtTest>

#include "app/text.h"
#include "ui/qt_ui.h"
#include "ui/tests/widget_fixture.h"

using tavo::testing::child;
using tavo::testing::WidgetFixture;

namespace {

const char kAccounts[] =
    "0\tserver\tpw\t-\tS\t0\t0\ta@a.com\t-\t0\t-\t-\t0\t\r\n"
    "704554\tadmin\tpw\t-\tM\t0\t0\ta@a.com\t-\t0\t-\t-\t0\t\r\n"
    "2000001\tanna\tpw\t-\tF\t3\t7\tanna@example.org\t2030-01-01\t0\t-\tnote\t0\t\r\n"
    "2000002\tben\tpw\t-\tM\t0\t0\ta@a.com\t-\t0\t-\t-\t0\t\r\n";

std::string character(int id, int account, const std::string& name) {
    return std::to_string(id) + "\t" + std::to_string(account) + ",0\t" + name +
           "\t0,1,1\t0,0,0\t40,40,10,10\t1,1,1,1,1,1\t0,0\t0,0,0\t0,0,0\t1,1,1\t0,0,0,0,0\t"
           "new_1-1.gat,53,111\tnew_1-1.gat,53,111,0\t\t\t\t\t\t\n";
}

struct Window {
    explicit Window(WidgetFixture& f) : f(f) {
        f.dir.write("server/save/account.txt", kAccounts);
        f.dir.write("server/save/athena.txt",
                    character(150000, 2000002, "Brightblade") + character(150001, 2000001, "Moss"));
        form = &f.open_window();
        form->show();
        QApplication::setActiveWindow(form);
        list = child<QListView>(*form, "List1");
        find = child<QLineEdit>(*form, "FindBox");
    }
    QPushButton* button(int i) const {
        return child<QPushButton>(*form, QString("Command2_%1").arg(i));
    }
    QLineEdit* text(int i) const { return child<QLineEdit>(*form, QString("Text2_%1").arg(i)); }
    QString entry(int row) const { return list->model()->index(row, 0).data().toString(); }
    int rows() const { return list->model()->rowCount(); }
    void choose(int row) const { form->select_account(row); }
    std::string account_file() const { return f.dir.read("server/save/account.txt"); }

    WidgetFixture& f;
    tavo::ui::Form1* form = nullptr;
    QListView* list = nullptr;
    QLineEdit* find = nullptr;
};

// Presses a key in the message box the next question opens.
void answer_box_with(int key) {
    QTimer::singleShot(0, [key] {
        QWidget* box = QApplication::activeModalWidget();
        if (box != nullptr) QTest::keyClick(box, static_cast<Qt::Key>(key));
    });
}

}  // namespace

class FirstHourTest : public QObject {
    Q_OBJECT
private slots:
    void enter_and_escape_at_a_question_keep_things_as_they_are() {
        tavo::ui::QtUi qt_ui;
        tavo::Ui& ui = qt_ui;
        for (int key : {Qt::Key_Return, Qt::Key_Escape}) {
            answer_box_with(key);
            QVERIFY(!ui.ask_yes_no(
                "You have not save the modified items, Do you want to discard changes", "Tavo"));
        }
        answer_box_with(Qt::Key_Y);  // the Yes button's shortcut still answers Yes
        QVERIFY(ui.ask_yes_no("Are you sure?", "Tavo"));
    }

    void tab_walks_the_form_and_enter_and_escape_act() {
        WidgetFixture f;
        Window w(f);
        w.choose(3);
        w.button(2)->click();  // "Edit Record"
        w.text(1)->setFocus();
        QStringList walked{QApplication::focusWidget()->objectName()};
        for (int i = 0; i < 9; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            walked << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(walked, QStringList({"Text2_1", "Text2_2", "Combo1_0", "Combo1_1", "Combo1_2",
                                      "Text2_6", "Text2_7", "Text2_8", "Text2_9", "Text2_10"}));
        // Enter saves the record; Escape ends "New Player" without a trace.
        w.text(10)->setText("paid");
        QTest::keyClick(w.text(10), Qt::Key_Return);
        QCOMPARE(w.button(2)->text(), QString("Edit Record"));
        QCOMPARE(f.ws.accounts.records[3].memo(), std::string_view("paid"));
        w.button(0)->click();
        QCOMPARE(w.button(0)->text(), QString("Save Player"));
        QTest::keyClick(w.text(1), Qt::Key_Escape);
        QCOMPARE(w.button(0)->text(), QString("New Player"));
        QCOMPARE(f.ws.accounts.records.size(), 4u);
        QVERIFY(f.ui.unexpected.empty());
    }

    void ctrl_f_and_delete_reach_the_find_box_and_the_delete_question() {
        WidgetFixture f;
        Window w(f);
        QTest::keyClick(w.form, Qt::Key_F, Qt::ControlModifier);
        QCOMPARE(QApplication::focusWidget(), w.find);
        w.choose(3);
        w.list->setFocus();
        f.ui.answer({false});
        QTest::keyClick(w.list, Qt::Key_Delete);
        QCOMPARE(f.ui.questions(), std::vector<std::string>{"Are you sure?"});
        QCOMPARE(w.rows(), 4);
    }

    void typing_narrows_the_list_and_counts_the_matches() {
        WidgetFixture f;
        Window w(f);
        QTest::keyClicks(w.find, "N");
        QCOMPARE(w.rows(), 3);  // admin, anna, ben
        QTest::keyClicks(w.find, "n");
        QCOMPARE(w.rows(), 1);
        QCOMPARE(w.entry(0), QString("anna"));
        bool counted = false;
        for (QLabel* label : w.form->statusBar()->findChildren<QLabel*>()) {
            counted = counted || label->text().contains("1 of 4 accounts match");
        }
        QVERIFY(counted);
        QTest::keyClick(w.find, Qt::Key_Return);
        QCOMPARE(w.text(1)->text(), QString("anna"));
        w.find->clear();
        QCOMPARE(w.rows(), 4);
        QCOMPARE(w.list->currentIndex().row(), 2);  // anna stays chosen
    }

    void a_character_name_finds_its_account() {
        WidgetFixture f;
        Window w(f);
        child<QComboBox>(*w.form, "FindBy")->setCurrentIndex(1);
        QTest::keyClicks(w.find, "BRIGHT");
        QCOMPARE(w.rows(), 1);
        QCOMPARE(w.entry(0), QString("ben"));
        QTest::keyClick(w.find, Qt::Key_Return);
        QCOMPARE(w.text(1)->text(), QString("ben"));
    }

    void dates_typed_into_validity_are_stored_as_seconds() {
        WidgetFixture f;
        Window w(f);
        w.choose(3);
        auto* validity_date = child<QLabel>(*w.form, "ValidityDate");
        QCOMPARE(validity_date->text(), QString("unlimited"));
        w.button(2)->click();
        w.text(6)->clear();
        QTest::keyClicks(w.text(6), "2025-01-01");
        QCOMPARE(validity_date->text(), QString("= 2025-01-01 00:00"));
        w.button(2)->click();  // "Save Record"
        QCOMPARE(f.ws.accounts.records[3].connect_until(), 1735689600);
        QCOMPARE(w.text(6)->text(), QString("1735689600"));
        // Twelve digits do not fit: said in words, nothing stored.
        w.button(2)->click();
        w.text(7)->setText("123456789012");
        w.button(2)->click();
        QCOMPARE(w.button(2)->text(), QString("Save Record"));
        QCOMPARE(f.ui.messages().size(), 1u);
        QVERIFY(tavo::contains(f.ui.messages()[0], "Ban cannot hold 123456789012"));
        QCOMPARE(f.ws.accounts.records[3].ban_until(), 0);
    }

    void save_file_says_what_was_written_and_the_title_marks_changes() {
        WidgetFixture f;
        Window w(f);
        QVERIFY(!w.form->isWindowModified());
        w.choose(3);
        w.button(2)->click();
        w.text(10)->setText("moved");
        w.button(2)->click();
        QVERIFY(w.form->isWindowModified());
        w.button(4)->click();  // "Save File"
        QCOMPARE(w.form->statusBar()->currentMessage(),
                 QString("Saved save/account.txt: 4 accounts"));
        QVERIFY(!w.form->isWindowModified());
        QVERIFY(tavo::contains(w.account_file(), "\tmoved\t"));
    }

    void each_state_says_what_the_server_does() {
        WidgetFixture f;
        Window w(f);
        w.choose(2);  // anna, state 7
        auto* status = child<QComboBox>(*w.form, "Combo1_1");
        QCOMPARE(status->currentText(), QString("STATE 7"));
        QCOMPARE(status->toolTip(),
                 QString("Login refused: prohibited until the date in \"Error Msg\"."));
        QCOMPARE(status->itemData(0, Qt::ToolTipRole).toString(),
                 QString("The server lets the account log in."));
    }
};

QTEST_MAIN(FirstHourTest)
#include "first_hour_test.moc"
