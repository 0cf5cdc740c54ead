#pragma once
// "Pet Info" (Frame3_2) of the item panel: the pet inside an egg, whose name can be changed
// in save/pet.txt at once. It draws the item panel page's pet and forwards what is typed.

#include <QGroupBox>
#include <string>

class QLineEdit;
class QPushButton;

namespace tavo {
class ItemPanelPage;
}  // namespace tavo

namespace tavo::ui {

class PetInfoFrame : public QGroupBox {
    Q_OBJECT
public:
    explicit PetInfoFrame(ItemPanelPage& panel, QWidget* parent = nullptr);

    // Draws the pet id, monster name and pet name and the name buttons from the page.
    void render();

private:
    ItemPanelPage& panel_;
    QLineEdit* pet_fields_[3];
    std::string shown_[3];  // what each field last showed, drawn or typed
    QPushButton* edit_name_button_;
    QPushButton* cancel_button_;
};

}  // namespace tavo::ui
