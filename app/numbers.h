#pragma once
// Numbers as the server's text files hold them: one lenient leading-number parser, one strict
// numeric test, rounding half to even, and narrowing that fails with Overflow.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tavo {

// The leading decimal number of a text: leading blanks skipped, an optional sign, digits with
// an optional fraction and exponent; reading stops at the first character that cannot continue
// the number. A text that does not start with a number reads as 0.
double leading_number(std::string_view text);

// True when the whole text, blanks around it allowed, is one decimal number.
bool is_numeric(std::string_view text);
// The value of a text that must be numeric; fails with Type mismatch otherwise.
double numeric_value(std::string_view text);

// A whole number in decimal digits, an optional minus first; nothing else: no blanks, no
// fraction or exponent, no base prefix ("010" is ten, never eight).
bool is_integer(std::string_view text);
// The value of an integer text (is_integer already checked); big values saturate.
long long integer_value(std::string_view text);
// The value of a text that is an integer from low to high; nothing for any other text.
std::optional<long long> integer_in(std::string_view text, long long low, long long high);

// Nearest whole number, an exact half going to the even neighbour (2.5 gives 2, 3.5 gives 4).
double round_half_even(double value);

// Rounded (half to even) and narrowed to the field's width; fails with Overflow when the
// value does not fit.
std::int32_t to_i32(double value);
std::int16_t to_i16(double value);
std::uint8_t to_u8(double value);
std::uint16_t to_u16(double value);

// As to_i32, but nothing instead of a failure: for values typed into the window.
std::optional<std::int32_t> as_i32(double value);

inline std::int32_t leading_i32(std::string_view text) {
    return to_i32(leading_number(text));
}
inline std::int16_t leading_i16(std::string_view text) {
    return to_i16(leading_number(text));
}
inline std::uint8_t leading_u8(std::string_view text) {
    return to_u8(leading_number(text));
}

// A whole number written with at least `width` digits, zero-padded ("0005"; -5 gives "-005").
std::string zero_pad(long long value, int width);

}  // namespace tavo
