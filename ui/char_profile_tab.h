#pragma once
// The "Char Profile" tab: the character chooser, the view selector and the three views of
// the current character (profile text, inventory, cart). It renders the character page and
// forwards the choices and clicks to it.

#include <QWidget>
#include <string>
#include <vector>

#include "pages/char_profile_page.h"

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
    CharProfileTab(CharProfilePage& page, QWidget* parent = nullptr);
    // The panel that the inventory's and cart's New and Edit open.
    void set_item_panel(ItemPanel* panel) { panel_ = panel; }

    CharProfilePage& page() const { return page_; }
    // "Save to File" (Command4_4), which Ctrl+S presses.
    QPushButton* save_to_file_button() const { return save_to_file_button_; }

    // Draws everything from the page: the choosers, the view, the profile, both item lists
    // with their captions and buttons.
    void render();
    // Draws both item lists, their captions and buttons.
    void render_items();
    QPushButton* character_button(CharacterButton button) const {
        return command6_[static_cast<int>(button)];
    }

signals:
    // "Edit Basic" or "Edit Memo/Skill/Quest": the window opens the panel over the tab.
    void editorRequested(CharacterButton button);
    // Another character is shown: chosen, or the account's characters listed again after a
    // deletion.
    void characterChanged();

private:
    struct Lane {
        ItemListPage* page;
        QListWidget* list;
        QPushButton** buttons;
        std::vector<std::string> shown;  // what the list holds, as last drawn
    };
    void character_chosen(int index);
    void press_character_button(CharacterButton button);
    void render_chooser();
    void render_view();
    QWidget* item_frame_content(QListWidget* list, QPushButton** buttons, const char* name);
    void render_lane(Lane& lane);
    void item_button(Lane& lane, ItemButton button);

    CharProfilePage& page_;
    QComboBox* character_chooser_;
    QComboBox* view_chooser_;
    QGroupBox* view_frames_[3];
    QPlainTextEdit* profile_text_;
    QPushButton* save_to_file_button_;
    QPushButton* command6_[4];
    QPushButton* inventory_buttons_[4];  // Command4_0 .. Command4_3
    QPushButton* cart_buttons_[4];       // Command5_0 .. Command5_3
    Lane lanes_[2];
    ItemPanel* panel_ = nullptr;
    bool rendering_ = false;
};

}  // namespace tavo::ui
