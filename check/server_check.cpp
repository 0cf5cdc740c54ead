#include "check/server_check.h"

#include <algorithm>
#include <fstream>

#include "app/failure.h"
#include "app/settings.h"
#include "app/text_file.h"
#include "check/check_world.h"

namespace tavo {
namespace check {

bool ends_lines_in_cr(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    char head[1 << 16];
    in.read(head, sizeof head);
    const std::string_view text(head, static_cast<std::size_t>(in.gcount()));
    const std::string_view first = text.substr(0, text.find('\n'));
    const std::size_t cr = first.find('\r');
    return cr != std::string_view::npos && cr + 1 < first.size();
}

std::size_t records_to_expect(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<char> head(1 << 18);
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    const auto read = static_cast<std::size_t>(in.gcount());
    const auto lines =
        static_cast<std::size_t>(std::count(head.begin(), head.begin() + read, '\n'));
    if (read == 0 || lines == 0) return 1;
    const double per_line = static_cast<double>(read) / static_cast<double>(lines);
    const auto length = static_cast<double>(file_length(path));
    return static_cast<std::size_t>(std::min(length / per_line * 1.05, length / 64)) + 1;
}

void note_unreadable_file(World& world, std::string_view file, const Failure& failure) {
    world.found.add(Problem::UnreadableLine, file, 0,
                    "The file cannot be read: " + failure.description() + ".");
}

// The server splits lines at LF only: a file of CR-ended lines is one line to it.
void note_cr_lines(World& world, std::string_view file) {
    world.found.add(Problem::UnreadableLine, file, 1,
                    "The lines of this file end in CR alone: the server reads the whole file as "
                    "one line.");
}

void note_not_a_file(World& world, std::string_view file) {
    world.found.add(Problem::MissingFile, file, 0,
                    "A folder (or something else that is no file) stands where this file belongs: "
                    "the server finds no file here.");
}

}  // namespace check

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
    "leftover_file",
};
static_assert(std::size(kCodes) == static_cast<std::size_t>(Problem::LeftoverFile) + 1);

// Findings are listed in the order of the files as the server folder is usually read.
int file_rank(std::string_view file) {
    using namespace check;
    const std::string_view order[] = {kAccounts, kGm,  kAthena, kStorage, kParty,
                                      kGuild,    kPet, kCastle, kFriends, kAccreg};
    for (std::size_t i = 0; i < std::size(order); ++i) {
        if (order[i] == file) return static_cast<int>(i);
    }
    return static_cast<int>(std::size(order));
}

}  // namespace

std::string_view problem_code(Problem problem) {
    return kCodes[static_cast<std::size_t>(problem)];
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

CheckReport check_server(const AppContext& app) {
    using namespace check;
    CheckReport report;
    World world(app, report);
    check_accounts(world);
    check_gm_file(world);
    check_parties(world);
    check_guilds(world);
    check_characters(world);
    check_members(world);
    check_stores(world);
    check_pets(world);
    check_castles(world);
    check_friends(world);
    check_registers(world);
    check_leftovers(world);
    std::stable_sort(report.findings.begin(), report.findings.end(),
                     [](const Finding& a, const Finding& b) {
                         const int ra = file_rank(a.file);
                         const int rb = file_rank(b.file);
                         return ra != rb ? ra < rb : a.line < b.line;
                     });
    return report;
}

std::string finding_text(const Finding& finding) {
    std::string text = finding.file;
    if (finding.line > 0) text.append(1, ':').append(std::to_string(finding.line));
    return text + (finding.kind == FindingKind::Note ? ": Note: " : ": ") + finding.text;
}

std::string backup_name(std::string_view file) {
    const std::size_t dot = file.rfind('.');
    if (dot == std::string_view::npos || file.find('/', dot) != std::string_view::npos) {
        return std::string(file) + ".bak";
    }
    return std::string(file.substr(0, dot)) + ".bak" + std::string(file.substr(dot));
}

}  // namespace tavo
