#pragma once
// Checks shared by the party, guild, pet and castle targets: a rewrite of one record leaves
// every other line of its file as it was read.

#include <optional>
#include <string>

#include "app/numbers.h"
#include "app/settings.h"
#include "app/text.h"
#include "fuzz/fuzz_support.h"

namespace tavo::fuzz {

// The id a save file line starts with, as the editor finds its records; nothing for a
// comment or an empty line.
inline std::optional<double> record_id(std::string_view line, char separator = '\t') {
    if (without_last_cr(line).empty() || line.front() == '/') return std::nullopt;
    return leading_number(piece(line, separator, 0));
}

// The lines of `after` are those of `before`, where every line of the record `id` may have
// been changed by `changed` (which checks it, without a last CR, which stays last) or, when
// `may_drop`, left out.
template <class Changed>
void only_record_changed(std::string_view before, std::string_view after, double id, bool may_drop,
                         Changed&& changed, char separator = '\t') {
    std::vector<std::string_view> old_lines = lines_of(before);
    std::vector<std::string_view> new_lines = lines_of(after);
    // Empty lines are left out of the comparison: a file ends the way it ended, so when every
    // line after an empty one goes, that empty line is left without its break, which is no line.
    for (auto* lines : {&old_lines, &new_lines}) {
        std::erase_if(*lines, [](std::string_view line) { return line.empty(); });
    }
    std::size_t n = 0;
    for (std::string_view old_line : old_lines) {
        if (record_id(old_line, separator) != id) {
            FUZZ_CHECK(n < new_lines.size() && new_lines[n] == old_line);
            ++n;
            continue;
        }
        if (n < new_lines.size() && record_id(new_lines[n], separator) == id &&
            old_line.ends_with('\r') == new_lines[n].ends_with('\r') &&
            changed(without_last_cr(old_line), without_last_cr(new_lines[n]))) {
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

// A record file holding the fuzzer's bytes and the id of its first record.
struct RecordFile {
    fs::path path;
    std::string_view input;
    std::int32_t id = 0;
};

// Writes the input as `file` of the server folder; nothing when no record has an id to pass on.
inline std::optional<RecordFile> put_record_file(const AppContext& app, const char* file,
                                                 std::string_view input) {
    // These checks split lines at LF, keeping a CR LF's CR; a CR alone also ends a line for the
    // editor (files written on old Macs), which the round-trip targets cover.
    for (std::size_t cr = input.find('\r'); cr != std::string_view::npos;
         cr = input.find('\r', cr + 1)) {
        if (cr + 1 == input.size() || input[cr + 1] != '\n') return std::nullopt;
    }
    const std::optional<std::int32_t> id = first_record_id(input);
    if (!id) return std::nullopt;
    RecordFile record{app.server_file(file), input, *id};
    put(record.path, input);
    return record;
}

// After the record was renamed (`saved`): only its lines changed, each as `renamed` accepts.
// A rename is refused only when no line holds the id as the editor passes it (an id such as
// "10.2" is not 10); the file then stays as it was. Returns the file as it is now.
template <class Renamed>
std::string check_renamed(const RecordFile& file, const std::optional<std::string>& saved,
                          Renamed&& renamed) {
    std::string after = get(file.path);
    // The record already bore the name: nothing to write.
    if (saved && *saved == "Renamed" && after == file.input) return after;
    if (!saved) {
        for (std::string_view line : lines_of(file.input)) FUZZ_CHECK(record_id(line) != file.id);
        FUZZ_CHECK(after == file.input);
        return after;
    }
    only_record_changed(file.input, after, file.id, false, renamed);
    return after;
}

// A party or guild line renamed "Renamed": its second field, nothing else.
inline bool name_field_renamed(std::string_view old_line, std::string_view line) {
    std::vector<std::string_view> a = split(old_line, '\t'), b = split(line, '\t');
    if (a.size() > 1) a[1] = "Renamed";
    return a == b;
}

// A member left: the record's lines keep their number of fields, or the record is gone.
inline void check_member_left(std::string_view before, const RecordFile& file) {
    only_record_changed(before, get(file.path), file.id, true,
                        [](std::string_view old_line, std::string_view line) {
                            return split(old_line, '\t').size() == split(line, '\t').size();
                        });
}

// The number in value `value` of field `field` of the record's first line, as the editor
// passes it on (a member's account or character).
inline std::optional<std::int32_t> first_member(const RecordFile& file, std::size_t field,
                                                std::size_t value) {
    for (std::string_view line : lines_of(file.input)) {
        if (record_id(line) == file.id) {
            return as_i32(leading_number(piece(piece(line, '\t', field), ',', value)));
        }
    }
    return as_i32(0);
}

}  // namespace tavo::fuzz
