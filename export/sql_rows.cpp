#include "export/sql_rows.h"

#include <algorithm>
#include <stdexcept>

#include "export/sql_text.h"

namespace tavo {
namespace {

// Well below the 16 MB a MariaDB server and its client take by default.
constexpr std::size_t kStatementBytes = 1 << 20;

}  // namespace

TableRows::TableRows(const SqlTable& table, std::vector<std::string_view> columns, SqlSink& sink)
    : table_(table), sink_(sink) {
    head_ = "INSERT INTO `" + table.name + "` (";
    bool first = true;
    for (std::string_view name : columns) {
        const SqlColumn* column = table.column(name);
        column_.push_back(column);
        if (column == nullptr) continue;
        if (!first) head_ += ',';
        head_.append("`").append(name).append("`");
        first = false;
    }
    head_ += ") VALUES ";
    statement_.reserve(kStatementBytes + (64 << 10));
}

void TableRows::drop_open_row() {
    if (!open_) return;
    open_ = false;
    statement_.resize(row_start_);
    if (statement_.size() == head_.size()) statement_.clear();
}

void TableRows::begin() {
    drop_open_row();
    problem_.clear();
    open_ = true;
    if (statement_.empty()) statement_ = head_;
    row_start_ = statement_.size();
    statement_ += statement_.size() == head_.size() ? "(" : ",(";
    next_slot_ = 0;
    first_value_ = true;
}

bool TableRows::reach_over(std::size_t slot) {
    if (slot < next_slot_) throw std::logic_error("the values of a row go in column order");
    for (; next_slot_ < slot; ++next_slot_) {
        if (column_[next_slot_] == nullptr) continue;
        statement_.append(first_value_ ? "DEFAULT" : ",DEFAULT");
        first_value_ = false;
    }
    ++next_slot_;
    if (column_[slot] == nullptr) return false;
    if (!first_value_) statement_ += ',';
    first_value_ = false;
    return true;
}

void TableRows::refuse(std::size_t slot, const std::string& why) {
    if (problem_.empty()) problem_ = "`" + column_[slot]->name + "` " + why;
}

void TableRows::refuse_number(std::size_t slot, long long value) {
    const SqlColumn& column = *column_[slot];
    if (column.kind != SqlColumn::Kind::Integer) {
        refuse(slot, "cannot hold the number " + std::to_string(value));
        return;
    }
    refuse(slot, "cannot hold " + std::to_string(value) + " (it holds " +
                     std::to_string(column.low) + " to " + std::to_string(column.high) + ")");
}

void TableRows::text(std::size_t slot, std::string_view value) {
    if (!reach(slot)) return;
    const SqlColumn* column = column_[slot];
    if (column->kind == SqlColumn::Kind::Text && value.size() > column->length) {
        refuse(slot, "holds " + std::to_string(column->length) + " characters, \"" +
                         std::string(value.substr(0, 40)) + "\" has " +
                         std::to_string(value.size()));
    } else if (column->kind == SqlColumn::Kind::Enum &&
               std::find(column->choices.begin(), column->choices.end(), value) ==
                   column->choices.end()) {
        refuse(slot, "cannot hold \"" + std::string(value.substr(0, 40)) + "\"");
    } else if (column->kind == SqlColumn::Kind::Integer) {
        refuse(slot, "holds numbers, not \"" + std::string(value.substr(0, 40)) + "\"");
    }
    append_sql_string(statement_, value);
}

bool TableRows::add() {
    if (!problem_.empty()) {
        drop_open_row();
        return false;
    }
    open_ = false;
    for (; next_slot_ < column_.size(); ++next_slot_) {
        if (column_[next_slot_] == nullptr) continue;
        statement_.append(first_value_ ? "DEFAULT" : ",DEFAULT");
        first_value_ = false;
    }
    statement_ += ')';
    ++rows_;
    if (statement_.size() >= kStatementBytes) flush();
    return true;
}

void TableRows::flush() {
    drop_open_row();
    if (statement_.empty()) return;
    sink_.execute(statement_);
    statement_.clear();
}

}  // namespace tavo
