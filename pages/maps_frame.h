#pragma once
// The "MAPS" frame: the map pick list of tavo.ini with its target chooser. The Memo/Skills/Quest
// panel shows it to add memo points, the "Edit Basic Character Info" panel to fill its save and
// last positions. See pages/pages.h for how a page is used.

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "refdata/maps.h"

namespace tavo {

// Where "Do it" puts the chosen map.
enum class MapsTarget { Memo, SavePosition, LastPosition };
inline constexpr std::array<const char*, 3> kMapsTargetTexts{
    "Add to Memo list", "Copy to Save Position", "Copy to Last Position"};

class MapsFrame {
public:
    explicit MapsFrame(const MapList& maps) : maps_(maps) {}

    // After the maps are read: the first one chosen.
    void prepare() { select(0); }
    bool shown() const { return shown_; }
    // Shown for the memo list ("Add to Memo list") or for the positions of the basic editor.
    void show_for_memo();
    void show_for_positions();
    void hide() { shown_ = false; }
    bool for_memo() const { return shown_ && targets_.size() == 1; }

    // The maps list (List6): "prontera.gat (156,191)".
    const MapList& entries() const { return maps_; }
    int selected() const { return selected_; }
    void select(int index);

    // The target chooser (Combo8).
    const std::vector<MapsTarget>& targets() const { return targets_; }
    std::vector<std::string> target_texts() const;
    int target() const { return target_; }
    void choose_target(int index);
    std::optional<MapsTarget> chosen_target() const;

    // The chosen map as map,x,y; nothing when no map is chosen or its line does not read so.
    std::optional<std::string> picked() const;

private:
    const MapList& maps_;
    bool shown_ = false;
    int selected_ = -1;
    std::vector<MapsTarget> targets_;
    int target_ = -1;
};

}  // namespace tavo
