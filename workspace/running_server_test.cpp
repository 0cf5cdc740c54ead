// The running-server guard against a real listening socket on the loopback address.

#include "app/running_server.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "accounts/gm_levels.h"
#include "app/text.h"
#include "testsupport/server_folders.h"
#include "testsupport/temp_dir.h"

namespace tavo {
namespace {

// A socket listening on a free loopback port, closed with the object.
class Listener {
public:
    explicit Listener(int backlog = 4) {
        fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        EXPECT_EQ(::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        EXPECT_EQ(::listen(fd_, backlog), 0);
        socklen_t length = sizeof address;
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
    }
    ~Listener() { close(); }
    void close() {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
    }
    int port() const { return port_; }

private:
    int fd_ = -1;
    int port_ = 0;
};

// A port nothing listens on: one that was free a moment ago.
int free_port() {
    Listener probe;
    return probe.port();
}

class RunningServerGuard : public ::testing::Test {
protected:
    RunningServerGuard() {
        folders.server("conf/login_athena.conf",
                       "// login\nlogin_port: " + std::to_string(free_port()) + "\n");
        folders.server("conf/map_athena.conf", "map_port:\t" + std::to_string(free_port()) + "\n");
        folders.server("conf/GM_account.txt", "704554 99\n");
    }
    void TearDown() override { EXPECT_TRUE(folders.ui.unexpected.empty()); }
    void name_char_port(int port) {
        folders.server("conf/char_athena.conf",
                       "// char\nchar_port: 1\n  char_port : " + std::to_string(port) + "\n");
    }
    std::string gm_file() { return folders.dir.read("server/conf/GM_account.txt"); }

    testing::ServerFolders folders;
    AppContext& app = folders.app;
    testing::ScriptedUi& ui = folders.ui;
};

TEST_F(RunningServerGuard, FindsTheServerWhosePortAnswers) {
    const fs::path folder = app.settings.data_folder;
    Listener listener;
    name_char_port(listener.port());
    const std::vector<ServerPort> ports = server_ports(folder);
    ASSERT_EQ(ports.size(), 3u);
    EXPECT_EQ(ports[1].port, listener.port());  // the last line of the key counts
    const auto running = running_server(folder);
    ASSERT_TRUE(running.has_value());
    EXPECT_EQ(running->server, "char server");
    EXPECT_EQ(running->port, listener.port());
    const std::string warning = running_server_warning(*running);
    for (const char* part : {"char server", "in memory", "overwrites its files", "Stop"}) {
        EXPECT_TRUE(contains(warning, part)) << part;
    }
    listener.close();
    EXPECT_FALSE(running_server(folder).has_value());
    // Without conf files the server's own ports are asked.
    testing::ServerFolders bare;
    const fs::path bare_folder = bare.app.settings.data_folder;
    for (const char* conf : {"login", "char", "map"}) {
        fs::remove(bare_folder / "conf" / (std::string(conf) + "_athena.conf"));
    }
    const std::vector<ServerPort> defaults = server_ports(bare_folder);
    EXPECT_EQ(defaults[0].port, 6900);
    EXPECT_EQ(defaults[1].port, 6121);
    EXPECT_EQ(defaults[2].port, 5121);
    // Port 0 is whatever port the system gives: it is read as written and never asked.
    testing::name_port_zero(bare_folder);
    EXPECT_EQ(server_ports(bare_folder)[1].port, 0);
    EXPECT_FALSE(running_server(bare_folder).has_value());
}

// The server reads its conf files this way: imports where they stand, keys in any case, a
// comment after a value.
TEST_F(RunningServerGuard, PortsAreReadThroughImportsInAnyCaseBeforeAComment) {
    folders.server("conf/char_athena.conf", "char_port: 1\nimport: conf/import/char_conf.txt\n");
    folders.server("conf/import/char_conf.txt", "Char_Port: 7004 // moved\n");
    folders.server("conf/login_athena.conf", "import: conf/login_athena.conf\nLOGIN_PORT:\t7005\n");
    const std::vector<ServerPort> ports = server_ports(app.settings.data_folder);
    EXPECT_EQ(ports[0].port, 7005);  // an import of itself ends
    EXPECT_EQ(ports[1].port, 7004);
}

// A server that does not accept in time (its backlog full) still listens, and counts.
TEST_F(RunningServerGuard, AListeningSocketCountsWithoutAccepting) {
    EXPECT_EQ(listening_ports("  sl  local_address rem_address   st\n"
                              "   0: 0100007F:1B58 00000000:0000 0A 00000000:00000000\n"
                              "   1: 0100007F:1B59 0100007F:D431 01 00000000:00000000\n"
                              "   0: 00000000000000000000000000000000:17D4 "
                              "00000000000000000000000000000000:0000 0A 0\n"),
              (std::vector<int>{7000, 6100}));
    Listener listener(0);
    std::vector<int> waiting;
    for (int i = 0; i < 4; ++i) {
        const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<std::uint16_t>(listener.port()));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
        waiting.push_back(fd);
    }
    name_char_port(listener.port());
    const auto running = running_server(app.settings.data_folder, std::chrono::milliseconds(0));
    ASSERT_TRUE(running.has_value());
    EXPECT_EQ(running->port, listener.port());
    for (int fd : waiting) ::close(fd);
}

TEST_F(RunningServerGuard, EveryWriteIsRefusedOrAskedAboutWhileTheServerRuns) {
    Listener listener;
    name_char_port(listener.port());
    // The command line refuses unless forced.
    guard_writes(app, ui, WhileRunning::Refuse);
    EXPECT_FALSE(check_gm_id(app, ui, 704555, 50));
    EXPECT_TRUE(contains(ui.messages().back(), "Stop it first, or add --force."));
    EXPECT_EQ(gm_file(), "704554 99\n");
    guard_writes(app, ui, WhileRunning::Write);
    EXPECT_TRUE(check_gm_id(app, ui, 704555, 50));
    EXPECT_EQ(gm_file(), "704554 99\n704555 50\n");  // the file's own line ends
    // The editor asks.
    guard_writes(app, ui, WhileRunning::Ask);
    ui.answer({false});
    EXPECT_FALSE(check_gm_id(app, ui, 704556, 50));
    EXPECT_EQ(gm_file(), "704554 99\n704555 50\n");
    ASSERT_EQ(ui.questions().size(), 1u);
    EXPECT_TRUE(contains(ui.questions()[0], "GM_account.txt anyway?"));
    EXPECT_TRUE(contains(ui.messages().back(), "Not written: the char server answers on port"));
    ui.answer({true});
    EXPECT_TRUE(check_gm_id(app, ui, 704556, 50));
    EXPECT_TRUE(contains(gm_file(), "704556 50\n"));
    // A file outside the server folder (the program's tavo.ini) is not the server's.
    app.files.rewrite(app.program_file("tavo.ini"), "[option]\r\n");
    EXPECT_EQ(ui.questions().size(), 2u);
    // Once the server is stopped, nobody is asked.
    listener.close();
    EXPECT_TRUE(check_gm_id(app, ui, 704556, 60));
    EXPECT_EQ(ui.questions().size(), 2u);
}

}  // namespace
}  // namespace tavo
