#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

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
        tavo::ui::PetInfoFrame* pet = form.item_panel()->pet_info();
        QCOMPARE(pet->objectName(), QString("Frame3_2"));
        QCOMPARE(pet->title(), QString("Pet Info"));
        auto* name = pet->findChild<QLineEdit*>("Text5_2");
        auto* edit = pet->findChild<QPushButton*>("Command7_0");
        auto* cancel = pet->findChild<QPushButton*>("Command7_1");
        pet->show_pet(1, "Poring", "Pudding");
        QCOMPARE(pet->findChild<QLineEdit*>("Text5_0")->text(), QString("1"));
        QVERIFY(name->isReadOnly());

        edit->click();
        QCOMPARE(edit->text(), QString("Save Name"));
        QVERIFY(!name->isReadOnly());
        name->setText("Jelly");
        edit->click();
        QCOMPARE(edit->text(), QString("Edit Name"));
        QVERIFY(name->isReadOnly());
        QCOMPARE(f.dir.read("server/save/pet.txt"),
                 std::string("// pets\n1,1002,Jelly\t2000002,150002,12,9001,0,450,60,1,1\n"));

        edit->click();
        name->setText("Wobbly");
        cancel->click();  // the name as pet.txt has it
        QCOMPARE(name->text(), QString("Jelly"));
        QVERIFY(name->isReadOnly());
        QCOMPARE(edit->text(), QString("Edit Name"));

        edit->click();
        name->setText("Two\tParts");
        edit->click();  // refused: the box stays open for a correction
        QCOMPARE(f.ui.messages().size(), std::size_t{1});
        QCOMPARE(edit->text(), QString("Save Name"));
        QVERIFY(f.dir.read("server/save/pet.txt").find("Jelly") != std::string::npos);

        name->clear();
        edit->click();  // an empty name does nothing
        QCOMPARE(edit->text(), QString("Save Name"));
        QVERIFY(f.ui.unexpected.empty());
    }
};

QTEST_MAIN(PetInfoTest)
#include "pet_info_test.moc"
