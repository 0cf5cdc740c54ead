#pragma once
// The "Server Wipe" dialog as a page: which of its four frames shows, every box, option and
// text box with its caption, initial state and key filter, and the "Wipe" of each frame with
// its checks, its question (with what will go) and its message. The dialog and `tavo-cli wipe`
// drive this one page. See pages/pages.h for how a page is used.

#include <array>
#include <optional>
#include <string>

#include "workspace/wipe.h"

namespace tavo {

struct Workspace;
class Ui;

// Command1's buttons: the four frames by their index, and Exit (3).
enum class WipeFrame { Full = 0, Items = 1, Chars = 2, Users = 4 };
inline constexpr int kWipeExitButton = 3;

// The boxes of each frame, by index: Check1 (full), Check4 (user), Check3 (character),
// Check2 (item); Option1 the zeny edits.
inline constexpr int kFullBoxCount = 11;
inline constexpr int kUserBoxCount = 3;
inline constexpr int kCharBoxCount = 8;
inline constexpr int kItemBoxCount = 9;
inline constexpr int kZenyOptionCount = 4;
enum class ItemBox { Inventory, Cart, Storage, GuildStorage, Memo, Skills, SpareGm, Vars, Zeny };
enum class UserBox { SpareGm, NotSince, Ip };
// Text2 0 (the date), Text2 1 (the IP address) and Text1 (the zeny amount).
enum class WipeText { Date, Ip, Amount };

struct WipeOutcome {
    bool wiped = false;  // files were changed: the window reloads its accounts, character and store
};

class WipePage {
public:
    WipePage(Workspace& ws, Ui& ui);

    WipeFrame frame() const { return frame_; }
    void show(WipeFrame frame) { frame_ = frame; }
    static std::string button_caption(int index);  // Command1
    static std::string frame_caption(WipeFrame frame);
    static std::string wipe_caption() { return "Wipe"; }
    static std::string full_label();
    static std::string chars_label();

    // The boxes of a frame: caption, checked, and whether a click may change it.
    std::string box_caption(WipeFrame frame, int box) const;
    bool checked(WipeFrame frame, int box) const;
    bool box_enabled(WipeFrame frame, int box) const;
    static int box_count(WipeFrame frame);
    // A click on a box; the full wipe's boxes stay checked.
    void set_box(WipeFrame frame, int box, bool checked);

    static std::string zeny_caption(int option);
    int zeny_option() const { return zeny_option_; }
    void choose_zeny(int option);
    bool zeny_options_enabled() const;
    bool amount_visible() const;

    const std::string& text(WipeText box) const;
    bool text_enabled(WipeText box) const;
    static int max_length(WipeText box);
    // The key filter: digits and Backspace for the amount, digits, "." and Backspace for the
    // date and the IP address.
    static bool accepts_key(WipeText box, char key);
    // Typed or pasted text; refused (false, unchanged) when it holds a character the box's key
    // filter would not take or is too long. The date keeps its template's dashes.
    bool set_text(WipeText box, const std::string& text);

    // The request the frame's boxes make.
    WipeRequest request(WipeFrame frame) const;
    // The checks of the frame's "Wipe" and its decision pass; nothing after a message.
    std::optional<WipePlan> plan(WipeFrame frame);
    // The question: the frame's own words and, on a line of its own, what will go.
    static std::string question(WipeFrame frame, const WipePlan& plan);
    // "Wipe": the checks, the decision pass, the question, the wipe and its message.
    WipeOutcome press_wipe(WipeFrame frame, bool confirmed = false);
    // What the last wipe did.
    const WipePlan& last_plan() const { return last_plan_; }
    const WipeDone& last_done() const { return last_done_; }

private:
    Workspace& ws_;
    Ui& ui_;
    WipeFrame frame_ = WipeFrame::Full;
    std::array<bool, kUserBoxCount> user_{true, false, false};
    std::array<bool, kCharBoxCount> chars_{true, true, true, true, true, true, true, true};
    std::array<bool, kItemBoxCount> items_{false, false, false, false, false,
                                           false, true,  false, false};
    int zeny_option_ = 0;
    std::string date_ = "yyyy-mm-dd";
    std::string ip_ = "xxx.xxx.xxx.xxx";
    std::string amount_;
    WipePlan last_plan_;
    WipeDone last_done_;
};

}  // namespace tavo
