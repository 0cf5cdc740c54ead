#include "ui/maps_panel.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "pages/maps_frame.h"
#include "ui/chooser_fill.h"

namespace tavo::ui {

MapsPanel::MapsPanel(MapsFrame& frame, QWidget* parent)
    : OverlayPanel("MAPS", "Frame7", parent), frame_(frame) {
    list6_ = new QListWidget;
    list6_->setObjectName("List6");
    list6_->setUniformItemSizes(true);
    list6_->setMinimumSize(260, 240);
    combo8_ = new QComboBox;
    combo8_->setObjectName("Combo8");
    command10_ = new QPushButton("Do it");
    command10_->setObjectName("Command10");
    set_default_button(command10_);
    auto* action = new QHBoxLayout;
    action->addWidget(combo8_, 1);
    action->addWidget(command10_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list6_);
    layout->addLayout(action);

    connect(list6_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!rendering_) frame_.select(row);
    });
    connect(list6_, &QListWidget::itemDoubleClicked, this, [this] { emit doIt(); });
    connect(combo8_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!rendering_) frame_.choose_target(index);
    });
    connect(command10_, &QPushButton::clicked, this, [this] { emit doIt(); });
}

void MapsPanel::render() {
    rendering_ = true;
    if (shown_maps_ != frame_.entries()) {
        shown_maps_ = frame_.entries();
        fill_list(list6_, shown_maps_);
    }
    list6_->setCurrentRow(frame_.selected());
    const std::vector<std::string> targets = frame_.target_texts();
    if (targets != shown_targets_) {
        shown_targets_ = targets;
        fill_combo(combo8_, targets);
    }
    combo8_->setCurrentIndex(frame_.target());
    rendering_ = false;
}

}  // namespace tavo::ui
