#include "accounts/gm_levels.h"

#include "app/disk_guard.h"
#include "app/file_batch.h"
#include "app/numbers.h"
#include "app/text.h"
#include "app/text_file.h"
#include "app/ui.h"

namespace tavo {
namespace {

// A line of blanks names no account, as the server reads it (not account 0).
bool is_entry_line(std::string_view line) {
    return line.find_first_not_of(" \t") != std::string_view::npos && !line.starts_with("//");
}

bool id_matches(const IdField& id, double account_id) {
    if (id.range()) {
        return leading_number(id.low) <= account_id && leading_number(id.high) >= account_id;
    }
    return leading_number(id.low) == account_id;
}

constexpr double kHighestLevel = 99;  // the server clamps higher levels to this

// The level of an entry line; fails when it is missing or below 0.
std::uint8_t level_field(const GmEntryLine& entry) {
    if (!entry.level) throw Failure(err::kSubscript);
    const double level = leading_number(*entry.level);
    return to_u8(level > kHighestLevel ? kHighestLevel : level);
}

// The ids low..high of a piece of a split range. The range's own bound keeps its text, so
// that a bound beyond the id range or with a fraction reads as before; a piece of one id is
// written as that id.
std::string piece_ids(std::string_view low, std::string_view high, char separator,
                      const std::string& single) {
    if (leading_number(low) == leading_number(high)) return single;
    std::string ids(low);
    ids += separator;
    ids += high;
    return ids;
}

std::string entry_line(std::string_view ids, std::uint8_t level, std::string_view rest = {}) {
    std::string line(ids);
    line += ' ';
    line += std::to_string(level);
    line += rest;
    return line;
}

// The pieces of a range line left when account_id leaves it, below and above the id, each
// followed by `level` (the level field and what follows it); `own`, the id's new line, between.
void push_range_without(std::vector<std::string>& out, const IdField& id, std::int32_t account_id,
                        std::string_view level, std::optional<std::string> own = {}) {
    const std::string below = std::to_string(account_id - 1LL);
    const std::string above = std::to_string(account_id + 1LL);
    const auto push = [&](std::string ids) { out.push_back(ids + ' ' + std::string(level)); };
    if (leading_number(id.low) <= account_id - 1.0) {
        push(piece_ids(id.low, below, id.separator, below));
    }
    if (own) out.push_back(std::move(*own));
    if (account_id + 1.0 <= leading_number(id.high)) {
        push(piece_ids(above, id.high, id.separator, above));
    }
}

}  // namespace

GmLevels GmLevels::read(const AppContext& app) {
    try {
        return parse(read_lines(app.server_file(kGmFile)));
    } catch (const Failure& failure) {
        GmLevels levels;
        levels.unreadable_ = failure;
        return levels;
    }
}

GmLevels GmLevels::parse(const std::vector<std::string>& lines) {
    GmLevels levels;
    for (const std::string& line : lines) {
        if (!is_entry_line(line)) continue;
        const GmEntryLine read = read_gm_entry(line);
        const IdField& id = read.id;
        Entry entry;
        entry.range = id.range();
        entry.low = leading_number(id.low);
        entry.high = id.range() ? leading_number(id.high) : entry.low;
        try {
            entry.level = level_field(read);
        } catch (const Failure& failure) {
            entry.level_error = failure.number();
        }
        levels.entries_.push_back(entry);
    }
    return levels;
}

std::uint8_t GmLevels::level_of(std::int32_t account_id) const {
    if (unreadable_) throw *unreadable_;
    const double id = account_id;
    for (const Entry& entry : entries_) {
        const bool match = entry.range ? entry.low <= id && entry.high >= id : entry.low == id;
        if (!match) continue;
        if (entry.level_error != 0) throw Failure(entry.level_error);
        return entry.level;
    }
    return 0;
}

std::uint8_t read_gm_lvl(const AppContext& app, Ui& ui, std::int32_t account_id) {
    std::uint8_t level = 0;
    guarded(ui, "read_gm_lvl", [&] {
        level = GmLevels::parse(read_lines(app.server_file(kGmFile))).level_of(account_id);
    });
    return level;
}

namespace {

// Copies the lines to out, all but those naming account_id, which go to `entry` (read by
// read_gm_entry) to write what they become. True when one named it.
template <class Entry>
bool rewrite_entries(const std::vector<std::string>& lines, std::int32_t account_id,
                     std::vector<std::string>& out, Entry&& entry) {
    out.reserve(lines.size() + 2);
    bool found = false;
    for (const std::string& line : lines) {
        const GmEntryLine read = is_entry_line(line) ? read_gm_entry(line) : GmEntryLine{};
        if (!is_entry_line(line) || !id_matches(read.id, account_id)) {
            out.push_back(line);
            continue;
        }
        found = true;
        entry(line, read);
    }
    return found;
}

// The level and what follows it on the line, for the pieces of a split range.
std::string level_and_rest(std::string_view level, const GmEntryLine& read) {
    return std::string(level) + std::string(read.rest);
}

}  // namespace

std::vector<std::string> set_gm_level_lines(const std::vector<std::string>& lines,
                                            std::int32_t account_id, std::uint8_t level) {
    // "-5 60" reads as the range 0 to 5: it would give the server accounts that level.
    if (account_id < 0) throw Failure(err::kInvalidCall);
    std::vector<std::string> out;
    const bool found = rewrite_entries(
        lines, account_id, out, [&](const std::string& line, const GmEntryLine& read) {
            if (!read.id.range()) {
                // Level 0 is no GM: the line goes, so the server no longer gives the rights.
                // The id keeps its text when it is plain digits; text the lookup took as this
                // id ("//80" as 0) is written as the number, or the line would turn a comment.
                const std::string_view low = read.id.low;
                const bool digits =
                    !low.empty() && low.find_first_not_of("0123456789") == std::string_view::npos;
                if (level != 0) {
                    out.push_back((digits ? std::string(low) : std::to_string(account_id)) + ' ' +
                                  level_and_rest(std::to_string(level), read));
                }
                return;
            }
            const std::uint8_t old_level = level_field(read);
            if (old_level == level) {
                out.push_back(line);
                return;
            }
            // The range keeps its level for every other account: only this id leaves it.
            std::optional<std::string> own;
            if (level != 0) own = entry_line(std::to_string(account_id), level);
            push_range_without(out, read.id, account_id,
                               level_and_rest(std::to_string(old_level), read), own);
        });
    if (!found && level != 0) {
        out.push_back(std::to_string(account_id) + ' ' + std::to_string(level));
    }
    return out;
}

std::optional<std::vector<std::string>> remove_gm_entry_lines(const std::vector<std::string>& lines,
                                                              std::int32_t account_id) {
    std::vector<std::string> out;
    const bool found =
        rewrite_entries(lines, account_id, out, [&](const std::string&, const GmEntryLine& read) {
            if (!read.id.range()) return;
            // The other ids of the range keep their level, written as the line wrote it.
            push_range_without(out, read.id, account_id,
                               level_and_rest(read.level.value_or(""), read));
        });
    if (!found) return std::nullopt;
    return out;
}

namespace {

// The level the guard lets reach the file: Tavo's, or the one another writer gave meanwhile.
std::uint8_t settled_level(const AppContext& app, Ui& ui, const std::vector<std::string>& lines,
                           std::int32_t account_id, std::uint8_t level,
                           const std::optional<GmLevelAsRead>& as_read) {
    if (!as_read) return level;
    std::uint8_t on_disk = 0;
    try {
        on_disk = GmLevels::parse(lines).level_of(account_id);
    } catch (const Failure&) {
        return level;  // a line without a readable level is rewritten as before
    }
    const std::string read = std::to_string(as_read->level);
    const std::string mine = std::to_string(level);
    const std::string disk = std::to_string(on_disk);
    std::string account = as_read->label;  // "Account 704555 (gm1)", within a sentence
    if (account.starts_with('A')) account[0] = 'a';
    const std::string label = "The GM level of " + account;
    const Side side = settle_record(ui, app.on_conflict, label, read, mine, disk);
    return side == Side::Disk ? on_disk : level;
}

}  // namespace

std::vector<std::string> settle_gm_level_lines(const AppContext& app, Ui& ui,
                                               const std::vector<std::string>& lines,
                                               std::int32_t account_id, std::uint8_t level,
                                               const std::optional<GmLevelAsRead>& as_read,
                                               std::uint8_t& settled) {
    settled = settled_level(app, ui, lines, account_id, level, as_read);
    return set_gm_level_lines(lines, account_id, settled);
}

std::optional<std::uint8_t> check_gm_id(const AppContext& app, Ui& ui, std::int32_t account_id,
                                        std::uint8_t level,
                                        const std::optional<GmLevelAsRead>& as_read) {
    std::optional<std::uint8_t> result;
    guarded(ui, "check_gm_id", [&] {
        const fs::path path = app.server_file(kGmFile);
        std::uint8_t settled = level;
        // Made from the file on disk, again when another writer changes it before the rename.
        rewrite_from_disk(app.files, path, [&](AtomicWriter& out) {
            const std::vector<std::string> before = read_lines(path);
            const std::vector<std::string> lines =
                settle_gm_level_lines(app, ui, before, account_id, level, as_read, settled);
            if (lines == before && file_exists(path)) return false;
            for (const std::string& line : lines) out.write_line(line);
            return true;
        });
        result = settled;
    });
    return result;
}

}  // namespace tavo
