#pragma once
// The "MAPS" panel (Frame7): the map pick list of tavo.ini, which feeds memo points and the
// position fields of the character editor.

#include "refdata/maps.h"
#include "ui/overlay_panel.h"

class QListWidget;

namespace tavo::ui {

class MapsPanel : public OverlayPanel {
    Q_OBJECT
public:
    explicit MapsPanel(QWidget* parent);

    // load_maps's list: refilled, its first entry selected.
    void set_maps(const MapList& maps);
    QListWidget* map_list() const { return list6_; }

private:
    QListWidget* list6_;
};

}  // namespace tavo::ui
