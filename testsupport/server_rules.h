#pragma once
// What the eAthena server needs of a folder to load it without crashing and without silently
// changing it at its next save: every save file present, every line in the server's own format
// and within its limits. Demo and generated folders, and files Tavo rewrites, are checked here.

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tavo::testing {

namespace fs = std::filesystem;

struct ServerLimits {
    std::size_t storage_items = 300;  // 600 in later releases
};

// Every rule the folder breaks, as "save/guild.txt line 3: ..."; empty when the server loads
// it as it is.
std::vector<std::string> server_rule_breaks(const fs::path& server,
                                            const ServerLimits& limits = {});

// The rules one line of save/guild.txt breaks; empty when it is sound.
std::vector<std::string> guild_line_breaks(std::string_view line);

// A guild line as the server writes it after `head` ("10001\tIron Wolves\tAyla"): `slots`
// member pairs filled in order from `members` ("account,char,name"; account 0 leaves the slot
// empty), 20 positions with the master's first, no alliance, and the 20 guild skills with Guild
// Extension at `extension`.
std::string guild_text(const std::string& head, int slots, const std::vector<std::string>& members,
                       int extension = 0);

// The breaks one to a line, for a test's failure message; "" when there are none.
std::string listed(const std::vector<std::string>& breaks);

}  // namespace tavo::testing
