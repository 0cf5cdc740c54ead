// The "Overview" tab on the demo server: it fills in the background, its charts carry the
// numbers `tavo-cli stats --json` gives, a click in a ranking chooses that character and a
// double-click on a holder of the item census opens it.

#include "ui/overview_tab.h"

#include <QAbstractBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QListView>
#include <QProcess>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QtTest>

#include "ui/char_profile_tab.h"
#include "ui/overview_chart.h"
#include "ui/storage_tab.h"
#include "ui/tests/widget_fixture.h"

using tavo::OverviewState;
using tavo::testing::child;
using tavo::testing::WidgetFixture;
using tavo::ui::ChartPanel;
using tavo::ui::Form1;
using tavo::ui::OverviewTab;

namespace {

// The tab page that holds the widget (each tab scrolls inside a page of its own).
void show_tab(Form1& form, QWidget* widget) {
    for (int i = 0; i < form.tabs()->count(); ++i) {
        if (form.tabs()->widget(i)->isAncestorOf(widget)) form.tabs()->setCurrentIndex(i);
    }
}

OverviewTab* filled_overview(Form1& form) {
    OverviewTab* tab = form.overview();
    form.show();
    show_tab(form, tab);  // shown the first time, it starts reading
    if (!QTest::qWaitFor([&] { return tab->page().state() == OverviewState::Filled; }, 20000)) {
        qFatal("the overview did not fill");
    }
    return tab;
}

ChartPanel* chart(OverviewTab* tab, const QString& title) {
    for (ChartPanel* panel : tab->charts()) {
        if (panel->title() == title) return panel;
    }
    qFatal("no chart %s", qPrintable(title));
}

// The account chosen in the account list.
std::int32_t chosen_account(Form1& form, WidgetFixture& f) {
    const int row = form.account_list()->currentIndex().row();
    return row < 0 ? -1 : f.ws.accounts.table().records[static_cast<std::size_t>(row)].account_id();
}

}  // namespace

class OverviewTabTest : public QObject {
    Q_OBJECT
private slots:
    void a_chart_carries_the_numbers_of_stats_json() {
        WidgetFixture f;
        f.use_demo();
        OverviewTab* tab = filled_overview(f.open_window());

        QProcess cli;
        cli.start(
            qEnvironmentVariable("TAVO_CLI"),
            {"--quiet", "--data", QString::fromStdString(f.server().string()), "--json", "stats"});
        QVERIFY(cli.waitForFinished(20000));
        const QJsonObject stats = QJsonDocument::fromJson(cli.readAllStandardOutput()).object();
        const QJsonArray families = stats["characters"].toObject()["by_family"].toArray();
        QVERIFY(families.size() > 2);

        ChartPanel* panel = chart(tab, "Characters by job family");
        const auto* series = qobject_cast<QAbstractBarSeries*>(panel->view()->chart()->series()[0]);
        const QBarSet* bars = series->barSets()[0];
        QCOMPARE(bars->count(), families.size());
        for (int i = 0; i < families.size(); ++i) {
            QCOMPARE(bars->at(i), families[i].toObject()["count"].toDouble());
            QCOMPARE(panel->numbers()->item(i, 0)->text(),
                     families[i].toObject()["family"].toString());
        }
        QVERIFY(!panel->view()->actions().isEmpty());  // "Save as PNG…"
        const QString png = QString::fromStdString((f.dir.path() / "families.png").string());
        QVERIFY(panel->save_png(png));
        QVERIFY(QImage(png).width() > 100);
    }

    void a_click_in_a_ranking_chooses_that_character() {
        WidgetFixture f;
        f.use_demo();
        Form1& form = f.open_window();
        OverviewTab* tab = filled_overview(form);
        QTableWidget* ranking = chart(tab, "Top characters by zeny")->numbers();
        const int row = 1;
        const std::string char_id = ranking->item(row, 2)->text().toStdString();
        const std::int32_t account = ranking->item(row, 3)->text().toInt();
        QTest::mouseClick(ranking->viewport(), Qt::LeftButton, {},
                          ranking->visualItemRect(ranking->item(row, 1)).center());
        QVERIFY(form.tabs()->currentWidget()->isAncestorOf(form.char_profile()));
        QCOMPARE(chosen_account(form, f), account);
        const auto chosen = form.pages().character.chosen();
        QVERIFY(chosen.has_value());
        QCOMPARE(form.pages().character.entries()[*chosen].id, char_id);
    }

    void a_double_click_opens_a_holder_of_the_item() {
        WidgetFixture f;
        f.use_demo();
        Form1& form = f.open_window();
        form.show();
        show_tab(form, form.overview());
        child<QTabWidget>(form, "OverviewPages")->setCurrentIndex(1);
        child<QComboBox>(form, "OverviewItem")->setEditText("Red Potion (501)");
        QTRY_VERIFY(child<QPushButton>(form, "OverviewFindHolders")->isEnabled());
        child<QPushButton>(form, "OverviewFindHolders")->click();
        auto* holders = child<QTableView>(form, "OverviewHolders");
        QTRY_VERIFY(holders->model()->rowCount() > 0);
        const auto open_first = [&](const QString& place) {
            for (int row = 0; row < holders->model()->rowCount(); ++row) {
                if (holders->model()->index(row, 0).data().toString() != place) continue;
                const QRect cell = holders->visualRect(holders->model()->index(row, 1));
                QTest::mouseClick(holders->viewport(), Qt::LeftButton, {}, cell.center());
                QTest::mouseDClick(holders->viewport(), Qt::LeftButton, {}, cell.center());
                return holders->model()->index(row, 2).data().toString().toStdString();
            }
            qFatal("nobody holds it in a %s", qPrintable(place));
        };
        const std::string account = open_first("Store");
        QVERIFY(form.tabs()->currentWidget()->isAncestorOf(form.storage()));
        QCOMPARE(std::to_string(chosen_account(form, f)), account);

        // A character opens on the list that holds the item.
        show_tab(form, form.overview());
        const std::string char_id = open_first("Inventory");
        QVERIFY(form.tabs()->currentWidget()->isAncestorOf(form.char_profile()));
        const auto chosen = form.pages().character.chosen();
        QVERIFY(chosen.has_value());
        QCOMPARE(form.pages().character.entries()[*chosen].id, char_id);
        QCOMPARE(form.pages().character.view(), tavo::CharacterView::Inventory);
    }
};

QTEST_MAIN(OverviewTabTest)
#include "overview_tab_test.moc"
