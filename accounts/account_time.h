#pragma once
// Validity and Ban hold seconds since 1970-01-01 00:00 UTC, 0 meaning no limit. The server
// compares them with its clock; these helpers let a date be read and typed beside the number.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tavo {

// A Validity or Ban text as the file should hold it: digits stay, "yyyy-mm-dd" becomes its
// seconds (midnight UTC), anything else stays as typed for the usual number check.
struct SecondsReading {
    std::string text;
    std::optional<std::string> problem;  // a value the field cannot hold, said in words
};
SecondsReading read_seconds_field(std::string_view label, std::string_view text);

// "= 2025-01-01 00:00" for a number of seconds, "unlimited" for 0, nothing for other text.
std::string seconds_caption(std::string_view text);

// A state's meaning at the server: 0 lets the account in, any other value refuses the login
// with that code less one.
std::string state_meaning(std::uint8_t state);

}  // namespace tavo
