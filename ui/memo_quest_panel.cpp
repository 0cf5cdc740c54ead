#include "ui/memo_quest_panel.h"

#include <QComboBox>
#include <QFormLayout>

#include "refdata/job_classes.h"
#include "refdata/skills.h"
#include "ui/chooser_fill.h"
#include "ui/latin1.h"
#include "workspace/workspace.h"

namespace tavo::ui {

MemoQuestPanel::MemoQuestPanel(Workspace& ws, Ui& ui, QWidget* parent)
    : OverlayPanel("Add / Edit Memo Point / Quest", "Frame9", parent), ws_(ws), ui_(ui) {
    for (int index = 0; index < 3; ++index) {
        combo10_[index] = new_chooser(QString("Combo10_%1").arg(index));
        connect(combo10_[index], &QComboBox::currentIndexChanged, this,
                [this, index] { combo10_click(index); });
    }
    class_chooser()->setMinimumContentsLength(24);
    skill_chooser()->setMinimumContentsLength(32);
    auto* layout = new QFormLayout(this);
    layout->addRow("Class", class_chooser());
    layout->addRow("Skill", skill_chooser());
    layout->addRow("Level", level_chooser());
}

void MemoQuestPanel::set_job_classes() {
    if (!ws_.ref.jobs.listed) return;
    const std::vector<std::string> entries = class_chooser_entries(ws_.ref.jobs);
    fill_combo(class_chooser(), entries);
    // Each entry carries its class number, so that a choice is never read back from its text.
    for (std::size_t i = 0; i < entries.size(); ++i) {
        class_chooser()->setItemData(static_cast<int>(i), qs(class_number_of(entries[i])));
    }
    class_chooser()->setCurrentIndex(0);
}

void MemoQuestPanel::combo10_click(int index) {
    if (index == 2) class_chosen();
    if (index == 0) skill_chosen();
}

void MemoQuestPanel::class_chosen() {
    const int chosen = class_chooser()->currentIndex();
    fill_combo(skill_chooser(), {});
    if (chosen < 0) return;
    if (chosen == 0) {
        show_skills(all_skill_entries(ws_.ref.skills));
        return;
    }
    const std::string number = bytes(class_chooser()->currentData().toString());
    const ClassSkills skills = load_skills_by_class(ws_.app, ui_, ws_.ref.skills, number);
    if (!skills.available) {
        // Without class-skill.txt the skills cannot be narrowed: back to all of them, for good.
        class_chooser()->setCurrentIndex(0);
        class_chooser()->setEnabled(false);
        return;
    }
    show_skills(skills);
    if (skills.select_first) skill_chooser()->setCurrentIndex(0);
}

// Each entry carries the skill table entry it names; the levels are read from that.
void MemoQuestPanel::show_skills(const SkillChoices& skills) {
    fill_combo(skill_chooser(), skills.entries);
    for (std::size_t i = 0; i < skills.table_index.size(); ++i) {
        skill_chooser()->setItemData(static_cast<int>(i), skills.table_index[i]);
    }
}

void MemoQuestPanel::skill_chosen() {
    const QVariant entry = skill_chooser()->currentData();
    const std::vector<std::string> levels =
        level_entries(ws_.ref.skills, entry.isValid() ? entry.toInt() : -1);
    fill_combo(level_chooser(), levels);
    if (!levels.empty()) level_chooser()->setCurrentIndex(0);
}

}  // namespace tavo::ui
