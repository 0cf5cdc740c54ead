#include "app/numbers.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "app/failure.h"

namespace tavo {
namespace {

bool is_digit(char c) {
    return c >= '0' && c <= '9';
}
bool is_blank(char c) {
    return c == ' ' || c == '\t';
}

// Length of the number at the start of text (sign, digits, fraction, exponent), 0 if none.
std::size_t number_length(std::string_view text, bool& integral) {
    std::size_t i = 0;
    integral = true;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    std::size_t digits = 0;
    while (i < text.size() && is_digit(text[i])) ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        std::size_t j = i + 1, fraction = 0;
        while (j < text.size() && is_digit(text[j])) ++j, ++fraction;
        if (digits + fraction > 0) {
            integral = false;
            i = j;
            digits += fraction;
        }
    }
    if (digits == 0) return 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
        std::size_t exponent_digits = 0;
        while (j < text.size() && is_digit(text[j])) ++j, ++exponent_digits;
        if (exponent_digits > 0) {
            integral = false;
            i = j;
        }
    }
    return i;
}

double parse_number(std::string_view number, bool integral) {
    if (number.front() == '+') number.remove_prefix(1);
    if (integral && number.size() <= 18) {
        long long whole = 0;
        std::from_chars(number.data(), number.data() + number.size(), whole);
        return static_cast<double>(whole);
    }
    double value = 0;
    std::from_chars(number.data(), number.data() + number.size(), value);
    return value;
}

std::string_view skip_blanks(std::string_view text) {
    while (!text.empty() && is_blank(text.front())) text.remove_prefix(1);
    return text;
}

template <class Int>
Int narrow(double value) {
    const double rounded = round_half_even(value);
    if (!(rounded >= static_cast<double>(std::numeric_limits<Int>::min()) &&
          rounded <= static_cast<double>(std::numeric_limits<Int>::max()))) {
        throw Failure(err::kOverflow);
    }
    return static_cast<Int>(rounded);
}

}  // namespace

double leading_number(std::string_view text) {
    text = skip_blanks(text);
    bool integral = true;
    const std::size_t length = number_length(text, integral);
    if (length == 0) return 0;
    return parse_number(text.substr(0, length), integral);
}

bool is_numeric(std::string_view text) {
    text = skip_blanks(text);
    bool integral = true;
    const std::size_t length = number_length(text, integral);
    if (length == 0) return false;
    return skip_blanks(text.substr(length)).empty();
}

double numeric_value(std::string_view text) {
    if (!is_numeric(text)) throw Failure(err::kTypeMismatch);
    return leading_number(text);
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

std::optional<long long> integer_in(std::string_view text, long long low, long long high) {
    if (!is_integer(text)) return std::nullopt;
    const long long value = integer_value(text);
    if (value < low || value > high) return std::nullopt;
    return value;
}

double round_half_even(double value) {
    const double floor = std::floor(value);
    const double diff = value - floor;
    if (diff < 0.5) return floor;
    if (diff > 0.5) return floor + 1;
    return std::fmod(floor, 2.0) == 0 ? floor : floor + 1;
}

std::int32_t to_i32(double value) {
    return narrow<std::int32_t>(value);
}
std::optional<std::int32_t> as_i32(double value) {
    const double rounded = round_half_even(value);
    if (!(rounded >= INT32_MIN && rounded <= INT32_MAX)) return std::nullopt;
    return static_cast<std::int32_t>(rounded);
}

std::int16_t to_i16(double value) {
    return narrow<std::int16_t>(value);
}
std::uint8_t to_u8(double value) {
    return narrow<std::uint8_t>(value);
}
std::uint16_t to_u16(double value) {
    return narrow<std::uint16_t>(value);
}

std::string zero_pad(long long value, int width) {
    std::string digits = std::to_string(value < 0 ? -value : value);
    if (static_cast<int>(digits.size()) < width) digits.insert(0, width - digits.size(), '0');
    return value < 0 ? "-" + digits : digits;
}

}  // namespace tavo
