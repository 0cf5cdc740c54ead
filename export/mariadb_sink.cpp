#include "export/mariadb_sink.h"

#include <mysql.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

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

// The connector's calls for the "file" of a LOAD DATA LOCAL: the lines waiting in the sink.
int open_lines(void** state, const char* /*name*/, void* lines) {
    *state = lines;
    return 0;
}

int read_lines(void* state, char* into, unsigned int room) {
    auto& lines = *static_cast<std::string_view*>(state);
    const std::size_t n = std::min<std::size_t>(room, lines.size());
    std::memcpy(into, lines.data(), n);
    lines.remove_prefix(n);
    return static_cast<int>(n);
}

void close_lines(void* /*state*/) {}

int lines_error(void* /*state*/, char* message, unsigned int room) {
    std::snprintf(message, room, "the rows could not be read");
    return 1;
}

}  // namespace

MariadbSink::MariadbSink(const std::string& socket, const std::string& database,
                         const std::string& user) {
    connection_ = mysql_init(nullptr);
    if (connection_ == nullptr) throw Failure(err::kOutOfMemory);
    const unsigned int protocol = MYSQL_PROTOCOL_SOCKET;
    mysql_optionsv(connection_, MYSQL_OPT_PROTOCOL, &protocol);
    mysql_optionsv(connection_, MYSQL_SET_CHARSET_NAME, "latin1");
    const unsigned int local_infile = 1;
    mysql_optionsv(connection_, MYSQL_OPT_LOCAL_INFILE, &local_infile);
    if (mysql_real_connect(connection_, "localhost", user.empty() ? nullptr : user.c_str(), nullptr,
                           nullptr, 0, socket.c_str(), 0) == nullptr) {
        fail("connecting to " + socket);
    }
    execute("CREATE DATABASE IF NOT EXISTS " + quoted_name(database) +
            " CHARACTER SET latin1 COLLATE latin1_swedish_ci");
    if (mysql_select_db(connection_, database.c_str()) != 0) fail("using " + database);
    mysql_set_local_infile_handler(connection_, open_lines, read_lines, close_lines, lines_error,
                                   &lines_);
    local_infile_ = value_of("SELECT @@GLOBAL.local_infile") == "1";
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

void MariadbSink::load(std::string_view table, std::string_view columns, std::string_view lines) {
    statement_.assign("LOAD DATA LOCAL INFILE 'rows' INTO TABLE ")
        .append(quoted_name(table))
        .append(
            " CHARACTER SET latin1 FIELDS TERMINATED BY '\\t' ESCAPED BY '\\\\' "
            "LINES TERMINATED BY '\\n' ")
        .append(columns);
    lines_ = lines;
    execute(statement_);
    // Strict mode turns what INSERT refuses into errors; a warning left is a value changed.
    if (mysql_warning_count(connection_) != 0) {
        throw Failure(err::kDeviceIo, "MariaDB changed a value while loading " +
                                          std::string(table) + ": " + first_warning());
    }
}

std::string MariadbSink::first_warning() {
    return value_of("SHOW WARNINGS LIMIT 1", 2);  // Level, Code, Message
}

// The value in `column` of the first row the query gives; empty when it gives none.
std::string MariadbSink::value_of(const char* query, unsigned int column) {
    if (mysql_query(connection_, query) != 0) fail(query);
    MYSQL_RES* result = mysql_store_result(connection_);
    std::string text;
    MYSQL_ROW row = result != nullptr ? mysql_fetch_row(result) : nullptr;
    if (row != nullptr && column < mysql_num_fields(result) && row[column] != nullptr) {
        text = row[column];
    }
    mysql_free_result(result);
    return text;
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
