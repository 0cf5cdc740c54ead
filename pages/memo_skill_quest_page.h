#pragma once
// The "Memo/Skills/Quest" panel over the current character: its memo points, skills and quest
// variables with their buttons, and the "Add / Edit Memo Point / Quest" frame in its six modes
// with the text box and the class, skill and level choosers. Every change goes into the
// character document at once and reaches athena.txt with "Save to File". See pages/pages.h for
// how a page is used.

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "refdata/skills.h"

namespace tavo {

struct Workspace;
class MapsFrame;
class Ui;

enum class CharList { Memo, Skills, Quest };

// The panel's buttons (Command11), by their index.
enum class ListButton {
    MemoAdd = 0,
    MemoEdit = 1,
    MemoDelete = 2,
    ListMaps = 3,
    SkillAdd = 5,
    SkillEdit = 6,
    SkillDelete = 7,
    QuestAdd = 10,
    QuestEdit = 11,
    QuestDelete = 12,
};

// The frame's mode, which is its caption.
enum class FrameMode { Closed, AddMemo, EditMemo, AddSkill, EditSkill, AddQuest, EditQuest };

class MemoSkillQuestPage {
public:
    MemoSkillQuestPage(Workspace& ws, Ui& ui, MapsFrame& maps);

    // After the job classes are read: the class chooser filled, on every skill.
    void prepare();
    // "Edit Memo/Skill/Quest": the panel over the loaded character, nothing selected.
    void open();
    // Shown, over the character it was opened for.
    bool shown() const;
    // The panel's "Ok" and "Cancel" (Command12): both close it, with the maps frame it showed;
    // the edits stay in the character, for its next save.
    void ok() { close(); }
    void cancel() { close(); }
    void close();

    // The list's lines (List7, List8, List9) and the selected one (-1: none).
    std::vector<std::string> lines(CharList list) const;
    int selected(CharList list) const;
    void select(CharList list, int index);

    bool offered(ListButton button) const;
    // "List Maps" or "Hide Maps" for the maps button, the fixed caption for the others.
    std::string caption(ListButton button) const;
    // A button pressed; false when it did nothing.
    bool press(ListButton button);

    // The "Add / Edit Memo Point / Quest" frame. While it is open the account list and the tabs
    // are unavailable.
    FrameMode mode() const { return mode_; }
    bool frame_open() const { return mode_ != FrameMode::Closed; }
    std::string frame_caption() const;
    std::string prompt() const;
    // Skill modes show the three choosers instead of the text box.
    bool uses_choosers() const {
        return mode_ == FrameMode::AddSkill || mode_ == FrameMode::EditSkill;
    }
    const std::string& text() const { return text_; }
    void type_text(std::string text) { text_ = std::move(text); }

    // The class chooser (Combo10_2): "[9999] All Job Class", then the job classes. It is closed
    // for good when class-skill.txt cannot narrow the skills.
    const std::vector<std::string>& class_entries() const { return classes_; }
    int class_chosen() const { return class_; }
    bool class_chooser_open() const { return class_open_; }
    void choose_class(int index);
    // The skill chooser (Combo10_0), each entry with the skill table entry it names.
    const SkillChoices& skill_entries() const { return skills_; }
    int skill_chosen() const { return skill_; }
    void choose_skill(int index);
    // The level chooser (Combo10_1): "0" to the skill's max level; a stored level above it is
    // offered after them, so that editing the skill keeps it unless another is chosen.
    const std::vector<std::string>& level_entries() const { return levels_; }
    int level_chosen() const { return level_; }
    void choose_level(int index);

    // The frame's "Ok" (Command13 0): false when the frame stays open (nothing to store, or a
    // text the server could not read, said in a message).
    bool frame_ok();
    // The frame's "Cancel": the text emptied, the frame closed.
    void frame_cancel();

    // "Do it" for the memo list: the picked map (map,x,y) becomes a memo point while there are
    // fewer than three.
    bool add_picked(const std::string& point);

private:
    std::vector<std::string>& entries(CharList list);
    const std::vector<std::string>& entries(CharList list) const;
    void open_frame(FrameMode mode);
    void select_skill_choice(const std::string& entry);
    bool remove(CharList list);
    bool store_text(CharList list, bool add);
    bool store_skill(bool add);
    std::string skill_text() const;
    void changed();

    Workspace& ws_;
    Ui& ui_;
    MapsFrame& maps_;
    bool shown_ = false;
    std::string opened_for_;
    std::array<int, 3> selected_{-1, -1, -1};
    FrameMode mode_ = FrameMode::Closed;
    std::string text_;
    std::vector<std::string> classes_;
    std::vector<std::string> class_numbers_;
    int class_ = -1;
    bool class_open_ = true;
    SkillChoices skills_;
    int skill_ = -1;
    std::vector<std::string> levels_;
    int level_ = -1;
};

}  // namespace tavo
