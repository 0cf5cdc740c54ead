#include "ui/pet_info_frame.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "pages/item_panel_page.h"
#include "ui/chooser_fill.h"
#include "ui/latin1.h"

namespace tavo::ui {

PetInfoFrame::PetInfoFrame(ItemPanelPage& panel, QWidget* parent)
    : QGroupBox("Pet Info", parent), panel_(panel) {
    setObjectName("Frame3_2");
    auto* form = new QFormLayout;
    const char* labels[] = {"ID", "Type", "Name"};
    for (int i = 0; i < 3; ++i) {
        pet_fields_[i] = new QLineEdit;
        pet_fields_[i]->setObjectName(QString("Text5_%1").arg(i));
        form->addRow(labels[i], pet_fields_[i]);
    }
    pet_fields_[0]->setValidator(
        new QRegularExpressionValidator(QRegularExpression("[0-9]*"), this));
    pet_fields_[1]->setReadOnly(true);
    connect(pet_fields_[0], &QLineEdit::textEdited, this, [this](const QString& text) {
        panel_.type_pet_id(bytes(text));
        shown_[0] = panel_.pet().id;
    });
    connect(pet_fields_[2], &QLineEdit::textEdited, this, [this](const QString& text) {
        panel_.type_pet_name(bytes(text));
        shown_[2] = panel_.pet().name;
    });
    edit_name_button_ = new QPushButton;
    edit_name_button_->setObjectName("Command7_0");
    cancel_button_ = new QPushButton("Cancel");
    cancel_button_->setObjectName("Command7_1");
    connect(edit_name_button_, &QPushButton::clicked, this, [this] {
        panel_.edit_or_save_pet_name();
        render();
        if (panel_.pet().name_open) pet_fields_[2]->setFocus();
    });
    connect(cancel_button_, &QPushButton::clicked, this, [this] {
        panel_.cancel_pet_name();
        render();
    });
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(edit_name_button_);
    buttons->addWidget(cancel_button_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    render();
}

void PetInfoFrame::render() {
    const PetFields& pet = panel_.pet();
    const std::string* texts[] = {&pet.id, &pet.type, &pet.name};
    for (int i = 0; i < 3; ++i) draw_text(pet_fields_[i], shown_[i], *texts[i]);
    pet_fields_[2]->setReadOnly(!pet.name_open);
    edit_name_button_->setText(qs(panel_.pet_name_caption()));
    edit_name_button_->setEnabled(panel_.open_state().edit_pet_name);
}

}  // namespace tavo::ui
