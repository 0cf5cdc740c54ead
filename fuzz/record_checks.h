#pragma once
// Checks shared by the party, guild, pet and castle targets: a rewrite of one record leaves
// every other line of its file as it was read.

#include "app/numbers.h"
#include "app/text.h"
#include "fuzz/fuzz_support.h"

namespace tavo::fuzz {

// The id a save file line starts with, as the editor finds its records; nothing for a
// comment or an empty line.
inline std::optional<double> record_id(std::string_view line, char separator = '\t') {
    if (line.empty() || line.front() == '/') return std::nullopt;
    return leading_number(piece(line, separator, 0));
}

// The lines of `after` are those of `before`, where every line of the record `id` may have
// been changed by `changed` (which checks it) or, when `may_drop`, left out.
template <class Changed>
void only_record_changed(std::string_view before, std::string_view after, double id, bool may_drop,
                         Changed&& changed, char separator = '\t') {
    const std::vector<std::string_view> old_lines = lines_of(before);
    const std::vector<std::string_view> new_lines = lines_of(after);
    std::size_t n = 0;
    for (std::string_view old_line : old_lines) {
        if (record_id(old_line, separator) != id) {
            FUZZ_CHECK(n < new_lines.size() && new_lines[n] == old_line);
            ++n;
            continue;
        }
        if (n < new_lines.size() && record_id(new_lines[n], separator) == id &&
            changed(old_line, new_lines[n])) {
            ++n;
            continue;
        }
        FUZZ_CHECK(may_drop);
    }
    FUZZ_CHECK(n == new_lines.size());
}

// The first record's id as the editor passes it on: the 32-bit number of its first field.
inline std::optional<std::int32_t> first_record_id(std::string_view text, char separator = '\t') {
    for (std::string_view line : lines_of(text)) {
        if (auto id = record_id(line, separator)) return as_i32(*id);
    }
    return std::nullopt;
}

}  // namespace tavo::fuzz
