#pragma once
// A whole file seen as one read-only text without copying it: the check of a server folder
// reads files of gigabytes once and keeps views of their names.

#include <filesystem>
#include <string_view>

namespace tavo {

namespace fs = std::filesystem;

class MappedFile {
public:
    // Fails with the matching failure when the file cannot be opened; an empty file maps to
    // an empty text.
    explicit MappedFile(const fs::path& path);
    ~MappedFile();
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    std::string_view text() const { return {data_, size_}; }

private:
    const char* data_ = nullptr;
    std::size_t size_ = 0;
};

// Calls each(line, number) for every line of text: split at LF, one CR before it dropped,
// numbered from 1 as an editor shows them. A last line without a break counts too.
template <class Each>
void for_each_line(std::string_view text, Each&& each);

}  // namespace tavo

#include <cstring>

namespace tavo {

template <class Each>
void for_each_line(std::string_view text, Each&& each) {
    const char* at = text.data();
    const char* const end = at + text.size();
    std::size_t number = 0;
    while (at < end) {
        const auto* lf = static_cast<const char*>(std::memchr(at, '\n', end - at));
        const char* line_end = lf != nullptr ? lf : end;
        std::string_view line(at, static_cast<std::size_t>(line_end - at));
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        each(line, ++number);
        at = lf != nullptr ? lf + 1 : end;
    }
}

}  // namespace tavo
