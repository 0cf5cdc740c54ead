#include "ui/user_info_tab.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace tavo::ui {

UserInfoTab::UserInfoTab(QWidget* parent) : QWidget(parent) {
    setObjectName("UserInfoTab");
    save_file_ = new QPushButton("Save File", this);
    save_file_->setObjectName("Command2_4");
    save_file_->setEnabled(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(save_file_);
    auto* layout = new QVBoxLayout(this);
    layout->addStretch();
    layout->addLayout(buttons);
}

}  // namespace tavo::ui
