#include "ui/item_panel.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "pages/item_panel_page.h"
#include "ui/chooser_fill.h"
#include "ui/latin1.h"
#include "ui/pet_info_frame.h"

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

ItemPanel::ItemPanel(ItemPanelPage& page, QWidget* parent)
    : OverlayPanel("Add / Edit Item", "Frame2", parent), page_(page) {
    combo11_ = fixed_combo("Combo11", kItemTypeFilters);
    list5_ = new QListWidget;
    list5_->setObjectName("List5");
    list5_->setUniformItemSizes(true);
    list5_->setMinimumSize(240, 260);
    list5_->installEventFilter(this);
    text7_ = new QLineEdit;
    text7_->setObjectName("Text7");
    text7_->setReadOnly(true);
    text7_->hide();

    auto* chooser = new QVBoxLayout;
    chooser->addWidget(combo11_);
    chooser->addWidget(list5_);
    chooser->addWidget(text7_);
    auto* details = new QVBoxLayout;
    details->addWidget(build_fields());
    details->addWidget(build_forging());
    details->addWidget(build_cards());
    pet_info_ = new PetInfoFrame(page);
    pet_info_->hide();  // shown for a pet egg
    details->addWidget(pet_info_);
    auto* buttons = new QHBoxLayout;
    const char* captions[] = {"Add to Inventory", "Cancel"};
    for (int i = 0; i < 2; ++i) {
        command1_[i] = new QPushButton(captions[i]);
        command1_[i]->setObjectName(QString("Command1_%1").arg(i));
        buttons->addWidget(command1_[i]);
    }
    set_default_button(command1_[0]);
    set_cancel_button(command1_[1]);
    details->addLayout(buttons);
    details->addStretch(1);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(chooser);
    layout->addLayout(details);
    connect_controls();
}

QWidget* ItemPanel::build_fields() {
    auto* box = new QWidget;
    auto* form = new QFormLayout(box);
    form->setContentsMargins(0, 0, 0, 0);
    const char* labels[] = {"Qty", "Type", "Slots", "Refine", "Item ID", "Item Name"};
    auto* digits = new QRegularExpressionValidator(QRegularExpression("[0-9]*"), this);
    for (int i = 0; i < kItemFieldCount; ++i) {
        const auto field = static_cast<ItemField>(i);
        text4_[i] = new QLineEdit;
        text4_[i]->setObjectName(QString("Text4_%1").arg(i));
        if (ItemPanelPage::field_digits_only(field)) text4_[i]->setValidator(digits);
        text4_[i]->setReadOnly(!ItemPanelPage::field_typed(field));
        form->addRow(labels[i], text4_[i]);
    }
    return box;
}

QWidget* ItemPanel::build_forging() {
    combo4_[0] = fixed_combo("Combo4_0", kElementChoices);
    combo4_[1] = fixed_combo("Combo4_1", kForgingChoices);
    combo4_[2] = new_chooser("Combo4_2");
    auto* box = new QWidget;
    auto* form = new QFormLayout(box);
    form->setContentsMargins(0, 0, 0, 0);
    form->addRow("Elemental Property", combo4_[0]);
    form->addRow("Forging Property", combo4_[1]);
    form->addRow("Weapon's Forger", combo4_[2]);
    return box;
}

QWidget* ItemPanel::build_cards() {
    frame3_1_ = new QGroupBox("CARDS... [PLEASE USE CORRECT CARDS ON ITEM]");
    frame3_1_->setObjectName("Frame3_1");
    auto* form = new QFormLayout(frame3_1_);
    for (int index = 0; index < 4; ++index) {
        combo2_[index] = new_chooser(QString("Combo2_%1").arg(index));
        combo2_[index]->setMinimumContentsLength(24);
        form->addRow(QString("Card %1").arg(index + 1), combo2_[index]);
    }
    return frame3_1_;
}

void ItemPanel::connect_controls() {
    const auto user = [this](auto action) {
        return [this, action](auto&&...) {
            if (rendering_) return;
            action();
            render();
        };
    };
    connect(combo11_, &QComboBox::currentIndexChanged, this, user([this] {
                page_.set_filter(static_cast<std::size_t>(std::max(0, combo11_->currentIndex())));
            }));
    connect(list5_, &QListWidget::currentRowChanged, this,
            user([this] { page_.choose(list5_->currentRow()); }));
    for (int i = 0; i < kItemFieldCount; ++i) {
        const auto field = static_cast<ItemField>(i);
        if (!ItemPanelPage::field_typed(field)) continue;
        connect(text4_[i], &QLineEdit::textEdited, this, [this, i, field](const QString& text) {
            page_.type_field(field, bytes(text));
            shown_fields_[i] = page_.field_text(field);
        });
    }
    connect(combo4_[0], &QComboBox::currentIndexChanged, this,
            user([this] { page_.choose_element(combo4_[0]->currentIndex()); }));
    connect(combo4_[1], &QComboBox::currentIndexChanged, this,
            user([this] { page_.choose_strength(combo4_[1]->currentIndex()); }));
    connect(combo4_[2], &QComboBox::currentIndexChanged, this,
            user([this] { page_.choose_forger(combo4_[2]->currentIndex()); }));
    for (int slot = 0; slot < 4; ++slot) {
        connect(combo2_[slot], &QComboBox::currentIndexChanged, this,
                user([this, slot] { page_.choose_card(slot, combo2_[slot]->currentIndex()); }));
    }
    connect(command1_[0], &QPushButton::clicked, this, [this] { confirm(); });
    connect(command1_[1], &QPushButton::clicked, this, [this] {
        page_.cancel();
        hide();
    });
}

void ItemPanel::prepare() {
    page_.set_filter(0);
    page_.choose_element(0);
    page_.choose_strength(0);
    page_.choose_forger(0);
    render();
}

void ItemPanel::open_over(QWidget* area) {
    render();
    show_over(area);
    list5_->setFocus();
}

void ItemPanel::render() {
    const ItemPanelPage& panel = page_;
    const PanelOpen& is = panel.open_state();
    rendering_ = true;
    command1_[0]->setText(qs(panel.caption()));
    combo11_->setCurrentIndex(static_cast<int>(panel.filter()));
    render_choosers();
    text7_->setText(qs(panel.shown_prefix()));
    text7_->setVisible(panel.prefix_visible());
    for (int i = 0; i < kItemFieldCount; ++i) {
        const auto field = static_cast<ItemField>(i);
        draw_text(text4_[i], shown_fields_[i], panel.field_text(field));
        text4_[i]->setEnabled(panel.field_open(field));
    }
    combo4_[0]->setCurrentIndex(panel.element());
    combo4_[1]->setCurrentIndex(panel.strength());
    combo4_[2]->setCurrentIndex(panel.forger());
    combo4_[0]->setEnabled(is.element);
    combo4_[1]->setEnabled(is.strength);
    combo4_[2]->setEnabled(is.forger);
    for (int slot = 0; slot < 4; ++slot) {
        combo2_[slot]->setCurrentIndex(panel.card(slot));
        combo2_[slot]->setEnabled(is.cards[slot]);
    }
    const bool frames_changed =
        frame3_1_->isHidden() == is.card_frame || pet_info_->isHidden() == is.pet_info;
    frame3_1_->setVisible(is.card_frame);
    pet_info_->setVisible(is.pet_info);
    if (is.pet_info) pet_info_->render();
    // An open panel takes the room of the frames it shows now.
    if (frames_changed && isVisible()) {
        layout()->activate();
        adjustSize();
    }
    rendering_ = false;
}

void ItemPanel::render_choosers() {
    const ItemPanelPage& panel = page_;
    if (entries_changed(shown_choices_, panel.choices())) fill_list(list5_, shown_choices_);
    list5_->setCurrentRow(panel.chosen());
    if (entries_changed(shown_forgers_, panel.forger_choices())) {
        fill_combo(combo4_[2], shown_forgers_);
    }
    if (entries_changed(shown_cards_, panel.card_choices())) {
        for (QComboBox* card : combo2_) fill_combo(card, shown_cards_);
    }
}

bool ItemPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list5_ && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        int code = 0;
        if (key->key() == Qt::Key_Escape) code = 27;
        if (key->key() == Qt::Key_Backspace) code = 8;
        const QString text = key->text();
        if (code == 0 && text.size() == 1 && text[0].unicode() < 128) code = text[0].unicode();
        if (code == 0) return false;
        const bool had_prefix = !page_.prefix().empty();
        const bool used = page_.type_key(code);
        render();
        // Escape with no prefix typed is the panel's Cancel.
        return used || (code == 27 && had_prefix);
    }
    return OverlayPanel::eventFilter(watched, event);
}

void ItemPanel::hideEvent(QHideEvent* event) {
    page_.close();
    OverlayPanel::hideEvent(event);
}

void ItemPanel::confirm() {
    if (!page_.confirm()) {
        render();
        return;
    }
    hide();
    emit itemStored();
}

}  // namespace tavo::ui
