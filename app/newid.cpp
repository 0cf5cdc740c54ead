#include "app/newid.h"

#include <cmath>

#include "app/numbers.h"
#include "app/text.h"

namespace tavo {

std::optional<long long> newid_counter(std::string_view line) {
    if (piece(line, '\t', 1) != "%newid%") return std::nullopt;
    const double value = leading_number(piece(line, '\t', 0));
    // A counter beyond any id the server hands out is kept at the largest one it can read.
    if (!(value >= 0)) return 0;
    return value >= 2147483647.0 ? 2147483647LL : static_cast<long long>(std::floor(value));
}

bool NewIdCounter::take(std::string_view line) {
    const std::optional<long long> counter = newid_counter(line);
    if (!counter) return false;
    counter_ = seen_ ? std::max(counter_, *counter) : *counter;
    seen_ = true;
    return true;
}

std::string NewIdCounter::line_after_read(double highest) const {
    constexpr double kHighestId = 2147483647;
    return line_after(static_cast<long long>(std::clamp(highest, 0.0, kHighestId - 1)));
}

std::string NewIdCounter::line_after(long long highest) const {
    return std::to_string(std::max(highest + 1, counter_)) + "\t%newid%";
}

}  // namespace tavo
