// The account file at scale: a generated 1,000,000-account file of the 1.0.0 generation is
// loaded and saved, each against one awk pass over the same file
// (awk -F'\t' '{n+=NF} END{print n}'), with the peak memory of the process that did it.
// Aim: load and save each faster than the awk pass, peak memory under 3x the file size.
//
// The load and save run in a fresh process (this program started again with --measure), so
// that the peak memory is theirs and not the generator's.

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "accounts/account_read.h"
#include "accounts/account_write.h"
#include "app/settings.h"
#include "app/ui.h"
#include "bench/bench_support.h"
#include "tools/gen/server_gen.h"

namespace {

namespace fs = std::filesystem;
using namespace tavo::bench;

constexpr long long kAccounts = 1000000;
constexpr int kRounds = 5;

// Child: one load and one save of the server's account file; prints the figures on one line.
int measure(const fs::path& server) {
    tavo::AppContext app;
    app.settings.data_folder = server.string() + "/";
    SilentUi ui;
    tavo::AccountTable table;
    const long before = peak_kb();
    double cpu = own_cpu_seconds();
    auto start = Clock::now();
    if (!tavo::load_account(app, ui, table)) return 1;
    const double load = seconds_since(start);
    const double load_cpu = own_cpu_seconds() - cpu;
    const long after_load = peak_kb();
    table.modified = true;
    cpu = own_cpu_seconds();
    start = Clock::now();
    if (!tavo::save_account(app, ui, table)) return 1;
    const double save = seconds_since(start);
    const double save_cpu = own_cpu_seconds() - cpu;
    std::printf("%f %f %f %f %ld %ld %ld %zu %d\n", load, save, load_cpu, save_cpu, before,
                after_load, peak_kb(), table.records.size(), ui.messages);
    return 0;
}

void awk_pass(const fs::path& file, Timing& best) {
    time_command({"awk", "-F\t", "{n+=NF} END{print n}", file.string()}, best);
}

struct Figures {
    Timing load, save;
    long baseline_kb = 0, load_peak_kb = 0, save_peak_kb = 0;
    std::size_t accounts = 0;
};

bool run_measure(const std::string& self, const fs::path& server, Figures& best) {
    std::fflush(stdout);
    const std::string command = "'" + self + "' --measure '" + server.string() + "'";
    std::FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return false;
    double load = 0, save = 0, load_cpu = 0, save_cpu = 0;
    long before = 0, after_load = 0, after_save = 0;
    std::size_t accounts = 0;
    int messages = 0;
    const int got = std::fscanf(pipe, "%lf %lf %lf %lf %ld %ld %ld %zu %d", &load, &save, &load_cpu,
                                &save_cpu, &before, &after_load, &after_save, &accounts, &messages);
    if (pclose(pipe) != 0 || got != 9) return false;
    best.load.take(load, load_cpu);
    best.save.take(save, save_cpu);
    best.baseline_kb = before;
    best.load_peak_kb = std::max(best.load_peak_kb, after_load);
    best.save_peak_kb = std::max(best.save_peak_kb, after_save);
    best.accounts = accounts;
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--measure") return measure(argv[2]);
    const fs::path scratch = argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path();
    const fs::path server = scratch / "accounts-1m";
    const fs::path file = server / "save" / "account.txt";
    const std::string self = fs::read_symlink("/proc/self/exe").string();

    tavo::gen::ServerOptions options;
    options.out = server;
    options.accounts = kAccounts;
    options.accounts_only = true;
    auto start = Clock::now();
    tavo::gen::generate_server(options);
    const double generated = seconds_since(start);
    const auto size = static_cast<double>(fs::file_size(file));
    std::printf("account.txt, 1.0.0: %lld accounts, %.1f MB, generated in %.2f s\n", kAccounts,
                size / 1e6, generated);

    Timing awk, warm;
    awk_pass(file, warm);  // the file is in the page cache for every contender
    for (int round = 0; round < kRounds; ++round) awk_pass(file, awk);

    Figures best;
    for (int round = 0; round < kRounds; ++round) {
        if (!run_measure(self, server, best)) {
            std::fprintf(stderr, "the measuring process failed\n");
            return 1;
        }
    }
    const double mb = 1024.0;
    std::printf("best of %d, each run in a fresh process; wall time and CPU time\n", kRounds);
    std::printf("  awk pass            %8.1f ms  %8.1f ms CPU\n", awk.wall * 1000, awk.cpu * 1000);
    std::printf(
        "  load_account        %8.1f ms  %8.1f ms CPU  (%.2f / %.2f of the awk pass, %zu "
        "accounts)\n",
        best.load.wall * 1000, best.load.cpu * 1000, best.load.wall / awk.wall,
        best.load.cpu / awk.cpu, best.accounts);
    std::printf(
        "  save_account        %8.1f ms  %8.1f ms CPU  (%.2f / %.2f of the awk pass, fsync "
        "included)\n",
        best.save.wall * 1000, best.save.cpu * 1000, best.save.wall / awk.wall,
        best.save.cpu / awk.cpu);
    std::printf("  peak memory, load   %8.1f MB  (%.2f x the file; process start %.1f MB)\n",
                best.load_peak_kb / mb, best.load_peak_kb * 1024.0 / size, best.baseline_kb / mb);
    std::printf("  peak memory, save   %8.1f MB  (%.2f x the file)\n", best.save_peak_kb / mb,
                best.save_peak_kb * 1024.0 / size);
    std::printf("  aim: load and save below 1.00 of the awk pass, memory below 3.00 x the file\n");
    fs::remove_all(server);
    return 0;
}
