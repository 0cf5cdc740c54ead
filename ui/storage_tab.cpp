#include "ui/storage_tab.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace tavo::ui {

StorageTab::StorageTab(QWidget* parent) : QWidget(parent) {
    setObjectName("StorageTab");
    list2_ = new QListWidget(this);
    list2_->setObjectName("List2");
    label2_ = new QLabel("Qty [0/100]", this);
    label2_->setObjectName("Label2");

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(label2_);
    buttons->addStretch();
    const char* captions[] = {"New", "Edit", "Delete", "Delete All", "Save File"};
    for (int i = 0; i < 5; ++i) {
        buttons_[i] = new QPushButton(captions[i], this);
        buttons_[i]->setObjectName(QString("Command3_%1").arg(i));
        buttons_[i]->setEnabled(false);
        buttons->addWidget(buttons_[i]);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list2_);
    layout->addLayout(buttons);
}

}  // namespace tavo::ui
