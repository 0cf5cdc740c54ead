// check --fix: the repairs that have one right answer, each file rewritten once with a backup.

#include <unistd.h>

#include <cerrno>
#include <map>

#include "app/failure.h"
#include "app/file_batch.h"
#include "app/file_writer.h"
#include "app/settings.h"
#include "app/text.h"
#include "app/text_file.h"
#include "app/ui.h"
#include "check/check_world.h"
#include "check/server_check.h"

namespace tavo {
// One-letter texts as strings: GCC 12 at -O3 misreads assigning a one-letter literal.
using namespace std::string_literals;
namespace {

using RepairsOfFile = std::map<std::size_t, std::vector<const Repair*>>;  // by line

std::string edited_line(std::string_view line, const std::vector<const Repair*>& repairs) {
    std::vector<std::string> pieces;
    for (std::string_view piece : split(line, '\t')) pieces.emplace_back(piece);
    for (const Repair* repair : repairs) {
        const std::size_t at = repair->piece;
        switch (repair->edit) {
            case Repair::Edit::SetCounter: pieces[0] = std::to_string(repair->value); break;
            case Repair::Edit::ClearPartyMember:
                pieces.at(at) = "0,0";
                pieces.at(at + 1) = "NoMember";
                break;
            case Repair::Edit::ClearGuildMember:
                pieces.at(at) = "0,0,0,0,0,0,0,0,0,0";
                pieces.at(at + 1) = "-"s;
                break;
            case Repair::Edit::DropLine:
            case Repair::Edit::RemoveFile: break;
        }
    }
    std::string out;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (i > 0) out += '\t';
        out += pieces[i];
    }
    return out;
}

bool drops(const std::vector<const Repair*>& repairs) {
    for (const Repair* repair : repairs) {
        if (repair->edit == Repair::Edit::DropLine) return true;
    }
    return false;
}

// The file again with the repaired lines; every other byte, line ends included, as it was.
std::string repaired_text(std::string_view text, const RepairsOfFile& repairs) {
    std::string out;
    out.reserve(text.size());
    std::size_t number = 0;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        end = end == std::string_view::npos ? text.size() : end + 1;
        std::string_view whole = text.substr(at, end - at);
        at = end;
        const auto found = repairs.find(++number);
        if (found == repairs.end()) {
            out += whole;
            continue;
        }
        if (drops(found->second)) continue;
        std::string_view line = whole;
        std::size_t body = line.size();
        if (body > 0 && line[body - 1] == '\n') --body;
        if (body > 0 && line[body - 1] == '\r') --body;
        out += edited_line(line.substr(0, body), found->second);
        out += line.substr(body);
    }
    return out;
}

bool drops_store(const Finding& f) {
    return f.repair && f.repair->edit == Repair::Edit::DropLine && f.file == check::kStorage;
}

std::optional<FileStamp> stamp_when_checked(const CheckReport& report, const std::string& file) {
    for (const auto& [name, stamp] : report.stamps) {
        if (name == file) return stamp;
    }
    return std::nullopt;
}

// Why no repair is made, or nothing when they may be. A table read only in part never makes a
// finding a repair comes from (check_world.h); an account file without a player account would
// make every store one of a deleted account.
std::optional<std::string> refusal(const CheckReport& report) {
    for (const Finding& f : report.findings) {
        if (drops_store(f) && !report.player_accounts) {
            return "Nothing was repaired: " + std::string(check::kAccounts) +
                   " holds no player account, so every store would count as one of a deleted "
                   "account. Mend the file, then check again.";
        }
    }
    return std::nullopt;
}

std::string question(const CheckReport& report, const std::map<std::string, RepairsOfFile>& plan) {
    std::string text = "These repairs will be made:\r\n";
    std::size_t stores = 0;
    for (const Finding& f : report.findings) {
        if (!f.repair) continue;
        const std::string where = f.line > 0 ? " line " + std::to_string(f.line) : "";
        text += "  " + f.file + where + ": " + f.repair->what;
        if (!f.repair->removes.empty()) text += " (removes " + f.repair->removes + ")";
        text += "\r\n";
        if (drops_store(f)) ++stores;
    }
    if (stores > 0) {
        text += "In all, " + std::to_string(stores) + " of the " +
                std::to_string(report.store_lines) + " store lines of " +
                std::string(check::kStorage) + " go.\r\n";
    }
    if (!plan.empty()) {
        text += "The old files are kept as";
        for (const auto& entry : plan) text.append(1, ' ').append(backup_name(entry.first));
        text += ".\r\n";
    }
    return text + "Repair now?";
}

bool removes(const Finding& f) {
    return f.repair && f.repair->edit == Repair::Edit::RemoveFile;
}

// The leftovers of interrupted rewrites go, unless one changed since the check (a write that is
// still running).
std::size_t remove_leftovers(const AppContext& app, Ui& ui, const CheckReport& report) {
    std::size_t made = 0;
    for (const Finding& f : report.findings) {
        if (!removes(f)) continue;
        const fs::path path = app.server_file(f.file);
        if (stamp_of(path) != stamp_when_checked(report, f.file)) {
            ui.message(f.file + " changed since it was checked and was not removed. Check again.",
                       "Check Files", Icon::Warning);
            continue;
        }
        if (guarded(ui, "repair_server", [&] {
                if (::unlink(path.c_str()) != 0) throw failure_from_errno(errno, path);
            })) {
            ++made;
        }
    }
    return made;
}

}  // namespace

std::size_t repair_server(const AppContext& app, Ui& ui, const CheckReport& report) {
    std::map<std::string, RepairsOfFile> plan;
    for (const Finding& f : report.findings) {
        if (f.repair && !removes(f)) plan[f.file][f.line].push_back(&*f.repair);
    }
    if (report.repairable() == 0) return 0;
    if (const std::optional<std::string> why = refusal(report)) {
        ui.message(*why, "Check Files", Icon::Warning);
        return 0;
    }
    if (!ui.ask_yes_no(question(report, plan), "Check Files", Icon::Question)) return 0;
    std::size_t made = remove_leftovers(app, ui, report);
    for (const auto& planned : plan) {
        // Plain names: clang 14 cannot capture structured bindings in a lambda.
        const auto& file = planned.first;
        const auto& repairs = planned.second;
        const fs::path path = app.server_file(file);
        if (stamp_of(path) != stamp_when_checked(report, file)) {
            ui.message(file + " changed since it was checked and was not repaired. Check again.",
                       "Check Files", Icon::Warning);
            continue;
        }
        const bool written = guarded(ui, "repair_server", [&] {
            // The repairs name lines of the file as it was checked: another writer's change
            // before the rename leaves the file to that writer.
            const auto make = [&](AtomicWriter& out) {
                if (stamp_of(path) != stamp_when_checked(report, file)) {
                    throw Failure(err::kPathFileAccess,
                                  file + " changed since it was checked and was not repaired");
                }
                out.write(repaired_text(read_file(path), repairs));
                return true;
            };
            rewrite_from_disk(app.files, path, make, app.server_file(backup_name(file)));
        });
        if (!written) continue;
        for (const auto& line : repairs) made += line.second.size();
    }
    return made;
}

std::string backup_name(std::string_view file) {
    const std::size_t dot = file.rfind('.');
    if (dot == std::string_view::npos || file.find('/', dot) != std::string_view::npos) {
        return std::string(file) + ".bak";
    }
    return std::string(file.substr(0, dot)) + ".bak" + std::string(file.substr(dot));
}

}  // namespace tavo
