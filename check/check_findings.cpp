#include "check/check_findings.h"

#include <algorithm>

namespace tavo {
namespace {

constexpr std::string_view kCodes[] = {
    "unreadable_line",        "missing_file",
    "empty_account_field",    "guild_without_members",
    "guild_skill_blank",      "guild_size",
    "party_without_members",  "gm_level_above_99",
    "too_many_registers",     "duplicate_account_id",
    "duplicate_account_name", "duplicate_char_id",
    "duplicate_char_name",    "character_without_account",
    "store_without_account",  "member_without_character",
    "missing_party",          "missing_guild",
    "pet_without_owner",      "castle_without_guild",
    "newid_too_low",          "gm_without_account",
    "too_many_items",         "duplicate_store",
    "friend_without_char",    "registers_without_account",
    "pet_in_two_places",      "pet_not_held",
    "leftover_file",
};
static_assert(std::size(kCodes) == static_cast<std::size_t>(Problem::LeftoverFile) + 1);

}  // namespace

std::string_view problem_code(Problem problem) {
    return kCodes[static_cast<std::size_t>(problem)];
}

FindingKind finding_kind(Problem problem) {
    switch (problem) {
        // The server takes 99, the highest level any command asks for.
        case Problem::GmLevelAbove99:
        // Ids kept for GM accounts made later: the shipped GM file lists 30 of them.
        case Problem::GmWithoutAccount:
        // What an interrupted write left beside its file, which is whole.
        case Problem::LeftoverFile:
        // The record of an egg deleted or sold: the server never reads it again.
        case Problem::PetNotHeld: return FindingKind::Note;
        case Problem::UnreadableLine:
        case Problem::MissingFile:
        case Problem::EmptyAccountField:
        case Problem::GuildWithoutMembers:
        case Problem::GuildSkillBlank:
        case Problem::GuildSize:
        case Problem::PartyWithoutMembers:
        case Problem::TooManyRegisters:
        case Problem::DuplicateAccountId:
        case Problem::DuplicateAccountName:
        case Problem::DuplicateCharId:
        case Problem::DuplicateCharName:
        case Problem::CharacterWithoutAccount:
        case Problem::StoreWithoutAccount:
        case Problem::MemberWithoutCharacter:
        case Problem::MissingParty:
        case Problem::MissingGuild:
        case Problem::PetWithoutOwner:
        case Problem::CastleWithoutGuild:
        case Problem::NewIdTooLow:
        case Problem::TooManyItems:
        case Problem::DuplicateStore:
        case Problem::FriendWithoutCharacter:
        case Problem::RegistersWithoutAccount:
        case Problem::PetInTwoPlaces: return FindingKind::Problem;
    }
    return FindingKind::Problem;
}

std::string_view kind_code(FindingKind kind) {
    return kind == FindingKind::Note ? "note" : "problem";
}

std::size_t CheckReport::problems() const {
    return static_cast<std::size_t>(
        std::count_if(findings.begin(), findings.end(),
                      [](const Finding& f) { return f.kind == FindingKind::Problem; }));
}

std::size_t CheckReport::repairable() const {
    return static_cast<std::size_t>(std::count_if(
        findings.begin(), findings.end(), [](const Finding& f) { return f.repair.has_value(); }));
}

std::string finding_text(const Finding& finding) {
    std::string text = finding.file;
    if (finding.line > 0) text.append(1, ':').append(std::to_string(finding.line));
    return text + (finding.kind == FindingKind::Note ? ": Note: " : ": ") + finding.text;
}

}  // namespace tavo
