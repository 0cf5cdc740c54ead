#include "refdata/weight.h"

#include "app/failure.h"
#include "app/numbers.h"
#include "app/text.h"
#include "refdata/item_db.h"
#include "refdata/job_classes.h"

namespace tavo {
namespace {

constexpr std::string_view kEnlargeWeightLimit = "36";

// The level of skill 36 in a skills field ("id,level " each, so the last piece is empty).
double enlarge_weight_level(std::string_view skills) {
    if (skills.empty()) return 0;
    std::size_t start = 0;
    for (std::size_t blank; (blank = skills.find(' ', start)) != std::string_view::npos;
         start = blank + 1) {
        const std::string_view entry = skills.substr(start, blank - start);
        if (piece(entry, ',', 0) == kEnlargeWeightLimit) {
            return leading_number(piece(entry, ',', 1));
        }
    }
    return 0;
}

std::string weight_caption(const char* what, std::int32_t weight, std::int32_t max_weight,
                           std::int32_t count, std::int32_t maxinventory) {
    return std::string("[") + what + " Weight : " + std::to_string(weight) + "/" +
           std::to_string(max_weight) + "] [Count : " + std::to_string(count) + "/" +
           std::to_string(maxinventory) + "]";
}

}  // namespace

std::int16_t item_weight(const ItemTable& items, std::int32_t nameid) {
    const ItemDbEntry* entry = items.find(nameid);
    return entry == nullptr ? 1 : to_i16(entry->weight);
}

bool is_merchant_class(std::int16_t class_id) {
    return contains("0005-0010-0018-4011-4019", zero_pad(class_id, 4));
}

std::int16_t compute_max_weight(Ui& ui, const JobClassTable& jobs, std::string_view class_levels,
                                std::string_view stats, std::string_view skills) {
    std::int16_t limit = 0;
    guarded(ui, "compute_max_weight", [&] {
        const std::int16_t class_id = to_i16(numeric_value(piece(class_levels, ',', 0)));
        const double str = leading_number(piece(stats, ',', 0));
        const bool merchant = is_merchant_class(class_id);
        const double level = merchant ? enlarge_weight_level(skills) : 0;
        limit = to_i16(get_base_weight(jobs, class_id) + 30 * str + 100 * level);
    });
    return limit;
}

std::string inventory_weight_caption(std::int32_t weight, std::int32_t max_weight,
                                     std::int32_t count, std::int32_t maxinventory) {
    return weight_caption("Inventory", weight, max_weight, count, maxinventory);
}

std::string cart_weight_caption(std::int32_t weight, std::int32_t max_weight, std::int32_t count,
                                std::int32_t maxinventory) {
    return weight_caption("Cart", weight, max_weight, count, maxinventory);
}

}  // namespace tavo
