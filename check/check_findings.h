#pragma once
// What the server check finds: each finding with its file, line, sentence, kind and the one right
// repair where there is one, and the report that gathers them.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/file_stamp.h"

namespace tavo {

enum class Problem {
    UnreadableLine,
    MissingFile,
    EmptyAccountField,
    GuildWithoutMembers,
    GuildSkillBlank,
    GuildSize,
    PartyWithoutMembers,
    GmLevelAbove99,
    TooManyRegisters,
    DuplicateAccountId,
    DuplicateAccountName,
    DuplicateCharId,
    DuplicateCharName,
    CharacterWithoutAccount,
    StoreWithoutAccount,
    MemberWithoutCharacter,
    MissingParty,
    MissingGuild,
    PetWithoutOwner,
    CastleWithoutGuild,
    NewIdTooLow,
    GmWithoutAccount,
    TooManyItems,
    DuplicateStore,
    FriendWithoutCharacter,
    RegistersWithoutAccount,
    PetInTwoPlaces,
    PetNotHeld,
    LeftoverFile,
};

// A stable word for each problem, as --json gives it ("duplicate_char_name").
std::string_view problem_code(Problem problem);

// The one right repair of a finding, where there is one.
struct Repair {
    enum class Edit { SetCounter, ClearPartyMember, ClearGuildMember, DropLine, RemoveFile };
    Edit edit = Edit::DropLine;
    std::size_t piece = 0;  // the TAB-separated piece where a member's slot starts
    long long value = 0;    // the new %newid% counter
    std::string what;       // "raise the %newid% counter to 2000034"
    std::string removes;    // the records it removes: "1 store line of 3 items"; empty for none
};

// A problem is what the server misreads, crashes on or loses, or a reference to something that
// does not exist; a note is an oddity worth knowing that harms nothing (a GM level for an account
// not made yet), and does not make the check fail.
enum class FindingKind { Problem, Note };

// The kind every finding of that code has.
FindingKind finding_kind(Problem problem);

// "problem" or "note", as --json gives it.
std::string_view kind_code(FindingKind kind);

struct Finding {
    Problem problem = Problem::UnreadableLine;
    std::string file;      // as named in the server folder: "save/athena.txt"
    std::size_t line = 0;  // from 1; 0 for the file as a whole
    std::string text;      // one plain sentence
    std::optional<Repair> repair;
    FindingKind kind = FindingKind::Problem;
};

struct CheckReport {
    std::vector<Finding> findings;  // by file, then line
    std::size_t problems() const;   // the findings that are not notes
    // What each file read was like, so that a repair never works on a file changed since.
    std::vector<std::pair<std::string, std::optional<FileStamp>>> stamps;
    // Whether save/account.txt holds an account a player logs in with, not only the server's
    // own: only then is a store of an account it lacks taken as one of a deleted account.
    bool player_accounts = false;
    std::size_t store_lines = 0;  // the store lines of save/storage.txt the server reads
    std::size_t repairable() const;
};

// "save/athena.txt:12: Character 150003 (Kaelen) ..." (no line number for a whole file); a
// note reads "save/.account.txt.x2Fq9a: Note: ...".
std::string finding_text(const Finding& finding);

}  // namespace tavo
