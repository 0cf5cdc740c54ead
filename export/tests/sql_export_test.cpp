// tavo-cli export-sql against a real MariaDB of the test's own: the demo and a generated server
// load in both schemas, through the mariadb client and through the connector, with as many rows
// as the files hold records; characters and an account with awkward bytes read back value by
// value; what the schema cannot hold stops the export or is named.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>

#include "app/text.h"
#include "app/text_file.h"
#include "export/sql_text.h"
#include "testsupport/scratch_mariadb.h"
#include "testsupport/temp_dir.h"

namespace tavo {
namespace {

using testing::ScratchMariadb;
using testing::TempDir;
using Counts = std::map<std::string, long long>;

struct Ran {
    int code = 0;
    std::string out;
};

Ran run(const std::string& command) {
    Ran result;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    char buffer[4096];
    while (std::size_t n = fread(buffer, 1, sizeof buffer, pipe)) result.out.append(buffer, n);
    const int status = pclose(pipe);
    result.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

std::string quoted(const fs::path& path) {
    return "'" + path.string() + "'";
}

std::vector<std::string_view> entries(std::string_view field, char separator = ' ') {
    std::vector<std::string_view> list;
    for (std::string_view piece : split(field, separator)) {
        if (!piece.empty()) list.push_back(piece);
    }
    return list;
}

std::vector<std::string> lines_of(const fs::path& file) {
    std::vector<std::string> lines;
    std::string text = read_file(file);
    for (std::string_view line : split(text, '\n')) {
        if (line.ends_with('\r')) line.remove_suffix(1);
        if (!line.empty() && !line.starts_with("//")) lines.emplace_back(line);
    }
    return lines;
}

long long nonzero_registers(std::string_view items) {
    long long n = 0;
    for (std::string_view item : entries(items)) n += item.substr(item.rfind(',') + 1) != "0";
    return n;
}

// The records of each file, counted here the plain way, as rows of each table.
Counts records_of(const fs::path& server, bool y2013) {
    Counts c;
    const fs::path save = server / "save";
    for (const std::string& line : lines_of(save / "account.txt")) {
        const auto f = split(line, '\t');
        if (f.size() == 2) continue;  // %newid%
        ++c["login"];
        if (f.size() >= 14) c["global_reg_value"] += nonzero_registers(f[13]);
    }
    for (const std::string& line : lines_of(save / "accreg.txt")) {
        c["global_reg_value"] += nonzero_registers(split(line, '\t')[1]);
    }
    for (const std::string& line : lines_of(save / "athena.txt")) {
        const auto f = split(line, '\t');
        if (f.size() == 2) continue;
        ++c["char"];
        c["memo"] += static_cast<long long>(std::count(f[14].begin(), f[14].end(), ',')) / 2;
        c["inventory"] += static_cast<long long>(entries(f[15]).size());
        c["cart_inventory"] += static_cast<long long>(entries(f[16]).size());
        c["skill"] += static_cast<long long>(entries(f[17]).size());
        c["global_reg_value"] += nonzero_registers(f[18]);
    }
    for (const char* file : {"storage.txt", "g_storage.txt"}) {
        for (const std::string& line : lines_of(save / file)) {
            for (std::string_view item : entries(split(line, '\t')[1])) {
                const auto v = split(item, ',');
                if (v[1] != "0" && v[2] != "0") ++c[file[0] == 'g' ? "guild_storage" : "storage"];
            }
        }
    }
    c["pet"] = static_cast<long long>(lines_of(save / "pet.txt").size());
    c["party"] = static_cast<long long>(lines_of(save / "party.txt").size());
    c["guild_castle"] = static_cast<long long>(lines_of(save / "castle.txt").size());
    for (const std::string& line : lines_of(save / "guild.txt")) {
        const auto p = split(line, '\t');
        const auto max_member =
            static_cast<std::size_t>(std::stoi(std::string(split(p[3], ',')[1])));
        ++c["guild"];
        for (std::size_t i = 0; i < max_member; ++i)
            c["guild_member"] += split(p[6 + 2 * i], ',')[0] != "0";
        c["guild_position"] += 20;
        std::size_t at = 6 + 2 * max_member + 41;
        const long long alliances = std::stoll(std::string(p[at]));
        at += 1 + 2 * static_cast<std::size_t>(alliances);
        const long long expulsions = std::stoll(std::string(p[at]));
        at += 1 + 4 * static_cast<std::size_t>(expulsions);
        c["guild_alliance"] += alliances;
        c["guild_expulsion"] += expulsions;
        c["guild_skill"] += static_cast<long long>(entries(p[at]).size());
    }
    for (const std::string& line : lines_of(save / "friends.txt")) {
        const long long friends = static_cast<long long>(split(line, ',').size() - 1) / 2;
        c["friends"] += y2013 ? friends : 1;
    }
    if (y2013) c["mapreg"] = static_cast<long long>(lines_of(save / "mapreg.txt").size());
    return c;
}

class SqlExportTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder_ = new TempDir;
        if (!testing::mariadb_installed()) return;
        try {
            server_ =
                new ScratchMariadb(folder_->path() / "mariadb", ScratchMariadb::DiskSync::Skip);
        } catch (const std::exception& e) {
            failure_ = new std::string(e.what());
        }
    }
    static void TearDownTestSuite() {
        delete server_;
        delete folder_;
        delete failure_;
    }
    void SetUp() override {
        if (!testing::mariadb_installed()) {
            GTEST_SKIP() << "MariaDB is not installed (mariadbd, mariadb-install-db): "
                            "scripts/install-deps.sh installs mariadb-server";
        }
        // Installed but not starting is a fault of its own: the test fails.
        ASSERT_EQ(failure_, nullptr) << *failure_;
    }

    // A copy of the demo server with a line in each file the demo leaves empty.
    fs::path demo_copy() {
        const fs::path source = fs::path(std::getenv("TAVO_SOURCE_DIR")) / "demo" / "server";
        const fs::path copy = dir_.path() / "demo";
        fs::copy(source, copy, fs::copy_options::recursive);
        append(copy / "save/accreg.txt", "2000001\t#QUEST_GOLD,7 #ZERO,0 \n");
        append(copy / "save/friends.txt", "150000,150001,Kaelbrew,150002,Mirabel\n");
        append(copy / "save/g_storage.txt", "10001,1\t1,501,20,0,1,0,0,0,0,0,0 \t\n");
        append(copy / "save/mapreg.txt", "$castle_tax\t12\n$lottery,3\t900\n");
        std::string guilds = read_file(copy / "save/guild.txt");
        const std::size_t at = guilds.find("\t0\t0\t10000,1");
        guilds.replace(
            at, 4, "\t1\t10002,0\tGreen Thumbs\t1\t2000099,0,0,0\tBadApple\t2000099\tcheating#");
        write(copy / "save/guild.txt", guilds);
        return copy;
    }

    static void append(const fs::path& file, std::string_view text) {
        write(file, read_file(file) + std::string(text));
    }
    static void write(const fs::path& file, std::string_view text) {
        std::FILE* out = std::fopen(file.c_str(), "wb");
        std::fwrite(text.data(), 1, text.size(), out);
        std::fclose(out);
    }

    Ran export_sql(const fs::path& server, const std::string& arguments) {
        return run(std::string(TAVO_CLI) + " --quiet --data " + quoted(server) + " export-sql " +
                   arguments);
    }

    // Through --out and the mariadb client into one database, through --into into another.
    std::pair<std::string, std::string> load_both_ways(const fs::path& server,
                                                       const std::string& schema) {
        const std::string name = "db" + std::to_string(++databases_);
        const fs::path file = dir_.path() / (name + ".sql");
        const Ran out = export_sql(server, "--schema " + schema + " --out " + quoted(file));
        EXPECT_EQ(out.code, 0) << out.out;
        server_->query("CREATE DATABASE " + name + "f CHARACTER SET latin1");
        const Ran load = run(server_->client() + " " + name + "f < " + quoted(file));
        EXPECT_EQ(load.code, 0) << load.out;
        const Ran into =
            export_sql(server, "--schema " + schema + " --into " + quoted(server_->socket()) +
                                   " --database " + name + "i");
        EXPECT_EQ(into.code, 0) << into.out;
        return {name + "f", name + "i"};
    }

    Counts rows_in(const std::string& database, bool y2013) {
        Counts c;
        for (const char* table :
             {"login", "global_reg_value", "char", "memo", "inventory", "cart_inventory", "skill",
              "storage", "pet", "party", "guild", "guild_member", "guild_position", "guild_skill",
              "guild_expulsion", "guild_storage", "guild_alliance", "guild_castle", "friends"}) {
            c[table] =
                std::stoll(server_->value("SELECT COUNT(*) FROM " + database + ".`" + table + "`"));
        }
        if (y2013)
            c["mapreg"] =
                std::stoll(server_->value("SELECT COUNT(*) FROM " + database + ".mapreg"));
        return c;
    }

    void expect_rows_match_files(const fs::path& server) {
        for (const bool y2013 : {false, true}) {
            SCOPED_TRACE(y2013 ? "2013" : "2004");
            const auto [file_db, into_db] = load_both_ways(server, y2013 ? "2013" : "2004");
            const Counts expected = records_of(server, y2013);
            EXPECT_EQ(rows_in(file_db, y2013), rows_in(into_db, y2013));
            for (const auto& [table, rows] : rows_in(file_db, y2013)) {
                const auto it = expected.find(table);
                EXPECT_EQ(rows, it == expected.end() ? 0 : it->second) << table;
            }
        }
    }

    static TempDir* folder_;
    static ScratchMariadb* server_;
    static std::string* failure_;
    static int databases_;
    TempDir dir_;
};

TempDir* SqlExportTest::folder_ = nullptr;
ScratchMariadb* SqlExportTest::server_ = nullptr;
std::string* SqlExportTest::failure_ = nullptr;
int SqlExportTest::databases_ = 0;

TEST_F(SqlExportTest, DemoLoadsInBothSchemasWithARowForEveryRecord) {
    expect_rows_match_files(demo_copy());
}

TEST_F(SqlExportTest, GeneratedServerLoadsInBothSchemasWithARowForEveryRecord) {
    const fs::path server = dir_.path() / "gen";
    const Ran made = run(std::string(GEN_SERVER) + " --out " + quoted(server) +
                         " --accounts 400 --seed 11 --register-share 0.5 --forged-share 0.2");
    ASSERT_EQ(made.code, 0) << made.out;
    expect_rows_match_files(server);
}

TEST_F(SqlExportTest, CharactersOfEveryKindReadBackValueByValue) {
    const fs::path server = demo_copy();
    // Kaelen (guild 10001, party 1, memo points, skills, variables, carded gear) also gets a
    // forged blade, a made potion and a pet egg.
    std::string athena = read_file(server / "save/athena.txt");
    const std::string extra =
        "20,1129,1,2,1,4,0,255,2564,-26608,2 21,545,30,0,1,0,0,254,0,18930,2 "
        "22,9004,1,0,1,0,0,-256,3,0,1 ";
    athena.insert(athena.find("\t\t1,9 2,10 3,10 5,10"), extra);
    write(server / "save/athena.txt", athena);
    std::string line;
    for (const std::string& l : lines_of(server / "save/athena.txt")) {
        if (l.starts_with("150000\t")) line = l;
    }
    const auto f = split(line, '\t');
    for (const bool y2013 : {false, true}) {
        SCOPED_TRACE(y2013 ? "2013" : "2004");
        const std::string db = load_both_ways(server, y2013 ? "2013" : "2004").second;
        const auto map = [&](std::string_view name) {
            return std::string(y2013 && name.ends_with(".gat") ? name.substr(0, name.size() - 4)
                                                               : name);
        };
        const auto row = server_->query(
            "SELECT account_id,char_num,name,class,base_level,job_level,base_exp,job_exp,zeny,hp,"
            "max_hp,sp,max_sp,str,agi,vit,`int`,dex,luk,status_point,skill_point,`option`,karma,"
            "manner,party_id,guild_id,pet_id,hair,hair_color,clothes_color,weapon,shield,head_top,"
            "head_mid,head_bottom,last_map,last_x,last_y,save_map,save_x,save_y,partner_id FROM " +
            db + ".`char` WHERE char_id=150000");
        ASSERT_EQ(row.size(), 1u);
        std::vector<std::string> file_values;
        for (std::size_t i : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}) {
            for (std::string_view v : split(f[i], ',')) file_values.push_back(map(v));
        }
        EXPECT_EQ(row[0], file_values);
        std::vector<std::vector<std::string>> items;
        for (std::string_view item : entries(f[15])) {
            const auto v = split(item, ',');
            items.emplace_back(v.begin() + 1, v.end());
        }
        EXPECT_EQ(server_->query("SELECT nameid,amount,equip,identify,refine,attribute,card0,card1,"
                                 "card2,card3 FROM " +
                                 db +
                                 ".inventory WHERE char_id=150000 "
                                 "ORDER BY id"),
                  items);
        std::vector<std::vector<std::string>> memo;
        const auto points = split(f[14], ',');
        for (std::size_t i = 0; i + 2 < points.size(); i += 2) {
            // "prontera.gat,156,191geffen.gat,..." : the y runs into the next map's name.
            const std::string_view y = points[i + 2];
            const std::size_t digits = y.find_first_not_of("0123456789");
            const std::string_view name =
                i == 0 ? points[0] : points[i].substr(points[i].find_first_not_of("0123456789"));
            memo.push_back(
                {map(name), std::string(points[i + 1]), std::string(y.substr(0, digits))});
        }
        EXPECT_EQ(server_->query("SELECT map,x,y FROM " + db +
                                 ".memo WHERE char_id=150000 ORDER BY memo_id"),
                  memo);
        std::vector<std::vector<std::string>> skills;
        for (std::string_view s : entries(f[17])) {
            const auto v = split(s, ',');
            skills.push_back({std::string(v[0]), std::string(v[1])});
        }
        EXPECT_EQ(
            server_->query("SELECT id,lv FROM " + db + ".skill WHERE char_id=150000 ORDER BY id"),
            skills);
        std::vector<std::vector<std::string>> vars;
        for (std::string_view s : entries(f[18])) {
            const auto v = split(s, ',');
            vars.push_back({std::string(v[0]), std::string(v[1])});
        }
        EXPECT_EQ(server_->query("SELECT str,value FROM " + db +
                                 ".global_reg_value WHERE type=3 "
                                 "AND char_id=150000 ORDER BY str"),
                  vars);
        EXPECT_EQ(server_->value("SELECT COUNT(*) FROM " + db +
                                 ".guild_member WHERE guild_id=10001 "
                                 "AND char_id=150000 AND name='Kaelen'"),
                  "1");
        EXPECT_EQ(server_->value("SELECT leader_id FROM " + db + ".party WHERE party_id=1"),
                  "2000001");
        if (y2013) {
            EXPECT_EQ(server_->value("SELECT leader_char FROM " + db + ".party WHERE party_id=1"),
                      "150000");
            EXPECT_EQ(server_->value("SELECT char_id FROM " + db + ".guild WHERE guild_id=10001"),
                      "150000");
            EXPECT_EQ(server_->query("SELECT friend_account,friend_id FROM " + db +
                                     ".friends WHERE char_id=150000"),
                      (ScratchMariadb::Rows{{"2000001", "150001"}, {"2000002", "150002"}}));
        }
    }
}

TEST_F(SqlExportTest, QuotesBackslashesAndLatin1BytesReadBackByteForByte) {
    const fs::path server = demo_copy();
    const std::string name = "O'Br\\ie\xe9n";
    // The --into rows go as LOAD DATA lines, which read a field "\N" as NULL.
    const std::string pass = "\\N";
    const std::string email = "\xe9'l\\@x.org";
    const std::string memo = "m\xe9mo ' \\ end";
    const std::string reg = "##Caf\xe9'\\\x81\x9d";  // and two of cp1252's holes
    std::string accounts = read_file(server / "save/account.txt");
    accounts.insert(accounts.rfind("\n", accounts.size() - 2) + 1,
                    "2000100\t" + name + "\t" + pass + "\t-\tM\t0\t0\t" + email + "\t-\t0\t-\t" +
                        memo + "\t0\t" + reg + ",5 \n");
    write(server / "save/account.txt", accounts);
    for (const char* schema : {"2004", "2013"}) {
        SCOPED_TRACE(schema);
        const fs::path file = dir_.path() / (std::string("quotes") + schema + ".sql");
        const Ran out =
            export_sql(server, std::string("--schema ") + schema + " --out " + quoted(file));
        ASSERT_EQ(out.code, 0) << out.out;
        // The memo has no text column in either schema: it is named, never dropped unsaid.
        EXPECT_NE(out.out.find("Account 2000100 (O'Br\\ie\xe9n): its memo \"" + memo),
                  std::string::npos)
            << out.out;
        // quotes_n: a server that refuses LOAD DATA LOCAL is sent INSERTs.
        for (const std::string& db :
             {std::string("quotes_f") + schema, std::string("quotes_i") + schema,
              std::string("quotes_n") + schema}) {
            if (db.starts_with("quotes_f")) {
                server_->query("CREATE DATABASE " + db + " CHARACTER SET latin1");
                const Ran load = run(server_->client() + " " + db + " < " + quoted(file));
                ASSERT_EQ(load.code, 0) << load.out;
            } else {
                const bool refused = db.starts_with("quotes_n");
                if (refused) server_->query("SET GLOBAL local_infile = 0");
                const Ran into =
                    export_sql(server, std::string("--schema ") + schema + " --into " +
                                           quoted(server_->socket()) + " --database " + db);
                if (refused) server_->query("SET GLOBAL local_infile = 1");
                ASSERT_EQ(into.code, 0) << into.out;
            }
            EXPECT_EQ(server_->query("SELECT userid,user_pass,email FROM " + db +
                                     ".login WHERE account_id=2000100"),
                      (ScratchMariadb::Rows{{name, pass, email}}));
            EXPECT_EQ(server_->value("SELECT str FROM " + db +
                                     ".global_reg_value WHERE account_id=2000100"),
                      reg);
        }
    }
}

TEST_F(SqlExportTest, WhatTheSchemaCannotHoldStopsTheExportOrIsNamed) {
    const fs::path server = demo_copy();
    std::string athena = read_file(server / "save/athena.txt");
    // A second character with Kaelbrew's id, and a map name longer than the 2013 schema's 11.
    std::string twin = athena.substr(athena.find("150001\t"));
    twin = twin.substr(0, twin.find('\n') + 1);
    twin.replace(twin.find("Kaelbrew"), 8, "Twinbrew");
    athena.insert(athena.find("150002\t"), twin);
    athena.replace(athena.find("geffen.gat,119,59\talberta"), 10, "geffen_fields.gat");
    write(server / "save/athena.txt", athena);
    const fs::path file = dir_.path() / "refused.sql";
    const Ran refused = export_sql(server, "--out " + quoted(file));
    EXPECT_EQ(refused.code, 1);
    EXPECT_NE(refused.out.find("The character id 150001 is taken by an earlier character"),
              std::string::npos)
        << refused.out;
    EXPECT_FALSE(fs::exists(file));
    const Ran forced_file = export_sql(server, "--force --out " + quoted(file));
    EXPECT_EQ(forced_file.code, 0) << forced_file.out;
    EXPECT_NE(forced_file.out.find("Left out (1):"), std::string::npos) << forced_file.out;
    EXPECT_EQ(read_file(file).find("Twinbrew"), std::string::npos);

    for (const char* schema : {"2004", "2013"}) {
        SCOPED_TRACE(schema);
        const std::string db = std::string("forced") + schema;
        const Ran forced =
            export_sql(server, std::string("--force --schema ") + schema + " --into " +
                                   quoted(server_->socket()) + " --database " + db);
        ASSERT_EQ(forced.code, 0) << forced.out;
        EXPECT_NE(forced.out.find("The character id 150001 is taken"), std::string::npos);
        // The first of the two ids stays; in 2013 its long map name keeps it out as well.
        const bool y2013 = schema == std::string("2013");
        EXPECT_EQ(server_->value("SELECT name FROM " + db + ".`char` WHERE char_id=150001"),
                  y2013 ? "" : "Kaelbrew");
        EXPECT_EQ(server_->value("SELECT COUNT(*) FROM " + db + ".`char` WHERE name='Twinbrew'"),
                  "0");
        const bool cut =
            forced.out.find("Character 150001 (Kaelbrew): the char table's `last_map` holds 11") !=
            std::string::npos;
        EXPECT_EQ(cut, y2013) << forced.out;
    }
    EXPECT_EQ(server_->value("SELECT last_map FROM forced2004.`char` WHERE char_id=150001"),
              "geffen_fields.gat");
}

// Which names collide in a unique key is MariaDB's collation: the export's copy of it is
// compared with the server's own for every byte.
TEST_F(SqlExportTest, CollationKeysAreTheServers) {
    const auto rows = server_->query(
        "WITH RECURSIVE b(n) AS (SELECT 0 UNION ALL SELECT n + 1 FROM b WHERE n < 255) "
        "SELECT n, HEX(WEIGHT_STRING(CONVERT(UNHEX(LPAD(HEX(n), 2, '0')) USING latin1) "
        "COLLATE latin1_swedish_ci)) FROM b");
    ASSERT_EQ(rows.size(), 256u);
    for (const auto& row : rows) {
        const int byte = std::stoi(row[0]);
        EXPECT_EQ(std::stoi(row[1], nullptr, 16),
                  latin1_ci_weight(static_cast<unsigned char>(byte)))
            << "byte " << byte;
    }
}

}  // namespace
}  // namespace tavo
