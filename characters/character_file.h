#pragma once
// save/athena.txt: the characters of the chosen account, the one current character loaded for
// editing, and writing it back.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/file_stamp.h"
#include "app/server_generation.h"
#include "characters/character_index.h"
#include "characters/character_record.h"

namespace tavo {

struct AppContext;
struct RefData;
class Ui;

// An entry of the character chooser: "ID: 150000, Slot: 0, Hero, <Swordman>" and the id it
// stands for, exactly as field 0 of the character's line has it.
struct CharacterChoice {
    std::string id;
    std::string text;
};

// The characters of the chosen account and the one current character.
struct CharacterState {
    std::vector<CharacterChoice> chooser;
    CharacterRecord current;
    // False while the current record is not one whole character (nothing loaded yet, or the
    // last load failed part-way): such a record must not be written back.
    bool loaded_cleanly = false;
    // The current character's line as read or last written: a save compares it with the line
    // on disk, so that another writer's change is not overwritten unasked.
    std::string read_line;
    // The last save found another writer's change and kept the version on disk.
    bool disk_version_kept = false;
    CachedIndex<CharacterIndex> index;
};

// "ID: " + id + ", Slot: " + slot + ", " + name + ", <" + job name + ">"
std::string chooser_entry(std::string_view id_text, std::string_view slot_text,
                          std::string_view name, std::string_view job_name);

// Lists the account's characters in the chooser (file order); the chooser is empty for a
// server account (id 0) or a missing or empty athena.txt. False after a failure (reported).
bool load_char_list(const AppContext& app, Ui& ui, const RefData& ref, CharacterState& state,
                    std::int32_t account_id);

// Loads the first character whose field 0 is exactly id_text into the current record. False
// when none was loaded; after a failure part-way loaded_cleanly is false.
bool load_char_info(const AppContext& app, Ui& ui, const RefData& ref, CharacterState& state,
                    std::string_view id_text);

// Writes the current record over the line of id_text (backup in save/athena.bak.txt); every
// other line stays as it is, a %newid% line too; for the ".52" and "1.0.0" generations a file
// without one gets one at the end. The inventory and the cart keep the items beyond
// maxinventory unless the user agrees to drop them (app/item_limit.h). A character another
// writer changed since it was read keeps the line on disk when Tavo did not change it, and is
// settled by the changed-on-disk guard when both did. True when written; read_line then holds
// what the file has.
bool save_char(const AppContext& app, Ui& ui, ServerGeneration server_generation,
               CharacterState& state, std::string_view id_text);

// The index of athena.txt, built anew only when the file changed.
const CharacterIndex& character_index(const AppContext& app, CharacterState& state);

// Whether another character than char_id has that name in athena.txt (exact, case-sensitive).
bool chk_char_name(const AppContext& app, CharacterState& state, std::int32_t char_id,
                   std::string_view name);

// The highest character id in athena.txt (0 when there is none).
std::int32_t hi_char_id(const AppContext& app, Ui& ui, CharacterState& state);

// A memo field with its points separated: "alpha,150,180beta,120,60" gives
// "alpha,150,180 beta,120,60".
std::string splitmemo(std::string_view memo);
bool is_alpha_code(int code);

}  // namespace tavo
