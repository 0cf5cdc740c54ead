#include "ui/maps_panel.h"

#include <QListWidget>
#include <QVBoxLayout>

#include "ui/chooser_fill.h"

namespace tavo::ui {

MapsPanel::MapsPanel(QWidget* parent) : OverlayPanel("MAPS", "Frame7", parent) {
    list6_ = new QListWidget;
    list6_->setObjectName("List6");
    list6_->setUniformItemSizes(true);
    list6_->setMinimumSize(260, 240);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list6_);
}

void MapsPanel::set_maps(const MapList& maps) {
    fill_list(list6_, maps);
    if (!maps.empty()) list6_->setCurrentRow(0);
}

}  // namespace tavo::ui
