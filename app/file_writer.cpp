#include "app/file_writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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
    if (fd < 0) throw failure_from_errno(errno);
    std::vector<char> chunk(kBufferSize);
    for (;;) {
        const ssize_t got = ::read(fd, chunk.data(), chunk.size());
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            const int error = errno;
            ::close(fd);
            throw failure_from_errno(error);
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

AtomicWriter::AtomicWriter(const fs::path& target, WriteFn write)
    : target_(real_target(target)),
      line_end_(line_end_of_file(target_)),
      write_(std::move(write)),
      ends_unbroken_(ends_without_break(target_)) {
    std::string pattern =
        (target_.parent_path() / ("." + target_.filename().native() + ".XXXXXX")).native();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    fd_ = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd_ < 0) throw failure_from_errno(errno);
    temp_ = fs::path(name.data());
}

AtomicWriter::AtomicWriter(AtomicWriter&& other) noexcept
    : target_(std::move(other.target_)),
      temp_(std::move(other.temp_)),
      line_end_(other.line_end_),
      write_(std::move(other.write_)),
      fd_(other.fd_),
      buffer_(std::move(other.buffer_)),
      written_(other.written_),
      started_(other.started_),
      after_lone_cr_(other.after_lone_cr_),
      pending_break_(std::move(other.pending_break_)),
      ends_unbroken_(other.ends_unbroken_) {
    other.fd_ = -1;
    other.temp_.clear();
}

AtomicWriter::~AtomicWriter() {
    discard();
}

void AtomicWriter::discard() noexcept {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!temp_.empty()) ::unlink(temp_.c_str());
    temp_.clear();
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

void AtomicWriter::write_line(std::string_view line) {
    write_line(line, line_end_);
}

void AtomicWriter::write_line(std::string_view line, std::string_view line_break) {
    const std::size_t inner = line.find_first_of("\r\n");
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
        const ssize_t done = write_(fd_, data, size);
        if (done < 0 && errno == EINTR) continue;
        if (done < 0) throw failure_from_errno(errno);
        if (done == 0) throw Failure(err::kDiskFull);
        data += done;
        size -= static_cast<std::size_t>(done);
        written_ += static_cast<std::uint64_t>(done);
    }
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
    keep_backup(backup);
    put_in_place();
}

void AtomicWriter::prepare() {
    if (!ends_unbroken_) put_pending_break();
    pending_break_.clear();
    flush();
    struct stat old {};
    if (::stat(target_.c_str(), &old) == 0) {
        ::fchmod(fd_, old.st_mode & 07777);
        [[maybe_unused]] const int ignored = ::fchown(fd_, old.st_uid, old.st_gid);
    } else {
        ::fchmod(fd_, default_mode());
    }
    if (::fsync(fd_) != 0) throw failure_from_errno(errno);
    if (::close(fd_) != 0) {
        fd_ = -1;
        throw failure_from_errno(errno);
    }
    fd_ = -1;
}

void AtomicWriter::keep_backup(const fs::path& backup) {
    if (!backup.empty() && file_exists(target_)) make_backup(backup);
}

void AtomicWriter::put_in_place() {
    if (::rename(temp_.c_str(), target_.c_str()) != 0) throw failure_from_errno(errno);
    temp_.clear();
    sync_folder(target_.parent_path());
}

// The old file becomes the backup: a second name for it is made and moved over the backup
// name, so the backup holds exactly the content before this rewrite without copying it.
// Where the file system has no hard links, the file is copied instead.
void AtomicWriter::make_backup(const fs::path& backup) {
    const fs::path link_name = backup.parent_path() / ("." + backup.filename().native() + ".link" +
                                                       std::to_string(::getpid()));
    ::unlink(link_name.c_str());
    if (::link(target_.c_str(), link_name.c_str()) == 0) {
        if (::rename(link_name.c_str(), backup.c_str()) == 0) return;
        const int error = errno;
        ::unlink(link_name.c_str());
        throw failure_from_errno(error);
    }
    FileWriter(write_).copy(target_, backup);
}

FileWriter::FileWriter() : write_(posix_write) {}

FileWriter::FileWriter(WriteFn write) : write_(std::move(write)) {}

AtomicWriter FileWriter::open(const fs::path& target) const {
    if (before_write_) before_write_(target);
    return AtomicWriter(target, write_);
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
    append_file(from, writer);
    writer.commit();
}

}  // namespace tavo
