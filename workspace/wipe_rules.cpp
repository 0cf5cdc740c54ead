#include "workspace/wipe_rules.h"

#include <algorithm>
#include <vector>

#include "accounts/gm_levels.h"
#include "app/numbers.h"
#include "app/text.h"

namespace tavo {
namespace {

struct Family {
    WipeFamily family;
    std::string_view caption;
    std::vector<int> classes;  // the base job, its second jobs, their high and baby forms
};

const std::array<Family, kWipeFamilyCount>& families() {
    static const std::array<Family, kWipeFamilyCount> all{{
        {WipeFamily::Novice, "Novice Class", {0, 23, 4001, 4023, 4045}},
        {WipeFamily::Swordman,
         "Swordman Class",
         {1, 7, 13, 14, 21, 4002, 4008, 4014, 4015, 4022, 4024, 4030, 4036, 4037, 4044}},
        {WipeFamily::Acolyte, "Acolyte Class", {4, 8, 15, 4005, 4009, 4016, 4027, 4031, 4038}},
        {WipeFamily::Mage, "Mage Class", {2, 9, 16, 4003, 4010, 4017, 4025, 4032, 4039}},
        {WipeFamily::Archer,
         "Archer Class",
         {3, 11, 19, 20, 4004, 4012, 4020, 4021, 4026, 4034, 4042, 4043}},
        {WipeFamily::Thief, "Thief Class", {6, 12, 17, 4007, 4013, 4018, 4029, 4035, 4040}},
        {WipeFamily::Merchant, "Merchant Class", {5, 10, 18, 4006, 4011, 4019, 4028, 4033, 4041}},
    }};
    return all;
}

std::size_t field_count(std::string_view line) {
    return static_cast<std::size_t>(std::count(line.begin(), line.end(), '\t')) + 1;
}

bool is_account_line(std::string_view line) {
    if (line.empty() || line.starts_with("/")) return false;
    const std::string_view id = piece(line, '\t', 0);
    return field_count(line) >= 3 && !id.empty() && id.front() >= '0' && id.front() <= '9';
}

}  // namespace

std::string_view family_caption(WipeFamily family) {
    return families()[static_cast<std::size_t>(family)].caption;
}

std::optional<WipeFamily> family_of(double job_class) {
    for (const Family& f : families()) {
        if (std::find(f.classes.begin(), f.classes.end(), job_class) != f.classes.end()) {
            return f.family;
        }
    }
    return std::nullopt;
}

bool is_gm_account(std::string_view id_text, const GmLevels& gm) {
    if (id_text.starts_with("70")) return true;
    const double id = leading_number(id_text);
    if (!(id >= 0 && id <= INT32_MAX)) return false;
    try {
        return gm.level_of(static_cast<std::int32_t>(id)) > 0;
    } catch (const Failure&) {
        // A GM file that cannot be read spares nobody more than the id rule does.
        return false;
    }
}

bool is_valid_wipe_date(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') return false;
    for (const std::size_t i : {0, 1, 2, 3, 5, 6, 8, 9}) {
        if (text[i] < '0' || text[i] > '9') return false;
    }
    const int year = static_cast<int>(leading_number(text.substr(0, 4)));
    const int month = static_cast<int>(leading_number(text.substr(5, 2)));
    const int day = static_cast<int>(leading_number(text.substr(8, 2)));
    if (year < 1 || month < 1 || month > 12 || day < 1) return false;
    static constexpr int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return day <= (month == 2 && !leap ? 28 : kDays[month - 1]);
}

bool user_wipe_takes(std::string_view line, const UserRules& rules, const GmLevels& gm) {
    if (!is_account_line(line)) return false;
    const std::string_view id = piece(line, '\t', 0);
    const double number = leading_number(id);
    if (number >= 0 && number <= 4) return false;  // the server's own accounts
    if (rules.spare_gm && is_gm_account(id, gm)) return false;
    if (rules.not_since && piece(line, '\t', 3).substr(0, 10) <= *rules.not_since) return true;
    return rules.ip && field_count(line) > 10 && piece(line, '\t', 10) == *rules.ip;
}

long long edited_zeny(long long zeny, ZenyEdit edit, long long amount, long long maxzeny) {
    switch (edit) {
        case ZenyEdit::Zero: return 0;
        case ZenyEdit::Set: return std::min(amount, maxzeny);
        case ZenyEdit::Minus: return amount > zeny ? 0 : zeny - amount;
        case ZenyEdit::Plus: return amount > maxzeny - zeny ? maxzeny : zeny + amount;
    }
    return zeny;
}

std::optional<std::string> item_wiped_line(std::string_view line, const ItemRules& rules,
                                           long long maxzeny) {
    std::vector<std::string_view> fields;
    split_into(line, '\t', fields);
    std::vector<std::string> changed(fields.begin(), fields.end());
    const auto empty = [&](bool rule, std::size_t field) {
        if (rule && field < changed.size()) changed[field].clear();
    };
    empty(rules.inventory, 15);
    empty(rules.cart, 16);
    empty(rules.memo, 14);
    empty(rules.skills, 17);
    empty(rules.vars, 18);
    if (rules.zeny && changed.size() > 4) {
        std::vector<std::string_view> values;
        split_into(fields[4], ',', values);
        if (values.size() >= 3) {
            const double read = leading_number(values[2]);
            const long long zeny = read > 0 ? static_cast<long long>(std::min(read, 4e18)) : 0;
            std::string rebuilt;
            for (std::size_t i = 0; i < values.size(); ++i) {
                if (i > 0) rebuilt += ',';
                rebuilt +=
                    i == 2 ? std::to_string(edited_zeny(zeny, *rules.zeny, rules.amount, maxzeny))
                           : std::string(values[i]);
            }
            changed[4] = rebuilt;
        }
    }
    if (std::equal(changed.begin(), changed.end(), fields.begin(), fields.end())) {
        return std::nullopt;
    }
    std::string out;
    out.reserve(line.size());
    for (std::size_t i = 0; i < changed.size(); ++i) {
        if (i > 0) out += '\t';
        out += changed[i];
    }
    return out;
}

}  // namespace tavo
