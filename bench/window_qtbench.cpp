// The window on a large server: its start-up (the whole account list is its first view) and
// its first choice of an account (the account's characters, the first one loaded, its store),
// each in a fresh process, against `grep -c ''` over the files each step reads and a grep of the
// chosen account's first character line in the same run, with the peak memory of the window's
// process.
//   window_qtbench SERVER [ROUNDS]
// SERVER is a generated server folder (cli_bench leaves one at SCRATCH/cli-server); the program
// folder is the demo's.
// Aims: the first choice within 2x the grep of the chosen account's first character line; peak
// memory under 1.5x the largest file the window reads.

#include <QApplication>
#include <QListView>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "ui/account_list.h"
#include "ui/form1.h"
#include "workspace/workspace.h"

namespace {

namespace fs = std::filesystem;
using namespace tavo::bench;

// Child: the window started on the server, then one account chosen; one line of figures.
int measure(int argc, char** argv, const fs::path& server) {
    QApplication app(argc, argv);
    tavo::Workspace ws;
    tavo::set_program_folders(ws.app, TAVO_DEMO_PROGRAM);  // tavo.ini and the card tables
    SilentUi ui;
    tavo::ui::Form1 form(ws, ui);
    tavo::StartOptions options;
    options.data_folder = server.string();
    options.while_running = tavo::WhileRunning::Write;
    options.warn_running_server = false;
    auto start = Clock::now();
    double cpu = own_cpu_seconds();
    form.form_load(options);
    const double started = seconds_since(start);
    const double started_cpu = own_cpu_seconds() - cpu;
    const long start_peak = peak_kb();
    QListView* list = form.account_list();
    const int row = list->model()->rowCount() / 2;
    start = Clock::now();
    cpu = own_cpu_seconds();
    list->setCurrentIndex(list->model()->index(row, 0));
    const double chosen = seconds_since(start);
    const double chosen_cpu = own_cpu_seconds() - cpu;
    const auto chosen_account = ws.accounts.table().records[static_cast<std::size_t>(row)];
    std::printf("%f %f %f %f %ld %ld %zu %d %d\n", started, started_cpu, chosen, chosen_cpu,
                start_peak, peak_kb(), form.pages().character.count(), ui.messages,
                chosen_account.account_id());
    return 0;
}

struct Round {
    double start = 0, start_cpu = 0, choice = 0, choice_cpu = 0;
    long start_kb = 0, choice_kb = 0;
    std::size_t characters = 0;
    int messages = 0;
    int account = 0;  // the account chosen
};

bool run_child(const std::string& self, const fs::path& server, Round& round) {
    std::fflush(stdout);
    const std::string command = "'" + self + "' --measure '" + server.string() + "'";
    std::FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return false;
    const int got =
        std::fscanf(pipe, "%lf %lf %lf %lf %ld %ld %zu %d %d", &round.start, &round.start_cpu,
                    &round.choice, &round.choice_cpu, &round.start_kb, &round.choice_kb,
                    &round.characters, &round.messages, &round.account);
    return pclose(pipe) == 0 && got == 9;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc == 3 && std::string(argv[1]) == "--measure") return measure(1, argv, argv[2]);
    if (argc < 2) {
        std::fprintf(stderr, "usage: window_qtbench SERVER [ROUNDS]\n");
        return 2;
    }
    // A scratch folder where cli_bench left its server does as well as the server itself.
    const fs::path given = argv[1];
    const fs::path server = fs::exists(given / "cli-server") ? given / "cli-server" : given;
    const int rounds = argc > 2 ? std::stoi(argv[2]) : 5;
    const fs::path accounts = server / "save/account.txt";
    const fs::path athena = server / "save/athena.txt";
    if (!fs::exists(accounts)) {
        std::printf("no server at %s (run cli_bench first)\n", server.c_str());
        return 0;
    }
    const std::string self = fs::read_symlink("/proc/self/exe").string();
    Timing warm;
    time_command({"grep", "-c", "", accounts.string(), athena.string()}, warm);
    std::vector<double> grep_both, grep_athena, grep_line, start, start_cpu, choice, choice_cpu;
    Round round;
    long start_kb = 0, choice_kb = 0;
    for (int i = 0; i < rounds; ++i) {
        Timing both, one;
        time_command({"grep", "-c", "", accounts.string(), athena.string()}, both);
        time_command({"grep", "-c", "", athena.string()}, one);
        grep_both.push_back(both.wall);
        grep_athena.push_back(one.wall);
        if (!run_child(self, server, round)) {
            std::fprintf(stderr, "the window's process failed\n");
            return 1;
        }
        // The chosen account's first character line, as grep finds it.
        Timing line;
        time_command({"grep", "-m1", "-E", "^[0-9]+\t" + std::to_string(round.account) + ",",
                      athena.string()},
                     line);
        grep_line.push_back(line.wall);
        start.push_back(round.start);
        start_cpu.push_back(round.start_cpu);
        choice.push_back(round.choice);
        choice_cpu.push_back(round.choice_cpu);
        start_kb = std::max(start_kb, round.start_kb);
        choice_kb = std::max(choice_kb, round.choice_kb);
    }
    const double account_mb = static_cast<double>(fs::file_size(accounts)) / (1 << 20);
    const double athena_mb = static_cast<double>(fs::file_size(athena)) / (1 << 20);
    const double largest_mb = std::max(account_mb, athena_mb);
    std::printf("the window on %s, medians of %d fresh processes\n", server.c_str(), rounds);
    std::printf("  grep -c '' account.txt athena.txt  %8.0f ms\n", median(grep_both) * 1000);
    std::printf(
        "  start-up                          %8.0f ms  %8.0f ms CPU  (%.2fx the grep pass); "
        "peak %.0f MB = %.2fx the largest file, %.2fx account.txt\n",
        median(start) * 1000, median(start_cpu) * 1000, median(start) / median(grep_both),
        start_kb / 1024.0, start_kb / 1024.0 / largest_mb, start_kb / 1024.0 / account_mb);
    std::printf("  grep -c '' athena.txt             %8.0f ms\n", median(grep_athena) * 1000);
    std::printf(
        "  first choice (%zu characters)      %8.0f ms  %8.0f ms CPU  (%.2fx the grep pass; aim "
        "2x); peak %.0f MB = %.2fx the largest file\n",
        round.characters, median(choice) * 1000, median(choice_cpu) * 1000,
        median(choice) / median(grep_athena), choice_kb / 1024.0, choice_kb / 1024.0 / largest_mb);
    std::printf(
        "  grep -m1 of the chosen account's first character line %8.0f ms: first choice "
        "%.2fx it (aim 2x)\n",
        median(grep_line) * 1000, median(choice) / median(grep_line));
    if (round.messages > 0) std::printf("  (%d messages were shown)\n", round.messages);
    return 0;
}
