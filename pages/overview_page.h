#pragma once
// The "Overview" page without its widgets: the server's figures as sections of facts, charts
// and rankings, each bar with the numbers shown beside its chart and, in a ranking, the account
// or character a click chooses; and the item census: the item chooser's entries, the holders of
// the chosen item and what a double-click opens. The figures come from a pass over the files
// that the window runs in the background (census/), handed to the page when it ends; the tab
// renders the page and tavo-cli prints the same texts.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "census/item_holders.h"
#include "census/server_census.h"
#include "pages/char_profile_page.h"

namespace tavo {

struct Workspace;
class Ui;

// Where a click on a ranking or a holder leads.
enum class OverviewOpens { UserInfo, CharProfile, Storage };
struct OverviewTarget {
    std::int32_t account_id = 0;
    std::int32_t char_id = 0;  // with CharProfile
    OverviewOpens opens = OverviewOpens::UserInfo;
    std::optional<CharacterView> view;  // the list of the character that holds the item
};

// A bar of a chart and its line in the numbers beside the chart.
struct ChartBar {
    std::string label;
    double value = 0;
    std::vector<std::string> cells;  // the line beside the chart, one text per heading
    std::optional<OverviewTarget> target;
};

struct OverviewChart {
    std::string title;
    std::vector<std::string> headings;  // of the numbers beside the chart
    std::vector<ChartBar> bars;
    bool drawn = true;  // false: the numbers alone (a list of castles is no chart)
};

struct OverviewSection {
    std::string title;
    std::vector<std::pair<std::string, std::string>> facts;  // "Players", "1,234"
    std::vector<OverviewChart> charts;
};

enum class OverviewState { Empty, Filling, Filled };

struct ItemEntry {
    std::int32_t id = 0;
    std::string text;  // "Red Potion (501)"
};

struct HolderRow {
    std::vector<std::string> cells;  // place, holder, id, count, the item as the lists name it
    OverviewTarget target;
    bool opens = true;  // false: a guild without a master to open
};

class OverviewPage {
public:
    OverviewPage(Workspace& ws, Ui& ui);

    // The thousands separator of the numbers (the window's locale).
    void set_group_separator(std::string separator) { separator_ = std::move(separator); }
    std::string number(long long value) const;

    // What the background pass reads, for the clock time `now` (seconds since 1970).
    CensusOptions census_options(std::int64_t now) const;
    OverviewState state() const { return state_; }
    // "Refresh" reads the files again; not while they are being read.
    bool refresh_offered() const { return state_ != OverviewState::Filling; }
    void start_filling() { state_ = OverviewState::Filling; }
    // The progress window's count, for the status bar.
    std::string progress_text(long long lines) const;
    void take_figures(const ServerFigures& figures);
    // A pass that ended without figures leaves the page as it was before it started.
    void filling_stopped();
    const std::vector<OverviewSection>& sections() const { return sections_; }
    // What the figures lack: the files not read whole and the lines not understood; empty when
    // nothing is missing.
    const std::string& notice() const { return notice_; }

    // The item census: every item of the item table, by name.
    const std::vector<ItemEntry>& item_entries();
    // The item an entry's text, an exact item name or an id names; an id need not be in the
    // table (the files may hold items it lacks).
    std::optional<std::int32_t> item_of(std::string_view typed) const;
    std::string item_title(std::int32_t nameid) const;
    // "Find holders" looks for one item at a time.
    bool find_offered() const { return !finding_; }
    void start_finding() { finding_ = true; }
    void finding_stopped() { finding_ = false; }
    void take_holders(ItemHolders holders);
    const ItemHolders& holders() const { return holders_; }
    const std::vector<std::string>& holder_headings() const;
    // The rows of the holders, made when they are shown: a common item may have a million.
    std::size_t holder_count() const { return holders_.holdings.size(); }
    HolderRow holder_row(std::size_t index) const;
    // "62 Red Potion (501) in circulation: 20 in inventories, ..."
    const std::string& holders_summary() const { return holders_summary_; }
    const std::string& holders_notice() const { return holders_notice_; }

    // Where an account stands in the account list, for choosing it there.
    std::optional<std::size_t> account_row(std::int32_t account_id) const;

private:
    OverviewSection activity(const AccountFigures& a) const;
    OverviewSection classes(const CharacterFigures& c) const;
    OverviewSection economy(const ServerFigures& f) const;
    OverviewSection groups(const GroupFigures& g) const;
    OverviewChart count_chart(std::string title, std::string heading) const;
    void add_bar(OverviewChart& chart, std::string label, long long count) const;
    std::string notes_text(const CensusNotes& notes) const;

    Workspace& ws_;
    Ui& ui_;
    std::string separator_ = ",";
    OverviewState state_ = OverviewState::Empty;
    std::vector<OverviewSection> sections_;
    std::string notice_;
    std::vector<ItemEntry> item_entries_;
    bool finding_ = false;
    ItemHolders holders_;
    std::string holders_summary_;
    std::string holders_notice_;
};

// The texts every listing of the overview shares with tavo-cli.
std::string_view held_in_text(HeldIn place);  // "Inventory", "Cart", "Store", "Guild storage"
// A ranked value as the ranking shows it: zeny and experience as numbers, a level as "99/70".
std::string ranked_value_text(RankBy by, long long value, std::string_view separator);
// The base levels in groups of ten ("1-9", "10-19", ...), each with its characters.
std::vector<std::pair<std::string, long long>> level_groups(const CharacterFigures& c);

}  // namespace tavo
