#pragma once
// What the passes of one export share: the tables being filled, the records the check keeps
// back, the report, and the lookups the 2013 schema needs across files.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/settings.h"
#include "app/text_file.h"
#include "export/sql_report.h"
#include "export/sql_rows.h"

namespace tavo::sqlx {

// What read_numbers saw: how many numbers, and whether each is written as TableRows writes it
// (no sign but a minus, no leading zero, no "-0"), so that the text can go into a row as it is.
struct NumbersSeen {
    std::size_t count = 0;
    bool as_written = true;
    std::size_t counted_length = 0;  // the text of the first `count` numbers asked for
};

// The comma-separated integers of a field, read at once; false when the field is not `count`
// integers (a `more` allowed after them).
bool read_numbers(std::string_view field, long long* out, std::size_t count, std::size_t more = 0,
                  NumbersSeen* seen = nullptr);

// Open-addressed set of 64-bit keys, for the names a unique key of the 2013 schema holds.
class KeySet {
public:
    // True when the key was not there yet.
    bool insert(std::uint64_t key);

private:
    void grow();
    std::vector<std::uint64_t> slots_;  // 0 is free; a key of 0 is stored as 1
    std::size_t used_ = 0;
};

std::uint64_t hash_bytes(std::string_view bytes);
// hash_bytes(latin1_ci_key(text)), without making the key.
std::uint64_t latin1_ci_hash(std::string_view text);

// "1,234,567"
std::string with_commas(std::uint64_t n);

// The characters by id with their accounts, and by account and name, for the friends and the
// party leaders of the 2013 schema.
class CharacterDirectory {
public:
    void add(std::int32_t char_id, std::int32_t account_id, std::string_view name);
    void seal();
    std::optional<std::int32_t> account_of(std::int32_t char_id) const;
    std::optional<std::int32_t> char_named(std::int32_t account_id, std::string_view name) const;

private:
    struct ById {
        std::int32_t char_id;
        std::int32_t account_id;
    };
    struct ByName {
        std::int32_t account_id;
        std::int32_t char_id;
        std::uint64_t name;
    };
    std::vector<ById> by_id_;
    std::vector<ByName> by_name_;
};

class ExportRun {
public:
    ExportRun(const AppContext& app, const SqlExportOptions& options, SqlSink& sink,
              SqlExportReport& report, const ExportProgress& progress);

    const AppContext& app;
    SqlEra era;
    SqlSink& sink;
    SqlExportReport& report;

    // Every line of a save file through each(line, number) but the lines the check keeps back;
    // false when the file is missing or kept back whole.
    template <class Each>
    bool each_line(std::string_view file, Each&& each);

    // A record left out, named with its place.
    void skip(std::string_view file, std::size_t line, const std::string& what,
              const std::string& why);
    // A value written otherwise than the file holds it.
    void change(std::string_view file, std::size_t line, const std::string& what,
                const std::string& how);
    // The row is added; when a value does not fit, the record is named (what() is only asked
    // then) and left out.
    template <class What>
    bool add(TableRows& rows, std::string_view file, std::size_t line, What&& what) {
        if (rows.add()) return true;
        refused_row(rows, file, line, describe(what));
        return false;
    }

    TableRows& table(std::string_view name);
    // global_reg_value, which every account and character line fills.
    TableRows& registers() { return *registers_; }
    void flush_all();

    // What the character pass learns for the later files.
    CharacterDirectory characters;
    KeySet char_names;  // latin1_swedish_ci keys of the names written (2013: a unique key)
    // The register names of one owner written so far (export_registers).
    std::vector<std::string_view> register_names;

    // The %newid% counters of account.txt and athena.txt.
    long long next_account = 0;
    long long next_char = 0;

private:
    static std::string describe(const std::string& what) { return what; }
    template <class What>
    static std::string describe(const What& what) {
        return what();
    }
    void refused_row(const TableRows& rows, std::string_view file, std::size_t line,
                     const std::string& what);

    // The lines of the file the check keeps back, in order; a 0 keeps back the whole file.
    const std::vector<std::size_t>& kept_lines(std::string_view file) const;
    void line_read(std::string_view file, std::size_t number);
    bool open_file(std::string_view file, std::unique_ptr<LineReader>& reader);

    std::map<std::string, std::vector<std::size_t>, std::less<>> kept_;
    std::vector<std::unique_ptr<TableRows>> tables_;
    TableRows* registers_ = nullptr;
    const ExportProgress& progress_;
    const std::atomic<bool>* stop_;
};

// The passes, in the order they run.
void export_accounts(ExportRun& run);
void export_account_registers(ExportRun& run);
void export_characters(ExportRun& run);
void export_stores(ExportRun& run);
void export_pets(ExportRun& run);
void export_parties(ExportRun& run);
void export_guilds(ExportRun& run);
void export_guild_stores(ExportRun& run);
void export_castles(ExportRun& run);
void export_friends(ExportRun& run);
void export_map_registers(ExportRun& run);

// The item lists of inventories, carts and stores: one row per item into `rows`, the owner in
// the first column. `stores` leaves out items of id or amount 0, as the server's stores do.
using Who = std::function<std::string()>;
void export_items(ExportRun& run, TableRows& rows, long long owner, std::string_view list,
                  bool stores, std::string_view file, std::size_t line, const Who& who);

// The registers of one owner into global_reg_value: "name,value" items separated by blanks.
void export_registers(ExportRun& run, std::string_view items, int type, long long account,
                      long long character, std::string_view file, std::size_t line, const Who& who);

template <class Each>
bool ExportRun::each_line(std::string_view file, Each&& each) {
    std::unique_ptr<LineReader> reader;
    if (!open_file(file, reader)) return false;
    const std::vector<std::size_t>& kept = kept_lines(file);
    auto next_kept = kept.begin();
    std::string_view line;
    std::size_t number = 0;
    while (reader->next(line)) {
        ++number;
        if ((number & 0x3fff) == 0) line_read(file, number);
        if (next_kept != kept.end() && *next_kept == number) {
            ++next_kept;
            continue;
        }
        each(line, number);
    }
    line_read(file, number);
    return true;
}

}  // namespace tavo::sqlx
