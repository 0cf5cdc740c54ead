// A character edited through the real panels of the "Char Profile" tab (memo points, skills,
// quest variables, the basic info with the MAPS frame, an item), saved with "Save to File" and
// read back from athena.txt; and characters deleted from the tab's button row.

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>

#include "app/text.h"
#include "app/text_file.h"
#include "ui/memo_quest_panel.h"
#include "ui/tests/widget_fixture.h"

using tavo::testing::child;
using tavo::testing::texts;
using tavo::testing::WidgetFixture;

namespace {

constexpr int kRhea = 5;     // account 704554, a GM's
constexpr int kKaelen = 13;  // account 2000001: Kaelen (150000) and Kaelbrew (150001)

struct Window {
    explicit Window(WidgetFixture& f) : f(f), form((f.use_demo(), f.open_window())) { form.show(); }

    template <class T>
    T* at(const QString& name) {
        return child<T>(form, name);
    }
    void click(const QString& name) { at<QPushButton>(name)->click(); }
    void choose(const QString& combo, const QString& text) {
        auto* box = at<QComboBox>(combo);
        const int index = box->findText(text);
        QVERIFY2(index >= 0, qPrintable(text));
        box->setCurrentIndex(index);
    }
    void type(const QString& field, const QString& text) {
        auto* edit = at<QLineEdit>(field);
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, text);
    }
    // The maps frame's line and target, then "Do it".
    void do_it(int map, int target) {
        at<QListWidget>("List6")->setCurrentRow(map);
        at<QComboBox>("Combo8")->setCurrentIndex(target);
        click("Command10");
    }
    bool shown(const char* panel) { return at<QWidget>(panel)->isVisible(); }
    std::vector<std::string> character(const std::string& id) {
        for (const std::string& line : tavo::read_lines(f.server() / "save/athena.txt")) {
            if (line.rfind(id + "\t", 0) == 0) {
                std::vector<std::string> fields;
                for (std::string_view piece : tavo::split(line, '\t')) fields.emplace_back(piece);
                return fields;
            }
        }
        return {};
    }

    WidgetFixture& f;
    tavo::ui::Form1& form;
};

}  // namespace

class CharacterEditorsTest : public QObject {
    Q_OBJECT
private slots:
    void a_full_edit_session_is_saved_in_one_line() {
        WidgetFixture f;
        Window w(f);
        w.form.select_account(kKaelen);
        auto* save = w.at<QPushButton>("Command4_4");

        // Memo points: one deleted to make room, one picked from the maps.
        w.click("Command6_1");
        QVERIFY(w.shown("Frame8"));
        QCOMPARE(texts(w.at<QListWidget>("List7")).size(), 3);
        w.at<QListWidget>("List7")->setCurrentRow(0);
        f.ui.answer({true});
        w.click("Command11_2");
        f.ui.clear();
        w.click("Command11_3");
        QVERIFY(w.shown("Frame7"));
        QCOMPARE(w.at<QPushButton>("Command11_3")->text(), QString("Hide Maps"));
        QCOMPARE(texts(w.at<QComboBox>("Combo8")), QStringList({"Add to Memo list"}));
        w.do_it(1, 0);  // izlude.gat (128,114)
        QCOMPARE(texts(w.at<QListWidget>("List7")).last(), QString("izlude.gat,128,114"));

        // A skill through the choosers; while the frame is open nothing else can be chosen.
        w.click("Command11_5");
        QVERIFY(w.shown("Frame9"));
        QVERIFY(!w.at<QWidget>("List1")->isEnabled());
        QVERIFY(!w.at<QTabWidget>("SSTab1")->isEnabled());
        QVERIFY(!w.at<QLineEdit>("Text8")->isVisible());
        w.choose("Combo10_0", "[011] Napalm Beat");
        w.choose("Combo10_1", "7");
        w.click("Command13_0");
        QVERIFY(!w.shown("Frame9"));
        QVERIFY(w.at<QTabWidget>("SSTab1")->isEnabled());
        QCOMPARE(texts(w.at<QListWidget>("List8")).last(), QString("Napalm Beat [7/10]"));

        // A quest variable typed into the frame.
        w.click("Command11_10");
        QCOMPARE(w.form.memo_quest_panel()->title(), QString("Add Quest"));
        w.type("Text8", "QUEST_TAVO,7");
        w.click("Command13_0");
        w.click("Command12_0");
        QVERIFY(!w.shown("Frame8"));
        QVERIFY(!w.shown("Frame7"));
        QVERIFY(save->isEnabled());

        // The basic info: a rename and both positions from the MAPS frame.
        w.click("Command6_0");
        QVERIFY(w.shown("Frame6"));
        QCOMPARE(w.at<QLineEdit>("Text3_3")->text(), QString("Kaelen"));
        QVERIFY(w.at<QLineEdit>("Text3_6")->isReadOnly());
        w.type("Text3_3", "Kaelor");
        w.type("Text3_4", "1a50");  // the letter is filtered out
        QCOMPARE(w.at<QLineEdit>("Text3_4")->text(), QString("150"));
        w.click("Command9_2");
        QCOMPARE(w.at<QPushButton>("Command9_2")->text(), QString("Hide List"));
        QCOMPARE(texts(w.at<QComboBox>("Combo8")),
                 QStringList({"Copy to Save Position", "Copy to Last Position"}));
        w.do_it(2, 0);  // geffen.gat (119,59)
        w.do_it(3, 1);  // payon.gat (152,75)
        QCOMPARE(w.at<QLineEdit>("Text3_17")->text(), QString("geffen.gat"));
        QCOMPARE(w.at<QLineEdit>("Text3_21")->text(), QString("152"));
        w.click("Command9_0");
        QVERIFY(!w.shown("Frame6"));
        QVERIFY(!w.shown("Frame7"));
        QCOMPARE(w.at<QComboBox>("Combo5")->currentText(),
                 QString("ID: 150000, Slot: 0, Kaelor, <Knight>"));

        // An item, then one save for everything.
        w.click("Command4_0");
        w.choose("Combo11", "Armor");
        auto* items = w.at<QListWidget>("List5");
        items->setCurrentItem(items->findItems("Cotton_Shirts_", Qt::MatchExactly).first());
        w.click("Command1_0");
        save->click();
        QVERIFY(!save->isEnabled());
        QVERIFY(f.ui.shown().empty());

        const std::vector<std::string> line = w.character("150000");
        QCOMPARE(line.at(2), std::string("Kaelor"));
        QCOMPARE(line.at(3), std::string("7,99,48"));
        QCOMPARE(line.at(12), std::string("payon.gat,152,75"));
        QCOMPARE(line.at(13), std::string("geffen.gat,119,59,0"));
        QCOMPARE(line.at(14), std::string("geffen.gat,119,59payon.gat,152,75izlude.gat,128,114"));
        QVERIFY(line.at(15).ends_with(",2302,1,0,1,0,0,0,0,0,0 "));
        QVERIFY(line.at(17).ends_with(" 60,10 011,7 "));
        QCOMPARE(line.at(18), std::string("PC_DIE_COUNTER,3 QUEST_WEDDING,1 QUEST_TAVO,7 "));
    }

    void deleting_asks_warns_a_gm_and_rebuilds_the_account() {
        WidgetFixture f;
        Window w(f);
        const std::string athena = f.dir.read("server/save/athena.txt");
        w.form.select_account(kRhea);
        f.ui.answer({false});
        w.click("Command6_2");
        QCOMPARE(f.ui.shown().size(), std::size_t{2});
        QCOMPARE(f.ui.shown()[0].text, std::string("WARNING!!! This is a GM account... Please make "
                                                   "sure that you REALLY WANTED to delete this."));
        QCOMPARE(f.ui.shown()[1].text, std::string("Are you sure?"));
        f.ui.clear();
        QCOMPARE(f.dir.read("server/save/athena.txt"), athena);

        w.form.select_account(kKaelen);
        f.ui.answer({true});
        w.click("Command6_2");
        f.ui.clear();
        QCOMPARE(texts(w.at<QComboBox>("Combo5")),
                 QStringList({"ID: 150001, Slot: 1, Kaelbrew, <Blacksmith>"}));
        QVERIFY(w.character("150000").empty());
        f.ui.answer({true});
        w.click("Command6_3");
        f.ui.clear();
        QCOMPARE(w.at<QComboBox>("Combo5")->count(), 0);
        QVERIFY(w.character("150001").empty());
        for (int i = 0; i < 4; ++i) {
            QVERIFY(!w.at<QPushButton>(QString("Command6_%1").arg(i))->isEnabled());
        }
    }
};

QTEST_MAIN(CharacterEditorsTest)
#include "character_editors_test.moc"
