#pragma once
// Temporary: the reference lookups the character file needs, until the tables arrive.
#include <cstdint>
#include <string>
#include <string_view>

#include "refdata/refdata.h"

namespace tavo {
class Ui;
inline std::int32_t item_weight(const RefData&, std::int32_t) {
    return 1;
}
inline std::int32_t compute_max_weight(Ui&, const RefData&, std::string_view, std::string_view,
                                       std::string_view) {
    return 0;
}
inline std::string job_name_of(const RefData&, std::int16_t id) {
    return "unknown:" + std::to_string(id);
}
}  // namespace tavo
