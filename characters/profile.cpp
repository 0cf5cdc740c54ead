#include "characters/profile.h"

#include "app/failure.h"
#include "app/numbers.h"
#include "app/text.h"
#include "characters/character_record.h"
#include "characters/guild_party_pet.h"
#include "refdata/refdata.h"

namespace tavo {
namespace {

constexpr int kJobLookupEntries = 100;

std::string value(std::string_view group, std::size_t index) {
    return std::string(piece(group, ',', index));
}

std::string position(std::string_view point) {
    return value(point, 0) + " (" + value(point, 1) + ", " + value(point, 2) + ")";
}

}  // namespace

std::string get_job_name(const JobClassTable& jobs, std::int32_t class_id) {
    for (int i = 0; i < kJobLookupEntries; ++i) {
        if (jobs.entries[static_cast<std::size_t>(i)].id == class_id) {
            return jobs.entries[static_cast<std::size_t>(i)].name;
        }
    }
    return "unknown:" + std::to_string(class_id);
}

std::string zeny_text(std::string_view zeny, std::string_view group_separator) {
    if (!is_numeric(zeny)) return std::string(zeny);
    const double rounded = round_half_even(numeric_value(zeny));
    if (rounded == 0) return {};
    // The server holds zeny in 32 bits; a bigger number is shown as written, never wrapped.
    if (!as_i32(rounded)) return std::string(trim_blanks(zeny)) + " (too big for a zeny amount)";
    return grouped(static_cast<long long>(rounded), group_separator);
}

std::string show_char_profile(const AppContext& app, Ui& ui, const RefData& ref,
                              const CharacterRecord& r, std::string_view group_separator) {
    const std::string crlf = "\r\n";
    const std::string_view pgp = r.party_guild_pet;
    std::string text;
    // A value that does not fit ends the text there, with the common report.
    guarded(ui, "show_char_profile", [&] {
        text += "Character ID: " + std::to_string(r.char_id) +
                "\tChar Slot #: " + std::to_string(r.char_num) + crlf;
        text += "Name: " + r.name + crlf;
        text +=
            "Class: " + get_job_name(ref.jobs, leading_i16(piece(r.class_levels, ',', 0))) + crlf;
        text += "Base Lvl: " + value(r.class_levels, 1) + crlf;
        text += "Job Lvl: " + value(r.class_levels, 2) + crlf;
        text += "HP: " + value(r.hp_sp, 0) + "/" + value(r.hp_sp, 1) + crlf;
        text += "SP: " + value(r.hp_sp, 2) + "/" + value(r.hp_sp, 3) + crlf;
        text += "Party: " + party_name_of(app, ui, piece(pgp, ',', 0)) + crlf;
        text += "Guild: " + guild_name_of(app, ui, leading_i32(piece(pgp, ',', 1))) + crlf;
        text += "Pet: " + pet_name_of(app, ui, leading_i32(piece(pgp, ',', 2))) + crlf;
        text += "Zeny: " + zeny_text(piece(r.exp_zeny, ',', 2), group_separator) + crlf;
        const char* stat_labels[] = {"STR: ", "AGI: ", "VIT: ", "INT: ", "DEX: ", "LUK:"};
        for (std::size_t i = 0; i < 6; ++i) text += stat_labels[i] + value(r.stats, i) + crlf;
        text += "Status Points: " + value(r.points, 0) + crlf;
        text += "Skill Points: " + value(r.points, 1) + crlf;
        text += "Save Position: " + position(r.save_point) + crlf;
        text += "Last Position: " + position(r.last_point) + crlf;
        text += crlf;
    });
    return text;
}

}  // namespace tavo
