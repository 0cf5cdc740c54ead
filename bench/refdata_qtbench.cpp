// The item database at start-up: load_itemdb on a 30,000-row item_db.txt with the Qt progress
// window shown, then the sort by name of the item panel; and 1,000,000 item_weight lookups.

#include <QApplication>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <random>

#include "app/settings.h"
#include "pages/pages.h"
#include "refdata/item_db.h"
#include "refdata/weight.h"
#include "ui/item_panel.h"
#include "ui/qt_ui.h"
#include "workspace/workspace.h"

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

constexpr int kRows = 30000;
constexpr int kLookups = 1000000;

double seconds_since(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Rows of every type with names in no particular order, some names and ids given twice.
void write_item_db(const fs::path& file) {
    std::ofstream out(file, std::ios::binary);
    std::mt19937 random(4);
    const char* words[] = {"Red",   "Blue", "Sword", "Potion", "Card",   "Bow", "Helm", "Egg",
                           "Arrow", "Ring", "apple", "Zircon", "mantle", "Orc", "Star"};
    out << "// ID,Name,Name,Type,Price,Sell,Weight,ATK,DEF,Range,Slot,Job,Gender,Loc,wLV,eLV,"
           "View,{UseScript},{EquipScript}\n";
    for (int row = 0; row < kRows; ++row) {
        const int id = 501 + (row % 97 == 0 ? row / 2 : row);
        std::string name = std::string(words[random() % 15]) + " " + words[random() % 15] + " " +
                           std::to_string(random() % 5000);
        std::string list = name;
        for (char& c : list) c = c == ' ' ? '_' : c;
        const int type = static_cast<int>(random() % 11);
        out << id << ',' << list << ',' << name << ',' << type << ",100,," << (random() % 3000)
            << ",10,,1," << (random() % 5) << ",0xFFFFFFFF,2," << (1 << (random() % 10))
            << ",1,1,1,{ bonus bStr,1; bonus bAgi,2; },{}\n";
    }
}

struct Timing {
    double load = 0;
    double sort = 0;
};

Timing load_and_sort(const tavo::AppContext& app, tavo::Ui& ui, tavo::ItemTable& items) {
    Timing timing;
    const auto start = Clock::now();
    tavo::load_itemdb(app, ui, items);
    timing.load = seconds_since(start);
    const auto sort_start = Clock::now();
    tavo::sort_items_by_name(items);
    timing.sort = seconds_since(sort_start);
    return timing;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication qt(argc, argv);
    const fs::path scratch = argc > 1 ? argv[1] : fs::temp_directory_path();
    const fs::path server = scratch / "refdata-server";
    fs::create_directories(server / "db");
    write_item_db(server / "db" / "item_db.txt");

    tavo::AppContext app;
    app.settings.data_folder = server.string() + "/";
    tavo::ui::QtUi ui;
    QWidget owner;
    owner.show();
    ui.set_owner(&owner);

    tavo::Workspace ws;
    tavo::ItemTable& items = ws.ref.items;
    Timing best{1e9, 1e9};
    for (int round = 0; round < 3; ++round) {
        const Timing timing = load_and_sort(app, ui, items);
        best.load = std::min(best.load, timing.load);
        best.sort = std::min(best.sort, timing.sort);
    }
    std::printf("item_db.txt of %d rows (%ju bytes), best of 3, progress window shown\n", kRows,
                static_cast<std::uintmax_t>(fs::file_size(server / "db" / "item_db.txt")));
    std::printf("  load_itemdb           %8.1f ms  (%d entries, label \"%s\")\n", best.load * 1000,
                items.count(), ui.progress_window()->counter().toLatin1().constData());
    std::printf("  sort by name + index  %8.1f ms\n", best.sort * 1000);
    std::printf("  together              %8.1f ms\n", (best.load + best.sort) * 1000);
    {
        tavo::Pages pages(ws, ui);
        tavo::ui::ItemPanel panel(pages.item_panel, &owner);
        const auto start = Clock::now();
        panel.prepare();
        std::printf("  item chooser refilled %8.1f ms  (List5 of %d lines)\n",
                    seconds_since(start) * 1000, static_cast<int>(items.count()));
    }

    // Ids of the table and beyond it, so that misses (weight 1) are measured too.
    std::mt19937 random(7);
    std::vector<std::int32_t> ids(kLookups);
    for (std::int32_t& id : ids) id = 501 + static_cast<std::int32_t>(random() % (kRows + 3000));
    long long total = 0;
    const auto start = Clock::now();
    for (const std::int32_t id : ids) total += tavo::item_weight(items, id);
    const double lookups = seconds_since(start);
    std::printf("%d item_weight lookups  %8.1f ms  (%.1f ns each, weights sum %lld)\n", kLookups,
                lookups * 1000, lookups * 1e9 / kLookups, total);

    // For comparison: the scan from index 0 that the index replaces, on a sample.
    constexpr int kScans = 10000;
    long long scanned = 0;
    const auto scan_start = Clock::now();
    for (int i = 0; i < kScans; ++i) {
        std::int32_t weight = 1;
        for (const tavo::ItemDbEntry& entry : items.entries()) {
            if (entry.id == ids[static_cast<std::size_t>(i)]) {
                weight = entry.weight;
                break;
            }
        }
        scanned += weight;
    }
    const double scans = seconds_since(scan_start);
    std::printf("  a scan from index 0 instead: %.1f us each, %.0f ms per million (sum %lld)\n",
                scans * 1e6 / kScans, scans * 1e3 * kLookups / kScans, scanned);
    return 0;
}
