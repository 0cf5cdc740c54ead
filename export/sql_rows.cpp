#include "export/sql_rows.h"

#include <algorithm>

#include "export/sql_text.h"

namespace tavo {
namespace {

// Well below the 16 MB a MariaDB server and its client take by default.
constexpr std::size_t kStatementBytes = 1 << 20;

}  // namespace

TableRows::TableRows(const SqlTable& table, std::vector<std::string_view> columns, SqlSink& sink)
    : table_(table), sink_(sink), slots_(columns.size()) {
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

void TableRows::begin() {
    values_.clear();
    problem_.clear();
    for (Slot& s : slots_) s.set = false;
}

void TableRows::refuse(std::size_t slot, const std::string& why) {
    if (problem_.empty()) problem_ = "`" + column_[slot]->name + "` " + why;
}

void TableRows::number(std::size_t slot, long long value) {
    const SqlColumn* column = column_[slot];
    if (column == nullptr) return;
    const bool fits = column->kind == SqlColumn::Kind::Integer && value >= column->low &&
                      (value < 0 || static_cast<unsigned long long>(value) <= column->high);
    if (!fits) {
        refuse(slot, "cannot hold " + std::to_string(value) + " (it holds " +
                         std::to_string(column->low) + " to " + std::to_string(column->high) + ")");
    }
    Slot& s = slots_[slot];
    s.at = values_.size();
    append_sql_number(values_, value);
    s.length = values_.size() - s.at;
    s.set = true;
}

void TableRows::text(std::size_t slot, std::string_view value) {
    const SqlColumn* column = column_[slot];
    if (column == nullptr) return;
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
    Slot& s = slots_[slot];
    s.at = values_.size();
    append_sql_string(values_, value);
    s.length = values_.size() - s.at;
    s.set = true;
}

bool TableRows::add() {
    if (!problem_.empty()) return false;
    if (statement_.empty()) {
        statement_ = head_;
        first_in_statement_ = true;
    }
    if (!first_in_statement_) statement_ += ',';
    first_in_statement_ = false;
    statement_ += '(';
    bool first = true;
    for (std::size_t i = 0; i < slots_.size(); ++i) {
        if (column_[i] == nullptr) continue;
        if (!first) statement_ += ',';
        first = false;
        const Slot& s = slots_[i];
        if (s.set) {
            statement_.append(values_, s.at, s.length);
        } else {
            statement_.append("DEFAULT");
        }
    }
    statement_ += ')';
    ++rows_;
    if (statement_.size() >= kStatementBytes) flush();
    return true;
}

void TableRows::flush() {
    if (statement_.empty()) return;
    sink_.execute(statement_);
    statement_.clear();
}

}  // namespace tavo
