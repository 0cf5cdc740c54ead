#include "items/forgers.h"

#include "accounts/gm_levels.h"
#include "app/failure.h"
#include "app/numbers.h"
#include "app/settings.h"
#include "app/text_file.h"

namespace tavo {
namespace {

fs::path athena_of(const AppContext& app) {
    return app.server_file("save/athena.txt");
}

}  // namespace

std::string forger_entry(std::int32_t char_id, std::string_view name) {
    std::string entry(1, '[');
    entry += std::to_string(static_cast<long long>(char_id) - kForgerKeyBase);
    return entry.append("] ").append(name);
}

bool is_forging_class(std::int32_t class_id) {
    return class_id == 10 || class_id == 18 || class_id == 4011 || class_id == 4019;
}

ForgerList::ForgerList() : entries_{{0, "[00000] None"}} {}

bool ForgerList::load(const AppContext& app, Ui& ui, CachedIndex<CharacterIndex>& characters) {
    entries_ = {{0, "[00000] None"}};
    filled_ = true;
    const fs::path athena = athena_of(app);
    stamp_ = stamp_of(athena);
    if (!has_content(athena)) return true;
    std::optional<Failure> gm_failure;
    const bool done = guarded(ui, "load_forger", [&] {
        const CharacterIndex& index = characters.get(athena, CharacterIndex::build);
        const GmLevels gm = GmLevels::read(app);
        // An unreadable GM file leaves only the forging classes, reported once below.
        const auto is_gm = [&](double account_id) {
            try {
                return gm.level_of(to_i32(account_id)) > 0;
            } catch (const Failure& failure) {
                if (!gm_failure) gm_failure = failure;
                return false;
            }
        };
        for (const CharacterEntry& e : index.entries()) {
            const double class_id = leading_number(index.class_text(e));
            if (is_forging_class(static_cast<std::int32_t>(class_id)) || is_gm(e.account_id)) {
                const std::int32_t id = to_i32(e.char_id);
                entries_.push_back({id, forger_entry(id, index.name(e))});
            }
        }
    });
    if (gm_failure) show_error_report(ui, *gm_failure, "load_forger");
    return done && !gm_failure;
}

bool ForgerList::refresh(const AppContext& app, Ui& ui, CachedIndex<CharacterIndex>& characters) {
    if (filled_ && stamp_of(athena_of(app)) == stamp_) return false;
    load(app, ui, characters);
    return true;
}

int ForgerList::line_of(std::int32_t char_id) const {
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (entries_[i].char_id == char_id) return static_cast<int>(i);
    }
    return -1;
}

int ForgerList::add_unlisted(std::int32_t char_id, std::string_view name) {
    entries_.push_back({char_id, forger_entry(char_id, name)});
    return static_cast<int>(entries_.size()) - 1;
}

}  // namespace tavo
