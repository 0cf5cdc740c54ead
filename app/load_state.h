#pragma once
// Whether a table holds the whole of the file it was read from. A table whose read failed or
// stopped part-way holds only some of the file's records (or none), so writing it back would
// destroy the rest: every writer that rewrites a file from its table asks allow_write() first.

#include <string>
#include <string_view>

namespace tavo {

class Failure;
class Ui;

class LoadState {
public:
    // Not whole: nothing was read yet.
    explicit LoadState(std::string_view file) : file_(file) {}

    // The table is whole: the file was read to its end, or the table was made anew.
    void set_whole();
    // The read of file (a name such as "save/account.txt") failed or stopped part-way.
    void set_failed(std::string_view file, const Failure& failure);

    bool whole() const { return whole_; }
    // Why a write is refused, naming the file and what went wrong; empty when whole.
    std::string refusal() const;
    // True when the table may be written; otherwise shows the refusal and gives false.
    bool allow_write(Ui& ui) const;

private:
    bool whole_ = false;
    std::string file_;
    std::string reason_ = "it has not been read yet";
};

}  // namespace tavo
