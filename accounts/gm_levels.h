#pragma once
// GM levels: conf/GM_account.txt maps an account id, or a range "low-high" / "low~high", to a
// level. Lines are "id level"; "//" lines are comments.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/failure.h"
#include "app/gm_line.h"
#include "app/settings.h"

namespace tavo {

class Ui;

inline constexpr std::string_view kGmFile = "conf/GM_account.txt";

// The entry lines of the GM file, read once, for many lookups (an account load asks for every
// account).
class GmLevels {
public:
    // Reads the file. A file that cannot be read is not an error here: the first lookup
    // reports it.
    static GmLevels read(const AppContext& app);
    static GmLevels parse(const std::vector<std::string>& lines);

    // The level of the first line that matches the id, 0 when none does. Fails when the file
    // could not be read or the matching line has no level or one outside 0 to 255.
    std::uint8_t level_of(std::int32_t account_id) const;
    bool readable() const { return !unreadable_; }

private:
    struct Entry {
        double low = 0;
        double high = 0;
        bool range = false;
        int level_error = 0;  // the failure of a missing or out-of-range level
        std::uint8_t level = 0;
    };
    std::vector<Entry> entries_;
    std::optional<Failure> unreadable_;
};

// The GM level of one account, reading the file anew. 0 when no line matches; a failure is
// reported ("in read_gm_lvl") and gives 0.
std::uint8_t read_gm_lvl(const AppContext& app, Ui& ui, std::int32_t account_id);

// Writes the level of one account into the GM file at once. Every line that matches the id
// gets the level: a single-id line is rewritten, and a range whose level differs is split into
// the ids below, the id itself and the ids above, each piece on its own line in that place, so
// that no other account's rights change. Without a matching line, "id level" is appended.
// Level 0 takes the id out instead: its line goes, or its piece of a range. Comments, empty
// lines and the other lines stay as they were; a file with nothing to change is not written.
// With `as_read`, a level another writer gave the account since Tavo read it is not overwritten
// unasked: it stays when Tavo's level is the one read, and the changed-on-disk guard settles it
// when both changed. Returns the account's level in the file afterwards, or nothing when a
// failure was reported ("in check_gm_id"); the file is then left as it was.
struct GmLevelAsRead {
    std::uint8_t level = 0;
    std::string label;  // "Account 704555 (gm1)"
};
std::optional<std::uint8_t> check_gm_id(const AppContext& app, Ui& ui, std::int32_t account_id,
                                        std::uint8_t level,
                                        const std::optional<GmLevelAsRead>& as_read = {});

// The lines of the GM file with the account's level set as check_gm_id sets it, settled with a
// level another writer gave meanwhile when `as_read` is given; `settled` receives the level
// the lines give the account.
std::vector<std::string> settle_gm_level_lines(const AppContext& app, Ui& ui,
                                               const std::vector<std::string>& lines,
                                               std::int32_t account_id, std::uint8_t level,
                                               const std::optional<GmLevelAsRead>& as_read,
                                               std::uint8_t& settled);

// The new lines of the GM file (without their breaks) for check_gm_id.
std::vector<std::string> set_gm_level_lines(const std::vector<std::string>& lines,
                                            std::int32_t account_id, std::uint8_t level);

// The new lines of the GM file without the account: its single-id line goes, a range that
// holds it is split around it, keeping its level for the ids on either side. Nothing when no
// line names the account (the file then stays as it is).
std::optional<std::vector<std::string>> remove_gm_entry_lines(const std::vector<std::string>& lines,
                                                              std::int32_t account_id);

}  // namespace tavo
