#include "pages/overview_page.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "app/numbers.h"
#include "app/text.h"
#include "characters/profile.h"
#include "items/item_naming.h"
#include "workspace/naming.h"
#include "workspace/workspace.h"

namespace tavo {
namespace {

std::string percent_text(double share) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f%%", share * 100);
    return text;
}

std::string_view rank_word(RankBy by) {
    switch (by) {
        case RankBy::Zeny: return "zeny";
        case RankBy::Level: return "level";
        case RankBy::Exp: return "experience";
    }
    return {};
}

// A median is a whole number or lies halfway between two.
std::string median_text(double median, std::string_view separator) {
    const long long halves = std::llround(median * 2);
    const std::string sign = halves < 0 && halves > -2 ? "-" : "";
    return sign + grouped(halves / 2, separator) + (halves % 2 != 0 ? ".5" : "");
}

std::string heading_of(RankBy by) {
    std::string word(rank_word(by));
    word[0] = static_cast<char>(word[0] - 'a' + 'A');
    return word;
}

}  // namespace

std::string_view held_in_text(HeldIn place) {
    switch (place) {
        case HeldIn::Inventory: return "Inventory";
        case HeldIn::Cart: return "Cart";
        case HeldIn::Store: return "Store";
        case HeldIn::GuildStorage: return "Guild storage";
    }
    return {};
}

std::string ranked_value_text(RankBy by, long long value, std::string_view separator) {
    if (by != RankBy::Level) return grouped(value, separator);
    return std::to_string(value / 1000) + "/" + std::to_string(value % 1000);
}

std::vector<std::pair<std::string, long long>> level_groups(const CharacterFigures& c) {
    std::vector<std::pair<std::string, long long>> groups;
    long long group = -1;
    for (const auto& [level, count] : c.by_level) {
        const long long at = level <= 0 ? 0 : level / 10 * 10;
        if (groups.empty() || at != group) {
            group = at;
            std::string label = level <= 0 ? "0"
                                           : std::to_string(std::max<long long>(at, 1)) + "-" +
                                                 std::to_string(at + 9);
            groups.emplace_back(std::move(label), 0);
        }
        groups.back().second += count;
    }
    return groups;
}

OverviewPage::OverviewPage(Workspace& ws, Ui& ui) : ws_(ws), ui_(ui) {}

std::string OverviewPage::number(long long value) const {
    return grouped(value, separator_);
}

CensusOptions OverviewPage::census_options(std::int64_t now) const {
    CensusOptions options;
    options.folder = ws_.app.settings.data_folder;
    options.now = now;
    return options;
}

std::string OverviewPage::progress_text(long long lines) const {
    return "Overview: Reading " + number(lines) + " lines";
}

void OverviewPage::filling_stopped() {
    state_ = sections_.empty() ? OverviewState::Empty : OverviewState::Filled;
}

void OverviewPage::take_figures(const ServerFigures& figures) {
    sections_ = {activity(figures.accounts), classes(figures.characters), economy(figures),
                 groups(figures.groups)};
    notice_ = notes_text(figures.notes);
    state_ = OverviewState::Filled;
}

OverviewChart OverviewPage::count_chart(std::string title, std::string heading) const {
    return OverviewChart{std::move(title), {std::move(heading), "Count"}, {}, true};
}

void OverviewPage::add_bar(OverviewChart& chart, std::string label, long long count) const {
    std::vector<std::string> cells{label, number(count)};
    chart.bars.push_back({std::move(label), static_cast<double>(count), std::move(cells), {}});
}

OverviewSection OverviewPage::activity(const AccountFigures& a) const {
    OverviewSection section{"Activity", {}, {}};
    section.facts = {
        {"Accounts", number(a.accounts)}, {"Server accounts", number(a.server_accounts)},
        {"Players", number(a.players)},   {"Never logged in", number(a.never_logged_in)},
        {"Banned", number(a.banned)},     {"Expired", number(a.expired)}};
    OverviewChart months = count_chart("Players by month of last login", "Month");
    for (const auto& [month, count] : a.by_month) add_bar(months, month, count);
    add_bar(months, "Never", a.never_logged_in);
    OverviewChart standing = count_chart("Players by standing", "Standing");
    add_bar(standing, "Players", a.players);
    add_bar(standing, "Never logged in", a.never_logged_in);
    add_bar(standing, "Banned", a.banned);
    add_bar(standing, "Expired", a.expired);
    section.charts = {std::move(months), std::move(standing)};
    return section;
}

OverviewSection OverviewPage::classes(const CharacterFigures& c) const {
    OverviewSection section{"Classes and levels", {{"Characters", number(c.characters)}}, {}};
    OverviewChart families = count_chart("Characters by job family", "Job family");
    for (std::size_t i = 0; i < kJobFamilies; ++i) {
        if (c.by_family[i] == 0) continue;
        add_bar(families, std::string(job_family_name(static_cast<JobFamily>(i))), c.by_family[i]);
    }
    OverviewChart classes = count_chart("Characters by class", "Class");
    for (const auto& [class_id, count] : c.by_class) {
        add_bar(classes,
                class_id == kOtherClass ? "Other classes" : get_job_name(ws_.ref.jobs, class_id),
                count);
    }
    OverviewChart levels = count_chart("Characters by base level", "Base level");
    for (const auto& [label, count] : level_groups(c)) add_bar(levels, label, count);
    section.charts = {std::move(families), std::move(classes), std::move(levels)};
    return section;
}

OverviewSection OverviewPage::economy(const ServerFigures& f) const {
    const EconomyFigures& e = f.economy;
    OverviewSection section{"Economy", {}, {}};
    const double share =
        e.zeny > 0 ? static_cast<double>(e.top_percent_zeny) / static_cast<double>(e.zeny) : 0;
    section.facts = {{"Zeny in circulation", number(e.zeny)},
                     {"Median zeny of a character", median_text(e.median, separator_)},
                     {"Held by the richest 1% (" + number(e.top_percent_characters) +
                          (e.top_percent_characters == 1 ? " character)" : " characters)"),
                      number(e.top_percent_zeny) + " (" + percent_text(share) + ")"}};
    OverviewChart held = count_chart("Zeny held", "Held by");
    add_bar(held, "The richest 1%", e.top_percent_zeny);
    add_bar(held, "Everyone else", e.zeny - e.top_percent_zeny);
    held.headings.back() = "Zeny";
    const std::string word(rank_word(f.rank_by));
    const std::string heading = heading_of(f.rank_by);
    OverviewChart characters{
        "Top characters by " + word, {"#", "Character", "Id", "Account", heading}, {}, true};
    for (std::size_t i = 0; i < f.top_characters.size(); ++i) {
        const Ranked& r = f.top_characters[i];
        characters.bars.push_back(
            {r.name,
             static_cast<double>(r.value),
             {std::to_string(i + 1), r.name, std::to_string(r.id), std::to_string(r.account_id),
              ranked_value_text(f.rank_by, r.value, separator_)},
             OverviewTarget{r.account_id, r.id, OverviewOpens::CharProfile, {}}});
    }
    OverviewChart accounts{
        "Top accounts by " + word, {"#", "Account", "Id", "Characters", heading}, {}, true};
    for (std::size_t i = 0; i < f.top_accounts.size(); ++i) {
        const Ranked& r = f.top_accounts[i];
        accounts.bars.push_back(
            {r.name.empty() ? std::to_string(r.id) : r.name,
             static_cast<double>(r.value),
             {std::to_string(i + 1), r.name, std::to_string(r.id), number(r.characters),
              ranked_value_text(f.rank_by, r.value, separator_)},
             OverviewTarget{r.id, 0, OverviewOpens::UserInfo, {}}});
    }
    section.charts = {std::move(held), std::move(characters), std::move(accounts)};
    return section;
}

OverviewSection OverviewPage::groups(const GroupFigures& g) const {
    OverviewSection section{"Guilds and parties", {}, {}};
    section.facts = {{"Guilds", number(g.guilds)},
                     {"Castles held", number(static_cast<long long>(g.castles.size()))},
                     {"Parties", number(g.parties)}};
    OverviewChart members = count_chart("Guilds by members", "Members");
    for (const auto& [count, guilds] : g.guilds_by_members) {
        add_bar(members, std::to_string(count), guilds);
    }
    OverviewChart levels = count_chart("Guilds by level", "Level");
    for (const auto& [level, guilds] : g.guilds_by_level) {
        add_bar(levels, std::to_string(level), guilds);
    }
    OverviewChart largest{"Largest guilds", {"#", "Guild", "Id", "Members"}, {}, true};
    for (std::size_t i = 0; i < g.largest_guilds.size(); ++i) {
        const Ranked& r = g.largest_guilds[i];
        std::optional<OverviewTarget> master;
        if (r.account_id != 0)
            master = OverviewTarget{r.account_id, 0, OverviewOpens::UserInfo, {}};
        largest.bars.push_back(
            {r.name,
             static_cast<double>(r.value),
             {std::to_string(i + 1), r.name, std::to_string(r.id), number(r.value)},
             master});
    }
    OverviewChart castles{"Castles held", {"Castle", "Guild", "Id"}, {}, false};
    for (const CastleHeld& c : g.castles) {
        castles.bars.push_back(
            {castle_name(c.castle_id),
             1,
             {castle_name(c.castle_id), c.guild_name, std::to_string(c.guild_id)},
             {}});
    }
    OverviewChart parties = count_chart("Parties by members", "Members");
    for (const auto& [count, number_of] : g.parties_by_members) {
        add_bar(parties, std::to_string(count), number_of);
    }
    section.charts = {std::move(members), std::move(levels), std::move(largest), std::move(castles),
                      std::move(parties)};
    return section;
}

std::string OverviewPage::notes_text(const CensusNotes& notes) const {
    std::string text;
    for (const IncompleteFile& file : notes.incomplete) {
        text += "Incomplete: " + file.file + " could not be read to its end (" + file.reason +
                "); the figures count only what came before.\n";
    }
    if (notes.unreadable > 0) {
        text += number(notes.unreadable) + " line(s) could not be read and are not counted:";
        for (const UnreadableLine& line : notes.unreadable_lines) {
            text += " " + line.file + ":" + std::to_string(line.line);
        }
        if (notes.unreadable > static_cast<long long>(notes.unreadable_lines.size())) {
            text += " ...";
        }
        text += "\n";
    }
    if (!text.empty()) text.pop_back();
    return text;
}

const std::vector<ItemEntry>& OverviewPage::item_entries() {
    if (item_entries_.size() != ws_.ref.items.entries().size()) {
        item_entries_.clear();
        for (const ItemDbEntry& entry : ws_.ref.items.entries()) {
            item_entries_.push_back({entry.id, entry.name + " (" + std::to_string(entry.id) + ")"});
        }
    }
    return item_entries_;
}

std::optional<std::int32_t> OverviewPage::item_of(std::string_view typed) const {
    if (const auto id = integer_in(typed, 0, INT32_MAX)) return static_cast<std::int32_t>(*id);
    for (const ItemDbEntry& entry : ws_.ref.items.entries()) {
        if (entry.name == typed || entry.list_name == typed ||
            entry.name + " (" + std::to_string(entry.id) + ")" == typed) {
            return entry.id;
        }
    }
    return std::nullopt;
}

std::string OverviewPage::item_title(std::int32_t nameid) const {
    return item_name(ws_.ref.items, nameid) + " (" + std::to_string(nameid) + ")";
}

const std::vector<std::string>& OverviewPage::holder_headings() const {
    static const std::vector<std::string> kHeadings{"Place", "Holder", "Id", "Count", "Item"};
    return kHeadings;
}

void OverviewPage::take_holders(ItemHolders holders) {
    finding_ = false;
    holders_ = std::move(holders);
    const auto& by = holders_.total_by_place;
    holders_summary_ = number(holders_.total) + " " + item_title(holders_.nameid) +
                       " in circulation: " + number(by[0]) + " in inventories, " + number(by[1]) +
                       " in carts, " + number(by[2]) + " in stores, " + number(by[3]) +
                       " in guild storages; " + number(static_cast<long long>(holder_count())) +
                       " holding(s).";
    holders_notice_ = notes_text(holders_.notes);
}

HolderRow OverviewPage::holder_row(std::size_t index) const {
    const Holding& h = holders_.holdings[index];
    ItemNaming naming = item_naming(ws_, ui_);
    naming.book = &holders_.names;
    HolderRow row;
    row.cells = {std::string(held_in_text(h.place)), h.holder_name, std::to_string(h.holder_id),
                 number(h.item.amount), item_list_text(naming, h.item)};
    switch (h.place) {
        case HeldIn::Inventory:
            row.target = {h.account_id, h.char_id, OverviewOpens::CharProfile,
                          CharacterView::Inventory};
            break;
        case HeldIn::Cart:
            row.target = {h.account_id, h.char_id, OverviewOpens::CharProfile, CharacterView::Cart};
            break;
        case HeldIn::Store: row.target = {h.account_id, 0, OverviewOpens::Storage, {}}; break;
        case HeldIn::GuildStorage:
            row.target = {h.account_id, h.char_id, OverviewOpens::CharProfile, {}};
            row.opens = h.char_id != 0;
            break;
    }
    return row;
}

std::optional<std::size_t> OverviewPage::account_row(std::int32_t account_id) const {
    const auto& records = ws_.accounts.table().records;
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (records[i].account_id() == account_id) return i;
    }
    return std::nullopt;
}

}  // namespace tavo
