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

#include "app/ui.h"
#include "characters/character_file.h"
#include "characters/profile.h"
#include "items/item_naming.h"
#include "refdata/weight.h"
#include "ui/latin1.h"
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

CharProfileTab::CharProfileTab(Workspace& ws, Ui& ui, QWidget* parent)
    : QWidget(parent), ws_(ws), ui_(ui) {
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
    frames_[1] = make_frame(1, "Inventory", list3_);
    frames_[2] = make_frame(2, "Cart [Merchant/BlackSmith/Alchemist]", list4_);

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
        save_char(ws_.app, ui_, ws_.accounts.server_generation, ws_.characters, id);
        save_to_file_->setEnabled(false);
    });
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
    save_to_file_->setEnabled(false);
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
    if (save_to_file_->isEnabled()) {
        if (!ui_.ask_yes_no("You have not save the modified character info, Do you want to "
                            "discard changes",
                            "Tavo")) {
            // The record still holds the character with the pending changes; so must the
            // chooser, since saving finds the line by the chosen entry.
            const QSignalBlocker block(combo5_);
            combo5_->setCurrentIndex(shown_entry_);
            return;
        }
        save_to_file_->setEnabled(false);
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
    fill_item_list(list3_, true);
    fill_item_list(list4_, false);
    const std::int32_t limit = ws_.app.settings.maxinventory;
    frames_[1]->setTitle(qs(inventory_weight_caption(
        record.inventory.weight, record.inventory.max_weight, record.inventory.count(), limit)));
    frames_[2]->setTitle(qs(cart_weight_caption(record.cart.weight, record.cart.max_weight,
                                                record.cart.count(), limit)));
    frames_[2]->setEnabled(true);
}

void CharProfileTab::fill_item_list(QListWidget* list, bool inventory) {
    const ItemNaming naming = item_naming(ws_, ui_);
    const ItemList& items =
        inventory ? ws_.characters.current.inventory : ws_.characters.current.cart;
    list->clear();
    for (const ItemSlot& item : items.items) {
        list->addItem(qs(inventory ? equipped_item_line(naming, item) : addlistitem(naming, item)));
    }
    if (list->count() > 0) list->setCurrentRow(0);
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
}

}  // namespace tavo::ui
