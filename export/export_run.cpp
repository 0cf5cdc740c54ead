#include "export/export_run.h"

#include <algorithm>
#include <charconv>
#include <stdexcept>

#include "app/failure.h"
#include "app/text.h"
#include "check/check_world.h"
#include "export/item_entry.h"
#include "export/sql_text.h"

namespace tavo::sqlx {
namespace {

// The tables an export fills and the columns it fills, by table; a column the era's table lacks
// is left out.
struct Filled {
    const char* table;
    std::vector<std::string_view> columns;
};

const std::vector<std::string_view> kItemColumns = {"nameid", "amount",    "equip", "identify",
                                                    "refine", "attribute", "card0", "card1",
                                                    "card2",  "card3",     "broken"};

std::vector<std::string_view> item_columns(std::string_view owner) {
    std::vector<std::string_view> columns{owner};
    columns.insert(columns.end(), kItemColumns.begin(), kItemColumns.end());
    return columns;
}

std::vector<std::string_view> friends_columns(SqlEra era) {
    if (era == SqlEra::Y2013) return {"char_id", "friend_account", "friend_id"};
    static const std::vector<std::string> names = [] {
        std::vector<std::string> n;
        for (int i = 1; i <= 20; ++i) {
            n.push_back("friend_id" + std::to_string(i));
            n.push_back("name" + std::to_string(i));
        }
        return n;
    }();
    std::vector<std::string_view> columns{"char_id"};
    columns.insert(columns.end(), names.begin(), names.end());
    return columns;
}

std::vector<Filled> filled_tables(SqlEra era) {
    return {
        {"login",
         {"account_id", "userid", "user_pass", "lastlogin", "sex", "logincount", "email", "level",
          "error_message", "connect_until", "last_ip", "memo", "ban_until", "state", "unban_time",
          "expiration_time"}},
        {"global_reg_value", {"type", "account_id", "char_id", "str", "value"}},
        {"char", {"char_id",       "account_id",  "char_num",   "name",     "class",
                  "base_level",    "job_level",   "base_exp",   "job_exp",  "zeny",
                  "str",           "agi",         "vit",        "int",      "dex",
                  "luk",           "hp",          "max_hp",     "sp",       "max_sp",
                  "status_point",  "skill_point", "option",     "karma",    "manner",
                  "party_id",      "guild_id",    "pet_id",     "hair",     "hair_color",
                  "clothes_color", "weapon",      "shield",     "head_top", "head_mid",
                  "head_bottom",   "last_map",    "last_x",     "last_y",   "save_map",
                  "save_x",        "save_y",      "partner_id", "online"}},
        {"memo", {"char_id", "map", "x", "y"}},
        {"inventory", item_columns("char_id")},
        {"cart_inventory", item_columns("char_id")},
        {"skill", {"char_id", "id", "lv"}},
        {"storage", item_columns("account_id")},
        {"pet",
         {"pet_id", "class", "name", "account_id", "char_id", "level", "egg_id", "equip",
          "intimate", "hungry", "rename_flag", "incuvate"}},
        {"party", {"party_id", "name", "exp", "item", "leader_id", "leader_char"}},
        {"guild",
         {"guild_id", "name", "char_id", "master", "guild_lv", "connect_member", "max_member",
          "average_lv", "exp", "next_exp", "skill_point", "castle_id", "mes1", "mes2", "emblem_len",
          "emblem_id", "emblem_data"}},
        {"guild_member",
         {"guild_id", "account_id", "char_id", "hair", "hair_color", "gender", "class", "lv", "exp",
          "exp_payper", "online", "position", "rsv1", "rsv2", "name"}},
        {"guild_position", {"guild_id", "position", "name", "mode", "exp_mode"}},
        {"guild_skill", {"guild_id", "id", "lv"}},
        {"guild_expulsion",
         {"guild_id", "account_id", "name", "mes", "acc", "rsv1", "rsv2", "rsv3"}},
        {"guild_storage", item_columns("guild_id")},
        {"guild_alliance", {"guild_id", "opposition", "alliance_id", "name"}},
        {"guild_castle",
         {"castle_id", "guild_id",  "economy",    "defense",   "triggerE",  "triggerD",
          "nextTime",  "payTime",   "createTime", "visibleC",  "visibleG0", "visibleG1",
          "visibleG2", "visibleG3", "visibleG4",  "visibleG5", "visibleG6", "visibleG7",
          "gHP0",      "ghP1",      "gHP2",       "gHP3",      "gHP4",      "gHP5",
          "gHP6",      "gHP7"}},
        {"friends", friends_columns(era)},
        {"mapreg", {"varname", "index", "value"}},
    };
}

std::string place(std::string_view file, std::size_t line) {
    std::string text(file);
    if (line > 0) text.append(":").append(std::to_string(line));
    return text;
}

// The comma-separated integers from `at` on, up to the first byte after a number that is no
// comma: where they stop, or null when they are not `count` to `count` + `more` integers.
const char* read_numbers_from(const char* at, const char* const end, long long* out,
                              std::size_t count, std::size_t more, NumbersSeen* seen) {
    const char* const first = at;
    const char* counted = at;
    bool as_written = true;
    std::size_t i = 0;
    for (; i < count + more; ++i) {
        if (i > 0) {
            if (at == end || *at != ',') break;
            ++at;
        }
        const char* const start = at;
        const bool minus = at != end && *at == '-';
        if (minus) ++at;
        const char* const digits = at;
        unsigned long long value = 0;
        while (at != end && static_cast<unsigned char>(*at - '0') < 10) {
            value = value * 10 + static_cast<unsigned char>(*at - '0');
            ++at;
        }
        const auto length = static_cast<std::size_t>(at - digits);
        if (length == 0) return nullptr;
        if (*digits == '0' && (length > 1 || minus)) as_written = false;
        if (length > 18) {
            // Past what 18 digits hold: from_chars decides what fits a long long.
            long long exact = 0;
            const auto [next, error] = std::from_chars(start, end, exact);
            if (error != std::errc() || next != at) return nullptr;
            out[i] = exact;
        } else {
            out[i] = minus ? -static_cast<long long>(value) : static_cast<long long>(value);
        }
        if (i + 1 == count) counted = at;
    }
    if (i < count) return nullptr;
    if (seen != nullptr) *seen = {i, as_written, static_cast<std::size_t>(counted - first)};
    return at;
}

// Cards of at most four digits are the 16-bit values the server keeps as they are written; a
// broken flag other than 0 may have no column.
bool plain_cards_and_not_broken(const char* entry, const ItemEntryText& e) {
    for (std::size_t i = 7; i < 11; ++i) {
        if (e.digits[i] > 4) return false;
    }
    return e.count == 11 || e.number(entry, 11) == "0";
}

}  // namespace

std::string with_commas(std::uint64_t n) {
    const std::string digits = std::to_string(n);
    std::string text;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) text += ',';
        text += digits[i];
    }
    return text;
}

bool read_numbers(std::string_view field, long long* out, std::size_t count, std::size_t more,
                  NumbersSeen* seen) {
    const char* const end = field.data() + field.size();
    return read_numbers_from(field.data(), end, out, count, more, seen) == end;
}

std::uint64_t hash_bytes(std::string_view bytes) {
    std::uint64_t h = 0xcbf29ce484222325ULL;
    for (const char c : bytes) {
        h ^= static_cast<unsigned char>(c);
        h *= 0x100000001b3ULL;
    }
    return h ^ (h >> 29);
}

std::uint64_t latin1_ci_hash(std::string_view text) {
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    std::uint64_t h = 0xcbf29ce484222325ULL;
    for (const char c : text) {
        h ^= latin1_ci_weight(static_cast<unsigned char>(c));
        h *= 0x100000001b3ULL;
    }
    return h ^ (h >> 29);
}

bool KeySet::insert(std::uint64_t key) {
    if (key == 0) key = 1;
    if ((used_ + 1) * 2 > slots_.size()) grow();
    std::size_t i = key & (slots_.size() - 1);
    while (slots_[i] != 0) {
        if (slots_[i] == key) return false;
        i = (i + 1) & (slots_.size() - 1);
    }
    slots_[i] = key;
    ++used_;
    return true;
}

void KeySet::grow() {
    std::vector<std::uint64_t> old = std::move(slots_);
    slots_.assign(std::max<std::size_t>(1024, old.size() * 2), 0);
    used_ = 0;
    for (const std::uint64_t key : old) {
        if (key != 0) insert(key);
    }
}

void CharacterDirectory::add(std::int32_t char_id, std::int32_t account_id, std::string_view name) {
    by_id_.push_back({char_id, account_id});
    by_name_.push_back({account_id, char_id, hash_bytes(name)});
}

void CharacterDirectory::seal() {
    std::sort(by_id_.begin(), by_id_.end(),
              [](const ById& a, const ById& b) { return a.char_id < b.char_id; });
    std::sort(by_name_.begin(), by_name_.end(), [](const ByName& a, const ByName& b) {
        return a.account_id != b.account_id ? a.account_id < b.account_id : a.name < b.name;
    });
}

std::optional<std::int32_t> CharacterDirectory::account_of(std::int32_t char_id) const {
    const auto it =
        std::lower_bound(by_id_.begin(), by_id_.end(), char_id,
                         [](const ById& entry, std::int32_t id) { return entry.char_id < id; });
    if (it == by_id_.end() || it->char_id != char_id) return std::nullopt;
    return it->account_id;
}

std::optional<std::int32_t> CharacterDirectory::char_named(std::int32_t account_id,
                                                           std::string_view name) const {
    const ByName wanted{account_id, 0, hash_bytes(name)};
    const auto it = std::lower_bound(
        by_name_.begin(), by_name_.end(), wanted, [](const ByName& a, const ByName& b) {
            return a.account_id != b.account_id ? a.account_id < b.account_id : a.name < b.name;
        });
    if (it == by_name_.end() || it->account_id != account_id || it->name != wanted.name) {
        return std::nullopt;
    }
    return it->char_id;
}

ExportRun::ExportRun(const AppContext& context, const SqlExportOptions& options, SqlSink& out,
                     SqlExportReport& result, const ExportProgress& progress)
    : app(context),
      era(options.era),
      sink(out),
      report(result),
      progress_(progress),
      stop_(options.stop) {
    for (const Finding& f : report.blocking) kept_[f.file].push_back(f.line);
    for (auto& [file, lines] : kept_) {
        // A file the server reads as one line (CR line ends) is kept back whole.
        if (check::ends_lines_in_cr(app.server_file(file))) lines.push_back(0);
    }
    for (auto& [file, lines] : kept_) {
        std::sort(lines.begin(), lines.end());
        lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
    }
    for (Filled& f : filled_tables(era)) {
        const SqlTable* table = nullptr;
        for (const SqlTable& t : sql_tables(era)) {
            if (t.name == f.table) table = &t;
        }
        if (table != nullptr) {
            tables_.push_back(std::make_unique<TableRows>(*table, std::move(f.columns), sink));
        }
    }
    registers_ = &this->table("global_reg_value");
}

const std::vector<std::size_t>& ExportRun::kept_lines(std::string_view file) const {
    static const std::vector<std::size_t> none;
    const auto it = kept_.find(file);
    return it == kept_.end() ? none : it->second;
}

bool ExportRun::open_file(std::string_view file, std::unique_ptr<LineReader>& reader) {
    const std::vector<std::size_t>& kept = kept_lines(file);
    if (!kept.empty() && kept.front() == 0) return false;
    const fs::path path = app.server_file(file);
    if (!file_exists(path)) return false;
    try {
        reader = std::make_unique<LineReader>(path);
    } catch (Failure& failure) {
        throw failure.naming(path);
    }
    return true;
}

void ExportRun::line_read(std::string_view file, std::size_t number) {
    if (stop_ != nullptr && stop_->load(std::memory_order_relaxed)) throw ExportStopped();
    if (progress_)
        progress_("Exporting " + std::string(file) + ": " + with_commas(number) + " lines");
}

void ExportRun::skip(std::string_view file, std::size_t line, const std::string& what,
                     const std::string& why) {
    report.skipped.push_back(place(file, line) + ": " + what + ": " + why);
}

void ExportRun::change(std::string_view file, std::size_t line, const std::string& what,
                       const std::string& how) {
    report.changed.push_back(place(file, line) + ": " + what + ": " + how);
}

void ExportRun::refused_row(const TableRows& rows, std::string_view file, std::size_t line,
                            const std::string& what) {
    skip(file, line, what, "the " + rows.table().name + " table's " + rows.problem());
}

TableRows& ExportRun::table(std::string_view name) {
    for (const auto& t : tables_) {
        if (t->table().name == name) return *t;
    }
    throw std::logic_error("no table " + std::string(name) + " in this era");
}

void ExportRun::flush_all() {
    for (const auto& t : tables_) t->flush();
}

void export_items(ExportRun& run, TableRows& rows, long long owner, std::string_view list,
                  bool stores, std::string_view file, std::size_t line, const Who& who) {
    const char* const end = list.data() + list.size();
    for (const char* at = list.data(); at != end;) {
        if (*at == ' ') {
            ++at;
            continue;
        }
        if (ItemEntryText e; read_item_entry(at, end, e)) {
            const char* const entry = at;
            if (stores && (e.number(entry, 1) == "0" || e.number(entry, 2) == "0")) {
                at += e.length;
                continue;
            }
            if (plain_cards_and_not_broken(entry, e)) {
                rows.begin();
                rows.number(0, owner);
                if (rows.fits_digits(1, e.digits + 1, 10)) {
                    rows.written(10, e.numbers(entry, 1, 10));
                    rows.number(11, 0);
                    run.add(rows, file, line,
                            [&] { return who() + ", item " + std::string(e.number(entry, 1)); });
                    at += e.length;
                    continue;
                }
            }
        }
        // id,nameid,amount,equip,identify,refine,attribute,card0..3[,broken]
        long long v[12] = {};
        NumbersSeen seen;
        const char* const stop = read_numbers_from(at, end, v, 11, 1, &seen);
        if (stop == nullptr || (stop != end && *stop != ' ')) {
            const std::string_view rest(at, static_cast<std::size_t>(end - at));
            const std::string_view entry = rest.substr(0, rest.find(' '));
            run.skip(file, line, who() + ", item " + std::string(entry.substr(0, 60)),
                     "it is not 11 numbers");
            at += entry.size();
            continue;
        }
        const std::string_view entry(at, static_cast<std::size_t>(stop - at));
        at = stop;
        if (stores && (v[1] == 0 || v[2] == 0)) continue;
        rows.begin();
        rows.number(0, owner);
        // Cards are the signed 16-bit values the server keeps.
        bool cards_as_written = true;
        for (std::size_t i = 7; i < 11; ++i) {
            const long long card = static_cast<std::int16_t>(static_cast<std::uint16_t>(v[i]));
            cards_as_written = cards_as_written && card == v[i];
            v[i] = card;
        }
        if (seen.as_written && cards_as_written) {
            // nameid to card3 go in as the entry writes them.
            std::size_t from = 0;
            while (entry[from] != ',') ++from;
            rows.numbers(1, v + 1, 10, entry.substr(from + 1, seen.counted_length - from - 1));
        } else {
            for (std::size_t i = 1; i < 11; ++i) rows.number(i, v[i]);
        }
        rows.number(11, v[11]);
        if (!rows.has(11) && v[11] != 0) {
            run.change(file, line, who() + ", item " + std::to_string(v[1]),
                       "its broken flag " + std::to_string(v[11]) +
                           " has no column in the 2013 schema and is not carried");
        }
        run.add(rows, file, line, [&] { return who() + ", item " + std::to_string(v[1]); });
    }
}

}  // namespace tavo::sqlx
