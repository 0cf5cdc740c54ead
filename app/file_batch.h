#pragma once
// Several files that change together or not at all. Every new content is written and synced
// first; only when all of them are ready do the renames begin. Until the last rename has
// succeeded, each replaced file is kept under a second name, so that a failure at any step puts
// every file back as it was. Right before its rename each file is looked at again: when another
// writer changed it since its content was made, the content is made again from the file as it
// is now, and so are the contents after it, which may build on it.

#include <deque>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/failure.h"
#include "app/file_writer.h"

namespace tavo {

class FileBatch {
public:
    // Writes the new content of a file into `out`, made from the file as it is on disk now: the
    // writer's change merged with whatever is there. False when the file needs no change.
    using Make = std::function<bool(AtomicWriter& out)>;

    explicit FileBatch(const FileWriter& files) : files_(files) {}

    // Adds target, which the user knows as `name` ("save/athena.txt"), with the content `make`
    // gives now; a backup path, when given, receives the old content. False when there is
    // nothing to change: the file is left out.
    bool add(const fs::path& target, std::string name, Make make, fs::path backup = {});

    // The files the batch changes, in the order they go in place.
    std::vector<fs::path> targets() const;

    // The name of the file being written when a failure came, for the message.
    const std::string& current() const { return current_; }

    // Puts every file in place, or none: a failure is thrown once every file already replaced
    // has been put back.
    void commit();
    // After a failure: "No file was changed.", or which files stay changed because they could
    // not be put back, and where their old content is.
    std::string outcome() const;
    // The failure of commit as the user is told it: its description, the file and the outcome.
    Failure told(const Failure& failure) const;

private:
    struct Entry {
        std::optional<AtomicWriter> writer;  // none: the file needs no change after all
        std::string name;
        fs::path target;
        fs::path backup;
        Make make;
    };
    bool settle(std::size_t index);
    void make_again(std::size_t from);
    void put_back(std::size_t replaced) noexcept;

    const FileWriter& files_;
    std::deque<Entry> entries_;
    std::string current_;
    std::vector<std::string> not_put_back_;
};

// One file rewritten with what `make` writes from the file as it is on disk, made again when
// another writer changes the file before the rename; the backup, when given, receives the old
// content. Failures are thrown and name the file.
void rewrite_from_disk(const FileWriter& files, const fs::path& target, const FileBatch::Make& make,
                       const fs::path& backup = {});

}  // namespace tavo
