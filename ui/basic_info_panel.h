#pragma once
// The "Edit Basic Character Info" panel (Frame6). It renders the basic info page: the boxes
// Text3_0 .. Text3_30 (the HP, SP, id and slot boxes locked), the class list (Combo7), the note
// on map names and the buttons "Ok", "Cancel" and "List Maps" / "Hide List" (Command9_0 ..
// Command9_2). Typing and clicks go to the page; the panel draws again.

#include <array>
#include <string>
#include <vector>

#include "pages/basic_info_page.h"
#include "ui/overlay_panel.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace tavo::ui {

class BasicInfoPanel : public OverlayPanel {
    Q_OBJECT
public:
    BasicInfoPanel(BasicInfoPage& page, QWidget* parent);

    // Draws every box, the class list and the maps button from the page; shown while the page
    // is open.
    void render();
    QComboBox* class_list() const { return combo7_; }
    QLineEdit* box(BasicBox box) const { return text3_[static_cast<std::size_t>(box)]; }
    QPushButton* button(int index) const { return command9_[index]; }

signals:
    // A press changed the page (or the maps frame): the window draws its panels again.
    void changed();

private:
    QLineEdit* make_box(BasicBox box);
    QWidget* build_boxes();

    BasicInfoPage& page_;
    std::array<QLineEdit*, kBasicBoxCount> text3_{};
    std::array<std::string, kBasicBoxCount> shown_;
    QComboBox* combo7_;
    std::vector<std::string> shown_classes_;
    QPushButton* command9_[3];
    bool rendering_ = false;
};

}  // namespace tavo::ui
