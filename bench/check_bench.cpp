// The server check at scale: a generated server of 1,000,000 accounts and about 2,000,000
// characters, checked whole (every save file, one pass each), against one `grep -c ''` pass
// over the same files. Aim: under 3x the grep pass.
//   check_bench [SCRATCH] [ACCOUNTS]
// The server is generated at SCRATCH/check-1m (gen_server --accounts 1000000
// --chars-per-account 2 --seed 9) and kept there for the next run, which then checks it as it is;
// without SCRATCH it goes to the temporary folder and is removed at the end.

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/settings.h"
#include "bench/bench_support.h"
#include "check/server_check.h"
#include "tools/gen/server_gen.h"

namespace {

namespace fs = std::filesystem;
using namespace tavo;
using namespace tavo::bench;

constexpr int kRounds = 3;

}  // namespace

int main(int argc, char** argv) {
    const bool keep = argc > 1;
    const fs::path scratch = keep ? fs::path(argv[1]) : fs::temp_directory_path();
    gen::ServerOptions options;
    options.out = scratch / "check-1m";
    options.accounts = argc > 2 ? std::stoll(argv[2]) : 1000000;
    options.chars_per_account = 2.0;
    options.seed = 9;
    auto start = Clock::now();
    const bool kept = fs::exists(options.out / "save" / "athena.txt");
    const gen::ServerSummary summary = kept ? gen::ServerSummary{} : gen::generate_server(options);
    std::vector<std::string> grep = {"grep", "-c", ""};
    double megabytes = 0;
    for (const auto& entry : fs::recursive_directory_iterator(options.out)) {
        if (!entry.is_regular_file()) continue;
        grep.push_back(entry.path().string());
        megabytes += static_cast<double>(entry.file_size()) / 1e6;
    }
    if (kept) {
        std::printf("%s as it was generated before: %zu files, %.0f MB\n", options.out.c_str(),
                    grep.size() - 3, megabytes);
    } else {
        std::printf(
            "%lld accounts, %lld characters, %lld stores, %lld guilds: %zu files, %.0f MB, "
            "generated in %.1f s\n",
            summary.accounts, summary.characters, summary.stores, summary.guilds, grep.size() - 3,
            megabytes, seconds_since(start));
    }

    Timing grep_pass, check;
    time_command(grep, grep_pass);  // the files are in the page cache from here on
    AppContext app;
    app.settings.data_folder = options.out.string() + "/";
    std::size_t findings = 0;
    for (int round = 0; round < kRounds; ++round) {
        time_command(grep, grep_pass);
        const double cpu = own_cpu_seconds();
        start = Clock::now();
        findings = check_server(app).findings.size();
        check.take(seconds_since(start), own_cpu_seconds() - cpu);
    }
    std::printf("best of %d (wall time, CPU time)\n", kRounds);
    std::printf("  grep -c '' over every file %8.1f ms  %8.1f ms\n", grep_pass.wall * 1000,
                grep_pass.cpu * 1000);
    std::printf(
        "  check_server               %8.1f ms  %8.1f ms  (%.2f of the grep pass; %zu "
        "problems found)\n",
        check.wall * 1000, check.cpu * 1000, check.wall / grep_pass.wall, findings);
    std::printf("  peak memory                %8.1f MB\n", peak_kb() / 1024.0);
    std::printf("  aim: below 3.00 of the grep pass\n");
    if (keep) {
        std::printf("the server stays at %s for the next run\n", options.out.c_str());
    } else {
        fs::remove_all(options.out);
    }
    return 0;
}
