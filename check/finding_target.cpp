#include "check/finding_target.h"

#include <charconv>
#include <optional>
#include <string_view>

#include "app/failure.h"
#include "app/file_stamp.h"
#include "app/settings.h"
#include "app/text_file.h"
#include "check/check_world.h"

namespace tavo {
namespace {

// The leading number of a piece, as the server reads it.
std::optional<std::int32_t> record_id(std::string_view text) {
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end == text.data()) return std::nullopt;
    return value;
}

std::optional<std::string> line_at(const AppContext& app, std::string_view file,
                                   std::size_t number) {
    try {
        LineReader reader(app.server_file(file));
        std::string_view line;
        for (std::size_t at = 1; reader.next(line); ++at) {
            if (at == number) return std::string(line);
        }
    } catch (const Failure&) {
    }
    return std::nullopt;
}

bool changed_since(const AppContext& app, const CheckReport& report, const std::string& file) {
    for (const auto& [name, stamp] : report.stamps) {
        if (name == file) return stamp != stamp_of(app.server_file(file));
    }
    return false;
}

}  // namespace

std::variant<FindingTarget, std::string> finding_target(const AppContext& app,
                                                        const CheckReport& report,
                                                        const Finding& finding) {
    const std::string& file = finding.file;
    const bool accounts = file == check::kAccounts || file == check::kGm || file == check::kAccreg;
    const bool characters = file == check::kAthena;
    const bool stores = file == check::kStorage;
    if (!accounts && !characters && !stores) {
        return "A finding of " + file + " is not about one account, character or store.";
    }
    if (finding.line == 0) return "This finding is about " + file + " as a whole.";
    if (changed_since(app, report, file)) {
        return file + " changed since the check: press Check Files again.";
    }
    const std::optional<std::string> line = line_at(app, file, finding.line);
    const std::string_view text = line ? std::string_view(*line) : std::string_view();
    FindingTarget target;
    std::optional<std::int32_t> id;
    if (characters) {
        // char id TAB account id,slot
        const std::size_t tab = text.find('\t');
        target.kind = FindingTarget::Kind::Character;
        const std::optional<std::int32_t> char_id = record_id(text);
        if (char_id && tab != std::string_view::npos) {
            target.char_id = *char_id;
            id = record_id(text.substr(tab + 1));
        }
    } else {
        target.kind = stores ? FindingTarget::Kind::Store : FindingTarget::Kind::Account;
        id = record_id(text);
    }
    if (!id) {
        return file + ":" + std::to_string(finding.line) + " names no account the editor can read.";
    }
    target.account_id = *id;
    return target;
}

}  // namespace tavo
