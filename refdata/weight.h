#pragma once
// Item weights, the inventory weight limit and the weight summaries above the inventory and
// cart lists. All weights are whole units (the server's tenths divided by 10).

#include <cstdint>
#include <string>
#include <string_view>

namespace tavo {

class ItemTable;
struct JobClassTable;
class Ui;

// The weight of the first item-table entry with that number; 1 when there is none.
std::int16_t item_weight(const ItemTable& items, std::int32_t nameid);

// The inventory weight limit of a character from its line's fields 3 (class and levels),
// 6 (stats) and 17 (skills): the class's base weight + 30 per STR, and for the merchant
// classes 100 per level of Enlarge Weight Limit (skill 36). A failure is reported
// ("in compute_max_weight") and gives 0.
std::int16_t compute_max_weight(Ui& ui, const JobClassTable& jobs, std::string_view class_levels,
                                std::string_view stats, std::string_view skills);

// True for the classes that learn Enlarge Weight Limit: 5, 10, 18, 4011 and 4019.
bool is_merchant_class(std::int16_t class_id);

// "[Inventory Weight : w/max] [Count : n/maxinventory]" and the cart's "[Cart Weight : ...]".
std::string inventory_weight_caption(std::int32_t weight, std::int32_t max_weight,
                                     std::int32_t count, std::int32_t maxinventory);
std::string cart_weight_caption(std::int32_t weight, std::int32_t max_weight, std::int32_t count,
                                std::int32_t maxinventory);

}  // namespace tavo
