// The "Server Wipe" dialog driven as a user drives it: opened from "Server Wipes", each frame's
// boxes clicked and boxes typed into, "Wipe" answered, and the files read back.

#include "ui/form3.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include "app/text.h"
#include "app/text_file.h"
#include "ui/tests/widget_fixture.h"

using tavo::testing::WidgetFixture;

namespace {

struct Wipes {
    explicit Wipes(WidgetFixture& f) : f(f), form((f.use_demo(), f.open_window())) {
        form.show();
        f.ui.clear();
        form.findChild<QPushButton*>("Command8_0")->click();
        dialog = form.findChild<tavo::ui::Form3*>("Form3");
        QVERIFY(dialog != nullptr);
        QVERIFY(dialog->isModal());
    }
    template <class T>
    T* find(const QString& name) const {
        T* found = dialog->findChild<T*>(name);
        if (found == nullptr) qFatal("no control %s", qPrintable(name));
        return found;
    }
    void click(const QString& name) const { find<QAbstractButton>(name)->click(); }
    std::string save(const char* name) const {
        return f.dir.read(std::string("server/save/") + name);
    }
    bool listed(const QString& account) const {
        const auto* model = form.findChild<QListView*>("List1")->model();
        for (int row = 0; row < model->rowCount(); ++row) {
            if (model->index(row, 0).data().toString().contains(account)) return true;
        }
        return false;
    }
    // "Wipe" answered Yes: the question and the message after it.
    std::string wipe(const QString& button) {
        f.ui.answer({true});
        click(button);
        const std::string question = f.ui.questions().back();
        const std::vector<std::string> messages = f.ui.messages();
        done = messages.empty() ? std::string() : messages.back();
        return question;
    }

    WidgetFixture& f;
    tavo::ui::Form1& form;
    tavo::ui::Form3* dialog = nullptr;
    std::string done;
};

class Form3Test : public QObject {
    Q_OBJECT
private slots:
    void opens_on_the_full_wipe_with_its_states() {
        WidgetFixture f;
        Wipes w(f);
        QCOMPARE(w.dialog->windowTitle(), QString("Server Wipe"));
        QVERIFY(w.find<QWidget>("Frame1_0")->isVisible());
        QVERIFY(!w.find<QWidget>("Frame1_4")->isVisible());
        QCheckBox* mapreg = w.find<QCheckBox>("Check1_7");
        QVERIFY(mapreg->isChecked() && !mapreg->isEnabled());
        w.click("Command1_4");
        QVERIFY(w.find<QWidget>("Frame1_4")->isVisible());
        QLineEdit* date = w.find<QLineEdit>("Text2_0");
        QCOMPARE(date->text(), QString("yyyy-mm-dd"));
        QVERIFY(!date->isEnabled());
        w.click("Command1_1");
        QVERIFY(!w.find<QRadioButton>("Option1_0")->isEnabled());
        w.click("Check2_8");  // "Zeny Edit"
        w.click("Option1_2");
        QLineEdit* amount = w.find<QLineEdit>("Text1");
        QVERIFY(amount->isVisible());
        QTest::keyClicks(amount, "12a.5");
        QCOMPARE(amount->text(), QString("125"));
        w.click("Command1_3");  // Exit
        QVERIFY(!w.dialog->isVisible());
    }

    void user_wipe_checks_the_date_then_deletes_and_reloads() {
        WidgetFixture f;
        Wipes w(f);
        w.click("Command1_4");
        w.click("Check4_2");  // the IP rule alone: the date box is read all the same
        w.click("Command5");
        QCOMPARE(f.ui.messages().back(), std::string("You have entered an INVALID date"));
        w.click("Check4_2");
        w.click("Check4_1");
        QLineEdit* date = w.find<QLineEdit>("Text2_0");
        QTest::keyClicks(date, "20040231");
        QCOMPARE(date->text(), QString("2004-02-31"));
        w.click("Command5");
        QCOMPARE(f.ui.messages().back(), std::string("You have entered an INVALID date"));
        QCOMPARE(date->text(), QString("yyyy-mm-dd"));
        QTest::keyClicks(date, "20041120");
        QVERIFY(w.listed("torvald"));
        const std::string question = w.wipe("Command5");
        QVERIFY(question.starts_with("USER WIPE! Are you sure?\r\n"));
        QVERIFY(question.find(" accounts, 2 characters and ") != std::string::npos);
        QVERIFY(w.done.find("save/backup-") != std::string::npos);
        QVERIFY(w.save("account.txt").find("\ntorvald") == std::string::npos);
        QVERIFY(w.save("account.txt").find("2000003\t") == std::string::npos);
        QVERIFY(w.save("athena.txt").find("\tTorvald\t") == std::string::npos);
        QVERIFY(!w.listed("torvald"));  // the list read again
        QVERIFY(w.listed("kaelen"));
    }

    void character_wipe_keeps_the_unchecked_families() {
        WidgetFixture f;
        Wipes w(f);
        w.click("Command1_2");
        w.click("Check3_7");  // "Merchant Class" cleared
        const std::string question = w.wipe("Command4");
        QVERIFY(question.starts_with("CHARACTER WIPE! Are you sure?\r\n0 accounts, "));
        const std::string athena = w.save("athena.txt");
        QVERIFY(athena.find("\tKaelbrew\t") != std::string::npos);
        QVERIFY(athena.find("\tKaelen\t") == std::string::npos);
        QVERIFY(athena.find("\tRhea\t") != std::string::npos);  // a GM's
    }

    void item_wipe_caps_zeny_and_empties_lists() {
        WidgetFixture f;
        Wipes w(f);
        w.click("Command1_1");
        w.click("Check2_0");
        w.click("Check2_8");
        w.click("Option1_1");
        QTest::keyClicks(w.find<QLineEdit>("Text1"), "99999999999");
        const std::string question = w.wipe("Command3");
        QVERIFY(question.starts_with("Item/Zeny/Memo/Skill/Quest WIPE!\r\n Are you sure?\r\n"));
        for (const std::string& line : tavo::read_lines(f.server() / "save/athena.txt")) {
            if (line.find("\t2000001,") == std::string::npos) continue;
            QCOMPARE(std::string(tavo::piece(tavo::piece(line, '\t', 4), ',', 2)),
                     std::string("1000000000"));
            QVERIFY(tavo::piece(line, '\t', 15).empty());
        }
    }

    void full_wipe_empties_the_files_and_reloads_the_defaults() {
        WidgetFixture f;
        Wipes w(f);
        f.ui.answer({true, true});  // the wipe, then the version question of the empty file
        w.click("Command2");
        QVERIFY(f.ui.questions().front().starts_with("FULL SERVER WIPE! Are you sure?\r\n"));
        f.ui.clear();
        QCOMPARE(w.save("athena.txt"), std::string());
        QCOMPARE(w.save("mapreg.txt"), std::string());
        QVERIFY(!w.listed("kaelen"));
    }
};

}  // namespace

QTEST_MAIN(Form3Test)
#include "form3_test.moc"
