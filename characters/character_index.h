#pragma once
// An index of save/athena.txt: where each character line starts, and what the chooser, the
// forger lookup and the highest id need of it. Built in one pass and kept until the file
// changes, so choosing another account of a large server does not read the file again.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tavo {

namespace fs = std::filesystem;

// A line with at least three TAB-separated fields, as the index keeps it. Its texts live in
// the index (see CharacterIndex::id_text and the rest), which keeps an entry small.
struct CharacterEntry {
    double account_id = 0;  // the number in the first value of field 1
    double char_id = 0;     // the number in field 0 (0 when it holds none)
    std::uint64_t offset = 0;
    std::uint32_t length = 0;  // without the line break
    std::uint32_t texts = 0;   // where its texts start in the index
    std::uint16_t id_length = 0, slot_length = 0, name_length = 0, class_length = 0;
};

class CharacterIndex {
public:
    static CharacterIndex build(const fs::path& athena);
    // An index of only the account's lines: what of_account of the whole file's index gives.
    static CharacterIndex build_of_account(const fs::path& athena, double account_id);

    const std::vector<CharacterEntry>& entries() const { return entries_; }
    // The account's characters in file order.
    std::vector<const CharacterEntry*> of_account(double account_id) const;
    // The first line whose field 0 is exactly id_text.
    const CharacterEntry* first_with_id_text(std::string_view id_text) const;
    // The first line whose field 0 holds the number char_id.
    const CharacterEntry* first_with_char_id(double char_id) const;
    double highest_char_id() const { return highest_; }

    std::string_view id_text(const CharacterEntry& e) const;     // field 0 as written
    std::string_view slot_text(const CharacterEntry& e) const;   // the second value of field 1
    std::string_view name(const CharacterEntry& e) const;        // field 2
    std::string_view class_text(const CharacterEntry& e) const;  // the first value of field 3

private:
    static CharacterIndex build_from(const fs::path& athena, const double* only_account);
    void add(std::string_view line, std::uint64_t offset, std::string_view (&fields)[4]);

    std::vector<CharacterEntry> entries_;
    std::string texts_;
    std::vector<std::pair<double, std::uint32_t>> by_account_;  // sorted (account, entry)
    std::vector<std::pair<double, std::uint32_t>> by_char_id_;  // sorted (char id, entry)
    double highest_ = 0;
};

// Field 0 of a character line; nothing for a line of fewer than three TAB-separated fields
// (a blank line, the %newid% line), which is never a character.
std::optional<std::string_view> character_id_field(std::string_view line);

// The text of one line at a known place of a file.
std::string read_line_at(const fs::path& path, std::uint64_t offset, std::uint32_t length);

}  // namespace tavo
