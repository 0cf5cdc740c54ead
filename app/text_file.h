#pragma once
// Reading the plain text files of the server and of the program folder. A file is a
// sequence of lines ending in LF, CR LF or a lone CR (files that passed through an old Mac
// editor); a last line without a break reads like any other. A CR right before a CR LF belongs
// to its line, so such a line goes back as it was read. Nothing else is trimmed.

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
// Where a line starts past the middle of a file of at least `from_length` bytes, for reading
// its halves at once; 0 for a smaller file or one without such a line. Every LF ends a line,
// whatever break it belongs to.
std::uint64_t line_start_past_middle(const fs::path& path, std::uint64_t from_length);
// An existing file of at least one byte: what most loaders need before they read.
bool has_content(const fs::path& path);
// A file that does not exist or has 0 bytes: one a loader may start anew. A file whose state
// cannot be learnt (a folder without access) is not new.
bool is_new_file(const fs::path& path);
// Nothing at all is at the path. A folder where a file belongs is not missing: a writer that
// takes a missing save file as "nothing to change" must not take a folder for one.
bool is_missing(const fs::path& path);
// A folder counts as present when it holds at least one ordinary, visible file.
bool folder_present(const fs::path& folder);

// folder + relative (either separator). Server folders were made on file systems that ignore
// letter case, so where a component does not exist as written, the one entry of its folder
// whose name matches without regard to case is taken. When nothing matches, the path is
// returned as written, which is where a new file would be created.
fs::path resolve_in(const fs::path& folder, std::string_view relative);

// Finds the line breaks of a text read front to back. Each kind of break byte is searched for
// once over the text, so that a file of one kind of line end is not rescanned for the other
// at every line.
class BreakScanner {
public:
    struct Break {
        std::size_t at = std::string_view::npos;  // npos: no break up to the end of the text
        std::size_t length = 0;                   // 1 (LF or CR) or 2 (CR LF)
        bool undecided = false;  // a CR at the end: the bytes after it may change the answer
    };
    explicit BreakScanner(std::string_view text = {}) : text_(text) {}
    Break find(std::size_t from);

private:
    std::size_t next(char byte, std::size_t from, std::size_t& cached) const;

    std::string_view text_;
    std::size_t lf_ = kUnknown;
    std::size_t cr_ = kUnknown;
    static constexpr std::size_t kUnknown = std::string_view::npos - 1;
};

// The break the text's first line ends with ("\n", "\r\n" or "\r"); "\r\n" when it has none.
std::string_view line_end_of(std::string_view text);
// The same for the file at path; "\r\n" for a missing or unreadable file or one without breaks.
std::string_view line_end_of_file(const fs::path& path);

class LineReader {
public:
    // Fails with File not found (53) or the matching failure, naming the file, when the file
    // cannot be opened; a folder in its place is Path/File access error (75).
    explicit LineReader(const fs::path& path);
    // The lines of the bytes [from, to) of the file, `from` being where a line starts.
    LineReader(const fs::path& path, std::uint64_t from, std::uint64_t to);
    ~LineReader();
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    // The next line without its break; the view stays valid until the next call.
    bool next(std::string_view& line);
    // Where the line last returned by next() starts in the file.
    std::uint64_t line_offset() const { return line_offset_; }
    // The break the line last returned by next() ended with; empty for a last line without one.
    std::string_view line_break() const;

private:
    bool fill();

    int fd_ = -1;
    std::vector<char> buffer_;
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    bool eof_ = false;
    std::uint64_t consumed_ = 0;       // file bytes before buffer_[0]
    std::uint64_t left_ = UINT64_MAX;  // bytes still to read
    std::uint64_t line_offset_ = 0;
    std::size_t break_length_ = 0;
    char break_first_ = 0;
    BreakScanner scanner_;
};

std::vector<std::string> read_lines(const fs::path& path);
// The whole file, byte for byte.
std::string read_file(const fs::path& path);

}  // namespace tavo
