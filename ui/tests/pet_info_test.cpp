#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "pages/pages.h"
#include "testsupport/temp_dir.h"
#include "ui/item_panel.h"
#include "ui/pet_info_frame.h"
#include "ui/tests/widget_fixture.h"

using tavo::testing::WidgetFixture;

class PetInfoTest : public QObject {
    Q_OBJECT
private slots:
    void the_name_is_edited_saved_and_cancelled() {
        WidgetFixture f;
        f.dir.write("server/save/pet.txt",
                    "// pets\n1,1002,Pudding\t2000002,150002,12,9001,0,450,60,1,1\n");
        tavo::ui::Form1& form = f.open_window();
        tavo::ui::ItemPanel* panel = form.item_panel();
        // Editing the egg of pet 1 from a list.
        tavo::ItemPanelPage& editor = form.pages().item_panel;
        editor.open(form.pages().character.inventory(), tavo::ItemAction::Save);
        editor.preset({0, 9001, 1, 0, 1, 0, 0, -256, 1, 0, 0});
        panel->render();
        tavo::ui::PetInfoFrame* pet = panel->pet_info();
        auto* id = pet->findChild<QLineEdit*>("Text5_0");
        auto* name = pet->findChild<QLineEdit*>("Text5_2");
        auto* edit = pet->findChild<QPushButton*>("Command7_0");
        auto* cancel = pet->findChild<QPushButton*>("Command7_1");
        QCOMPARE(id->text(), QString("1"));
        QCOMPARE(name->text(), QString("Pudding"));
        QVERIFY(name->isReadOnly());

        edit->click();
        QCOMPARE(edit->text(), QString("Save Name"));
        QVERIFY(!name->isReadOnly());
        name->selectAll();
        QTest::keyClicks(name, "Jelly");
        panel->render();  // a redraw keeps what is typed
        QCOMPARE(name->text(), QString("Jelly"));
        // Another id typed does not move the name to that pet.
        id->selectAll();
        QTest::keyClicks(id, "7");
        edit->click();
        QCOMPARE(edit->text(), QString("Edit Name"));
        QVERIFY(name->isReadOnly());
        QCOMPARE(f.dir.read("server/save/pet.txt"),
                 std::string("// pets\n1,1002,Jelly\t2000002,150002,12,9001,0,450,60,1,1\n"));

        edit->click();
        QTest::keyClicks(name, "Wobbly");
        cancel->click();  // the name as pet.txt has it
        QCOMPARE(name->text(), QString("Jelly"));
        QVERIFY(name->isReadOnly());
        QCOMPARE(edit->text(), QString("Edit Name"));

        edit->click();
        name->selectAll();
        QTest::keyClicks(name, "Two");
        editor.type_pet_name(editor.pet().name + "\tParts");  // pasted text with a TAB
        edit->click();  // refused: the box stays open for a correction
        QCOMPARE(f.ui.messages().size(), std::size_t{1});
        QCOMPARE(edit->text(), QString("Save Name"));
        QVERIFY(f.dir.read("server/save/pet.txt").find("Jelly") != std::string::npos);

        name->selectAll();
        QTest::keyClick(name, Qt::Key_Delete);
        edit->click();  // an empty name does nothing
        QCOMPARE(edit->text(), QString("Save Name"));
    }
};

QTEST_MAIN(PetInfoTest)
#include "pet_info_test.moc"
