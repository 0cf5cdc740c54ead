#pragma once
// The "Add / Edit Memo Point / Quest" frame (Frame9): its caption names the pending action; the
// prompt (Label7) and the text box (Text8) serve memo points and quest variables, the class,
// skill and level choosers (Combo10_2, Combo10_0, Combo10_1) skills; "Ok" and "Cancel"
// (Command13_0, Command13_1). It renders the frame of the Memo/Skills/Quest page.

#include <string>
#include <vector>

#include "ui/overlay_panel.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace tavo {
class MemoSkillQuestPage;
}  // namespace tavo

namespace tavo::ui {

class MemoQuestPanel : public OverlayPanel {
    Q_OBJECT
public:
    MemoQuestPanel(MemoSkillQuestPage& page, QWidget* parent);

    void render();

    QComboBox* class_chooser() const { return combo10_[2]; }
    QComboBox* skill_chooser() const { return combo10_[0]; }
    QComboBox* level_chooser() const { return combo10_[1]; }
    QLineEdit* text_box() const { return text8_; }
    QPushButton* ok_button() const { return command13_[0]; }

signals:
    void changed();

private:
    void chosen(void (MemoSkillQuestPage::*choose)(int), int index);
    MemoSkillQuestPage& page_;
    QLabel* label7_;
    QLineEdit* text8_;
    QWidget* choosers_;
    QComboBox* combo10_[3];
    QPushButton* command13_[2];
    std::string shown_text_;
    std::vector<std::string> shown_classes_;
    std::vector<std::string> shown_skills_;
    std::vector<std::string> shown_levels_;
    bool rendering_ = false;
};

}  // namespace tavo::ui
