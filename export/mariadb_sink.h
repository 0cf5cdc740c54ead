#pragma once
// An export straight into a running MariaDB server through its own C connector, on the unix
// socket of a server on this machine. The rows go across as LOAD DATA LOCAL, the connector
// reading them from memory instead of a file. Built only where the connector is installed.

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
    // Where the server allows LOAD DATA LOCAL (local_infile, on by default); INSERTs elsewhere.
    bool takes_lines() const override { return local_infile_; }
    // The lines go to the server as the file of a LOAD DATA LOCAL, read from memory.
    void load(std::string_view table, std::string_view columns, std::string_view lines) override;
    // After a failure part-way: the tables this export made are dropped again, so that the
    // database holds nothing of it.
    void drop_created_tables() noexcept;

private:
    [[noreturn]] void fail(std::string_view doing);
    std::string first_warning();
    std::string value_of(const char* query, unsigned int column = 0);
    st_mysql* connection_ = nullptr;
    std::vector<std::string> created_;
    std::string statement_;
    std::string_view lines_;  // what the LOAD DATA being run has still to read
    bool local_infile_ = false;
};

}  // namespace tavo
