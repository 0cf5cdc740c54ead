#include "check/check_support.h"

#include <sys/mman.h>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include <algorithm>
#include <bit>
#include <cstring>
#include <new>
#include <span>
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

// The table grows when it is 60% full; below that, a name is found a slot or two from its own.
bool NameTable::full(std::size_t names) const {
    return names * 5 > slot_count_ * 3;
}

void NameTable::reserve(std::size_t names) {
    std::size_t slots = 1024;
    while (names * 5 > slots * 3) slots *= 2;
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

NameTable::Staged NameTable::stage_in(Arena& arena, std::string_view name, long long value) {
    char* record = arena.allocate(sizeof value + name.size());
    std::memcpy(record, &value, sizeof value);
    std::memcpy(record + sizeof value, name.data(), name.size());
    return {record, static_cast<std::uint32_t>(hash_of(name)),
            static_cast<std::uint32_t>(name.size())};
}

NameTable::Staged NameTable::stage(std::string_view name, long long value) {
    const Staged staged = stage_in(records_, name, value);
    prefetch(staged);
    return staged;
}

std::optional<long long> NameTable::add(const Staged& staged) {
    if (full(used_ + 1)) grow(slot_count_ == 0 ? 1024 : slot_count_ * 2);
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
    const char* const text = line.data();
    const std::size_t n = line.size();
    std::size_t start = 0;
    const auto cut = [&](std::size_t tab) {
        pieces.emplace_back(text + start, tab - start);
        start = tab + 1;
    };
    std::size_t i = 0;
#ifdef __SSE2__
    // A character line has its TABs tens of bytes apart: look at 64 bytes at a time.
    const __m128i tab = _mm_set1_epi8('\t');
    const auto tabs_in = [&](std::size_t at) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + at));
        return static_cast<std::uint64_t>(
            static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, tab))));
    };
    for (; i + 64 <= n; i += 64) {
        std::uint64_t tabs =
            tabs_in(i) | tabs_in(i + 16) << 16 | tabs_in(i + 32) << 32 | tabs_in(i + 48) << 48;
        for (; tabs != 0; tabs &= tabs - 1) {
            cut(i + static_cast<std::size_t>(std::countr_zero(tabs)));
        }
    }
#endif
    for (; i < n; ++i) {
        if (text[i] == '\t') cut(i);
    }
    pieces.emplace_back(text + start, n - start);
}

bool integers(std::string_view text, std::size_t count) {
    const char* at = text.data();
    const char* const end = at + text.size();
    for (std::size_t values = 1;; ++values) {
        if (at != end && *at == '-') ++at;
        const char* const digits = at;
        while (at != end && is_digit(*at)) ++at;
        if (at == digits) return false;
        if (at == end) return values == count;
        if (*at != ',' || values == count) return false;
        ++at;
    }
}

long long integer_at(std::string_view text, std::size_t index) {
    // The pieces are a few bytes long: a plain walk, not a library search for each comma.
    const char* at = text.data();
    const char* const end = at + text.size();
    for (std::size_t n = 0; n < index; ++at) {
        if (at == end) return 0;
        if (*at == ',') ++n;
    }
    const char* piece_end = at;
    while (piece_end != end && *piece_end != ',') ++piece_end;
    return integer_value({at, static_cast<std::size_t>(piece_end - at)});
}

namespace {

// What a block of 64 bytes of an item list or of number fields holds, a bit for each byte.
struct ItemBits {
    std::uint64_t digit = 0;
    std::uint64_t comma = 0;
    std::uint64_t minus = 0;
    std::uint64_t gap = 0;  // what separates the items or fields: a blank or a TAB
};

#ifdef __SSE2__
std::uint64_t bits_of(__m128i a, __m128i b, __m128i c, __m128i d) {
    return static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(a))) |
           static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(b))) << 16 |
           static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(c))) << 32 |
           static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(d))) << 48;
}

ItemBits classify(const char* block, char gap) {
    __m128i v[4];
    for (int k = 0; k < 4; ++k) v[k] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block) + k);
    const auto each = [&](auto test) {
        return bits_of(test(v[0]), test(v[1]), test(v[2]), test(v[3]));
    };
    const __m128i shift = _mm_set1_epi8(static_cast<char>(0x80 - '0'));
    const __m128i ten = _mm_set1_epi8(static_cast<char>(0x80 + 10));
    ItemBits bits;
    // '0'..'9' moved to the bottom of the signed range: a digit is then below -128 + 10.
    bits.digit = each([&](__m128i x) { return _mm_cmpgt_epi8(ten, _mm_add_epi8(x, shift)); });
    bits.comma = each([](__m128i x) { return _mm_cmpeq_epi8(x, _mm_set1_epi8(',')); });
    bits.minus = each([](__m128i x) { return _mm_cmpeq_epi8(x, _mm_set1_epi8('-')); });
    bits.gap = each([&](__m128i x) { return _mm_cmpeq_epi8(x, _mm_set1_epi8(gap)); });
    return bits;
}
#else
ItemBits classify(const char* block, char gap) {
    ItemBits bits;
    for (int k = 0; k < 64; ++k) {
        const std::uint64_t bit = std::uint64_t{1} << k;
        const char c = block[k];
        if (is_digit(c)) bits.digit |= bit;
        if (c == ',') bits.comma |= bit;
        if (c == '-') bits.minus |= bit;
        if (c == gap) bits.gap |= bit;
    }
    return bits;
}
#endif

// std::popcount without the popcnt instruction of newer processors is a library call per item.
int bit_count(std::uint64_t x) {
    x -= (x >> 1) & 0x5555555555555555ULL;
    x = (x & 0x3333333333333333ULL) + ((x >> 2) & 0x3333333333333333ULL);
    x = (x + (x >> 4)) & 0x0f0f0f0f0f0f0f0fULL;
    return static_cast<int>((x * 0x0101010101010101ULL) >> 56);
}

// Reads an item list block by block. An item is -?d+(,-?d+)* between blanks, which holds exactly
// when every byte is a digit, comma, minus or blank and no byte has a wrong neighbour: a comma
// after a digit and before a digit or minus, a minus after a comma or blank and before a digit.
// The commas of each item are counted at the blank that ends it.
class ItemScan {
public:
    bool block(const ItemBits& b) {
        const std::uint64_t before_digit = b.digit << 1 | carry_digit_;
        const std::uint64_t before_comma = b.comma << 1 | carry_comma_;
        const std::uint64_t before_minus = b.minus << 1 | carry_minus_;
        const std::uint64_t before_blank = b.gap << 1 | carry_blank_;
        const std::uint64_t wrong =
            ~(b.digit | b.comma | b.minus | b.gap) | (b.comma & ~before_digit) |
            (b.minus & ~(before_comma | before_blank)) | (before_minus & ~b.digit) |
            (before_comma & ~(b.digit | b.minus));
        if (wrong != 0) return false;
        minus_ = minus_ || b.minus != 0;
        carry_digit_ = b.digit >> 63;
        carry_comma_ = b.comma >> 63;
        carry_minus_ = b.minus >> 63;
        carry_blank_ = b.gap >> 63;
        std::uint64_t from = ~std::uint64_t{0};  // the bits after the last blank seen
        for (std::uint64_t blanks = b.gap; blanks != 0; blanks &= blanks - 1) {
            const std::uint64_t below = (blanks & -blanks) - 1;
            take(b, from & below);
            if (!end_item()) return false;
            from = ~((below << 1) | 1);
        }
        take(b, from);
        return true;
    }

    // The list's end: a last item, and no comma or minus left hanging.
    long long finish() {
        if (carry_comma_ != 0 || carry_minus_ != 0 || !end_item()) return -1;
        return items_;
    }
    bool minus() const { return minus_; }

private:
    void take(const ItemBits& b, std::uint64_t part) {
        commas_ += bit_count(b.comma & part);
        in_item_ = in_item_ || ((b.digit | b.minus) & part) != 0;
    }
    bool end_item() {
        if (!in_item_) return true;
        if (commas_ != 10 && commas_ != 11) return false;
        ++items_;
        in_item_ = false;
        commas_ = 0;
        return true;
    }

    std::uint64_t carry_digit_ = 0;
    std::uint64_t carry_comma_ = 0;
    std::uint64_t carry_minus_ = 0;
    std::uint64_t carry_blank_ = 1;  // the list starts as after a blank
    long long commas_ = 0;
    bool in_item_ = false;
    long long items_ = 0;
    bool minus_ = false;
};

// Reads TAB-separated fields of integers block by block. A TAB has the neighbours of a comma,
// so no field is empty; the commas of each field are counted at the TAB that ends it.
class FieldScan {
public:
    explicit FieldScan(std::span<const std::uint8_t> counts) : counts_(counts) {}

    // The first `live` bits of the block are the run's.
    bool block(const ItemBits& b, std::uint64_t live, int last) {
        const std::uint64_t cut = b.comma | b.gap;
        const std::uint64_t before_digit = b.digit << 1 | carry_digit_;
        const std::uint64_t before_cut = cut << 1 | carry_cut_;
        const std::uint64_t before_minus = b.minus << 1 | carry_minus_;
        const std::uint64_t wrong = ~(b.digit | cut | b.minus) | (cut & ~before_digit) |
                                    (b.minus & ~before_cut) | (before_minus & ~b.digit) |
                                    (before_cut & ~(b.digit | b.minus));
        if ((wrong & live) != 0) return false;
        carry_digit_ = b.digit >> last & 1;
        carry_cut_ = cut >> last & 1;
        carry_minus_ = b.minus >> last & 1;
        std::uint64_t from = live;
        for (std::uint64_t tabs = b.gap & live; tabs != 0; tabs &= tabs - 1) {
            const std::uint64_t below = (tabs & -tabs) - 1;
            commas_ += bit_count(b.comma & from & below);
            if (!end_field()) return false;
            from &= ~((below << 1) | 1);
        }
        commas_ += bit_count(b.comma & from);
        return true;
    }

    // The run ends in a digit, after its last field.
    bool finish() { return carry_digit_ != 0 && end_field() && field_ == counts_.size(); }

private:
    bool end_field() {
        if (field_ >= counts_.size() || commas_ + 1 != counts_[field_]) return false;
        ++field_;
        commas_ = 0;
        return true;
    }

    std::span<const std::uint8_t> counts_;
    std::size_t field_ = 0;
    std::size_t commas_ = 0;
    std::uint64_t carry_digit_ = 0;
    std::uint64_t carry_cut_ = 1;  // the run starts as after a TAB
    std::uint64_t carry_minus_ = 0;
};

}  // namespace

bool integer_fields(std::string_view run, std::span<const std::uint8_t> counts) {
    FieldScan scan(counts);
    std::size_t i = 0;
    for (; i + 64 <= run.size(); i += 64) {
        if (!scan.block(classify(run.data() + i, '\t'), ~std::uint64_t{0}, 63)) return false;
    }
    if (i < run.size()) {
        char rest[64] = {};
        const std::size_t left = run.size() - i;
        std::memcpy(rest, run.data() + i, left);
        const std::uint64_t live = (std::uint64_t{1} << left) - 1;  // left is below 64
        if (!scan.block(classify(rest, '\t'), live, static_cast<int>(left) - 1)) return false;
    }
    return scan.finish();
}

long long item_count(std::string_view list) {
    bool minus = false;
    return item_count(list, minus);
}

long long item_count(std::string_view list, bool& minus) {
    ItemScan scan;
    std::size_t i = 0;
    for (; i + 64 <= list.size(); i += 64) {
        if (!scan.block(classify(list.data() + i, ' '))) return -1;
    }
    if (i < list.size()) {
        char rest[64];
        std::memset(rest, ' ', sizeof rest);  // blanks end the list as its end does
        std::memcpy(rest, list.data() + i, list.size() - i);
        if (!scan.block(classify(rest, ' '))) return -1;
    }
    minus = scan.minus();
    return scan.finish();
}

std::string shown(std::string_view text) {
    constexpr std::size_t kMost = 40;
    if (text.size() <= kMost) return std::string(text);
    return std::string(text.substr(0, kMost)) + "...";
}

bool NewIdLine::take(const std::vector<std::string_view>& p, std::size_t number, const char*& why) {
    why = nullptr;
    if (p.size() < 2 || p[1] != "%newid%") return false;
    if (!is_integer(p[0])) {
        why = "the %newid% counter is not a number";
        return true;
    }
    counter = integer_value(p[0]);
    line = number;
    return true;
}

void check_newid(Gathered& found, std::string_view file, std::size_t line, long long newid,
                 long long highest, std::string_view record) {
    if (line == 0 || newid > highest) return;
    const std::string kind(record);
    Repair repair{Repair::Edit::SetCounter, 0, highest + 1,
                  "raise the %newid% counter to " + std::to_string(highest + 1), ""};
    found.add(Problem::NewIdTooLow, file, line,
              "The %newid% counter " + std::to_string(newid) + " is not above the highest " + kind +
                  " id " + std::to_string(highest) + ": the next new " + kind +
                  " would take an id in use.",
              std::move(repair));
}

}  // namespace tavo::check
