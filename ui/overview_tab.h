#pragma once
// The "Overview" tab: the server's figures in charts with their numbers, filled in the
// background from one pass over the save files, and the item census. It renders the Overview
// page and forwards clicks; choosing an account or character elsewhere is the window's.

#include <QWidget>

#include "pages/overview_page.h"

class QComboBox;
class QLabel;
class QPushButton;
class QScrollArea;
class QTableView;
class QTabWidget;
class QVBoxLayout;

namespace tavo {
struct Workspace;
class Ui;
}  // namespace tavo

namespace tavo::ui {

class BackgroundPass;
class ChartPanel;
class HoldersModel;

class OverviewTab : public QWidget {
    Q_OBJECT
public:
    OverviewTab(Workspace& ws, Ui& ui, QWidget* parent = nullptr);
    ~OverviewTab() override;

    OverviewPage& page() { return page_; }
    // Reads the files again in the background.
    void refresh();
    // Looks for every holder of the item the chooser names, in the background.
    void find_holders();
    QList<ChartPanel*> charts() const;

signals:
    // The count of lines read, for the status bar; `timeout` 0 keeps it until the next.
    void statusText(const QString& text, int timeout);
    // Choose the account at this place of the account list, then the character (0: none) and
    // its view (CharacterView; -1: as it is), and show the page that opens it (OverviewOpens).
    void openRequested(int account_row, int char_id, int opens, int view);

protected:
    void showEvent(QShowEvent* event) override;

private:
    template <typename Result, typename Work, typename Take, typename Stopped>
    void run_pass(BackgroundPass* pass, const char* what, Work work, Take take, Stopped stopped);
    QWidget* build_figures();
    QWidget* build_census();
    void render_figures();
    void render_holders();
    void render_buttons();
    void open(const OverviewTarget& target);

    Workspace& ws_;
    Ui& ui_;
    OverviewPage page_;
    BackgroundPass* figures_pass_;
    BackgroundPass* census_pass_;
    QTabWidget* pages_;
    QPushButton* refresh_;
    QLabel* notice_;
    QScrollArea* scroll_;
    QWidget* sections_ = nullptr;
    QComboBox* item_chooser_;
    QPushButton* find_;
    QLabel* holders_summary_;
    QLabel* holders_notice_;
    HoldersModel* holders_model_;
    QTableView* holders_;
};

}  // namespace tavo::ui
