#pragma once
// How the characters of save/athena.txt are found. The window and a batch build the index of the
// file once and keep it while the file is unchanged. A single tavo-cli command reads lazily
// instead: a lookup reads the file up to the line it needs and no further, and only a question
// about the whole file (the forger list, finding accounts by a character's name, the highest id)
// builds the index. Both ways give the same answers.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/file_stamp.h"
#include "characters/character_index.h"

namespace tavo {

class CharacterScan;

class CharacterLookup {
public:
    CharacterLookup();
    ~CharacterLookup();
    CharacterLookup(CharacterLookup&&) noexcept;
    CharacterLookup& operator=(CharacterLookup&&) noexcept;

    void read_lazily(bool lazy) { lazy_ = lazy; }
    bool lazy() const { return lazy_; }

    // The index of the whole file, built again when the file changed since.
    const CharacterIndex& index(const fs::path& athena);
    // An index that holds the account's characters: the whole file's, or, read lazily, one of
    // only them (one pass over the file).
    const CharacterIndex& of_account(const fs::path& athena, double account_id);
    // The first line whose field 0 is exactly id_text; nothing when there is none.
    std::optional<std::string> line_with_id(const fs::path& athena, std::string_view id_text);
    // The name of the first line whose field 0 holds the number char_id; nothing when none does.
    std::optional<std::string> name_of(const fs::path& athena, std::int32_t char_id);
    // Looks up the names of several characters together, so that read lazily they take one
    // pass at most; name_of then answers for them at once.
    void find_names(const fs::path& athena, const std::vector<std::int32_t>& char_ids);

private:
    CharacterScan& scan(const fs::path& athena);

    bool lazy_ = false;
    CachedIndex<CharacterIndex> index_;
    CachedIndex<CharacterIndex> account_;  // read lazily: the characters of account_id_
    double account_id_ = 0;
    std::unique_ptr<CharacterScan> scan_;  // read lazily: how far the file was read
};

}  // namespace tavo
