#include "export/sql_rows.h"

#include <algorithm>
#include <stdexcept>

#include "export/sql_text.h"

namespace tavo {
namespace {

// Well below the 16 MB a MariaDB server and its client take by default.
constexpr std::size_t kStatementBytes = 1 << 20;

// A column's default as a field of LOAD DATA; \N (NULL) where the table gives none, which
// takes the next id in an AUTO_INCREMENT column, as DEFAULT does.
std::string default_field(const SqlColumn& column) {
    if (!column.fallback) return "\\N";
    std::string field(2 * column.fallback->size(), '\0');
    field.resize(
        static_cast<std::size_t>(write_load_field(field.data(), *column.fallback) - field.data()));
    return field;
}

}  // namespace

TableRows::TableRows(const SqlTable& table, std::vector<std::string_view> columns, SqlSink& sink)
    : table_(table), sink_(sink), lines_(sink.takes_lines()), separator_(lines_ ? '\t' : ',') {
    columns_ = "(";
    for (std::string_view name : columns) {
        const SqlColumn* column = table.column(name);
        Slot slot{column, 1, 0, 0, 0, "DEFAULT"};
        if (column != nullptr && column->kind == SqlColumn::Kind::Integer) {
            slot.low = column->low;
            slot.high = column->high;
            for (unsigned long long most = 9; most <= slot.high && slot.safe_digits < 18;
                 most = most * 10 + 9) {
                ++slot.safe_digits;
            }
        }
        if (column != nullptr && lines_) slot.fallback = default_field(*column);
        slots_.push_back(slot);
        if (column == nullptr) continue;
        if (columns_.size() > 1) columns_ += ',';
        columns_.append("`").append(name).append("`");
    }
    for (std::size_t i = slots_.size(); i-- > 0;) {
        if (slots_[i].column != nullptr)
            slots_[i].run = 1 + (i + 1 < slots_.size() ? slots_[i + 1].run : 0);
    }
    columns_ += ")";
    if (!lines_) head_ = "INSERT INTO `" + table.name + "` " + columns_ + " VALUES ";
    buffer_.resize(kStatementBytes + (64 << 10));
}

void TableRows::grow(std::size_t bytes) {
    buffer_.resize(std::max(buffer_.size() * 2, used_ + bytes));
}

void TableRows::drop_open_row() {
    if (!open_) return;
    open_ = false;
    used_ = row_start_;
    if (used_ == head_.size()) used_ = 0;
}

void TableRows::begin() {
    drop_open_row();
    problem_.clear();
    open_ = true;
    if (used_ == 0) append(head_);
    row_start_ = used_;
    if (!lines_) append(used_ == head_.size() ? "(" : ",(");
    next_slot_ = 0;
    first_value_ = true;
}

bool TableRows::reach_over(std::size_t slot) {
    if (slot < next_slot_) throw std::logic_error("the values of a row go in column order");
    pass_over(slot);
    ++next_slot_;
    if (slots_[slot].column == nullptr) return false;
    if (!first_value_) append(separator_);
    first_value_ = false;
    return true;
}

void TableRows::pass_over(std::size_t slot) {
    for (; next_slot_ < slot; ++next_slot_) {
        if (slots_[next_slot_].column == nullptr) continue;
        if (!first_value_) append(separator_);
        append(slots_[next_slot_].fallback);
        first_value_ = false;
    }
}

void TableRows::numbers(std::size_t slot, const long long* values, std::size_t count,
                        std::string_view written) {
    if (slot != next_slot_ || slots_[slot].run < count) {
        for (std::size_t i = 0; i < count; ++i) number(slot + i, values[i]);
        return;
    }
    for (std::size_t i = 0; i < count; ++i) check_number(slot + i, values[i]);
    this->written(count, written);
}

void TableRows::written(std::size_t count, std::string_view text) {
    if (!first_value_) append(separator_);
    first_value_ = false;
    const std::size_t from = used_;
    append(text);
    if (lines_) std::replace(base() + from, base() + used_, ',', '\t');
    next_slot_ += count;
}

void TableRows::refuse(std::size_t slot, const std::string& why) {
    if (problem_.empty()) problem_ = "`" + slots_[slot].column->name + "` " + why;
}

void TableRows::refuse_number(std::size_t slot, long long value) {
    const SqlColumn& column = *slots_[slot].column;
    if (column.kind != SqlColumn::Kind::Integer) {
        refuse(slot, "cannot hold the number " + std::to_string(value));
        return;
    }
    refuse(slot, "cannot hold " + std::to_string(value) + " (it holds " +
                     std::to_string(column.low) + " to " + std::to_string(column.high) + ")");
}

void TableRows::text(std::size_t slot, std::string_view value) {
    if (!reach(slot)) return;
    const SqlColumn* column = slots_[slot].column;
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
    char* at = room(2 * value.size() + 2);
    at = lines_ ? write_load_field(at, value) : write_sql_string(at, value);
    used_ = static_cast<std::size_t>(at - base());
}

bool TableRows::add() {
    if (!problem_.empty()) {
        drop_open_row();
        return false;
    }
    open_ = false;
    pass_over(slots_.size());
    append(lines_ ? '\n' : ')');
    ++rows_;
    if (used_ >= kStatementBytes) flush();
    return true;
}

void TableRows::flush() {
    drop_open_row();
    if (used_ == 0) return;
    if (lines_) {
        sink_.load(table_.name, columns_, std::string_view(base(), used_));
    } else {
        sink_.execute(std::string_view(base(), used_));
    }
    used_ = 0;
}

}  // namespace tavo
