#include <QComboBox>
#include <QListWidget>
#include <QtTest>

#include "ui/form1.h"
#include "ui/item_panel.h"
#include "ui/memo_quest_panel.h"
#include "ui/tests/widget_fixture.h"

using tavo::testing::child;
using tavo::testing::texts;
using tavo::testing::WidgetFixture;

namespace {

const char* const kLists =
    "[jobclass]\n0\tNovice\n1\tSwordman\n5\tMerchant\n22\tWedding\n"
    "[maps]\nprontera.gat,156,191\ngeffen.gat,119,59\n"
    "[skills]\n1,9,0,Basic Skill\n2,10,0,Sword Mastery\n5,10,1,Bash\n36,10,0,Enlarge Weight "
    "Limit\n41,1,1,Vending\n";

}  // namespace

class RefdataPanelsTest : public QObject {
    Q_OBJECT
private slots:
    void class_chooser_narrows_skills_and_a_skill_gives_its_levels() {
        WidgetFixture f(kLists);
        f.dir.write(
            "program/class-skill.txt",
            "// class,skill,max level,name\n1,1,9,Basic Skill\n1,2,10,Sword Mastery\n"
            "1,5,10,Bash\n5,1,9,Basic Skill\n5,36,10,Enlarge Weight Limit\n5,41,1,Vending\n");
        tavo::ui::Form1& form = f.open_window();
        auto* classes = child<QComboBox>(form, "Combo10_2");
        auto* skills = child<QComboBox>(form, "Combo10_0");
        auto* levels = child<QComboBox>(form, "Combo10_1");

        QCOMPARE(texts(classes), QStringList({"[9999] All Job Class", "[0] Novice", "[1] Swordman",
                                              "[5] Merchant", "[22] Wedding"}));
        QCOMPARE(classes->currentIndex(), 0);
        QCOMPARE(texts(skills),
                 QStringList({"[000] Skill not in list", "[001] Basic Skill", "[002] Sword Mastery",
                              "[005] Bash", "[036] Enlarge Weight Limit", "[041] Vending"}));
        QCOMPARE(skills->currentIndex(), -1);  // all skills: nothing chosen yet

        classes->setCurrentIndex(3);  // [5] Merchant
        QCOMPARE(texts(skills),
                 QStringList({"[001] Basic Skill", "[036] Enlarge Weight Limit", "[041] Vending"}));
        QCOMPARE(skills->currentText(), QString("[001] Basic Skill"));
        QCOMPARE(levels->count(), 10);
        QCOMPARE(levels->currentText(), QString("0"));
        skills->setCurrentIndex(2);  // Vending, max level 1
        QCOMPARE(texts(levels), QStringList({"0", "1"}));
    }

    void job_classes_maps_and_without_class_skill_txt_no_class_chooser() {
        WidgetFixture f(kLists);
        tavo::ui::Form1& form = f.open_window();
        QCOMPARE(texts(child<QComboBox>(form, "Combo7")),
                 QStringList({"[0] Novice", "[1] Swordman", "[5] Merchant", "[22] Wedding"}));
        auto* maps = child<QListWidget>(form, "List6");
        QCOMPARE(texts(maps), QStringList({"prontera.gat (156,191)", "geffen.gat (119,59)"}));
        QCOMPARE(maps->currentRow(), 0);
        for (const char* panel : {"Frame2", "Frame6", "Frame7", "Frame9"}) {
            QVERIFY2(!child<QWidget>(form, panel)->isVisible(), panel);
        }

        auto* classes = child<QComboBox>(form, "Combo10_2");
        f.ui.clear();
        classes->setCurrentIndex(2);
        QCOMPARE(f.ui.messages().size(), std::size_t{1});
        QVERIFY(f.ui.messages()[0].find("class-skill.txt not found...\r\nYou cant select Skills "
                                        "by class...") != std::string::npos);
        QVERIFY(!classes->isEnabled());
        QCOMPARE(classes->currentIndex(), 0);  // back to every skill
        QCOMPARE(child<QComboBox>(form, "Combo10_0")->count(), 6);
    }

    void item_panel_lists_items_by_name_through_its_filter() {
        WidgetFixture f;
        f.dir.write("server/db/item_db.txt",
                    "// id,name,display name,type,price,sell,weight,atk,def,range,slots,job,"
                    "gender,loc\n"
                    "909,Jellopy,Jellopy,3,6,3,10,,,,,,,\n"
                    "501,Red_Potion,Red Potion,0,50,25,70,,,,,0xFFFFFFFF,2,\n"
                    "4001,Poring_Card,Poring Card,6,20,10,10,,,,,,,16\n"
                    "1750,Arrow,Arrow,10,1,0,1,25,,,,0x000008A0,2,32768\n"
                    "1101,Sword,Sword,4,100,50,500,25,,1,3,0x0000408E,2,2\n"
                    "4002,Fabre_Card,Fabre Card,6,20,10,10,,,,,,,16\n");
        tavo::ui::Form1& form = f.open_window();
        auto* filter = child<QComboBox>(form, "Combo11");
        auto* items = child<QListWidget>(form, "List5");
        QCOMPARE(texts(filter), QStringList({"List All Types", "Usable/Arrow", "Items/Loots",
                                             "Weapons", "Armor", "Cards", "Eggs"}));
        QCOMPARE(filter->currentIndex(), 0);
        QCOMPARE(texts(items), QStringList({"Arrow", "Fabre_Card", "Jellopy", "Poring_Card",
                                            "Red_Potion", "Sword"}));
        filter->setCurrentIndex(5);
        QCOMPARE(texts(items), QStringList({"Fabre_Card", "Poring_Card"}));

        QCOMPARE(child<QComboBox>(form, "Combo4_0")->currentText(), QString("None"));
        QCOMPARE(child<QComboBox>(form, "Combo4_0")->count(), 5);
        QCOMPARE(child<QComboBox>(form, "Combo4_1")->currentText(), QString("None"));
        QCOMPARE(child<QComboBox>(form, "Combo4_1")->count(), 4);
        for (const char* card : {"Combo2_0", "Combo2_1", "Combo2_2", "Combo2_3"}) {
            QCOMPARE(texts(child<QComboBox>(form, card)), QStringList({"[0000] None"}));
        }
    }
};

QTEST_MAIN(RefdataPanelsTest)
#include "refdata_panels_test.moc"
