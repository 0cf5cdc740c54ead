#include "workspace/wipe.h"

#include <ctime>
#include <memory>
#include <unordered_set>

#include "accounts/account_table.h"
#include "accounts/gm_levels.h"
#include "app/failure.h"
#include "app/file_batch.h"
#include "app/newid.h"
#include "app/numbers.h"
#include "app/text.h"
#include "app/text_file.h"
#include "app/ui.h"
#include "characters/character_index.h"
#include "characters/friends.h"
#include "characters/guild_party_pet.h"
#include "storage/storage_file.h"
#include "workspace/deletion.h"
#include "workspace/workspace.h"

namespace tavo {
namespace {

using IdSet = std::unordered_set<std::int32_t>;
// The account (or guild) a line belongs to, or nothing for a line of none.
using KeyOf = std::optional<std::int32_t> (*)(std::string_view line);

constexpr const char* kAthena = "save/athena.txt";
constexpr const char* kAccountRegisters = "save/accreg.txt";
constexpr const char* kGuildStorage = "save/g_storage.txt";

// The full wipe's files in the order they are emptied; account.txt last, castle.txt reset.
constexpr const char* kFullWipeFiles[] = {
    "save/storage.txt",   "save/pet.txt",     "save/party.txt",  "save/guild.txt",
    "save/g_storage.txt", "save/bank.txt",    "save/athena.txt", "save/accreg.txt",
    "save/mapreg.txt",    "save/friends.txt", "save/castle.txt", "save/account.txt"};

std::optional<std::int32_t> exact_id(double value) {
    if (!(value >= INT32_MIN && value <= INT32_MAX) || value != static_cast<std::int32_t>(value)) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(value);
}

std::optional<std::int32_t> account_of_account_line(std::string_view line) {
    if (line.starts_with("/") || newid_counter(line)) return std::nullopt;
    const std::string_view id = piece(line, '\t', 0);
    if (id.empty() || id.front() < '0' || id.front() > '9') return std::nullopt;
    return exact_id(leading_number(id));
}

// storage.txt and g_storage.txt: "id,count TAB items TAB".
std::optional<std::int32_t> owner_of_store_line(std::string_view line) {
    if (line.empty() || line.starts_with("/") || line.find('\t') == std::string_view::npos) {
        return std::nullopt;
    }
    return exact_id(leading_number(piece(piece(line, '\t', 0), ',', 0)));
}

std::optional<std::int32_t> account_of_register_line(std::string_view line) {
    if (line.empty() || line.starts_with("//")) return std::nullopt;
    return exact_id(leading_number(piece(line, '\t', 0)));
}

std::string_view account_text_of_character(std::string_view line) {
    return piece(piece(line, '\t', 1), ',', 0);
}

long long maxzeny_of(const Workspace& ws) {
    const double value = leading_number(ws.app.settings.maxzeny);
    return value > 0 ? static_cast<long long>(std::min(value, 4e18)) : 0;
}

// Reads a save file line by line with the progress window's count; a missing file has no lines.
template <class Each>
void each_line(const Workspace& ws, Progress& progress, std::string_view name, Each&& each) {
    const fs::path path = ws.app.server_file(name);
    if (is_missing(path)) return;
    LineReader in(path);
    long long count = 0;
    std::string_view line;
    while (in.next(line)) {
        progress.reading(++count);
        each(line);
    }
}

void plan_full(const Workspace& ws, Progress& progress, WipePlan& plan) {
    each_line(ws, progress, kAccountFile, [&](std::string_view line) {
        if (const auto id = account_of_account_line(line); id && line.find('\t') != line.npos) {
            plan.accounts.push_back(*id);
        }
    });
    each_line(ws, progress, kAthena, [&](std::string_view line) {
        if (const auto id = character_id_field(line)) {
            plan.characters.push_back(exact_id(leading_number(*id)).value_or(0));
        }
    });
    each_line(ws, progress, kStorageFile, [&](std::string_view line) {
        if (const auto id = owner_of_store_line(line)) plan.stores.push_back(*id);
    });
}

void plan_users(const Workspace& ws, Progress& progress, const UserRules& rules, const GmLevels& gm,
                WipePlan& plan) {
    IdSet accounts;
    each_line(ws, progress, kAccountFile, [&](std::string_view line) {
        if (!user_wipe_takes(line, rules, gm)) return;
        if (const auto id = account_of_account_line(line); id && accounts.insert(*id).second) {
            plan.accounts.push_back(*id);
        }
    });
    if (accounts.empty()) return;
    each_line(ws, progress, kAthena, [&](std::string_view line) {
        const auto id = character_id_field(line);
        if (!id) return;
        const auto account = exact_id(leading_number(account_text_of_character(line)));
        if (account && accounts.contains(*account)) {
            plan.characters.push_back(exact_id(leading_number(*id)).value_or(0));
        }
    });
    each_line(ws, progress, kStorageFile, [&](std::string_view line) {
        const auto owner = owner_of_store_line(line);
        if (owner && accounts.contains(*owner)) plan.stores.push_back(*owner);
    });
}

bool character_takes(std::string_view line, const WipeRequest& request, const GmLevels& gm) {
    if (request.spare_gm_chars && is_gm_account(account_text_of_character(line), gm)) {
        return false;
    }
    const auto family = family_of(leading_number(piece(piece(line, '\t', 3), ',', 0)));
    return family && request.families[static_cast<std::size_t>(*family)];
}

void plan_chars(const Workspace& ws, Progress& progress, const WipeRequest& request,
                const GmLevels& gm, WipePlan& plan) {
    each_line(ws, progress, kAthena, [&](std::string_view line) {
        const auto id = character_id_field(line);
        if (!id || !character_takes(line, request, gm)) return;
        if (const auto char_id = exact_id(leading_number(*id))) plan.characters.push_back(*char_id);
    });
}

void plan_items(const Workspace& ws, Progress& progress, const ItemRules& rules, const GmLevels& gm,
                WipePlan& plan) {
    const long long maxzeny = maxzeny_of(ws);
    if (rules.changes_characters()) {
        each_line(ws, progress, kAthena, [&](std::string_view line) {
            if (!character_id_field(line)) return;
            if (rules.spare_gm && is_gm_account(account_text_of_character(line), gm)) return;
            if (item_wiped_line(line, rules, maxzeny)) ++plan.changed_characters;
        });
    }
    if (rules.storage) {
        each_line(ws, progress, kStorageFile, [&](std::string_view line) {
            const auto owner = owner_of_store_line(line);
            if (!owner || (rules.spare_gm && is_gm_account(piece(line, ',', 0), gm))) return;
            plan.stores.push_back(*owner);
        });
    }
}

// The eggs a stage removes, as first met; another writer that changes them before the rename
// fails the wipe, whose pet releases were made without the change.
class Eggs {
public:
    void add(std::string_view items) {
        for (const std::int32_t pet : egg_pets(items)) now_.push_back(pet);
    }
    void settle() {
        if (first_ && *first_ != now_) {
            throw Failure(err::kPathFileAccess, "The items being wiped changed on disk meanwhile");
        }
        first_ = std::move(now_);
        now_.clear();
    }
    const std::vector<std::int32_t>& pets() const { return *first_; }
    bool made() const { return first_.has_value(); }

private:
    std::optional<std::vector<std::int32_t>> first_;
    std::vector<std::int32_t> now_;
};

// The file without the lines whose key is in `ids`; the items of those lines (field 1) go to
// the eggs when given. Every other line keeps its bytes and its break.
std::vector<std::int32_t> stage_without(const AppContext& app, FileBatch& batch,
                                        std::string_view name, KeyOf key_of,
                                        std::shared_ptr<const IdSet> ids, bool eggs) {
    const fs::path path = app.server_file(name);
    if (is_missing(path)) return {};
    auto held = std::make_shared<Eggs>();
    batch.add(path, std::string(name), [path, key_of, ids, eggs, held](AtomicWriter& out) {
        LineReader in(path);
        bool found = false;
        std::string_view line;
        while (in.next(line)) {
            const auto key = key_of(line);
            if (key && (!ids || ids->contains(*key))) {
                found = true;
                if (eggs) held->add(piece(line, '\t', 1));
                continue;
            }
            out.write_line(line, in.line_break());
        }
        held->settle();
        return found;
    });
    return held->made() ? held->pets() : std::vector<std::int32_t>{};
}

// The GM file without the entries of the accounts that go.
void stage_gm_entries(const AppContext& app, FileBatch& batch,
                      std::shared_ptr<const IdSet> accounts) {
    const fs::path path = app.server_file(kGmFile);
    if (is_missing(path)) return;
    batch.add(path, std::string(kGmFile), [path, accounts](AtomicWriter& out) {
        std::vector<std::string> lines = read_lines(path);
        const GmLevels gm = GmLevels::parse(lines);
        bool changed = false;
        for (const std::int32_t id : *accounts) {
            try {
                if (gm.level_of(id) == 0) continue;
            } catch (const Failure&) {
                // A line that names the account with a bad level still names it.
            }
            if (auto without = remove_gm_entry_lines(lines, id)) {
                lines = std::move(*without);
                changed = true;
            }
        }
        if (!changed) return false;
        for (const std::string& line : lines) out.write_line(line);
        return true;
    });
}

// The parties, guilds, castles and pets of the leaving characters and of the pets given (those
// of removed eggs), released all at once, and their friends lines: the same releases a single
// deletion makes, in one pass over each file for any number of characters.
void stage_wipe_releases(const Workspace& ws, Ui& ui, FileBatch& batch,
                         const std::vector<LeavingCharacter>& leaving,
                         const std::vector<std::int32_t>& pets) {
    std::vector<TieRelease> releases;
    releases.reserve(leaving.size() + pets.size());
    for (const LeavingCharacter& c : leaving) {
        releases.push_back(character_release(c.party_guild_pet, c.account_id, c.char_id));
        for (const std::int32_t pet : egg_pets(c.items))
            releases.push_back({0, 0, double(pet), 0, 0});
    }
    for (const std::int32_t pet : pets) releases.push_back({0, 0, double(pet), 0, 0});
    if (!releases.empty()) {
        CharacterTies ties = read_character_ties(ws.app);
        release_all(ties, releases);
        stage_character_ties(ws.app, ui, ties, batch);
    }
    const fs::path friends = ws.app.server_file("save/friends.txt");
    if (leaving.empty() || is_missing(friends)) return;
    std::vector<std::int32_t> ids;
    ids.reserve(leaving.size());
    for (const LeavingCharacter& c : leaving) ids.push_back(c.char_id);
    const AppContext& app = ws.app;
    batch.add(friends, "save/friends.txt",
              [&app, ids](AtomicWriter& out) { return write_friends_without(app, out, ids); });
}

void stage_full(const Workspace& ws, FileBatch& batch) {
    for (const char* name : kFullWipeFiles) {
        const bool castle = std::string_view(name) == "save/castle.txt";
        batch.add(ws.app.server_file(name), name, [castle](AtomicWriter& out) {
            for (int n = 0; castle && n < 20; ++n) {
                out.write_line(std::to_string(n) + ",0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0");
            }
            return true;
        });
    }
}

void stage_users(Workspace& ws, Ui& ui, FileBatch& batch, const WipePlan& plan) {
    auto accounts = std::make_shared<const IdSet>(plan.accounts.begin(), plan.accounts.end());
    if (accounts->empty()) return;
    LeavingSet leaving;
    for (const std::int32_t id : *accounts) leaving.add_account(id);
    const std::vector<LeavingCharacter> left = stage_leaving_characters(ws, batch, leaving);
    std::vector<std::int32_t> eggs =
        stage_without(ws.app, batch, kStorageFile, owner_of_store_line, accounts, true);
    stage_wipe_releases(ws, ui, batch, left, eggs);
    stage_without(ws.app, batch, kAccountRegisters, account_of_register_line, accounts, false);
    stage_gm_entries(ws.app, batch, accounts);
    // The accounts go last: their characters are never left behind them.
    stage_without(ws.app, batch, kAccountFile, account_of_account_line, accounts, false);
}

void stage_chars(Workspace& ws, Ui& ui, FileBatch& batch, const WipePlan& plan) {
    if (plan.characters.empty()) return;
    LeavingSet leaving;
    for (const std::int32_t id : plan.characters) leaving.add_character(id);
    stage_wipe_releases(ws, ui, batch, stage_leaving_characters(ws, batch, leaving), {});
}

// athena.txt with the item wipe's changes to the characters not spared.
std::vector<std::int32_t> stage_item_characters(const Workspace& ws, FileBatch& batch,
                                                const ItemRules& rules) {
    const fs::path path = ws.app.server_file(kAthena);
    if (!rules.changes_characters() || is_missing(path)) return {};
    auto held = std::make_shared<Eggs>();
    const long long maxzeny = maxzeny_of(ws);
    const AppContext& app = ws.app;
    batch.add(
        path, kAthena,
        [&app, path, rules, maxzeny, held](AtomicWriter& out) {
            const GmLevels gm = GmLevels::read(app);
            LineReader in(path);
            bool changed = false;
            std::string_view line;
            while (in.next(line)) {
                std::optional<std::string> wiped;
                if (character_id_field(line) &&
                    !(rules.spare_gm && is_gm_account(account_text_of_character(line), gm))) {
                    wiped = item_wiped_line(line, rules, maxzeny);
                }
                if (!wiped) {
                    out.write_line(line, in.line_break());
                    continue;
                }
                if (rules.inventory) held->add(piece(line, '\t', 15));
                if (rules.cart) held->add(piece(line, '\t', 16));
                out.write_line(*wiped, in.line_break());
                changed = true;
            }
            held->settle();
            return changed;
        },
        app.server_file("save/athena.bak.txt"));
    return held->made() ? held->pets() : std::vector<std::int32_t>{};
}

void stage_items(Workspace& ws, Ui& ui, FileBatch& batch, const WipeRequest& request,
                 const WipePlan& plan) {
    const ItemRules& rules = request.items;
    std::vector<std::int32_t> eggs = stage_item_characters(ws, batch, rules);
    const auto more = [&eggs](const std::vector<std::int32_t>& pets) {
        eggs.insert(eggs.end(), pets.begin(), pets.end());
    };
    if (rules.storage && !plan.stores.empty()) {
        auto stores = std::make_shared<const IdSet>(plan.stores.begin(), plan.stores.end());
        more(stage_without(ws.app, batch, kStorageFile, owner_of_store_line, stores, true));
    }
    if (rules.guild_storage) {
        more(stage_without(ws.app, batch, kGuildStorage, owner_of_store_line, nullptr, true));
    }
    if (!eggs.empty()) stage_wipe_releases(ws, ui, batch, {}, eggs);
}

std::string two_digits(int value) {
    return (value < 10 ? "0" : "") + std::to_string(value);
}

// save/backup-YYYYMMDD-HHMMSS, made anew; a second wipe within the second gets "-2" and on.
fs::path make_backup_folder(const AppContext& app) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    const std::string stamp = "backup-" + std::to_string(local.tm_year + 1900) +
                              two_digits(local.tm_mon + 1) + two_digits(local.tm_mday) + "-" +
                              two_digits(local.tm_hour) + two_digits(local.tm_min) +
                              two_digits(local.tm_sec);
    const fs::path save = app.server_file("save");
    for (int n = 1;; ++n) {
        const fs::path folder = save / (n == 1 ? stamp : stamp + "-" + std::to_string(n));
        std::error_code error;
        if (fs::create_directory(folder, error)) return folder;
        if (error) throw Failure(err::kPathFileAccess, "Cannot make " + file_shown(folder));
    }
}

// The name a file is known by in messages: "save/athena.txt", "conf/GM_account.txt".
std::string shown_name(const fs::path& target) {
    return target.parent_path().filename().string() + "/" + target.filename().string();
}

// Every write of the wipe passes here: the progress window shows how far it got and lets the
// window redraw between the blocks.
class WriteProgress {
public:
    WriteProgress(FileWriter& files, Ui& ui) : files_(files), saved_(files.calls().write) {
        files_.calls().write = [this, &ui](int fd, const char* data, std::size_t size) {
            const ssize_t written = saved_(fd, data, size);
            if (written > 0) total_ += static_cast<std::uint64_t>(written);
            if (ui.progress_due()) {
                ui.progress_set("Wiping: " + std::to_string(total_ >> 20) + " MB written");
            }
            return written;
        };
    }
    ~WriteProgress() { files_.calls().write = saved_; }
    WriteProgress(const WriteProgress&) = delete;
    WriteProgress& operator=(const WriteProgress&) = delete;

private:
    FileWriter& files_;
    WriteFn saved_;
    std::uint64_t total_ = 0;
};

}  // namespace

WipePlan plan_wipe(const Workspace& ws, Ui& ui, const WipeRequest& request) {
    WipePlan plan;
    plan.kind = request.kind;
    Progress progress(ui);
    const GmLevels gm = GmLevels::read(ws.app);
    switch (request.kind) {
        case WipeKind::Full: plan_full(ws, progress, plan); break;
        case WipeKind::Users: plan_users(ws, progress, request.users, gm, plan); break;
        case WipeKind::Chars: plan_chars(ws, progress, request, gm, plan); break;
        case WipeKind::Items: plan_items(ws, progress, request.items, gm, plan); break;
    }
    return plan;
}

std::string deleted_counts(const WipePlan& plan) {
    return std::to_string(plan.accounts.size()) + " accounts, " +
           std::to_string(plan.characters.size()) + " characters and " +
           std::to_string(plan.stores.size()) + " stores will be deleted.";
}

std::optional<std::string> run_wipe(Workspace& ws, Ui& ui, const WipeRequest& request,
                                    const WipePlan& plan, WipeDone& done) {
    Progress progress(ui);
    WriteProgress writes(ws.app.files, ui);
    FileBatch batch(ws.app.files);
    fs::path folder;
    std::optional<std::string> failed = commit_deletion(batch, [&] {
        switch (request.kind) {
            case WipeKind::Full: stage_full(ws, batch); break;
            case WipeKind::Users: stage_users(ws, ui, batch, plan); break;
            case WipeKind::Chars: stage_chars(ws, ui, batch, plan); break;
            case WipeKind::Items: stage_items(ws, ui, batch, request, plan); break;
        }
        const std::vector<fs::path> targets = batch.targets();
        if (targets.empty()) return;
        // Every new content is ready and no file has changed yet: the old ones are copied first.
        folder = make_backup_folder(ws.app);
        for (const fs::path& target : targets) {
            if (file_exists(target)) ws.app.files.copy(target, folder / target.filename());
        }
    });
    if (failed) {
        if (!folder.empty())
            *failed += " The files as they were are in " + shown_name(folder) + "/.";
        return failed;
    }
    done.backup_folder = folder;
    done.files.clear();
    for (const fs::path& target : batch.targets()) done.files.push_back(shown_name(target));
    return std::nullopt;
}

std::string wipe_done_message(const WipePlan& plan, const WipeDone& done) {
    std::string text;
    if (plan.kind == WipeKind::Full) {
        text = "The server wipe is done: every save file was emptied and the castle table reset (" +
               std::to_string(plan.accounts.size()) + " accounts, " +
               std::to_string(plan.characters.size()) + " characters and " +
               std::to_string(plan.stores.size()) + " stores deleted).";
    } else {
        text = "The wipe is done: " + std::to_string(plan.accounts.size()) + " accounts, " +
               std::to_string(plan.characters.size()) + " characters and " +
               std::to_string(plan.stores.size()) + " stores were deleted";
        if (plan.kind == WipeKind::Items) {
            text += ", " + std::to_string(plan.changed_characters) + " characters changed";
        }
        text += ".";
    }
    if (done.files.empty()) return text + "\r\nNo file needed a change.";
    text += "\r\nChanged: ";
    for (std::size_t i = 0; i < done.files.size(); ++i) {
        text += (i > 0 ? ", " : "") + done.files[i];
    }
    return text + ".\r\nThe files as they were are in " + shown_name(done.backup_folder) + "/.";
}

}  // namespace tavo
