#include "ui/char_profile_tab.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <tuple>

#include "app/ui.h"
#include "characters/character_file.h"
#include "characters/profile.h"
#include "items/item_naming.h"
#include "refdata/weight.h"
#include "ui/item_panel.h"
#include "ui/latin1.h"
#include "workspace/item_editors.h"
#include "workspace/naming.h"
#include "workspace/workspace.h"

namespace tavo::ui {
namespace {

QGroupBox* make_frame(int index, const QString& caption, QWidget* content) {
    auto* frame = new QGroupBox(caption);
    frame->setObjectName(QString("Frame1_%1").arg(index));
    auto* layout = new QVBoxLayout(frame);
    layout->addWidget(content);
    frame->hide();
    return frame;
}

}  // namespace

CharProfileTab::CharProfileTab(Workspace& ws, Ui& ui, ItemEditors& items, UnsavedFlag& unsaved,
                               QWidget* parent)
    : QWidget(parent), ws_(ws), ui_(ui), items_(items), unsaved_(unsaved) {
    setObjectName("CharProfileTab");
    combo5_ = new QComboBox;
    combo5_->setObjectName("Combo5");
    combo5_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    combo5_->setMinimumContentsLength(36);
    combo6_ = new QComboBox;
    combo6_->setObjectName("Combo6");
    combo6_->addItems({"View Stats & Status", "View Inventory items", "View Cart items"});
    combo6_->setCurrentIndex(-1);
    combo5_->setEnabled(false);
    combo6_->setEnabled(false);

    text6_ = new QPlainTextEdit;
    text6_->setObjectName("Text6");
    text6_->setReadOnly(true);
    text6_->setTabStopDistance(text6_->fontMetrics().horizontalAdvance(QString(24, 'x')));
    list3_ = new QListWidget;
    list3_->setObjectName("List3");
    list4_ = new QListWidget;
    list4_->setObjectName("List4");
    frames_[0] = make_frame(0, "Status/Stats", text6_);
    frames_[1] = make_frame(1, "Inventory", item_frame_content(list3_, command4_, "Command4_%1"));
    frames_[2] = make_frame(2, "Cart [Merchant/BlackSmith/Alchemist]",
                            item_frame_content(list4_, command5_, "Command5_%1"));

    save_to_file_ = new QPushButton("Save to File");
    save_to_file_->setObjectName("Command4_4");
    save_to_file_->setEnabled(false);

    auto* choose = new QHBoxLayout;
    choose->addWidget(new QLabel("Character:"));
    choose->addWidget(combo5_, 1);
    choose->addSpacing(12);
    choose->addWidget(new QLabel("View:"));
    choose->addWidget(combo6_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(save_to_file_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(choose);
    for (QGroupBox* frame : frames_) layout->addWidget(frame, 1);
    layout->addStretch(0);
    layout->addLayout(buttons);

    connect(combo5_, &QComboBox::activated, this, [this] { combo5_click(); });
    connect(combo6_, &QComboBox::currentIndexChanged, this, [this] { combo6_click(); });
    connect(save_to_file_, &QPushButton::clicked, this, [this] {
        const std::string id = char_id_of_entry(bytes(combo5_->currentText()));
        // A save that failed keeps the changes marked, so that nothing drops them unasked.
        if (save_char(ws_.app, ui_, ws_.accounts.server_generation, ws_.characters, id)) {
            unsaved_.set(false);
        }
    });
    unsaved_.observe([this](bool on) { save_to_file_->setEnabled(on); });
    for (auto [editor, list, buttons] : {std::tuple{&items_.inventory, list3_, command4_},
                                         std::tuple{&items_.cart, list4_, command5_}}) {
        for (int i = 0; i < 4; ++i) {
            connect(buttons[i], &QPushButton::clicked, this,
                    [this, editor, i] { item_button(*editor, i); });
        }
        connect(list, &QListWidget::currentRowChanged, this, [this, editor](int row) {
            if (rendering_) return;
            editor->select(row);
            render_items();
        });
        connect(list, &QListWidget::itemDoubleClicked, this,
                [this, editor] { item_button(*editor, 1); });
    }
}

QWidget* CharProfileTab::item_frame_content(QListWidget* list, QPushButton** buttons,
                                            const char* name) {
    auto* content = new QWidget;
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(list);
    auto* row = new QHBoxLayout;
    const char* captions[] = {"New", "Edit", "Delete", "Delete All"};
    for (int i = 0; i < 4; ++i) {
        buttons[i] = new QPushButton(captions[i]);
        buttons[i]->setObjectName(QString(name).arg(i));
        buttons[i]->setEnabled(false);
        row->addWidget(buttons[i]);
    }
    row->addStretch();
    layout->addLayout(row);
    return content;
}

void CharProfileTab::item_button(ItemListEditor& editor, int index) {
    bool open = false;
    switch (index) {
        case 0: open = editor.new_item(ui_, items_.panel); break;
        case 1: open = editor.edit_item(items_.panel); break;
        case 2: editor.delete_selected(ui_); break;
        case 3: editor.delete_all(ui_); break;
        default: break;
    }
    if (open && panel_ != nullptr) panel_->open_over(this);
    render_items();
}

void CharProfileTab::load_char_list(std::int32_t account_id) {
    // The chooser shows what the listing gave, also after a failure part-way: nothing of the
    // account chosen before may stay in it.
    tavo::load_char_list(ws_.app, ui_, ws_.ref, ws_.characters, account_id);
    {
        const QSignalBlocker block(combo5_);
        combo5_->clear();
        for (const std::string& entry : ws_.characters.chooser) combo5_->addItem(qs(entry));
    }
    shown_entry_ = -1;
    unsaved_.set(false);
    if (combo5_->count() > 0) {
        combo5_->setCurrentIndex(0);
        combo5_click();
        if (combo6_->currentIndex() < 0) combo6_->setCurrentIndex(0);
    } else {
        clear_views();
    }
    combo5_->setEnabled(combo5_->count() > 0);
    combo6_->setEnabled(combo5_->count() > 0);
}

void CharProfileTab::combo5_click() {
    if (unsaved_.get()) {
        if (!ui_.ask_yes_no("You have not save the modified character info, Do you want to "
                            "discard changes",
                            "Tavo")) {
            // The record still holds the character with the pending changes; so must the
            // chooser, since saving finds the line by the chosen entry.
            const QSignalBlocker block(combo5_);
            combo5_->setCurrentIndex(shown_entry_);
            return;
        }
        unsaved_.set(false);
    }
    if (combo5_->count() == 0) return;
    shown_entry_ = combo5_->currentIndex();
    const std::string id = char_id_of_entry(bytes(combo5_->currentText()));
    if (!load_char_info(ws_.app, ui_, ws_.ref, ws_.characters, id)) {
        clear_views();
        ui_.message("The character " + id +
                    " could not be read, so it is not shown and cannot be saved.");
        return;
    }
    show_char_profile();
}

void CharProfileTab::combo6_click() {
    for (QGroupBox* frame : frames_) frame->hide();
    const int view = combo6_->currentIndex();
    if (view >= 0 && view < 3) frames_[view]->show();
}

void CharProfileTab::show_char_profile() {
    const std::string separator = bytes(QLocale().groupSeparator());
    const CharacterRecord& record = ws_.characters.current;
    text6_->setPlainText(qs(tavo::show_char_profile(ws_.app, ui_, ws_.ref, record, separator)));
    items_.inventory.reset();
    items_.cart.reset();
    render_items();
    frames_[2]->setEnabled(true);
}

void CharProfileTab::render_items() {
    rendering_ = true;
    render_list(items_.inventory, list3_, command4_);
    render_list(items_.cart, list4_, command5_);
    frames_[1]->setTitle(qs(items_.inventory.caption()));
    frames_[2]->setTitle(qs(items_.cart.caption()));
    rendering_ = false;
}

void CharProfileTab::render_list(ItemListEditor& editor, QListWidget* list, QPushButton** buttons) {
    const std::vector<std::string> lines = editor.lines(items_.naming);
    list->clear();
    for (const std::string& line : lines) list->addItem(qs(line));
    list->setCurrentRow(editor.selected());
    const bool loaded = ws_.characters.loaded_cleanly;
    buttons[0]->setEnabled(loaded);
    for (int i : {1, 2, 3}) buttons[i]->setEnabled(loaded && editor.has_lines());
}

void CharProfileTab::clear_inventory_caption() {
    frames_[1]->setTitle(QString());
}

int CharProfileTab::char_count() const {
    return combo5_->count();
}

void CharProfileTab::clear_views() {
    text6_->clear();
    list3_->clear();
    list4_->clear();
    for (QPushButton* button : command4_) button->setEnabled(false);
    for (QPushButton* button : command5_) button->setEnabled(false);
}

}  // namespace tavo::ui
