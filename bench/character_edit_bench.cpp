// Editing and deleting characters at scale: a generated server of 500,000 characters. What
// `tavo-cli char set` does after start-up (the character read, "Edit Basic Character Info" moving
// its last position, "Save to File") and what `tavo-cli char delete` does (athena.txt without
// the character, with its party, guild, pet and friends releases) are held against `cp` of
// athena.txt in the same run.
// Aim: each within 2x the copy.

#include <cstdio>
#include <filesystem>
#include <string>

#include "bench/bench_support.h"
#include "pages/pages.h"
#include "tools/gen/server_gen.h"
#include "workspace/deletion.h"
#include "workspace/startup.h"
#include "workspace/workspace.h"

namespace {

namespace fs = std::filesystem;
using namespace tavo;
using namespace tavo::bench;

constexpr int kRounds = 5;

}  // namespace

int main(int argc, char** argv) {
    const fs::path scratch = argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path();
    const gen::ServerOptions options = half_million_characters(scratch / "edit-500k");
    auto start = Clock::now();
    const gen::ServerSummary summary = gen::generate_server(options);
    const fs::path athena = options.out / "save/athena.txt";
    const fs::path program = scratch / "edit-program";
    fs::create_directories(program);
    std::FILE* ini = std::fopen((program / "tavo.ini").c_str(), "w");
    std::fprintf(ini, "[option]\neafolder\t%s/\n", options.out.c_str());
    std::fclose(ini);
    std::printf("athena.txt: %lld characters, %.1f MB, generated in %.1f s\n", summary.characters,
                static_cast<double>(fs::file_size(athena)) / 1e6, seconds_since(start));

    SilentUi ui;
    Workspace ws;
    ws.app.program_folder = program;
    StartOptions start_options{options.out.string() + "/"};
    start_options.while_running = WhileRunning::Write;
    start_options.warn_running_server = false;
    run_startup(ws, ui, start_options);
    Pages pages(ws, ui);

    Timing copy, copy_synced, read, set, remove;
    for (int round = 0; round < kRounds; ++round) {
        ::sync();
        time_command({"cp", athena.string(), athena.string() + ".copy"}, copy);
        ::sync();
        time_command({"sh", "-c", "cp \"$0\" \"$0.copy\" && sync \"$0.copy\"", athena.string()},
                     copy_synced);
    }
    fs::remove(athena.string() + ".copy");

    // Characters spread over the file; each round edits one and deletes another.
    const std::int64_t first = 150000;
    const std::int64_t step = summary.characters / (2 * kRounds + 1);
    for (int round = 0; round < kRounds; ++round) {
        const std::string id = std::to_string(first + step * (2 * round + 1));
        ::sync();
        double cpu = own_cpu_seconds();
        start = Clock::now();
        if (!pages.character.open(id) || !pages.basic_info.open()) return 1;
        read.take(seconds_since(start), own_cpu_seconds() - cpu);
        pages.basic_info.type(BasicBox::LastMap, "prontera.gat");
        pages.basic_info.type(BasicBox::LastX, "156");
        pages.basic_info.type(BasicBox::LastY, "191");
        if (!pages.basic_info.ok() || !pages.character.save()) return 1;
        set.take(seconds_since(start), own_cpu_seconds() - cpu);

        LeavingSet leaving;
        leaving.add_character(static_cast<std::int32_t>(first + step * (2 * round + 2)));
        ::sync();
        cpu = own_cpu_seconds();
        start = Clock::now();
        if (delete_characters_files(ws, ui, leaving)) return 1;
        remove.take(seconds_since(start), own_cpu_seconds() - cpu);
    }

    std::printf("best of %d (wall time)\n", kRounds);
    std::printf("  cp of the file            %8.1f ms\n", copy.wall * 1000);
    std::printf("  cp, then sync of the copy %8.1f ms\n", copy_synced.wall * 1000);
    std::printf(
        "  char set (read, Ok, save) %8.1f ms  (%.2f of the copy, %.2f of the synced copy)\n",
        set.wall * 1000, set.wall / copy.wall, set.wall / copy_synced.wall);
    std::printf("    of which the read       %8.1f ms\n", read.wall * 1000);
    std::printf(
        "  char delete               %8.1f ms  (%.2f of the copy, %.2f of the synced copy)\n",
        remove.wall * 1000, remove.wall / copy.wall, remove.wall / copy_synced.wall);
    std::printf(
        "  CPU: cp %.1f ms, synced cp %.1f ms, char set %.1f ms (read %.1f ms), char delete %.1f "
        "ms\n",
        copy.cpu * 1000, copy_synced.cpu * 1000, set.cpu * 1000, read.cpu * 1000,
        remove.cpu * 1000);
    std::printf("  aim: each below 2.00 of the copy\n");
    if (ui.messages > 0) std::printf("  (%d messages were shown; see above)\n", ui.messages);
    fs::remove_all(options.out);
    fs::remove_all(program);
    return 0;
}
