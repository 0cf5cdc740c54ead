#include "export/item_entry.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tavo::sqlx {
namespace {

struct Masks {
    std::uint64_t digit;
    std::uint64_t comma;
    std::uint64_t zero;
    std::uint64_t blank;
};

// Bit `shift` + i of each mask tells what byte i of the 32 is.
void classify(const char* bytes, int shift, Masks& m) {
#if defined(__SSE2__)
    const __m128i comma = _mm_set1_epi8(',');
    const __m128i zero = _mm_set1_epi8('0');
    const __m128i blank = _mm_set1_epi8(' ');
    // A digit is a byte whose distance above '0' is below 10, unsigned: bias both by 0x80 and
    // compare as signed.
    const __m128i bias = _mm_set1_epi8(static_cast<char>(0x80));
    const __m128i ten = _mm_set1_epi8(static_cast<char>(10 ^ 0x80));
    const auto bits = [](__m128i low, __m128i high) {
        return static_cast<std::uint64_t>(static_cast<std::uint16_t>(_mm_movemask_epi8(low))) |
               static_cast<std::uint64_t>(static_cast<std::uint16_t>(_mm_movemask_epi8(high)))
                   << 16;
    };
    const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes));
    const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + 16));
    const __m128i low_above = _mm_xor_si128(_mm_sub_epi8(low, zero), bias);
    const __m128i high_above = _mm_xor_si128(_mm_sub_epi8(high, zero), bias);
    m.digit |= bits(_mm_cmplt_epi8(low_above, ten), _mm_cmplt_epi8(high_above, ten)) << shift;
    m.comma |= bits(_mm_cmpeq_epi8(low, comma), _mm_cmpeq_epi8(high, comma)) << shift;
    m.zero |= bits(_mm_cmpeq_epi8(low, zero), _mm_cmpeq_epi8(high, zero)) << shift;
    m.blank |= bits(_mm_cmpeq_epi8(low, blank), _mm_cmpeq_epi8(high, blank)) << shift;
#else
    for (int i = 0; i < 32; ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        const std::uint64_t bit = std::uint64_t{1} << (shift + i);
        if (c - '0' < 10u) m.digit |= bit;
        if (c == ',') m.comma |= bit;
        if (c == '0') m.zero |= bit;
        if (c == ' ') m.blank |= bit;
    }
#endif
}

// The 32 bytes from `at` on, as blanks past `end`.
void classify_up_to(const char* at, const char* end, int shift, Masks& m) {
    if (end - at >= 32) {
        classify(at, shift, m);
        return;
    }
    char padded[32];
    const auto left = static_cast<std::size_t>(end - at);
    std::memcpy(padded, at, left);
    std::memset(padded + left, ' ', sizeof padded - left);
    classify(padded, shift, m);
}

}  // namespace

bool read_item_entry(const char* at, const char* end, ItemEntryText& out) {
    Masks m{};
    classify_up_to(at, end, 0, m);
    if (m.blank == 0) {
        // 32 bytes or more are left: an entry that ends at `end` finds it as a blank here.
        classify_up_to(at + 32, end, 32, m);
        if (m.blank == 0) return false;
    }
    const auto length = static_cast<std::size_t>(__builtin_ctzll(m.blank));
    const std::uint64_t entry = (std::uint64_t{1} << length) - 1;
    if (((m.digit | m.comma) & entry) != entry) return false;
    const std::uint64_t digit = m.digit & entry;
    // A 0 that begins a number of more digits.
    if ((digit & ~(digit << 1) & m.zero & (digit >> 1)) != 0) return false;
    std::uint64_t commas = m.comma & entry;
    std::size_t from = 0;
    std::size_t count = 0;
    for (;;) {
        const std::size_t to =
            commas != 0 ? static_cast<std::size_t>(__builtin_ctzll(commas)) : length;
        if (to == from || count == 12) return false;  // an empty number, or too many
        out.start[count] = static_cast<std::uint8_t>(from);
        out.digits[count] = static_cast<std::uint8_t>(to - from);
        ++count;
        if (commas == 0) break;
        commas &= commas - 1;
        from = to + 1;
    }
    if (count < 11) return false;
    out.length = length;
    out.count = count;
    return true;
}

}  // namespace tavo::sqlx
