#include "refdata/battle_config.h"

#include "app/failure.h"
#include "app/numbers.h"
#include "app/settings.h"
#include "app/text.h"
#include "app/text_file.h"

namespace tavo {
namespace {

std::string_view trim_key(std::string_view key) {
    while (!key.empty() && (key.front() == ' ' || key.front() == '\t')) key.remove_prefix(1);
    while (!key.empty() && (key.back() == ' ' || key.back() == '\t')) key.remove_suffix(1);
    return key;
}

}  // namespace

void load_some_battle_var(const AppContext& app, Ui& ui, BattleLimits& limits) {
    limits = BattleLimits{};
    guarded(ui, "load_some_battle_var", [&] {
        const fs::path path = app.server_file("conf/battle_athena.conf");
        if (!has_content(path)) return;
        LineReader reader(path);
        std::string_view line;
        while (reader.next(line)) {
            const std::size_t colon = line.find(':');
            if (colon == std::string_view::npos) continue;
            const std::string key = to_lower(trim_key(line.substr(0, colon)));
            const std::string_view value = piece(line.substr(colon + 1), ':', 0);
            if (key == "max_cart_weight") {
                limits.max_cart_weight = leading_i32(value);
            } else if (key == "max_parameter") {
                limits.max_parameter = leading_i32(value);
            }
        }
    });
}

}  // namespace tavo
