#pragma once
// The "Char Profile" tab: the character chooser, the view selector and the three views.

#include <QWidget>

class QPushButton;

namespace tavo {
class AccountRecord;
}

namespace tavo::ui {

class CharProfileTab : public QWidget {
    Q_OBJECT
public:
    explicit CharProfileTab(QWidget* parent = nullptr);
    // "Save to File" (Command4_4): enabled while the current character has unsaved changes.
    QPushButton* save_button() const { return save_to_file_; }

    // Choosing an account lists its characters in the chooser and empties the inventory
    // frame's caption. The character file is read here once the character view exists; until
    // then these do nothing and the account has no characters listed.
    void load_char_list(const AccountRecord&) {}
    void clear_inventory_caption() {}
    int char_count() const { return 0; }

private:
    QPushButton* save_to_file_;
};

}  // namespace tavo::ui
