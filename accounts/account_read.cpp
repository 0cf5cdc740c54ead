#include "accounts/account_read.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <exception>
#include <functional>
#include <utility>

#include "accounts/gm_levels.h"
#include "app/failure.h"
#include "app/numbers.h"
#include "app/run_together.h"
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

// Whether the first field of a line is an id in plain digits other than account_id.
bool other_id(std::string_view line, std::int32_t account_id) {
    const std::string_view first = line.substr(0, line.find('\t'));
    if (first.empty() || first.size() > 10) return false;
    std::int64_t id = 0;
    for (const char c : first) {
        if (c < '0' || c > '9') return false;
        id = id * 10 + (c - '0');
    }
    return id <= INT32_MAX && id != account_id;
}

// What the survey of one stretch of the file for a one-record edit learnt: its records that are
// the first of something there (the first record, the first of the id, the first of the name),
// and in `table` what a load learns of every line.
struct SurveyedStretch {
    AccountTable table;
    PartRead part;
    std::vector<std::string> lines;
    std::vector<std::uint8_t> levels;
    std::vector<unsigned> picks;
    std::optional<Failure> gm_failure;  // the first failure of the GM file a lookup met
    std::size_t line_count = 0;
    std::exception_ptr error;
};

class Loader {
public:
    Loader(const AppContext& app, Ui& ui, AccountTable& table) : app_(app), ui_(ui), table_(table) {
        progress_.emplace(ui);
    }
    // A loader of a stretch of the file, which may run on a thread of its own: it leaves the
    // Ui alone, and shares the GM levels read once for the whole file.
    Loader(const AppContext& app, Ui& ui, AccountTable& table, const GmLevels& gm_levels)
        : app_(app), ui_(ui), table_(table), gm_levels_(&gm_levels) {}

    // Reads lines until the generation is known: to the first account of the 1.0.0 form, or
    // to the end. Nothing is kept.
    void find_generation(const fs::path& path) {
        keep_ = false;
        LineReader reader(path);
        std::string_view line;
        while (table_.server_generation != ServerGeneration::V100 && reader.next(line)) {
            take(line);
        }
    }

    void read(std::string_view image) {
        BreakScanner breaks(image);
        std::size_t at = 0;
        while (at < image.size()) {
            const BreakScanner::Break found = breaks.find(at);
            const std::size_t line_end = std::min(found.at, image.size());
            ++line_number_;
            take(image.substr(at, line_end - at));
            progress_->reading(static_cast<long long>(table_.records.size()));
            at = line_end + found.length;
        }
    }

    // Reads lines up to the first record of the id. A line whose first field is another id in
    // plain digits, or a comment, cannot be that record: only its first field is looked at.
    void find(const fs::path& path, std::int32_t account_id) {
        LineReader reader(path);
        std::string_view line;
        while (reader.next(line)) {
            ++line_number_;
            if (line.empty() || line.starts_with("//") || other_id(line, account_id)) continue;
            // The record keeps a view of its line: the line is kept with the table.
            auto held = std::make_shared<const std::string>(line);
            const std::size_t records = table_.records.size();
            take(*held);
            if (table_.records.size() > records &&
                table_.records.back().account_id() == account_id) {
                table_.image = std::move(held);
                break;
            }
            table_.records.resize(records);
        }
        table_.kept_lines.clear();
    }

    // Reads the lines of the stretch [from, to) of the file as read() does, but only the records
    // `picks` names as the first of something go into the table (after the pass: their lines,
    // GM levels and picks are noted meanwhile, with their places). A failure to read the GM
    // file is noted in `stretch` instead of being reported.
    void survey(const fs::path& path, std::uint64_t from, std::uint64_t to,
                std::string_view line_end, std::function<unsigned(const AccountRecord&)> picks,
                SurveyedStretch& stretch) {
        picks_ = std::move(picks);
        gm_failure_ = &stretch.gm_failure;
        LineReader reader(path, from, to);
        std::string_view line;
        while (reader.next(line)) {
            ++line_number_;
            const std::string_view line_break = reader.line_break();
            if (!line_break.empty() && line_break != line_end) stretch.part.uniform_breaks = false;
            const std::size_t kept = table_.kept_lines.size();
            take(line);
            const PartRead::Place place{reader.line_offset(), line.size()};
            if (!table_.records.empty()) {
                stretch.lines.emplace_back(line);
                stretch.levels.push_back(table_.records.back().gm_level());
                stretch.picks.push_back(picked_);
                stretch.part.records.push_back(place);
                table_.records.clear();  // it views the reader's buffer
            }
            if (table_.kept_lines.size() > kept && table_.kept_lines.back().newid) {
                stretch.part.last_newid = place;
            }
        }
        stretch.line_count = line_number_;
    }

    static void report_kept_lines(Ui& ui, const AccountTable& table) {
        std::size_t count = 0;
        std::size_t first = 0;
        for (const KeptLine& line : table.kept_lines) {
            if (line.comment) continue;
            if (count++ == 0) first = line.line_number;
        }
        if (count == 0) return;
        ui.message(std::to_string(count) + " line(s) of " + std::string(kAccountFile) +
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
            if (!keep_) return;
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
        if (!keep_) return;
        note_id(record);
        if (picks_) {
            picked_ = picks_(record);
            if (picked_ == 0) return;
        }
        table_.records.push_back(std::move(record));
    }

    void keep(std::string_view line, bool comment = false) {
        if (!keep_) return;
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
        if (gm_levels_ == nullptr) gm_levels_ = &gm_.emplace(GmLevels::read(app_));
        try {
            return gm_levels_->level_of(id);
        } catch (const Failure& failure) {
            if (!gm_reported_ && (gm_id || gm_levels_->readable())) {
                if (gm_failure_ != nullptr) {
                    *gm_failure_ = failure;
                } else {
                    show_error_report(ui_, failure, "read_gm_lvl");
                }
                gm_reported_ = true;
            }
            return 0;
        }
    }

    const AppContext& app_;
    Ui& ui_;
    AccountTable& table_;
    std::optional<Progress> progress_;
    std::optional<GmLevels> gm_;
    const GmLevels* gm_levels_ = nullptr;  // gm_, or the levels the loaders of a file share
    bool gm_reported_ = false;
    std::optional<Failure>* gm_failure_ = nullptr;  // set: a GM failure is noted, not reported
    std::size_t line_number_ = 0;
    bool keep_ = true;  // the table takes the records and kept lines
    std::function<unsigned(const AccountRecord&)> picks_;  // set: the records the table takes
    unsigned picked_ = 0;                                  // what picks_ said of the last record
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
    Loader::report_kept_lines(ui, table);
}

}  // namespace

std::optional<AccountRecord> account_of_line(const LineFields& fields) {
    const bool record_shape =
        fields.count == 7 || fields.count == 8 || fields.count >= LineFields::kMost;
    if (!record_shape || fields.line.front() == '\t') return std::nullopt;
    try {
        AccountRecord record = AccountRecord::from_line(fields);
        // Either form: an edit writes a short line back in the long form, which must read again.
        // The registers follow the thirteenth TAB, or the seventh in the old form.
        const std::string_view regs = fields.field(record.long_form() ? LineFields::kMost - 1 : 7);
        if (register_item_count(without_last_cr(regs)) > kMaxRegisters) return std::nullopt;
        return record;
    } catch (const Failure&) {
        return std::nullopt;  // a number the server does not write (a state above 255, ...)
    }
}

namespace {

// Runs a read of the account file into the table: whole, or failed with the failure shown.
template <typename Read>
bool read_into(Ui& ui, AccountTable& table, Read&& read) {
    try {
        read();
        table.load_state.set_whole();
        return true;
    } catch (...) {
        const Failure failure = failure_from_current_exception();
        table.load_state.set_failed(kAccountFile, failure);
        show_error_report(ui, failure, "load_account");
        return false;
    }
}

}  // namespace

bool load_account(const AppContext& app, Ui& ui, AccountTable& table) {
    const ServerGeneration generation = table.server_generation;
    table = AccountTable{};
    table.server_generation = generation;
    return read_into(ui, table, [&] { read_account_file(app, ui, table); });
}

namespace {

// What a record is the first of in its stretch of the file.
constexpr unsigned kFirstRecord = 1;
constexpr unsigned kTheAccount = 2;
constexpr unsigned kTheName = 4;

// Surveys the file in stretches, the second half on a second thread for a large file.
std::vector<SurveyedStretch> survey_stretches(const AppContext& app, Ui& ui, const fs::path& path,
                                              std::int32_t account_id,
                                              const std::optional<std::string>& name,
                                              std::uint64_t split_from) {
    const std::uint64_t split = line_start_past_middle(path, split_from);
    std::vector<SurveyedStretch> stretches(split == 0 ? 1 : 2);
    const GmLevels gm_levels = GmLevels::read(app);
    const std::string_view line_end = line_end_of_file(path);
    const auto survey = [&](std::size_t index, std::uint64_t from, std::uint64_t to) {
        SurveyedStretch& stretch = stretches[index];
        try {
            stretch.table.server_generation = ServerGeneration::V817;
            bool first = true;
            bool account_found = false;
            bool name_found = !name.has_value();
            const auto picks = [&](const AccountRecord& record) {
                unsigned picked = std::exchange(first, false) ? kFirstRecord : 0;
                if (!account_found && record.account_id() == account_id) {
                    picked |= kTheAccount;
                    account_found = true;
                }
                if (!name_found && record.userid() == *name) {
                    picked |= kTheName;
                    name_found = true;
                }
                return picked;
            };
            Loader(app, ui, stretch.table, gm_levels)
                .survey(path, from, to, line_end, picks, stretch);
        } catch (...) {
            stretch.error = std::current_exception();
        }
    };
    if (split == 0) {
        survey(0, 0, UINT64_MAX);
    } else {
        run_together([&] { survey(1, split, UINT64_MAX); }, [&] { survey(0, 0, split); });
    }
    return stretches;
}

// The stretches as one survey of the whole file: the records the edit looks at (the first of
// each pick over the file), the kept lines numbered through, and what every line taught.
void merge_stretches(Ui& ui, std::vector<SurveyedStretch>& stretches, bool with_name,
                     AccountTable& table, PartRead& part, std::vector<std::string>& lines,
                     std::vector<std::uint8_t>& levels) {
    unsigned wanted = kFirstRecord | kTheAccount | (with_name ? kTheName : 0);
    std::size_t lines_before = 0;
    bool gm_reported = false;
    for (SurveyedStretch& stretch : stretches) {
        // The GM file is reported where the pass met it first, before a failure after it.
        if (stretch.gm_failure && !gm_reported) {
            show_error_report(ui, *stretch.gm_failure, "read_gm_lvl");
            gm_reported = true;
        }
        if (stretch.error) std::rethrow_exception(stretch.error);
        const AccountTable& read = stretch.table;
        for (std::size_t i = 0; i < stretch.lines.size(); ++i) {
            if ((stretch.picks[i] & wanted) != 0) {
                lines.push_back(std::move(stretch.lines[i]));
                levels.push_back(stretch.levels[i]);
                part.records.push_back(stretch.part.records[i]);
            }
            wanted &= ~stretch.picks[i];
        }
        for (const KeptLine& kept : read.kept_lines) {
            table.kept_lines.push_back(kept);
            table.kept_lines.back().line_number += lines_before;
            if (kept.newid) table.newid.take(kept.text);
        }
        lines_before += stretch.line_count;
        if (stretch.part.last_newid) part.last_newid = stretch.part.last_newid;
        part.uniform_breaks = part.uniform_breaks && stretch.part.uniform_breaks;
        table.has_header = table.has_header || read.has_header;
        if (read.server_generation == ServerGeneration::V100 ||
            (read.server_generation == ServerGeneration::V052 &&
             table.server_generation == ServerGeneration::V817)) {
            table.server_generation = read.server_generation;
        }
        table.highest_player_id = std::max(table.highest_player_id, read.highest_player_id);
        table.highest_gm_id = std::max(table.highest_gm_id, read.highest_gm_id);
    }
}

}  // namespace

bool load_for_one_edit(const AppContext& app, Ui& ui, std::int32_t account_id,
                       const std::optional<std::string>& name, AccountTable& table,
                       std::uint64_t split_from) {
    const fs::path path = app.server_file(kAccountFile);
    if (is_new_file(path)) return load_account(app, ui, table);
    table = AccountTable{};
    return read_into(ui, table, [&] {
        Progress progress(ui);
        table.read_stamp = stamp_of(path);  // before the read: a change meanwhile shows later
        table.server_generation = ServerGeneration::V817;
        auto part = std::make_shared<PartRead>();
        std::vector<std::string> lines;
        std::vector<std::uint8_t> levels;
        std::vector<SurveyedStretch> stretches =
            survey_stretches(app, ui, path, account_id, name, split_from);
        merge_stretches(ui, stretches, name.has_value(), table, *part, lines, levels);
        // The records view their lines in the table's image, one CR LF line each, as a save
        // onto a changed file reads the image.
        std::string image;
        for (const std::string& line : lines) image.append(line).append("\r\n");
        table.image = std::make_shared<const std::string>(std::move(image));
        std::size_t at = 0;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const std::string_view line =
                std::string_view(*table.image).substr(at, lines[i].size());
            at += lines[i].size() + 2;
            AccountRecord record = *account_of_line(LineFields(line));
            record.set_gm_level(levels[i]);
            table.records.push_back(std::move(record));
        }
        table.part = std::move(part);
        Loader::report_kept_lines(ui, table);
    });
}

ServerGeneration read_server_generation(const AppContext& app, Ui& ui) {
    const fs::path path = app.server_file(kAccountFile);
    if (is_new_file(path)) return ServerGeneration::Unknown;
    AccountTable table;
    table.server_generation = ServerGeneration::V817;
    Loader(app, ui, table).find_generation(path);
    return table.server_generation;
}

bool load_one_account(const AppContext& app, Ui& ui, std::int32_t account_id, AccountTable& table) {
    const fs::path path = app.server_file(kAccountFile);
    if (is_new_file(path)) return load_account(app, ui, table);
    table = AccountTable{};
    table.server_generation = ServerGeneration::V817;
    try {
        Loader(app, ui, table).find(path, account_id);
        return true;
    } catch (...) {
        const Failure failure = failure_from_current_exception();
        table.load_state.set_failed(kAccountFile, failure);
        show_error_report(ui, failure, "load_account");
        return false;
    }
}

}  // namespace tavo
