#pragma once
// The "Add / Edit Item" panel (Frame2). For now it holds what the start-up reset touches: the
// item-type filter (Combo11), the item chooser (List5), the element and forging choosers
// (Combo4_0, Combo4_1), the four card choosers (Combo2_0 .. Combo2_3) and "Pet Info" (Frame3_2).

#include "ui/overlay_panel.h"

class QComboBox;
class QListWidget;

namespace tavo {
class ItemTable;
struct Workspace;
class Ui;
}  // namespace tavo

namespace tavo::ui {

class PetInfoFrame;

class ItemPanel : public OverlayPanel {
    Q_OBJECT
public:
    ItemPanel(Workspace& ws, Ui& ui, QWidget* parent);

    // The widget half of prepare_item_panel (the core sorts the table): the item chooser
    // emptied and refilled through "List All Types", "None" in the forging choosers, the
    // card choosers cleared.
    void prepare();
    // The filter's change handler: the item chooser lists the items of the chosen type.
    void combo11_click();

    QComboBox* type_filter() const { return combo11_; }
    QListWidget* item_chooser() const { return list5_; }
    QComboBox* element_chooser() const { return combo4_[0]; }
    QComboBox* forging_chooser() const { return combo4_[1]; }
    QComboBox* card_chooser(int index) const { return combo2_[index]; }
    PetInfoFrame* pet_info() const { return pet_info_; }

private:
    QWidget* build_forging();
    QWidget* build_cards();

    const ItemTable& items_;
    QComboBox* combo11_;
    QListWidget* list5_;
    QComboBox* combo4_[2];
    QComboBox* combo2_[4];
    PetInfoFrame* pet_info_;
};

}  // namespace tavo::ui
