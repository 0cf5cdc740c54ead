#include "export/mariadb_sink.h"

#include <mysql.h>

#include "app/failure.h"

namespace tavo {
namespace {

std::string quoted_name(std::string_view name) {
    std::string text = "`";
    for (const char c : name) {
        text += c;
        if (c == '`') text += '`';
    }
    return text + "`";
}

}  // namespace

MariadbSink::MariadbSink(const std::string& socket, const std::string& database,
                         const std::string& user) {
    connection_ = mysql_init(nullptr);
    if (connection_ == nullptr) throw Failure(err::kOutOfMemory);
    const unsigned int protocol = MYSQL_PROTOCOL_SOCKET;
    mysql_optionsv(connection_, MYSQL_OPT_PROTOCOL, &protocol);
    mysql_optionsv(connection_, MYSQL_SET_CHARSET_NAME, "latin1");
    if (mysql_real_connect(connection_, "localhost", user.empty() ? nullptr : user.c_str(), nullptr,
                           nullptr, 0, socket.c_str(), 0) == nullptr) {
        fail("connecting to " + socket);
    }
    execute("CREATE DATABASE IF NOT EXISTS " + quoted_name(database) +
            " CHARACTER SET latin1 COLLATE latin1_swedish_ci");
    if (mysql_select_db(connection_, database.c_str()) != 0) fail("using " + database);
}

MariadbSink::~MariadbSink() {
    if (connection_ != nullptr) mysql_close(connection_);
}

void MariadbSink::execute(std::string_view statement) {
    if (mysql_real_query(connection_, statement.data(), statement.size()) != 0) {
        fail(statement.substr(0, 80));
    }
    constexpr std::string_view kCreate = "CREATE TABLE `";
    if (statement.starts_with(kCreate)) {
        const std::string_view rest = statement.substr(kCreate.size());
        created_.emplace_back(rest.substr(0, rest.find('`')));
    }
}

void MariadbSink::drop_created_tables() noexcept {
    if (created_.empty()) return;
    mysql_query(connection_, "UNLOCK TABLES");
    std::string drop = "DROP TABLE IF EXISTS ";
    for (std::size_t i = 0; i < created_.size(); ++i) {
        drop += (i > 0 ? ", " : "") + quoted_name(created_[i]);
    }
    mysql_query(connection_, drop.c_str());
    created_.clear();
}

void MariadbSink::fail(std::string_view doing) {
    throw Failure(err::kDeviceIo, "MariaDB error " + std::to_string(mysql_errno(connection_)) +
                                      ": " + mysql_error(connection_) + " (" + std::string(doing) +
                                      ")");
}

}  // namespace tavo
