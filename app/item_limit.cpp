#include "app/item_limit.h"

#include <algorithm>
#include <cctype>

#include "app/ui.h"

namespace tavo {

std::optional<std::size_t> items_to_write(Ui& ui, OnExcess policy, const std::string& list,
                                          std::size_t count, std::int32_t limit,
                                          const std::string& setting) {
    const auto most = static_cast<std::size_t>(std::max(limit, 0));
    if (count <= most) return count;
    const std::string beyond = std::to_string(count - most);
    const std::string held = list + " holds " + std::to_string(count) + " items, " + beyond +
                             " more than " + setting + " (" + std::to_string(most) + ")";
    switch (policy) {
        case OnExcess::Drop: return most;
        case OnExcess::Refuse:
            ui.error_report("Not written: " + held +
                            ", and saving would drop them. Add --drop-excess to drop them.");
            return std::nullopt;
        case OnExcess::Ask: break;
    }
    std::string question = held + ", which the server cannot hold.\r\nDrop the last " + beyond +
                           " items when saving? No keeps every item.";
    question[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(question[0])));
    return ui.ask_yes_no(question, "Tavo", Icon::Question) ? most : count;
}

}  // namespace tavo
