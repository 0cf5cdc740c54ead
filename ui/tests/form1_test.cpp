#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>
#include <functional>

#include "ui/tests/widget_fixture.h"

using tavo::testing::child;
using tavo::testing::WidgetFixture;

class Form1Test : public QObject {
    Q_OBJECT
private slots:
    void starts_on_user_info_with_the_four_tabs() {
        WidgetFixture f;
        tavo::ui::Form1& form = f.open_window();
        // The program's caption, then the server folder and the mark of unsaved changes.
        QCOMPARE(form.windowTitle(), "Tavo v1.0.0 [Final] for eA817 - eA1.0.0SVN - " +
                                         QString::fromStdString(f.ws.app.settings.data_folder) +
                                         "[*]");
        QVERIFY(!form.isWindowModified());
        auto* tabs = child<QTabWidget>(form, "SSTab1");
        QStringList captions;
        for (int i = 0; i < tabs->count(); ++i) captions << tabs->tabText(i);
        QCOMPARE(captions, QStringList({"User Info", "Char Profile", "Storage", "Options/About"}));
        QCOMPARE(tabs->currentIndex(), 0);
        for (const char* save : {"Command2_4", "Command4_4", "Command3_4"}) {
            QVERIFY2(!child<QPushButton>(form, save)->isEnabled(), save);
        }
    }

    void asks_before_discarding_unsaved_work() {
        // An account added to the table, or an edit of the current character.
        const std::function<void(tavo::ui::Form1&)> changes[] = {
            [](tavo::ui::Form1& form) {
                tavo::AccountEditor& accounts = form.account_editor();
                accounts.press(tavo::AccountButton::NewPlayer);
                tavo::AccountForm typed = accounts.form();
                typed.username = "carl", typed.password = "pw";
                accounts.set_form(typed);
                accounts.press(tavo::AccountButton::NewPlayer);
            },
            [](tavo::ui::Form1& form) { form.character_editor().mark_changed(); },
        };
        const char* buttons[] = {"Command2_4", "Command4_4"};
        for (int i = 0; i < 2; ++i) {
            WidgetFixture f;
            tavo::ui::Form1& form = f.open_window();
            form.show();
            changes[i](form);
            QVERIFY2(form.findChild<QPushButton*>(buttons[i])->isEnabled(), buttons[i]);
            f.ui.answer({false});
            QVERIFY2(!form.close(), buttons[i]);  // No keeps the window open
            QVERIFY(form.isVisible());
            f.ui.answer({true});
            QVERIFY2(form.close(), buttons[i]);  // Yes closes without saving
            QCOMPARE(f.ui.questions(), std::vector<std::string>(2, tavo::kDiscardChangesQuestion));
        }
    }

    void about_page_shows_the_settings_in_force() {
        WidgetFixture f("[option]\nmaxblvl\t255\n");
        tavo::ui::Form1& form = f.open_window();
        auto* text = form.findChild<QPlainTextEdit*>("Textabout");
        QVERIFY(text != nullptr);
        QVERIFY(text->isReadOnly());
        const QStringList lines = text->toPlainText().split('\n');
        QVERIFY(lines.contains("Max Base Level : 255"));
        QVERIFY(lines.contains("eAthena folder : " + QString::fromStdString(f.server().string()) +
                               "/"));
    }
};

QTEST_MAIN(Form1Test)
#include "form1_test.moc"
