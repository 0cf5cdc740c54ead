#pragma once
// A MariaDB server of a test's own: a data folder made with mariadb-install-db in a scratch
// folder, mariadbd on a unix socket there with networking off, stopped by its process id. What
// cannot start throws, with the server's own words: a test that needs MariaDB fails then. Only
// where MariaDB is not installed at all may a test skip, saying so (mariadb_installed).

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

struct st_mysql;

namespace tavo::testing {

namespace fs = std::filesystem;

class ScratchMariadb {
public:
    // Skip: the server does not wait for the disk to sync (a test's data dies with it). Keep:
    // it does, as an administrator's server would (for figures).
    enum class DiskSync { Skip, Keep };
    explicit ScratchMariadb(const fs::path& folder, DiskSync sync = DiskSync::Keep);
    ~ScratchMariadb();
    ScratchMariadb(const ScratchMariadb&) = delete;
    ScratchMariadb& operator=(const ScratchMariadb&) = delete;

    const fs::path& socket() const { return socket_; }
    int pid() const { return pid_; }
    // The account the socket lets in: the login name.
    const std::string& user() const { return user_; }
    // The `mariadb` client on this server, for a shell command.
    std::string client() const;

    using Rows = std::vector<std::vector<std::string>>;
    // One statement; the rows of its result, each value as its bytes ("NULL" for NULL). Throws
    // with MariaDB's message when it fails.
    Rows query(std::string_view sql);
    // The first value of the first row.
    std::string value(std::string_view sql);

private:
    fs::path folder_;
    fs::path socket_;
    std::string user_;
    int pid_ = -1;
    st_mysql* connection_ = nullptr;
};

// Whether mariadbd and mariadb-install-db are there to be started.
bool mariadb_installed();

// A program on PATH, in /usr/sbin or /usr/bin; empty when there is none.
fs::path find_program(std::string_view name);

}  // namespace tavo::testing
