#pragma once
// The "Char Profile" page without its widgets: the chosen account's characters as chooser
// entries with their ids, the chosen character, the view shown, the texts of the profile and the
// two item lists with their captions, and the character's unsaved flag. The tab renders it;
// tavo-cli prints the same texts. See editors/account_editor.h for how a page uses an editor.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/unsaved_flag.h"

namespace tavo {

struct Workspace;
class Ui;

// An entry of the character chooser: "ID: 150000, Slot: 0, Hero, <Swordman>" and its id.
struct CharacterChoice {
    std::string id;
    std::string text;
};

// The three views of the view chooser (Combo6), in its order.
enum class CharacterView { Stats, Inventory, Cart };

struct ItemListText {
    std::string caption;
    std::vector<std::string> lines;
};

// What the page shows of the current character.
struct CharacterSheet {
    std::string profile;  // CR LF lines
    ItemListText inventory;
    ItemListText cart;
};

// Builds the sheet of the workspace's current character. `group_separator` separates the
// thousands of the zeny.
CharacterSheet character_sheet(Workspace& ws, Ui& ui, const std::string& group_separator);

class CharacterEditor {
public:
    CharacterEditor(Workspace& ws, Ui& ui);

    // Lists the account's characters and chooses the first. False after a failure (reported);
    // the list then holds what was read, nothing of the account before. Unsaved work is
    // dropped: the window asks before it changes the account.
    bool list(std::int32_t account_id);
    const std::vector<CharacterChoice>& entries() const { return entries_; }
    std::size_t count() const { return entries_.size(); }
    std::optional<std::size_t> chosen() const { return chosen_; }
    // The sheet of the chosen character, when it could be read.
    const std::optional<CharacterSheet>& sheet() const { return sheet_; }

    // Chooses the character at `index`. With unsaved changes the user is asked first; on No
    // the choice stays where it was and false is returned. A character that cannot be read
    // is reported, is not shown and cannot be saved.
    bool choose(std::size_t index);
    // Asks before unsaved work is thrown away: true when there is none or the user agrees
    // (the flag is then cleared).
    bool may_discard(const std::string& question);

    // No view is chosen until the first account with characters is listed.
    std::optional<CharacterView> view() const { return view_; }
    void set_view(CharacterView view) { view_ = view; }

    UnsavedFlag& unsaved() { return unsaved_; }
    // An edit of the current character happened.
    void mark_changed() { unsaved_.set(true); }
    // Writes the chosen character back; true when written.
    bool save();

    // The thousands separator of the zeny in the profile (the window's locale).
    void set_group_separator(std::string separator) { separator_ = std::move(separator); }

private:
    bool load_chosen();

    Workspace& ws_;
    Ui& ui_;
    std::vector<CharacterChoice> entries_;
    std::optional<std::size_t> chosen_;
    std::optional<CharacterSheet> sheet_;
    std::optional<CharacterView> view_;
    UnsavedFlag unsaved_;
    std::string separator_ = ",";
};

inline constexpr const char* kDiscardCharacterQuestion =
    "You have not save the modified character info, Do you want to discard changes";

}  // namespace tavo
