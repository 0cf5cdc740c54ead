// save/athena.txt into `char` and, from the same line, the memo points, inventory, cart, skills
// and character variables.

#include <algorithm>

#include "app/numbers.h"
#include "app/text.h"
#include "characters/character_file.h"
#include "check/check_support.h"
#include "check/check_world.h"
#include "export/export_run.h"
#include "export/sql_text.h"

namespace tavo::sqlx {

namespace {

constexpr std::size_t kFields = 19;

// The number fields of a character line: the field, how many numbers, the first column.
struct NumberField {
    std::size_t field;
    std::size_t count;
    std::size_t slot;
};
// Columns of `char` in the order the export fills them (sql_export.cpp).
enum Char {
    kCharId,
    kAccount,
    kCharNum,
    kName,
    kClass,
    kBaseLevel,
    kJobLevel,
    kBaseExp,
    kJobExp,
    kZeny,
    kStr,
    kAgi,
    kVit,
    kInt,
    kDex,
    kLuk,
    kHp,
    kMaxHp,
    kSp,
    kMaxSp,
    kStatusPoint,
    kSkillPoint,
    kOption,
    kKarma,
    kManner,
    kPartyId,
    kGuildId,
    kPetId,
    kHair,
    kHairColor,
    kClothesColor,
    kWeapon,
    kShield,
    kHeadTop,
    kHeadMid,
    kHeadBottom,
    kLastMap,
    kLastX,
    kLastY,
    kSaveMap,
    kSaveX,
    kSaveY,
    kPartnerId,
    kOnline
};
// In the order of the columns: the stats stand before HP and SP there.
constexpr NumberField kNumberFields[] = {
    {3, 3, kClass},  {4, 3, kBaseExp}, {6, 6, kStr},   {5, 4, kHp},      {7, 2, kStatusPoint},
    {8, 3, kOption}, {9, 3, kPartyId}, {10, 3, kHair}, {11, 5, kWeapon},
};

// A map name as the era keeps it: the 2013 schema drops ".gat".
std::string_view map_of(std::string_view name, SqlEra era) {
    if (era == SqlEra::Y2013 && name.ends_with(".gat")) name.remove_suffix(4);
    return name;
}

// "map,x,y" (and ",partner" after the save point) into map, x, y columns; false when the text
// is not of that form.
bool point(TableRows& rows, std::string_view text, std::size_t slot, SqlEra era,
           long long* partner = nullptr) {
    const std::size_t comma = text.find(',');
    if (comma == 0 || comma == std::string_view::npos) return false;
    long long v[3] = {};
    NumbersSeen seen;
    const std::string_view numbers = text.substr(comma + 1);
    if (!read_numbers(numbers, v, 2, partner ? 1 : 0, &seen)) return false;
    rows.text(slot, map_of(text.substr(0, comma), era));
    if (seen.as_written) {
        rows.numbers(slot + 1, v, 2, numbers.substr(0, seen.counted_length));
    } else {
        rows.number(slot + 1, v[0]);
        rows.number(slot + 2, v[1]);
    }
    if (partner) *partner = v[2];
    return true;
}

// Each point of a memo field, whose points may stand without a blank between them
// ("alpha,150,180beta,120,60"): a point starts where a letter follows a digit, as splitmemo
// reads it.
template <class Each>
void each_memo_point(std::string_view memo, Each&& each) {
    std::size_t start = 0;
    for (std::size_t i = 0; i <= memo.size(); ++i) {
        const bool blank = i == memo.size() || memo[i] == ' ';
        const bool glued = !blank && i > 0 && memo[i - 1] >= '0' && memo[i - 1] <= '9' &&
                           is_alpha_code(static_cast<unsigned char>(memo[i]));
        if (!blank && !glued) continue;
        if (i > start) each(memo.substr(start, i - start));
        start = blank ? i + 1 : i;
    }
}

class CharacterPass {
public:
    explicit CharacterPass(ExportRun& run)
        : run_(run),
          chars_(run.table("char")),
          memo_(run.table("memo")),
          inventory_(run.table("inventory")),
          cart_(run.table("cart_inventory")),
          skills_(run.table("skill")) {}

    void line(std::string_view text, std::size_t number) {
        if (text.empty()) return;
        check::split_tabs(without_last_cr(text), p_);
        if (p_.size() == 2 && p_[1] == "%newid%") {
            run_.next_char = std::max(run_.next_char, integer_in(p_[0], 0, INT32_MAX).value_or(0));
            return;
        }
        long long id_account[2] = {};
        if (p_.size() < kFields || !is_integer(p_[0]) || !read_numbers(p_[1], id_account, 2)) {
            return skip(number, "Character line", "the server cannot read it");
        }
        const long long id = integer_value(p_[0]);
        const Who who = [&] {
            return "Character " + std::to_string(id) + " (" + check::shown(p_[2]) + ")";
        };
        if (!character_row(id, id_account, who, number)) return;
        if (run_.era == SqlEra::Y2013) {
            run_.characters.add(static_cast<std::int32_t>(id),
                                static_cast<std::int32_t>(id_account[0]), p_[2]);
        }
        memo_points(id, number, who);
        export_items(run_, inventory_, id, p_[15], false, check::kAthena, number,
                     [&] { return who() + ", inventory"; });
        export_items(run_, cart_, id, p_[16], false, check::kAthena, number,
                     [&] { return who() + ", cart"; });
        skill_rows(id, number, who);
        export_registers(run_, p_[18], 3, 0, id, check::kAthena, number, who);
    }

private:
    bool character_row(long long id, const long long* id_account, const Who& who,
                       std::size_t number) {
        chars_.begin();
        chars_.number(kCharId, id);
        chars_.number(kAccount, id_account[0]);
        chars_.number(kCharNum, id_account[1]);
        chars_.text(kName, p_[2]);
        for (const NumberField& f : kNumberFields) {
            long long v[6] = {};
            NumbersSeen seen;
            if (!read_numbers(p_[f.field], v, f.count, 0, &seen)) {
                skip(number, who(),
                     "field " + std::to_string(f.field) + " is not " + std::to_string(f.count) +
                         " numbers");
                return false;
            }
            if (seen.as_written) {
                chars_.numbers(f.slot, v, f.count, p_[f.field]);
            } else {
                for (std::size_t i = 0; i < f.count; ++i) chars_.number(f.slot + i, v[i]);
            }
        }
        long long partner = 0;
        const bool points = point(chars_, p_[12], kLastMap, run_.era) &&
                            point(chars_, p_[13], kSaveMap, run_.era, &partner);
        if (!points) {
            skip(number, who(), "its last or save point is not map,x,y");
            return false;
        }
        chars_.number(kPartnerId, partner);
        chars_.number(kOnline, 0);
        if (run_.era == SqlEra::Y2013 && !run_.char_names.insert(latin1_ci_hash(p_[2]))) {
            skip(number, who(),
                 "its name differs from an earlier character's only in letter case or accents, "
                 "and the 2013 schema's names are unique in that sense");
            return false;
        }
        return run_.add(chars_, check::kAthena, number, who);
    }

    void memo_points(long long id, std::size_t number, const Who& who) {
        each_memo_point(p_[14], [&](std::string_view entry) {
            const auto what = [&] { return who() + ", memo point " + std::string(entry); };
            memo_.begin();
            memo_.number(0, id);
            if (!point(memo_, entry, 1, run_.era)) {
                run_.skip(check::kAthena, number, what(), "it is not map,x,y");
                return;
            }
            run_.add(memo_, check::kAthena, number, what);
        });
    }

    void skill_rows(long long id, std::size_t number, const Who& who) {
        seen_.clear();
        each_entry(p_[17], [&](std::string_view entry) {
            const auto what = [&] { return who() + ", skill " + std::string(entry.substr(0, 40)); };
            long long v[2] = {};
            NumbersSeen seen;
            if (!read_numbers(entry, v, 2, 0, &seen)) {
                run_.skip(check::kAthena, number, what(), "it is not id,level");
                return true;
            }
            if (std::find(seen_.begin(), seen_.end(), v[0]) != seen_.end()) {
                run_.skip(check::kAthena, number, what(), "the character has this skill already");
                return true;
            }
            seen_.push_back(v[0]);
            skills_.begin();
            skills_.number(0, id);
            if (seen.as_written) {
                skills_.numbers(1, v, 2, entry);
            } else {
                skills_.number(1, v[0]);
                skills_.number(2, v[1]);
            }
            run_.add(skills_, check::kAthena, number, what);
            return true;
        });
    }

    void skip(std::size_t number, const std::string& who, const std::string& why) {
        run_.skip(check::kAthena, number, who, why);
    }

    ExportRun& run_;
    TableRows& chars_;
    TableRows& memo_;
    TableRows& inventory_;
    TableRows& cart_;
    TableRows& skills_;
    std::vector<std::string_view> p_;
    std::vector<long long> seen_;
};

}  // namespace

void export_characters(ExportRun& run) {
    CharacterPass pass(run);
    run.each_line(check::kAthena,
                  [&](std::string_view text, std::size_t line) { pass.line(text, line); });
    run.characters.seal();
}

}  // namespace tavo::sqlx
