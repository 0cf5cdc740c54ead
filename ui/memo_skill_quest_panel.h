#pragma once
// The "Memo/Skills/Quest" panel: the memo points (List7), skills (List8) and quest variables
// (List9) of the current character with their buttons (Command11_0 .. Command11_12) and the
// panel's "Ok" and "Cancel" (Command12_0, Command12_1). It renders the Memo/Skills/Quest page
// and forwards clicks; the window draws its panels again after each.

#include <array>
#include <string>
#include <vector>

#include "ui/overlay_panel.h"

class QListWidget;
class QPushButton;

namespace tavo {
class MemoSkillQuestPage;
enum class ListButton;
}  // namespace tavo

namespace tavo::ui {

class MemoSkillQuestPanel : public OverlayPanel {
    Q_OBJECT
public:
    MemoSkillQuestPanel(MemoSkillQuestPage& page, QWidget* parent);

    void render();
    QListWidget* list(int index) const { return lists_[static_cast<std::size_t>(index)]; }
    QPushButton* button(ListButton button) const;

signals:
    void changed();

private:
    QWidget* lane(int index, const char* caption, std::initializer_list<ListButton> buttons);

    MemoSkillQuestPage& page_;
    std::array<QListWidget*, 3> lists_{};
    std::array<std::vector<std::string>, 3> shown_;
    std::array<QPushButton*, 13> command11_{};
    QPushButton* command12_[2];
    bool rendering_ = false;
};

}  // namespace tavo::ui
