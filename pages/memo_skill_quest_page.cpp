#include "pages/memo_skill_quest_page.h"

#include "app/numbers.h"
#include "app/text.h"
#include "app/ui.h"
#include "characters/character_lists.h"
#include "pages/maps_frame.h"
#include "refdata/job_classes.h"
#include "workspace/workspace.h"

namespace tavo {
namespace {

std::size_t index_of(CharList list) {
    return static_cast<std::size_t>(list);
}

CharList list_of(ListButton button) {
    const int index = static_cast<int>(button);
    if (index < 5) return CharList::Memo;
    return index < 10 ? CharList::Skills : CharList::Quest;
}

std::size_t add_limit(CharList list) {
    switch (list) {
        case CharList::Memo: return kMemoAddLimit;
        case CharList::Skills: return kSkillAddLimit;
        case CharList::Quest: return kQuestAddLimit;
    }
    return 0;
}

}  // namespace

MemoSkillQuestPage::MemoSkillQuestPage(Workspace& ws, Ui& ui, MapsFrame& maps)
    : ws_(ws), ui_(ui), maps_(maps) {}

void MemoSkillQuestPage::open() {
    if (!ws_.characters.loaded()) return;
    shown_ = true;
    opened_for_ = ws_.characters.id();
    selected_ = {-1, -1, -1};
    mode_ = FrameMode::Closed;
}

bool MemoSkillQuestPage::shown() const {
    return shown_ && ws_.characters.loaded() && ws_.characters.id() == opened_for_;
}

void MemoSkillQuestPage::close() {
    if (maps_.for_memo()) maps_.hide();
    shown_ = false;
    mode_ = FrameMode::Closed;
}

std::vector<std::string>& MemoSkillQuestPage::entries(CharList list) {
    CharacterRecord& record = ws_.characters.current();
    if (list == CharList::Memo) return record.memo;
    return list == CharList::Skills ? record.skills : record.regs;
}

const std::vector<std::string>& MemoSkillQuestPage::entries(CharList list) const {
    const CharacterRecord& record = ws_.characters.current();
    if (list == CharList::Memo) return record.memo;
    return list == CharList::Skills ? record.skills : record.regs;
}

std::vector<std::string> MemoSkillQuestPage::lines(CharList list) const {
    if (list != CharList::Skills) return entries(list);
    std::vector<std::string> texts;
    for (const std::string& entry : entries(list)) {
        texts.push_back(skill_list_text(ws_.ref.skills, entry));
    }
    return texts;
}

int MemoSkillQuestPage::selected(CharList list) const {
    const int index = selected_[index_of(list)];
    return index < static_cast<int>(entries(list).size()) ? index : -1;
}

void MemoSkillQuestPage::select(CharList list, int index) {
    selected_[index_of(list)] =
        index >= 0 && index < static_cast<int>(entries(list).size()) ? index : -1;
}

bool MemoSkillQuestPage::offered(ListButton button) const {
    if (!shown() || frame_open()) return false;
    const CharList list = list_of(button);
    const std::size_t count = entries(list).size();
    switch (button) {
        case ListButton::MemoAdd:
        case ListButton::SkillAdd:
        case ListButton::QuestAdd: return count < add_limit(list);
        case ListButton::ListMaps: return count > 0 || maps_.for_memo();
        default: return count > 0;
    }
}

std::string MemoSkillQuestPage::caption(ListButton button) const {
    switch (button) {
        case ListButton::MemoAdd:
        case ListButton::SkillAdd:
        case ListButton::QuestAdd: return "Add";
        case ListButton::MemoEdit:
        case ListButton::SkillEdit:
        case ListButton::QuestEdit: return "Edit";
        case ListButton::ListMaps: return maps_.for_memo() ? "Hide Maps" : "List Maps";
        default: return "Delete";
    }
}

bool MemoSkillQuestPage::press(ListButton button) {
    if (!offered(button)) return false;
    const CharList list = list_of(button);
    const bool chosen = selected(list) >= 0;
    switch (button) {
        case ListButton::MemoAdd: open_frame(FrameMode::AddMemo); return true;
        case ListButton::QuestAdd: open_frame(FrameMode::AddQuest); return true;
        case ListButton::SkillAdd: open_frame(FrameMode::AddSkill); return true;
        case ListButton::MemoEdit:
        case ListButton::QuestEdit:
            if (!chosen) return false;
            open_frame(list == CharList::Memo ? FrameMode::EditMemo : FrameMode::EditQuest);
            return true;
        case ListButton::SkillEdit:
            if (!chosen) return false;
            open_frame(FrameMode::EditSkill);
            return true;
        case ListButton::ListMaps:
            if (maps_.for_memo()) {
                maps_.hide();
            } else {
                maps_.show_for_memo();
            }
            return true;
        default: return chosen && remove(list);
    }
}

void MemoSkillQuestPage::open_frame(FrameMode mode) {
    mode_ = mode;
    text_.clear();
    switch (mode) {
        case FrameMode::EditMemo:
            text_ = entries(CharList::Memo)[static_cast<std::size_t>(selected(CharList::Memo))];
            break;
        case FrameMode::EditQuest:
            text_ = entries(CharList::Quest)[static_cast<std::size_t>(selected(CharList::Quest))];
            break;
        case FrameMode::AddSkill:
            if (skills_.entries.empty()) choose_class(class_ < 0 ? 0 : class_);
            select_skill_choice({});
            break;
        case FrameMode::EditSkill:
            choose_class(0);  // every skill, so that the entry's skill is found
            select_skill_choice(
                entries(CharList::Skills)[static_cast<std::size_t>(selected(CharList::Skills))]);
            break;
        default: break;
    }
}

std::string MemoSkillQuestPage::frame_caption() const {
    switch (mode_) {
        case FrameMode::AddMemo: return "Add Memo Point";
        case FrameMode::EditMemo: return "Edit Memo Point";
        case FrameMode::AddSkill: return "Add Skill";
        case FrameMode::EditSkill: return "Edit Skill";
        case FrameMode::AddQuest: return "Add Quest";
        case FrameMode::EditQuest: return "Edit Quest";
        case FrameMode::Closed: break;
    }
    return "Add / Edit Memo Point / Quest";
}

std::string MemoSkillQuestPage::prompt() const {
    switch (mode_) {
        case FrameMode::AddMemo:
        case FrameMode::EditMemo: return "map_name.gat,x,y";
        case FrameMode::AddSkill: return "Skill name [skill lvl]";
        case FrameMode::EditSkill: return "skill name [level]";
        case FrameMode::AddQuest:
        case FrameMode::EditQuest: return "Quest_Var,<value>";
        case FrameMode::Closed: break;
    }
    return {};
}

void MemoSkillQuestPage::prepare() {
    // Left as it was when the job classes could not be read.
    if (!ws_.ref.jobs.listed) {
        if (class_ < 0) choose_class(0);
        return;
    }
    classes_ = class_chooser_entries(ws_.ref.jobs);
    class_numbers_.clear();
    for (const std::string& entry : classes_) class_numbers_.push_back(class_number_of(entry));
    choose_class(0);
}

void MemoSkillQuestPage::choose_class(int index) {
    class_ = index >= 0 && index < static_cast<int>(classes_.size()) ? index : -1;
    skills_ = {};
    skill_ = -1;
    levels_.clear();
    level_ = -1;
    if (class_ < 0 && !classes_.empty()) return;
    if (class_ <= 0) {
        // Every skill: entry 0 of the class chooser, or no job classes read at all.
        skills_ = all_skill_entries(ws_.ref.skills);
        return;
    }
    const ClassSkills skills = load_skills_by_class(
        ws_.app, ui_, ws_.ref.skills, class_numbers_[static_cast<std::size_t>(class_)]);
    if (!skills.available) {
        // Without class-skill.txt the skills cannot be narrowed: back to all of them, for good.
        class_open_ = false;
        choose_class(0);
        return;
    }
    skills_ = skills;
    if (skills.select_first) choose_skill(0);
}

void MemoSkillQuestPage::choose_skill(int index) {
    skill_ = index >= 0 && index < static_cast<int>(skills_.entries.size()) ? index : -1;
    levels_ = skill_ < 0
                  ? std::vector<std::string>{}
                  : tavo::level_entries(ws_.ref.skills,
                                        skills_.table_index[static_cast<std::size_t>(skill_)]);
    level_ = levels_.empty() ? -1 : 0;
}

void MemoSkillQuestPage::choose_level(int index) {
    level_ = index >= 0 && index < static_cast<int>(levels_.size()) ? index : -1;
}

// The choosers preset from a skill entry ("005,10"), or for a new skill (an empty entry): the
// first skill of the chooser, level 0.
void MemoSkillQuestPage::select_skill_choice(const std::string& entry) {
    if (entry.empty()) {
        const bool all = !skills_.table_index.empty() && skills_.table_index.front() < 0;
        choose_skill(all && skills_.entries.size() > 1 ? 1 : 0);
        return;
    }
    const double id = leading_number(piece(entry, ',', 0));
    const double level = round_half_even(leading_number(piece(entry, ',', 1)));
    int found = -1;
    for (std::size_t i = 0; i < skills_.table_index.size() && found < 0; ++i) {
        const int table = skills_.table_index[i];
        if (table >= 0 && ws_.ref.skills.entries[static_cast<std::size_t>(table)].id == id) {
            found = static_cast<int>(i);
        }
    }
    choose_skill(found);
    if (found < 0) return;
    if (level >= 0 && level >= static_cast<double>(levels_.size()) && level <= 32767) {
        levels_.push_back(std::to_string(static_cast<int>(level)));
        level_ = static_cast<int>(levels_.size()) - 1;
        return;
    }
    choose_level(level >= 0 ? static_cast<int>(level) : -1);
}

std::string MemoSkillQuestPage::skill_text() const {
    return skill_ < 0 ? std::string() : skills_.entries[static_cast<std::size_t>(skill_)];
}

bool MemoSkillQuestPage::frame_ok() {
    if (!frame_open() || !shown()) return false;
    switch (mode_) {
        case FrameMode::AddMemo: return store_text(CharList::Memo, true);
        case FrameMode::EditMemo: return store_text(CharList::Memo, false);
        case FrameMode::AddQuest: return store_text(CharList::Quest, true);
        case FrameMode::EditQuest: return store_text(CharList::Quest, false);
        case FrameMode::AddSkill: return store_skill(true);
        case FrameMode::EditSkill: return store_skill(false);
        case FrameMode::Closed: break;
    }
    return false;
}

void MemoSkillQuestPage::frame_cancel() {
    text_.clear();
    mode_ = FrameMode::Closed;
}

// A memo point or a variable typed into the text box. The server cannot read anything but
// map,x,y and name,number there: it would refuse the whole character line.
bool MemoSkillQuestPage::store_text(CharList list, bool add) {
    const bool memo = list == CharList::Memo;
    if (const auto problem = memo ? memo_point_problem(text_) : variable_problem(text_)) {
        ui_.message(*problem, "Tavo");
        return false;
    }
    std::vector<std::string>& list_entries = entries(list);
    const int at = add ? -1 : selected(list);
    if (!add && at < 0) return false;
    if (!memo && is_quest_in_list(list_entries, text_, at)) {
        ui_.message(kQuestInList, "Tavo");
    } else if (add) {
        list_entries.push_back(text_);
        changed();
    } else {
        list_entries[static_cast<std::size_t>(at)] = text_;
        changed();
    }
    mode_ = FrameMode::Closed;
    return true;
}

bool MemoSkillQuestPage::store_skill(bool add) {
    const std::string chosen = skill_text();
    if (chosen.empty()) return false;  // nothing chosen: the frame stays open
    const int at = add ? -1 : selected(CharList::Skills);
    if (!add && at < 0) return false;
    mode_ = FrameMode::Closed;
    if (is_skill_in_list(lines(CharList::Skills), chosen, at)) {
        ui_.message(kSkillInList, "Tavo");
        return true;
    }
    // "[000] Skill not in list", or a skill without a level: nothing is stored.
    if (skills_.table_index[static_cast<std::size_t>(skill_)] < 0 || level_ < 0) return true;
    const std::size_t close = chosen.find(']');
    const std::string entry =
        chosen.substr(1, close - 1) + "," + levels_[static_cast<std::size_t>(level_)];
    std::vector<std::string>& skills = entries(CharList::Skills);
    if (add) {
        skills.push_back(entry);
    } else {
        skills[static_cast<std::size_t>(at)] = entry;
    }
    changed();
    return true;
}

bool MemoSkillQuestPage::remove(CharList list) {
    const int at = selected(list);
    if (at < 0 || !ui_.ask_yes_no("Are you sure?", "Tavo")) return false;
    std::vector<std::string>& list_entries = entries(list);
    list_entries.erase(list_entries.begin() + at);
    selected_[index_of(list)] = -1;
    if (list == CharList::Memo && list_entries.empty() && maps_.for_memo()) maps_.hide();
    changed();
    return true;
}

bool MemoSkillQuestPage::add_picked(const std::string& point) {
    if (!shown() || frame_open() || entries(CharList::Memo).size() >= kMemoPickLimit) return false;
    if (const auto problem = memo_point_problem(point)) {
        ui_.message(*problem, "Tavo");
        return false;
    }
    entries(CharList::Memo).push_back(point);
    changed();
    return true;
}

void MemoSkillQuestPage::changed() {
    ws_.characters.mark_modified();
}

}  // namespace tavo
