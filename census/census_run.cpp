#include "census/census_run.h"

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

bool is_blank_or_comment(std::string_view line) {
    return without_last_cr(line).empty() || line.starts_with("//");
}

}  // namespace tavo
