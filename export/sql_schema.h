#pragma once
// The two schemas of the eAthena SQL servers an administrator can move to: the one of late 2004
// (the era of the text files Tavo edits) and the last one of the trunk (2011 on). Each table is
// the schema's own CREATE TABLE; the columns and what they hold are read from that text, so
// that what the export checks a value against is what MariaDB checks it against.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavo {

enum class SqlEra { Y2004, Y2013 };

// "2004" or "2013"; nothing for another text.
std::optional<SqlEra> sql_era_named(std::string_view name);
std::string_view sql_era_name(SqlEra era);

struct SqlColumn {
    enum class Kind { Integer, Text, Date, Enum };
    std::string name;
    Kind kind = Kind::Integer;
    long long low = 0;                    // integers
    unsigned long long high = 0;          // integers
    std::size_t length = 0;               // texts: the most bytes (latin1: one byte a character)
    std::vector<std::string> choices;     // enums
    std::optional<std::string> fallback;  // the column's default, when the table gives one
};

struct SqlTable {
    std::string name;
    std::string create;  // the CREATE TABLE statement, without its ';'
    std::vector<SqlColumn> columns;
    // Whether the export writes rows into it; the others (logs, runtime state) start empty.
    bool filled = false;
    const SqlColumn* column(std::string_view name) const;
};

// Every table of the era's schema, in the order an export fills them.
const std::vector<SqlTable>& sql_tables(SqlEra era);
const SqlTable& sql_table(SqlEra era, std::string_view name);

}  // namespace tavo
