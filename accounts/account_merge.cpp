#include "accounts/account_merge.h"

#include <algorithm>
#include <map>
#include <unordered_map>
#include <unordered_set>

#include "accounts/account_read.h"
#include "app/disk_guard.h"
#include "app/failure.h"
#include "app/file_stamp.h"
#include "app/text_file.h"
#include "app/ui.h"

namespace tavo {
namespace {

using Texts = std::unordered_map<std::int32_t, std::optional<std::string>>;

// The text of every account as Tavo last read or wrote it.
Texts texts_as_read(const AccountTable& table) {
    Texts read;
    if (table.image) {
        const std::string_view image = *table.image;
        std::size_t at = 0;
        while (at < image.size()) {
            std::size_t end = image.find('\n', at);
            if (end == std::string_view::npos) end = image.size();
            std::string_view line = image.substr(at, end - at);
            at = end + 1;
            if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
            const LineFields fields(line);
            if (line.starts_with("//") || fields.count < 7 || fields.field(1) == "%newid%") {
                continue;
            }
            try {
                read.emplace(AccountRecord::from_line(fields).account_id(), std::string(line));
            } catch (const Failure&) {
                // a line the table kept as it was: not an account
            }
        }
    }
    for (const auto& [id, text] : table.written) read[id] = text;
    return read;
}

std::string text_of(const AccountRecord& record, ServerGeneration generation) {
    return record.edited() ? account_line(record, generation) : std::string(record.line());
}

std::optional<std::string_view> view(const std::optional<std::string>& text) {
    return text ? std::optional<std::string_view>(*text) : std::nullopt;
}

class Rebase {
public:
    Rebase(const AppContext& app, Ui& ui, AccountTable& mine, AccountTable& disk)
        : app_(app), ui_(ui), mine_(mine), disk_(disk), read_(texts_as_read(mine)) {
        for (std::size_t i = 0; i < mine.records.size(); ++i) {
            index_.emplace(mine.records[i].account_id(), i);
        }
    }

    void run() {
        std::vector<std::size_t> moved_to(disk_.records.size() + 1, 0);
        for (std::size_t j = 0; j < disk_.records.size(); ++j) {
            moved_to[j] = merged_.size();
            take_disk_record(j);
        }
        for (std::size_t i = 0; i < mine_.records.size(); ++i) {
            if (!used_.count(i)) take_own_record(i);
        }
        give_new_ids();
        // The lines that end the file (its %newid% line among them) stay after the accounts
        // added here.
        moved_to[disk_.records.size()] = merged_.size();
        for (KeptLine& kept : disk_.kept_lines) kept.before = moved_to[kept.before];
        carry_unsaved_accounts();
        disk_.records = std::move(merged_);
        recompute_highest_ids(disk_);
        disk_.modified = true;
    }

private:
    void take_disk_record(std::size_t j) {
        AccountRecord& disk = disk_.records[j];
        const std::int32_t id = disk.account_id();
        const auto own = index_.find(id);
        const auto read = read_.find(id);
        if (own == index_.end() && read == read_.end()) {  // made by the other writer
            merged_.push_back(std::move(disk));
            return;
        }
        std::optional<std::string> mine;
        if (own != index_.end()) {
            used_.insert(own->second);
            mine = text_of(mine_.records[own->second], mine_.server_generation);
            if (read == read_.end()) {  // both made an account with this id: ours moves on
                renumber_.push_back(own->second);
                merged_.push_back(std::move(disk));
                return;
            }
        }
        const Side side =
            settle_record(ui_, app_.on_conflict, account_label(disk), view(read->second),
                          view(mine), std::string_view(disk.line()));
        if (side == Side::Disk) {
            merged_.push_back(std::move(disk));
        } else if (own != index_.end()) {
            merged_.push_back(mine_.records[own->second]);
        }
    }

    // An account of the table the file does not hold now.
    void take_own_record(std::size_t i) {
        const AccountRecord& record = mine_.records[i];
        const auto read = read_.find(record.account_id());
        if (read == read_.end() || !read->second) {  // made here: it is added
            merged_.push_back(record);
            return;
        }
        const std::string mine = text_of(record, mine_.server_generation);
        const Side side = settle_record(ui_, app_.on_conflict, account_label(record),
                                        view(read->second), mine, std::nullopt);
        if (side == Side::Mine) merged_.push_back(record);
    }

    void give_new_ids() {
        for (const std::size_t i : renumber_) {
            AccountRecord record = mine_.records[i];
            AccountFields fields = record.fields();
            const std::int32_t old_id = fields.account_id;
            // A GM account stays in the GM ids, below the players.
            const bool gm = is_gm_id(old_id);
            std::int32_t highest = gm ? kGmIdBase : kFirstPlayerId;
            for (const AccountRecord& r : merged_) {
                if (is_gm_id(r.account_id()) == gm) highest = std::max(highest, r.account_id());
            }
            // Nor below the file's %newid% counter.
            if (!gm) {
                const long long counter = std::min<long long>(disk_.newid.counter(), INT32_MAX);
                highest = std::max(highest, static_cast<std::int32_t>(counter) - 1);
            }
            fields.account_id = highest + 1;
            moved_ids_[old_id] = highest + 1;
            record.assign(std::move(fields));
            ui_.message("The new account " + std::string(record.userid()) + " takes the id " +
                            std::to_string(highest + 1) + ": another writer gave the id " +
                            std::to_string(old_id) + " to an account of its own meanwhile.",
                        "Tavo", Icon::Information);
            merged_.push_back(std::move(record));
        }
    }

    static bool is_gm_id(std::int32_t id) { return id > kLastServerId && id < kFirstPlayerId; }

    // The new accounts the file does not hold yet, under the ids they reach it with: their GM
    // lines are written with them.
    void carry_unsaved_accounts() {
        for (const auto& [id, level] : mine_.unsaved_accounts) {
            const auto moved = moved_ids_.find(id);
            disk_.unsaved_accounts[moved == moved_ids_.end() ? id : moved->second] = level;
        }
    }

    const AppContext& app_;
    Ui& ui_;
    AccountTable& mine_;
    AccountTable& disk_;
    Texts read_;
    std::unordered_map<std::int32_t, std::size_t> index_;
    std::unordered_set<std::size_t> used_;
    std::vector<std::size_t> renumber_;
    std::map<std::int32_t, std::int32_t> moved_ids_;
    std::vector<AccountRecord> merged_;
};

}  // namespace

std::string account_label(const AccountRecord& record) {
    return "Account " + std::to_string(record.account_id()) + " (" + std::string(record.userid()) +
           ")";
}

void rebase_accounts(const AppContext& app, Ui& ui, AccountTable& table) {
    const fs::path path = app.server_file(kAccountFile);
    if (!table.read_stamp || stamp_of(path) == table.read_stamp) return;
    AccountTable disk;
    disk.server_generation = table.server_generation;
    if (!has_content(path)) return;  // nothing on disk to keep: the table is written as it is
    if (!load_account(app, ui, disk)) {
        throw Failure(err::kPathFileAccess,
                      std::string(kAccountFile) + " changed on disk and could not be read again");
    }
    Rebase(app, ui, table, disk).run();
    table = std::move(disk);
}

void note_accounts_written(const AppContext& app, AccountTable& table) {
    table.read_stamp = stamp_of(app.server_file(kAccountFile));
    // A deleted account needs no note: the file no longer holds it, just as the table.
    for (const AccountRecord& record : table.records) {
        if (record.edited()) {
            table.written[record.account_id()] = text_of(record, table.server_generation);
        }
    }
}

}  // namespace tavo
