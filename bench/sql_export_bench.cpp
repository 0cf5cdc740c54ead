// Moving a large server to SQL: a generated server of 1,000,000 accounts and about 2,000,000
// characters exported by tavo-cli export-sql against one `grep -c ''` pass over the files, then
// loaded into a MariaDB of the benchmark's own (through the mariadb client and through --into)
// against MariaDB's own LOAD DATA of the same rows. Aims: the export within 3x the grep pass, the
// load within 2x LOAD DATA.
//   sql_export_bench [SCRATCH] [ACCOUNTS]
// A server already generated at SCRATCH/sql-1m is used as it is and kept.

#include <sys/resource.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "export/sql_schema.h"
#include "testsupport/scratch_mariadb.h"
#include "tools/gen/server_gen.h"

namespace {

namespace fs = std::filesystem;
using namespace tavo;
using namespace tavo::bench;

struct Ran {
    double wall = 0;
    double cpu = 0;
    long peak_mb = 0;
    int code = 0;
};

// A shell command, timed, with the peak memory of its largest process.
Ran timed(const std::string& command) {
    std::fflush(stdout);
    const auto start = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execl("/bin/sh", "sh", "-c", command.c_str(), nullptr);
        _exit(127);
    }
    int status = 0;
    rusage usage{};  // the command and every process it waited for
    wait4(child, &status, 0, &usage);
    return {seconds_since(start), cpu_seconds(usage), usage.ru_maxrss / 1024,
            WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

// The CPU time a process has used so far, from /proc.
double process_cpu(int pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string field;
    double ticks = 0;
    for (int i = 3; i <= 15 && fields >> field; ++i) {
        if (i == 14 || i == 15) ticks += std::stod(field);  // utime, stime
    }
    return ticks / static_cast<double>(sysconf(_SC_CLK_TCK));
}

std::string quoted(const fs::path& path) {
    return "'" + path.string() + "'";
}

void must(const Ran& ran, const char* what) {
    if (ran.code == 0) return;
    std::fprintf(stderr, "%s failed (exit %d)\n", what, ran.code);
    std::exit(1);
}

}  // namespace

int main(int argc, char** argv) {
    const fs::path scratch = argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path();
    gen::ServerOptions options;
    options.out = scratch / "sql-1m";
    options.accounts = argc > 2 ? std::stoll(argv[2]) : 1000000;
    options.chars_per_account = 2.0;
    options.seed = 9;
    const bool kept = fs::exists(options.out / "save" / "athena.txt");
    auto start = Clock::now();
    const gen::ServerSummary summary = kept ? gen::ServerSummary{} : gen::generate_server(options);
    std::vector<std::string> grep = {"grep", "-c", ""};
    double megabytes = 0;
    for (const auto& entry : fs::recursive_directory_iterator(options.out / "save")) {
        if (!entry.is_regular_file()) continue;
        grep.push_back(entry.path().string());
        megabytes += static_cast<double>(entry.file_size()) / 1e6;
    }
    if (kept) {
        std::printf("%s as generated before: %.0f MB of save files\n", options.out.c_str(),
                    megabytes);
    } else {
        std::printf(
            "%lld accounts, %lld characters, %lld stores, %lld guilds: %.0f MB of save "
            "files, generated in %.1f s\n",
            summary.accounts, summary.characters, summary.stores, summary.guilds, megabytes,
            seconds_since(start));
    }

    Timing grep_pass;
    time_command(grep, grep_pass);  // the files are in the page cache from here on
    time_command(grep, grep_pass);
    const std::string cli = std::string(TAVO_CLI) + " --quiet --data " + quoted(options.out);
    const fs::path file = scratch / "sql-1m.sql";
    const Ran check = timed(cli + " check > /dev/null 2>&1");
    const Ran exported =
        timed(cli + " export-sql --schema 2004 --out " + quoted(file) + " > /dev/null");
    must(exported, "export-sql --out");
    const double export_pass = exported.cpu - check.cpu;
    // What writing the file's bytes costs by itself, without making them: the floor of any
    // export that writes this file, through the page cache and straight to the disk.
    const fs::path copy = file.string() + ".copy";
    const Ran copied = timed("cat " + quoted(file) + " > " + quoted(copy));
    fs::remove(copy);
    const Ran direct =
        timed("dd if=" + quoted(file) + " of=" + quoted(copy) + " bs=8M oflag=direct status=none");
    fs::remove(copy);

    const fs::path data = scratch / "sql-bench-mariadb";
    fs::remove_all(data);
    auto server_owner = std::make_unique<testing::ScratchMariadb>(data);
    testing::ScratchMariadb& server = *server_owner;
    server.query("CREATE DATABASE by_client CHARACTER SET latin1");
    double server_cpu = process_cpu(server.pid());
    Ran client = timed(server.client() + " by_client < " + quoted(file));
    must(client, "mariadb < file");
    client.cpu += process_cpu(server.pid()) - server_cpu;
    server_cpu = process_cpu(server.pid());
    Ran into = timed(cli + " export-sql --schema 2004 --into " + quoted(server.socket()) +
                     " --database by_into > /dev/null");
    must(into, "export-sql --into");
    into.cpu += process_cpu(server.pid()) - server_cpu;

    // The same rows as tab-separated files, loaded by MariaDB itself into empty copies of the
    // tables, keys rebuilt at the end as the export's load does.
    const fs::path rows = scratch / "sql-bench-rows";
    fs::remove_all(rows);
    fs::create_directories(rows);
    server.query("CREATE DATABASE by_load_data CHARACTER SET latin1");
    std::vector<std::string> tables;
    for (const SqlTable& t : sql_tables(SqlEra::Y2004)) {
        if (!t.filled) continue;
        tables.push_back(t.name);
        server.query("SELECT * FROM by_client.`" + t.name + "` INTO OUTFILE '" +
                     (rows / (t.name + ".tsv")).string() + "'");
        server.query("CREATE TABLE by_load_data.`" + t.name + "` LIKE by_client.`" + t.name + "`");
    }
    server.query("USE by_load_data");
    server_cpu = process_cpu(server.pid());
    server.query("SET SESSION sql_mode = 'STRICT_ALL_TABLES,NO_AUTO_VALUE_ON_ZERO'");
    start = Clock::now();
    std::string lock = "LOCK TABLES ";
    for (const std::string& t : tables) {
        server.query("ALTER TABLE `" + t + "` DISABLE KEYS");
        lock += (lock.size() > 12 ? ", `" : "`") + t + "` WRITE";
    }
    server.query(lock);
    for (const std::string& t : tables) {
        server.query("LOAD DATA INFILE '" + (rows / (t + ".tsv")).string() + "' INTO TABLE `" + t +
                     "`");
    }
    server.query("UNLOCK TABLES");
    for (const std::string& t : tables) server.query("ALTER TABLE `" + t + "` ENABLE KEYS");
    const double load_data = seconds_since(start);
    const double load_data_cpu = process_cpu(server.pid()) - server_cpu;
    const std::string chars = server.value("SELECT COUNT(*) FROM by_load_data.`char`");
    const std::string items = server.value("SELECT COUNT(*) FROM by_load_data.inventory");

    std::printf("%.0f MB of SQL; %s characters and %s inventory items in each database\n",
                static_cast<double>(fs::file_size(file)) / 1e6, chars.c_str(), items.c_str());
    std::printf(
        "(wall time on a shared machine; CPU time of every process, MariaDB's included; "
        "peak memory)\n");
    std::printf("  grep -c '' over the save files  %7.1f s %7.1f s CPU\n", grep_pass.wall,
                grep_pass.cpu);
    std::printf("  tavo-cli check                  %7.1f s %7.1f s CPU  %5ld MB\n", check.wall,
                check.cpu, check.peak_mb);
    std::printf("  tavo-cli export-sql --out       %7.1f s %7.1f s CPU  %5ld MB\n", exported.wall,
                exported.cpu, exported.peak_mb);
    std::printf(
        "    the export pass alone (less the check): %.1f s CPU, %.1f x the grep pass "
        "(aim: below 3); in wall time, the check beside it: %.1f x\n",
        export_pass, export_pass / std::max(grep_pass.wall, grep_pass.cpu),
        exported.wall / std::max(grep_pass.wall, grep_pass.cpu));
    std::printf(
        "  cat of the .sql into a new file %7.1f s %7.1f s CPU         the bytes alone: %.1f x "
        "the grep pass\n",
        copied.wall, copied.cpu, copied.cpu / std::max(grep_pass.wall, grep_pass.cpu));
    std::printf(
        "  dd of the .sql, direct to disk  %7.1f s %7.1f s CPU         the bytes alone: %.1f x "
        "the grep pass, wall\n",
        direct.wall, direct.cpu, direct.wall / std::max(grep_pass.wall, grep_pass.cpu));
    std::printf("  LOAD DATA of the same rows      %7.1f s %7.1f s CPU\n", load_data,
                load_data_cpu);
    std::printf(
        "  mariadb < the .sql file         %7.1f s %7.1f s CPU  %.2f x LOAD DATA "
        "(aim: below 2)\n",
        client.wall, client.cpu, client.wall / load_data);
    std::printf(
        "  tavo-cli export-sql --into      %7.1f s %7.1f s CPU  %5ld MB  %.2f x LOAD DATA, "
        "check and export included\n",
        into.wall, into.cpu, into.peak_mb, into.wall / load_data);
    server_owner.reset();
    fs::remove_all(data);
    fs::remove(file);
    fs::remove_all(rows);
    if (!kept) fs::remove_all(options.out);
    return 0;
}
