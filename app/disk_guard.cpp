#include "app/disk_guard.h"

#include "app/failure.h"
#include "app/ui.h"

namespace tavo {

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

}  // namespace tavo
