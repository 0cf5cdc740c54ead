#pragma once
// An export straight into a running MariaDB server through its own C connector, on the unix
// socket of a server on this machine. Built only where the connector is installed.

#include <string>
#include <string_view>
#include <vector>

#include "export/sql_rows.h"

struct st_mysql;

namespace tavo {

class MariadbSink : public SqlSink {
public:
    // Connects as `user` (empty: the login name, as the server's socket login expects), creates
    // the database in latin1 when it is missing and uses it. Fails with a Failure that carries
    // the server's message.
    MariadbSink(const std::string& socket, const std::string& database, const std::string& user);
    ~MariadbSink() override;
    MariadbSink(const MariadbSink&) = delete;
    MariadbSink& operator=(const MariadbSink&) = delete;

    void execute(std::string_view statement) override;
    // After a failure part-way: the tables this export made are dropped again, so that the
    // database holds nothing of it.
    void drop_created_tables() noexcept;

private:
    [[noreturn]] void fail(std::string_view doing);
    st_mysql* connection_ = nullptr;
    std::vector<std::string> created_;
};

}  // namespace tavo
