#pragma once
// Several files that change together or not at all: every new content is written and synced
// first; only when all of them are ready do the renames begin. A failure while writing leaves
// every file as it was.

#include <deque>
#include <filesystem>
#include <string>
#include <vector>

#include "app/file_writer.h"

namespace tavo {

class FileBatch {
public:
    explicit FileBatch(const FileWriter& files) : files_(files) {}

    // A writer for the new content of target; `name` is how the user knows the file
    // ("save/athena.txt"). A backup path, when given, receives the old content.
    AtomicWriter& open(const fs::path& target, std::string name, fs::path backup = {});
    // The last file opened stays as it is after all (its content turned out unchanged).
    void forget_last() { entries_.pop_back(); }
    void add_lines(const fs::path& target, std::string name, const std::vector<std::string>& lines);

    // The name of the file being written when a failure came, for the message.
    const std::string& current() const { return current_; }

    // Puts every file in place; throws before any rename when a content cannot be completed.
    void commit();

private:
    struct Entry {
        AtomicWriter writer;
        std::string name;
        fs::path backup;
    };
    const FileWriter& files_;
    std::deque<Entry> entries_;
    std::string current_;
};

}  // namespace tavo
