#pragma once
// Small text helpers for the server's line formats. Texts are bytes; nothing is transcoded.

#include <string>
#include <string_view>
#include <vector>

namespace tavo {

// Every piece between separators, empty pieces included ("a,,b," gives a, "", b, "").
std::vector<std::string_view> split(std::string_view text, char separator);
void split_into(std::string_view text, char separator, std::vector<std::string_view>& pieces);

// The piece at `index` of text split at separator, or an empty view when there are fewer.
std::string_view piece(std::string_view text, char separator, std::size_t index);

std::string to_lower(std::string_view text);  // ASCII letters only
std::string_view trim_blanks(std::string_view text);
bool contains(std::string_view text, std::string_view part);
// Whether text holds part, ASCII letter case ignored; part is already in lower case.
bool holds_ignoring_case(std::string_view text, std::string_view part);

// "1 item", "4 items": a count and its thing, in the plural when the count is not 1.
std::string counted(long long count, std::string_view thing);
// "-1,234,567": a whole number with its digits grouped by three.
std::string grouped(long long value, std::string_view separator);

// The characters that break a line of a server file: TAB, CR and LF.
bool has_line_breaker(std::string_view value);

// A line without the CR it may end with (read before a CR LF). A record rebuilt from its
// fields starts from this; the CR would otherwise land inside the rebuilt line and split it.
inline std::string_view without_last_cr(std::string_view line) {
    return line.ends_with('\r') ? line.substr(0, line.size() - 1) : line;
}

// Calls f with each entry of a blank-separated list (items, skills, variables) in order, empty
// ones left out, without copying; stops when f returns false. False when it stopped.
template <typename F>
bool each_entry(std::string_view list, F&& f) {
    std::size_t start = 0;
    while (start < list.size()) {
        std::size_t end = list.find(' ', start);
        if (end == std::string_view::npos) end = list.size();
        const std::string_view entry = list.substr(start, end - start);
        start = end + 1;
        if (!entry.empty() && !f(entry)) return false;
    }
    return true;
}

}  // namespace tavo
