#pragma once
// What every pass of the census shares: the save files it reads line by line, what could not
// be read (a file cut short, a damaged line), the count of lines read so far and a way to stop.
// A pass may run on a thread of its own: it touches nothing but the files and its own figures.

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/failure.h"
#include "app/text_file.h"

namespace tavo {

namespace fs = std::filesystem;

// A file the pass could not read to its end: the figures count only what came before.
struct IncompleteFile {
    std::string file;  // "save/athena.txt"
    std::string reason;
};

struct UnreadableLine {
    std::string file;
    std::size_t line = 0;
};

// What the figures of a pass rest on.
struct CensusNotes {
    static constexpr std::size_t kMostNamed = 100;
    std::vector<IncompleteFile> incomplete;
    long long unreadable = 0;                      // lines that are not the record they should be
    std::vector<UnreadableLine> unreadable_lines;  // the first kMostNamed of them
    bool complete() const { return incomplete.empty(); }
};

// The lines read so far over every file of the pass, called now and then from the pass's
// thread.
using CensusProgress = std::function<void(long long lines)>;

// Thrown out of a pass that was asked to stop.
struct CensusStopped {};

class CensusRun {
public:
    CensusRun(fs::path folder, CensusProgress progress, const std::atomic<bool>* stop)
        : folder_(std::move(folder)), progress_(std::move(progress)), stop_(stop) {}

    // Calls each(line, number) for every line of the server file (a name such as
    // "save/athena.txt"). A missing file has no lines; one that cannot be read to its end is
    // noted as incomplete, with what went wrong.
    template <class Each>
    void read(std::string_view file, Each&& each) {
        const fs::path path = resolve_in(folder_, file);
        if (is_missing(path)) return;
        try {
            LineReader reader(path);
            std::string_view line;
            std::size_t number = 0;
            while (reader.next(line)) {
                each(line, ++number);
                if ((++lines_ & kReportEvery) == 0) report();
            }
        } catch (const Failure& failure) {
            notes.incomplete.push_back({std::string(file), failure_text(failure)});
        }
        report();
    }

    // The line could not be read as its file's record.
    void unreadable(std::string_view file, std::size_t line);
    // Stops the pass (CensusStopped) when it was asked to.
    void check_stop() const;

    CensusNotes notes;

private:
    static constexpr long long kReportEvery = (1 << 16) - 1;
    void report();

    fs::path folder_;
    CensusProgress progress_;
    const std::atomic<bool>* stop_;
    long long lines_ = 0;
};

// An empty line (or one of only the CR before a CR LF) or a "//" comment: never a record.
bool is_blank_or_comment(std::string_view line);

}  // namespace tavo
