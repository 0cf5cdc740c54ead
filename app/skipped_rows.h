#pragma once
// Rows of a reference table (item_db.txt, the card tables, the tavo.ini sections) that cannot
// be read. Such a row is skipped and the rest of the table loads; all skipped rows are then
// reported in one message with their line numbers, a long row cut to a short excerpt so that a
// damaged file of megabytes does not flood the screen.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tavo {

class Ui;

// The row as shown in a message: at most `width` bytes, a cut row ending in "..." and its length.
std::string row_excerpt(std::string_view row, std::size_t width = 60);

class SkippedRows {
public:
    explicit SkippedRows(std::string_view file) : file_(file) {}

    void add(std::size_t line_number, std::string_view row);
    std::size_t count() const { return count_; }
    // The message, listing the first rows and how many more there are; empty without rows.
    std::string text() const;
    // Shows the message once; nothing when no row was skipped.
    void report(Ui& ui) const;

private:
    static constexpr std::size_t kListed = 10;

    std::string file_;
    std::vector<std::string> listed_;
    std::size_t count_ = 0;
};

}  // namespace tavo
