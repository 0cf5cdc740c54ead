#include "editors/character_editor.h"

#include "app/ui.h"
#include "characters/character_file.h"
#include "characters/profile.h"
#include "items/item_naming.h"
#include "refdata/weight.h"
#include "workspace/naming.h"
#include "workspace/workspace.h"

namespace tavo {

CharacterSheet character_sheet(Workspace& ws, Ui& ui, const std::string& group_separator) {
    const CharacterRecord& r = ws.characters.current;
    const ItemNaming naming = item_naming(ws, ui);
    const std::int32_t limit = ws.app.settings.maxinventory;
    CharacterSheet sheet;
    sheet.profile = show_char_profile(ws.app, ui, ws.ref, r, group_separator);
    sheet.inventory.caption = inventory_weight_caption(r.inventory.weight, r.inventory.max_weight,
                                                       r.inventory.count(), limit);
    sheet.cart.caption =
        cart_weight_caption(r.cart.weight, r.cart.max_weight, r.cart.count(), limit);
    for (const ItemSlot& item : r.inventory.items) {
        sheet.inventory.lines.push_back(equipped_item_line(naming, item));
    }
    for (const ItemSlot& item : r.cart.items)
        sheet.cart.lines.push_back(item_list_text(naming, item));
    return sheet;
}

CharacterEditor::CharacterEditor(Workspace& ws, Ui& ui) : ws_(ws), ui_(ui) {}

bool CharacterEditor::list(std::int32_t account_id) {
    const bool listed = load_char_list(ws_.app, ui_, ws_.ref, ws_.characters, account_id);
    entries_.clear();
    for (const std::string& text : ws_.characters.chooser) {
        entries_.push_back({char_id_of_entry(text), text});
    }
    chosen_.reset();
    sheet_.reset();
    unsaved_.set(false);
    if (entries_.empty()) return listed;
    if (!view_) view_ = CharacterView::Stats;
    chosen_ = 0;
    load_chosen();
    return listed;
}

bool CharacterEditor::may_discard(const std::string& question) {
    if (!unsaved_.get()) return true;
    if (!ui_.ask_yes_no(question, "Tavo")) return false;
    unsaved_.set(false);
    return true;
}

bool CharacterEditor::choose(std::size_t index) {
    // On No the record still holds the character with the pending changes, and so does the
    // choice, since saving finds the line by the chosen id.
    if (!may_discard(kDiscardCharacterQuestion)) return false;
    if (index >= entries_.size()) return false;
    chosen_ = index;
    return load_chosen();
}

bool CharacterEditor::load_chosen() {
    sheet_.reset();
    const std::string& id = entries_[*chosen_].id;
    if (!load_char_info(ws_.app, ui_, ws_.ref, ws_.characters, id)) {
        ui_.message("The character " + id +
                    " could not be read, so it is not shown and cannot be saved.");
        return false;
    }
    sheet_ = character_sheet(ws_, ui_, separator_);
    return true;
}

bool CharacterEditor::save() {
    if (!chosen_) return false;
    const bool saved = save_char(ws_.app, ui_, ws_.accounts.server_generation, ws_.characters,
                                 entries_[*chosen_].id);
    // A failed write keeps the changes pending, so that they are not lost unasked.
    if (!saved) return false;
    unsaved_.set(false);
    // The version on disk was kept: the page shows what the file holds.
    if (ws_.characters.read_line != character_line(ws_.characters.current)) load_chosen();
    return true;
}

}  // namespace tavo
