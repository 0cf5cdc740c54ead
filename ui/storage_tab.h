#pragma once
// The "Storage" tab: the chosen account's Kafra storage. It renders the store editor (List2,
// Label2 "Qty [n/maxstorage]", Command3_0 .. Command3_4) and forwards clicks to it; New and
// Edit open the item panel.

#include <QWidget>
#include <optional>
#include <string>
#include <vector>

class QLabel;
class QListWidget;
class QPushButton;

namespace tavo {
struct ItemEditors;
class StoreEditor;
class Ui;
}  // namespace tavo

namespace tavo::ui {

class ItemPanel;

class StorageTab : public QWidget {
    Q_OBJECT
public:
    StorageTab(ItemEditors& editors, Ui& ui, QWidget* parent = nullptr);
    // The panel that New and Edit open.
    void set_item_panel(ItemPanel* panel) { panel_ = panel; }

    // "Save File" (Command3_4): enabled while the store has unsaved changes.
    QPushButton* save_button() const { return buttons_[4]; }

    // Choosing an account empties the store shown and reads the account's store.
    void clear_storage();
    void load_storage(std::optional<std::int32_t> account_id);
    // Draws the list, the label and the buttons from the store.
    void render();

private:
    void press_button(int index);
    void open_panel(bool edit);

    ItemEditors& editors_;
    StoreEditor& store_;
    Ui& ui_;
    ItemPanel* panel_ = nullptr;
    QListWidget* list2_;
    QLabel* label2_;
    QPushButton* buttons_[5];
    bool rendering_ = false;
    std::vector<std::string> shown_lines_;  // what List2 holds, as last drawn
};

}  // namespace tavo::ui
