#pragma once
// The "Char Profile" tab: the character chooser, the view selector and the three views of
// the current character (profile text, inventory, cart). It renders the character editor and
// forwards the choices to it.

#include <QWidget>

#include "editors/character_editor.h"

class QComboBox;
class QGroupBox;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace tavo::ui {

class CharProfileTab : public QWidget {
    Q_OBJECT
public:
    CharProfileTab(CharacterEditor& editor, QWidget* parent = nullptr);

    CharacterEditor& editor() const { return editor_; }
    // "Save to File" (Command4_4), which Ctrl+S presses.
    QPushButton* save_to_file_button() const { return save_to_file_button_; }

    // Lists the characters of the account and shows the first (load_char_list).
    void load_char_list(std::int32_t account_id);
    // Shows the editor's character sheet: the profile, both item lists and their captions.
    void show_char_profile();
    // Choosing another account empties the inventory frame's caption first.
    void clear_inventory_caption();

private:
    void character_chosen();
    void view_chosen();
    void render_chooser();
    void clear_views();
    static void fill_item_list(QListWidget* list, const std::vector<std::string>& lines);

    CharacterEditor& editor_;
    QComboBox* character_chooser_;
    QComboBox* view_chooser_;
    QGroupBox* view_frames_[3];
    QPlainTextEdit* profile_text_;
    QListWidget* inventory_list_;
    QListWidget* cart_list_;
    QPushButton* save_to_file_button_;
};

}  // namespace tavo::ui
