#pragma once
// Reading the plain text files of the server and of the program folder. A file is a
// sequence of lines split at LF with one CR before it dropped; a last line without a break
// reads like any other. Nothing else is trimmed.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tavo {

namespace fs = std::filesystem;

// An existing ordinary file (not a folder).
bool file_exists(const fs::path& path);
// The length in bytes; 0 for a missing file.
std::uintmax_t file_length(const fs::path& path);
// An existing file of at least one byte: what most loaders need before they read.
bool has_content(const fs::path& path);
// A folder counts as present when it holds at least one ordinary, visible file.
bool folder_present(const fs::path& folder);

// folder + relative (either separator). Server folders were made on file systems that ignore
// letter case, so where a component does not exist as written, the one entry of its folder
// whose name matches without regard to case is taken. When nothing matches, the path is
// returned as written, which is where a new file would be created.
fs::path resolve_in(const fs::path& folder, std::string_view relative);

class LineReader {
public:
    // Fails with File not found (53) or the matching failure when the file cannot be opened.
    explicit LineReader(const fs::path& path);
    ~LineReader();
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    // The next line without its break; the view stays valid until the next call.
    bool next(std::string_view& line);
    // Where the line last returned by next() starts in the file.
    std::uint64_t line_offset() const { return line_offset_; }

private:
    bool fill();

    int fd_ = -1;
    std::vector<char> buffer_;
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    bool eof_ = false;
    std::uint64_t consumed_ = 0;  // file bytes before buffer_[0]
    std::uint64_t line_offset_ = 0;
};

std::vector<std::string> read_lines(const fs::path& path);
// The whole file, byte for byte.
std::string read_file(const fs::path& path);

}  // namespace tavo
