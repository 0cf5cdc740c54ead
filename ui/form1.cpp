#include "ui/form1.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QLocale>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "accounts/account_form.h"
#include "app/about.h"
#include "app/ui.h"
#include "ui/account_list.h"
#include "ui/basic_info_panel.h"
#include "ui/char_profile_tab.h"
#include "ui/check_files_dialog.h"
#include "ui/export_sql_dialog.h"
#include "ui/form3.h"
#include "ui/item_panel.h"
#include "ui/latin1.h"
#include "ui/maps_panel.h"
#include "ui/memo_quest_panel.h"
#include "ui/memo_skill_quest_panel.h"
#include "ui/options_about_tab.h"
#include "ui/overview_tab.h"
#include "ui/storage_tab.h"
#include "ui/user_info_tab.h"
#include "workspace/workspace.h"

namespace tavo::ui {
namespace {

// A tab that scrolls rather than holding the window wider or taller than a small screen.
QScrollArea* scrolled(QWidget* tab) {
    auto* area = new QScrollArea;
    area->setObjectName(tab->objectName() + "Scroll");
    area->setWidget(tab);
    area->setWidgetResizable(true);
    area->setFrameShape(QFrame::NoFrame);
    return area;
}

}  // namespace

Form1::Form1(Workspace& ws, Ui& ui, QWidget* parent)
    : QMainWindow(parent), ws_(ws), ui_(ui), pages_(ws, ui) {
    setObjectName("Form1");
    pages_.finder.set_group_separator(bytes(QLocale().groupSeparator()));

    find_box_ = new QLineEdit;
    find_box_->setObjectName("FindBox");
    find_box_->setPlaceholderText("Find account (name or id)");
    find_box_->setClearButtonEnabled(true);
    account_list_ = new QListView;
    account_list_->setObjectName("List1");
    account_list_->setUniformItemSizes(true);
    account_list_->setSelectionMode(QAbstractItemView::SingleSelection);
    account_list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    model_ = new AccountListModel(ws_.accounts.table(), this);
    account_list_->setModel(model_);
    QItemSelectionModel* plain = account_list_->selectionModel();
    selection_ = new AccountSelectionModel(
        model_, [this] { return pages_.may_leave_account(); }, this);
    account_list_->setSelectionModel(selection_);
    delete plain;
    connect(selection_, &QItemSelectionModel::currentRowChanged, this, [this] {
        if (!quiet_selection_) list1_click();
    });
    connect(find_box_, &QLineEdit::returnPressed, this, [this] { find_next(); });
    connect(find_box_, &QLineEdit::textChanged, this, [this] { narrow(); });
    find_by_ = new QComboBox;
    find_by_->setObjectName("FindBy");
    find_by_->addItem("Find by account name or id");
    find_by_->addItem("Find by character name");
    find_by_->setToolTip("Find by account name or id, or by the name of a character");
    find_by_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    find_by_->setMinimumContentsLength(12);
    connect(find_by_, &QComboBox::currentIndexChanged, this, [this] {
        pages_.finder.set_by(find_by_->currentIndex() == 1 ? FindBy::Character : FindBy::Account);
        find_box_->setPlaceholderText(pages_.finder.by() == FindBy::Account
                                          ? "Find account (name or id)"
                                          : "Find account (character name)");
        narrow();
    });
    auto* left = new QWidget;
    auto* left_layout = new QVBoxLayout(left);
    left_layout->setContentsMargins(0, 0, 0, 0);
    // One above the other: beside each other the box is too narrow to read on a small screen.
    left_layout->addWidget(find_box_);
    left_layout->addWidget(find_by_);
    left_layout->addWidget(account_list_);

    tabs_ = new QTabWidget;
    tabs_->setObjectName("SSTab1");
    user_info_ = new UserInfoTab(pages_.accounts);
    char_profile_ = new CharProfileTab(pages_.character);
    storage_ = new StorageTab(pages_.storage);
    about_ = new OptionsAboutTab;
    tabs_->addTab(scrolled(user_info_), "User Info");
    tabs_->addTab(scrolled(char_profile_), "Char Profile");
    tabs_->addTab(scrolled(storage_), "Storage");
    tabs_->addTab(scrolled(about_), "Options/About");
    overview_ = new OverviewTab(ws_, ui_);
    tabs_->addTab(scrolled(overview_), "Overview");
    // The editing panels float over the tabs; a change of tab closes them.
    connect(tabs_, &QTabWidget::currentChanged, this, [this] { hide_editing_panels(); });
    user_info_->on_pressed([this](const AccountOutcome& outcome) { account_pressed(outcome); });
    const auto show_status = [this](const QString& text) { statusBar()->showMessage(text, 5000); };
    connect(char_profile_, &CharProfileTab::statusMessage, this, show_status);
    connect(storage_, &StorageTab::statusMessage, this, show_status);
    connect(user_info_, &UserInfoTab::checkFilesRequested, this, [this] {
        if (check_files_ == nullptr) {
            check_files_ = new CheckFilesDialog(
                ws_.app, ui_, [this](const FindingTarget& target) { choose_finding(target); },
                this);
        }
        check_files_->check();
        check_files_->show();
        check_files_->raise();
    });
    connect(user_info_, &UserInfoTab::exportSqlRequested, this, [this] {
        auto* dialog = new ExportSqlDialog(ws_.app, ui_, this);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        dialog->show();
    });
    connect(user_info_, &UserInfoTab::wipesRequested, this, [this] { open_wipes(); });
    connect_overview();

    splitter_ = new QSplitter(Qt::Horizontal);
    splitter_->setChildrenCollapsible(false);
    splitter_->addWidget(left);
    splitter_->addWidget(tabs_);
    splitter_->setStretchFactor(0, 0);
    splitter_->setStretchFactor(1, 1);
    splitter_->setSizes({260, 840});
    setCentralWidget(splitter_);

    // The floating panels, hidden until opened over the tab area.
    item_panel_ = new ItemPanel(pages_.item_panel, this);
    char_profile_->set_item_panel(item_panel_);
    storage_->set_item_panel(item_panel_);
    connect(item_panel_, &ItemPanel::itemStored, this, [this] {
        char_profile_->render_items();
        storage_->render();
    });
    connect(item_panel_, &ItemPanel::placed, this,
            [this](const QRect& where) { make_room_beside(where); });
    connect(item_panel_, &ItemPanel::closed, this, [this] {
        if (!sizes_before_panel_.isEmpty()) splitter_->setSizes(sizes_before_panel_);
        sizes_before_panel_.clear();
    });
    basic_info_ = new BasicInfoPanel(pages_.basic_info, this);
    memo_panel_ = new MemoSkillQuestPanel(pages_.memo, this);
    memo_quest_ = new MemoQuestPanel(pages_.memo, this);
    maps_ = new MapsPanel(pages_.maps, this);
    for (OverlayPanel* panel : std::initializer_list<OverlayPanel*>{basic_info_, memo_panel_}) {
        panel->setMaximumHeight(16777215);
    }
    connect(basic_info_, &BasicInfoPanel::changed, this, [this] { render_editors(); });
    connect(memo_panel_, &MemoSkillQuestPanel::changed, this, [this] { render_editors(); });
    connect(memo_quest_, &MemoQuestPanel::changed, this, [this] { render_editors(); });
    connect(maps_, &MapsPanel::doIt, this, [this] {
        pages_.do_it();
        render_editors();
    });
    connect(char_profile_, &CharProfileTab::editorRequested, this,
            [this](CharacterButton button) { open_editor(button); });
    connect(char_profile_, &CharProfileTab::characterChanged, this, [this] {
        render_editors();
        refresh_status();
    });

    status_ = new QLabel;
    status_->setObjectName("StatusText");
    // On a narrow window the folder gives way, never the find's count beside it.
    status_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    statusBar()->addWidget(status_, 1);
    find_count_ = new QLabel;
    find_count_->setObjectName("FindCount");
    statusBar()->addPermanentWidget(find_count_);

    auto* find = new QShortcut(QKeySequence::Find, this);
    connect(find, &QShortcut::activated, this, [this] {
        find_box_->setFocus(Qt::ShortcutFocusReason);
        find_box_->selectAll();
    });
    find_box_->installEventFilter(this);
    auto* remove = new QShortcut(QKeySequence::Delete, account_list_);
    remove->setContext(Qt::WidgetShortcut);
    connect(remove, &QShortcut::activated, this, [this] {
        if (pages_.accounts.offered(AccountButton::Delete)) user_info_->delete_button()->click();
    });
    // The title's mark follows the three documents.
    ws_.accounts.observe_modified([this](bool) { refresh_title(); });
    ws_.characters.observe_modified([this](bool) { refresh_title(); });
    ws_.store.observe_modified([this](bool) { refresh_title(); });

    auto* save = new QShortcut(QKeySequence::Save, this);
    connect(save, &QShortcut::activated, this, [this] { press_visible_save(); });

    fit_screen();
}

// 1100×720, or the screen's free area when it is smaller.
void Form1::fit_screen() {
    QSize size(1100, 720);
    if (const QScreen* shown = screen(); shown != nullptr) {
        const QRect free = shown->availableGeometry();
        // The frame the window manager adds around the window.
        size = size.boundedTo(free.size() - QSize(16, 40));
        if (size.width() < 1100) splitter_->setSizes({200, size.width() - 200});
    }
    resize(size);
}

// The panels close while the pages and the splitter they reach are still there.
Form1::~Form1() {
    // Closing the panel gives the splitter back its sizes: before the splitter goes.
    item_panel_->hide();
    item_panel_->disconnect(this);
}

// A double-click in "Check Files": its account on User Info, its character on Char Profile,
// or its store on Storage.
void Form1::choose_finding(const FindingTarget& target) {
    const auto& records = ws_.accounts.table().records;
    std::optional<std::size_t> index;
    for (std::size_t i = 0; i < records.size() && !index; ++i) {
        if (records[i].account_id() == target.account_id) index = i;
    }
    if (!index) {
        ui_.message("Account " + std::to_string(target.account_id) + " is not in " +
                        std::string(kAccountFile) + ": there is nothing to choose.",
                    "Check Files", Icon::Information);
        return;
    }
    if (pages_.accounts.selection() != index) {
        if (!pages_.may_leave_account()) return;
        select_account(static_cast<int>(*index));
    }
    using Kind = FindingTarget::Kind;
    tabs_->setCurrentIndex(target.kind == Kind::Account ? 0 : target.kind == Kind::Store ? 2 : 1);
    if (target.kind == Kind::Character) {
        const auto& entries = pages_.character.entries();
        for (std::size_t i = 0; i < entries.size(); ++i) {
            if (entries[i].id == std::to_string(target.char_id)) pages_.character.choose(i);
        }
        char_profile_->render();
    }
    activateWindow();
    raise();
}

// The account list gives its room to a panel over it, so that the tab beside it shows the list
// the panel edits; it gets its width back when the panel closes.
void Form1::make_room_beside(const QRect& panel) {
    const QList<int> sizes = splitter_->sizes();
    if (sizes.size() != 2) return;
    if (sizes_before_panel_.isEmpty()) sizes_before_panel_ = sizes;
    const int left = panel.right() + 6 - splitter_->geometry().left() - splitter_->handleWidth();
    const int total = sizes[0] + sizes[1];
    splitter_->setSizes({std::max(left, sizes[0]), total - std::max(left, sizes[0])});
}

void Form1::form_load(const StartOptions& options) {
    run_startup(ws_, ui_, options, [this](StartupStep step) { after_step(step); });
}

void Form1::open_wipes() {
    // The wipe reads everything again afterwards: unsaved changes are asked about first.
    if (!pages_.may_leave_account()) return;
    hide_editing_panels();
    auto* dialog = new Form3(ws_, ui_, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &Form3::wiped, this, [this] { reload_after_wipe(); });
    dialog->open();
}

void Form1::reload_after_wipe() {
    ws_.accounts.load(ui_);
    after_step(StartupStep::Account);
}

void Form1::after_step(StartupStep step) {
    switch (step) {
        case StartupStep::Caption: refresh_title(); break;
        case StartupStep::AppOption: storage_->render(); break;
        case StartupStep::Maps:
            pages_.maps.prepare();
            maps_->render();
            break;
        case StartupStep::JobClass:
            pages_.basic_info.prepare();
            pages_.memo.prepare();
            basic_info_->render();
            memo_quest_->render();
            break;
        case StartupStep::About: about_->set_text(qs(ws_.about)); break;
        case StartupStep::ItemPanel: item_panel_->prepare(); break;
        case StartupStep::Account:
            pages_.finder.table_changed();
            find_box_->clear();
            model_->reload();
            pages_.accounts.table_reloaded();
            user_info_->render();
            select_account(0);
            break;
        case StartupStep::FirstTab: tabs_->setCurrentIndex(0); break;
        default: break;
    }
    refresh_status();
    refresh_title();
}

// The program's own caption, then the server folder and Qt's mark for unsaved changes.
void Form1::refresh_title() {
    const std::string& folder = ws_.app.settings.data_folder;
    setWindowTitle(QString(kProgramCaption) + (folder.empty() ? QString() : " - " + qs(folder)) +
                   "[*]");
    setWindowModified(pages_.modified());
}

namespace {

// "1 account", "200,000 accounts": a count with the window's digit grouping.
QString grouped_count(std::size_t count, const char* thing) {
    return QLocale().toString(static_cast<qulonglong>(count)) + " " + thing +
           (count == 1 ? "" : "s");
}

}  // namespace

void Form1::refresh_status() {
    const AccountTable& accounts = ws_.accounts.table();
    status_->setText("Server folder: " + qs(ws_.app.settings.data_folder) + "    " +
                     qs(generation_caption(accounts.server_generation)) + "    " +
                     grouped_count(accounts.records.size(), "account") + "    " +
                     grouped_count(pages_.character.count(), "character") + " on this account");
    status_->setToolTip(status_->text());
    find_count_->setText(pages_.finder.shown() ? qs(pages_.finder.status_text()) : QString());
    find_count_->setVisible(pages_.finder.shown().has_value());
}

void Form1::account_pressed(const AccountOutcome& outcome) {
    const auto row = [&outcome] { return outcome.row ? static_cast<int>(*outcome.row) : -1; };
    switch (outcome.list) {
        case AccountListChange::None: break;
        case AccountListChange::Added:
            if (model_->narrowed()) {
                end_narrowing();
            } else {
                model_->appended();
            }
            select_account(row());
            break;
        case AccountListChange::Edited:
            if (const int shown = model_->row_of(*outcome.row); shown >= 0) model_->changed(shown);
            break;
        case AccountListChange::Removed:
            quiet_selection_ = true;
            if (model_->narrowed()) {
                end_narrowing();
            } else {
                model_->removed(static_cast<int>(outcome.removed_row));
            }
            quiet_selection_ = false;
            select_account(row());
            break;
        case AccountListChange::Reshown: list1_click(); break;
        case AccountListChange::Reloaded:
            quiet_selection_ = true;
            model_->reload();
            quiet_selection_ = false;
            select_account(row());
            break;
    }
    if (!outcome.status.empty()) statusBar()->showMessage(qs(outcome.status), 5000);
    refresh_status();
    // Done typing: the keys go back to the account list, not the find box.
    if (pages_.accounts.mode() == AccountMode::Browse) account_list_->setFocus();
}

// A click in the overview chooses an account, or its character, as the list and chooser do.
void Form1::connect_overview() {
    connect(overview_, &OverviewTab::statusText, statusBar(), &QStatusBar::showMessage);
    connect(overview_, &OverviewTab::openRequested, this,
            [this](int row, int char_id, int opens, int view) {
                if (!pages_.may_leave_account()) return;
                select_account(row);
                if (char_id != 0) {
                    if (pages_.character.choose_id(std::to_string(char_id)).done) {
                        pages_.character.set_view(view);
                    }
                    char_profile_->render();
                }
                // User Info, Char Profile and Storage are the first three tabs.
                tabs_->setCurrentIndex(opens);
            });
}

void Form1::select_account(int index) {
    if (index >= 0 && model_->row_of(static_cast<std::size_t>(index)) < 0) end_narrowing();
    const int row = index >= 0 ? model_->row_of(static_cast<std::size_t>(index)) : -1;
    if (row >= 0 && row < model_->rowCount()) {
        quiet_selection_ = true;
        selection_->select_ungated(row);
        quiet_selection_ = false;
        account_list_->scrollTo(model_->index(row));
    }
    list1_click();
}

void Form1::list1_click() {
    const QModelIndex current = selection_->currentIndex();
    if (!current.isValid() && model_->rowCount() > 0) {
        select_account(static_cast<int>(model_->table_index(0)));
        return;
    }
    hide_editing_panels();
    std::optional<std::size_t> chosen;
    if (current.isValid()) chosen = model_->table_index(current.row());
    pages_.show_account(chosen);
    render_account_pages();
    refresh_status();
}

void Form1::render_account_pages() {
    user_info_->render();
    char_profile_->render();
    storage_->render();
}

// Typing in the find box: the list keeps only the matching accounts. The shown account stays
// chosen while it is listed.
void Form1::narrow() {
    pages_.finder.narrow(bytes(find_box_->text()));
    const QModelIndex current = selection_->currentIndex();
    const std::optional<std::size_t> chosen =
        current.isValid() ? std::optional<std::size_t>(model_->table_index(current.row()))
                          : std::nullopt;
    quiet_selection_ = true;
    model_->show_only(pages_.finder.shown());
    const int row = chosen ? model_->row_of(*chosen) : -1;
    if (row >= 0) {
        selection_->select_ungated(row);
        account_list_->scrollTo(model_->index(row));
    }
    quiet_selection_ = false;
    // The form never shows an account the list hides: the first match, or nothing. A find that
    // matched nothing left nothing chosen; the next one that matches shows its first match.
    const bool none_shown = !chosen && pages_.accounts.mode() == AccountMode::Browse;
    if ((none_shown || (chosen && row < 0)) && pages_.may_leave_account()) {
        quiet_selection_ = true;
        selection_->clearCurrentIndex();
        if (model_->rowCount() > 0) selection_->select_ungated(0);
        quiet_selection_ = false;
        if (model_->rowCount() > 0) {
            list1_click();
        } else {
            hide_editing_panels();
            pages_.show_account(std::nullopt);
            render_account_pages();
        }
    }
    refresh_status();
}

void Form1::end_narrowing() {
    if (!model_->narrowed()) return;
    const QSignalBlocker quiet(find_box_);
    find_box_->clear();
    pages_.finder.table_changed();
    model_->show_only(std::nullopt);
}

// Enter in the find box: the next account the finder shows.
void Form1::find_next() {
    const QModelIndex current = selection_->currentIndex();
    std::optional<std::size_t> chosen;
    if (current.isValid()) chosen = model_->table_index(current.row());
    const std::optional<std::size_t> found = pages_.finder.next(chosen);
    if (!found) {
        statusBar()->showMessage("No account name or id matches \"" + find_box_->text() + "\"",
                                 4000);
        return;
    }
    selection_->setCurrentIndex(model_->index(model_->row_of(*found)),
                                QItemSelectionModel::ClearAndSelect);
    account_list_->scrollTo(selection_->currentIndex());
}

// Form_Unload: unsaved work is not thrown away unasked.
void Form1::closeEvent(QCloseEvent* event) {
    if (pages_.may_close()) {
        event->accept();
    } else {
        event->ignore();
    }
}

// Escape that no field or mode took closes the floating panels.
void Form1::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        hide_editing_panels();
        event->accept();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

// Escape in the find box empties it.
bool Form1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == find_box_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape && !find_box_->text().isEmpty()) {
        find_box_->clear();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void Form1::hide_editing_panels() {
    item_panel_->hide();
    pages_.close_character_panels();
    render_editors();
}

void Form1::open_editor(CharacterButton button) {
    item_panel_->hide();
    pages_.close_character_panels();
    if (button == CharacterButton::EditBasic) pages_.basic_info.open();
    if (button == CharacterButton::EditMemoSkillQuest) pages_.memo.open();
    render_editors();
}

void Form1::render_editors() {
    basic_info_->render();
    memo_panel_->render();
    memo_quest_->render();
    maps_->render();
    basic_info_->show_or_hide(pages_.basic_info.is_open(), tabs_, QPoint(12, 36));
    memo_panel_->show_or_hide(pages_.memo.shown(), tabs_, QPoint(12, 36));
    memo_quest_->show_or_hide(pages_.memo.frame_open(), tabs_, QPoint(48, 96));
    // The maps stand left of the panels they feed, over the account list.
    maps_->show_or_hide(pages_.maps.shown(), account_list_, QPoint(0, 0));
    // While a memo point, skill or variable is being typed, nothing else is chosen.
    const bool frame = pages_.memo.frame_open();
    account_list_->setEnabled(!frame);
    find_box_->setEnabled(!frame);
    tabs_->setEnabled(!frame);
    memo_panel_->setEnabled(!frame);
    if (frame) memo_quest_->raise();
    char_profile_->render();
}

// Ctrl+S: the save button of the visible tab, when its page offers it.
void Form1::press_visible_save() {
    const int visible = tabs_->currentIndex();
    if (visible == 0 && pages_.accounts.offered(AccountButton::SaveFile)) {
        user_info_->save_file_button()->click();
    }
    if (visible == 1 && pages_.character.save_offered()) {
        char_profile_->save_to_file_button()->click();
    }
    if (visible == 2 && pages_.storage.offered(ItemButton::SaveFile)) {
        storage_->save_button()->click();
    }
}

}  // namespace tavo::ui
