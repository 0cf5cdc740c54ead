#include "ui/char_profile_tab.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace tavo::ui {

CharProfileTab::CharProfileTab(QWidget* parent) : QWidget(parent) {
    setObjectName("CharProfileTab");
    save_to_file_ = new QPushButton("Save to File", this);
    save_to_file_->setObjectName("Command4_4");
    save_to_file_->setEnabled(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(save_to_file_);
    auto* layout = new QVBoxLayout(this);
    layout->addStretch();
    layout->addLayout(buttons);
}

}  // namespace tavo::ui
