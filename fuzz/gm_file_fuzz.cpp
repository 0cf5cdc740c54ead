// conf/GM_account.txt: the levels read, and one account's level set the way the account tab
// does. The account gets its level, and no other account's rights change.

#include <optional>

#include "accounts/gm_levels.h"
#include "app/numbers.h"
#include "app/text.h"
#include "fuzz/fuzz_support.h"

namespace {

using tavo::GmLevels;

// The level, or the failure number the lookup ends with.
int outcome(const GmLevels& levels, std::int32_t id) {
    try {
        return levels.level_of(id);
    } catch (const tavo::Failure& failure) {
        return -failure.number();
    }
}

std::optional<std::int32_t> id_near(double value, int step) {
    const auto id = tavo::as_i32(value);
    if (!id || (step > 0 && *id == INT32_MAX) || (step < 0 && *id == INT32_MIN)) return id;
    return *id + step;
}

// Ids around the bounds of the first entries: where a split goes wrong.
std::vector<std::int32_t> probe_ids(const std::vector<std::string>& lines) {
    std::vector<std::int32_t> ids{0, 2000000};
    for (const std::string& line : lines) {
        if (line.empty() || line.starts_with("//")) continue;
        const std::string_view field = tavo::piece(line, ' ', 0);
        for (char separator : {'-', '~'}) {
            for (std::size_t part = 0; part < 2; ++part) {
                const double bound = tavo::leading_number(tavo::piece(field, separator, part));
                for (int step : {-1, 0, 1}) {
                    if (auto id = id_near(bound, step)) ids.push_back(*id);
                }
            }
        }
        if (ids.size() > 40) break;
    }
    return ids;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> lines;
    for (std::string_view line : tavo::fuzz::lines_of(tavo::fuzz::text_of(data, size))) {
        lines.emplace_back(line);
    }
    const GmLevels before = GmLevels::parse(lines);
    const std::vector<std::int32_t> ids = probe_ids(lines);
    for (std::size_t k = 0; k < ids.size() && k < 8; ++k) {
        const std::int32_t id = ids[k];
        const auto level = static_cast<std::uint8_t>((size + 37 * k) % 256);
        std::vector<std::string> changed;
        try {
            changed = tavo::set_gm_level_lines(lines, id, level);
        } catch (const tavo::Failure&) {
            continue;  // a matching range without a level: the file is left as it was
        }
        const GmLevels after = GmLevels::parse(changed);
        FUZZ_CHECK(outcome(after, id) == level);
        for (std::int32_t other : ids) {
            if (other != id) FUZZ_CHECK(outcome(after, other) == outcome(before, other));
        }
    }
    return 0;
}
