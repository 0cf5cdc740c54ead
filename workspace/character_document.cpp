#include "workspace/character_document.h"

#include "app/file_batch.h"
#include "app/numbers.h"
#include "app/settings.h"
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
    const auto held = held_.find(id);
    if (held == held_.end()) return load_char_info(app_, ui, ref_, state_, id);
    // The held version, compared at the batch's end with the line as it was read.
    if (!load_char_line(app_, ui, ref_, state_, held->second.line)) return false;
    state_.read_line = held->second.read_line;
    return true;
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
    if (batch_) {
        std::optional<CharacterChange> change = character_change(app_, ui, state_, id_);
        if (!change) return false;
        held_.insert_or_assign(id_, std::move(*change));
        modified_.set(false);
        state_.disk_version_kept = false;
        // What the batch writes: items beyond maxinventory that the user let go are gone.
        return load(ui, id_);
    }
    if (!save_char(app_, ui, generation, state_, id_)) return false;
    modified_.set(false);
    // The version on disk was kept: the document holds what the file has.
    if (state_.read_line != character_line(state_.current)) load(ui, id_);
    return true;
}

void CharacterDocument::start_batch() {
    batch_ = true;
    state_.lookup.read_lazily(false);
}

void CharacterDocument::stage_held(Ui& ui, FileBatch& files, ServerGeneration generation) {
    staged_.clear();
    for (auto& [id, change] : held_) staged_.push_back(change);
    const auto make = [this, &ui, generation](AtomicWriter& out) {
        write_characters(app_, ui, generation, staged_, out);
        return true;
    };
    files.add(app_.server_file("save/athena.txt"), "save/athena.txt", make,
              app_.server_file("save/athena.bak.txt"));
}

std::vector<std::string> CharacterDocument::held_written() {
    std::vector<std::string> kept;
    for (const CharacterChange& change : staged_) {
        if (change.written != change.line) kept.push_back(change.label);
    }
    held_.clear();
    staged_.clear();
    return kept;
}

}  // namespace tavo
