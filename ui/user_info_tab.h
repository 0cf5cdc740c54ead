#pragma once
// The "User Info" tab: the chosen account's fields, the six account buttons (new player, new GM,
// edit, cancel, save the file, delete) and the "Server Tools" frame. It renders the account
// editor and forwards clicks and keys to it.

#include <QWidget>
#include <functional>
#include <optional>

#include "editors/account_editor.h"

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
    UserInfoTab(AccountEditor& editor, QWidget* parent = nullptr);

    AccountEditor& editor() const { return editor_; }
    // "Save File" (Command2_4), which Ctrl+S presses.
    QPushButton* save_file_button() const { return buttons_[4]; }
    // "Delete" (Command2_5), which the Delete key on the account list presses.
    QPushButton* delete_button() const { return buttons_[5]; }

    // The account part of List1_Click: ends any mode and shows the account at `index` (the
    // fields are emptied when nothing is selected).
    void show_account(std::optional<std::size_t> index);
    // Shows the editor's state again (after a load of the table).
    void render();
    // What the fields hold goes to the editor, so that it knows about typed values.
    void take_typed_values();
    // Before another account is shown: typed values ask the window's question first.
    bool may_discard_typing();

signals:
    // A new account was added at the end of the table: the list shows and selects it.
    void accountAdded(int row);
    void accountChanged(int row);
    // The account at `row` was deleted; `select` is the entry to choose next (-1: none left).
    void accountRemoved(int row, int select);
    // "Cancel": the chosen account is shown again (List1_Click).
    void reshowRequested();
    // The number of accounts or the unsaved state changed.
    void tableChanged();
    // The table was put onto a file another writer had changed: `row` is the account chosen
    // before (-1: gone).
    void tableReplaced(int row);
    // "Check Files" (Command8_1).
    void checkFilesRequested();
    // "Export to SQL…" (Command8_2).
    void exportSqlRequested();
    // "Save File" wrote the account file; the text says what was written.
    void fileSaved(const QString& text);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void build();
    QGroupBox* build_account_frame();
    QGroupBox* build_server_tools();
    void button_clicked(AccountButton button);
    void delete_account();
    void render_form();
    void render_time_caption(AccountField which, const std::string& text);
    void set_tab_order();
    AccountForm read_form() const;
    QLineEdit* field(AccountField which) const { return fields_[static_cast<int>(which)]; }

    AccountEditor& editor_;
    QLineEdit* fields_[kAccountFieldCount] = {};
    QComboBox* lists_[3] = {};
    QPushButton* buttons_[kAccountButtonCount] = {};
    QPushButton* server_tools_[4] = {};
    QLabel* validity_date_ = nullptr;
    QLabel* ban_date_ = nullptr;
};

}  // namespace tavo::ui
