#pragma once
// The "Char Profile" tab: the character chooser, the view selector and the three views of
// the current character (profile text, inventory, cart).

#include <QWidget>

class QComboBox;
class QGroupBox;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace tavo {
class ItemListEditor;
struct ItemEditors;
class UnsavedFlag;
struct Workspace;
class Ui;
}  // namespace tavo

namespace tavo::ui {

class ItemPanel;

class CharProfileTab : public QWidget {
    Q_OBJECT
public:
    // unsaved is the character's unsaved flag; "Save to File" shows it.
    CharProfileTab(Workspace& ws, Ui& ui, ItemEditors& items, UnsavedFlag& unsaved,
                   QWidget* parent = nullptr);
    // The panel that the inventory's and cart's New and Edit open.
    void set_item_panel(ItemPanel* panel) { panel_ = panel; }
    // Draws both item lists, their captions and buttons from the current character.
    void render_items();

    // "Save to File" (Command4_4): enabled while the current character has unsaved changes.
    QPushButton* save_button() const { return save_to_file_; }

    // Lists the characters of the account and shows the first (load_char_list).
    void load_char_list(std::int32_t account_id);
    // Rebuilds the profile, both item lists and their captions from the current character.
    void show_char_profile();
    // Choosing another account empties the inventory frame's caption first.
    void clear_inventory_caption();
    // How many characters the chosen account has.
    int char_count() const;

private:
    void combo5_click();
    void combo6_click();
    void clear_views();
    QWidget* item_frame_content(QListWidget* list, QPushButton** buttons, const char* name);
    void render_list(ItemListEditor& editor, QListWidget* list, QPushButton** buttons);
    void item_button(ItemListEditor& editor, int index);

    Workspace& ws_;
    Ui& ui_;
    QComboBox* combo5_;
    QComboBox* combo6_;
    QGroupBox* frames_[3];
    QPlainTextEdit* text6_;
    QListWidget* list3_;
    QListWidget* list4_;
    QPushButton* save_to_file_;
    QPushButton* command4_[4];
    QPushButton* command5_[4];
    ItemEditors& items_;
    UnsavedFlag& unsaved_;
    ItemPanel* panel_ = nullptr;
    bool rendering_ = false;
    int shown_entry_ = -1;  // the chooser entry whose character the record holds
};

}  // namespace tavo::ui
