// tavo-cli batch: commands in the usual syntax, one a line, applied in order on one session that
// reads each file once; every changed file is written once at the end, all of them or none.

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <memory>

#include "app/failure.h"
#include "cli/cli.h"
#include "workspace/edit_batch.h"

namespace tavo::cli {
namespace {

struct BatchOptions {
    std::string file = "-";
    bool dry_run = false;
};

// The batch's lines; nothing when the file cannot be read (told).
std::optional<std::vector<std::string>> read_batch(const std::string& file) {
    std::vector<std::string> lines;
    std::ifstream named;
    if (file != "-") {
        named.open(file, std::ios::binary);
        if (!named) {
            std::cerr << "Cannot read the batch file " << file << "\n";
            return std::nullopt;
        }
    }
    std::istream& in = file == "-" ? std::cin : named;
    for (std::string line; std::getline(in, line);) lines.push_back(std::move(line));
    if (in.bad()) {
        std::cerr << "The batch file " << file << " could not be read whole\n";
        return std::nullopt;
    }
    return lines;
}

// A line without its blanks and line end; empty for a blank line or a # comment.
std::string command_of(std::string_view line) {
    const std::size_t first = line.find_first_not_of(" \t\r");
    if (first == std::string_view::npos || line[first] == '#') return {};
    const std::size_t last = line.find_last_not_of(" \t\r");
    return std::string(line.substr(first, last - first + 1));
}

// What a command prints while it runs, kept instead of shown (for --json).
class Captured {
public:
    explicit Captured(bool capture) {
        if (!capture) return;
        std::cout.flush();
        std::fflush(stdout);
        file_ = std::tmpfile();
        saved_ = file_ ? ::dup(STDOUT_FILENO) : -1;
        if (saved_ >= 0) ::dup2(::fileno(file_), STDOUT_FILENO);
    }
    ~Captured() { finish(); }
    Captured(const Captured&) = delete;
    Captured& operator=(const Captured&) = delete;

    std::string finish() {
        std::string text;
        if (file_ == nullptr) return text;
        std::cout.flush();
        std::fflush(stdout);
        if (saved_ >= 0) {
            ::dup2(saved_, STDOUT_FILENO);
            ::close(saved_);
        }
        std::rewind(file_);
        char buffer[4096];
        for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, file_)) > 0;) {
            text.append(buffer, got);
        }
        std::fclose(file_);
        file_ = nullptr;
        return text;
    }

private:
    std::FILE* file_ = nullptr;
    int saved_ = -1;
};

// A command's output in the batch's JSON: its own JSON, or its lines of text.
nlohmann::json output_json(const std::string& output) {
    nlohmann::json parsed = nlohmann::json::parse(output, nullptr, false);
    if (!parsed.is_discarded()) return parsed;
    nlohmann::json lines = nlohmann::json::array();
    std::size_t start = 0;
    while (start < output.size()) {
        std::size_t end = output.find('\n', start);
        if (end == std::string::npos) end = output.size();
        lines.push_back(utf8(std::string_view(output).substr(start, end - start)));
        start = end + 1;
    }
    return lines;
}

// Runs one line's command on the batch's session; its exit code.
int run_line(const CliOptions& line_options, const std::string& command, std::size_t number) {
    int result = kDone;
    CLI::App parser{"a line of a batch"};
    parser.require_subcommand(1);
    add_commands(parser, line_options, result);
    try {
        parser.parse(command, false);
    } catch (const CLI::ParseError& e) {
        std::cerr << "Line " << number << ": ";
        return parser.exit(e) == 0 ? kDone : kUsage;
    }
    return result;
}

class Batch {
public:
    Batch(const CliOptions& options, const BatchOptions& batch)
        : options_(options), batch_(batch), session_(options, Session::ForBatch{}) {
        line_options_ = options;
        line_options_.batch = &session_;
    }

    int run() {
        const std::optional<std::vector<std::string>> lines = read_batch(batch_.file);
        if (!lines) return kFailed;
        if (!session_.start(kSettingsOnly) || session_.ui.declined()) return kFailed;
        start_edit_batch(session_.ws);
        hold_writes();
        for (std::size_t i = 0; i < lines->size(); ++i) {
            const std::string command = command_of((*lines)[i]);
            if (command.empty()) continue;
            if (const int code = apply(command, i + 1); code != kDone) return refused(i + 1, code);
        }
        if (batch_.dry_run) {
            std::cerr << applied_ << " command(s) applied; --dry-run: no file was written.\n";
            return finish({});
        }
        committing_ = true;
        const BatchWritten written = write_edit_batch(session_.ws, session_.ui);
        if (!written.done) return kFailed;
        for (const std::string& record : written.kept) kept_on_disk(session_.ui, record);
        std::cerr << applied_ << " command(s) applied; ";
        if (written.files.empty()) std::cerr << "no file needed a change.\n";
        for (std::size_t i = 0; i < written.files.size(); ++i) {
            std::cerr << (i == 0 ? "written: " : ", ") << written.files[i]
                      << (i + 1 == written.files.size() ? ".\n" : "");
        }
        finish(written.files);
        return written.kept.empty() ? kDone : kFailed;
    }

private:
    // Nothing is written before the batch ends: a command that writes its files at once (an
    // account's deletion, check --fix) is refused, and the batch stops there.
    void hold_writes() {
        FileWriter& files = session_.ws.app.files;
        const BeforeWrite guard = files.write_hook();
        files.before_write([this, guard](const fs::path& target) {
            if (!committing_) {
                throw Failure(err::kPermissionDenied,
                              file_shown(target) +
                                  " would be written at once, which a batch does not do: run "
                                  "this command on its own");
            }
            if (guard) guard(target);
        });
    }

    int apply(const std::string& command, std::size_t number) {
        Captured captured(options_.json);
        int code = run_line(line_options_, command, number);
        const std::string output = captured.finish();
        // A step that reported an error, or a question left unanswered, stops the batch too.
        if (code == kDone && (error_reported() || session_.ui.declined())) code = kFailed;
        if (code == kDone) {
            ++applied_;
            if (options_.json) {
                results_.push_back({{"line", number},
                                    {"command", utf8(command)},
                                    {"output", output_json(output)}});
            }
        }
        return code;
    }

    int refused(std::size_t number, int code) {
        std::cerr << "The batch stopped at line " << number << ": nothing was written.\n";
        if (options_.json) {
            print_json({{"stopped_at", number}, {"applied", results_}, {"written", nullptr}});
        }
        return code;
    }

    int finish(const std::vector<std::string>& files) {
        if (options_.json) {
            nlohmann::json written = nlohmann::json::array();
            for (const std::string& file : files) written.push_back(file);
            print_json({{"applied", results_}, {"dry_run", batch_.dry_run}, {"written", written}});
        }
        return kDone;
    }

    const CliOptions& options_;
    const BatchOptions& batch_;
    Session session_;
    CliOptions line_options_;
    bool committing_ = false;
    int applied_ = 0;
    nlohmann::json results_ = nlohmann::json::array();
};

}  // namespace

void add_batch_command(CLI::App& app, const CliOptions& options, int& result) {
    auto batch = std::make_shared<BatchOptions>();
    CLI::App* command = app.add_subcommand(
        "batch",
        "Run the commands of FILE (or of the standard input), one a line in the usual syntax "
        "(# starts a comment line), reading each file once; every changed file is written once "
        "at the end, all of them or none, and the first refusal stops the batch with its line "
        "number and nothing written");
    command->add_option("FILE", batch->file, "The batch file; - for the standard input");
    command->add_flag("--dry-run", batch->dry_run, "Apply every command and write nothing");
    command->callback([&options, &result, batch] {
        if (options.batch) {
            std::cerr << "A batch does not run another batch.\n";
            result = kUsage;
            return;
        }
        result = Batch(options, *batch).run();
    });
}

}  // namespace tavo::cli
