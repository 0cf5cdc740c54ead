#include "census/census_run.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstring>

#include "app/text.h"

namespace tavo {

void CensusRun::unreadable(std::string_view file, std::size_t line) {
    if (notes.unreadable_lines.size() < CensusNotes::kMostNamed) {
        notes.unreadable_lines.push_back({std::string(file), line});
    }
    ++notes.unreadable;
}

void CensusRun::check_stop() const {
    if (stop_ != nullptr && stop_->load(std::memory_order_relaxed)) throw CensusStopped{};
}

void CensusRun::report() {
    check_stop();
    if (progress_) progress_(lines_);
}

void CensusHalf::unreadable(std::string_view file, std::size_t line) {
    if (notes.unreadable_lines.size() < CensusNotes::kMostNamed) {
        notes.unreadable_lines.push_back({std::string(file), line});
    }
    ++notes.unreadable;
}

std::uint64_t CensusRun::split_at(const fs::path& path, std::uint64_t split_from) {
    const std::uint64_t length = file_length(path);
    if (length < split_from || length < 2) return 0;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return 0;
    std::uint64_t at = length / 2;
    std::uint64_t split = 0;
    char block[1 << 16];
    for (;;) {
        const ssize_t got = ::pread(fd, block, sizeof block, static_cast<off_t>(at));
        if (got <= 0) break;
        if (const void* lf = std::memchr(block, '\n', static_cast<std::size_t>(got))) {
            split = at + static_cast<std::uint64_t>(static_cast<const char*>(lf) - block) + 1;
            break;
        }
        at += static_cast<std::uint64_t>(got);
    }
    ::close(fd);
    return split < length ? split : 0;
}

std::size_t CensusRun::merge_halves(const CensusHalf* halves, std::size_t count) {
    std::size_t before = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const CensusHalf& half = halves[i];
        for (const UnreadableLine& line : half.notes.unreadable_lines) {
            if (notes.unreadable_lines.size() == CensusNotes::kMostNamed) break;
            notes.unreadable_lines.push_back({line.file, line.line + before});
        }
        notes.unreadable += half.notes.unreadable;
        notes.incomplete.insert(notes.incomplete.end(), half.notes.incomplete.begin(),
                                half.notes.incomplete.end());
        before += half.lines;
        if (!half.notes.complete()) return i + 1;
    }
    return count;
}

bool is_blank_or_comment(std::string_view line) {
    return without_last_cr(line).empty() || line.starts_with("//");
}

}  // namespace tavo
