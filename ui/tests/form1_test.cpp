#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QtTest>
#include <functional>

#include "ui/tests/widget_fixture.h"

using tavo::testing::child;
using tavo::testing::WidgetFixture;

class Form1Test : public QObject {
    Q_OBJECT
private slots:
    void starts_on_user_info_with_its_tabs() {
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
        QCOMPARE(captions, QStringList({"User Info", "Char Profile", "Storage", "Options/About",
                                        "Overview"}));
        QCOMPARE(tabs->currentIndex(), 0);
        for (const char* save : {"Command2_4", "Command4_4", "Command3_4"}) {
            QVERIFY2(!child<QPushButton>(form, save)->isEnabled(), save);
        }
    }

    // An account added to the table, an edit of the current character, or a store line
    // deleted: each sets the title's mark and is asked about before the window closes.
    void asks_before_discarding_unsaved_work() {
        const std::function<void(WidgetFixture&, tavo::ui::Form1&)> changes[] = {
            [](WidgetFixture&, tavo::ui::Form1& form) {
                tavo::AccountPage& accounts = form.pages().accounts;
                accounts.press(tavo::AccountButton::NewPlayer);
                accounts.type_field(tavo::AccountField::Username, "carl");
                accounts.type_field(tavo::AccountField::Password, "pw");
                accounts.press(tavo::AccountButton::NewPlayer);
            },
            [](WidgetFixture& f, tavo::ui::Form1&) { f.ws.characters.mark_modified(); },
            [](WidgetFixture& f, tavo::ui::Form1& form) {
                form.select_account(1);  // anna, whose store holds one potion
                form.tabs()->setCurrentIndex(2);
                auto* list = child<QListWidget>(form, "List2");
                QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                                  list->visualItemRect(list->item(0)).center());
                f.ui.answer({true});
                child<QPushButton>(form, "Command3_2")->click();
                f.ui.clear();
            },
        };
        const char* buttons[] = {"Command2_4", "Command4_4", "Command3_4"};
        for (int i = 0; i < 3; ++i) {
            WidgetFixture f;
            f.dir.write("server/save/storage.txt", "2000001,1\t1,501,3,0,1,0,0,0,0,0,0 \t\r\n");
            tavo::ui::Form1& form = f.open_window();
            form.show();
            QVERIFY(!form.isWindowModified());
            changes[i](f, form);
            QVERIFY2(form.findChild<QPushButton*>(buttons[i])->isEnabled(), buttons[i]);
            QVERIFY2(form.isWindowModified(), buttons[i]);
            f.ui.answer({false});
            QVERIFY2(!form.close(), buttons[i]);  // No keeps the window open
            QVERIFY(form.isVisible());
            f.ui.answer({true});
            QVERIFY2(form.close(), buttons[i]);  // Yes closes without saving
            QCOMPARE(f.ui.questions(), std::vector<std::string>(2, tavo::kDiscardChangesQuestion));
        }
    }

    // Ctrl+S presses the visible tab's save button, and only when its page offers it.
    void ctrl_s_saves_the_visible_tab() {
        WidgetFixture f;
        f.dir.write("server/save/storage.txt", "2000001,1\t1,501,3,0,1,0,0,0,0,0,0 \t\r\n");
        tavo::ui::Form1& form = f.open_window();
        form.show();
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        form.select_account(1);
        form.tabs()->setCurrentIndex(2);
        auto* list = child<QListWidget>(form, "List2");
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(0)).center());
        f.ui.answer({true});
        child<QPushButton>(form, "Command3_2")->click();  // the potion deleted
        form.tabs()->setCurrentIndex(0);
        QTest::keyClick(&form, Qt::Key_S, Qt::ControlModifier);  // User Info: nothing to save
        QVERIFY(form.isWindowModified());
        form.tabs()->setCurrentIndex(2);
        QTest::keyClick(&form, Qt::Key_S, Qt::ControlModifier);
        QVERIFY(!form.isWindowModified());
        QCOMPARE(f.dir.read("server/save/storage.txt"), std::string());
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

    // Every tab fits 800×600: what does not fit scrolls instead of widening the window.
    void shrinks_to_a_small_screen() {
        WidgetFixture f;
        f.use_demo();
        tavo::ui::Form1& form = f.open_window();
        const QSize least = form.minimumSizeHint();
        QVERIFY2(least.width() <= 800 && least.height() <= 600,
                 qPrintable(QString("%1x%2").arg(least.width()).arg(least.height())));
    }

    // Escape empties the find box; an account the narrowing hides leaves the form for the first
    // match, or for nothing.
    void the_find_box_narrows_what_the_form_shows() {
        WidgetFixture f;
        f.use_demo();
        tavo::ui::Form1& form = f.open_window();
        form.show();
        form.select_account(0);
        QLineEdit* find = form.find_box();
        QTest::keyClicks(find, "kaelen");
        QCOMPARE(form.pages().accounts.selection(), std::optional<std::size_t>(13));
        QCOMPARE(form.pages().character.count(), std::size_t(2));
        const auto status = [&form] {
            return form.findChild<QLabel*>("StatusText")->text() + "    " +
                   form.findChild<QLabel*>("FindCount")->text();
        };
        QVERIFY(status().contains("    2 characters on this account    2 of 33 accounts match"));
        // At 800 px the count stays whole; the folder before it gives way.
        form.resize(800, 600);
        QApplication::processEvents();
        const QLabel* count = form.findChild<QLabel*>("FindCount");
        QVERIFY(count->isVisible());
        QVERIFY(count->width() >= count->sizeHint().width());
        QVERIFY(count->geometry().right() < form.statusBar()->width());
        QTest::keyClicks(find, "qq");
        QCOMPARE(form.pages().accounts.selection(), std::optional<std::size_t>());
        QCOMPARE(form.pages().character.count(), std::size_t(0));
        QVERIFY(status().contains("    0 characters on this account    0 of 33 accounts match"));
        // A find that matched nothing chose nothing: the next match is shown.
        find->clear();
        QTest::keyClicks(find, "ivywhisper");
        QVERIFY(status().contains("    1 character on this account    1 of 33 accounts match"));
        find->setFocus();
        QTest::keyClick(find, Qt::Key_Escape);
        QCOMPARE(find->text(), QString());
        QVERIFY(form.findChild<QLabel*>("FindCount")->isHidden());
    }
};

QTEST_MAIN(Form1Test)
#include "form1_test.moc"
