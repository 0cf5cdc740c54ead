#include "ui/item_panel.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "refdata/item_db.h"
#include "refdata/item_panel.h"
#include "ui/chooser_fill.h"
#include "ui/pet_info_frame.h"
#include "workspace/workspace.h"

namespace tavo::ui {
namespace {

template <std::size_t N>
QComboBox* fixed_combo(const QString& name, const std::array<const char*, N>& texts) {
    auto* combo = new QComboBox;
    combo->setObjectName(name);
    for (const char* text : texts) combo->addItem(QString::fromLatin1(text));
    return combo;
}

}  // namespace

ItemPanel::ItemPanel(Workspace& ws, Ui& ui, QWidget* parent)
    : OverlayPanel("Add / Edit Item", "Frame2", parent), items_(ws.ref.items) {
    combo11_ = fixed_combo("Combo11", kItemTypeFilters);
    connect(combo11_, &QComboBox::currentIndexChanged, this, [this] { combo11_click(); });
    list5_ = new QListWidget;
    list5_->setObjectName("List5");
    list5_->setUniformItemSizes(true);
    list5_->setMinimumSize(240, 260);

    auto* chooser = new QVBoxLayout;
    chooser->addWidget(combo11_);
    chooser->addWidget(list5_);
    auto* details = new QVBoxLayout;
    details->addWidget(build_forging());
    details->addWidget(build_cards());
    pet_info_ = new PetInfoFrame(ws, ui);
    pet_info_->hide();  // shown for a pet egg
    details->addWidget(pet_info_);
    details->addStretch(1);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(chooser);
    layout->addLayout(details);
}

QWidget* ItemPanel::build_forging() {
    combo4_[0] = fixed_combo("Combo4_0", kElementChoices);
    combo4_[1] = fixed_combo("Combo4_1", kForgingChoices);
    auto* box = new QWidget;
    auto* form = new QFormLayout(box);
    form->setContentsMargins(0, 0, 0, 0);
    form->addRow("Elemental Property", combo4_[0]);
    form->addRow("Forging Property", combo4_[1]);
    return box;
}

QWidget* ItemPanel::build_cards() {
    auto* frame = new QGroupBox("CARDS... [PLEASE USE CORRECT CARDS ON ITEM]");
    frame->setObjectName("Frame3_1");
    auto* form = new QFormLayout(frame);
    for (int index = 0; index < 4; ++index) {
        combo2_[index] = new_chooser(QString("Combo2_%1").arg(index));
        combo2_[index]->setMinimumContentsLength(24);
        form->addRow(QString("Card %1").arg(index + 1), combo2_[index]);
    }
    return frame;
}

void ItemPanel::prepare() {
    fill_list(list5_, {});
    {
        const QSignalBlocker quiet(combo11_);
        combo11_->setCurrentIndex(0);
    }
    combo11_click();
    combo4_[0]->setCurrentIndex(0);
    combo4_[1]->setCurrentIndex(0);
    for (QComboBox* card : combo2_) fill_combo(card, {});
}

void ItemPanel::combo11_click() {
    const int filter = combo11_->currentIndex();
    if (filter < 0) return;
    fill_list(list5_, item_chooser_entries(items_, static_cast<std::size_t>(filter)));
}

}  // namespace tavo::ui
