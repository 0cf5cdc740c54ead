#include "export/sql_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

#include "app/failure.h"

namespace tavo {
namespace {

constexpr std::size_t kBufferBytes = 4 << 20;

}  // namespace

SqlFile::SqlFile(const std::filesystem::path& target, std::string_view header) : target_(target) {
    std::string name =
        (target.parent_path() / ("." + target.filename().string() + ".XXXXXX")).string();
    std::vector<char> pattern(name.begin(), name.end());
    pattern.push_back('\0');
    fd_ = mkstemp(pattern.data());
    if (fd_ < 0) throw failure_from_errno(errno, target_);
    temp_ = pattern.data();
    fchmod(fd_, 0644);
    buffer_.reserve(kBufferBytes + (1 << 20));
    buffer_.append(header);
}

SqlFile::~SqlFile() {
    if (fd_ >= 0) close(fd_);
    if (!temp_.empty()) unlink(temp_.c_str());
}

void SqlFile::execute(std::string_view statement) {
    // A large statement goes out as it is, without a copy into the buffer.
    if (statement.size() >= kBufferBytes / 8) {
        write_out();
        write_all(statement);
        buffer_.append(";\n");
        return;
    }
    buffer_.append(statement).append(";\n");
    if (buffer_.size() >= kBufferBytes) write_out();
}

void SqlFile::write_out() {
    write_all(buffer_);
    buffer_.clear();
}

void SqlFile::write_all(std::string_view bytes) {
    const char* at = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t n = write(fd_, at, left);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) throw failure_from_errno(errno, target_);
        at += n;
        left -= static_cast<std::size_t>(n);
    }
}

void SqlFile::commit() {
    write_out();
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
