#include "export/sql_text.h"

#include <array>
#include <charconv>
#include <initializer_list>
#include <utility>

namespace tavo {
namespace {

// MariaDB's sort order of latin1_swedish_ci: ASCII letters without case, the accented letters
// of Latin-1 on their base letter, Å Ä Æ Ö Ø after Z as Swedish sorts them.
constexpr unsigned char kWeights[256] = {
    0,   1,   2,   3,   4,   5,   6,   7,   8,   9,   10,  11,  12,  13,  14,  15,  16,  17,  18,
    19,  20,  21,  22,  23,  24,  25,  26,  27,  28,  29,  30,  31,  32,  33,  34,  35,  36,  37,
    38,  39,  40,  41,  42,  43,  44,  45,  46,  47,  48,  49,  50,  51,  52,  53,  54,  55,  56,
    57,  58,  59,  60,  61,  62,  63,  64,  65,  66,  67,  68,  69,  70,  71,  72,  73,  74,  75,
    76,  77,  78,  79,  80,  81,  82,  83,  84,  85,  86,  87,  88,  89,  90,  91,  92,  93,  94,
    95,  96,  65,  66,  67,  68,  69,  70,  71,  72,  73,  74,  75,  76,  77,  78,  79,  80,  81,
    82,  83,  84,  85,  86,  87,  88,  89,  90,  123, 124, 125, 126, 127, 128, 129, 130, 131, 132,
    133, 134, 135, 136, 137, 138, 139, 140, 141, 142, 143, 144, 145, 146, 147, 148, 149, 150, 151,
    152, 153, 154, 155, 156, 157, 158, 159, 160, 161, 162, 163, 164, 165, 166, 167, 168, 169, 170,
    171, 172, 173, 174, 175, 176, 177, 178, 179, 180, 181, 182, 183, 184, 185, 186, 187, 188, 189,
    190, 191, 65,  65,  65,  65,  92,  91,  92,  67,  69,  69,  69,  69,  73,  73,  73,  73,  68,
    78,  79,  79,  79,  79,  93,  215, 216, 85,  85,  85,  89,  89,  222, 223, 65,  65,  65,  65,
    92,  91,  92,  67,  69,  69,  69,  69,  73,  73,  73,  73,  68,  78,  79,  79,  79,  79,  93,
    247, 216, 85,  85,  85,  89,  89,  222, 255,
};

// The letter after the backslash of each byte that is escaped; 0 for the others.
constexpr std::array<char, 256> escape_table(std::initializer_list<std::pair<char, char>> pairs) {
    std::array<char, 256> escapes{};
    for (const auto& [byte, letter] : pairs) escapes[static_cast<unsigned char>(byte)] = letter;
    return escapes;
}

// In a string literal.
constexpr auto kEscapes = escape_table(
    {{'\'', '\''}, {'\\', '\\'}, {'\0', '0'}, {'\n', 'n'}, {'\r', 'r'}, {'\x1a', 'Z'}});
// In a field of LOAD DATA.
constexpr auto kFieldEscapes =
    escape_table({{'\\', '\\'}, {'\t', 't'}, {'\0', '0'}, {'\n', 'n'}, {'\r', 'r'}});

char* write_escaped(char* out, std::string_view bytes, const std::array<char, 256>& escapes) {
    for (const char c : bytes) {
        const char escape = escapes[static_cast<unsigned char>(c)];
        if (escape != 0) {
            *out++ = '\\';
            *out++ = escape;
        } else {
            *out++ = c;
        }
    }
    return out;
}

bool digits(std::string_view text, std::size_t at, std::size_t count, int& value) {
    value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (i >= text.size() || text[i] < '0' || text[i] > '9') return false;
        value = value * 10 + (text[i] - '0');
    }
    return true;
}

bool leap(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int days_in(int year, int month) {
    constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && leap(year) ? 29 : kDays[month - 1];
}

}  // namespace

char* write_sql_string(char* out, std::string_view bytes) {
    *out++ = '\'';
    out = write_escaped(out, bytes, kEscapes);
    *out++ = '\'';
    return out;
}

char* write_load_field(char* out, std::string_view bytes) {
    return write_escaped(out, bytes, kFieldEscapes);
}

void append_sql_string(std::string& out, std::string_view bytes) {
    const std::size_t before = out.size();
    out.resize(before + 2 * bytes.size() + 2);
    out.resize(static_cast<std::size_t>(write_sql_string(out.data() + before, bytes) - out.data()));
}

std::optional<std::string_view> sql_datetime(std::string_view text) {
    if (text == "-") return "0000-00-00 00:00:00";
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, fraction = 0;
    if (text.size() < 19 || !digits(text, 0, 4, year) || text[4] != '-' ||
        !digits(text, 5, 2, month) || text[7] != '-' || !digits(text, 8, 2, day) ||
        text[10] != ' ' || !digits(text, 11, 2, hour) || text[13] != ':' ||
        !digits(text, 14, 2, minute) || text[16] != ':' || !digits(text, 17, 2, second)) {
        return std::nullopt;
    }
    if (text.size() > 19 &&
        (text[19] != '.' || text.size() == 20 || !digits(text, 20, text.size() - 20, fraction))) {
        return std::nullopt;
    }
    const bool zero = year == 0 && month == 0 && day == 0;
    if (!zero &&
        (year < 1000 || month < 1 || month > 12 || day < 1 || day > days_in(year, month))) {
        return std::nullopt;
    }
    if (hour > 23 || minute > 59 || second > 59) return std::nullopt;
    return text.substr(0, 19);
}

unsigned char latin1_ci_weight(unsigned char byte) {
    return kWeights[byte];
}

std::string latin1_ci_key(std::string_view text) {
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    std::string key(text.size(), '\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        key[i] = static_cast<char>(kWeights[static_cast<unsigned char>(text[i])]);
    }
    return key;
}

bool same_latin1_ci_key(std::string_view a, std::string_view b) {
    while (!a.empty() && a.back() == ' ') a.remove_suffix(1);
    while (!b.empty() && b.back() == ' ') b.remove_suffix(1);
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (kWeights[static_cast<unsigned char>(a[i])] !=
            kWeights[static_cast<unsigned char>(b[i])]) {
            return false;
        }
    }
    return true;
}

}  // namespace tavo
