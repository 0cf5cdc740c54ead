#include "app/running_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <set>
#include <utility>

#include "app/failure.h"
#include "app/numbers.h"
#include "app/settings.h"
#include "app/text.h"
#include "app/text_file.h"
#include "app/ui.h"

namespace tavo {
namespace {

struct PortSetting {
    const char* server;
    const char* file;
    const char* key;
    int fallback;
};
constexpr PortSetting kPorts[] = {
    {"login server", "conf/login_athena.conf", "login_port", 6900},
    {"char server", "conf/char_athena.conf", "char_port", 6121},
    {"map server", "conf/map_athena.conf", "map_port", 5121},
};

constexpr int kMostImports = 16;  // deeper is a loop of imports

// The port of "key: value" in a server conf file and the files it imports, read as the server
// reads them: keys in any case, a "//" comment after a value, an "import: FILE" (named from the
// server folder) read where its line stands. The last value of the key counts. An unreadable
// file is passed over: the port asked is then the one found elsewhere, or the default.
void read_conf_port(const fs::path& server_folder, const fs::path& path, std::string_view key,
                    std::optional<int>& port, int depth) {
    if (depth > kMostImports || !file_exists(path)) return;
    std::vector<std::string> lines;
    try {
        lines = read_lines(path);
    } catch (const Failure&) {
        return;
    }
    for (const std::string& line : lines) {
        const std::string_view text = trim_blanks(line);
        const std::size_t colon = text.find(':');
        if (text.starts_with("//") || colon == std::string_view::npos) continue;
        const std::string name = to_lower(trim_blanks(text.substr(0, colon)));
        std::string_view value = text.substr(colon + 1);
        value = value.substr(0, value.find("//"));
        // The server skips blanks and TABs around a value.
        value.remove_prefix(std::min(value.find_first_not_of(" \t"), value.size()));
        value = value.substr(0, value.find_last_not_of(" \t") + 1);
        if (name == "import") {
            read_conf_port(server_folder, resolve_in(server_folder, value), key, port, depth + 1);
        } else if (name == key) {
            if (const auto number = integer_in(value, 0, 65535)) port = static_cast<int>(*number);
        }
    }
}

// The ports of the sockets listening in one of /proc/net/tcp or tcp6.
void add_listening_ports(const fs::path& table, std::set<int>& ports) {
    try {
        for (int port : listening_ports(read_file(table))) ports.insert(port);
    } catch (const Failure&) {
        // no such table (another system): the ports are asked by connecting
    }
}

bool accepts(int port, std::chrono::milliseconds timeout) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bool connected =
        ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    if (!connected && errno == EINPROGRESS) {
        pollfd wait{fd, POLLOUT, 0};
        if (::poll(&wait, 1, static_cast<int>(timeout.count())) == 1) {
            int error = 0;
            socklen_t length = sizeof error;
            connected = ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0;
        }
    }
    ::close(fd);
    return connected;
}

std::string not_written(const ServerPort& server, std::string_view advice) {
    return "Not written: the " + server.server + " answers on port " + std::to_string(server.port) +
           " and overwrites its files at every save. " + std::string(advice);
}

}  // namespace

std::vector<int> listening_ports(std::string_view table) {
    std::vector<int> ports;
    bool header = true;
    for (std::string_view line : split(table, '\n')) {
        if (std::exchange(header, false)) continue;
        std::vector<std::string_view> fields;
        for (std::string_view field : split(line, ' ')) {
            if (!field.empty()) fields.push_back(field);
        }
        // "sl local_address rem_address st ...": the local port in hex, state 0A is LISTEN.
        if (fields.size() < 4 || fields[3] != "0A") continue;
        const std::string_view local = fields[1];
        const std::size_t colon = local.rfind(':');
        if (colon == std::string_view::npos) continue;
        const std::string_view hex = local.substr(colon + 1);
        int port = 0;
        const auto [end, error] = std::from_chars(hex.data(), hex.data() + hex.size(), port, 16);
        if (error == std::errc() && end == hex.data() + hex.size()) ports.push_back(port);
    }
    return ports;
}

std::vector<ServerPort> server_ports(const fs::path& server_folder) {
    std::vector<ServerPort> ports;
    for (const PortSetting& s : kPorts) {
        std::optional<int> port;
        read_conf_port(server_folder, resolve_in(server_folder, s.file), s.key, port, 0);
        ports.push_back({s.server, port.value_or(s.fallback)});
    }
    return ports;
}

std::optional<ServerPort> running_server(const fs::path& server_folder,
                                         std::chrono::milliseconds timeout) {
    // A listening socket counts even when it does not accept in time (a full backlog), and
    // on any address of this machine.
    std::set<int> listening;
    add_listening_ports("/proc/net/tcp", listening);
    add_listening_ports("/proc/net/tcp6", listening);
    for (const ServerPort& server : server_ports(server_folder)) {
        // Port 0 has the system pick a free port when the server starts: none can be asked.
        if (server.port == 0) continue;
        if (listening.contains(server.port) || accepts(server.port, timeout)) return server;
    }
    return std::nullopt;
}

std::string running_server_warning(const ServerPort& server) {
    return "The " + server.server + " answers on port " + std::to_string(server.port) +
           " of this machine: the server is running.\r\nA running server keeps its data in "
           "memory and overwrites its files at every save, so what is saved here now would be "
           "lost, or would undo the server's own changes.\r\nStop the server before editing.";
}

void guard_writes(AppContext& app, Ui& ui, WhileRunning policy) {
    if (policy == WhileRunning::Write) {
        app.files.before_write({});
        return;
    }
    app.files.before_write([&ui, policy](const fs::path& target) {
        const fs::path folder = target.parent_path().parent_path();
        if (!is_server_folder(folder)) return;
        const std::optional<ServerPort> server = running_server(folder);
        if (!server) return;
        if (policy == WhileRunning::Refuse) {
            throw Failure(err::kPermissionDenied,
                          not_written(*server, "Stop it first, or add --force."));
        }
        const std::string question = "The " + server->server + " answers on port " +
                                     std::to_string(server->port) +
                                     " and overwrites its files at every save.\r\nWrite " +
                                     target.filename().string() + " anyway?";
        if (!ui.ask_yes_no(question, "Tavo", Icon::Warning)) {
            throw Failure(err::kPermissionDenied, not_written(*server, "Stop it first."));
        }
    });
}

}  // namespace tavo
