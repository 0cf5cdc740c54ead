#pragma once
// The "Storage" tab: the chosen account's Kafra storage. It renders the storage page (List2,
// Label2 "Qty [n/maxstorage]", Command3_0 .. Command3_4) and forwards clicks to it; New and
// Edit open the item panel.

#include <QWidget>
#include <string>
#include <vector>

class QLabel;
class QListWidget;
class QPushButton;

namespace tavo {
class StoragePage;
}  // namespace tavo

namespace tavo::ui {

class ItemPanel;

class StorageTab : public QWidget {
    Q_OBJECT
public:
    explicit StorageTab(StoragePage& page, QWidget* parent = nullptr);
    // The panel that New and Edit open.
    void set_item_panel(ItemPanel* panel) { panel_ = panel; }

    // "Save File" (Command3_4): enabled while the store has unsaved changes.
    QPushButton* save_button() const { return buttons_[4]; }

    // Draws the list, the label and the buttons from the page.
    void render();

private:
    void press_button(int index);

    StoragePage& page_;
    ItemPanel* panel_ = nullptr;
    QListWidget* list2_;
    QLabel* label2_;
    QPushButton* buttons_[5];
    bool rendering_ = false;
    std::vector<std::string> shown_lines_;  // what List2 holds, as last drawn
};

}  // namespace tavo::ui
