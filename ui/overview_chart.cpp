#include "ui/overview_chart.h"

#include <QAction>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QBoxLayout>
#include <QChart>
#include <QChartView>
#include <QFileDialog>
#include <QHeaderView>
#include <QHorizontalBarSeries>
#include <QLabel>
#include <QTableWidget>
#include <QValueAxis>
#include <algorithm>

#include "app/ui.h"
#include "ui/latin1.h"

namespace tavo::ui {
namespace {

constexpr int kNarrow = 720;       // below this width the numbers go under the chart
constexpr int kVerticalBars = 14;  // more bars, or a ranking, lie on their side
constexpr int kBarHeight = 22;

}  // namespace

ChartPanel::ChartPanel(const OverviewChart& chart, Ui& ui, QWidget* parent)
    : QWidget(parent), ui_(ui), title_(qs(chart.title)) {
    setObjectName("ChartPanel");
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* heading = new QLabel("<b>" + title_.toHtmlEscaped() + "</b>");
    outer->addWidget(heading);
    layout_ = new QBoxLayout(QBoxLayout::LeftToRight);
    outer->addLayout(layout_);
    if (chart.drawn) build_chart(chart);
    build_numbers(chart);
}

void ChartPanel::build_chart(const OverviewChart& chart) {
    const bool ranking = std::any_of(chart.bars.begin(), chart.bars.end(),
                                     [](const ChartBar& b) { return b.target; });
    const bool lying = ranking || chart.bars.size() > static_cast<std::size_t>(kVerticalBars);
    auto* set = new QBarSet(title_);
    QStringList labels;
    const int count = static_cast<int>(chart.bars.size());
    // Lying bars are drawn from the bottom up: the first of the page's bars goes on top.
    for (int i = 0; i < count; ++i) {
        const ChartBar& bar = chart.bars[static_cast<std::size_t>(lying ? count - 1 - i : i)];
        set->append(bar.value);
        labels << qs(bar.label);
    }
    QAbstractBarSeries* series = lying ? static_cast<QAbstractBarSeries*>(new QHorizontalBarSeries)
                                       : static_cast<QAbstractBarSeries*>(new QBarSeries);
    series->append(set);
    connect(set, &QBarSet::clicked, this,
            [this, lying, count](int index) { emit barChosen(lying ? count - 1 - index : index); });

    auto* qchart = new QChart;
    qchart->addSeries(series);
    qchart->legend()->hide();
    qchart->setAnimationOptions(QChart::NoAnimation);
    qchart->setMargins(QMargins(4, 4, 4, 4));
    auto* categories = new QBarCategoryAxis;
    categories->append(labels);
    categories->setTruncateLabels(false);
    auto* values = new QValueAxis;
    values->setLabelFormat("%.0f");
    values->setMin(0);
    qchart->addAxis(categories, lying ? Qt::AlignLeft : Qt::AlignBottom);
    qchart->addAxis(values, lying ? Qt::AlignBottom : Qt::AlignLeft);
    series->attachAxis(categories);
    series->attachAxis(values);
    values->applyNiceNumbers();
    if (!lying && count > 6) categories->setLabelsAngle(-90);

    view_ = new QChartView(qchart);
    view_->setObjectName("ChartView");
    view_->setRenderHint(QPainter::Antialiasing);
    view_->setMinimumHeight(lying ? std::clamp(40 + kBarHeight * count, 160, 1400) : 240);
    view_->setMinimumWidth(260);
    view_->setContextMenuPolicy(Qt::ActionsContextMenu);
    auto* save = new QAction("Save as PNG…", view_);
    save->setObjectName("SaveAsPng");
    connect(save, &QAction::triggered, this, [this] { ask_png_file(); });
    view_->addAction(save);
    layout_->addWidget(view_, 3);
}

void ChartPanel::build_numbers(const OverviewChart& chart) {
    numbers_ = new QTableWidget(static_cast<int>(chart.bars.size()),
                                static_cast<int>(chart.headings.size()));
    numbers_->setObjectName("ChartNumbers");
    QStringList headings;
    for (const std::string& heading : chart.headings) headings << qs(heading);
    numbers_->setHorizontalHeaderLabels(headings);
    numbers_->verticalHeader()->hide();
    numbers_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    numbers_->setSelectionBehavior(QAbstractItemView::SelectRows);
    numbers_->setSelectionMode(QAbstractItemView::SingleSelection);
    bool clickable = false;
    for (int row = 0; row < numbers_->rowCount(); ++row) {
        const ChartBar& bar = chart.bars[static_cast<std::size_t>(row)];
        clickable = clickable || bar.target.has_value();
        for (int column = 0; column < numbers_->columnCount(); ++column) {
            const auto at = static_cast<std::size_t>(column);
            auto* item =
                new QTableWidgetItem(at < bar.cells.size() ? qs(bar.cells[at]) : QString());
            const bool number = column > 0 && column + 1 == numbers_->columnCount();
            if (number) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            numbers_->setItem(row, column, item);
        }
    }
    numbers_->resizeColumnsToContents();
    numbers_->horizontalHeader()->setStretchLastSection(true);
    if (clickable) {
        numbers_->setToolTip("Click a line to choose it");
        connect(numbers_, &QTableWidget::cellClicked, this,
                [this](int row) { emit barChosen(row); });
    }
    const int rows = std::min(numbers_->rowCount(), 12);
    numbers_->setMinimumHeight(
        numbers_->horizontalHeader()->sizeHint().height() +
        std::max(rows, 1) * numbers_->verticalHeader()->defaultSectionSize() + 4);
    layout_->addWidget(numbers_, 2);
}

void ChartPanel::resizeEvent(QResizeEvent* event) {
    layout_->setDirection(width() < kNarrow ? QBoxLayout::TopToBottom : QBoxLayout::LeftToRight);
    QWidget::resizeEvent(event);
}

bool ChartPanel::save_png(const QString& path) const {
    return view_ != nullptr && view_->grab().save(path, "PNG");
}

void ChartPanel::ask_png_file() {
    QString name = title_;
    name.replace(' ', '_');
    const QString path =
        QFileDialog::getSaveFileName(this, "Save as PNG", name + ".png", "PNG pictures (*.png)");
    if (path.isEmpty()) return;
    if (!save_png(path)) {
        ui_.message("The chart could not be saved as " + bytes(path) + ".", "Tavo", Icon::Warning);
    }
}

}  // namespace tavo::ui
