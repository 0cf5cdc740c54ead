#include "pages/maps_frame.h"

#include "characters/character_lists.h"

namespace tavo {

void MapsFrame::show_for_memo() {
    targets_ = {MapsTarget::Memo};
    target_ = 0;
    shown_ = true;
    if (selected_ < 0) select(0);
}

void MapsFrame::show_for_positions() {
    targets_ = {MapsTarget::SavePosition, MapsTarget::LastPosition};
    target_ = 0;
    shown_ = true;
    if (selected_ < 0) select(0);
}

void MapsFrame::select(int index) {
    selected_ = index >= 0 && index < static_cast<int>(maps_.size()) ? index : -1;
}

std::vector<std::string> MapsFrame::target_texts() const {
    std::vector<std::string> texts;
    for (const MapsTarget target : targets_) {
        texts.emplace_back(kMapsTargetTexts[static_cast<std::size_t>(target)]);
    }
    return texts;
}

void MapsFrame::choose_target(int index) {
    target_ = index >= 0 && index < static_cast<int>(targets_.size()) ? index : -1;
}

std::optional<MapsTarget> MapsFrame::chosen_target() const {
    if (target_ < 0) return std::nullopt;
    return targets_[static_cast<std::size_t>(target_)];
}

std::optional<std::string> MapsFrame::picked() const {
    if (selected_ < 0 || selected_ >= static_cast<int>(maps_.size())) return std::nullopt;
    return map_list_point(maps_[static_cast<std::size_t>(selected_)]);
}

}  // namespace tavo
