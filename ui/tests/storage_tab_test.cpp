#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>

#include "ui/tests/widget_fixture.h"

using tavo::testing::child;
using tavo::testing::WidgetFixture;

class StorageTabTest : public QObject {
    Q_OBJECT
private slots:
    // The label counts against maxstorage from the start; after a load only Edit and Delete
    // All (and New) are offered until a line is chosen.
    void caption_and_offered_buttons() {
        WidgetFixture f("maxstorage\t600\n");
        f.dir.write("server/save/storage.txt",
                    "2000001,2\t1,501,3,0,1,0,0,0,0,0,0 2,1201,1,0,1,0,0,0,0,0,0 \t\r\n");
        tavo::ui::Form1& form = f.open_window();
        form.show();
        form.tabs()->setCurrentIndex(2);
        auto* label = child<QLabel>(form, "Label2");
        QCOMPARE(label->text(), QString("Qty [0/600]"));
        const auto enabled = [&form] {
            QString buttons;
            for (int i = 0; i < 5; ++i) {
                buttons += child<QPushButton>(form, QString("Command3_%1").arg(i))->isEnabled()
                               ? QString::number(i)
                               : QString("-");
            }
            return buttons;
        };
        QCOMPARE(enabled(), QString("0----"));  // the server account: an empty store

        form.select_account(1);  // anna
        QCOMPARE(label->text(), QString("Qty [2/600]"));
        auto* list = child<QListWidget>(form, "List2");
        QCOMPARE(list->currentRow(), 0);
        QCOMPARE(enabled(), QString("01-3-"));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(0)).center());
        QCOMPARE(enabled(), QString("0123-"));
        f.ui.answer({true});
        child<QPushButton>(form, "Command3_2")->click();
        QCOMPARE(label->text(), QString("Qty [1/600]"));
        QCOMPARE(enabled(), QString("01234"));
    }
};

QTEST_MAIN(StorageTabTest)
#include "storage_tab_test.moc"
