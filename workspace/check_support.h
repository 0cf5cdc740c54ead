#pragma once
// What the parts of the server check share: the findings being gathered, sets of ids and names
// big enough for a million accounts, and the small readers of the server's number fields.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "workspace/server_check.h"

namespace tavo::check {

// Ids seen in a file. Ids of the usual range live in a bitmap, anything else in a hash set.
class IdSet {
public:
    // True when the id was not there yet.
    bool insert(long long id);
    bool contains(long long id) const;
    bool empty() const { return count_ == 0; }

private:
    static constexpr long long kDense = 1LL << 28;
    std::vector<std::uint64_t> bits_;
    std::unordered_set<long long> other_;
    std::size_t count_ = 0;
};

// Names with a number each (a character's name and its account), copied into blocks of their
// own, in one open-addressed table of small entries: two million names stay compact.
class NameTable {
public:
    // Room for about `names` names without growing.
    void reserve(std::size_t names);
    // The number held with the name when it was there already, or nothing after adding it.
    std::optional<long long> insert(std::string_view name, long long value);
    std::optional<long long> find(std::string_view name) const;

private:
    struct Entry {
        const char* record = nullptr;  // the value, then the name
        std::uint32_t hash = 0;
        std::uint32_t length = 0;
    };
    std::size_t slot_of(std::uint32_t hash, std::string_view name) const;
    const char* keep(std::string_view name, long long value);
    void grow(std::size_t slots);
    std::vector<Entry> slots_;
    std::size_t used_ = 0;
    std::vector<std::unique_ptr<char[]>> blocks_;
    std::size_t block_left_ = 0;
    char* block_at_ = nullptr;
};

// The TAB-separated pieces of a line; a final TAB gives an empty last piece.
void split_tabs(std::string_view line, std::vector<std::string_view>& pieces);

// A whole decimal number, an optional minus first; nothing else.
bool is_integer(std::string_view text);
// The value of an integer text (is_integer already checked); big values saturate.
long long integer_value(std::string_view text);
// Exactly `count` integers separated by commas.
bool integers(std::string_view text, std::size_t count);
// The value of the comma-separated piece `index` of a text of integers (0 when missing).
long long integer_at(std::string_view text, std::size_t index);

// An item list (inventory, cart, store): items separated by blanks, each 11 integers (a 12th
// is read and dropped). The item count, or -1 when an item is not of that form.
long long item_count(std::string_view list);

struct Gathered {
    explicit Gathered(std::vector<Finding>& out) : findings(out) {}
    void add(Problem problem, std::string_view file, std::size_t line, std::string text,
             std::optional<Repair> repair = std::nullopt) {
        findings.push_back({problem, std::string(file), line, std::move(text), std::move(repair)});
    }
    std::vector<Finding>& findings;
};

// A name as a finding shows it: cut to 40 bytes, so a broken line never floods the list.
std::string shown(std::string_view text);

// A %newid% counter (at `line` of `file`; 0: none) not above the highest id of the file: the
// next new record would take an id in use. `record` is "account" or "character".
void check_newid(Gathered& found, std::string_view file, std::size_t line, long long newid,
                 long long highest, std::string_view record);

}  // namespace tavo::check
