#pragma once
// An index built from a file, kept until the file changes. A file is taken as unchanged while
// its identity, size and modification time are, so the index gives exactly what a fresh read
// of the file would.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <utility>

namespace tavo {

namespace fs = std::filesystem;

struct FileStamp {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    std::int64_t modified_ns = 0;
    bool operator==(const FileStamp&) const = default;
};

// The stamp of an existing file; nothing for a missing one.
std::optional<FileStamp> stamp_of(const fs::path& path);

template <class Index>
class CachedIndex {
public:
    // The index of the file at path; `build(path)` runs only when the file (or the path)
    // differs from the last build.
    template <class Build>
    const Index& get(const fs::path& path, Build&& build) {
        const std::optional<FileStamp> now = stamp_of(path);
        if (!built_ || path != path_ || now != stamp_) {
            index_ = Index{};
            built_ = false;
            index_ = build(path);
            path_ = path;
            stamp_ = now;
            built_ = true;
        }
        return index_;
    }
    void forget() { built_ = false; }
    // Whether the index is built for the file as it is now.
    bool holds(const fs::path& path) const {
        return built_ && path == path_ && stamp_of(path) == stamp_;
    }

private:
    bool built_ = false;
    fs::path path_;
    std::optional<FileStamp> stamp_;
    Index index_{};
};

}  // namespace tavo
