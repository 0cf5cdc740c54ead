#include "workspace/check_support.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>
#include <utility>

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

LargeBlock::LargeBlock(std::size_t bytes) : size_(bytes) {
    if (bytes == 0) return;
    void* at = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (at == MAP_FAILED) throw std::bad_alloc();
#ifdef MADV_HUGEPAGE
    ::madvise(at, bytes, MADV_HUGEPAGE);  // only advice: small pages work as well
#endif
    data_ = static_cast<char*>(at);
}

LargeBlock::~LargeBlock() {
    if (data_ != nullptr) ::munmap(data_, size_);
}

LargeBlock::LargeBlock(LargeBlock&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)) {}

LargeBlock& LargeBlock::operator=(LargeBlock&& other) noexcept {
    if (this != &other) {
        LargeBlock gone(std::move(*this));
        data_ = std::exchange(other.data_, nullptr);
        size_ = std::exchange(other.size_, 0);
    }
    return *this;
}

std::size_t NameTable::slot_of(std::uint32_t hash, std::string_view name) const {
    const std::size_t mask = slot_count_ - 1;
    const Entry* const table = slots();
    std::size_t at = hash & mask;
    for (;; at = (at + 1) & mask) {
        const Entry& e = table[at];
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
    if (slots > slot_count_) grow(slots);
}

void NameTable::grow(std::size_t slots) {
    LargeBlock old = std::exchange(table_, LargeBlock(slots * sizeof(Entry)));
    const Entry* const from = reinterpret_cast<const Entry*>(old.data());
    const std::size_t old_count = std::exchange(slot_count_, slots);
    Entry* const table = this->slots();
    const std::size_t mask = slots - 1;
    for (std::size_t i = 0; i < old_count; ++i) {
        const Entry& entry = from[i];
        if (entry.record == nullptr) continue;
        std::size_t at = entry.hash & mask;
        while (table[at].record != nullptr) at = (at + 1) & mask;
        table[at] = entry;
    }
}

char* Arena::allocate(std::size_t bytes) {
    constexpr std::size_t kBlock = 8 << 20;
    const std::size_t need = (bytes + 7) & ~std::size_t{7};
    if (need > left_) {
        blocks_.emplace_back(std::max(kBlock, need));
        at_ = blocks_.back().data();
        left_ = blocks_.back().size();
    }
    char* room = at_;
    at_ += need;
    left_ -= need;
    return room;
}

std::string_view Arena::keep(std::string_view text) {
    if (text.empty()) return {};
    char* room = allocate(text.size());
    std::memcpy(room, text.data(), text.size());
    return {room, text.size()};
}

const char* NameTable::keep(std::string_view name, long long value) {
    char* record = records_.allocate(sizeof value + name.size());
    std::memcpy(record, &value, sizeof value);
    std::memcpy(record + sizeof value, name.data(), name.size());
    return record;
}

NameTable::Staged NameTable::stage(std::string_view name, long long value) {
    const auto hash = static_cast<std::uint32_t>(hash_of(name));
    if (slot_count_ > 0) __builtin_prefetch(slots() + (hash & (slot_count_ - 1)));
    return {keep(name, value), hash, static_cast<std::uint32_t>(name.size())};
}

std::optional<long long> NameTable::add(const Staged& staged) {
    if ((used_ + 1) * 2 > slot_count_) grow(slot_count_ == 0 ? 1024 : slot_count_ * 2);
    Entry& slot = slots()[slot_of(staged.hash, staged.name())];
    if (slot.record != nullptr) {
        long long held = 0;
        std::memcpy(&held, slot.record, sizeof held);
        return held;
    }
    slot = staged;
    ++used_;
    return std::nullopt;
}

std::optional<long long> NameTable::find(std::string_view name) const {
    if (slot_count_ == 0) return std::nullopt;
    const Entry& slot = slots()[slot_of(static_cast<std::uint32_t>(hash_of(name)), name)];
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

}  // namespace tavo::check
