#pragma once
// The "User Info" tab: the chosen account's fields, the six account buttons (new player, new GM,
// edit, cancel, save the file, delete) and the "Server Tools" frame.

#include <QWidget>
#include <functional>
#include <optional>
#include <string>

#include "accounts/account_editor.h"

class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;

namespace tavo {
struct Workspace;
class Ui;
}  // namespace tavo

namespace tavo::ui {

class CheckFilesDialog;

class UserInfoTab : public QWidget {
    Q_OBJECT
public:
    UserInfoTab(Workspace& ws, Ui& ui, QWidget* parent = nullptr);

    // "Save File" (Command2_4): enabled while the account table differs from the file.
    QPushButton* save_button() const { return command2_[4]; }
    // Mirrors the table's unsaved-changes flag on "Save File".
    void refresh_save_button();

    // The account part of List1_Click: ends any mode and shows the account at `index` (the
    // fields are emptied when nothing is selected).
    void show_account(std::optional<std::size_t> index);

    // Asked by "Delete": whether the chosen account has characters.
    std::function<bool()> has_characters;

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

private:
    enum class Mode { None, NewPlayer, NewGm, Edit };

    void build();
    QGroupBox* build_frame4();
    QGroupBox* build_frame5();
    void command2_click(int index);
    void begin_new(bool gm);
    void save_new(bool gm);
    void begin_edit();
    void save_edit();
    void cancel();
    void save_file();
    void delete_account();

    // An account is chosen, still in the table, and not the first entry.
    bool chosen_editable() const;
    void end_mode();
    void set_editable(bool editable);
    void set_lists_enabled(bool enabled);
    void show_form(const AccountForm& form);
    AccountForm read_form() const;
    void fill_list(QComboBox* combo, const std::vector<ListEntry>& entries, std::uint8_t value);
    void after_button();

    Workspace& ws_;
    Ui& ui_;
    Mode mode_ = Mode::None;
    std::optional<std::size_t> selected_;
    std::string userid_before_edit_;

    QLineEdit* text2_[12] = {};
    QComboBox* combo1_[3] = {};
    QPushButton* command2_[6] = {};
    QPushButton* command8_[4] = {};
    CheckFilesDialog* check_files_ = nullptr;
};

}  // namespace tavo::ui
