// Whole tavo-cli commands on a generated server (1,000,000 accounts with 2 characters each, by
// default), each run as a process and held against a plain tool over the same file in the same
// run: medians of several rounds, wall and CPU time, and the peak memory of the command's process
// beside the largest file it reads.
//   cli_bench SCRATCH [--cli PATH] [--accounts N] [--rounds N] [--batch-edits N] [NAME...]
// A server generated before at SCRATCH/cli-server is used as it is and kept; a new one is
// removed at the end. tavo-cli runs from a program folder with the demo's files (tavo.ini and
// the card tables), as it is installed. NAME picks commands by the first word of their name
// ("item", "check"). Aims: lookups within 1.5x the grep -m1 of the record's line, an edit within 2x
// cp + sync of the file it rewrites, check within 3x grep -c '', peak memory under 1.5x the largest
// file.

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "tools/gen/gen_db.h"
#include "tools/gen/server_gen.h"

namespace {

namespace fs = std::filesystem;
using namespace tavo::bench;

struct Figures {
    double wall = 0;  // medians
    double cpu = 0;
    long peak_kb = 0;  // the highest of the rounds
    int exit_code = 0;
};

// Runs argv `rounds` times, output to a scratch file; medians of wall and CPU time.
Figures run_rounds(const std::vector<std::string>& argv, int rounds) {
    std::vector<double> walls, cpus;
    Figures figures;
    for (int round = 0; round < rounds; ++round) {
        std::fflush(stdout);
        const auto start = Clock::now();
        const pid_t child = fork();
        if (child == 0) {
            std::freopen("/tmp/tavo-bench-command.out", "w", stdout);
            // The messages of the last round, for a command that failed.
            std::freopen("/tmp/tavo-bench-command.err", "w", stderr);
            std::vector<char*> args;
            for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
            args.push_back(nullptr);
            execvp(args[0], args.data());
            _exit(127);
        }
        int status = 0;
        rusage usage{};
        wait4(child, &status, 0, &usage);
        walls.push_back(seconds_since(start));
        cpus.push_back(cpu_seconds(usage));
        figures.peak_kb = std::max(figures.peak_kb, usage.ru_maxrss);
        figures.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : 128;
    }
    const auto median = [](std::vector<double> values) {
        std::sort(values.begin(), values.end());
        return values[values.size() / 2];
    };
    figures.wall = median(walls);
    figures.cpu = median(cpus);
    return figures;
}

// The lines of a file from the one that starts after `fraction` of it.
class LinesFrom {
public:
    LinesFrom(const fs::path& file, double fraction) : in_(file, std::ios::binary) {
        in_.seekg(static_cast<std::streamoff>(static_cast<double>(fs::file_size(file)) * fraction));
        std::string rest;
        std::getline(in_, rest);  // the rest of the line the offset fell into
    }
    bool next(std::string& line) { return static_cast<bool>(std::getline(in_, line)); }

private:
    std::ifstream in_;
};

// The TAB-separated field `index` of a line.
std::string_view tab_field(std::string_view line, std::size_t index) {
    for (std::size_t i = 0; i < index; ++i) {
        const std::size_t tab = line.find('\t');
        if (tab == std::string_view::npos) return {};
        line.remove_prefix(tab + 1);
    }
    return line.substr(0, line.find('\t'));
}

// The line (from 0) of the first item of an item list that holds a quantity and is the only one
// of its kind there (the panel refuses to make a second line of a kind), or -1.
int stackable_line(std::string_view items) {
    std::vector<int> ids;
    while (!items.empty()) {
        const std::size_t blank = items.find(' ');
        const std::string_view item = items.substr(0, blank);
        items.remove_prefix(blank == std::string_view::npos ? items.size() : blank + 1);
        if (!item.empty())
            ids.push_back(std::atoi(std::string(item.substr(item.find(',') + 1)).c_str()));
    }
    for (std::size_t line = 0; line < ids.size(); ++line) {
        if (tavo::gen::stackable(tavo::gen::item_def(ids[line])) &&
            std::count(ids.begin(), ids.end(), ids[line]) == 1) {
            return static_cast<int>(line);
        }
    }
    return -1;
}

// A record to look up and edit: its id and the line of an item of its list with a quantity.
struct Target {
    std::string id;
    int item = -1;
    std::string maker;  // the character that forged or brewed an item of the list; empty: none
};

// The character that forged or brewed the first made item of an item list (card0 255 or 254,
// its id in card2 and card3); empty when the list has none.
std::string maker_in(std::string_view items) {
    while (!items.empty()) {
        const std::size_t blank = items.find(' ');
        const std::string item(items.substr(0, blank));
        items.remove_prefix(blank == std::string_view::npos ? items.size() : blank + 1);
        std::vector<long> values;
        for (std::size_t at = 0; at <= item.size();) {
            const std::size_t comma = std::min(item.find(',', at), item.size());
            values.push_back(std::atol(item.substr(at, comma - at).c_str()));
            at = comma + 1;
        }
        if (values.size() >= 11 && (values[7] == 255 || values[7] == 254)) {
            return std::to_string((values[9] & 0xFFFF) | (values[10] << 16));
        }
    }
    return {};
}

// Which made items a target's list may hold.
enum class Made { Any, None, Some };

// The first record from `fraction` of the file whose list (TAB field `list`) has an item with
// a quantity, and made items as `made` asks; its id is the line's head up to `id_end`.
Target target_at(const fs::path& file, double fraction, char id_end, std::size_t list,
                 Made made = Made::Any) {
    LinesFrom lines(file, fraction);
    std::string line;
    while (lines.next(line)) {
        const std::string_view items = tab_field(line, list);
        const int item = stackable_line(items);
        std::string maker = maker_in(items);
        if (item < 0 || (made == Made::None && !maker.empty()) ||
            (made == Made::Some && maker.empty())) {
            continue;
        }
        return {line.substr(0, line.find(id_end)), item, std::move(maker)};
    }
    return {};
}

std::string field_at(const fs::path& file, double fraction, char id_end) {
    LinesFrom lines(file, fraction);
    std::string line;
    lines.next(line);
    return line.substr(0, line.find(id_end));
}

struct Case {
    std::string name;
    std::vector<std::string> command;   // tavo-cli arguments after --data
    std::vector<std::string> baseline;  // the plain tool
    std::string baseline_name;
    fs::path largest;  // the largest file the command reads
    double aim = 0;
};

std::vector<std::string> cp_sync(const std::vector<fs::path>& files, const fs::path& scratch) {
    std::string script;
    std::string copies;
    for (std::size_t i = 0; i < files.size(); ++i) {
        const std::string copy = (scratch / ("copy" + std::to_string(i))).string();
        script += "cp '" + files[i].string() + "' '" + copy + "' && ";
        copies += " '" + copy + "'";
    }
    return {"sh", "-c", script + "sync" + copies};
}

// A batch of edits spread over the three files: accounts, stores and characters in turn.
fs::path write_batch(const fs::path& server, const fs::path& scratch, int edits) {
    const fs::path file = scratch / "edits.batch";
    std::ofstream out(file);
    out << "# " << edits << " edits across account.txt, storage.txt and athena.txt\n";
    for (int i = 0; i < edits; ++i) {
        const double at = (i + 0.5) / edits;
        switch (i % 3) {
            case 0:
                out << "account set " << field_at(server / "save/account.txt", at, '\t')
                    << " email=batch" << i << "@example.com\n";
                break;
            case 1: {
                const Target store = target_at(server / "save/storage.txt", at, ',', 1);
                out << "item edit --storage " << store.id << " " << store.item << " --qty "
                    << 2 + i % 7 << "\n";
                break;
            }
            default: {
                const Target character = target_at(server / "save/athena.txt", at, '\t', 15);
                // One piece: never heavier than the stack it replaces.
                out << "item edit --char " << character.id << " " << character.item << " --qty 1\n";
            }
        }
    }
    return file;
}

// Takes out of the batch the lines tavo-cli refuses (a character the generator made heavier than
// it may carry refuses every edit), found by dry runs; the edits left.
int settle_batch(const fs::path& cli, const fs::path& server, const fs::path& batch, int edits) {
    std::vector<std::string> lines;
    {
        std::ifstream in(batch);
        for (std::string line; std::getline(in, line);) lines.push_back(line);
    }
    const std::string command = "'" + cli.string() + "' --data '" + server.string() +
                                "' batch --dry-run '" + batch.string() + "' 2>&1 >/dev/null";
    for (int tries = 0; tries < 50; ++tries) {
        std::string said;
        if (std::FILE* out = popen(command.c_str(), "r")) {
            char buffer[512];
            while (std::fgets(buffer, sizeof buffer, out) != nullptr) said += buffer;
            if (pclose(out) == 0) break;
        }
        const std::size_t at = said.find("stopped at line ");
        if (at == std::string::npos) break;
        const std::size_t number = std::strtoul(said.c_str() + at + 16, nullptr, 10);
        if (number == 0 || number > lines.size()) break;
        lines[number - 1] = "# refused: " + lines[number - 1];
        --edits;
        std::ofstream out(batch);
        for (const std::string& line : lines) out << line << "\n";
    }
    return edits;
}

void print_case(const Case& c, const Figures& mine, const Figures& base) {
    const double file_mb = static_cast<double>(fs::file_size(c.largest)) / (1 << 20);
    const double peak_mb = static_cast<double>(mine.peak_kb) / 1024;
    if (mine.exit_code != 0) {
        std::printf("%-26s failed (exit %d):\n", c.name.c_str(), mine.exit_code);
        std::ifstream messages("/tmp/tavo-bench-command.err");
        for (std::string line; std::getline(messages, line);) std::printf("    %s\n", line.c_str());
        return;
    }
    std::printf(
        "%-26s %8.0f ms %7.0f ms CPU | %-22s %7.0f ms %7.0f ms CPU | %5.2fx wall %5.2fx CPU "
        "(aim %.1fx) | peak %6.0f MB, %4.2fx %s\n",
        c.name.c_str(), mine.wall * 1000, mine.cpu * 1000, c.baseline_name.c_str(),
        base.wall * 1000, base.cpu * 1000, mine.wall / base.wall, mine.cpu / base.cpu, c.aim,
        peak_mb, peak_mb / file_mb, c.largest.filename().c_str());
}

}  // namespace

int main(int argc, char** argv) {
    fs::path scratch = fs::temp_directory_path();
    fs::path cli = fs::read_symlink("/proc/self/exe").parent_path().parent_path() / "cli/tavo-cli";
    long long accounts = 1000000;
    int rounds = 5;
    int batch_edits = 300;
    std::vector<std::string> only;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--cli" && i + 1 < argc) {
            cli = argv[++i];
        } else if (arg == "--accounts" && i + 1 < argc) {
            accounts = std::stoll(argv[++i]);
        } else if (arg == "--rounds" && i + 1 < argc) {
            rounds = std::stoi(argv[++i]);
        } else if (arg == "--batch-edits" && i + 1 < argc) {
            batch_edits = std::stoi(argv[++i]);
        } else if (i == 1) {
            scratch = arg;
        } else {
            only.push_back(arg);
        }
    }
    tavo::gen::ServerOptions options;
    options.out = scratch / "cli-server";
    options.accounts = accounts;
    options.chars_per_account = 2.0;
    options.seed = 9;
    const fs::path save = options.out / "save";
    const bool kept = fs::exists(save / "athena.txt");
    if (!kept) {
        const auto start = Clock::now();
        tavo::gen::generate_server(options);
        std::printf("generated in %.1f s\n", seconds_since(start));
    }
    std::vector<std::string> grep_all = {"grep", "-c", ""};
    for (const auto& entry : fs::recursive_directory_iterator(options.out)) {
        if (entry.is_regular_file()) grep_all.push_back(entry.path().string());
    }
    const fs::path account_txt = save / "account.txt";
    const fs::path athena_txt = save / "athena.txt";
    const fs::path storage_txt = save / "storage.txt";
    std::printf("%s: account.txt %.0f MB, athena.txt %.0f MB, storage.txt %.0f MB; %s\n",
                options.out.c_str(), static_cast<double>(fs::file_size(account_txt)) / 1e6,
                static_cast<double>(fs::file_size(athena_txt)) / 1e6,
                static_cast<double>(fs::file_size(storage_txt)) / 1e6, cli.c_str());
    run_rounds(grep_all, 1);  // every file in the page cache for every contender

    const std::string account = field_at(account_txt, 0.5, '\t');
    const Target character = target_at(athena_txt, 0.5, '\t', 15);
    // A store's list names the makers of its forged and brewed items, which only athena.txt
    // holds: one without them reads storage.txt alone, one with them athena.txt up to the maker.
    const Target store = target_at(storage_txt, 0.5, ',', 1, Made::None);
    const Target forged = target_at(storage_txt, 0.5, ',', 1, Made::Some);
    const auto grep_m1 = [](const std::string& head, const fs::path& file) {
        return std::vector<std::string>{"grep", "-m1", "^" + head, file.string()};
    };
    const fs::path batch = write_batch(options.out, scratch, batch_edits);
    const fs::path program = scratch / "cli-program";
    fs::create_directories(program);
    fs::copy(TAVO_DEMO_PROGRAM, program,
             fs::copy_options::overwrite_existing | fs::copy_options::recursive);
    fs::copy_file(cli, program / "tavo-cli", fs::copy_options::overwrite_existing);
    const int settled = settle_batch(program / "tavo-cli", options.out, batch, batch_edits);
    std::vector<Case> cases = {
        {"accounts",
         {"accounts"},
         {"awk", "-F\t", "{print $1 \"\\t\" $2 \"\\t\" $5 \"\\t\" $7 \"\\t\" $4}",
          account_txt.string()},
         "awk, same columns",
         account_txt,
         1.5},
        {"account " + account,
         {"account", account},
         grep_m1(account + "\t", account_txt),
         "grep -m1 its line",
         account_txt,
         1.5},
        {"gm " + account,
         {"gm", account},
         grep_m1(account + "\t", account_txt),
         "grep -m1 its line",
         account_txt,
         1.5},
        {"char " + character.id,
         {"char", character.id},
         grep_m1(character.id + "\t", athena_txt),
         "grep -m1 its line",
         athena_txt,
         1.5},
        {"storage " + store.id,
         {"storage", store.id},
         grep_m1(store.id + ",", storage_txt),
         "grep -m1 its line",
         storage_txt,
         1.5},
        {"storage " + forged.id + " (forged)",
         {"storage", forged.id},
         {"sh", "-c",
          "grep -m1 '^" + forged.id + ",' '" + storage_txt.string() + "' && grep -m1 '^" +
              forged.maker + "\t' '" + athena_txt.string() + "'"},
         "grep -m1 store + maker",
         storage_txt,
         1.5},
        {"account set (one edit)",
         {"account", "set", account, "email=bench@example.com"},
         cp_sync({account_txt}, scratch),
         "cp + sync account.txt",
         account_txt,
         2},
        {"item edit --storage",
         {"item", "edit", "--storage", store.id, std::to_string(store.item), "--qty", "7"},
         cp_sync({storage_txt}, scratch),
         "cp + sync storage.txt",
         storage_txt,
         2},
        {"item edit --char",
         {"item", "edit", "--char", character.id, std::to_string(character.item), "--qty", "7"},
         cp_sync({athena_txt}, scratch),
         "cp + sync athena.txt",
         athena_txt,
         2},
        {"batch of " + std::to_string(settled) + " edits",
         {"batch", batch.string()},
         cp_sync({account_txt, storage_txt, athena_txt}, scratch),
         "cp + sync of the three",
         athena_txt,
         2},
        {"check", {"check"}, grep_all, "grep -c '' every file", athena_txt, 3},
    };
    std::printf("medians of %d rounds; peak memory against the largest file the command reads\n",
                rounds);
    for (const Case& c : cases) {
        const std::string first = c.name.substr(0, c.name.find(' '));
        if (!only.empty() && std::find(only.begin(), only.end(), first) == only.end()) continue;
        std::vector<std::string> command = {(program / "tavo-cli").string(), "--data",
                                            options.out.string()};
        command.insert(command.end(), c.command.begin(), c.command.end());
        const Figures base = run_rounds(c.baseline, rounds);
        const Figures mine = run_rounds(command, rounds);
        print_case(c, mine, base);
    }
    for (int i = 0; i < 3; ++i) fs::remove(scratch / ("copy" + std::to_string(i)));
    fs::remove(batch);
    fs::remove_all(program);
    if (!kept) fs::remove_all(options.out);
    return 0;
}
