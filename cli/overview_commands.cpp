// tavo-cli stats, top and who-has: the figures of the "Overview" tab and its item census, from
// one pass over the save files.

#include <ctime>
#include <functional>
#include <iostream>
#include <memory>

#include "characters/profile.h"
#include "cli/cli.h"
#include "pages/overview_page.h"
#include "refdata/card_names.h"
#include "refdata/item_db.h"
#include "refdata/job_classes.h"

namespace tavo::cli {
namespace {

using nlohmann::json;

struct TopOptions {
    std::string by;
    std::string per = "character";
    std::size_t n = 20;
};

// Columns padded to their widest text, the last one as it stands.
// Columns as wide as their widest cell. The rows are made twice, once to measure and once to
// print, so that a million holders are never all held as text.
void print_rows(const std::vector<std::string>& headings, std::size_t count,
                const std::function<std::vector<std::string>(std::size_t)>& row_at,
                const std::string& indent) {
    std::vector<std::size_t> widths(headings.size(), 0);
    const auto measure = [&](const std::vector<std::string>& cells) {
        for (std::size_t i = 0; i < cells.size() && i < widths.size(); ++i) {
            widths[i] = std::max(widths[i], cells[i].size());
        }
    };
    measure(headings);
    for (std::size_t i = 0; i < count; ++i) measure(row_at(i));
    const auto print = [&](const std::vector<std::string>& cells) {
        std::string line = indent;
        for (std::size_t i = 0; i < cells.size(); ++i) {
            line += cells[i];
            if (i + 1 < cells.size()) line += std::string(widths[i] - cells[i].size() + 2, ' ');
        }
        std::cout << line << '\n';
    };
    print(headings);
    for (std::size_t i = 0; i < count; ++i) print(row_at(i));
}

void print_table(const std::vector<std::string>& headings,
                 const std::vector<std::vector<std::string>>& rows, const std::string& indent) {
    print_rows(
        headings, rows.size(), [&rows](std::size_t i) { return rows[i]; }, indent);
}

void print_chart(const OverviewChart& chart) {
    std::cout << "  " << chart.title << '\n';
    std::vector<std::vector<std::string>> rows;
    for (const ChartBar& bar : chart.bars) rows.push_back(bar.cells);
    print_table(chart.headings, rows, "    ");
}

json notes_json(const CensusNotes& notes) {
    json incomplete = json::array();
    for (const IncompleteFile& file : notes.incomplete) {
        incomplete.push_back({{"file", file.file}, {"reason", utf8(file.reason)}});
    }
    json lines = json::array();
    for (const UnreadableLine& line : notes.unreadable_lines) {
        lines.push_back({{"file", line.file}, {"line", line.line}});
    }
    return {{"complete", notes.complete()},
            {"incomplete_files", incomplete},
            {"unreadable", {{"count", notes.unreadable}, {"lines", lines}}}};
}

// Plain text tells what the figures lack on stderr; a file not read whole fails the command.
int finish(const CensusNotes& notes, const std::string& notice, const CliOptions& options) {
    if (!options.json && !notice.empty()) std::cerr << notice << '\n';
    return notes.complete() ? kDone : kFailed;
}

template <class Map>
json counts(const Map& map, const char* key) {
    json list = json::array();
    for (const auto& [value, count] : map) list.push_back({{key, value}, {"count", count}});
    return list;
}

json ranked_json(const std::vector<Ranked>& ranking, RankBy by, bool accounts) {
    json list = json::array();
    for (std::size_t i = 0; i < ranking.size(); ++i) {
        const Ranked& r = ranking[i];
        json entry = {{"rank", i + 1}, {"id", r.id}, {"name", utf8(r.name)}};
        if (accounts) entry["characters"] = r.characters;
        if (!accounts) entry["account"] = r.account_id;
        if (by == RankBy::Level) {
            entry["base_level"] = r.value / 1000;
            entry["job_level"] = r.value % 1000;
        } else {
            entry[by == RankBy::Zeny ? "zeny" : "base_exp"] = r.value;
        }
        list.push_back(std::move(entry));
    }
    return list;
}

json largest_json(const std::vector<Ranked>& guilds) {
    json list = json::array();
    for (std::size_t i = 0; i < guilds.size(); ++i) {
        const Ranked& r = guilds[i];
        list.push_back({{"rank", i + 1},
                        {"id", r.id},
                        {"name", utf8(r.name)},
                        {"members", r.value},
                        {"master_account", r.account_id}});
    }
    return list;
}

json stats_json(const ServerFigures& f, const Workspace& ws) {
    const AccountFigures& a = f.accounts;
    const CharacterFigures& c = f.characters;
    const EconomyFigures& e = f.economy;
    const GroupFigures& g = f.groups;
    json families = json::array();
    for (std::size_t i = 0; i < kJobFamilies; ++i) {
        if (c.by_family[i] == 0) continue;
        families.push_back(
            {{"family", job_family_name(static_cast<JobFamily>(i))}, {"count", c.by_family[i]}});
    }
    json classes = json::array();
    for (const auto& [id, count] : c.by_class) {
        classes.push_back(
            {{"class", id},
             {"name", id == kOtherClass ? "Other classes" : utf8(get_job_name(ws.ref.jobs, id))},
             {"count", count}});
    }
    json levels = json::array();
    for (const auto& [label, count] : level_groups(c)) {
        levels.push_back({{"levels", label}, {"count", count}});
    }
    json castles = json::array();
    for (const CastleHeld& held : g.castles) {
        castles.push_back({{"castle", held.castle_id},
                           {"name", castle_name(held.castle_id)},
                           {"guild", held.guild_id},
                           {"guild_name", utf8(held.guild_name)}});
    }
    json document = {
        {"accounts",
         {{"total", a.accounts},
          {"server", a.server_accounts},
          {"players", a.players},
          {"never_logged_in", a.never_logged_in},
          {"banned", a.banned},
          {"expired", a.expired},
          {"by_month", counts(a.by_month, "month")}}},
        {"characters",
         {{"total", c.characters},
          {"by_family", families},
          {"by_class", classes},
          {"by_base_level", levels}}},
        {"economy",
         {{"zeny", e.zeny},
          {"median", e.median},
          {"top_percent", {{"characters", e.top_percent_characters}, {"zeny", e.top_percent_zeny}}},
          {"top_characters", ranked_json(f.top_characters, f.rank_by, false)},
          {"top_accounts", ranked_json(f.top_accounts, f.rank_by, true)}}},
        {"guilds",
         {{"total", g.guilds},
          {"by_members", counts(g.guilds_by_members, "members")},
          {"by_level", counts(g.guilds_by_level, "level")},
          {"largest", largest_json(g.largest_guilds)},
          {"castles", castles}}},
        {"parties",
         {{"total", g.parties}, {"by_members", counts(g.parties_by_members, "members")}}}};
    document.update(notes_json(f.notes));
    return document;
}

int run_stats(Session& s) {
    load_jobclass(s.ws.app, s.ui, s.ws.ref.jobs);
    OverviewPage page(s.ws, s.ui);
    const ServerFigures figures = take_census(page.census_options(std::time(nullptr)));
    page.take_figures(figures);
    if (s.options.json) {
        print_json(stats_json(figures, s.ws));
    } else {
        for (const OverviewSection& section : page.sections()) {
            std::cout << section.title << '\n';
            for (const auto& [what, value] : section.facts) {
                std::cout << "  " << utf8(what) << ": " << value << '\n';
            }
            for (const OverviewChart& chart : section.charts) print_chart(chart);
        }
    }
    return finish(figures.notes, page.notice(), s.options);
}

std::optional<RankBy> rank_by(const std::string& word) {
    if (word == "zeny") return RankBy::Zeny;
    if (word == "level") return RankBy::Level;
    if (word == "exp") return RankBy::Exp;
    return std::nullopt;
}

int run_top(Session& s, const TopOptions& o) {
    const bool by_account = o.per == "account";
    OverviewPage page(s.ws, s.ui);
    CensusOptions census = page.census_options(std::time(nullptr));
    census.rank_by = *rank_by(o.by);
    census.top = o.n;
    census.accounts = false;
    census.account_ranking = by_account;
    census.groups = false;
    const ServerFigures figures = take_census(census);
    page.take_figures(figures);
    const std::vector<Ranked>& ranking = by_account ? figures.top_accounts : figures.top_characters;
    if (s.options.json) {
        json document = {{"by", o.by},
                         {"per", by_account ? "account" : "character"},
                         {"ranking", ranked_json(ranking, census.rank_by, by_account)}};
        document.update(notes_json(figures.notes));
        print_json(document);
    } else {
        // The economy section's rankings, as the tab shows them.
        const OverviewChart& chart = page.sections()[2].charts[by_account ? 2 : 1];
        std::vector<std::vector<std::string>> rows;
        for (const ChartBar& bar : chart.bars) {
            rows.push_back({});
            for (const std::string& cell : bar.cells) rows.back().push_back(utf8(cell));
        }
        print_table(chart.headings, rows, "");
    }
    return finish(figures.notes, page.notice(), s.options);
}

// As print_json, with the empty list under `key` (a key of the document itself) printed one
// entry at a time: a million holders held as one JSON value take gigabytes.
void print_json_list(const json& document, const std::string& key, std::size_t count,
                     const std::function<json(std::size_t)>& entry_at) {
    const std::string text = document.dump(2);
    const std::string empty = json(key).dump() + ": []";
    const std::size_t at = text.find(empty);
    std::cout << text.substr(0, at + empty.size() - 1);
    for (std::size_t i = 0; i < count; ++i) {
        std::string entry = i == 0 ? "\n    " : ",\n    ";
        for (const char c : entry_at(i).dump(2)) {
            entry += c;
            if (c == '\n') entry += "    ";
        }
        std::cout << entry;
    }
    std::cout << (count == 0 ? "" : "\n  ") << text.substr(at + empty.size() - 1) << '\n';
}

int run_who_has(Session& s, const std::string& item) {
    load_itemdb(s.ws.app, s.ui, s.ws.ref.items);
    sort_items_by_name(s.ws.ref.items);
    load_carddb(s.ws.app, s.ui, s.ws.ref.cards);
    OverviewPage page(s.ws, s.ui);
    const std::optional<std::int32_t> nameid = page.item_of(item);
    if (!nameid) {
        std::cerr << "No item \"" << item << "\" in the item database.\n";
        return kFailed;
    }
    page.take_holders(find_holders(s.ws.app.settings.data_folder, *nameid));
    const ItemHolders& holders = page.holders();
    if (s.options.json) {
        const auto& by = holders.total_by_place;
        json document = {
            {"item", *nameid},        {"name", utf8(item_name(s.ws.ref.items, *nameid))},
            {"total", holders.total}, {"inventory", by[0]},
            {"cart", by[1]},          {"store", by[2]},
            {"guild_storage", by[3]}, {"holders", json::array()}};
        document.update(notes_json(holders.notes));
        print_json_list(document, "holders", holders.holdings.size(), [&](std::size_t i) {
            const Holding& h = holders.holdings[i];
            std::string place(held_in_text(h.place));
            for (char& c : place) c = c == ' ' ? '_' : static_cast<char>(std::tolower(c));
            return json{{"place", place},
                        {"holder", h.holder_id},
                        {"holder_name", utf8(h.holder_name)},
                        {"account", h.account_id},
                        {"character", h.char_id},
                        {"amount", h.item.amount},
                        {"refine", h.item.refine},
                        {"cards", {h.item.card0, h.item.card1, h.item.card2, h.item.card3}},
                        {"text", utf8(page.holder_row(i).cells.back())}};
        });
    } else {
        std::cout << utf8(page.holders_summary()) << '\n';
        const auto row_at = [&page](std::size_t i) {
            std::vector<std::string> cells = page.holder_row(i).cells;
            for (std::string& cell : cells) cell = utf8(cell);
            return cells;
        };
        if (page.holder_count() > 0) {
            print_rows(page.holder_headings(), page.holder_count(), row_at, "");
        }
    }
    return finish(holders.notes, page.holders_notice(), s.options);
}

// The figures need the settings and the server folder, not the account table.
template <class Command>
void run_census(const CliOptions& options, int& result, Command&& command) {
    Session session(options);
    if (!session.start(false) || session.ui.declined()) {
        result = kFailed;
        return;
    }
    result = command(session);
}

}  // namespace

void add_overview_commands(CLI::App& app, const CliOptions& options, int& result) {
    CLI::App* stats = app.add_subcommand(
        "stats",
        "The server at a glance, as the Overview tab shows it: activity, classes and levels, "
        "economy, guilds and parties");
    stats->callback([&options, &result] {
        run_census(options, result, [](Session& s) { return run_stats(s); });
    });

    auto top = std::make_shared<TopOptions>();
    CLI::App* top_cmd = app.add_subcommand(
        "top",
        "The characters (or accounts) with the most zeny, the highest level or the most "
        "base experience; equal values by id");
    top_cmd->add_option("WHAT", top->by, "zeny, level or exp")
        ->required()
        ->check(CLI::IsMember({"zeny", "level", "exp"}));
    top_cmd
        ->add_option("--by", top->per,
                     "account: rank accounts, zeny and experience summed over their characters, "
                     "level the highest of them")
        ->check(CLI::IsMember({"account", "character"}));
    top_cmd->add_option("--n", top->n, "How many (20)")->transform(decimal(1, 1000000));
    top_cmd->callback([&options, &result, top] {
        run_census(options, result, [top](Session& s) { return run_top(s, *top); });
    });

    auto item = std::make_shared<std::string>();
    CLI::App* who_has = app.add_subcommand(
        "who-has",
        "Every inventory, cart, store and guild storage that holds the item, with "
        "counts and the item's full name, and the total in circulation");
    who_has->add_option("ITEM", *item, "An item id or an exact item name")->required();
    who_has->callback([&options, &result, item] {
        run_census(options, result, [item](Session& s) { return run_who_has(s, *item); });
    });
}

}  // namespace tavo::cli
