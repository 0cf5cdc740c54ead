#pragma once
// save/friends.txt: one line a character, its id and then 20 pairs ",friend_id,friend_name".
// The server stops reading a line at its first empty name, so empty slots stay at the end.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavo {

struct AppContext;
class AtomicWriter;

// The line without the friends named (nothing when it names none of them): the later pairs
// move up and each freed slot goes to the end as ",0,", so the line keeps its pairs. A line
// whose pairs cannot be told apart (a name holding a comma) is left as it is.
std::optional<std::string> friends_line_without(std::string_view line,
                                                const std::vector<std::int32_t>& char_ids);

// save/friends.txt without the lines of the characters and without them in any list, written
// into `out`; every other line goes back byte for byte. False when nothing changed.
bool write_friends_without(const AppContext& app, AtomicWriter& out,
                           const std::vector<std::int32_t>& char_ids);

}  // namespace tavo
