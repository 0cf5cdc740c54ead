// The store file at scale: a storage.txt of 300,000 stores of 100 items (about 1 GB). "Save
// File" of one store (read every line, rewrite the one store, keep the backup) is held against
// `cp` of the file; reading the store of an account in the middle is shown besides.
// Aim: the save within 2x the copy.

#include <cstdio>
#include <filesystem>
#include <string>

#include "app/settings.h"
#include "bench/bench_support.h"
#include "characters/item_slot.h"
#include "storage/storage_file.h"

namespace {

namespace fs = std::filesystem;
using namespace tavo;
using namespace tavo::bench;

constexpr int kStores = 300000;
constexpr int kItems = 100;
constexpr std::int32_t kFirstAccount = 2000001;
constexpr int kRounds = 3;

void write_storage(const fs::path& path) {
    std::FILE* out = std::fopen(path.c_str(), "wb");
    std::string line;
    for (int store = 0; store < kStores; ++store) {
        std::vector<ItemSlot> items;
        for (int i = 0; i < kItems; ++i) {
            const std::int32_t id = store * kItems + i + 1;
            items.push_back({id, 501 + i % 120, 1 + i % 30, 0, 1, 0, 0, 0, 0, 0, 0});
        }
        line = storage_line(std::to_string(kFirstAccount + store), items, items.size());
        line += "\r\n";
        std::fwrite(line.data(), 1, line.size(), out);
    }
    std::fclose(out);
}

}  // namespace

int main(int argc, char** argv) {
    const fs::path scratch = argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path();
    const fs::path server = scratch / "storage-bench";
    fs::create_directories(server / "save");
    const fs::path file = server / "save/storage.txt";
    SilentUi ui;
    AppContext app;
    app.settings.data_folder = server.string() + "/";
    app.settings.maxstorage = 300;

    auto start = Clock::now();
    write_storage(file);
    std::printf("storage.txt: %d stores of %d items, %.0f MB, written in %.1f s\n", kStores, kItems,
                static_cast<double>(fs::file_size(file)) / 1e6, seconds_since(start));

    const std::int32_t account = kFirstAccount + kStores / 2;
    StorageRecord record;
    start = Clock::now();
    double cpu = own_cpu_seconds();
    load_storage(app, ui, account, record);
    std::printf("load_storage of the middle store: %.2f s wall, %.2f s CPU (%zu items)\n",
                seconds_since(start), own_cpu_seconds() - cpu, record.items.size());

    Timing save, copy, synced;
    for (int round = 0; round < kRounds; ++round) {
        record.items[0].amount = round + 2;
        start = Clock::now();
        cpu = own_cpu_seconds();
        if (!save_storage(app, ui, account, record, app.settings.maxstorage)) return 1;
        save.take(seconds_since(start), own_cpu_seconds() - cpu);
        time_command({"cp", file.string(), (server / "copy.txt").string()}, copy);
        // The save syncs its file before the rename; a copy that reaches the disk too:
        time_command({"sh", "-c", "cp \"$0\" \"$1\" && sync \"$1\"", file.string(),
                      (server / "copy.txt").string()},
                     synced);
    }
    std::printf("Save File of one store: %.2f s wall, %.2f s CPU (best of %d)\n", save.wall,
                save.cpu, kRounds);
    std::printf("cp of the file:         %.2f s wall, %.2f s CPU\n", copy.wall, copy.cpu);
    std::printf("cp and sync of the copy: %.2f s wall, %.2f s CPU\n", synced.wall, synced.cpu);
    std::printf(
        "save / copy: %.2fx wall, %.2fx against the synced copy (aim: within 2x); "
        "peak memory %ld MB\n",
        save.wall / copy.wall, save.wall / synced.wall, peak_kb() / 1024);
    fs::remove_all(server);
    return ui.messages == 0 ? 0 : 1;
}
