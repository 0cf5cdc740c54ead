#include "ui/pet_info_frame.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "app/numbers.h"
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
        text5_[i] = new QLineEdit;
        text5_[i]->setObjectName(QString("Text5_%1").arg(i));
        text5_[i]->setReadOnly(i != 0);
        form->addRow(labels[i], text5_[i]);
    }
    text5_[0]->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), this));
    connect(text5_[0], &QLineEdit::textEdited, this, &PetInfoFrame::idEdited);
    auto* buttons = new QHBoxLayout;
    const char* captions[] = {"Edit Name", "Cancel"};
    for (int i = 0; i < 2; ++i) {
        command7_[i] = new QPushButton(captions[i]);
        command7_[i]->setObjectName(QString("Command7_%1").arg(i));
        connect(command7_[i], &QPushButton::clicked, this, [this, i] { command7_click(i); });
        buttons->addWidget(command7_[i]);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
}

void PetInfoFrame::show_pet(std::int32_t pet_id, const QString& type, const QString& name) {
    text5_[0]->setText(QString::number(pet_id));
    text5_[1]->setText(type);
    text5_[2]->setText(name);
    lock_name(true);
    command7_[0]->setEnabled(true);
}

void PetInfoFrame::show_fields(const QString& id, const QString& type, const QString& name,
                               bool can_rename) {
    if (text5_[0]->text() != id) text5_[0]->setText(id);
    text5_[1]->setText(type);
    if (text5_[2]->isReadOnly()) text5_[2]->setText(name);
    command7_[0]->setEnabled(can_rename);
}

void PetInfoFrame::clear() {
    for (QLineEdit* text : text5_) text->clear();
    lock_name(true);
}

void PetInfoFrame::lock_name(bool locked) {
    text5_[2]->setReadOnly(locked);
    command7_[0]->setText(locked ? "Edit Name" : "Save Name");
}

void PetInfoFrame::command7_click(int index) {
    const std::int32_t pet_id = as_i32(leading_number(bytes(text5_[0]->text()))).value_or(0);
    if (index == 1) {
        lock_name(true);
        text5_[2]->setText(qs(find_pet(ws_.app, ui_, 1, pet_id)));
        return;
    }
    if (text5_[2]->text().isEmpty()) return;
    if (command7_[0]->text() == "Edit Name") {
        lock_name(false);
        text5_[2]->setFocus();
        return;
    }
    // A name the server would misread is refused; the box stays open for a correction.
    if (save_pet(ws_.app, ui_, pet_id, bytes(text5_[2]->text()))) lock_name(true);
}

}  // namespace tavo::ui
