#include "census/census_run.h"

#include "app/text.h"

namespace tavo {

void CensusNotes::unreadable_line(std::string_view file, std::size_t line) {
    if (unreadable_lines.size() < kMostNamed) unreadable_lines.push_back({std::string(file), line});
    ++unreadable;
}

void CensusNotes::add(const CensusNotes& later, std::size_t lines_before) {
    for (const UnreadableLine& line : later.unreadable_lines) {
        if (unreadable_lines.size() == kMostNamed) break;
        unreadable_lines.push_back({line.file, line.line + lines_before});
    }
    unreadable += later.unreadable;
    incomplete.insert(incomplete.end(), later.incomplete.begin(), later.incomplete.end());
}

void CensusRun::unreadable(std::string_view file, std::size_t line) {
    notes.unreadable_line(file, line);
}

void CensusRun::check_stop() const {
    if (stop_ != nullptr && stop_->load(std::memory_order_relaxed)) throw CensusStopped{};
}

void CensusRun::report() {
    check_stop();
    if (progress_) progress_(lines_);
}

void CensusHalf::unreadable(std::string_view file, std::size_t line) {
    notes.unreadable_line(file, line);
}

std::uint64_t CensusRun::split_at(const fs::path& path, std::uint64_t split_from) {
    return line_start_past_middle(path, split_from);
}

std::size_t CensusRun::merge_halves(const CensusHalf* halves, std::size_t count) {
    std::size_t before = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const CensusHalf& half = halves[i];
        notes.add(half.notes, before);
        before += half.lines;
        if (!half.notes.complete()) return i + 1;
    }
    return count;
}

bool is_blank_or_comment(std::string_view line) {
    return without_last_cr(line).empty() || line.starts_with("//");
}

}  // namespace tavo
