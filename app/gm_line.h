#pragma once
// A line of conf/GM_account.txt as the server reads it: an account id or a range "low-high" /
// "low~high", then the level. The GM levels and the server check read it the same way.

#include <optional>
#include <string_view>

namespace tavo {

// The id field of an entry line: a single id, or a range written low-high or low~high.
struct IdField {
    std::string_view low;
    std::string_view high;  // empty for a single id
    char separator = 0;
    bool range() const { return !high.empty(); }
};

// An entry line as the server reads it: the id or range, blanks allowed around the range's
// separator ("704555 - 704556 30"), then the level. Runs of blanks separate the words.
struct GmEntryLine {
    IdField id;
    std::string_view ids;                   // the line's text of the id or range, blanks included
    std::optional<std::string_view> level;  // nothing when the line has none
    std::string_view rest;                  // what follows the level, its blank included
};
GmEntryLine read_gm_entry(std::string_view line);

}  // namespace tavo
