#include <QElapsedTimer>
#include <QLabel>
#include <QtTest>

#include "ui/qt_ui.h"

namespace {

struct CountingUi : tavo::ui::QtUi {
    int repaints = 0;
    void progress_set(const std::string& text) override {
        ++repaints;
        QtUi::progress_set(text);
    }
};

}  // namespace

class Form2Test : public QObject {
    Q_OBJECT
private slots:
    void repaints_a_few_times_a_second_and_ends_on_the_latest_count() {
        QWidget owner;
        owner.show();
        CountingUi ui;
        ui.set_owner(&owner);
        QElapsedTimer timer;
        timer.start();
        long long last = 0;
        {
            tavo::Progress progress(ui);
            QCOMPARE(ui.progress_window()->windowTitle(), QString("Progress..."));
            QVERIFY(ui.progress_window()->isVisible());
            // Enough lines to take a few hundred milliseconds.
            while (timer.elapsed() < 300 || last < 1000) progress.writing(++last);
        }
        const qint64 elapsed = timer.elapsed();
        QVERIFY(!ui.progress_window()->isVisible());
        QVERIFY2(ui.repaints <= elapsed / 33 + 2, qPrintable(QString::number(ui.repaints)));
        QCOMPARE(ui.progress_window()->counter(), QString("Writing %1 lines").arg(last));
        auto* label1 = ui.progress_window()->findChild<QLabel*>("Label1");
        QCOMPARE(label1->text(), QString("Please wait... File is being read..."));

        {
            tavo::Progress progress(ui);
            for (int n = 1; n <= 7; ++n) progress.reading(n);  // fewer lines than a check
        }
        QCOMPARE(ui.progress_window()->counter(), QString("Reading 7 lines"));
    }
};

QTEST_MAIN(Form2Test)
#include "form2_test.moc"
