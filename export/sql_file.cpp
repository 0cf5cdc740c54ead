#include "export/sql_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "app/failure.h"

namespace tavo {
namespace {

// Direct writes start at, and are a multiple of, the block size of the disk; 4 KB is a
// multiple of every block size Linux knows.
constexpr std::size_t kAlignment = 4096;
constexpr std::size_t kBufferBytes = 8 << 20;

char* new_block() {
    char* block = static_cast<char*>(std::aligned_alloc(kAlignment, kBufferBytes));
    if (block == nullptr) throw std::bad_alloc();
    return block;
}

bool set_direct(int fd, bool on) {
    const int flags = fcntl(fd, F_GETFL);
    if (flags < 0) return false;
    return fcntl(fd, F_SETFL, on ? flags | O_DIRECT : flags & ~O_DIRECT) == 0;
}

}  // namespace

SqlFile::SqlFile(const std::filesystem::path& target, std::string_view header, Writes writes)
    : target_(target), filling_(new_block()), writing_(new_block()) {
    std::string name =
        (target.parent_path() / ("." + target.filename().string() + ".XXXXXX")).string();
    std::vector<char> pattern(name.begin(), name.end());
    pattern.push_back('\0');
    fd_ = mkstemp(pattern.data());
    if (fd_ < 0) throw failure_from_errno(errno, target_);
    temp_ = pattern.data();
    fchmod(fd_, 0644);
    // A file system that cannot write directly (tmpfs, some network ones) refuses here.
    direct_ = writes == Writes::Direct && set_direct(fd_, true);
    try {
        writer_ = std::thread([this] { write_loop(); });
    } catch (...) {
        // No destructor runs for an object not made: the temporary file goes here.
        close(fd_);
        unlink(temp_.c_str());
        throw;
    }
    append(header);
}

SqlFile::~SqlFile() {
    stop_writer();
    if (fd_ >= 0) close(fd_);
    if (!temp_.empty()) unlink(temp_.c_str());
}

void SqlFile::execute(std::string_view statement) {
    append(statement);
    append(";\n");
}

void SqlFile::append(std::string_view bytes) {
    while (!bytes.empty()) {
        const std::size_t n = std::min(bytes.size(), kBufferBytes - filled_);
        std::memcpy(filling_.get() + filled_, bytes.data(), n);
        filled_ += n;
        bytes.remove_prefix(n);
        if (filled_ == kBufferBytes) hand_over();
    }
}

void SqlFile::hand_over() {
    wait_for_writer();
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        std::swap(filling_, writing_);
        pending_ = filled_;
    }
    filled_ = 0;
    changed_.notify_all();
}

void SqlFile::wait_for_writer() {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return pending_ == 0; });
    if (error_ != 0) throw failure_from_errno(error_, target_);
}

void SqlFile::write_loop() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return pending_ > 0 || stopping_; });
        if (pending_ == 0) return;
        const std::size_t bytes = pending_;
        lock.unlock();
        const int error = error_ == 0 ? write_all(writing_.get(), bytes) : 0;
        lock.lock();
        if (error != 0) error_ = error;
        pending_ = 0;
        changed_.notify_all();
    }
}

int SqlFile::write_all(const char* at, std::size_t left) {
    while (left > 0) {
        // Only whole blocks go directly; the file's last bytes go through the page cache.
        std::size_t now = left;
        if (direct_) {
            now = left - left % kAlignment;
            if (now == 0) {
                write_cached();
                now = left;
            }
        }
        const ssize_t n = write(fd_, at, now);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno == EINVAL && direct_) {
            write_cached();
            continue;
        }
        if (n < 0) return errno;
        if (direct_) {
            direct_bytes_ += static_cast<std::size_t>(n);
            // A direct write cut short leaves the file at an offset no direct write takes.
            if (static_cast<std::size_t>(n) % kAlignment != 0) write_cached();
        }
        at += n;
        left -= static_cast<std::size_t>(n);
    }
    return 0;
}

void SqlFile::write_cached() {
    set_direct(fd_, false);
    direct_ = false;
}

void SqlFile::stop_writer() {
    if (!writer_.joinable()) return;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    writer_.join();
}

void SqlFile::commit() {
    wait_for_writer();
    stop_writer();
    if (const int error = write_all(filling_.get(), filled_); error != 0) {
        throw failure_from_errno(error, target_);
    }
    filled_ = 0;
    if (close(fd_) != 0) {
        fd_ = -1;
        throw failure_from_errno(errno, target_);
    }
    fd_ = -1;
    if (std::rename(temp_.c_str(), target_.c_str()) != 0) throw failure_from_errno(errno, target_);
    temp_.clear();
}

std::string sql_file_header(const std::string& server_folder, SqlEra era) {
    return "-- The server folder " + server_folder + " in the eAthena SQL schema of " +
           std::string(sql_era_name(era)) +
           ", written by Tavo.\n-- Load it into a latin1 database: mariadb NAME < FILE.sql\n";
}

}  // namespace tavo
