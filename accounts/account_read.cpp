#include "accounts/account_read.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "accounts/gm_levels.h"
#include "app/failure.h"
#include "app/numbers.h"
#include "app/text.h"
#include "app/text_file.h"
#include "app/ui.h"

namespace tavo {
namespace {

// The most register items a record may hold; more means a line the server did not write.
constexpr std::size_t kMaxRegisters = 19;

// The LF bytes of the file, counted eight at a time (the table is sized once from it).
std::size_t count_line_breaks(std::string_view text) {
    constexpr std::uint64_t kBreaks = 0x0A0A0A0A0A0A0A0AULL;
    constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7FULL;
    std::size_t count = 0;
    std::size_t at = 0;
    for (; at + 8 <= text.size(); at += 8) {
        std::uint64_t chunk;
        std::memcpy(&chunk, text.data() + at, 8);
        const std::uint64_t x = chunk ^ kBreaks;
        const std::uint64_t breaks = ~(((x & kLow7) + kLow7) | x | kLow7);  // 0x80 per LF
        // The flags summed by one multiplication: no popcount instruction is assumed.
        count += static_cast<std::size_t>(((breaks >> 7) * 0x0101010101010101ULL) >> 56);
    }
    for (; at < text.size(); ++at) count += text[at] == '\n' ? 1 : 0;
    return count;
}

class Loader {
public:
    Loader(const AppContext& app, Ui& ui, AccountTable& table)
        : app_(app), ui_(ui), table_(table), progress_(ui) {}

    void read(std::string_view image) {
        BreakScanner breaks(image);
        std::size_t at = 0;
        while (at < image.size()) {
            const BreakScanner::Break found = breaks.find(at);
            const std::size_t line_end = std::min(found.at, image.size());
            ++line_number_;
            take(image.substr(at, line_end - at));
            progress_.reading(static_cast<long long>(table_.records.size()));
            at = line_end + found.length;
        }
    }

    void report_kept_lines() const {
        std::size_t count = 0;
        std::size_t first = 0;
        for (const KeptLine& line : table_.kept_lines) {
            if (line.comment) continue;
            if (count++ == 0) first = line.line_number;
        }
        if (count == 0) return;
        ui_.message(std::to_string(count) + " line(s) of " + std::string(kAccountFile) +
                        " could not be read as accounts, the first at line " +
                        std::to_string(first) +
                        ". They are not listed, and they are written back unchanged when the "
                        "file is saved.",
                    "Tavo", Icon::Warning);
    }

private:
    void take(std::string_view line) {
        if (line.empty() || line.starts_with("//")) {
            table_.has_header = table_.has_header || !line.empty();
            keep(line, true);
            return;
        }
        const LineFields fields(line);
        if (fields.count >= 2 && fields.field(1) == "%newid%") {
            if (table_.server_generation != ServerGeneration::V100) {
                table_.server_generation = ServerGeneration::V052;
            }
            // It stays in its place; a save may only raise it.
            if (fields.count < 7 && table_.newid.take(line)) {
                keep(line, true);
                table_.kept_lines.back().newid = true;
                return;
            }
        }
        std::optional<AccountRecord> read = account_of_line(fields);
        if (!read) {
            keep(line);
            return;
        }
        AccountRecord& record = *read;
        if (record.long_form()) table_.server_generation = ServerGeneration::V100;
        note_id(record);
        table_.records.push_back(std::move(record));
    }

    void keep(std::string_view line, bool comment = false) {
        table_.kept_lines.push_back(
            {table_.records.size(), std::string(line), line_number_, comment});
    }

    void note_id(AccountRecord& record) {
        const std::int32_t id = record.account_id();
        const bool gm_id = id > kLastServerId && id < kFirstPlayerId;
        if (id >= kFirstPlayerId) {
            if (id > table_.highest_player_id) table_.highest_player_id = id;
        } else if (gm_id) {
            if (id > table_.highest_gm_id) table_.highest_gm_id = id;
        }
        // The GM file may give any account a level, a player's too.
        record.set_gm_level(gm_level(id, gm_id));
    }

    // The GM file is read once, at the first account; a failure is reported once. A file that
    // cannot be read matters only to the accounts of the GM id range: a server without GM
    // accounts may lack it.
    std::uint8_t gm_level(std::int32_t id, bool gm_id) {
        if (!gm_) gm_ = GmLevels::read(app_);
        try {
            return gm_->level_of(id);
        } catch (const Failure& failure) {
            if (!gm_reported_ && (gm_id || gm_->readable())) {
                show_error_report(ui_, failure, "read_gm_lvl");
                gm_reported_ = true;
            }
            return 0;
        }
    }

    const AppContext& app_;
    Ui& ui_;
    AccountTable& table_;
    Progress progress_;
    std::optional<GmLevels> gm_;
    bool gm_reported_ = false;
    std::size_t line_number_ = 0;
};

// Only a file that is missing or of 0 bytes is a new one: anything else that cannot be read is
// a failure, never a reason to start from the default accounts.
void read_account_file(const AppContext& app, Ui& ui, AccountTable& table) {
    const fs::path path = app.server_file(kAccountFile);
    if (is_new_file(path)) {
        add_default_accounts(ui, table);
        table.modified = true;
        return;
    }
    table.read_stamp = stamp_of(path);  // before the read: a change meanwhile shows later
    auto image = std::make_shared<const std::string>(read_file(path));
    table.image = image;
    table.server_generation = ServerGeneration::V817;
    // One record per line at most: the table is sized once.
    table.records.reserve(count_line_breaks(*image) + 1);
    Loader loader(app, ui, table);
    loader.read(*image);
    loader.report_kept_lines();
}

}  // namespace

std::optional<AccountRecord> account_of_line(const LineFields& fields) {
    const bool record_shape =
        fields.count == 7 || fields.count == 8 || fields.count >= LineFields::kMost;
    if (!record_shape || fields.line.front() == '\t') return std::nullopt;
    try {
        AccountRecord record = AccountRecord::from_line(fields);
        // Either form: an edit writes a short line back in the long form, which must read again.
        if (record.reg_count() > kMaxRegisters) return std::nullopt;
        return record;
    } catch (const Failure&) {
        return std::nullopt;  // a number the server does not write (a state above 255, ...)
    }
}

bool load_account(const AppContext& app, Ui& ui, AccountTable& table) {
    const ServerGeneration generation = table.server_generation;
    table = AccountTable{};
    table.server_generation = generation;
    try {
        read_account_file(app, ui, table);
        table.load_state.set_whole();
        return true;
    } catch (...) {
        const Failure failure = failure_from_current_exception();
        table.load_state.set_failed(kAccountFile, failure);
        show_error_report(ui, failure, "load_account");
        return false;
    }
}

}  // namespace tavo
