#pragma once
// What the benchmarks share: a Ui that keeps quiet, clocks, and timing a command of the system
// (awk, grep, cp) that a figure is held against.

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "testsupport/quiet_ui.h"
#include "tools/gen/server_gen.h"

namespace tavo::bench {

using Clock = std::chrono::steady_clock;

// The server of the character benchmarks: 200,000 accounts with 500,000 characters carrying 40
// inventory and 20 cart items each, and no stores.
inline gen::ServerOptions half_million_characters(const std::filesystem::path& out) {
    gen::ServerOptions options;
    options.out = out;
    options.accounts = 200000;
    options.chars_per_account = 2.5;
    options.inventory_items = 40;
    options.cart_items = 20;
    options.storage_share = 0;
    return options;
}

// Messages go to stderr (a benchmark should show none); questions are answered No.
struct SilentUi : testing::QuietUi {
    SilentUi() : QuietUi(true) {}
};

inline double seconds_since(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

inline double cpu_seconds(const rusage& usage) {
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

inline double own_cpu_seconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return cpu_seconds(usage);
}

inline long peak_kb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// The best wall and CPU time of several rounds.
struct Timing {
    double wall = 1e9;
    double cpu = 1e9;
    void take(double w, double c) {
        wall = std::min(wall, w);
        cpu = std::min(cpu, c);
    }
};

// Runs a program and notes its wall and CPU time. Its output goes to a scratch file, not to
// /dev/null: GNU grep stops at the first match when it sees its output thrown away.
inline void time_command(const std::vector<std::string>& argv, Timing& best) {
    std::fflush(stdout);
    const auto start = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
        std::freopen("/tmp/tavo-bench-command.out", "w", stdout);
        std::vector<char*> args;
        for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
        args.push_back(nullptr);
        execvp(args[0], args.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    best.take(seconds_since(start), cpu_seconds(usage));
}

}  // namespace tavo::bench
