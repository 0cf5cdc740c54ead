#include "app/disk_guard.h"

#include <map>

#include "app/failure.h"
#include "app/ui.h"

namespace tavo {
namespace {

using Texts = std::map<double, std::string_view>;

// The first line of each record id.
Texts by_id(const RecordLines& records, const std::vector<std::string>& lines) {
    Texts texts;
    for (const std::string& line : lines) {
        if (const auto id = records.id(line)) texts.emplace(*id, line);
    }
    return texts;
}

std::optional<std::string_view> find(const Texts& texts, double id) {
    const auto at = texts.find(id);
    return at == texts.end() ? std::nullopt : std::optional<std::string_view>(at->second);
}

}  // namespace

std::string conflict_question(const std::string& label) {
    return label + " was changed on disk since it was read. Keep the version on disk?";
}

Side settle_record(Ui& ui, OnConflict policy, const std::string& label,
                   std::optional<std::string_view> read, std::optional<std::string_view> mine,
                   std::optional<std::string_view> disk) {
    if (mine == read) return Side::Disk;  // only the other writer (if anyone) changed it
    if (disk == read || disk == mine) return Side::Mine;
    switch (policy) {
        case OnConflict::Mine: return Side::Mine;
        case OnConflict::Theirs: return Side::Disk;
        case OnConflict::Refuse:
            throw Failure(err::kPathFileAccess,
                          label +
                              " was changed on disk since it was read, so nothing was written. "
                              "Add --mine to write this version, or --theirs to keep the one on "
                              "disk.");
        case OnConflict::Ask: break;
    }
    return ui.ask_yes_no(conflict_question(label), "Tavo", Icon::Question) ? Side::Disk
                                                                           : Side::Mine;
}

std::optional<std::string> settled_text(Ui& ui, OnConflict policy, const std::string& label,
                                        std::optional<std::string_view> read,
                                        std::optional<std::string_view> mine,
                                        std::optional<std::string_view> disk) {
    const std::optional<std::string_view> text =
        settle_record(ui, policy, label, read, mine, disk) == Side::Disk ? disk : mine;
    return text ? std::optional<std::string>(*text) : std::nullopt;
}

std::vector<std::string> rebase_lines(Ui& ui, OnConflict policy, const RecordLines& records,
                                      const std::vector<std::string>& read,
                                      const std::vector<std::string>& mine,
                                      const std::vector<std::string>& disk) {
    const Texts read_texts = by_id(records, read);
    const Texts mine_texts = by_id(records, mine);
    std::vector<std::string> out;
    out.reserve(disk.size() + 1);
    std::map<double, bool> seen;
    for (const std::string& line : disk) {
        const std::optional<double> id = records.id(line);
        const auto own = id ? find(mine_texts, *id) : std::nullopt;
        const auto as_read = id ? find(read_texts, *id) : std::nullopt;
        // Lines that are no record, records the other writer made, and later lines of an id.
        if (!id || (!own && !as_read) || !seen.emplace(*id, true).second) {
            out.push_back(line);
            continue;
        }
        if (auto text = settled_text(ui, policy, records.label(line), as_read, own, line)) {
            out.push_back(std::move(*text));
        }
    }
    // Records the disk does not hold (any more).
    for (const std::string& own : mine) {
        const std::optional<double> id = records.id(own);
        if (!id || !seen.emplace(*id, true).second) continue;
        if (auto text = settled_text(ui, policy, records.label(own), find(read_texts, *id), own,
                                     std::nullopt)) {
            out.push_back(std::move(*text));
        }
    }
    return out;
}

}  // namespace tavo
