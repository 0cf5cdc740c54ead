#pragma once
// The "User Info" tab: the chosen account's fields, the six account buttons (new player, new GM,
// edit, cancel, save the file, delete) and the "Server Tools" frame. It renders the account
// page and forwards typing, clicks and keys to it; what a press did goes to the window.

#include <QWidget>
#include <functional>
#include <optional>

#include "pages/account_page.h"

class QComboBox;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tavo::ui {

class UserInfoTab : public QWidget {
    Q_OBJECT
public:
    UserInfoTab(AccountPage& page, QWidget* parent = nullptr);

    AccountPage& page() const { return page_; }
    // "Save File" (Command2_4), which Ctrl+S presses.
    QPushButton* save_file_button() const { return buttons_[4]; }
    // "Delete" (Command2_5), which the Delete key on the account list presses.
    QPushButton* delete_button() const { return buttons_[5]; }
    // What a press did, for the window's account list and status bar.
    void on_pressed(std::function<void(const AccountOutcome&)> handler) {
        pressed_ = std::move(handler);
    }

    // Shows the page's state again.
    void render();

signals:
    // "Check Files" (Command8_1).
    void checkFilesRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void build();
    QGroupBox* build_account_frame();
    QGroupBox* build_server_tools();
    void button_clicked(AccountButton button);
    void render_form();
    void render_time_caption(AccountField which);
    void set_tab_order();
    QLineEdit* field(AccountField which) const { return fields_[static_cast<int>(which)]; }

    AccountPage& page_;
    std::function<void(const AccountOutcome&)> pressed_;
    QLineEdit* fields_[kAccountFieldCount] = {};
    QComboBox* lists_[3] = {};
    QPushButton* buttons_[kAccountButtonCount] = {};
    QPushButton* server_tools_[kServerToolCount] = {};
    QLabel* validity_date_ = nullptr;
    QLabel* ban_date_ = nullptr;
    bool rendering_ = false;
};

}  // namespace tavo::ui
