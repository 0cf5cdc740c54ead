// The user wipe at scale: a generated server of 1,000,000 accounts with about 2,000,000
// characters, of which the 10,000 idlest accounts are wiped with everything they hold (backups
// included), against awk passes over account.txt and athena.txt in the same run. Aim: under 3
// awk passes in all; peak memory under 2x the largest file.
//   wipe_bench [SCRATCH] [ACCOUNTS] [WIPED]
// The server is generated in a child process, so that the generator's memory is not counted.

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/numbers.h"
#include "app/text.h"
#include "app/text_file.h"
#include "bench/bench_support.h"
#include "tools/gen/server_gen.h"
#include "workspace/wipe.h"
#include "workspace/workspace.h"

namespace {

namespace fs = std::filesystem;
using namespace tavo;
using namespace tavo::bench;

void generate_in_child(const gen::ServerOptions& options) {
    const pid_t child = fork();
    if (child == 0) {
        gen::generate_server(options);
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "the generator failed\n");
        std::exit(1);
    }
}

// Accounts that never logged in match every date: they are given one after every other, so
// that the date alone decides how many go.
void give_every_account_a_login(const fs::path& accounts) {
    const fs::path written = accounts.string() + ".dated";
    {
        std::FILE* out = std::fopen(written.c_str(), "wb");
        LineReader in(accounts);
        std::string_view line;
        while (in.next(line)) {
            std::string text(line);
            if (piece(line, '\t', 3) == "-") {
                const std::size_t at = text.find("\t-\t");
                text.replace(at, 3, "\t2004-12-31 00:00:00.000\t");
            }
            text += '\n';
            std::fwrite(text.data(), 1, text.size(), out);
        }
        std::fclose(out);
    }
    fs::rename(written, accounts);
}

// The last-login date that takes about `wiped` player accounts: the wiped-th smallest.
std::string date_taking(const fs::path& accounts, long long wiped) {
    std::vector<std::string> dates;
    LineReader in(accounts);
    std::string_view line;
    while (in.next(line)) {
        if (line.starts_with("/") || leading_number(piece(line, '\t', 0)) < 2000000) continue;
        dates.emplace_back(piece(line, '\t', 3).substr(0, 10));
    }
    const auto at =
        dates.begin() + std::min<long long>(wiped, static_cast<long long>(dates.size())) - 1;
    std::nth_element(dates.begin(), at, dates.end());
    return *at;
}

}  // namespace

int main(int argc, char** argv) {
    const fs::path scratch = argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path();
    gen::ServerOptions options;
    options.out = scratch / "wipe-bench";
    options.accounts = argc > 2 ? std::stoll(argv[2]) : 1000000;
    const long long wanted = argc > 3 ? std::stoll(argv[3]) : options.accounts / 100;
    options.chars_per_account = 2.0;
    options.seed = 13;
    fs::remove_all(options.out);
    auto start = Clock::now();
    generate_in_child(options);
    const fs::path save = options.out / "save";
    const double account_mb = static_cast<double>(fs::file_size(save / "account.txt")) / 1e6;
    const double athena_mb = static_cast<double>(fs::file_size(save / "athena.txt")) / 1e6;
    std::printf("%lld accounts: account.txt %.0f MB, athena.txt %.0f MB, generated in %.1f s\n",
                options.accounts, account_mb, athena_mb, seconds_since(start));

    give_every_account_a_login(save / "account.txt");
    const std::string date = date_taking(save / "account.txt", wanted);
    const std::string program = "{ n += NF } END { print n }";
    Timing awk_accounts, awk_athena;
    for (int round = 0; round < 2; ++round) {  // the first fills the page cache
        time_command({"awk", "-F\t", program, (save / "account.txt").string()}, awk_accounts);
        time_command({"awk", "-F\t", program, (save / "athena.txt").string()}, awk_athena);
    }

    Workspace ws;
    ws.app.settings.data_folder = options.out.string() + "/";
    SilentUi ui;
    WipeRequest request;
    request.kind = WipeKind::Users;
    request.users.not_since = date;
    double cpu = own_cpu_seconds();
    start = Clock::now();
    const WipePlan plan = plan_wipe(ws, ui, request);
    const double plan_wall = seconds_since(start);
    WipeDone done;
    const std::optional<std::string> failed = run_wipe(ws, ui, request, plan, done);
    const double wall = seconds_since(start);
    cpu = own_cpu_seconds() - cpu;
    if (failed) {
        std::fprintf(stderr, "the wipe failed: %s\n", failed->c_str());
        return 1;
    }
    const double awk_pass = awk_accounts.wall + awk_athena.wall;
    std::printf("user wipe of accounts not logged in since %s: %s\n", date.c_str(),
                deleted_counts(plan).c_str());
    std::printf("  awk pass over account.txt  %8.1f ms\n", awk_accounts.wall * 1000);
    std::printf("  awk pass over athena.txt   %8.1f ms\n", awk_athena.wall * 1000);
    std::printf("  decision pass              %8.1f ms\n", plan_wall * 1000);
    std::printf("  whole wipe, backups too    %8.1f ms  (CPU %.1f ms; %.2f awk passes)\n",
                wall * 1000, cpu * 1000, wall / awk_pass);
    std::printf("  peak memory                %8.1f MB  (%.2f of the largest file)\n",
                peak_kb() / 1024.0,
                peak_kb() / 1024.0 / std::max(account_mb, athena_mb) * 1.048576);
    std::printf("  aim: under 3 awk passes, peak memory under 2 of the largest file\n");
    fs::remove_all(options.out);
    return 0;
}
