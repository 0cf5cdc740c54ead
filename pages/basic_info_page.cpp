#include "pages/basic_info_page.h"

#include <cstdio>

#include "app/numbers.h"
#include "app/settings.h"
#include "app/text.h"
#include "app/ui.h"
#include "characters/character_lists.h"
#include "characters/guild_party_pet.h"
#include "pages/char_profile_page.h"
#include "pages/maps_frame.h"
#include "workspace/workspace.h"

namespace tavo {
namespace {

using Box = BasicBox;

constexpr std::array<Box, 6> kStats{Box::Str, Box::Agi, Box::Vit, Box::Int, Box::Dex, Box::Luk};
constexpr double kShortMost = 32767;

std::string plain(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.0f", value);
    return text;
}

// A digits box as the plain decimal it holds, capped at `most` ("0150" gives "150").
std::string capped(const std::string& digits, double most) {
    const double value = leading_number(digits);
    return plain(value > most ? most : value);
}

// The values of a group field from the fourth on (",0" of "prontera.gat,156,191,0"): a save
// point carries the partner's id after its position.
std::string after_third(std::string_view group) {
    std::size_t at = 0;
    for (int i = 0; i < 3; ++i) {
        at = group.find(',', at);
        if (at == group.npos) return {};
        ++at;
    }
    return "," + std::string(group.substr(at));
}

std::optional<std::string> name_problem(std::string_view name, std::string_view what) {
    const std::string subject(what);
    if (has_line_breaker(name)) {
        return subject + " may not hold a TAB or a line break: the server would misread the line.";
    }
    if (name.size() > kNameMost) {
        return subject + " takes at most " + std::to_string(kNameMost) + " bytes, not " +
               std::to_string(name.size()) + ".";
    }
    return std::nullopt;
}

}  // namespace

BasicInfoPage::BasicInfoPage(Workspace& ws, Ui& ui, CharProfilePage& character, MapsFrame& maps)
    : ws_(ws), ui_(ui), character_(character), maps_(maps) {}

bool BasicInfoPage::open() {
    if (!ws_.characters.loaded()) return false;
    const CharacterRecord& r = ws_.characters.current();
    boxes_ = {};
    box_text(Box::CharId) = std::to_string(r.char_id);
    box_text(Box::Slot) = std::to_string(r.char_num);
    box_text(Box::Name) = r.name;
    box_text(Box::BaseLevel) = piece(r.class_levels, ',', 1);
    box_text(Box::JobLevel) = piece(r.class_levels, ',', 2);
    for (int i = 0; i < 4; ++i) {
        box_text(static_cast<Box>(static_cast<int>(Box::Hp) + i)) = piece(r.hp_sp, ',', i);
    }
    box_text(Box::Zeny) = piece(r.exp_zeny, ',', 2);
    for (std::size_t i = 0; i < kStats.size(); ++i) box_text(kStats[i]) = piece(r.stats, ',', i);
    box_text(Box::StatPoints) = piece(r.points, ',', 0);
    box_text(Box::SkillPoints) = piece(r.points, ',', 1);
    for (int i = 0; i < 3; ++i) {
        box_text(static_cast<Box>(static_cast<int>(Box::SaveMap) + i)) =
            piece(r.save_point, ',', i);
        box_text(static_cast<Box>(static_cast<int>(Box::LastMap) + i)) =
            piece(r.last_point, ',', i);
    }
    const std::string_view party = piece(r.party_guild_pet, ',', 0);
    const double guild = leading_number(piece(r.party_guild_pet, ',', 1));
    const double pet = leading_number(piece(r.party_guild_pet, ',', 2));
    guild_read_ = guild_name_of(ws_.app, ui_, as_i32(guild).value_or(0));
    party_read_ = party_name_of(ws_.app, ui_, party);
    pet_read_ = pet_name_of(ws_.app, ui_, as_i32(pet).value_or(0));
    box_text(Box::GuildName) = guild_read_;
    box_text(Box::PartyName) = party_read_;
    box_text(Box::PetName) = pet_read_;
    box_text(Box::Hair) = piece(r.looks, ',', 0);
    box_text(Box::HairColor) = piece(r.looks, ',', 1);
    box_text(Box::ClothesColor) = piece(r.looks, ',', 2);

    if (classes_.empty()) {
        for (const std::string& entry : ws_.ref.jobs.list_entries) {
            const std::size_t close = entry.find(']');
            classes_.push_back(
                {close == entry.npos ? std::string() : entry.substr(1, close - 1), entry});
        }
    }
    const std::string wanted = "[" + std::string(trim_blanks(piece(r.class_levels, ',', 0))) + "]";
    for (std::size_t i = 0; i < classes_.size(); ++i) {
        if (contains(classes_[i].text, wanted)) {
            class_ = static_cast<int>(i);
            break;
        }
    }
    open_ = true;
    opened_for_ = ws_.characters.id();
    return true;
}

void BasicInfoPage::prepare() {
    if (!ws_.ref.jobs.listed) return;
    classes_.clear();
    for (const std::string& entry : ws_.ref.jobs.list_entries) {
        // The class id: from the entry's second character up to its first "]".
        const std::size_t close = entry.find(']');
        classes_.push_back(
            {close == entry.npos ? std::string() : entry.substr(1, close - 1), entry});
    }
}

bool BasicInfoPage::is_open() const {
    return open_ && ws_.characters.loaded() && ws_.characters.id() == opened_for_;
}

bool BasicInfoPage::typed(BasicBox box) {
    switch (box) {
        case Box::CharId:
        case Box::Slot:
        case Box::Hp:
        case Box::MaxHp:
        case Box::Sp:
        case Box::MaxSp: return false;
        default: return true;
    }
}

bool BasicInfoPage::digits_only(BasicBox box) {
    switch (box) {
        case Box::BaseLevel:
        case Box::JobLevel:
        case Box::Zeny:
        case Box::Str:
        case Box::Agi:
        case Box::Vit:
        case Box::Int:
        case Box::Dex:
        case Box::Luk:
        case Box::SaveX:
        case Box::SaveY:
        case Box::LastX:
        case Box::LastY:
        case Box::Hair:
        case Box::StatPoints:
        case Box::SkillPoints:
        case Box::HairColor:
        case Box::ClothesColor: return true;
        default: return false;
    }
}

bool BasicInfoPage::type(BasicBox box, std::string text) {
    if (!typed(box)) return false;
    if (digits_only(box) && text.find_first_not_of("0123456789") != std::string::npos) return false;
    box_text(box) = std::move(text);
    return true;
}

void BasicInfoPage::choose_class(int index) {
    class_ = index >= 0 && index < static_cast<int>(classes_.size()) ? index : -1;
}

int BasicInfoPage::class_line_of(std::string_view id) const {
    for (std::size_t i = 0; i < classes_.size(); ++i) {
        if (classes_[i].id == id) return static_cast<int>(i);
    }
    return -1;
}

// What keeps "Ok" from writing the boxes: the first problem, or nothing.
std::optional<std::string> BasicInfoPage::refusal() const {
    const CharacterRecord& r = ws_.characters.current();
    const std::string& name = box(Box::Name);
    if (name != r.name) {
        if (name.empty()) return "A character needs a name of 1 to 23 bytes.";
        if (auto problem = name_problem(name, "A character name")) return problem;
        if (name.find(',') != std::string::npos) {
            return "A character name may not hold a comma: the friend lists of save/friends.txt "
                   "would misread it.";
        }
        if (chk_char_name(ws_.app, ws_.characters.state(), r.char_id, name)) return kNameInUse;
    }
    const std::pair<Box, const char*> maps[] = {{Box::SaveMap, "The save map"},
                                                {Box::LastMap, "The last map"}};
    for (const auto& [map, what] : maps) {
        const int at = static_cast<int>(map);
        const bool complete = !box(map).empty() && !box(static_cast<Box>(at + 1)).empty() &&
                              !box(static_cast<Box>(at + 2)).empty();
        if (!complete) continue;
        if (auto problem = map_name_problem(box(map), what)) return problem;
    }
    const std::pair<Box, const char*> names[] = {{Box::GuildName, "A guild name"},
                                                 {Box::PartyName, "A party name"},
                                                 {Box::PetName, "A pet name"}};
    const std::string* read[] = {&guild_read_, &party_read_, &pet_read_};
    for (std::size_t i = 0; i < 3; ++i) {
        const std::string& typed_name = box(names[i].first);
        if (typed_name.empty() || typed_name == *read[i]) continue;
        if (auto problem = name_problem(typed_name, names[i].second)) return problem;
    }
    return std::nullopt;
}

bool BasicInfoPage::ok() {
    if (!is_open()) return false;
    if (const auto problem = refusal()) {
        ui_.message(*problem, "Tavo");
        return false;
    }
    if (!rename_ties()) return false;
    const std::string before = character_line(ws_.characters.current());
    write_record();
    if (character_line(ws_.characters.current()) != before) {
        ws_.characters.rename_choice();
        ws_.characters.values_edited(ui_);
    }
    character_.refresh_profile();
    close();
    return true;
}

// The guild, party and pet renamed in their files, each only when its box changed. False when
// one was refused or could not be written (said by the rename).
bool BasicInfoPage::rename_ties() {
    const std::string& ties = ws_.characters.current().party_guild_pet;
    const std::string party(piece(ties, ',', 0));
    const std::string guild(piece(ties, ',', 1));
    const std::string pet(piece(ties, ',', 2));
    const auto wanted = [](const std::string& id, const std::string& typed_name,
                           const std::string& read) {
        return leading_number(id) != 0 && !typed_name.empty() && typed_name != read;
    };
    if (wanted(guild, box(Box::GuildName), guild_read_)) {
        const auto held = save_guild(ws_.app, ui_, guild, box(Box::GuildName), guild_read_);
        if (!held) return false;
        guild_read_ = box_text(Box::GuildName) = *held;
    }
    if (wanted(party, box(Box::PartyName), party_read_)) {
        const auto held = save_party(ws_.app, ui_, party, box(Box::PartyName), party_read_);
        if (!held) return false;
        party_read_ = box_text(Box::PartyName) = *held;
    }
    if (wanted(pet, box(Box::PetName), pet_read_)) {
        const auto id = as_i32(leading_number(pet)).value_or(0);
        const auto held = save_pet(ws_.app, ui_, id, box(Box::PetName), pet_read_);
        if (!held) return false;
        pet_read_ = box_text(Box::PetName) = *held;
    }
    return true;
}

// The boxes into the record, group by group: a group with an empty box stays as it was; a value
// above its limit is capped in its box first, so the box and the record agree.
void BasicInfoPage::write_record() {
    CharacterRecord& r = ws_.characters.current();
    const AppSettings& limits = ws_.app.settings;
    const auto filled = [this](std::initializer_list<Box> group) {
        for (const Box b : group) {
            if (box(b).empty()) return false;
        }
        return true;
    };
    r.name = box(Box::Name);
    if (class_ >= 0 && filled({Box::BaseLevel, Box::JobLevel})) {
        box_text(Box::BaseLevel) = capped(box(Box::BaseLevel), limits.maxblvl);
        box_text(Box::JobLevel) = capped(box(Box::JobLevel), limits.maxjlvl);
        r.class_levels = classes_[static_cast<std::size_t>(class_)].id + "," + box(Box::BaseLevel) +
                         "," + box(Box::JobLevel);
    }
    if (filled({Box::Zeny})) {
        const bool above = leading_number(box(Box::Zeny)) > leading_number(limits.maxzeny);
        box_text(Box::Zeny) =
            above ? limits.maxzeny : capped(box(Box::Zeny), leading_number(limits.maxzeny));
        r.exp_zeny = std::string(piece(r.exp_zeny, ',', 0)) + "," +
                     std::string(piece(r.exp_zeny, ',', 1)) + "," + box(Box::Zeny);
    }
    if (filled({Box::Str, Box::Agi, Box::Vit, Box::Int, Box::Dex, Box::Luk})) {
        std::string stats;
        for (const Box stat : kStats) {
            box_text(stat) = capped(box(stat), ws_.ref.limits.max_parameter);
            stats += (stats.empty() ? "" : ",") + box(stat);
        }
        r.stats = stats;
    }
    if (filled({Box::StatPoints, Box::SkillPoints})) {
        box_text(Box::StatPoints) = capped(box(Box::StatPoints), limits.maxstpoint);
        box_text(Box::SkillPoints) = capped(box(Box::SkillPoints), limits.maxskpoint);
        r.points = box(Box::StatPoints) + "," + box(Box::SkillPoints);
    }
    const auto position = [&](std::string& field, Box map, Box x, Box y) {
        if (!filled({map, x, y})) return;
        box_text(x) = capped(box(x), kShortMost);
        box_text(y) = capped(box(y), kShortMost);
        field = box(map) + "," + box(x) + "," + box(y) + after_third(field);
    };
    position(r.save_point, Box::SaveMap, Box::SaveX, Box::SaveY);
    position(r.last_point, Box::LastMap, Box::LastX, Box::LastY);
    if (filled({Box::Hair, Box::HairColor, Box::ClothesColor})) {
        for (const Box look : {Box::Hair, Box::HairColor, Box::ClothesColor}) {
            box_text(look) = capped(box(look), kShortMost);
        }
        r.looks = box(Box::Hair) + "," + box(Box::HairColor) + "," + box(Box::ClothesColor);
    }
}

void BasicInfoPage::cancel() {
    close();
}

void BasicInfoPage::close() {
    if (maps_.shown() && !maps_.for_memo()) maps_.hide();
    open_ = false;
}

std::string BasicInfoPage::maps_caption() const {
    return maps_.shown() && !maps_.for_memo() ? "Hide List" : "List Maps";
}

void BasicInfoPage::toggle_maps() {
    if (!is_open()) return;
    if (maps_.shown() && !maps_.for_memo()) {
        maps_.hide();
    } else {
        maps_.show_for_positions();
    }
}

bool BasicInfoPage::put_position(MapsTarget target, const std::string& point) {
    if (!is_open() || target == MapsTarget::Memo) return false;
    const Box map = target == MapsTarget::SavePosition ? Box::SaveMap : Box::LastMap;
    const int at = static_cast<int>(map);
    box_text(map) = piece(point, ',', 0);
    box_text(static_cast<Box>(at + 1)) = piece(point, ',', 1);
    box_text(static_cast<Box>(at + 2)) = piece(point, ',', 2);
    return true;
}

}  // namespace tavo
