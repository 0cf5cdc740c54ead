#pragma once
// The "MAPS" panel (Frame7): the map pick list of tavo.ini (List6), the target chooser (Combo8)
// and "Do it" (Command10), which put a map into memo points or the position boxes of the basic
// editor. It renders the maps frame of the pages.

#include <string>
#include <vector>

#include "ui/overlay_panel.h"

class QComboBox;
class QListWidget;
class QPushButton;

namespace tavo {
class MapsFrame;
}  // namespace tavo

namespace tavo::ui {

class MapsPanel : public OverlayPanel {
    Q_OBJECT
public:
    MapsPanel(MapsFrame& frame, QWidget* parent);

    // Draws the maps, the targets and the selections from the frame.
    void render();
    QListWidget* map_list() const { return list6_; }
    QComboBox* target_chooser() const { return combo8_; }
    QPushButton* do_it_button() const { return command10_; }

signals:
    // "Do it" was pressed; the window carries the map to its target.
    void doIt();

private:
    MapsFrame& frame_;
    QListWidget* list6_;
    QComboBox* combo8_;
    QPushButton* command10_;
    std::vector<std::string> shown_maps_;
    std::vector<std::string> shown_targets_;
    bool rendering_ = false;
};

}  // namespace tavo::ui
