#pragma once
// The rules the server wipes decide by, one line at a time: who is spared as a GM, which job
// family a class belongs to, whether an account is idle or came from an address, and what an
// item wipe makes of a character line.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tavo {

class GmLevels;

// The job families of the character wipe, in the order of its boxes.
enum class WipeFamily { Novice, Swordman, Acolyte, Mage, Archer, Thief, Merchant };
inline constexpr int kWipeFamilyCount = 7;
std::string_view family_caption(WipeFamily family);
// The family of a class id (the first value of athena.txt field 3), by the server's job ids;
// nothing for a class of none (Wedding, a damaged number).
std::optional<WipeFamily> family_of(double job_class);

// GM accounts are spared when a wipe's GM box is checked: an id whose text begins with "70"
// (the shipped GM range), or an account the GM file gives a level above 0.
bool is_gm_account(std::string_view id_text, const GmLevels& gm);

// The date box: "yyyy-mm-dd", exactly 10 characters, a day of the calendar. The template
// text itself is no date.
bool is_valid_wipe_date(std::string_view text);

// Who the user wipe takes: accounts that have not logged in since a date (the first 10
// characters of the last login, as text, at most the date; "-", never logged in, always), or
// whose last IP (field 10) is an address.
struct UserRules {
    bool spare_gm = true;
    std::optional<std::string> not_since;  // yyyy-mm-dd
    std::optional<std::string> ip;
};
// Whether the user wipe deletes the account of this account.txt line. The server's own
// accounts 0 to 4 and lines that are no account (comments, %newid%, fewer than 3 fields) never
// go; an account without field 10 (817 files) never matches the IP rule.
bool user_wipe_takes(std::string_view line, const UserRules& rules, const GmLevels& gm);

enum class ZenyEdit { Zero, Set, Minus, Plus };
struct ItemRules {
    bool spare_gm = true;
    bool inventory = false;
    bool cart = false;
    bool storage = false;        // Kafra stores of the accounts not spared
    bool guild_storage = false;  // every guild store, GM or not
    bool memo = false;
    bool skills = false;
    bool vars = false;
    std::optional<ZenyEdit> zeny;
    long long amount = 0;  // saturated: a longer number than any zeny is still the most zeny
    bool changes_characters() const {
        return inventory || cart || memo || skills || vars || zeny.has_value();
    }
};
// The zeny after the edit: "= 0"; "= A" and "+ A" at most maxzeny; "- A" at least 0.
long long edited_zeny(long long zeny, ZenyEdit edit, long long amount, long long maxzeny);
// The character line after the item wipe, or nothing when it stays as it was. Emptied lists
// leave their fields empty (an inventory of "0,0,0,0,0" is no item the server can read, and it
// drops the character); the zeny is the third value of field 4. Every other byte is kept.
std::optional<std::string> item_wiped_line(std::string_view line, const ItemRules& rules,
                                           long long maxzeny);

}  // namespace tavo
