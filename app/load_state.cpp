#include "app/load_state.h"

#include "app/failure.h"
#include "app/ui.h"

namespace tavo {

void LoadState::set_whole() {
    whole_ = true;
    reason_.clear();
}

void LoadState::set_failed(std::string_view file, const Failure& failure) {
    whole_ = false;
    file_ = file;
    reason_ = "Error " + std::to_string(failure.number()) + ", " + failure.description();
}

std::string LoadState::refusal() const {
    if (whole_) return {};
    return file_ + " could not be read (" + reason_ +
           "), so nothing is written to it: writing now would replace the records that were "
           "not read.\r\nMake the file readable, then open the server folder again.";
}

bool LoadState::allow_write(Ui& ui) const {
    if (whole_) return true;
    ui.error_report(refusal(), Icon::Critical);
    return false;
}

}  // namespace tavo
