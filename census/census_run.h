#pragma once
// What every pass of the census shares: the save files it reads line by line, what could not
// be read (a file cut short, a damaged line), the count of lines read so far and a way to stop.
// A pass may run on a thread of its own: it touches nothing but the files and its own figures.

#include <atomic>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
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

    // A line of `file` that could not be read.
    void unreadable_line(std::string_view file, std::size_t line);
    // The notes of a later part of the pass; its lines numbered `lines_before` further on.
    void add(const CensusNotes& later, std::size_t lines_before = 0);
};

// The lines read so far over every file of the pass, called now and then from the pass's
// thread.
using CensusProgress = std::function<void(long long lines)>;

// Thrown out of a pass that was asked to stop.
struct CensusStopped {};

// Files this long or longer are read in two halves, the second on a thread of its own.
inline constexpr std::uint64_t kSplitFrom = std::uint64_t{64} << 20;

// One half of a file read in two: what could not be read in it, its lines numbered from its
// own start.
struct CensusHalf {
    std::size_t index = 0;  // 0 for the first half
    CensusNotes notes;
    std::size_t lines = 0;
    std::uint64_t line_offset = 0;  // where the line being read starts in the file
    void unreadable(std::string_view file, std::size_t line);
};

class CensusRun {
public:
    CensusRun(fs::path folder, CensusProgress progress, const std::atomic<bool>* stop)
        : folder_(std::move(folder)), progress_(std::move(progress)), stop_(stop) {}

    // Calls each(line, number) for every line of the server file (a name such as
    // "save/athena.txt"). A missing file has no lines; one that cannot be read to its end is
    // noted as incomplete, with what went wrong.
    template <class Each>
    void read(std::string_view file, Each&& each) {
        read_lines(file, [&](const LineReader&, std::string_view line, std::size_t number) {
            each(line, number);
        });
    }

    // As read(), each(half, line, number) with a file of at least `split_from` bytes read in
    // two halves at once, the second on a thread of its own; a shorter file is one half. The
    // halves meet right after a LF, so that every line lies whole in one of them, and its
    // number counts from its half's start. The unreadable lines are noted here, numbered in
    // the file. Returns how many halves count: a half not read to its end leaves out the
    // half after it, as read() leaves out the lines after a failure.
    template <class Each>
    std::size_t read_halves(std::string_view file, std::uint64_t split_from, Each&& each) {
        const fs::path path = resolve_in(folder_, file);
        if (is_missing(path)) return 0;
        const std::uint64_t split = split_at(path, split_from);
        CensusHalf halves[2];
        halves[1].index = 1;
        if (split == 0) {
            read_lines(file,
                       [&](const LineReader& reader, std::string_view line, std::size_t number) {
                           halves[0].lines = number;
                           halves[0].line_offset = reader.line_offset();
                           each(halves[0], line, number);
                       });
            return merge_halves(halves, 1);
        }
        std::atomic<long long> second_lines{0};
        std::exception_ptr second_failure;
        std::thread second([&] {
            try {
                read_part(file, path, split, UINT64_MAX, halves[1], each, &second_lines);
            } catch (...) {
                second_failure = std::current_exception();
            }
        });
        try {
            read_part(file, path, 0, split, halves[0], each, nullptr, &second_lines);
        } catch (...) {
            stopping_ = true;
            second.join();
            throw;
        }
        second.join();
        if (second_failure) std::rethrow_exception(second_failure);
        lines_ += static_cast<long long>(halves[0].lines + halves[1].lines);
        report();
        return merge_halves(halves, 2);
    }

    // The line could not be read as its file's record.
    void unreadable(std::string_view file, std::size_t line);
    // Stops the pass (CensusStopped) when it was asked to.
    void check_stop() const;
    // The lines read so far, and lines read beside this pass counted in.
    long long lines() const { return lines_; }
    void add_lines(long long more) {
        lines_ += more;
        report();
    }

    CensusNotes notes;

private:
    static constexpr long long kReportEvery = (1 << 16) - 1;

    // As read(), each(reader, line, number): the reader tells where the line lies.
    template <class Each>
    void read_lines(std::string_view file, Each&& each) {
        const fs::path path = resolve_in(folder_, file);
        if (is_missing(path)) return;
        try {
            LineReader reader(path);
            std::string_view line;
            std::size_t number = 0;
            while (reader.next(line)) {
                each(std::as_const(reader), line, ++number);
                if ((++lines_ & kReportEvery) == 0) report();
            }
        } catch (const Failure& failure) {
            notes.incomplete.push_back({std::string(file), failure_text(failure)});
        }
        report();
    }

    void report();
    // Where a file of at least split_from bytes is split: right after the first LF from its
    // middle on; 0 to read it whole.
    static std::uint64_t split_at(const fs::path& path, std::uint64_t split_from);
    std::size_t merge_halves(const CensusHalf* halves, std::size_t count);

    // Reads [from, to) of the file into the half. The first half reports the lines of both
    // (the second's in `others`) and stops the pass when asked; the second counts its lines in
    // `mine` and ends early when the first stops.
    template <class Each>
    void read_part(std::string_view file, const fs::path& path, std::uint64_t from,
                   std::uint64_t to, CensusHalf& half, Each& each, std::atomic<long long>* mine,
                   const std::atomic<long long>* others = nullptr) {
        try {
            LineReader reader(path, from, to);
            std::string_view line;
            std::size_t number = 0;
            while (reader.next(line)) {
                half.line_offset = reader.line_offset();
                each(half, line, ++number);
                half.lines = number;
                if ((number & kReportEvery) != 0) continue;
                if (mine != nullptr) {
                    mine->store(static_cast<long long>(number), std::memory_order_relaxed);
                    if (stopping_ || stop_asked()) return;
                } else {
                    report(static_cast<long long>(number) +
                           others->load(std::memory_order_relaxed));
                }
            }
        } catch (const Failure& failure) {
            half.notes.incomplete.push_back({std::string(file), failure_text(failure)});
        }
        if (mine != nullptr) mine->store(static_cast<long long>(half.lines));
    }
    bool stop_asked() const { return stop_ != nullptr && stop_->load(std::memory_order_relaxed); }
    void report(long long more) {
        check_stop();
        if (progress_) progress_(lines_ + more);
    }

    fs::path folder_;
    CensusProgress progress_;
    const std::atomic<bool>* stop_;
    long long lines_ = 0;
    std::atomic<bool> stopping_{false};
};

// An empty line (or one of only the CR before a CR LF) or a "//" comment: never a record.
bool is_blank_or_comment(std::string_view line);

}  // namespace tavo
