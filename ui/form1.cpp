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
#include "ui/item_panel.h"
#include "ui/latin1.h"
#include "ui/maps_panel.h"
#include "ui/memo_quest_panel.h"
#include "ui/options_about_tab.h"
#include "ui/overview_tab.h"
#include "ui/storage_tab.h"
#include "ui/user_info_tab.h"
#include "workspace/item_editors.h"
#include "workspace/workspace.h"

namespace tavo::ui {
namespace {

constexpr const char* kDiscardItemsQuestion = kDiscardChangesQuestion;

}  // namespace

Form1::Form1(Workspace& ws, Ui& ui, QWidget* parent)
    : QMainWindow(parent),
      ws_(ws),
      ui_(ui),
      account_editor_(ws, ui),
      character_editor_(ws, ui),
      finder_(ws),
      items_(std::make_unique<ItemEditors>(ws, ui, character_editor_.unsaved())) {
    setObjectName("Form1");

    find_box_ = new QLineEdit;
    find_box_->setObjectName("FindBox");
    find_box_->setPlaceholderText("Find account (name or id)");
    find_box_->setClearButtonEnabled(true);
    account_list_ = new QListView;
    account_list_->setObjectName("List1");
    account_list_->setUniformItemSizes(true);
    account_list_->setSelectionMode(QAbstractItemView::SingleSelection);
    account_list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    model_ = new AccountListModel(ws_.accounts, this);
    account_list_->setModel(model_);
    QItemSelectionModel* plain = account_list_->selectionModel();
    selection_ = new AccountSelectionModel(
        model_, [this] { return may_leave_account(); }, this);
    account_list_->setSelectionModel(selection_);
    delete plain;
    connect(selection_, &QItemSelectionModel::currentRowChanged, this, [this] {
        if (!quiet_selection_) list1_click();
    });
    connect(find_box_, &QLineEdit::returnPressed, this, [this] { find_next(); });
    connect(find_box_, &QLineEdit::textChanged, this, [this] { narrow(); });
    find_by_ = new QComboBox;
    find_by_->setObjectName("FindBy");
    find_by_->addItem("Find by account name or id", int(FindBy::Account));
    find_by_->addItem("Find by character name", int(FindBy::Character));
    find_by_->setToolTip("Find by account name or id, or by the name of a character");
    connect(find_by_, &QComboBox::currentIndexChanged, this, [this] {
        finder_.set_by(static_cast<FindBy>(find_by_->currentData().toInt()));
        find_box_->setPlaceholderText(finder_.by() == FindBy::Account
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
    user_info_ = new UserInfoTab(account_editor_);
    char_profile_ = new CharProfileTab(character_editor_, *items_);
    storage_ = new StorageTab(*items_, ui_);
    about_ = new OptionsAboutTab;
    tabs_->addTab(user_info_, "User Info");
    tabs_->addTab(char_profile_, "Char Profile");
    tabs_->addTab(storage_, "Storage");
    tabs_->addTab(about_, "Options/About");
    overview_ = new OverviewTab(ws_, ui_);
    tabs_->addTab(overview_, "Overview");
    connect(tabs_, &QTabWidget::currentChanged, this, [this] { on_tab_changed(); });
    connect_user_info();
    connect_overview();

    auto* splitter = new QSplitter(Qt::Horizontal);
    splitter->addWidget(left);
    splitter->addWidget(tabs_);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({260, 840});
    setCentralWidget(splitter);

    // The floating panels, hidden until opened over the tab area.
    item_panel_ = new ItemPanel(*items_, this);
    char_profile_->set_item_panel(item_panel_);
    storage_->set_item_panel(item_panel_);
    connect(item_panel_, &ItemPanel::itemStored, this, [this] {
        char_profile_->render_items();
        storage_->render();
    });
    basic_info_ = new BasicInfoPanel(this);
    maps_ = new MapsPanel(this);
    memo_quest_ = new MemoQuestPanel(ws_, ui_, this);

    status_ = new QLabel;
    statusBar()->addWidget(status_, 1);

    auto* find = new QShortcut(QKeySequence::Find, this);
    connect(find, &QShortcut::activated, this, [this] {
        find_box_->setFocus(Qt::ShortcutFocusReason);
        find_box_->selectAll();
    });
    auto* remove = new QShortcut(QKeySequence::Delete, account_list_);
    remove->setContext(Qt::WidgetShortcut);
    connect(remove, &QShortcut::activated, this, [this] {
        if (account_editor_.offered(AccountButton::Delete)) user_info_->delete_button()->click();
    });
    account_editor_.unsaved().observe([this](bool) { refresh_title(); });
    character_editor_.unsaved().observe([this](bool) { refresh_title(); });

    auto* save = new QShortcut(QKeySequence::Save, this);
    connect(save, &QShortcut::activated, this, [this] { press_visible_save(); });

    resize(1100, 720);
}

Form1::~Form1() = default;

void Form1::form_load(const StartOptions& options) {
    run_startup(ws_, ui_, options, [this](StartupStep step) { after_step(step); });
}

void Form1::after_step(StartupStep step) {
    switch (step) {
        case StartupStep::Caption: refresh_title(); break;
        case StartupStep::Maps: maps_->set_maps(ws_.ref.maps); break;
        case StartupStep::JobClass:
            if (ws_.ref.jobs.listed) basic_info_->set_job_classes(ws_.ref.jobs.list_entries);
            memo_quest_->set_job_classes();
            break;
        case StartupStep::About: about_->set_text(qs(ws_.about)); break;
        case StartupStep::ItemPanel: item_panel_->prepare(); break;
        case StartupStep::Account:
            finder_.table_changed();
            find_box_->clear();
            model_->reload();
            account_editor_.table_reloaded();
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
    setWindowModified(character_editor_.unsaved().get() || account_editor_.unsaved().get());
}

void Form1::refresh_status() {
    const AccountTable& accounts = ws_.accounts;
    status_->setText("Server folder: " + qs(ws_.app.settings.data_folder) + "    " +
                     qs(generation_caption(accounts.server_generation)) + "    " +
                     QLocale().toString(static_cast<qlonglong>(accounts.records.size())) +
                     " accounts    " +
                     QString::number(static_cast<qulonglong>(character_editor_.count())) +
                     " characters on this account" +
                     (finder_.shown() ? "    " + qs(finder_.status_text()) : QString()));
}

void Form1::connect_user_info() {
    connect(user_info_, &UserInfoTab::accountAdded, this, [this](int row) {
        if (model_->narrowed()) {
            end_narrowing();
        } else {
            model_->appended();
        }
        select_account(row);
    });
    connect(user_info_, &UserInfoTab::accountChanged, this, [this](int row) {
        const int shown = model_->row_of(static_cast<std::size_t>(row));
        if (shown >= 0) model_->changed(shown);
    });
    connect(user_info_, &UserInfoTab::accountRemoved, this, [this](int row, int select) {
        quiet_selection_ = true;
        if (model_->narrowed()) {
            end_narrowing();
        } else {
            model_->removed(row);
        }
        quiet_selection_ = false;
        select_account(select);
    });
    connect(user_info_, &UserInfoTab::fileSaved, this,
            [this](const QString& text) { statusBar()->showMessage(text, 5000); });
    connect(user_info_, &UserInfoTab::reshowRequested, this, [this] { list1_click(); });
    connect(user_info_, &UserInfoTab::tableChanged, this, [this] { refresh_status(); });
    connect(user_info_, &UserInfoTab::tableReplaced, this, [this](int row) {
        quiet_selection_ = true;
        model_->reload();
        quiet_selection_ = false;
        select_account(row);
        refresh_status();
    });
    connect(user_info_, &UserInfoTab::checkFilesRequested, this, [this] {
        if (check_files_ == nullptr) check_files_ = new CheckFilesDialog(this);
        check_files_->check(ws_.app);
        check_files_->show();
        check_files_->raise();
    });
}

// A click in the overview chooses an account, or its character, as the list and chooser do.
void Form1::connect_overview() {
    connect(overview_, &OverviewTab::statusText, statusBar(), &QStatusBar::showMessage);
    connect(overview_, &OverviewTab::openRequested, this, [this](int row, int char_id, int opens) {
        if (!may_leave_account()) return;
        select_account(row);
        if (char_id != 0) char_profile_->choose_character(std::to_string(char_id));
        QWidget* pages[] = {user_info_, char_profile_, storage_};
        tabs_->setCurrentWidget(pages[opens]);
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
    storage_->clear_storage();
    char_profile_->clear_inventory_caption();
    hide_editing_panels();
    const std::size_t row = current.isValid() ? model_->table_index(current.row()) : 0;
    if (!current.isValid() || row >= ws_.accounts.records.size()) {
        user_info_->show_account(std::nullopt);
        storage_->load_storage(std::nullopt);
        return;
    }
    user_info_->show_account(row);
    const AccountRecord& account = ws_.accounts.records[row];
    storage_->load_storage(account.account_id());
    char_profile_->load_char_list(account.account_id());
    refresh_status();
}

// Unsaved character or store changes are not dropped unasked.
bool Form1::may_leave_account() {
    if (!user_info_->may_discard_typing()) return false;
    if (!ws_.store.unsaved.get()) return character_editor_.may_discard(kDiscardItemsQuestion);
    if (!ui_.ask_yes_no(kDiscardItemsQuestion, "Tavo")) return false;
    character_editor_.unsaved().set(false);
    ws_.store.unsaved.set(false);
    return true;
}

// Typing in the find box: the list keeps only the matching accounts. The shown account stays
// chosen while it is listed.
void Form1::narrow() {
    finder_.narrow(bytes(find_box_->text()));
    const QModelIndex current = selection_->currentIndex();
    const std::optional<std::size_t> chosen =
        current.isValid() ? std::optional<std::size_t>(model_->table_index(current.row()))
                          : std::nullopt;
    quiet_selection_ = true;
    model_->show_only(finder_.shown());
    const int row = chosen ? model_->row_of(*chosen) : -1;
    if (row >= 0) {
        selection_->select_ungated(row);
        account_list_->scrollTo(model_->index(row));
    }
    quiet_selection_ = false;
    refresh_status();
}

void Form1::end_narrowing() {
    if (!model_->narrowed()) return;
    const QSignalBlocker quiet(find_box_);
    find_box_->clear();
    finder_.table_changed();
    model_->show_only(std::nullopt);
}

// Enter in the find box: the next listed account (the list holds only matches while narrowed),
// or the next account whose name holds the text or whose id it is.
void Form1::find_next() {
    const QString text = find_box_->text();
    const QModelIndex current = selection_->currentIndex();
    if (model_->narrowed()) {
        if (model_->rowCount() == 0) return;
        const int next = current.isValid() ? (current.row() + 1) % model_->rowCount() : 0;
        selection_->setCurrentIndex(model_->index(next), QItemSelectionModel::ClearAndSelect);
        account_list_->scrollTo(selection_->currentIndex());
        return;
    }
    const std::optional<std::size_t> found =
        find_account(ws_.accounts, bytes(text),
                     current.isValid() ? std::optional<std::size_t>(current.row()) : std::nullopt);
    if (!found) {
        statusBar()->showMessage("No account name or id matches \"" + text + "\"", 4000);
        return;
    }
    const QModelIndex at = model_->index(static_cast<int>(*found));
    selection_->setCurrentIndex(at, QItemSelectionModel::ClearAndSelect);
    account_list_->scrollTo(selection_->currentIndex());
}

bool Form1::keep_open() {
    user_info_->take_typed_values();
    const bool unsaved = character_editor_.unsaved().get() || account_editor_.unsaved().get() ||
                         account_editor_.typing() || ws_.store.unsaved.get();
    if (!unsaved) return false;
    return !ui_.ask_yes_no(kDiscardItemsQuestion, "Tavo");
}

void Form1::closeEvent(QCloseEvent* event) {
    if (keep_open()) {
        event->ignore();
    } else {
        event->accept();
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

// The editing panels float over the tabs; a change of tab closes them.
void Form1::hide_editing_panels() {
    for (const char* panel : {"Frame2", "Frame6", "Frame8"}) {
        if (auto* frame = findChild<QWidget*>(panel)) frame->hide();
    }
}

void Form1::on_tab_changed() {
    hide_editing_panels();
}

void Form1::press_visible_save() {
    QWidget* visible = tabs_->currentWidget();
    if (visible == user_info_ && account_editor_.offered(AccountButton::SaveFile)) {
        user_info_->save_file_button()->click();
    }
    if (visible == char_profile_ && character_editor_.unsaved().get()) {
        char_profile_->save_to_file_button()->click();
    }
    if (visible == storage_ && ws_.store.unsaved.get()) storage_->save_button()->click();
}

}  // namespace tavo::ui
