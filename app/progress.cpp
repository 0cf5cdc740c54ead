#include "app/ui.h"

namespace tavo {

Progress::Progress(Ui& ui) : ui_(ui) {
    ui_.progress_show();
}

Progress::~Progress() {
    try {
        flush();
    } catch (...) {
        // A window that cannot show its last count must still close.
    }
    ui_.progress_close();
}

void Progress::flush() {
    if (!pending_) return;
    pending_ = false;
    ui_.progress_set(verb_ + std::to_string(lines_) + " lines");
}

}  // namespace tavo
