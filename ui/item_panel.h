#pragma once
// The "Add / Edit Item" panel (Frame2). It renders the item panel page: the item-type
// filter (Combo11), the item chooser (List5) with its type-ahead prefix (Text7), the fields
// Text4_0 .. Text4_5, the element, forging and forger choosers (Combo4_0 .. Combo4_2), the
// card choosers (Combo2_0 .. Combo2_3), "Pet Info" (Frame3_2) and the confirm and cancel
// buttons (Command1_0, Command1_1). Typing, clicks and keys go to the page; the panel draws
// again.

#include <string>
#include <vector>

#include "ui/overlay_panel.h"

class QComboBox;
class QGroupBox;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace tavo {
class ItemPanelPage;
}  // namespace tavo

namespace tavo::ui {

class PetInfoFrame;

class ItemPanel : public OverlayPanel {
    Q_OBJECT
public:
    ItemPanel(ItemPanelPage& page, QWidget* parent);

    // The panel at start-up, over the item table sorted by name: the item chooser refilled
    // through "List All Types", "None" in the forging choosers.
    void prepare();
    // Shows the panel over `area` as the page was opened (New or Edit of a list).
    void open_over(QWidget* area);
    // Draws every control from the page.
    void render();

    QComboBox* type_filter() const { return combo11_; }
    QListWidget* item_chooser() const { return list5_; }
    QComboBox* element_chooser() const { return combo4_[0]; }
    QComboBox* forging_chooser() const { return combo4_[1]; }
    QComboBox* forger_chooser() const { return combo4_[2]; }
    QComboBox* card_chooser(int index) const { return combo2_[index]; }
    QLineEdit* field(int index) const { return text4_[index]; }
    QPushButton* confirm_button() const { return command1_[0]; }
    PetInfoFrame* pet_info() const { return pet_info_; }

signals:
    // An item was stored in the list the panel was opened for.
    void itemStored();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QWidget* build_fields();
    QWidget* build_forging();
    QWidget* build_cards();
    void render_choosers();
    void connect_controls();
    void confirm();

    ItemPanelPage& page_;
    QComboBox* combo11_;
    QListWidget* list5_;
    QLineEdit* text7_;
    QLineEdit* text4_[6];
    QComboBox* combo4_[3];
    QComboBox* combo2_[4];
    QGroupBox* frame3_1_;
    PetInfoFrame* pet_info_;
    QPushButton* command1_[2];
    bool rendering_ = false;
    // What the controls last showed, drawn or typed: redraws never read them back.
    std::vector<std::string> shown_choices_;
    std::vector<std::string> shown_forgers_;
    std::vector<std::string> shown_cards_;
    std::string shown_fields_[6];
};

}  // namespace tavo::ui
