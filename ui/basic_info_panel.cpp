#include "ui/basic_info_panel.h"

#include <QComboBox>
#include <QFormLayout>

#include "ui/chooser_fill.h"

namespace tavo::ui {

BasicInfoPanel::BasicInfoPanel(QWidget* parent)
    : OverlayPanel("Edit Basic Character Info", "Frame6", parent) {
    combo7_ = new_chooser("Combo7");
    combo7_->setMinimumContentsLength(24);
    auto* layout = new QFormLayout(this);
    layout->addRow("Class", combo7_);
}

void BasicInfoPanel::set_job_classes(const std::vector<std::string>& entries) {
    fill_combo(combo7_, entries);
}

}  // namespace tavo::ui
