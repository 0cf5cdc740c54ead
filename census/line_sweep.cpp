#include "census/line_sweep.h"

#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tavo {
namespace {

constexpr std::size_t kTabs = CharacterFields::kCount;  // the 18 between fields, and one after

// The fields before the item lists are short: the TABs up to here are swept for, sixteen bytes
// at a time; the long lists after them are crossed by a search for the next TAB.
constexpr std::size_t kSwept = 15;

// The places of the first kTabs TABs of the line; how many there are, at most kTabs.
std::size_t find_tabs(std::string_view line, std::size_t (&tabs)[kTabs]) {
    std::size_t found = 0, i = 0;
    const char* data = line.data();
#if defined(__SSE2__)
    const __m128i tab = _mm_set1_epi8('\t');
    for (; i + 16 <= line.size() && found < kSwept; i += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
        auto mask = static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, tab)));
        while (mask != 0 && found < kSwept) {
            tabs[found++] = i + static_cast<std::size_t>(__builtin_ctz(mask));
            mask &= mask - 1;
        }
    }
    if (found > 0) i = tabs[found - 1] + 1;
#endif
    while (found < kTabs && i < line.size()) {
        const auto* next = static_cast<const char*>(std::memchr(data + i, '\t', line.size() - i));
        if (next == nullptr) break;
        tabs[found++] = static_cast<std::size_t>(next - data);
        i = tabs[found - 1] + 1;
    }
    return found;
}

}  // namespace

bool character_fields_swept(std::string_view line, CharacterFields& out) {
    std::size_t tabs[kTabs];
    const std::size_t found = find_tabs(line, tabs);
    if (found < kTabs - 1) return false;
    std::size_t start = 0;
    for (std::size_t i = 0; i < kTabs; ++i) {
        const std::size_t end = i < found ? tabs[i] : line.size();
        out.field[i] = line.substr(start, end - start);
        start = end + 1;
    }
    out.tail = found == kTabs ? std::optional<std::string_view>(line.substr(start)) : std::nullopt;
    return true;
}

std::size_t find_part(std::string_view text, std::string_view part, std::size_t from) {
    if (part.size() < 2 || from >= text.size()) return text.find(part, from);
    std::size_t i = from;
#if defined(__SSE2__)
    const char* data = text.data();
    const std::size_t last = part.size() - 1;
    const __m128i first_byte = _mm_set1_epi8(part.front());
    const __m128i second_byte = _mm_set1_epi8(part[1]);
    const __m128i last_byte = _mm_set1_epi8(part.back());
    for (; i + last + 16 <= text.size(); i += 16) {
        const __m128i firsts = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
        const __m128i seconds = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i + 1));
        const __m128i lasts = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i + last));
        auto mask = static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_and_si128(
            _mm_and_si128(_mm_cmpeq_epi8(firsts, first_byte), _mm_cmpeq_epi8(seconds, second_byte)),
            _mm_cmpeq_epi8(lasts, last_byte))));
        while (mask != 0) {
            const std::size_t at = i + static_cast<std::size_t>(__builtin_ctz(mask));
            // Item ids are a few digits: the bytes between are compared here, not by a call.
            std::size_t same = 2;
            while (same < last && data[at + same] == part[same]) ++same;
            if (same >= last) return at;
            mask &= mask - 1;
        }
    }
#endif
    return text.find(part, i);
}

}  // namespace tavo
