#include "app/text_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <system_error>
#include <utility>

#include "app/failure.h"
#include "app/text.h"

namespace tavo {
namespace {

constexpr std::size_t kChunk = 1 << 20;
constexpr std::size_t kMinChunk = 256;

bool exists_as_entry(const fs::path& path) {
    std::error_code ec;
    return fs::symlink_status(path, ec).type() != fs::file_type::not_found && !ec;
}

// A folder opens for reading like a file and fails only at the first read, with a word that
// does not say what is wrong.
void refuse_folder(int fd, const struct stat& info, const fs::path& path) {
    if (!S_ISDIR(info.st_mode)) return;
    ::close(fd);
    throw Failure(err::kPathFileAccess, "A folder, not a file").naming(path);
}

// The one entry of folder whose name equals name without regard to case, or empty.
fs::path match_ignoring_case(const fs::path& folder, std::string_view name) {
    const std::string wanted = to_lower(name);
    fs::path found;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (to_lower(it->path().filename().native()) != wanted) continue;
        if (!found.empty()) return {};  // two candidates: neither is taken
        found = it->path();
    }
    return found;
}

}  // namespace

bool file_exists(const fs::path& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

std::uintmax_t file_length(const fs::path& path) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) return 0;
    const auto size = fs::file_size(path, ec);
    return ec ? 0 : size;
}

std::uint64_t line_start_past_middle(const fs::path& path, std::uint64_t from_length) {
    const std::uint64_t length = file_length(path);
    if (length < from_length || length < 2) return 0;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return 0;
    std::uint64_t at = length / 2;
    std::uint64_t split = 0;
    char block[1 << 16];
    for (;;) {
        const ssize_t got = ::pread(fd, block, sizeof block, static_cast<off_t>(at));
        if (got <= 0) break;
        if (const void* lf = std::memchr(block, '\n', static_cast<std::size_t>(got))) {
            split = at + static_cast<std::uint64_t>(static_cast<const char*>(lf) - block) + 1;
            break;
        }
        at += static_cast<std::uint64_t>(got);
    }
    ::close(fd);
    return split < length ? split : 0;
}

bool has_content(const fs::path& path) {
    return file_length(path) > 0;
}

bool is_new_file(const fs::path& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return errno == ENOENT;
    return S_ISREG(info.st_mode) && info.st_size == 0;
}

bool is_missing(const fs::path& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) != 0 && errno == ENOENT;
}

bool folder_present(const fs::path& folder) {
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().native();
        if (name.empty() || name.front() == '.') continue;
        if (it->is_regular_file(ec)) return true;
    }
    return false;
}

fs::path resolve_in(const fs::path& folder, std::string_view relative) {
    std::string rel(relative);
    for (char& c : rel) {
        if (c == '\\') c = '/';
    }
    const std::vector<std::string_view> parts = split(rel, '/');
    fs::path current = folder;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (parts[i].empty()) continue;
        fs::path exact = current / parts[i];
        if (exists_as_entry(exact)) {
            current = std::move(exact);
            continue;
        }
        fs::path other = match_ignoring_case(current, parts[i]);
        if (other.empty()) {
            for (; i < parts.size(); ++i) {
                if (!parts[i].empty()) current /= parts[i];
            }
            return current;
        }
        current = std::move(other);
    }
    return current;
}

LineReader::LineReader(const fs::path& path) {
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) throw failure_from_errno(errno, path);
    // A small file gets a small buffer: many short files are read for one save, and a full
    // chunk for each would cost more than the reading itself.
    struct stat info {};
    const bool known = ::fstat(fd_, &info) == 0;
    if (known) refuse_folder(fd_, info, path);  // closes it before it throws
    const auto size =
        known && info.st_size > 0 ? static_cast<std::uint64_t>(info.st_size) : std::uint64_t{0};
    buffer_.resize(
        static_cast<std::size_t>(std::clamp<std::uint64_t>(size + 1, kMinChunk, kChunk)));
    ::posix_fadvise(fd_, 0, 0, POSIX_FADV_SEQUENTIAL);
}

LineReader::LineReader(const fs::path& path, std::uint64_t from, std::uint64_t to)
    : LineReader(path) {
    left_ = to > from ? to - from : 0;
    consumed_ = from;
    if (from > 0 && ::lseek(fd_, static_cast<off_t>(from), SEEK_SET) < 0) {
        const int error = errno;
        ::close(std::exchange(fd_, -1));
        throw failure_from_errno(error, path);
    }
    // The rest of the file (`to` past its end) reads in full chunks.
    buffer_.resize(static_cast<std::size_t>(
        std::clamp<std::uint64_t>(std::min<std::uint64_t>(left_, kChunk) + 1, kMinChunk, kChunk)));
}

LineReader::~LineReader() {
    if (fd_ >= 0) ::close(fd_);
}

bool LineReader::fill() {
    if (begin_ > 0) {
        std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
        consumed_ += begin_;
        end_ -= begin_;
        begin_ = 0;
    }
    if (end_ == buffer_.size()) buffer_.resize(buffer_.size() * 2);  // a line longer than a chunk
    for (;;) {
        const std::size_t room =
            static_cast<std::size_t>(std::min<std::uint64_t>(buffer_.size() - end_, left_));
        const ssize_t got = room == 0 ? 0 : ::read(fd_, buffer_.data() + end_, room);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) throw failure_from_errno(errno);
        if (got == 0) eof_ = true;
        end_ += static_cast<std::size_t>(got);
        left_ -= static_cast<std::uint64_t>(got);
        return got > 0;
    }
}

bool LineReader::next(std::string_view& line) {
    BreakScanner::Break found = scanner_.find(begin_);
    while ((found.at == std::string_view::npos || found.undecided) && !eof_) {
        fill();
        scanner_ = BreakScanner(std::string_view(buffer_.data(), end_));
        found = scanner_.find(begin_);
    }
    if (found.at == std::string_view::npos && begin_ == end_) return false;
    const std::size_t line_end = found.at == std::string_view::npos ? end_ : found.at;
    line_offset_ = consumed_ + begin_;
    line = std::string_view(buffer_.data() + begin_, line_end - begin_);
    break_length_ = found.length;
    break_first_ = found.length > 0 ? buffer_[line_end] : 0;
    begin_ = line_end + found.length;
    return true;
}

std::string_view LineReader::line_break() const {
    if (break_length_ == 2) return "\r\n";
    if (break_length_ == 0) return {};
    return break_first_ == '\r' ? "\r" : "\n";
}

std::size_t BreakScanner::next(char byte, std::size_t from, std::size_t& cached) const {
    if (cached == std::string_view::npos) return cached;  // none in the rest of the text
    if (cached != kUnknown && cached >= from) return cached;
    const auto* hit = static_cast<const char*>(
        from < text_.size() ? std::memchr(text_.data() + from, byte, text_.size() - from)
                            : nullptr);
    cached = hit == nullptr ? std::string_view::npos : static_cast<std::size_t>(hit - text_.data());
    return cached;
}

BreakScanner::Break BreakScanner::find(std::size_t from) {
    const std::size_t lf = next('\n', from, lf_);
    for (std::size_t search = from;;) {
        const std::size_t cr = next('\r', search, cr_);
        if (cr == std::string_view::npos || cr > lf) {
            return lf == std::string_view::npos ? Break{} : Break{lf, 1, false};
        }
        if (cr + 1 == lf) return {cr, 2, false};
        if (cr + 1 >= text_.size()) return {cr, 1, true};
        if (text_[cr + 1] == '\r') {
            if (cr + 2 >= text_.size()) return {cr, 1, true};
            if (text_[cr + 2] == '\n') {  // "\r\r\n": the first CR is part of the line
                search = cr + 1;
                continue;
            }
        }
        return {cr, 1, false};
    }
}

std::string_view line_end_of(std::string_view text) {
    const BreakScanner::Break found = BreakScanner(text).find(0);
    if (found.at == std::string_view::npos) return "\r\n";
    if (found.length == 2) return "\r\n";
    return text[found.at] == '\r' ? "\r" : "\n";
}

std::string_view line_end_of_file(const fs::path& path) {
    try {
        LineReader reader(path);
        std::string_view line;
        if (reader.next(line) && !reader.line_break().empty()) return reader.line_break();
    } catch (const Failure&) {
    }
    return "\r\n";
}

std::vector<std::string> read_lines(const fs::path& path) {
    std::vector<std::string> lines;
    LineReader reader(path);
    std::string_view line;
    while (reader.next(line)) lines.emplace_back(line);
    return lines;
}

std::string read_file(const fs::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw failure_from_errno(errno, path);
    // Sized once from the file's length, so that a large file is not copied while it grows.
    struct stat info {};
    std::string content;
    if (::fstat(fd, &info) == 0) {
        refuse_folder(fd, info, path);
        if (info.st_size > 0) content.resize(static_cast<std::size_t>(info.st_size));
    }
    std::size_t used = 0;
    char probe[1 << 12];
    for (;;) {
        // At the expected end a small read tells whether the file grew meanwhile.
        const bool full = used == content.size();
        char* into = full ? probe : content.data() + used;
        const std::size_t room = full ? sizeof probe : content.size() - used;
        const ssize_t got = ::read(fd, into, room);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            const int error = errno;
            ::close(fd);
            throw failure_from_errno(error, path);
        }
        if (got == 0) break;
        if (full) content.append(probe, static_cast<std::size_t>(got));
        used += static_cast<std::size_t>(got);
    }
    ::close(fd);
    content.resize(used);
    return content;
}

}  // namespace tavo
