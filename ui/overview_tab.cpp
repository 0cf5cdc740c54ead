#include "ui/overview_tab.h"

#include <QComboBox>
#include <QCompleter>
#include <QDateTime>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

#include "app/ui.h"
#include "ui/background_pass.h"
#include "ui/holders_model.h"
#include "ui/latin1.h"
#include "ui/overview_chart.h"
#include "workspace/workspace.h"

namespace tavo::ui {
namespace {

QLabel* notice_label(const char* name) {
    auto* label = new QLabel;
    label->setObjectName(name);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

// A notice takes room only while it has something to say.
void show_notice(QLabel* label, const std::string& text) {
    label->setText(qs(text));
    label->setVisible(!text.empty());
}

// What ended a pass other than its end or a request to stop: said to the user once it is back.
std::string failure_of_pass() {
    try {
        throw;
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "an unknown failure";
    }
}

}  // namespace

OverviewTab::OverviewTab(Workspace& ws, Ui& ui, QWidget* parent)
    : QWidget(parent),
      ws_(ws),
      ui_(ui),
      page_(ws, ui),
      figures_pass_(new BackgroundPass(this)),
      census_pass_(new BackgroundPass(this)) {
    setObjectName("OverviewTab");
    page_.set_group_separator(bytes(QLocale().groupSeparator()));
    pages_ = new QTabWidget;
    pages_->setObjectName("OverviewPages");
    pages_->addTab(build_figures(), "Server figures");
    pages_->addTab(build_census(), "Item census");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages_);
    render_buttons();
    show_notice(holders_notice_, {});
}

OverviewTab::~OverviewTab() = default;

QWidget* OverviewTab::build_figures() {
    auto* page = new QWidget;
    refresh_ = new QPushButton("Refresh");
    refresh_->setObjectName("OverviewRefresh");
    refresh_->setToolTip("Read the save files again");
    connect(refresh_, &QPushButton::clicked, this, [this] { refresh(); });
    notice_ = notice_label("OverviewNotice");
    auto* top = new QHBoxLayout;
    top->addWidget(notice_, 1);
    top->addWidget(refresh_, 0, Qt::AlignTop);
    scroll_ = new QScrollArea;
    scroll_->setObjectName("OverviewFigures");
    scroll_->setWidgetResizable(true);
    scroll_->setFrameShape(QFrame::NoFrame);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(top);
    layout->addWidget(scroll_, 1);
    return page;
}

QWidget* OverviewTab::build_census() {
    auto* page = new QWidget;
    item_chooser_ = new QComboBox;
    item_chooser_->setObjectName("OverviewItem");
    item_chooser_->setEditable(true);
    item_chooser_->setInsertPolicy(QComboBox::NoInsert);
    item_chooser_->lineEdit()->setPlaceholderText("Item name or id");
    item_chooser_->completer()->setCompletionMode(QCompleter::PopupCompletion);
    item_chooser_->completer()->setFilterMode(Qt::MatchContains);
    item_chooser_->completer()->setCaseSensitivity(Qt::CaseInsensitive);
    find_ = new QPushButton("Find holders");
    find_->setObjectName("OverviewFindHolders");
    find_->setDefault(true);
    connect(find_, &QPushButton::clicked, this, [this] { find_holders(); });
    connect(item_chooser_->lineEdit(), &QLineEdit::returnPressed, this, [this] { find_holders(); });
    auto* choose = new QHBoxLayout;
    choose->addWidget(new QLabel("Item:"));
    choose->addWidget(item_chooser_, 1);
    choose->addWidget(find_);
    holders_summary_ = notice_label("OverviewHoldersSummary");
    holders_notice_ = notice_label("OverviewHoldersNotice");
    holders_model_ = new HoldersModel(page_, this);
    holders_ = new QTableView;
    holders_->setObjectName("OverviewHolders");
    holders_->setModel(holders_model_);
    holders_->verticalHeader()->hide();
    holders_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    holders_->setSelectionBehavior(QAbstractItemView::SelectRows);
    holders_->setSelectionMode(QAbstractItemView::SingleSelection);
    holders_->horizontalHeader()->setStretchLastSection(true);
    holders_->setToolTip("Double-click a holder to open it");
    connect(holders_, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        if (!index.isValid() || index.row() >= static_cast<int>(page_.holder_count())) return;
        const HolderRow row = page_.holder_row(static_cast<std::size_t>(index.row()));
        if (row.opens) open(row.target);
    });
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(choose);
    layout->addWidget(holders_summary_);
    layout->addWidget(holders_notice_);
    layout->addWidget(holders_, 1);
    return page;
}

void OverviewTab::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (item_chooser_->count() != static_cast<int>(page_.item_entries().size())) {
        const QSignalBlocker quiet(item_chooser_);
        item_chooser_->clear();
        for (const ItemEntry& entry : page_.item_entries()) {
            item_chooser_->addItem(qs(entry.text), entry.id);
        }
        item_chooser_->setCurrentIndex(-1);
    }
    if (page_.state() == OverviewState::Empty) refresh();
}

// One pass over the save files on its own thread: its count in the status bar, its result
// taken in the window's thread, or the stop shown and a failure named.
template <typename Result, typename Work, typename Take, typename Stopped>
void OverviewTab::run_pass(BackgroundPass* pass, const char* what, Work work, Take take,
                           Stopped stopped) {
    auto result = std::make_shared<std::optional<Result>>();
    auto failure = std::make_shared<std::string>();
    pass->start(
        [this, pass, work, result, failure](const std::atomic<bool>& stop) {
            try {
                *result = work(
                    [this, pass](long long lines) {
                        pass->post(
                            [this, lines] { emit statusText(qs(page_.progress_text(lines)), 0); });
                    },
                    &stop);
            } catch (const CensusStopped&) {
            } catch (...) {
                *failure = failure_of_pass();
            }
        },
        [this, what, take, stopped, result, failure] {
            if (*result) {
                take(**result);
                emit statusText("Overview: the save files are read", 5000);
            } else {
                stopped();
                if (!failure->empty()) {
                    ui_.message(std::string(what) + " could not read the save files: " + *failure,
                                "Tavo", Icon::Warning);
                }
            }
            render_buttons();
        });
}

void OverviewTab::refresh() {
    if (!page_.refresh_offered()) return;
    page_.start_filling();
    render_buttons();
    notice_->setText("Reading the save files…");
    notice_->show();
    const CensusOptions options = page_.census_options(QDateTime::currentSecsSinceEpoch());
    run_pass<ServerFigures>(
        figures_pass_, "The overview",
        [options](const CensusProgress& progress, const std::atomic<bool>* stop) {
            return take_census(options, progress, stop);
        },
        [this](const ServerFigures& figures) {
            page_.take_figures(figures);
            render_figures();
        },
        [this] {
            page_.filling_stopped();
            show_notice(notice_, page_.notice());
        });
}

void OverviewTab::render_figures() {
    show_notice(notice_, page_.notice());
    auto* sections = new QWidget;
    auto* layout = new QVBoxLayout(sections);
    const std::vector<OverviewSection>& all = page_.sections();
    for (std::size_t s = 0; s < all.size(); ++s) {
        auto* box = new QGroupBox(qs(all[s].title));
        auto* inside = new QVBoxLayout(box);
        auto* facts = new QGridLayout;
        for (std::size_t i = 0; i < all[s].facts.size(); ++i) {
            const auto row = static_cast<int>(i / 2), column = static_cast<int>(i % 2) * 2;
            // Long facts wrap rather than widen the tab on a small screen.
            auto* what = new QLabel(qs(all[s].facts[i].first) + ":");
            auto* value = new QLabel("<b>" + qs(all[s].facts[i].second).toHtmlEscaped() + "</b>");
            what->setWordWrap(true);
            value->setWordWrap(true);
            facts->addWidget(what, row, column);
            facts->addWidget(value, row, column + 1);
        }
        facts->setColumnStretch(1, 1);
        facts->setColumnStretch(3, 1);
        inside->addLayout(facts);
        for (std::size_t c = 0; c < all[s].charts.size(); ++c) {
            auto* panel = new ChartPanel(all[s].charts[c], ui_);
            connect(panel, &ChartPanel::barChosen, this, [this, s, c](int bar) {
                const std::vector<ChartBar>& bars = page_.sections()[s].charts[c].bars;
                if (bar < 0 || bar >= static_cast<int>(bars.size())) return;
                if (const auto& target = bars[static_cast<std::size_t>(bar)].target) open(*target);
            });
            inside->addWidget(panel);
        }
        layout->addWidget(box);
    }
    layout->addStretch(1);
    scroll_->setWidget(sections);  // the sections shown before go with it
    sections_ = sections;
}

QList<ChartPanel*> OverviewTab::charts() const {
    return sections_ == nullptr ? QList<ChartPanel*>() : sections_->findChildren<ChartPanel*>();
}

void OverviewTab::find_holders() {
    if (!page_.find_offered()) return;
    const std::string typed = bytes(item_chooser_->currentText().trimmed());
    const std::optional<std::int32_t> nameid = page_.item_of(typed);
    if (!nameid) {
        ui_.message("No item \"" + typed + "\" in the item database.", "Tavo", Icon::Information);
        return;
    }
    page_.start_finding();
    render_buttons();
    holders_summary_->setText("Looking for " + qs(page_.item_title(*nameid)) + "…");
    const fs::path folder = ws_.app.settings.data_folder;
    run_pass<ItemHolders>(
        census_pass_, "The item census",
        [folder, id = *nameid](const CensusProgress& progress, const std::atomic<bool>* stop) {
            return tavo::find_holders(folder, id, progress, stop);
        },
        [this](const ItemHolders& holders) {
            page_.take_holders(holders);
            render_holders();
        },
        [this] {
            page_.finding_stopped();
            holders_summary_->clear();
        });
}

void OverviewTab::render_holders() {
    holders_summary_->setText(qs(page_.holders_summary()));
    show_notice(holders_notice_, page_.holders_notice());
    holders_model_->reload();
    holders_->resizeColumnsToContents();
}

void OverviewTab::render_buttons() {
    refresh_->setEnabled(page_.refresh_offered());
    find_->setEnabled(page_.find_offered());
}

void OverviewTab::open(const OverviewTarget& target) {
    const std::optional<std::size_t> row = page_.account_row(target.account_id);
    if (!row) {
        ui_.message("Account " + std::to_string(target.account_id) +
                        " is not in the account list, so it cannot be chosen.",
                    "Tavo", Icon::Information);
        return;
    }
    emit openRequested(static_cast<int>(*row), target.char_id, static_cast<int>(target.opens),
                       target.view ? static_cast<int>(*target.view) : -1);
}

}  // namespace tavo::ui
