#include "ui/form1.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QShortcut>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/about.h"
#include "app/ui.h"
#include "ui/basic_info_panel.h"
#include "ui/char_profile_tab.h"
#include "ui/item_panel.h"
#include "ui/latin1.h"
#include "ui/maps_panel.h"
#include "ui/memo_quest_panel.h"
#include "ui/options_about_tab.h"
#include "ui/storage_tab.h"
#include "ui/user_info_tab.h"
#include "workspace/workspace.h"

namespace tavo::ui {

Form1::Form1(Workspace& ws, Ui& ui, QWidget* parent) : QMainWindow(parent), ws_(ws), ui_(ui) {
    setObjectName("Form1");

    find_box_ = new QLineEdit;
    find_box_->setObjectName("FindBox");
    find_box_->setPlaceholderText("Find account (name or id)");
    find_box_->setClearButtonEnabled(true);
    list1_ = new QListView;
    list1_->setObjectName("List1");
    list1_->setUniformItemSizes(true);
    auto* left = new QWidget;
    auto* left_layout = new QVBoxLayout(left);
    left_layout->setContentsMargins(0, 0, 0, 0);
    left_layout->addWidget(find_box_);
    left_layout->addWidget(list1_);

    sstab1_ = new QTabWidget;
    sstab1_->setObjectName("SSTab1");
    user_info_ = new UserInfoTab;
    char_profile_ = new CharProfileTab;
    storage_ = new StorageTab;
    about_ = new OptionsAboutTab;
    sstab1_->addTab(user_info_, "User Info");
    sstab1_->addTab(char_profile_, "Char Profile");
    sstab1_->addTab(storage_, "Storage");
    sstab1_->addTab(about_, "Options/About");
    connect(sstab1_, &QTabWidget::currentChanged, this, [this] { on_tab_changed(); });

    auto* splitter = new QSplitter(Qt::Horizontal);
    splitter->addWidget(left);
    splitter->addWidget(sstab1_);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({260, 840});
    setCentralWidget(splitter);

    // The floating panels, hidden until opened over the tab area.
    item_panel_ = new ItemPanel(ws_.ref.items, this);
    basic_info_ = new BasicInfoPanel(this);
    maps_ = new MapsPanel(this);
    memo_quest_ = new MemoQuestPanel(ws_, ui_, this);

    status_ = new QLabel;
    statusBar()->addWidget(status_, 1);

    auto* save = new QShortcut(QKeySequence::Save, this);
    connect(save, &QShortcut::activated, this, [this] { press_visible_save(); });

    resize(1100, 720);
}

void Form1::form_load(const StartOptions& options) {
    run_startup(ws_, ui_, options, [this](StartupStep step) { after_step(step); });
}

void Form1::after_step(StartupStep step) {
    switch (step) {
        case StartupStep::Caption: setWindowTitle(kProgramCaption); break;
        case StartupStep::Maps: maps_->set_maps(ws_.ref.maps); break;
        case StartupStep::JobClass:
            if (ws_.ref.jobs.listed) basic_info_->set_job_classes(ws_.ref.jobs.list_entries);
            memo_quest_->set_job_classes();
            break;
        case StartupStep::About: about_->set_text(qs(ws_.about)); break;
        case StartupStep::ItemPanel: item_panel_->prepare(); break;
        case StartupStep::FirstTab: sstab1_->setCurrentIndex(0); break;
        default: break;
    }
    refresh_status();
}

void Form1::refresh_status() {
    status_->setText("Server folder: " + qs(ws_.app.settings.data_folder));
}

bool Form1::keep_open() {
    const bool unsaved = char_profile_->save_button()->isEnabled() ||
                         storage_->save_button()->isEnabled() ||
                         user_info_->save_button()->isEnabled();
    if (!unsaved) return false;
    return !ui_.ask_yes_no("You have not save the modified items, Do you want to discard changes",
                           "Tavo");
}

void Form1::closeEvent(QCloseEvent* event) {
    if (keep_open()) {
        event->ignore();
    } else {
        event->accept();
    }
}

void Form1::click_if_captioned(QPushButton* button, const char* caption) {
    if (button != nullptr && button->text() == caption) button->click();
}

// The editing panels float over the tabs; a change of tab closes them.
void Form1::on_tab_changed() {
    for (const char* panel : {"Frame2", "Frame6", "Frame8"}) {
        if (auto* frame = findChild<QWidget*>(panel)) frame->hide();
    }
    click_if_captioned(findChild<QPushButton*>("Command11_3"), "Hide Maps");
    click_if_captioned(findChild<QPushButton*>("Command9_2"), "Hide List");
}

void Form1::press_visible_save() {
    QWidget* visible = sstab1_->currentWidget();
    QPushButton* button = nullptr;
    if (visible == user_info_) button = user_info_->save_button();
    if (visible == char_profile_) button = char_profile_->save_button();
    if (visible == storage_) button = storage_->save_button();
    if (button != nullptr && button->isEnabled()) button->click();
}

}  // namespace tavo::ui
