#include "export/sql_text.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "export/export_run.h"
#include "export/sql_rows.h"

namespace tavo {
namespace {

TEST(SqlText, StringsAreEscapedByteByByteAndEveryOtherByteStays) {
    std::string in = "O'Br\\ien\n\r\x1a";
    in += '\0';
    in += "\xe9\x83\x5c";
    std::string out;
    append_sql_string(out, in);
    // A Shift-JIS trail byte 0x5C is a backslash to the server: it is escaped like one.
    EXPECT_EQ(out, std::string("'O\\'Br\\\\ien\\n\\r\\Z\\0\xe9\x83\\\\'"));
}

TEST(SqlText, LoginTimesBecomeDatesMariadbTakesOrNothing) {
    EXPECT_EQ(sql_datetime("2004-11-02 18:03:11.120"), "2004-11-02 18:03:11");
    EXPECT_EQ(sql_datetime("2004-02-29 00:00:00"), "2004-02-29 00:00:00");  // a leap year
    EXPECT_EQ(sql_datetime("-"), "0000-00-00 00:00:00");
    for (const char* wrong : {"2005-02-29 00:00:00", "2004-13-01 00:00:00", "2004-04-31 10:00:00",
                              "2004-11-02 24:00:00", "2004-11-02 18:03", "2004-11-02 18:03:11.",
                              "2004-11-02T18:03:11", "yesterday", ""}) {
        EXPECT_EQ(sql_datetime(wrong), std::nullopt) << wrong;
    }
}

TEST(SqlText, KeysOfTheCollationIgnoreCaseAccentsAndTrailingBlanks) {
    EXPECT_EQ(latin1_ci_key("Quest"), latin1_ci_key("quest  "));
    EXPECT_EQ(latin1_ci_key("caf\xe9"), latin1_ci_key("CAFE"));
    EXPECT_NE(latin1_ci_key("\xe4"), latin1_ci_key("a"));  // Swedish: ä is a letter of its own
    EXPECT_NE(latin1_ci_key(" quest"), latin1_ci_key("quest"));
}

struct Statements : SqlSink {
    void execute(std::string_view statement) override { all.emplace_back(statement); }
    std::vector<std::string> all;
};

TEST(TableRows, ValuesAreCheckedAgainstTheColumnsAsMariadbChecksThem) {
    const SqlTable& chars = sql_table(SqlEra::Y2013, "char");
    EXPECT_EQ(chars.column("hair")->high, 255u);
    EXPECT_EQ(chars.column("karma")->low, -128);
    EXPECT_EQ(chars.column("last_map")->length, 11u);
    EXPECT_EQ(sql_table(SqlEra::Y2013, "login").column("sex")->choices,
              (std::vector<std::string>{"M", "F", "S"}));
    Statements sink;
    TableRows rows(chars, {"char_id", "robe", "name", "hair", "karma", "no_such_column"}, sink);
    rows.begin();
    rows.number(0, 150000);
    rows.text(2, "Kaelen");
    rows.number(3, 256);
    EXPECT_FALSE(rows.add());
    EXPECT_EQ(rows.problem(), "`hair` cannot hold 256 (it holds 0 to 255)");
    rows.begin();
    rows.number(0, 150001);
    rows.text(2, "Mira");
    rows.number(4, -128);
    rows.number(5, 7);  // a column of another era: dropped
    EXPECT_TRUE(rows.add());
    rows.begin();
    rows.number(0, 150002);  // begun, never added
    rows.flush();
    // The refused row and the one left open leave nothing behind; a slot passed over takes the
    // column's default.
    EXPECT_EQ(sink.all, std::vector<std::string>{
                            "INSERT INTO `char` (`char_id`,`robe`,`name`,`hair`,`karma`) VALUES "
                            "(150001,DEFAULT,'Mira',DEFAULT,-128)"});
    EXPECT_EQ(rows.rows(), 1u);
}

TEST(TableRows, LongRunsOfRowsAreSplitIntoStatementsOfAboutAMegabyte) {
    Statements sink;
    TableRows rows(sql_table(SqlEra::Y2004, "memo"), {"char_id", "map", "x", "y"}, sink);
    for (int i = 0; i < 40000; ++i) {
        rows.begin();
        rows.number(0, 150000 + i);
        rows.text(1, "prontera.gat");
        rows.number(2, 156);
        rows.number(3, 191);
        ASSERT_TRUE(rows.add());
    }
    rows.flush();
    ASSERT_GT(sink.all.size(), 1u);
    std::size_t values = 0;
    for (const std::string& s : sink.all) {
        EXPECT_TRUE(s.starts_with("INSERT INTO `memo` (`char_id`,`map`,`x`,`y`) VALUES (")) << s;
        EXPECT_LT(s.size(), 2u << 20);
        EXPECT_TRUE(s.ends_with(",156,191)"));
        values += static_cast<std::size_t>(std::count(s.begin(), s.end(), '('));
    }
    EXPECT_EQ(values - sink.all.size(), 40000u);  // one "(" of each head is the column list's
}

TEST(TableRows, NumbersGoInAsWrittenOnlyWhenEveryColumnIsThereAndAreCheckedAllTheSame) {
    Statements sink;
    TableRows rows(sql_table(SqlEra::Y2013, "inventory"),
                   {"char_id", "nameid", "amount", "refine", "broken"}, sink);
    const long long values[] = {150000, 501, 3, 300};
    const long long refine_broken[] = {7, 1};
    rows.begin();
    rows.numbers(0, values, 3, "150000,501,3");
    rows.numbers(3, refine_broken, 2, "7,1");  // the 2013 table has no `broken`
    EXPECT_TRUE(rows.add());
    rows.begin();
    rows.numbers(0, values, 4, "150000,501,3,300");
    EXPECT_FALSE(rows.add());
    EXPECT_EQ(rows.problem(), "`refine` cannot hold 300 (it holds 0 to 255)");
    rows.flush();
    EXPECT_EQ(sink.all, std::vector<std::string>{"INSERT INTO `inventory` "
                                                 "(`char_id`,`nameid`,`amount`,`refine`) "
                                                 "VALUES (150000,501,3,7)"});
}

struct Lines : SqlSink {
    void execute(std::string_view statement) override { statements.emplace_back(statement); }
    bool takes_lines() const override { return true; }
    void load(std::string_view table, std::string_view columns, std::string_view lines) override {
        loads.push_back(std::string(table) + " " + std::string(columns) + "\n" +
                        std::string(lines));
    }
    std::vector<std::string> statements;
    std::vector<std::string> loads;
};

// LOAD DATA reads a backslash, TAB, LF, CR and NUL only escaped, and a field "\N" as NULL; an
// empty text stays empty, and a value passed over is the column's default, as DEFAULT gives it.
TEST(TableRows, LoadDataLinesEscapeWhatTheFormatReadsOtherwiseAndPassOverToTheDefault) {
    Lines sink;
    TableRows rows(
        sql_table(SqlEra::Y2004, "login"),
        {"account_id", "userid", "user_pass", "lastlogin", "sex", "logincount", "email", "level"},
        sink);
    const long long id_count[] = {2000100, 7};
    rows.begin();
    rows.number(0, 2000100);
    rows.text(1, std::string("O'B\\r\t\n\r\xe9\0\x1a", 11));
    rows.text(2, "\\N");
    rows.text(4, "");  // lastlogin passed over
    rows.numbers(5, id_count + 1, 1, "7");
    EXPECT_TRUE(rows.add());  // email and level passed over
    rows.begin();
    rows.numbers(0, id_count, 1, "2000100");
    rows.text(1, "s1");
    rows.number(3, 1);
    EXPECT_FALSE(rows.add());  // a number into a date column
    rows.flush();
    EXPECT_TRUE(sink.statements.empty());
    EXPECT_EQ(sink.loads,
              std::vector<std::string>{
                  "login (`account_id`,`userid`,`user_pass`,`lastlogin`,`sex`,`logincount`,"
                  "`email`,`level`)\n"
                  "2000100\tO'B\\\\r\\t\\n\\r\xe9\\0\x1a\t\\\\N\t0000-00-00 00:00:00\t\t7\t\t0\n"});
    const long long item[] = {150000, 501, 3};
    TableRows items(sql_table(SqlEra::Y2004, "inventory"), {"char_id", "nameid", "amount"}, sink);
    items.begin();
    items.numbers(0, item, 3, "150000,501,3");
    EXPECT_TRUE(items.add());
    items.flush();
    EXPECT_EQ(sink.loads.back(), "inventory (`char_id`,`nameid`,`amount`)\n150000\t501\t3\n");
}

TEST(ReadNumbers, ANumberGoesInAsWrittenOnlyInTheFormMariadbIsGiven) {
    long long v[3] = {};
    sqlx::NumbersSeen seen;
    ASSERT_TRUE(sqlx::read_numbers("156,-191,0", v, 2, 1, &seen));
    EXPECT_EQ((std::vector<long long>(v, v + 3)), (std::vector<long long>{156, -191, 0}));
    EXPECT_TRUE(seen.as_written);
    EXPECT_EQ(seen.counted_length, 8u);  // "156,-191": the two asked for, without the third
    ASSERT_TRUE(sqlx::read_numbers("007,5", v, 2, 0, &seen));
    EXPECT_EQ(v[0], 7);
    EXPECT_FALSE(seen.as_written);
    ASSERT_TRUE(sqlx::read_numbers("-0", v, 1, 0, &seen));
    EXPECT_FALSE(seen.as_written);
    ASSERT_TRUE(sqlx::read_numbers("-9223372036854775808", v, 1));
    EXPECT_EQ(v[0], INT64_MIN);
    for (const char* wrong :
         {"9223372036854775808", "+5", "-", "5,", "5,,6", "1,2,3,4", "1", "1 2"}) {
        EXPECT_FALSE(sqlx::read_numbers(wrong, v, 2, 1)) << wrong;
    }
}

}  // namespace
}  // namespace tavo
