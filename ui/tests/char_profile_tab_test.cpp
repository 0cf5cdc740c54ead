#include <QComboBox>
#include <QGroupBox>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

#include "ui/tests/widget_fixture.h"

using tavo::testing::child;
using tavo::testing::texts;
using tavo::testing::WidgetFixture;

namespace {

constexpr int kKaelen = 13;   // account 2000001 in the demo's account list
constexpr int kMirabel = 14;  // account 2000002

// Which of the three view frames is shown.
int shown_view(tavo::ui::Form1& form) {
    int shown = -1;
    for (int i = 0; i < 3; ++i) {
        if (!child<QGroupBox>(form, QString("Frame1_%1").arg(i))->isHidden()) {
            if (shown >= 0) return -2;
            shown = i;
        }
    }
    return shown;
}

void choose(QComboBox* combo, int index) {
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

}  // namespace

class CharProfileTabTest : public QObject {
    Q_OBJECT
private slots:
    void choosing_an_account_shows_its_first_character_in_the_chosen_view() {
        WidgetFixture f;
        f.use_demo();
        tavo::ui::Form1& form = f.open_window();
        auto* chooser = child<QComboBox>(form, "Combo5");
        QCOMPARE(chooser->count(), 0);  // the first account is a server account
        QVERIFY(!chooser->isEnabled());

        form.select_account(kKaelen);
        QCOMPARE(texts(chooser), QStringList({"ID: 150000, Slot: 0, Kaelen, <Knight>",
                                              "ID: 150001, Slot: 1, Kaelbrew, <Blacksmith>"}));
        QCOMPARE(chooser->currentIndex(), 0);
        QVERIFY(chooser->isEnabled());
        QCOMPARE(child<QComboBox>(form, "Combo6")->currentText(), QString("View Stats & Status"));
        QCOMPARE(shown_view(form), 0);
        const QString profile = child<QPlainTextEdit>(form, "Text6")->toPlainText();
        QVERIFY(
            profile.startsWith("Character ID: 150000\tChar Slot #: 0\nName: Kaelen\nClass: "
                               "Knight\n"));
        QVERIFY(profile.contains("\nParty: Dawnbreakers\nGuild: Iron Wolves\nPet: No Pet\n"));
        QCOMPARE(child<QGroupBox>(form, "Frame1_1")->title(),
                 QString("[Inventory Weight : 1517/5200] [Count : 11/100]"));
        const QStringList inventory = texts(child<QListWidget>(form, "List3"));
        QCOMPARE(inventory.size(), 11);
        QCOMPARE(inventory[0], QString("1 pc +7 Double Bloody Katana [3]  [EQP : Both Hand]"));
        QCOMPARE(child<QListWidget>(form, "List3")->currentRow(), 0);

        // The view selector shows one frame; the view stays across characters and accounts.
        auto* views = child<QComboBox>(form, "Combo6");
        views->setCurrentIndex(2);
        QCOMPARE(shown_view(form), 2);
        QCOMPARE(texts(child<QListWidget>(form, "List4")), QStringList());
        choose(chooser, 1);  // Kaelbrew pushes a cart
        QCOMPARE(shown_view(form), 2);
        QCOMPARE(texts(child<QListWidget>(form, "List4")),
                 QStringList({"1 pc Very Very Strong Hammerhand's Wind Flamberge",
                              "1 pc Very Very Very Strong Kaelbrew's Earth Knife", "1 pc Emperium",
                              "30 pcs Red Gemstone"}));
        QCOMPARE(child<QGroupBox>(form, "Frame1_2")->title(),
                 QString("[Cart Weight : 281/8000] [Count : 4/100]"));
        form.select_account(kMirabel);
        QCOMPARE(shown_view(form), 2);  // the chosen view survives a change of account
        views->setCurrentIndex(1);
        QCOMPARE(shown_view(form), 1);
        QVERIFY(texts(child<QListWidget>(form, "List3")).contains("1 pc Poring Egg 'Pudding'"));
    }

    // The editor decides; the chooser goes back to the character with the changes on No.
    void unsaved_changes_are_kept_on_no_and_dropped_on_yes() {
        WidgetFixture f;
        f.use_demo();
        tavo::ui::Form1& form = f.open_window();
        form.select_account(kKaelen);
        auto* chooser = child<QComboBox>(form, "Combo5");
        auto* save = child<QPushButton>(form, "Command4_4");
        f.ws.characters.mark_modified();  // as an edit of Kaelen does
        QVERIFY(save->isEnabled());
        f.ui.answer({false, true});
        choose(chooser, 1);
        QCOMPARE(chooser->currentIndex(), 0);
        QVERIFY(save->isEnabled());
        QVERIFY(child<QPlainTextEdit>(form, "Text6")->toPlainText().contains("Name: Kaelen"));
        choose(chooser, 1);
        QCOMPARE(chooser->currentIndex(), 1);
        QVERIFY(!save->isEnabled());
        QVERIFY(child<QPlainTextEdit>(form, "Text6")->toPlainText().contains("Name: Kaelbrew"));
    }

    void an_unreadable_character_is_not_shown_and_cannot_be_saved() {
        WidgetFixture f;
        f.dir.write(
            "server/save/athena.txt",
            "150000\t2000001,0\tAnnie\t0,1,1\t0,0,0\t40,40,10,10\t1,1,1,1,1,1\t0,0\t0,0,0\t"
            "0,0,0\t1,1,1\t0,0,0,0,0\tnew_1-1.gat,53,111\tnew_1-1.gat,53,111,0\t\t\t\t\t\t\n"
            "150001\t2000001,1\tBroken\t0,1,1\t0,0,0\n"
            "150002\t2000002,0\tOdd\t99999,1,1\t0,0,0\n");
        tavo::ui::Form1& form = f.open_window();
        form.select_account(1);  // anna, 2000001
        auto* chooser = child<QComboBox>(form, "Combo5");
        QCOMPARE(chooser->count(), 2);
        QCOMPARE(child<QGroupBox>(form, "Frame1_1")->title(),
                 QString("[Inventory Weight : 0/2030] [Count : 0/100]"));
        QCOMPARE(child<QListWidget>(form, "List3")->count(), 0);
        choose(chooser, 1);
        const std::vector<std::string> messages = f.ui.messages();
        QCOMPARE(messages.size(), std::size_t{2});
        QCOMPARE(messages[0], std::string("Error 9, Subscript out of range\r\nin load_char_info"));
        QVERIFY(messages[1].find("could not be read") != std::string::npos);
        QVERIFY(child<QPlainTextEdit>(form, "Text6")->toPlainText().isEmpty());
        QVERIFY(!child<QPushButton>(form, "Command4_4")->isEnabled());
        QVERIFY(!f.ws.characters.loaded());

        // A listing that fails part-way leaves nothing of the account chosen before.
        f.ui.clear();
        form.select_account(2);  // ben, 2000002, whose only character has a class out of range
        QCOMPARE(f.ui.messages(),
                 std::vector<std::string>{"Error 6, Overflow\r\nin load_char_list"});
        QCOMPARE(chooser->count(), 0);
        QVERIFY(!chooser->isEnabled());
    }
};

QTEST_MAIN(CharProfileTabTest)
#include "char_profile_tab_test.moc"
