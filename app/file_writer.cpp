#include "app/file_writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <vector>

#include "app/failure.h"
#include "app/text_file.h"

namespace tavo {
namespace {

constexpr std::size_t kBufferSize = 1 << 20;
constexpr std::uint64_t kWritebackChunk = 8 << 20;

ssize_t posix_write(int fd, const char* data, std::size_t size) {
    return ::write(fd, data, size);
}

ssize_t posix_copy_range(int from_fd, off_t* from_offset, int to_fd, std::size_t size) {
    return ::copy_file_range(from_fd, from_offset, to_fd, nullptr, size, 0);
}

FileCalls posix_calls(WriteFn write) {
    return FileCalls{std::move(write), ::rename, ::link, {}, {}};
}

Failure shortened(const fs::path& from) {
    return Failure(err::kPathFileAccess,
                   from.filename().string() + " became shorter while it was copied");
}

// A second name beside `file` that only this process uses: ".athena.txt.kept812".
fs::path beside(const fs::path& file, std::string_view what) {
    return file.parent_path() /
           ("." + file.filename().native() + std::string(what) + std::to_string(::getpid()));
}

bool is_word_char(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

mode_t default_mode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// Writing through a symbolic link replaces the file it names, not the link.
fs::path real_target(const fs::path& target) {
    std::error_code ec;
    if (fs::is_symlink(target, ec)) {
        fs::path resolved = fs::weakly_canonical(target, ec);
        if (!ec) return resolved;
    }
    return target;
}

// Whether the file's last byte is not a line break (a file of at least one byte).
bool ends_without_break(const fs::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat status {};
    char last = '\n';
    if (::fstat(fd, &status) == 0 && status.st_size > 0) {
        if (::pread(fd, &last, 1, status.st_size - 1) != 1) last = '\n';
    }
    ::close(fd);
    return last != '\n' && last != '\r';
}

// Streams the bytes of from into writer.
void append_file(const fs::path& from, AtomicWriter& writer) {
    const int fd = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw failure_from_errno(errno, from);
    std::vector<char> chunk(kBufferSize);
    for (;;) {
        const ssize_t got = ::read(fd, chunk.data(), chunk.size());
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            const int error = errno;
            ::close(fd);
            throw failure_from_errno(error, from);
        }
        if (got == 0) break;
        try {
            writer.write(std::string_view(chunk.data(), static_cast<std::size_t>(got)));
        } catch (...) {
            ::close(fd);
            throw;
        }
    }
    ::close(fd);
}

void sync_folder(const fs::path& folder) {
    const int fd =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

AtomicWriter::AtomicWriter(const fs::path& target, FileCalls calls)
    : target_(real_target(target)),
      opened_(stamp_of(target_)),
      existed_(opened_.has_value()),
      line_end_(line_end_of_file(target_)),
      calls_(std::move(calls)),
      ends_unbroken_(ends_without_break(target_)) {
    std::string pattern =
        (target_.parent_path() / ("." + target_.filename().native() + ".XXXXXX")).native();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    fd_ = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd_ < 0) throw failure_from_errno(errno, target_);
    temp_ = fs::path(name.data());
}

AtomicWriter::AtomicWriter(AtomicWriter&& other) noexcept
    : target_(std::move(other.target_)),
      temp_(std::move(other.temp_)),
      kept_(std::move(other.kept_)),
      backup_(std::move(other.backup_)),
      older_backup_(std::move(other.older_backup_)),
      mode_of_(std::move(other.mode_of_)),
      opened_(other.opened_),
      existed_(other.existed_),
      in_place_(other.in_place_),
      line_end_(other.line_end_),
      calls_(std::move(other.calls_)),
      fd_(other.fd_),
      buffer_(std::move(other.buffer_)),
      written_(other.written_),
      started_(other.started_),
      after_lone_cr_(other.after_lone_cr_),
      pending_break_(std::move(other.pending_break_)),
      ends_unbroken_(other.ends_unbroken_) {
    other.fd_ = -1;
    other.temp_.clear();
    other.kept_.clear();
    other.older_backup_.clear();
}

AtomicWriter::~AtomicWriter() {
    discard();
}

void AtomicWriter::discard() noexcept {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!temp_.empty()) ::unlink(temp_.c_str());
    temp_.clear();
    // Once the new content is in place, a kept old file that is still here is the only copy of
    // the old content (it could not be put back): it stays for the administrator.
    if (!in_place_) drop_original();
}

void AtomicWriter::write(std::string_view text) {
    put_pending_break();
    put(text);
}

void AtomicWriter::put_pending_break() {
    if (pending_break_.empty()) return;
    put(pending_break_);
    pending_break_.clear();
}

void AtomicWriter::put(std::string_view text) {
    if (!text.empty()) after_lone_cr_ = text.back() == '\r';
    if (buffer_.size() + text.size() > kBufferSize) {
        flush();
        if (text.size() > kBufferSize) {
            write_all(text.data(), text.size());
            return;
        }
    }
    buffer_.append(text);
}

std::uint64_t AtomicWriter::copy_from(int fd, const fs::path& from, std::uint64_t offset,
                                      std::optional<std::uint64_t> count) {
    put_pending_break();
    flush();
    std::uint64_t copied = 0;
    auto at = static_cast<off_t>(offset);
    while (calls_.copy_range && (!count || copied < *count)) {
        const std::size_t want =
            count ? std::min<std::uint64_t>(*count - copied, kWritebackChunk) : kWritebackChunk;
        const ssize_t done = calls_.copy_range(fd, &at, fd_, want);
        if (done < 0 && errno == EINTR) continue;
        if (done < 0 && copied == 0 &&
            (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP)) {
            break;  // a file system that cannot copy: through the buffer instead
        }
        if (done < 0) throw failure_from_errno(errno, target_);
        if (done == 0) {
            if (count) throw shortened(from);
            break;
        }
        copied += static_cast<std::uint64_t>(done);
        note_written(static_cast<std::uint64_t>(done));
    }
    if (!calls_.copy_range || (copied == 0 && (!count || *count > 0))) {
        copied = copy_through_buffer(fd, from, offset, count);
    }
    if (copied > 0) {
        char last = 0;
        if (::pread(fd, &last, 1, static_cast<off_t>(offset + copied - 1)) != 1) {
            throw failure_from_errno(errno, from);
        }
        after_lone_cr_ = last == '\r';
    }
    return copied;
}

std::uint64_t AtomicWriter::copy_through_buffer(int fd, const fs::path& from, std::uint64_t offset,
                                                std::optional<std::uint64_t> count) {
    std::vector<char> chunk(std::min<std::uint64_t>(count.value_or(kBufferSize), kBufferSize));
    std::uint64_t copied = 0;
    while (!chunk.empty() && (!count || copied < *count)) {
        const std::size_t want =
            std::min<std::uint64_t>(count ? *count - copied : chunk.size(), chunk.size());
        const ssize_t got = ::pread(fd, chunk.data(), want, static_cast<off_t>(offset + copied));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) throw failure_from_errno(errno, from);
        if (got == 0) {
            if (count) throw shortened(from);
            break;
        }
        write_all(chunk.data(), static_cast<std::size_t>(got));
        copied += static_cast<std::uint64_t>(got);
    }
    return copied;
}

void AtomicWriter::write_line(std::string_view line) {
    write_line(line, line_end_);
}

void AtomicWriter::write_line(std::string_view line, std::string_view line_break) {
    // Two scans for one byte each: find_first_of looks up the set for every byte of the line.
    const std::size_t inner = std::min(line.find('\r'), line.find('\n'));
    if (inner != std::string_view::npos && inner + 1 != line.size()) {
        throw Failure(err::kInvalidCall,
                      "A line to be written to " + target_.filename().string() +
                          " holds a line break, and the server would read it as two lines; "
                          "nothing was written");
    }
    put_pending_break();
    if (line.ends_with('\r')) {
        // Read before a CR LF ("\r\r\n"): any other break would make its CR a break of its
        // own, or part of one.
        line_break = "\r\n";
    } else if (line.empty() && after_lone_cr_ && !line_break.empty()) {
        // An LF or CR LF here would pair with the CR before it and swallow this empty line.
        line_break = "\r";
    }
    put(line);
    pending_break_ = line_break;
}

void AtomicWriter::flush() {
    write_all(buffer_.data(), buffer_.size());
    buffer_.clear();
}

void AtomicWriter::write_all(const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t done = calls_.write(fd_, data, size);
        if (done < 0 && errno == EINTR) continue;
        if (done < 0) throw failure_from_errno(errno, target_);
        if (done == 0) throw Failure(err::kDiskFull);
        data += done;
        size -= static_cast<std::size_t>(done);
        written_ += static_cast<std::uint64_t>(done);
    }
    note_written(0);
}

void AtomicWriter::note_written(std::uint64_t count) {
    written_ += count;
    // Large files: start writing what is done to disk while the rest is still being made, so
    // that the sync at the end has little left to wait for.
    if (written_ - started_ >= kWritebackChunk) {
        ::sync_file_range(fd_, static_cast<off_t>(started_),
                          static_cast<off_t>(written_ - started_), SYNC_FILE_RANGE_WRITE);
        started_ = written_;
    }
}

void AtomicWriter::commit(const fs::path& backup) {
    prepare();
    if (!backup.empty()) keep_original();
    put_in_place();
    if (backup.empty()) return;
    try {
        keep_backup(backup);
    } catch (...) {
        restore_original();
        throw;
    }
    drop_original();
}

void AtomicWriter::prepare() {
    if (!ends_unbroken_) put_pending_break();
    pending_break_.clear();
    flush();
    struct stat old {};
    const fs::path& mode_of = mode_of_.empty() ? target_ : mode_of_;
    if (::stat(mode_of.c_str(), &old) == 0) {
        ::fchmod(fd_, old.st_mode & 07777);
        [[maybe_unused]] const int ignored = ::fchown(fd_, old.st_uid, old.st_gid);
    } else {
        ::fchmod(fd_, default_mode());
    }
    if (::fsync(fd_) != 0) throw failure_from_errno(errno, target_);
    if (::close(fd_) != 0) {
        fd_ = -1;
        throw failure_from_errno(errno, target_);
    }
    fd_ = -1;
}

bool AtomicWriter::changed_on_disk() const {
    return stamp_of(target_) != opened_;
}

// A second name for the old file, made as a hard link so that nothing is copied; where the file
// system has no hard links, a copy with the same permissions.
fs::path AtomicWriter::second_name(const fs::path& file) const {
    const fs::path name = beside(file, ".kept");
    ::unlink(name.c_str());
    if (calls_.link(file.c_str(), name.c_str()) != 0) {
        FileWriter files;
        files.calls() = calls_;
        files.copy(file, name);
    }
    return name;
}

void AtomicWriter::keep_original() {
    if (existed_ && kept_.empty()) kept_ = second_name(target_);
}

void AtomicWriter::put_in_place() {
    if (calls_.rename(temp_.c_str(), target_.c_str()) != 0) {
        throw failure_from_errno(errno, target_);
    }
    temp_.clear();
    in_place_ = true;
    sync_folder(target_.parent_path());
}

// The kept old file becomes the backup: a further name for it is moved over the backup name, so
// the backup holds exactly the content before this rewrite. The older backup is kept until the
// old file can no longer be put back.
void AtomicWriter::keep_backup(const fs::path& backup) {
    if (kept_.empty()) return;
    if (file_exists(backup)) older_backup_ = second_name(backup);
    const fs::path link_name = beside(backup, ".link");
    ::unlink(link_name.c_str());
    if (calls_.link(kept_.c_str(), link_name.c_str()) == 0) {
        if (calls_.rename(link_name.c_str(), backup.c_str()) != 0) {
            const int error = errno;
            ::unlink(link_name.c_str());
            throw failure_from_errno(error, backup);
        }
    } else {
        FileWriter files;
        files.calls() = calls_;
        files.copy(kept_, backup);
    }
    backup_ = backup;
}

void AtomicWriter::drop_original() noexcept {
    for (fs::path* name : {&kept_, &older_backup_}) {
        if (!name->empty()) ::unlink(name->c_str());
        name->clear();
    }
    backup_.clear();
}

void AtomicWriter::restore_original() {
    if (!in_place_) return;
    if (existed_) {
        if (kept_.empty()) throw Failure(err::kDeviceIo).naming(target_);
        if (calls_.rename(kept_.c_str(), target_.c_str()) != 0) {
            throw failure_from_errno(errno, target_);
        }
        kept_.clear();
    } else if (::unlink(target_.c_str()) != 0 && errno != ENOENT) {
        throw failure_from_errno(errno, target_);
    }
    in_place_ = false;
    if (!backup_.empty()) {
        const bool back = older_backup_.empty()
                              ? ::unlink(backup_.c_str()) == 0
                              : calls_.rename(older_backup_.c_str(), backup_.c_str()) == 0;
        if (!back) throw failure_from_errno(errno, backup_);
        older_backup_.clear();
        backup_.clear();
    }
    sync_folder(target_.parent_path());
}

std::optional<Leftover> leftover_of(std::string_view name) {
    if (name.size() < 2 || name.front() != '.') return std::nullopt;
    const std::size_t dot = name.rfind('.');
    if (dot == 0) return std::nullopt;
    const std::string_view of = name.substr(1, dot - 1);
    const std::string_view tail = name.substr(dot + 1);
    // Tavo writes only .txt files in the server's folders, and copies of the old files it keeps.
    if (!of.ends_with(".txt") || of.size() == 4) {
        const std::optional<Leftover> copied = leftover_of(of);
        return copied && copied->old_content ? Leftover{copied->of, false}
                                             : std::optional<Leftover>();
    }
    const auto digits_after = [&](std::string_view word) {
        return tail.starts_with(word) && tail.size() > word.size() &&
               tail.find_first_not_of("0123456789", word.size()) == std::string_view::npos;
    };
    if (digits_after("kept")) return Leftover{std::string(of), true};
    if (digits_after("link")) return Leftover{std::string(of), false};
    if (tail.size() == 6 && std::all_of(tail.begin(), tail.end(), is_word_char)) {
        return Leftover{std::string(of), false};
    }
    return std::nullopt;
}

FileWriter::FileWriter() : calls_(posix_calls(posix_write)) {
    calls_.copy_range = posix_copy_range;
}

FileWriter::FileWriter(WriteFn write) : calls_(posix_calls(std::move(write))) {}

AtomicWriter FileWriter::open(const fs::path& target) const {
    if (before_write_) before_write_(target);
    return AtomicWriter(target, calls_);
}

void FileWriter::rewrite(const fs::path& target, std::string_view content) const {
    AtomicWriter writer = open(target);
    writer.write(content);
    writer.commit();
}

void FileWriter::rewrite_lines(const fs::path& target,
                               const std::vector<std::string>& lines) const {
    AtomicWriter writer = open(target);
    for (const std::string& line : lines) writer.write_line(line);
    writer.commit();
}

void FileWriter::rewrite_with_backup(const fs::path& target, const fs::path& backup,
                                     std::string_view content) const {
    AtomicWriter writer = open(target);
    writer.write(content);
    writer.commit(backup);
}

void FileWriter::copy(const fs::path& from, const fs::path& to) const {
    AtomicWriter writer = open(to);
    writer.take_mode_of(from);
    append_file(from, writer);
    writer.commit();
}

}  // namespace tavo
