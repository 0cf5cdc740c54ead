#pragma once
// The "Char Profile" page: the chosen account's characters as chooser entries with their ids,
// the chosen character, the view shown, the profile text, the inventory and cart lists, and
// "Save to File". It reads and changes the character document; tavo-cli drives the same page.
// See pages/pages.h for how a page is used.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "characters/character_file.h"
#include "pages/item_list_page.h"

namespace tavo {

struct Workspace;
class Ui;

// The three views of the view chooser (Combo6), in its order.
enum class CharacterView { Stats, Inventory, Cart };
inline constexpr std::array<const char*, 3> kCharacterViews{
    "View Stats & Status", "View Inventory items", "View Cart items"};

inline constexpr const char* kDiscardCharacterQuestion =
    "You have not save the modified character info, Do you want to discard changes";

// The row of buttons under the character chooser (Command6), in its order.
enum class CharacterButton { EditBasic, EditMemoSkillQuest, DeleteCharacter, DeleteAll };
inline constexpr std::array<const char*, 4> kCharacterButtons{"Edit Basic", "Edit Memo/Skill/Quest",
                                                              "Delete Character", "Del All Chars"};

inline constexpr const char* kGmCharacterWarning =
    "WARNING!!! This is a GM account... Please make sure that you REALLY WANTED to delete this.";

// What choosing a character did.
struct CharacterOutcome {
    bool done = false;   // the character asked for is the one shown (false: kept on No, or unread)
    bool shown = false;  // the profile and both lists are drawn again
};

class CharProfilePage {
public:
    CharProfilePage(Workspace& ws, Ui& ui, ItemPanelPage& panel);

    // Lists the account's characters and shows the first. False after a failure (reported);
    // the list then holds what was read, nothing of the account before. Unsaved work is
    // dropped: the window asks before it changes the account.
    bool list(std::int32_t account_id);
    // No account chosen: the page shows no character.
    void clear();
    const std::vector<CharacterChoice>& entries() const;
    std::size_t count() const { return entries().size(); }
    std::optional<std::size_t> chosen() const { return chosen_; }
    // The character and view choosers work while the account has characters.
    bool choosers_enabled() const { return count() > 0; }

    // Chooses the character at `index`. With unsaved changes the user is asked first; on No
    // the choice stays where it was. A character that cannot be read is reported, is not
    // shown and cannot be saved.
    CharacterOutcome choose(std::size_t index);
    // Chooses the listed character with that id (a click in a ranking); not done when the
    // account does not list it.
    CharacterOutcome choose_id(const std::string& id);
    // Shows the character with that id, of whatever account (tavo-cli names characters by id).
    // False when it cannot be read (a failure is reported; none when athena.txt is empty).
    bool open(const std::string& id);
    // Whether a character is shown: it was read whole.
    bool shown() const;
    // The profile of the character shown (CR LF lines); empty when none is.
    const std::string& profile() const { return profile_; }

    // No view is chosen until the first account with characters is listed.
    std::optional<CharacterView> view() const { return view_; }
    void set_view(int index);

    ItemListPage& inventory() { return inventory_; }
    ItemListPage& cart() { return cart_; }
    const ItemListPage& inventory() const { return inventory_; }
    const ItemListPage& cart() const { return cart_; }

    // The profile drawn anew after an edit of the character's values.
    void refresh_profile();

    // The buttons of the row work while the account has characters; the editors need the
    // chosen one read whole.
    bool offered(CharacterButton button) const;
    // "Delete Character" (the chosen one) or "Del All Chars" (every character of the account):
    // the GM warning for an account of the GM file or an id beginning with "70", then "Are you
    // sure?" (skipped when `confirmed`), then the characters go with their party and guild
    // places, pets and friends (workspace/deletion.h), and the account's characters are listed
    // again, the first shown. False on No, or when a file could not be written (said; no file
    // was changed then).
    bool delete_characters(bool all, bool confirmed = false);
    // The account whose characters are listed (or of the character opened by its id).
    std::int32_t account() const { return account_; }

    // The character document's modified flag.
    void observe_modified(std::function<void(bool)> observer);
    // "Save to File" is offered while the character has unsaved changes.
    bool save_offered() const;
    // Why "Save to File" is not offered (its tooltip); empty while it is.
    std::string why_save_not_offered() const;
    // Writes the character back; true when written. The page shows what the file then holds.
    bool save();
    // What the last save did, for the status bar: "Saved save/athena.txt: character 150000
    // (Kaelen)", or that nothing was written and the changes are still there.
    const std::string& save_status() const { return save_status_; }
    // Asks before unsaved work is thrown away: true when there is none or the user agrees (the
    // changes are then dropped).
    bool may_discard(const std::string& question);

    // The thousands separator of the zeny in the profile (the window's locale).
    void set_group_separator(std::string separator) { separator_ = std::move(separator); }

private:
    // Loads and shows the character; `tell`: a failure is also said in the page's words.
    bool show(const std::string& id, bool tell);

    Workspace& ws_;
    Ui& ui_;
    std::int32_t account_ = 0;
    std::optional<std::size_t> chosen_;
    std::optional<CharacterView> view_;
    std::string profile_;
    std::string save_status_;
    std::string separator_ = ",";
    ItemListPage inventory_;
    ItemListPage cart_;
};

}  // namespace tavo
