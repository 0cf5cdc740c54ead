#include "pages/char_profile_page.h"

#include "accounts/gm_levels.h"
#include "app/numbers.h"
#include "app/ui.h"
#include "characters/profile.h"
#include "workspace/deletion.h"
#include "workspace/workspace.h"

namespace tavo {

CharProfilePage::CharProfilePage(Workspace& ws, Ui& ui, ItemPanelPage& panel)
    : ws_(ws),
      ui_(ui),
      inventory_(ItemListKind::Inventory, ws.characters, ws.app.settings, panel, ui),
      cart_(ItemListKind::Cart, ws.characters, ws.app.settings, panel, ui) {}

const std::vector<CharacterChoice>& CharProfilePage::entries() const {
    return ws_.characters.choices();
}

bool CharProfilePage::list(std::int32_t account_id) {
    const bool listed = ws_.characters.list(ui_, account_id);
    account_ = account_id;
    chosen_.reset();
    profile_.clear();
    inventory_.reset();
    cart_.reset();
    if (entries().empty()) return listed;
    if (!view_) view_ = CharacterView::Stats;
    chosen_ = 0;
    show(entries().front().id, true);
    return listed;
}

void CharProfilePage::clear() {
    ws_.characters.clear();
    chosen_.reset();
    profile_.clear();
    inventory_.reset();
    cart_.reset();
}

CharacterOutcome CharProfilePage::choose(std::size_t index) {
    // On No the record still holds the character with the pending changes, and so does the
    // choice, since saving finds the line by the chosen id.
    if (!may_discard(kDiscardCharacterQuestion) || index >= entries().size()) return {};
    chosen_ = index;
    const bool done = show(entries()[index].id, true);
    return {done, true};
}

CharacterOutcome CharProfilePage::choose_id(const std::string& id) {
    const std::vector<CharacterChoice>& listed = entries();
    for (std::size_t i = 0; i < listed.size(); ++i) {
        if (listed[i].id != id) continue;
        if (chosen_ == i) return {true, false};
        return choose(i);
    }
    return {};
}

bool CharProfilePage::open(const std::string& id) {
    chosen_.reset();
    const bool read = show(id, false);
    if (read) account_ = ws_.characters.current().account_id;
    return read;
}

bool CharProfilePage::show(const std::string& id, bool tell) {
    profile_.clear();
    const bool read = ws_.characters.load(ui_, id);
    inventory_.reset();
    cart_.reset();
    if (!read) {
        if (tell) {
            ui_.message("The character " + id +
                        " could not be read, so it is not shown and cannot be saved.");
        }
        return false;
    }
    profile_ = show_char_profile(ws_.app, ui_, ws_.ref, ws_.characters.current(), separator_);
    return true;
}

bool CharProfilePage::shown() const {
    return ws_.characters.loaded();
}

void CharProfilePage::set_view(int index) {
    if (index >= 0 && index < static_cast<int>(kCharacterViews.size())) {
        view_ = static_cast<CharacterView>(index);
    }
}

void CharProfilePage::observe_modified(std::function<void(bool)> observer) {
    ws_.characters.observe_modified(std::move(observer));
}

bool CharProfilePage::save_offered() const {
    return ws_.characters.modified();
}

std::string CharProfilePage::why_save_not_offered() const {
    if (save_offered()) return {};
    if (!shown()) return "No character is shown: choose an account with characters.";
    return "Nothing to save: a change to the character, its inventory or its cart enables it.";
}

bool CharProfilePage::save() {
    const CharacterRecord& record = ws_.characters.current();
    const std::string who =
        "character " + std::to_string(record.char_id) + " (" + record.name + ")";
    if (!ws_.characters.save(ui_, ws_.accounts.generation(ui_))) {
        save_status_ = "Not saved: " + who + " keeps its unsaved changes.";
        return false;
    }
    save_status_ = ws_.characters.state().disk_version_kept
                       ? "Not saved: save/athena.txt keeps its own version of " + who + "."
                       : "Saved save/athena.txt: " + who;
    // The version on disk may have been kept: the page shows what the file holds.
    if (ws_.characters.loaded()) {
        profile_ = show_char_profile(ws_.app, ui_, ws_.ref, ws_.characters.current(), separator_);
    }
    inventory_.select(inventory_.selected());
    cart_.select(cart_.selected());
    return true;
}

void CharProfilePage::refresh_profile() {
    if (!ws_.characters.loaded()) return;
    profile_ = show_char_profile(ws_.app, ui_, ws_.ref, ws_.characters.current(), separator_);
}

bool CharProfilePage::offered(CharacterButton button) const {
    switch (button) {
        case CharacterButton::EditBasic:
        case CharacterButton::EditMemoSkillQuest: return shown();
        case CharacterButton::DeleteCharacter: return shown() || chosen_.has_value();
        case CharacterButton::DeleteAll: return count() > 0;
    }
    return false;
}

bool CharProfilePage::delete_characters(bool all, bool confirmed) {
    if (!offered(all ? CharacterButton::DeleteAll : CharacterButton::DeleteCharacter)) return false;
    const std::string id = chosen_ ? entries()[*chosen_].id : ws_.characters.id();
    const std::int32_t account = account_;
    if (!confirmed) {
        // A GM's account: by its id, or by a level in the GM file.
        if (std::to_string(account).starts_with("70") || read_gm_lvl(ws_.app, ui_, account) > 0) {
            ui_.message(kGmCharacterWarning, "Tavo", Icon::Critical);
        }
        if (!ui_.ask_yes_no("Are you sure?", "Tavo")) return false;
    }
    LeavingSet leaving;
    if (all) {
        leaving.add_account(account);
    } else {
        leaving.add_character(to_i32(leading_number(id)));
    }
    if (const std::optional<std::string> failed = delete_characters_files(ws_, ui_, leaving)) {
        ui_.message((all ? "The characters of account " + std::to_string(account) + " were"
                         : "The character " + id + " was") +
                        " not deleted: " + *failed,
                    "Tavo", Icon::Warning);
        return false;
    }
    // The account's view is built again from the files.
    list(account);
    return true;
}

bool CharProfilePage::may_discard(const std::string& question) {
    if (!ws_.characters.modified()) return true;
    if (!ui_.ask_yes_no(question, "Tavo")) return false;
    ws_.characters.discard();
    return true;
}

}  // namespace tavo
