#include "ui/pet_info_frame.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "characters/guild_party_pet.h"
#include "ui/latin1.h"
#include "workspace/workspace.h"

namespace tavo::ui {

PetInfoFrame::PetInfoFrame(Workspace& ws, Ui& ui, QWidget* parent)
    : QGroupBox("Pet Info", parent), ws_(ws), ui_(ui) {
    setObjectName("Frame3_2");
    auto* form = new QFormLayout;
    const char* labels[] = {"ID", "Type", "Name"};
    for (int i = 0; i < 3; ++i) {
        pet_fields_[i] = new QLineEdit;
        pet_fields_[i]->setObjectName(QString("Text5_%1").arg(i));
        pet_fields_[i]->setReadOnly(i != 0);
        form->addRow(labels[i], pet_fields_[i]);
    }
    pet_fields_[0]->setValidator(
        new QRegularExpressionValidator(QRegularExpression("[0-9]*"), this));
    connect(pet_fields_[0], &QLineEdit::textEdited, this, &PetInfoFrame::idEdited);
    edit_name_button_ = new QPushButton("Edit Name");
    edit_name_button_->setObjectName("Command7_0");
    cancel_button_ = new QPushButton("Cancel");
    cancel_button_->setObjectName("Command7_1");
    connect(edit_name_button_, &QPushButton::clicked, this, [this] { edit_or_save_name(); });
    connect(cancel_button_, &QPushButton::clicked, this, [this] { cancel_name(); });
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(edit_name_button_);
    buttons->addWidget(cancel_button_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
}

void PetInfoFrame::show_pet(std::int32_t pet_id, const QString& type, const QString& name) {
    pet_id_ = pet_id;
    pet_fields_[0]->setText(QString::number(pet_id));
    pet_fields_[1]->setText(type);
    pet_fields_[2]->setText(name);
    read_name_ = bytes(name);
    lock_name(true);
    edit_name_button_->setEnabled(true);
}

void PetInfoFrame::show_fields(const QString& id, const QString& type, const QString& name,
                               bool can_rename) {
    if (pet_fields_[0]->text() != id) pet_fields_[0]->setText(id);
    pet_id_ = id.toInt();
    pet_fields_[1]->setText(type);
    if (pet_fields_[2]->isReadOnly()) {
        pet_fields_[2]->setText(name);
        read_name_ = bytes(name);
    }
    edit_name_button_->setEnabled(can_rename);
}

void PetInfoFrame::clear() {
    pet_id_ = 0;
    read_name_.clear();
    for (QLineEdit* text : pet_fields_) text->clear();
    lock_name(true);
}

void PetInfoFrame::lock_name(bool locked) {
    editing_name_ = !locked;
    pet_fields_[2]->setReadOnly(locked);
    edit_name_button_->setText(locked ? "Edit Name" : "Save Name");
}

void PetInfoFrame::cancel_name() {
    lock_name(true);
    read_name_ = find_pet(ws_.app, ui_, 1, pet_id_);
    pet_fields_[2]->setText(qs(read_name_));
}

void PetInfoFrame::edit_or_save_name() {
    if (pet_fields_[2]->text().isEmpty()) return;
    if (!editing_name_) {
        lock_name(false);
        pet_fields_[2]->setFocus();
        return;
    }
    // A name the server would misread is refused; the box stays open for a correction.
    const auto name = save_pet(ws_.app, ui_, pet_id_, bytes(pet_fields_[2]->text()), read_name_);
    if (!name) return;
    read_name_ = *name;  // another writer's name, when it was kept
    pet_fields_[2]->setText(qs(*name));
    lock_name(true);
}

}  // namespace tavo::ui
