#pragma once
// The "Add / Edit Memo Point / Quest" panel (Frame9): the three linked skill choosers. The
// class chooser (Combo10_2) narrows the skill chooser (Combo10_0), and a skill fills the level
// chooser (Combo10_1).

#include "ui/overlay_panel.h"

class QComboBox;

namespace tavo {
struct SkillChoices;
struct Workspace;
class Ui;
}  // namespace tavo

namespace tavo::ui {

class MemoQuestPanel : public OverlayPanel {
    Q_OBJECT
public:
    MemoQuestPanel(Workspace& ws, Ui& ui, QWidget* parent);

    // After load_jobclass: the class chooser refilled and its entry 0 selected, which lists
    // every skill. Left as it was when the job classes could not be read.
    void set_job_classes();

    // The change handler of the three choosers: 2 the class, 0 the skill, 1 the level.
    void combo10_click(int index);

    QComboBox* class_chooser() const { return combo10_[2]; }
    QComboBox* skill_chooser() const { return combo10_[0]; }
    QComboBox* level_chooser() const { return combo10_[1]; }

private:
    void class_chosen();
    void skill_chosen();
    void show_skills(const SkillChoices& skills);

    Workspace& ws_;
    Ui& ui_;
    QComboBox* combo10_[3];
};

}  // namespace tavo::ui
