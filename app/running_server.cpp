#include "app/running_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

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

// The value of "key: value" in a server conf file; the last line of the key counts.
std::optional<int> conf_port(const fs::path& path, std::string_view key) {
    if (!file_exists(path)) return std::nullopt;
    std::optional<int> port;
    try {
        for (const std::string& line : read_lines(path)) {
            const std::string_view text = trim_blanks(line);
            if (text.starts_with("//")) continue;
            const std::size_t colon = text.find(':');
            if (colon == std::string_view::npos || trim_blanks(text.substr(0, colon)) != key) {
                continue;
            }
            const std::string_view value = trim_blanks(text.substr(colon + 1));
            if (!is_numeric(value)) continue;
            const double number = numeric_value(value);
            if (number > 0 && number < 65536) port = static_cast<int>(number);
        }
    } catch (const Failure&) {
        return std::nullopt;  // an unreadable conf: the server's default port is asked
    }
    return port;
}

bool answers(int port, std::chrono::milliseconds timeout) {
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

std::vector<ServerPort> server_ports(const fs::path& server_folder) {
    std::vector<ServerPort> ports;
    for (const PortSetting& s : kPorts) {
        const int port = conf_port(resolve_in(server_folder, s.file), s.key).value_or(s.fallback);
        ports.push_back({s.server, port});
    }
    return ports;
}

std::optional<ServerPort> running_server(const fs::path& server_folder,
                                         std::chrono::milliseconds timeout) {
    for (const ServerPort& server : server_ports(server_folder)) {
        if (answers(server.port, timeout)) return server;
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
