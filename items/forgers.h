#pragma once
// The forger chooser of the item panel: the characters that may have forged a weapon or made
// an item (blacksmiths, alchemists and their advanced classes, and every character of a GM
// account). An entry shows the character id minus 131072 between brackets, as the server's
// old item keys did; the entry carries the character id itself.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/file_stamp.h"
#include "characters/character_index.h"

namespace tavo {

struct AppContext;
class Ui;

inline constexpr std::int32_t kForgerKeyBase = 131072;

struct ForgerChoice {
    std::int32_t char_id = 0;  // 0 for "[00000] None"
    std::string text;
};

// "[18928] Hammerhand" for the character 150000.
std::string forger_entry(std::int32_t char_id, std::string_view name);
// Whether a class forges or brews: 10, 18, 4011 and 4019.
bool is_forging_class(std::int32_t class_id);

class ForgerList {
public:
    ForgerList();
    // load_forger: "[00000] None" and every eligible character of athena.txt, in file order.
    // A missing or empty file leaves only "None". False after a reported failure.
    bool load(const AppContext& app, Ui& ui, CachedIndex<CharacterIndex>& characters);
    // Loads again when athena.txt changed since the list was filled (the server may have made
    // or renamed a character). True when the list changed.
    bool refresh(const AppContext& app, Ui& ui, CachedIndex<CharacterIndex>& characters);

    const std::vector<ForgerChoice>& entries() const { return entries_; }
    // The line of a character, or -1.
    int line_of(std::int32_t char_id) const;
    // An entry for a character the list does not hold (a smith no longer eligible, or gone),
    // so that editing the item it made keeps its maker. Returns its line.
    int add_unlisted(std::int32_t char_id, std::string_view name);

private:
    std::vector<ForgerChoice> entries_;
    std::optional<FileStamp> stamp_;
    bool filled_ = false;
};

}  // namespace tavo
