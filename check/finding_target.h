#pragma once
// What a finding of the check is about, for a double-click in "Check Files": the account,
// character or store its line holds, or why there is none to choose.

#include <cstdint>
#include <string>
#include <variant>

#include "check/check_findings.h"

namespace tavo {

struct AppContext;

struct FindingTarget {
    enum class Kind { Account, Character, Store };
    Kind kind = Kind::Account;
    std::int32_t account_id = 0;
    std::int32_t char_id = 0;  // for a character
};

// The record on the finding's line, read from the file as it is now; a sentence saying why
// nothing can be chosen otherwise (a whole file, a file changed since the check, a guild).
std::variant<FindingTarget, std::string> finding_target(const AppContext& app,
                                                        const CheckReport& report,
                                                        const Finding& finding);

}  // namespace tavo
