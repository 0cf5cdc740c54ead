#include "workspace/check_support.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace tavo::check {
namespace {

std::uint64_t hash_of(std::string_view text) {
    std::uint64_t h = 1469598103934665603ULL;
    for (const unsigned char c : text) h = (h ^ c) * 1099511628211ULL;
    return h ^ (h >> 29);
}

bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

bool IdSet::insert(long long id) {
    if (id >= 0 && id < kDense) {
        const auto word = static_cast<std::size_t>(id >> 6);
        if (word >= bits_.size()) bits_.resize(std::max(word + 1, bits_.size() * 2), 0);
        const std::uint64_t bit = 1ULL << (id & 63);
        if ((bits_[word] & bit) != 0) return false;
        bits_[word] |= bit;
        ++count_;
        return true;
    }
    const bool added = other_.insert(id).second;
    count_ += added ? 1 : 0;
    return added;
}

bool IdSet::contains(long long id) const {
    if (id >= 0 && id < kDense) {
        const auto word = static_cast<std::size_t>(id >> 6);
        return word < bits_.size() && (bits_[word] & (1ULL << (id & 63))) != 0;
    }
    return other_.count(id) > 0;
}

std::size_t NameTable::slot_of(std::uint32_t hash, std::string_view name) const {
    const std::size_t mask = slots_.size() - 1;
    std::size_t at = hash & mask;
    for (;; at = (at + 1) & mask) {
        const Entry& e = slots_[at];
        if (e.record == nullptr) return at;
        if (e.hash == hash && e.length == name.size() &&
            std::memcmp(e.record + sizeof(long long), name.data(), name.size()) == 0) {
            return at;
        }
    }
}

void NameTable::reserve(std::size_t names) {
    std::size_t slots = 1024;
    while (slots < names * 2) slots *= 2;
    if (slots > slots_.size()) grow(slots);
}

void NameTable::grow(std::size_t slots) {
    std::vector<Entry> old = std::move(slots_);
    slots_.assign(slots, Entry{});
    const std::size_t mask = slots - 1;
    for (const Entry& entry : old) {
        if (entry.record == nullptr) continue;
        std::size_t at = entry.hash & mask;
        while (slots_[at].record != nullptr) at = (at + 1) & mask;
        slots_[at] = entry;
    }
}

const char* NameTable::keep(std::string_view name, long long value) {
    constexpr std::size_t kBlock = 1 << 20;
    const std::size_t need = (sizeof value + name.size() + 7) & ~std::size_t{7};
    if (need > block_left_) {
        const std::size_t size = std::max(kBlock, need);
        blocks_.push_back(std::unique_ptr<char[]>(new char[size]));  // left unfilled
        block_at_ = blocks_.back().get();
        block_left_ = size;
    }
    char* record = block_at_;
    std::memcpy(record, &value, sizeof value);
    std::memcpy(record + sizeof value, name.data(), name.size());
    block_at_ += need;
    block_left_ -= need;
    return record;
}

std::optional<long long> NameTable::insert(std::string_view name, long long value) {
    if ((used_ + 1) * 2 > slots_.size()) grow(slots_.empty() ? 1024 : slots_.size() * 2);
    const auto hash = static_cast<std::uint32_t>(hash_of(name));
    Entry& slot = slots_[slot_of(hash, name)];
    if (slot.record != nullptr) {
        long long held = 0;
        std::memcpy(&held, slot.record, sizeof held);
        return held;
    }
    slot = Entry{keep(name, value), hash, static_cast<std::uint32_t>(name.size())};
    ++used_;
    return std::nullopt;
}

std::optional<long long> NameTable::find(std::string_view name) const {
    if (slots_.empty()) return std::nullopt;
    const Entry& slot = slots_[slot_of(static_cast<std::uint32_t>(hash_of(name)), name)];
    if (slot.record == nullptr) return std::nullopt;
    long long held = 0;
    std::memcpy(&held, slot.record, sizeof held);
    return held;
}

void split_tabs(std::string_view line, std::vector<std::string_view>& pieces) {
    pieces.clear();
    const char* at = line.data();
    const char* const end = at + line.size();
    for (;;) {
        const auto* tab = static_cast<const char*>(std::memchr(at, '\t', end - at));
        if (tab == nullptr) {
            pieces.emplace_back(at, static_cast<std::size_t>(end - at));
            return;
        }
        pieces.emplace_back(at, static_cast<std::size_t>(tab - at));
        at = tab + 1;
    }
}

bool is_integer(std::string_view text) {
    std::size_t i = !text.empty() && text[0] == '-' ? 1 : 0;
    if (i == text.size()) return false;
    for (; i < text.size(); ++i) {
        if (!is_digit(text[i])) return false;
    }
    return true;
}

long long integer_value(std::string_view text) {
    const bool negative = !text.empty() && text[0] == '-';
    long long value = 0;
    constexpr long long kMax = std::numeric_limits<long long>::max() / 10 - 10;
    for (std::size_t i = negative ? 1 : 0; i < text.size() && is_digit(text[i]); ++i) {
        if (value > kMax) return negative ? -kMax : kMax;
        value = value * 10 + (text[i] - '0');
    }
    return negative ? -value : value;
}

bool integers(std::string_view text, std::size_t count) {
    std::size_t values = 0;
    std::size_t i = 0;
    while (i <= text.size()) {
        if (i < text.size() && text[i] == '-') ++i;
        const std::size_t digits = i;
        while (i < text.size() && is_digit(text[i])) ++i;
        if (i == digits) return false;
        ++values;
        if (i == text.size()) break;
        if (text[i] != ',') return false;
        ++i;
    }
    return values == count;
}

long long integer_at(std::string_view text, std::size_t index) {
    std::size_t start = 0;
    for (std::size_t n = 0; n < index; ++n) {
        const std::size_t comma = text.find(',', start);
        if (comma == std::string_view::npos) return 0;
        start = comma + 1;
    }
    return integer_value(text.substr(start, text.find(',', start) - start));
}

long long item_count(std::string_view list) {
    long long items = 0;
    std::size_t i = 0;
    const std::size_t n = list.size();
    while (i < n) {
        if (list[i] == ' ') {  // the blank after an item, or an empty item
            ++i;
            continue;
        }
        // One item: integers separated by commas, up to the next blank.
        std::size_t values = 0;
        for (;;) {
            if (i < n && list[i] == '-') ++i;
            const std::size_t digits = i;
            while (i < n && is_digit(list[i])) ++i;
            if (i == digits) return -1;
            ++values;
            if (i == n || list[i] == ' ') break;
            if (list[i] != ',') return -1;
            ++i;
        }
        if (values != 11 && values != 12) return -1;
        ++items;
    }
    return items;
}

std::string shown(std::string_view text) {
    constexpr std::size_t kMost = 40;
    if (text.size() <= kMost) return std::string(text);
    return std::string(text.substr(0, kMost)) + "...";
}

void check_newid(Gathered& found, std::string_view file, std::size_t line, long long newid,
                 long long highest, std::string_view record) {
    if (line == 0 || newid > highest) return;
    const std::string kind(record);
    Repair repair{Repair::Edit::SetCounter, 0, highest + 1,
                  "raise the %newid% counter to " + std::to_string(highest + 1)};
    found.add(Problem::NewIdTooLow, file, line,
              "The %newid% counter " + std::to_string(newid) + " is not above the highest " + kind +
                  " id " + std::to_string(highest) + ": the next new " + kind +
                  " would take an id in use.",
              std::move(repair));
}

}  // namespace tavo::check
