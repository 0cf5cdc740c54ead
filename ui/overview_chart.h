#pragma once
// One chart of the "Overview" tab with its numbers beside it (below it when the tab is narrow):
// the bars and the lines of the table are the page's, a click on a line or a bar of a ranking
// is forwarded, and the chart's context menu saves it as a PNG picture.

#include <QWidget>

#include "pages/overview_page.h"

class QBoxLayout;
class QTableWidget;

class QChartView;

namespace tavo {
class Ui;
}

namespace tavo::ui {

class ChartPanel : public QWidget {
    Q_OBJECT
public:
    ChartPanel(const OverviewChart& chart, Ui& ui, QWidget* parent = nullptr);

    QString title() const { return title_; }
    // The chart itself; nothing for a panel of numbers alone.
    QChartView* view() const { return view_; }
    QTableWidget* numbers() const { return numbers_; }
    bool save_png(const QString& path) const;

signals:
    // A line of the numbers or a bar was clicked: the index of the page's bar.
    void barChosen(int index);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void build_chart(const OverviewChart& chart);
    void build_numbers(const OverviewChart& chart);
    void ask_png_file();

    Ui& ui_;
    QString title_;
    QBoxLayout* layout_;
    QChartView* view_ = nullptr;
    QTableWidget* numbers_;
};

}  // namespace tavo::ui
