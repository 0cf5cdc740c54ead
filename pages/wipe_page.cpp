#include "pages/wipe_page.h"

#include "app/failure.h"
#include "app/numbers.h"
#include "app/ui.h"
#include "workspace/workspace.h"

namespace tavo {
namespace {

constexpr const char* kWarningTitle = "Tavo : WARNING!!!";
constexpr const char* kGmCaption = "DO NOT included GM [id=70*]";
constexpr const char* kDateTemplate = "yyyy-mm-dd";

constexpr const char* kFullBoxes[kFullBoxCount] = {
    "account.txt", "accreg.txt", "athena.txt", "bank.txt", "castle.txt", "g_storage.txt",
    "guild.txt",   "mapreg.txt", "party.txt",  "pet.txt",  "storage.txt"};
constexpr const char* kItemBoxes[kItemBoxCount] = {
    "Inventory Wipe",   "Push Cart Wipe", "Kafra Storage Wipe", "Guild Storage Wipe [ALL]",
    "Memo Points Wipe", "Skills Wipe",    kGmCaption,           "Quest[Char Var] Wipe",
    "Zeny Edit"};
constexpr const char* kUserBoxes[kUserBoxCount] = {
    kGmCaption, "Delete users that have not login since...", "Delete users that have this IP..."};

// The procedure names of the error report.
std::string_view procedure_of(WipeFrame frame) {
    switch (frame) {
        case WipeFrame::Users: return "item/zeny wipe [command5_click]";
        case WipeFrame::Chars: return "item/zeny wipe [command4_click]";
        case WipeFrame::Items: return "item/zeny wipe [command3_click]";
        case WipeFrame::Full: break;
    }
    return "full server wipe [command2_click]";
}

WipeKind kind_of(WipeFrame frame) {
    switch (frame) {
        case WipeFrame::Users: return WipeKind::Users;
        case WipeFrame::Chars: return WipeKind::Chars;
        case WipeFrame::Items: return WipeKind::Items;
        case WipeFrame::Full: break;
    }
    return WipeKind::Full;
}

bool is(const std::array<bool, kItemBoxCount>& boxes, ItemBox box) {
    return boxes[static_cast<std::size_t>(box)];
}

}  // namespace

WipePage::WipePage(Workspace& ws, Ui& ui) : ws_(ws), ui_(ui) {}

std::string WipePage::button_caption(int index) {
    switch (index) {
        case 0: return "Full Server Wipe";
        case 1: return "Item, Zeny, Memo, Skills Wipe";
        case 2: return "Character Wipe";
        case 4: return "User Wipe";
        default: break;
    }
    return "Exit";
}

std::string WipePage::frame_caption(WipeFrame frame) {
    switch (frame) {
        case WipeFrame::Items: return "Item / Zeny / Memo / Skills Wipe";
        case WipeFrame::Chars: return "Character Wipe";
        case WipeFrame::Users: return "User Wipe";
        case WipeFrame::Full: break;
    }
    return "Full Server Wipe";
}

std::string WipePage::full_label() {
    return "All data on these files will be delete. Please make a backup copy of your save folder "
           "before you do a server wipe. Click on \"wipe\" to wipe server.";
}

std::string WipePage::chars_label() {
    return "Note on Class Wipe. It includes higher Jobs based on that Class.";
}

int WipePage::box_count(WipeFrame frame) {
    switch (frame) {
        case WipeFrame::Items: return kItemBoxCount;
        case WipeFrame::Chars: return kCharBoxCount;
        case WipeFrame::Users: return kUserBoxCount;
        case WipeFrame::Full: break;
    }
    return kFullBoxCount;
}

std::string WipePage::box_caption(WipeFrame frame, int box) const {
    if (box < 0 || box >= box_count(frame)) return {};
    switch (frame) {
        case WipeFrame::Items: return kItemBoxes[box];
        case WipeFrame::Users: return kUserBoxes[box];
        case WipeFrame::Chars:
            return box == 0 ? kGmCaption
                            : std::string(family_caption(static_cast<WipeFamily>(box - 1)));
        case WipeFrame::Full: break;
    }
    return kFullBoxes[box];
}

bool WipePage::checked(WipeFrame frame, int box) const {
    if (box < 0 || box >= box_count(frame)) return false;
    const auto at = static_cast<std::size_t>(box);
    switch (frame) {
        case WipeFrame::Items: return items_[at];
        case WipeFrame::Chars: return chars_[at];
        case WipeFrame::Users: return user_[at];
        case WipeFrame::Full: break;
    }
    return true;
}

bool WipePage::box_enabled(WipeFrame frame, int box) const {
    return frame != WipeFrame::Full && box >= 0 && box < box_count(frame);
}

void WipePage::set_box(WipeFrame frame, int box, bool on) {
    if (!box_enabled(frame, box)) return;
    const auto at = static_cast<std::size_t>(box);
    switch (frame) {
        case WipeFrame::Items: items_[at] = on; break;
        case WipeFrame::Chars: chars_[at] = on; break;
        case WipeFrame::Users: user_[at] = on; break;
        case WipeFrame::Full: break;
    }
}

std::string WipePage::zeny_caption(int option) {
    static const char* const captions[kZenyOptionCount] = {"Zeny = 0", "Zeny = <a>", "Zeny = -<a>",
                                                           "Zeny = +<a>"};
    return option >= 0 && option < kZenyOptionCount ? captions[option] : std::string();
}

void WipePage::choose_zeny(int option) {
    if (zeny_options_enabled() && option >= 0 && option < kZenyOptionCount) zeny_option_ = option;
}

bool WipePage::zeny_options_enabled() const {
    return is(items_, ItemBox::Zeny);
}

bool WipePage::amount_visible() const {
    return zeny_option_ != 0;
}

const std::string& WipePage::text(WipeText box) const {
    switch (box) {
        case WipeText::Date: return date_;
        case WipeText::Ip: return ip_;
        case WipeText::Amount: break;
    }
    return amount_;
}

bool WipePage::text_enabled(WipeText box) const {
    switch (box) {
        case WipeText::Date: return user_[static_cast<std::size_t>(UserBox::NotSince)];
        case WipeText::Ip: return user_[static_cast<std::size_t>(UserBox::Ip)];
        case WipeText::Amount: break;
    }
    return zeny_options_enabled() && amount_visible();
}

int WipePage::max_length(WipeText box) {
    return box == WipeText::Date ? 10 : box == WipeText::Ip ? 15 : 10;
}

bool WipePage::accepts_key(WipeText box, char key) {
    if (key == '\b' || (key >= '0' && key <= '9')) return true;
    return box != WipeText::Amount && key == '.';
}

bool WipePage::set_text(WipeText box, const std::string& text) {
    if (static_cast<int>(text.size()) > max_length(box)) return false;
    // What the template shows stays possible: its letters until overtyped, the date's dashes.
    const std::string_view kept = box == WipeText::Date ? "ymd-" : box == WipeText::Ip ? "x" : "";
    for (const char c : text) {
        if (!accepts_key(box, c) && kept.find(c) == std::string_view::npos) return false;
    }
    if (box == WipeText::Date) {
        for (const std::size_t dash : {4, 7}) {
            if (text.size() > dash && text[dash] != '-') return false;
        }
    }
    (box == WipeText::Date ? date_ : box == WipeText::Ip ? ip_ : amount_) = text;
    return true;
}

WipeRequest WipePage::request(WipeFrame frame) const {
    WipeRequest request;
    request.kind = kind_of(frame);
    request.users.spare_gm = user_[static_cast<std::size_t>(UserBox::SpareGm)];
    if (user_[static_cast<std::size_t>(UserBox::NotSince)]) request.users.not_since = date_;
    if (user_[static_cast<std::size_t>(UserBox::Ip)]) request.users.ip = ip_;
    request.spare_gm_chars = chars_[0];
    for (std::size_t i = 0; i < request.families.size(); ++i) request.families[i] = chars_[i + 1];
    ItemRules& rules = request.items;
    rules.inventory = is(items_, ItemBox::Inventory);
    rules.cart = is(items_, ItemBox::Cart);
    rules.storage = is(items_, ItemBox::Storage);
    rules.guild_storage = is(items_, ItemBox::GuildStorage);
    rules.memo = is(items_, ItemBox::Memo);
    rules.skills = is(items_, ItemBox::Skills);
    rules.spare_gm = is(items_, ItemBox::SpareGm);
    rules.vars = is(items_, ItemBox::Vars);
    if (is(items_, ItemBox::Zeny)) {
        rules.zeny = static_cast<ZenyEdit>(zeny_option_);
        // The amount box holds digits only; a longer number than any zeny is the most zeny.
        rules.amount = amount_.size() > 15 ? 999999999999999
                                           : integer_in(amount_, 0, 999999999999999).value_or(0);
    }
    return request;
}

std::optional<WipePlan> WipePage::plan(WipeFrame frame) {
    // The date box is read whether or not its rule is checked, as the dialog always has.
    if (frame == WipeFrame::Users && !is_valid_wipe_date(date_)) {
        ui_.message("You have entered an INVALID date", "Tavo", Icon::None);
        date_ = kDateTemplate;
        return std::nullopt;
    }
    if (frame == WipeFrame::Users && user_[static_cast<std::size_t>(UserBox::Ip)] &&
        (ip_.empty() || ip_.find('x') != std::string::npos)) {
        ui_.message("You have entered an INVALID IP address", "Tavo", Icon::None);
        return std::nullopt;
    }
    if (frame == WipeFrame::Items && zeny_options_enabled() && amount_visible() &&
        amount_.empty()) {
        ui_.message("Enter the amount of zeny.", "Tavo", Icon::None);
        return std::nullopt;
    }
    std::optional<WipePlan> planned;
    guarded(ui_, procedure_of(frame), [&] { planned = plan_wipe(ws_, ui_, request(frame)); });
    return planned;
}

std::string WipePage::question(WipeFrame frame, const WipePlan& plan) {
    std::string text;
    switch (frame) {
        case WipeFrame::Full: text = "FULL SERVER WIPE! Are you sure?"; break;
        case WipeFrame::Users: text = "USER WIPE! Are you sure?"; break;
        case WipeFrame::Chars: text = "CHARACTER WIPE! Are you sure?"; break;
        case WipeFrame::Items: text = "Item/Zeny/Memo/Skill/Quest WIPE!\r\n Are you sure?"; break;
    }
    text += "\r\n" + deleted_counts(plan);
    if (frame == WipeFrame::Items) {
        text += "\r\n" + std::to_string(plan.changed_characters) + " characters will be changed.";
    }
    return text;
}

WipeOutcome WipePage::press_wipe(WipeFrame frame, bool confirmed) {
    const std::optional<WipePlan> planned = plan(frame);
    if (!planned) return {};
    if (!confirmed && !ui_.ask_yes_no(question(frame, *planned), kWarningTitle, Icon::Warning)) {
        return {};
    }
    WipeDone done;
    if (const std::optional<std::string> failed =
            run_wipe(ws_, ui_, request(frame), *planned, done)) {
        ui_.error_report("The wipe was not made: " + *failed, Icon::Warning);
        return {};
    }
    last_plan_ = *planned;
    last_done_ = done;
    ui_.message(wipe_done_message(*planned, done), "Tavo", Icon::Information);
    return {true};
}

}  // namespace tavo
