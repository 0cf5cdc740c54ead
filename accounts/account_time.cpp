#include "accounts/account_time.h"

#include <charconv>
#include <cstdio>
#include <limits>

#include "app/text.h"

namespace tavo {
namespace {

constexpr std::int64_t kSecondsPerDay = 86400;
constexpr std::int64_t kLargest = std::numeric_limits<std::int32_t>::max();

// Days since 1970-01-01 of a date of the proleptic Gregorian calendar.
std::int64_t days_from_civil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

struct Civil {
    std::int64_t year;
    unsigned month, day;
};

Civil civil_from_days(std::int64_t z) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    return {static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2), m, d};
}

bool all_digits(std::string_view text) {
    if (text.empty()) return false;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

unsigned number_of(std::string_view digits) {
    unsigned value = 0;
    std::from_chars(digits.data(), digits.data() + digits.size(), value);
    return value;
}

unsigned days_in_month(std::int64_t year, unsigned month) {
    static constexpr unsigned kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

// "yyyy-mm-dd": the seconds of its midnight, or nothing when the text is not such a date.
std::optional<std::int64_t> date_seconds(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
    const std::string_view y = text.substr(0, 4), m = text.substr(5, 2), d = text.substr(8, 2);
    if (!all_digits(y) || !all_digits(m) || !all_digits(d)) return std::nullopt;
    const unsigned year = number_of(y), month = number_of(m), day = number_of(d);
    if (month < 1 || month > 12 || day < 1 || day > days_in_month(year, month)) {
        return std::nullopt;
    }
    return days_from_civil(year, month, day) * kSecondsPerDay;
}

std::string too_large(std::string_view label, std::string_view text) {
    return std::string(label) + " cannot hold " + std::string(text) +
           ": the latest it holds is 2147483647" + " (" + seconds_caption("2147483647").substr(2) +
           ").";
}

}  // namespace

SecondsReading read_seconds_field(std::string_view label, std::string_view text) {
    const std::string_view trimmed = trim_blanks(text);
    if (const std::optional<std::int64_t> date = date_seconds(trimmed)) {
        if (*date < 0 || *date > kLargest) return {std::string(text), too_large(label, trimmed)};
        return {std::to_string(*date), std::nullopt};
    }
    if (all_digits(trimmed)) {
        const std::size_t first = trimmed.find_first_not_of('0');
        const std::string_view significant =
            first == std::string_view::npos ? "0" : trimmed.substr(first);
        if (significant.size() > 10 || std::stoll(std::string(significant)) > kLargest) {
            return {std::string(text), too_large(label, trimmed)};
        }
    }
    return {std::string(text), std::nullopt};
}

std::string seconds_caption(std::string_view text) {
    const std::string_view trimmed = trim_blanks(text);
    std::int64_t seconds = 0;
    if (const std::optional<std::int64_t> date = date_seconds(trimmed)) {
        seconds = *date;
    } else if (all_digits(trimmed) && trimmed.size() <= 12) {
        seconds = std::stoll(std::string(trimmed));
    } else {
        return {};
    }
    if (seconds == 0) return "unlimited";
    const std::int64_t days = seconds / kSecondsPerDay, rest = seconds % kSecondsPerDay;
    const Civil date = civil_from_days(days);
    char out[96];
    std::snprintf(out, sizeof out, "= %04lld-%02u-%02u %02lld:%02lld",
                  static_cast<long long>(date.year), date.month, date.day,
                  static_cast<long long>(rest / 3600), static_cast<long long>(rest / 60 % 60));
    return out;
}

std::string state_meaning(std::uint8_t state) {
    switch (state) {
        case 0: return "The server lets the account log in.";
        case 1: return "Login refused: \"Unregistered ID\".";
        case 2: return "Login refused: \"Incorrect password\".";
        case 3: return "Login refused: the account has expired.";
        case 4: return "Login refused: rejected from the server.";
        case 5: return "Login refused: blocked by the GM team.";
        case 6: return "Login refused: the game client is not the latest version.";
        case 7: return "Login refused: prohibited until the date in \"Error Msg\".";
        case 8: return "Login refused: the server is over-populated.";
        default: break;
    }
    return "Login refused with error code " + std::to_string(state - 1) + ".";
}

}  // namespace tavo
