#include "workspace/character_document.h"

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

bool CharacterDocument::save(Ui& ui, ServerGeneration generation) {
    if (!loaded()) return false;
    if (!save_char(app_, ui, generation, state_, id_)) return false;
    modified_.set(false);
    // The version on disk was kept: the document holds what the file has.
    if (state_.read_line != character_line(state_.current)) load(ui, id_);
    return true;
}

}  // namespace tavo
