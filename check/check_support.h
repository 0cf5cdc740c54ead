#pragma once
// What the parts of the server check share: the findings being gathered, sets of ids and names
// big enough for a million accounts, and the small readers of the server's number fields.

#include <cstdint>
#include <functional>
#include <new>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <unordered_set>
#include <vector>

#include "app/numbers.h"
#include "app/run_together.h"
#include "check/check_findings.h"

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

// Memory for a large table that is touched at random, zeroed, on huge pages where the system
// offers them: a table of millions of names then costs far fewer page faults and TLB misses.
class LargeBlock {
public:
    LargeBlock() = default;
    explicit LargeBlock(std::size_t bytes);
    ~LargeBlock();
    LargeBlock(LargeBlock&& other) noexcept;
    LargeBlock& operator=(LargeBlock&& other) noexcept;
    LargeBlock(const LargeBlock&) = delete;
    LargeBlock& operator=(const LargeBlock&) = delete;

    char* data() const { return data_; }
    std::size_t size() const { return size_; }

private:
    char* data_ = nullptr;
    std::size_t size_ = 0;
};

// Room handed out in order from large blocks that stay where they are: what is kept there keeps
// its address until the arena goes.
class Arena {
public:
    // `bytes` of room, aligned to 8.
    char* allocate(std::size_t bytes);
    std::string_view keep(std::string_view text);

private:
    std::vector<LargeBlock> blocks_;
    std::size_t left_ = 0;
    char* at_ = nullptr;
};

// A list that grows in large pieces, never moving what it holds: a million members cost a
// handful of allocations. For plain records only (nothing to destroy).
template <class T>
class PiecedList {
public:
    void push_back(const T& item) {
        if (size_ % kPerPiece == 0) pieces_.emplace_back(kPerPiece * sizeof(T));
        new (pieces_.back().data() + size_ % kPerPiece * sizeof(T)) T(item);
        ++size_;
    }
    const T& operator[](std::size_t i) const {
        return *std::launder(
            reinterpret_cast<const T*>(pieces_[i / kPerPiece].data() + i % kPerPiece * sizeof(T)));
    }
    std::size_t size() const { return size_; }

private:
    static_assert(std::is_trivially_destructible_v<T>);
    static constexpr std::size_t kPerPiece = (4 << 20) / sizeof(T);
    std::vector<LargeBlock> pieces_;
    std::size_t size_ = 0;
};

// Names with a number each (a character's name and its account), copied into an arena of their
// own, in one open-addressed table of small entries: two million names stay compact.
class NameTable {
public:
    // A name copied into the table's blocks with its hash, its slot already on its way into the
    // cache: adding it a line later finds the slot there instead of waiting for memory.
    struct Staged {
        const char* record = nullptr;  // the value, then the name
        std::uint32_t hash = 0;
        std::uint32_t length = 0;
        std::string_view name() const { return {record + sizeof(long long), length}; }
    };

    // Room for about `names` names without growing.
    void reserve(std::size_t names);
    Staged stage(std::string_view name, long long value);
    // A name staged in an arena of its own, which may be filled on another thread; the table
    // takes the arena with take_records() before the names are added.
    static Staged stage_in(Arena& arena, std::string_view name, long long value);
    void take_records(Arena&& arena) { more_records_.push_back(std::move(arena)); }
    // The name's slot on its way into the cache.
    void prefetch(const Staged& staged) const {
        if (slot_count_ > 0) __builtin_prefetch(slots() + (staged.hash & (slot_count_ - 1)));
    }
    // The number held with the name when it was there already, or nothing after adding it.
    std::optional<long long> add(const Staged& staged);
    std::optional<long long> insert(std::string_view name, long long value) {
        return add(stage(name, value));
    }
    std::optional<long long> find(std::string_view name) const;

private:
    using Entry = Staged;
    Entry* slots() const { return reinterpret_cast<Entry*>(table_.data()); }
    std::size_t slot_of(std::uint32_t hash, std::string_view name) const;
    bool full(std::size_t names) const;
    void grow(std::size_t slots);
    LargeBlock table_;
    std::size_t slot_count_ = 0;
    std::size_t used_ = 0;
    Arena records_;
    std::vector<Arena> more_records_;
};

// The TAB-separated pieces of a line; a final TAB gives an empty last piece.
void split_tabs(std::string_view line, std::vector<std::string_view>& pieces);

// Exactly `count` integers separated by commas.
bool integers(std::string_view text, std::size_t count);
// Whether TAB-separated fields hold, field by field, exactly counts[i] integers separated by
// commas: integers() on each field, at once for a run of fields.
bool integer_fields(std::string_view run, std::span<const std::uint8_t> counts);
// The value of the comma-separated piece `index` of a text of integers (0 when missing).
long long integer_at(std::string_view text, std::size_t index);

// An item list (inventory, cart, store): items separated by blanks, each 11 integers (a 12th
// is read and dropped). The item count, or -1 when an item is not of that form.
long long item_count(std::string_view list);
// The same, noting whether the list holds a '-' (without one it holds no egg).
long long item_count(std::string_view list, bool& minus);

struct Gathered {
    explicit Gathered(std::vector<Finding>& out) : findings(out) {}
    void add(Problem problem, std::string_view file, std::size_t line, std::string text,
             std::optional<Repair> repair = std::nullopt) {
        findings.push_back({problem, std::string(file), line, std::move(text), std::move(repair),
                            finding_kind(problem)});
    }
    // A finding of a line that was settled after later findings of the same line were added.
    void add_at(std::size_t index, Problem problem, std::string_view file, std::size_t line,
                std::string text) {
        findings.insert(findings.begin() + static_cast<std::ptrdiff_t>(index),
                        {problem, std::string(file), line, std::move(text), std::nullopt,
                         finding_kind(problem)});
    }
    std::vector<Finding>& findings;
};

// Adds names to a table one line late, so that the slot of each comes from memory while the next
// line is read. A name that was there already is reported through report(name, held value, line,
// index), the index being where the line's finding belongs among the findings.
template <class Report>
class LateNames {
public:
    LateNames(NameTable& table, Gathered& found, Report report)
        : table_(table), found_(found), report_(std::move(report)) {}

    void add(std::string_view name, long long value, std::size_t line) {
        add(table_.stage(name, value), line);
    }
    void add(const NameTable::Staged& staged, std::size_t line) {
        settle();
        pending_ = {staged, line, found_.findings.size()};
        waiting_ = true;
    }
    void settle() {
        if (!waiting_) return;
        waiting_ = false;
        if (const auto held = table_.add(pending_.staged)) {
            report_(pending_.staged.name(), *held, pending_.line, pending_.index);
        }
    }

private:
    struct Pending {
        NameTable::Staged staged;
        std::size_t line = 0;
        std::size_t index = 0;
    };
    NameTable& table_;
    Gathered& found_;
    Report report_;
    Pending pending_;
    bool waiting_ = false;
};

// A name as a finding shows it: cut to 40 bytes, so a broken line never floods the list.
std::string shown(std::string_view text);

// The "<counter>\t%newid%" line of account.txt and athena.txt, as the check meets it.
struct NewIdLine {
    long long counter = 0;
    std::size_t line = 0;  // 0: none met
    // True when the fields are a %newid% line; `why` then holds what is wrong with it, if anything.
    bool take(const std::vector<std::string_view>& p, std::size_t number, const char*& why);
};

// A %newid% counter (at `line` of `file`; 0: none) not above the highest id of the file: the
// next new record would take an id in use. `record` is "account" or "character".
void check_newid(Gathered& found, std::string_view file, std::size_t line, long long newid,
                 long long highest, std::string_view record);

}  // namespace tavo::check
