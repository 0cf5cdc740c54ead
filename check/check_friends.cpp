// The server check of save/friends.txt and save/accreg.txt, against the characters and accounts
// read before.

#include "app/text.h"
#include "app/text_file.h"
#include "check/check_world.h"

namespace tavo::check {
namespace {

constexpr std::size_t kFriendsNamed = 3;

// "150000 (Kaelen), 150001 (Kaelbrew) and 2 more"
std::string listed(const std::vector<std::string>& friends) {
    std::string text;
    for (std::size_t i = 0; i < friends.size() && i < kFriendsNamed; ++i) {
        if (i > 0) text += ", ";
        text += friends[i];
    }
    if (friends.size() > kFriendsNamed) {
        text += " and " + std::to_string(friends.size() - kFriendsNamed) + " more";
    }
    return text;
}

void check_friends_line(World& world, std::string_view line, std::size_t number,
                        std::vector<std::string_view>& p) {
    split_into(without_last_cr(line), ',', p);
    if (!is_integer(p[0])) {
        world.found.add(Problem::UnreadableLine, kFriends, number,
                        "The server cannot read this friends line: it starts with the character "
                        "id.");
        return;
    }
    if (!world.chars_read) return;
    const long long id = integer_value(p[0]);
    if (!world.char_ids.contains(id)) {
        world.found.add(Problem::FriendWithoutCharacter, kFriends, number,
                        "The friends of character " + std::to_string(id) +
                            " are listed, but save/athena.txt has no such character.");
        return;
    }
    std::vector<std::string> missing;
    for (std::size_t i = 1; i + 1 < p.size(); i += 2) {
        const long long friend_id = integer_at(p[i], 0);
        if (friend_id == 0 || world.char_ids.contains(friend_id)) continue;
        missing.push_back(std::to_string(friend_id) + " (" + shown(p[i + 1]) + ")");
    }
    if (missing.empty()) return;
    world.found.add(Problem::FriendWithoutCharacter, kFriends, number,
                    "Character " + std::to_string(id) +
                        " lists friends who are not in "
                        "save/athena.txt: " +
                        listed(missing) + ".");
}

void check_registers_line(World& world, std::string_view line, std::size_t number) {
    const std::string_view head = piece(line, '\t', 0);
    if (!is_integer(head)) {
        world.found.add(Problem::UnreadableLine, kAccreg, number,
                        "The server cannot read this register line: it starts with the account "
                        "id and a TAB.");
        return;
    }
    const long long account = integer_value(head);
    if (!world.accounts_read || world.account_ids.contains(account)) return;
    world.found.add(Problem::RegistersWithoutAccount, kAccreg, number,
                    "The registers of account " + std::to_string(account) +
                        " belong to no account in save/account.txt.");
}

}  // namespace

void check_friends(World& world) {
    // A folder in its place is reported by the reading.
    if (is_missing(world.app.server_file(kFriends))) {
        world.found.add(Problem::MissingFile, kFriends, 0,
                        "The file is missing: the char server crashes at the first character "
                        "without it. Make it as an empty file.");
        return;
    }
    std::vector<std::string_view> pieces;
    each_line(world, kFriends, [&](std::string_view line, std::size_t number) {
        if (is_record(line)) check_friends_line(world, line, number, pieces);
    });
}

void check_registers(World& world) {
    each_line(world, kAccreg, [&](std::string_view line, std::size_t number) {
        if (is_record(line)) check_registers_line(world, line, number);
    });
}

}  // namespace tavo::check
