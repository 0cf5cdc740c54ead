#pragma once
// An export into a .sql file for the `mariadb` client: written to a temporary file beside the
// target and renamed over it only when the export is whole, so that a failed or refused export
// leaves no half file. It is not a server file: nothing waits for it on the disk (no fsync), and
// a file cut short by a crash is the temporary one, never the target.
//
// The file is written on a thread of its own while the rows are made, in whole blocks that go to
// the disk without passing through the page cache where the file system allows it: gigabytes of
// SQL then cost no copy in the kernel, and do not push the live server's files out of memory.

#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

#include "export/sql_rows.h"
#include "export/sql_schema.h"

namespace tavo {

class SqlFile : public SqlSink {
public:
    // Cached writes everything through the page cache (as where direct writes are refused).
    enum class Writes { Direct, Cached };

    // `header` goes first, as SQL comments. Fails with a Failure naming the file when the
    // temporary file cannot be made.
    SqlFile(const std::filesystem::path& target, std::string_view header,
            Writes writes = Writes::Direct);
    ~SqlFile() override;
    SqlFile(const SqlFile&) = delete;
    SqlFile& operator=(const SqlFile&) = delete;

    void execute(std::string_view statement) override;
    // Puts the file in place; without it the target is not touched.
    void commit();

    // The bytes that went to the disk directly, once the file is committed.
    std::size_t direct_bytes() const { return direct_bytes_; }

private:
    struct Free {
        void operator()(char* block) const { std::free(block); }
    };
    using Block = std::unique_ptr<char, Free>;

    void append(std::string_view bytes);
    // Hands the full buffer to the writer, once it is done with the last one.
    void hand_over();
    // Waits until the writer has nothing left; a failure of its last write is thrown here.
    void wait_for_writer();
    void write_loop();
    // Writes all of the bytes; the errno of a failure, or 0.
    int write_all(const char* at, std::size_t left);
    // The page cache from here on.
    void write_cached();
    void stop_writer();

    std::filesystem::path target_;
    std::filesystem::path temp_;
    int fd_ = -1;
    bool direct_ = false;
    std::size_t direct_bytes_ = 0;
    Block filling_;
    std::size_t filled_ = 0;

    std::mutex mutex_;
    std::condition_variable changed_;
    Block writing_;
    std::size_t pending_ = 0;  // bytes of writing_ the writer has yet to write
    bool stopping_ = false;
    int error_ = 0;
    std::thread writer_;
};

// The comment a .sql file starts with: which folder, which schema, and how to load it.
std::string sql_file_header(const std::string& server_folder, SqlEra era);

}  // namespace tavo
