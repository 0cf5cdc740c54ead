#include "ui/form2.h"

#include <QLabel>
#include <QVBoxLayout>

namespace tavo::ui {

Form2::Form2(QWidget* parent) : QDialog(parent) {
    setObjectName("Form2");
    setWindowTitle("Progress...");
    setModal(false);
    label1_ = new QLabel("Please wait... File is being read...", this);
    label1_->setObjectName("Label1");
    label2_ = new QLabel(this);
    label2_->setObjectName("Label2");
    label2_->setMinimumWidth(label2_->fontMetrics().horizontalAdvance("Reading 000000000 lines"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label1_);
    layout->addWidget(label2_);
    setFixedSize(sizeHint());
}

void Form2::set_counter(const QString& text) {
    label2_->setText(text);
}

QString Form2::counter() const {
    return label2_->text();
}

}  // namespace tavo::ui
