#pragma once
// Rows on their way into a table: each row's values checked against the column they go into, as
// MariaDB's strict mode checks them, and sent as multi-row INSERTs of about a megabyte, so that
// the memory an export needs does not grow with the server.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "export/sql_schema.h"
#include "export/sql_text.h"

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

    // A new row. Values are given slot by slot in the order of the columns; a slot passed over
    // takes the column's default.
    void begin();
    void number(std::size_t slot, long long value) {
        if (!reach(slot)) return;
        const SqlColumn& column = *column_[slot];
        if (column.kind != SqlColumn::Kind::Integer || value < column.low ||
            (value > 0 && static_cast<unsigned long long>(value) > column.high)) {
            refuse_number(slot, value);
        }
        append_sql_number(statement_, value);
    }
    void text(std::size_t slot, std::string_view value);
    // Adds the row to the next INSERT; false, with the reason in problem(), when a value does
    // not fit its column: the row is then left out.
    bool add();
    const std::string& problem() const { return problem_; }

    // Sends what is waiting.
    void flush();
    std::uint64_t rows() const { return rows_; }

private:
    void refuse(std::size_t slot, const std::string& why);
    void refuse_number(std::size_t slot, long long value);
    // Takes back a row begun but not added.
    void drop_open_row();
    // Moves on to the slot: the slots passed over take their defaults. False for a column the
    // era's table does not have.
    bool reach(std::size_t slot) {
        if (slot != next_slot_ || column_[slot] == nullptr) return reach_over(slot);
        ++next_slot_;
        if (!first_value_) statement_ += ',';
        first_value_ = false;
        return true;
    }
    bool reach_over(std::size_t slot);

    const SqlTable& table_;
    SqlSink& sink_;
    std::vector<const SqlColumn*> column_;  // by slot; null: not in this era's table
    std::string head_;                      // INSERT INTO `t` (`a`,`b`) VALUES
    std::string statement_;                 // the INSERT being filled, the row being built last
    std::size_t row_start_ = 0;             // where the row being built starts in statement_
    std::size_t next_slot_ = 0;
    bool first_value_ = true;
    bool open_ = false;  // a row is begun and not added yet
    std::string problem_;
    std::uint64_t rows_ = 0;
};

}  // namespace tavo
