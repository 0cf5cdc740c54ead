#pragma once
// Rows on their way into a table: each row's values checked against the column they go into, as
// MariaDB's strict mode checks them, and sent as multi-row INSERTs of about a megabyte, so that
// the memory an export needs does not grow with the server.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "export/sql_schema.h"

namespace tavo {

// Where the statements of an export go: a .sql file or a live server.
class SqlSink {
public:
    virtual ~SqlSink() = default;
    // One statement, without its ';'.
    virtual void execute(std::string_view statement) = 0;
};

class TableRows {
public:
    // `columns` are the columns the export fills, in this order; those the table does not have in
    // this era are left out of its INSERTs and what is put into them is dropped.
    TableRows(const SqlTable& table, std::vector<std::string_view> columns, SqlSink& sink);
    TableRows(const TableRows&) = delete;
    TableRows& operator=(const TableRows&) = delete;

    const SqlTable& table() const { return table_; }
    // Whether the table has the column at `slot` in this era.
    bool has(std::size_t slot) const { return column_[slot] != nullptr; }

    // A new row: every slot empty (an empty slot takes the column's default).
    void begin();
    void number(std::size_t slot, long long value);
    void text(std::size_t slot, std::string_view value);
    // Adds the row to the next INSERT; false, with the reason in problem(), when a value does
    // not fit its column: the row is then left out.
    bool add();
    const std::string& problem() const { return problem_; }

    // Sends what is waiting.
    void flush();
    std::uint64_t rows() const { return rows_; }

private:
    struct Slot {
        std::size_t at = 0;
        std::size_t length = 0;
        bool set = false;
    };
    void refuse(std::size_t slot, const std::string& why);

    const SqlTable& table_;
    SqlSink& sink_;
    std::vector<const SqlColumn*> column_;  // by slot; null: not in this era's table
    std::vector<Slot> slots_;
    std::string values_;     // the row being built, its literals back to back
    std::string head_;       // INSERT INTO `t` (`a`,`b`) VALUES
    std::string statement_;  // the INSERT being filled
    std::string problem_;
    std::uint64_t rows_ = 0;
    bool first_in_statement_ = true;
};

}  // namespace tavo
