#include "workspace/character_document.h"

#include "app/numbers.h"
#include "characters/profile.h"
#include "refdata/refdata.h"
#include "refdata/weight.h"

namespace tavo {

bool CharacterDocument::list(Ui& ui, std::int32_t account_id) {
    id_.clear();
    modified_.set(false);
    return load_char_list(app_, ui, ref_, state_, account_id);
}

bool CharacterDocument::load(Ui& ui, const std::string& id) {
    id_ = id;
    modified_.set(false);
    return load_char_info(app_, ui, ref_, state_, id);
}

void CharacterDocument::values_edited(Ui& ui) {
    CharacterRecord& record = state_.current;
    std::string skills;
    for (const std::string& skill : record.skills) skills += skill + " ";
    record.inventory.max_weight =
        compute_max_weight(ui, ref_.jobs, record.class_levels, record.stats, skills);
    modified_.set(true);
}

void CharacterDocument::rename_choice() {
    const CharacterRecord& record = state_.current;
    for (CharacterChoice& choice : state_.chooser) {
        if (choice.id != id_) continue;
        const std::int32_t job = as_i32(leading_number(record.class_levels)).value_or(0);
        choice.text = chooser_entry(choice.id, std::to_string(record.char_num), record.name,
                                    get_job_name(ref_.jobs, job));
    }
}

bool CharacterDocument::save(Ui& ui, ServerGeneration generation) {
    if (!loaded()) return false;
    if (!save_char(app_, ui, generation, state_, id_)) return false;
    modified_.set(false);
    // The version on disk was kept: the document holds what the file has.
    if (state_.read_line != character_line(state_.current)) load(ui, id_);
    return true;
}

}  // namespace tavo
