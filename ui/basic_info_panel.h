#pragma once
// The "Edit Basic Character Info" panel (Frame6): the job class list (Combo7) that the job
// class table fills at start-up.

#include <string>
#include <vector>

#include "ui/overlay_panel.h"

class QComboBox;

namespace tavo::ui {

class BasicInfoPanel : public OverlayPanel {
    Q_OBJECT
public:
    explicit BasicInfoPanel(QWidget* parent);

    void set_job_classes(const std::vector<std::string>& entries);
    QComboBox* class_list() const { return combo7_; }

private:
    QComboBox* combo7_;
};

}  // namespace tavo::ui
