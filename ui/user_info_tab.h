#pragma once
// The "User Info" tab: the chosen account's fields, the account buttons and "Server Tools".

#include <QWidget>

class QPushButton;

namespace tavo::ui {

class UserInfoTab : public QWidget {
    Q_OBJECT
public:
    explicit UserInfoTab(QWidget* parent = nullptr);
    // "Save File" (Command2_4): enabled while the account table differs from the file.
    QPushButton* save_button() const { return save_file_; }

private:
    QPushButton* save_file_;
};

}  // namespace tavo::ui
