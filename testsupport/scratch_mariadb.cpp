#include "testsupport/scratch_mariadb.h"

#include <fcntl.h>
#include <mysql.h>
#include <pwd.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace tavo::testing {
namespace {

std::string login_name() {
    const passwd* entry = getpwuid(geteuid());
    return entry != nullptr ? entry->pw_name : "root";
}

std::string read_all(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string quoted(const fs::path& path) {
    return "'" + path.string() + "'";
}

}  // namespace

fs::path find_program(std::string_view name) {
    std::string dirs = std::getenv("PATH") != nullptr ? std::getenv("PATH") : "";
    dirs += ":/usr/sbin:/usr/bin:/sbin";
    std::istringstream list(dirs);
    for (std::string dir; std::getline(list, dir, ':');) {
        const fs::path candidate = fs::path(dir) / name;
        if (!dir.empty() && access(candidate.c_str(), X_OK) == 0) return candidate;
    }
    return {};
}

bool mariadb_installed() {
    return !find_program("mariadb-install-db").empty() && !find_program("mariadbd").empty();
}

ScratchMariadb::ScratchMariadb(const fs::path& folder, DiskSync sync)
    : folder_(folder), socket_(folder / "sock"), user_(login_name()) {
    const fs::path install = find_program("mariadb-install-db");
    const fs::path server = find_program("mariadbd");
    if (install.empty() || server.empty()) {
        throw std::runtime_error(
            "MariaDB is not installed (mariadb-install-db, mariadbd): scripts/install-deps.sh "
            "installs mariadb-server");
    }
    fs::create_directories(folder_ / "data");
    const bool root = geteuid() == 0;
    const std::string as_user = root ? " --user=root" : "";
    // The bootstrap server of install-db and the server itself.
    const std::string no_sync =
        sync == DiskSync::Skip ? std::string("LD_PRELOAD=") + quoted(TAVO_NO_DISK_SYNC) + " " : "";
    const std::string command = no_sync + quoted(install) +
                                " --no-defaults --datadir=" + quoted(folder_ / "data") + as_user +
                                " --auth-root-authentication-method=socket --skip-test-db > " +
                                quoted(folder_ / "install.log") + " 2>&1";
    if (std::system(command.c_str()) != 0) {
        throw std::runtime_error("mariadb-install-db failed:\n" +
                                 read_all(folder_ / "install.log"));
    }
    const std::string datadir = "--datadir=" + (folder_ / "data").string();
    const std::string sock = "--socket=" + socket_.string();
    const std::string pid_file = "--pid-file=" + (folder_ / "pid").string();
    const std::string log = "--log-error=" + (folder_ / "error.log").string();
    pid_ = fork();
    if (pid_ == 0) {
        // What mariadbd says before its error log is open (a max_open_files warning) goes
        // beside it, not into the test's output.
        const int early = open((folder_ / "early.log").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (early >= 0) {
            dup2(early, STDOUT_FILENO);
            dup2(early, STDERR_FILENO);
        }
        if (sync == DiskSync::Skip) setenv("LD_PRELOAD", TAVO_NO_DISK_SYNC, 1);
        if (root) {
            execl(server.c_str(), server.c_str(), "--no-defaults", datadir.c_str(), sock.c_str(),
                  pid_file.c_str(), "--skip-networking", "--user=root", log.c_str(), nullptr);
        } else {
            execl(server.c_str(), server.c_str(), "--no-defaults", datadir.c_str(), sock.c_str(),
                  pid_file.c_str(), "--skip-networking", log.c_str(), nullptr);
        }
        _exit(127);
    }
    connection_ = mysql_init(nullptr);
    const unsigned int protocol = MYSQL_PROTOCOL_SOCKET;
    mysql_optionsv(connection_, MYSQL_OPT_PROTOCOL, &protocol);
    mysql_optionsv(connection_, MYSQL_SET_CHARSET_NAME, "latin1");
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (mysql_real_connect(connection_, "localhost", user_.c_str(), nullptr, nullptr, 0,
                              socket_.c_str(), 0) == nullptr) {
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_ ||
            std::chrono::steady_clock::now() > deadline) {
            pid_ = -1;
            const std::string why = mysql_error(connection_);
            mysql_close(connection_);
            connection_ = nullptr;
            throw std::runtime_error("mariadbd did not start (" + why + "):\n" +
                                     read_all(folder_ / "early.log") +
                                     read_all(folder_ / "error.log"));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    // Values come back as the bytes they are.
    query("SET NAMES latin1");
}

ScratchMariadb::~ScratchMariadb() {
    if (connection_ != nullptr) mysql_close(connection_);
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        int status = 0;
        waitpid(pid_, &status, 0);
    }
}

std::string ScratchMariadb::client() const {
    const fs::path program = find_program("mariadb");
    return quoted(program.empty() ? fs::path("mariadb") : program) + " --no-defaults -S " +
           quoted(socket_) + " -u " + user_;
}

ScratchMariadb::Rows ScratchMariadb::query(std::string_view sql) {
    if (mysql_real_query(connection_, sql.data(), sql.size()) != 0) {
        throw std::runtime_error("MariaDB error " + std::to_string(mysql_errno(connection_)) +
                                 ": " + mysql_error(connection_) + "\n" + std::string(sql));
    }
    Rows rows;
    MYSQL_RES* result = mysql_store_result(connection_);
    if (result == nullptr) return rows;
    const unsigned int columns = mysql_num_fields(result);
    while (MYSQL_ROW row = mysql_fetch_row(result)) {
        const unsigned long* lengths = mysql_fetch_lengths(result);
        std::vector<std::string>& values = rows.emplace_back();
        for (unsigned int i = 0; i < columns; ++i) {
            values.push_back(row[i] != nullptr ? std::string(row[i], lengths[i]) : "NULL");
        }
    }
    mysql_free_result(result);
    return rows;
}

std::string ScratchMariadb::value(std::string_view sql) {
    const Rows rows = query(sql);
    return rows.empty() || rows[0].empty() ? std::string() : rows[0][0];
}

}  // namespace tavo::testing
