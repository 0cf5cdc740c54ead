#pragma once
// The running-server guard. A running eAthena server keeps its data in memory and overwrites
// its files at every save, so an edit made meanwhile is lost or destroys the server's own. A
// server counts as running when its port answers on this machine.
//
// Every rewrite of a server file passes FileWriter's before-write hook, which guard_writes()
// installs once at start-up: a writer that goes through AppContext::files (open, rewrite,
// rewrite_with_backup, copy) is guarded without doing anything for it.

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/settings.h"

namespace tavo {

class Ui;

struct ServerPort {
    std::string server;  // "login server", "char server", "map server"
    int port = 0;
};

// The ports of conf/login_athena.conf, conf/char_athena.conf and conf/map_athena.conf and the
// files they import (login_port 6900, char_port 6121, map_port 5121 where no file names one).
std::vector<ServerPort> server_ports(const fs::path& server_folder);

// The ports of the listening sockets of a /proc/net/tcp or tcp6 table.
std::vector<int> listening_ports(std::string_view table);

// The first of those servers whose port has a listening socket on this machine (as the
// kernel's socket tables list them), or that accepts on 127.0.0.1; nothing when none does. A
// server of port 0 takes whatever port the system gives it, which cannot be known: it is not
// asked.
std::optional<ServerPort> running_server(
    const fs::path& server_folder,
    std::chrono::milliseconds timeout = std::chrono::milliseconds(250));

// The start-up warning: which server, that it keeps its data in memory and overwrites its files
// at every save, and that it should be stopped first.
std::string running_server_warning(const ServerPort& server);

// Puts the check before every rewrite of a file in a server folder (a file one folder below a
// folder with db, save and conf). A refused write fails with Permission denied and a text
// naming the server; the file stays as it was.
void guard_writes(AppContext& app, Ui& ui, WhileRunning policy);

}  // namespace tavo
