#pragma once
// Rows on their way into a table: each row's values checked against the column they go into, as
// MariaDB's strict mode checks them, and sent as multi-row INSERTs (or LOAD DATA lines, where the
// sink takes them) of about a megabyte, so that the memory an export needs does not grow with
// the server.

#include <cstdint>
#include <cstring>
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
    // Whether rows come as the tab-separated lines of LOAD DATA (load) rather than as INSERTs:
    // a live server reads them without parsing a statement for every value.
    virtual bool takes_lines() const { return false; }
    // Lines of rows into `table`, for the columns `columns` ("(`a`,`b`)").
    virtual void load(std::string_view /*table*/, std::string_view /*columns*/,
                      std::string_view /*lines*/) {}
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
    bool has(std::size_t slot) const { return slots_[slot].column != nullptr; }

    // A new row. Values are given slot by slot in the order of the columns; a slot passed over
    // takes the column's default.
    void begin();
    void number(std::size_t slot, long long value) {
        if (!reach(slot)) return;
        check_number(slot, value);
        used_ = static_cast<std::size_t>(write_sql_number(room(kSqlNumberBytes), value) - base());
    }
    // The numbers of `count` slots from `slot` on, with the text they are written as: each in
    // the form number() writes it, separated by commas, so that the text goes in as it is.
    void numbers(std::size_t slot, const long long* values, std::size_t count,
                 std::string_view written);
    // Whether every number of `digits[i]` digits, without a sign, fits the slot `slot` + i, for
    // the `count` slots from `slot` on that come next: then written() may put them in unchecked.
    bool fits_digits(std::size_t slot, const std::uint8_t* digits, std::size_t count) const {
        if (slot != next_slot_ || slots_[slot].run < count) return false;
        for (std::size_t i = 0; i < count; ++i) {
            if (digits[i] > slots_[slot + i].safe_digits) return false;
        }
        return true;
    }
    // Plain numbers of `count` slots, separated by commas, that fit as fits_digits tells.
    void written(std::size_t count, std::string_view text);
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
        const SqlColumn* column;  // null: not in this era's table
        long long low;            // an integer column's range; low > high for the others
        unsigned long long high;
        std::size_t run;          // the slots from this one on that the table has
        std::size_t safe_digits;  // any number of at most this many digits fits
        std::string fallback;  // a value passed over: DEFAULT, or the default as a LOAD DATA field
    };
    void check_number(std::size_t slot, long long value) {
        const Slot& s = slots_[slot];
        if (value < s.low || (value > 0 && static_cast<unsigned long long>(value) > s.high)) {
            refuse_number(slot, value);
        }
    }
    void refuse(std::size_t slot, const std::string& why);
    void refuse_number(std::size_t slot, long long value);
    // Takes back a row begun but not added.
    void drop_open_row();
    // Moves on to the slot: the slots passed over take their defaults. False for a column the
    // era's table does not have.
    bool reach(std::size_t slot) {
        if (slot != next_slot_ || slots_[slot].column == nullptr) return reach_over(slot);
        ++next_slot_;
        if (!first_value_) append(separator_);
        first_value_ = false;
        return true;
    }
    bool reach_over(std::size_t slot);
    // The slots up to `slot` take their defaults.
    void pass_over(std::size_t slot);
    void append(char byte) {
        *room(1) = byte;
        ++used_;
    }
    void append(std::string_view bytes) {
        std::memcpy(room(bytes.size()), bytes.data(), bytes.size());
        used_ += bytes.size();
    }

    // The INSERT being filled is buffer_[0, used_), the row being built last; the buffer is
    // kept larger than that, so that values are written in place.
    char* base() { return buffer_.data(); }
    char* room(std::size_t bytes) {
        if (used_ + bytes > buffer_.size()) grow(bytes);
        return buffer_.data() + used_;
    }
    void grow(std::size_t bytes);

    const SqlTable& table_;
    SqlSink& sink_;
    std::vector<Slot> slots_;
    bool lines_;           // rows as LOAD DATA lines
    char separator_;       // between the values of a row
    std::string columns_;  // (`a`,`b`)
    std::string head_;     // INSERT INTO `t` (`a`,`b`) VALUES; empty for lines
    std::string buffer_;
    std::size_t used_ = 0;
    std::size_t row_start_ = 0;  // where the row being built starts in the buffer
    std::size_t next_slot_ = 0;
    bool first_value_ = true;
    bool open_ = false;  // a row is begun and not added yet
    std::string problem_;
    std::uint64_t rows_ = 0;
};

}  // namespace tavo
