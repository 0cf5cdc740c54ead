#pragma once
// The current character as a document: the record with its inventory and cart, the chosen
// account's characters it is chosen from, its modified flag and its load and save.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/modified_flag.h"
#include "app/server_generation.h"
#include "characters/character_file.h"

namespace tavo {

struct AppContext;
struct RefData;
class Ui;

class CharacterDocument {
public:
    CharacterDocument(const AppContext& app, const RefData& ref) : app_(app), ref_(ref) {}
    CharacterDocument(const CharacterDocument&) = delete;
    CharacterDocument& operator=(const CharacterDocument&) = delete;

    CharacterState& state() { return state_; }
    const CharacterState& state() const { return state_; }
    CharacterRecord& current() { return state_.current; }
    const CharacterRecord& current() const { return state_.current; }

    // load_char_list: the account's characters, each with its id. Nothing is loaded afterwards
    // and unsaved changes are dropped (the window asks before it chooses another account).
    // False after a reported failure; the list then holds what was read.
    bool list(Ui& ui, std::int32_t account_id);
    const std::vector<CharacterChoice>& choices() const { return state_.chooser; }

    // load_char_info of the character with that id; unsaved changes are dropped. False when it
    // could not be read whole: it then cannot be saved.
    bool load(Ui& ui, const std::string& id);
    // The character last loaded (or tried); empty before the first.
    const std::string& id() const { return id_; }
    // A character was read whole and may be edited and saved.
    bool loaded() const { return state_.loaded_cleanly; }

    // The character differs from save/athena.txt.
    bool modified() const { return modified_.get(); }
    void observe_modified(std::function<void(bool)> observer) {
        modified_.observe(std::move(observer));
    }
    // An edit of the current character happened.
    void mark_modified() { modified_.set(true); }
    // An edit of the character's values (class, STR, skills): its carrying limit follows them.
    void values_edited(Ui& ui);
    // The chooser entry of the current character drawn anew after a rename or a class change.
    void rename_choice();
    // The user agreed to throw the changes away.
    void discard() { modified_.set(false); }

    // "Save to File": save_char of the loaded character. A failed write keeps the changes
    // pending; when the version on disk was kept, the character is read anew.
    bool save(Ui& ui, ServerGeneration generation);

private:
    const AppContext& app_;
    const RefData& ref_;
    CharacterState state_;
    std::string id_;
    ModifiedFlag modified_;
};

}  // namespace tavo
