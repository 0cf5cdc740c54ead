// "Export to SQL…" in the Server Tools frame: the dialog writes the file it is given and ends
// with the rows per table; a refusal offers Export Anyway.

#include "ui/export_sql_dialog.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

#include "ui/tests/widget_fixture.h"

using tavo::testing::child;
using tavo::testing::WidgetFixture;

class ExportSqlDialogTest : public QObject {
    Q_OBJECT
private slots:
    void exports_the_demo_and_offers_export_anyway_after_a_refusal() {
        WidgetFixture f;
        f.use_demo();
        tavo::ui::Form1& form = f.open_window();
        QPushButton* command = child<QPushButton>(form, "Command8_2");
        QCOMPARE(command->text(), QString("Export to SQL…"));
        command->click();
        auto* dialog = form.findChild<tavo::ui::ExportSqlDialog*>("ExportSql");
        QVERIFY(dialog != nullptr && dialog->isVisible());
        auto* button = dialog->findChild<QPushButton*>("ExportButton");
        auto* anyway = dialog->findChild<QPushButton*>("ExportAnyway");
        auto* summary = dialog->findChild<QPlainTextEdit*>("ExportSummary");
        QVERIFY(!button->isEnabled());  // no file chosen yet
        dialog->findChild<QComboBox*>("ExportSchema")->setCurrentIndex(1);
        const QString file = QString::fromStdString((f.dir.path() / "out.sql").string());
        QTest::keyClicks(dialog->findChild<QLineEdit*>("ExportFile"), file);
        button->click();
        QVERIFY2(summary->toPlainText().contains("  char: 11\n"),
                 qPrintable(summary->toPlainText()));
        QVERIFY(QFile::exists(file));
        QVERIFY(anyway->isHidden());

        // The first character twice: refused, nothing written, Export Anyway leaves it out.
        QFile::remove(file);
        std::string athena = f.dir.read("server/save/athena.txt");
        f.dir.write("server/save/athena.txt", athena + athena.substr(0, athena.find('\n') + 1));
        button->click();
        QVERIFY(summary->toPlainText().startsWith("Nothing was exported"));
        QVERIFY(!QFile::exists(file));
        QVERIFY(!anyway->isHidden());
        anyway->click();
        QVERIFY(QFile::exists(file));
        QVERIFY(summary->toPlainText().contains("Left out (1):"));
    }
};

QTEST_MAIN(ExportSqlDialogTest)
#include "export_sql_dialog_test.moc"
