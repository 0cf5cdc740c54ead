#include "app/skipped_rows.h"

#include "app/ui.h"

namespace tavo {

std::string row_excerpt(std::string_view row, std::size_t width) {
    if (row.size() <= width) return std::string(row);
    return std::string(row.substr(0, width)) + "... (" + std::to_string(row.size()) + " bytes)";
}

void SkippedRows::add(std::size_t line_number, std::string_view row) {
    ++count_;
    if (listed_.size() < kListed) {
        listed_.push_back("line " + std::to_string(line_number) + ": " + row_excerpt(row));
    }
}

std::string SkippedRows::text() const {
    if (count_ == 0) return {};
    std::string text = std::to_string(count_) + " row(s) of " + file_ +
                       " could not be read and were skipped; the other rows are loaded.";
    for (const std::string& row : listed_) text += "\r\n" + row;
    if (count_ > listed_.size()) {
        text += "\r\n... and " + std::to_string(count_ - listed_.size()) + " more";
    }
    return text;
}

void SkippedRows::report(Ui& ui) const {
    if (count_ > 0) ui.message(text(), "Tavo", Icon::Warning);
}

}  // namespace tavo
