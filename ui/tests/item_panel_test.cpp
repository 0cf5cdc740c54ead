// Items composed in the real "Add / Edit Item" panel, stored into the inventory, the cart and
// the store, saved with the page's button and read back from the server's files.

#include "ui/item_panel.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QtTest>
#include <fstream>

#include "app/text.h"
#include "app/text_file.h"
#include "ui/tests/widget_fixture.h"

using tavo::testing::child;
using tavo::testing::texts;
using tavo::testing::WidgetFixture;

namespace {

constexpr int kKaelen = 13;    // account 2000001: Kaelen (150000) and Kaelbrew (150001)
constexpr int kAshgrove = 17;  // account 2000005: Ashgrove and the smith Hammerhand (170000)

struct Window {
    explicit Window(WidgetFixture& f) : f(f), form((f.use_demo(), f.open_window())) { form.show(); }

    template <class T>
    T* at(const QString& name) {
        return child<T>(form, name);
    }
    void click(const QString& name) { at<QPushButton>(name)->click(); }
    // Picks an item in List5 by its list name, as a click would.
    void pick(const QString& list_name) {
        auto* list = at<QListWidget>("List5");
        const QList<QListWidgetItem*> found = list->findItems(list_name, Qt::MatchExactly);
        QVERIFY2(!found.isEmpty(), qPrintable(list_name));
        list->setCurrentItem(found.first());
    }
    void choose(const QString& combo, const QString& text) {
        auto* box = at<QComboBox>(combo);
        const int index = box->findText(text);
        QVERIFY2(index >= 0, qPrintable(text));
        box->setCurrentIndex(index);
    }
    void type(const QString& field, const QString& text) {
        auto* edit = at<QLineEdit>(field);
        edit->clear();
        QTest::keyClicks(edit, text);
    }
    // The line of a character in athena.txt, split at TAB.
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
    std::string store_line(const std::string& account) {
        for (const std::string& line : tavo::read_lines(f.server() / "save/storage.txt")) {
            if (line.rfind(account + ",", 0) == 0) return line;
        }
        return {};
    }

    WidgetFixture& f;
    tavo::ui::Form1& form;
};

}  // namespace

class ItemPanelTest : public QObject {
    Q_OBJECT
private slots:
    void carded_armor_and_egg_into_the_inventory() {
        WidgetFixture f;
        Window w(f);
        w.form.select_account(kKaelen);
        auto* panel = w.form.item_panel();
        w.click("Command4_0");
        QVERIFY(panel->isVisible());
        QCOMPARE(panel->confirm_button()->text(), QString("Add to Inventory"));
        w.choose("Combo11", "Armor");
        w.pick("Cotton_Shirts_");
        QVERIFY(w.at<QComboBox>("Combo2_0")->isEnabled());
        QVERIFY(!w.at<QComboBox>("Combo2_1")->isEnabled());
        QVERIFY(!w.at<QLineEdit>("Text4_0")->isEnabled());  // one shirt at a time
        w.choose("Combo2_0", "[4001] Poring Card");
        w.type("Text4_3", "4");
        w.click("Command1_0");
        QVERIFY(!panel->isVisible());
        auto* save = w.at<QPushButton>("Command4_4");
        QVERIFY(save->isEnabled());

        w.click("Command4_0");
        w.choose("Combo11", "Eggs");
        w.pick("Poring_Egg");
        QVERIFY(w.at<QWidget>("Frame3_2")->isVisible());
        // Pet 3 is in an egg in the store: one pet, one egg.
        w.type("Text5_0", "3");
        w.click("Command1_0");
        QCOMPARE(f.ui.messages().back(),
                 std::string("Pet 3 (Moonie) is already in an egg in the store of account "
                             "2000001 (kaelen)."));
        QVERIFY(panel->isVisible());
        std::ofstream(f.server() / "save/pet.txt", std::ios::app)
            << "4,1002,Jelly\t2000001,150000,1,9001,0,100,50,0,1\n";
        w.type("Text5_0", "4");
        w.click("Command1_0");
        QCOMPARE(w.at<QListWidget>("List3")->currentRow(), w.at<QListWidget>("List3")->count() - 1);
        save->click();
        QVERIFY(!save->isEnabled());
        QCOMPARE(w.form.statusBar()->currentMessage(),
                 QString("Saved save/athena.txt: character 150000 (Kaelen)"));
        const std::string inventory = w.character("150000").at(15);
        QVERIFY(inventory.find("0,2302,1,0,1,4,0,4001,0,0,0 ") != std::string::npos);
        QVERIFY(inventory.find("0,9001,1,0,1,0,0,-256,4,0,1 ") != std::string::npos);
    }

    void forged_weapon_by_a_smith_above_163839_into_the_cart() {
        WidgetFixture f;
        Window w(f);
        w.form.select_account(kAshgrove);
        w.click("Command5_0");
        QCOMPARE(w.form.item_panel()->confirm_button()->text(), QString("Add to Cart"));
        w.choose("Combo11", "Weapons");
        w.pick("Knife__");  // slotless: forged, not carded
        QVERIFY(w.at<QComboBox>("Combo4_2")->isEnabled());
        QVERIFY(!w.at<QComboBox>("Combo4_0")->isEnabled());
        w.choose("Combo4_2", "[38928] Hammerhand");
        QVERIFY(w.at<QComboBox>("Combo4_0")->isEnabled());
        w.choose("Combo4_1", "Very Very Strong");
        w.choose("Combo4_0", "Fire property");
        w.click("Command1_0");
        QVERIFY(texts(w.at<QListWidget>("List4"))
                    .contains("1 pc Very Very Strong Hammerhand's Fire Knife"));
        w.click("Command4_4");
        const std::string cart = w.character("150005").at(16);
        QVERIFY(cart.find("0,1203,1,0,1,0,0,255,2563,-26608,2 ") != std::string::npos);
    }

    void made_potion_into_the_store_and_asked_before_leaving() {
        WidgetFixture f;
        Window w(f);
        w.form.select_account(kKaelen);
        w.form.tabs()->setCurrentIndex(2);
        w.click("Command3_0");
        QCOMPARE(w.form.item_panel()->confirm_button()->text(), QString("Add to Storage"));
        // Type-ahead in the item chooser: "red_p" finds the potion.
        auto* list = w.at<QListWidget>("List5");
        list->setFocus();
        QTest::keyClicks(list, "red_p");
        QCOMPARE(list->currentItem()->text(), QString("Red_Potion"));
        QVERIFY(w.at<QLineEdit>("Text7")->isVisible());
        w.type("Text4_0", "12");
        w.click("Command1_0");  // a second plain stack: refused
        QCOMPARE(f.ui.messages(),
                 std::vector<std::string>{
                     "That item is already in list.\r\nPlease use Edit instead..."});
        w.choose("Combo4_2", "[18929] Kaelbrew");
        w.click("Command1_0");
        QCOMPARE(w.at<QLabel>("Label2")->text(), QString("Qty [5/300]"));
        auto* save = w.at<QPushButton>("Command3_4");
        QVERIFY(save->isEnabled());

        // Unsaved store: choosing another account asks first.
        f.ui.answer({false});
        w.form.findChild<QListView*>("List1")->setCurrentIndex(
            w.form.findChild<QListView*>("List1")->model()->index(kKaelen + 1, 0));
        QCOMPARE(f.ui.questions().size(), 1u);
        QVERIFY(save->isEnabled());
        save->click();
        QVERIFY(!save->isEnabled());
        QCOMPARE(w.form.statusBar()->currentMessage(),
                 QString("Saved save/storage.txt: the store of account 2000001, 5 items"));
        QVERIFY(w.store_line("2000001").find("0,501,12,0,1,0,0,254,0,18929,2 \t") !=
                std::string::npos);
    }

    // A slotted armor after a potion, in a window of 800×600: no field squashed, the panel
    // inside the window and beside the inventory it edits.
    void the_panel_keeps_its_size_beside_the_list() {
        WidgetFixture f;
        Window w(f);
        w.form.resize(800, 600);
        w.form.select_account(kKaelen);
        w.form.tabs()->setCurrentIndex(1);
        w.choose("Combo6", "View Inventory items");
        w.click("Command4_0");
        w.pick("Red_Potion");
        w.pick("Chain_Mail");
        auto* panel = w.form.item_panel();
        QVERIFY(w.form.rect().contains(panel->geometry()));
        // The layouts settle once their posted requests ran.
        for (const char* name : {"Text4_0", "Text4_1", "Text4_2", "Text4_3", "Text4_4", "Text4_5",
                                 "Combo2_0", "Combo4_2"}) {
            QWidget* field = w.at<QWidget>(name);
            QTRY_VERIFY2(field->width() >= field->sizeHint().width() - 1, name);
        }
        auto* list = w.at<QListWidget>("List3");
        QTRY_VERIFY(
            !panel->geometry().intersects(QRect(list->mapTo(&w.form, QPoint(0, 0)), list->size())));
    }
};

QTEST_MAIN(ItemPanelTest)
#include "item_panel_test.moc"
