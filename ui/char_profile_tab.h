#pragma once
// The "Char Profile" tab: the character chooser, the view selector and the three views of
// the current character (profile text, inventory, cart). It renders the character editor and
// forwards the choices to it.

#include <QWidget>

#include "editors/character_editor.h"
#include "workspace/item_editors.h"

class QComboBox;
class QGroupBox;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace tavo::ui {

class ItemPanel;

class CharProfileTab : public QWidget {
    Q_OBJECT
public:
    CharProfileTab(CharacterEditor& editor, ItemEditors& items, QWidget* parent = nullptr);
    // The panel that the inventory's and cart's New and Edit open.
    void set_item_panel(ItemPanel* panel) { panel_ = panel; }
    // Draws both item lists, their captions and buttons from the current character.
    void render_items();

    CharacterEditor& editor() const { return editor_; }
    // "Save to File" (Command4_4), which Ctrl+S presses.
    QPushButton* save_to_file_button() const { return save_to_file_button_; }

    // Lists the characters of the account and shows the first (load_char_list).
    void load_char_list(std::int32_t account_id);
    // Chooses the listed character of that id, as choosing it in the chooser does.
    void choose_character(const std::string& char_id);
    // Shows the editor's character sheet: the profile, both item lists and their captions.
    void show_char_profile();
    // Choosing another account empties the inventory frame's caption first.
    void clear_inventory_caption();

private:
    void character_chosen();
    void view_chosen();
    void render_chooser();
    void clear_views();
    QWidget* item_frame_content(QListWidget* list, QPushButton** buttons, const char* name);
    void render_list(ItemListEditor& editor, QListWidget* list, QPushButton** buttons);
    void item_button(ItemListEditor& editor, int index);

    CharacterEditor& editor_;
    QComboBox* character_chooser_;
    QComboBox* view_chooser_;
    QGroupBox* view_frames_[3];
    QPlainTextEdit* profile_text_;
    QListWidget* inventory_list_;
    QListWidget* cart_list_;
    QPushButton* save_to_file_button_;
    QPushButton* inventory_buttons_[4];  // Command4_0 .. Command4_3
    QPushButton* cart_buttons_[4];       // Command5_0 .. Command5_3
    ItemEditors& items_;
    ItemPanel* panel_ = nullptr;
    bool rendering_ = false;
};

}  // namespace tavo::ui
