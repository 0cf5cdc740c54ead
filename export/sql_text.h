#pragma once
// How the bytes of the server's files become SQL text: string literals escaped byte by byte (the
// legacy code page goes across unchanged over a latin1 connection), numbers, dates, and the way
// MariaDB's latin1_swedish_ci compares keys, which is what decides whether two texts collide in a
// unique key.

#include <charconv>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tavo {

// 'text' with ', \, NUL, LF, CR and Ctrl-Z escaped; every other byte as it is.
void append_sql_string(std::string& out, std::string_view bytes);
// The same written at `out`, which has room for 2 * size + 2 bytes; returns the end.
char* write_sql_string(char* out, std::string_view bytes);
// A field of LOAD DATA's tab-separated lines, written at `out`, which has room for 2 * size
// bytes; returns the end. A backslash, TAB, LF, CR and NUL are escaped with a backslash, which
// also keeps a text "\N" from reading as NULL; every other byte as it is.
char* write_load_field(char* out, std::string_view bytes);
// The most bytes a number takes as text.
constexpr std::size_t kSqlNumberBytes = 20;
inline char* write_sql_number(char* out, long long value) {
    return std::to_chars(out, out + kSqlNumberBytes, value).ptr;
}
inline void append_sql_number(std::string& out, long long value) {
    char digits[kSqlNumberBytes];
    out.append(digits, write_sql_number(digits, value));
}

// The login time of account.txt ("2004-11-02 18:03:11.120") as a DATETIME text without its
// fraction; "-" is the column's zero date. Nothing for a text that is no date MariaDB takes.
std::optional<std::string_view> sql_datetime(std::string_view login_time);

// The key a text has under latin1_swedish_ci: letters without case and most accents, trailing
// blanks ignored. Two texts with the same key are one in a unique key.
std::string latin1_ci_key(std::string_view text);
// Whether the two texts have the same key.
bool same_latin1_ci_key(std::string_view a, std::string_view b);
// The weight latin1_swedish_ci gives one byte.
unsigned char latin1_ci_weight(unsigned char byte);

}  // namespace tavo
