#pragma once
// The account finder: the find box above the account list. Which accounts the list shows for
// the typed text, by account name or id (the rule of account_matches, which Enter and
// `tavo-cli accounts --find` follow too) or by the name of one of the account's characters
// (through the index of athena.txt), the count the status bar shows, and the account Enter goes
// to. The window and tavo-cli both ask it.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavo {

struct Workspace;

enum class FindBy { Account, Character };

class AccountFinder {
public:
    explicit AccountFinder(Workspace& ws) : ws_(ws) {}

    FindBy by() const { return by_; }
    void set_by(FindBy by);

    // Narrows to the accounts matching text (account_matches), or those one of whose
    // characters' names holds it. Empty text shows every account. A text that extends the last
    // one only looks again at what the last one kept.
    void narrow(std::string_view text);
    // Enter: the table index of the next match after `current` (round to the first); nothing
    // while no text narrows the list or nothing matches.
    std::optional<std::size_t> next(std::optional<std::size_t> current) const;
    // Every account the text finds, in table order: what `accounts --find` lists.
    std::vector<std::size_t> found(std::string_view text);
    // The table indexes shown, in table order; nothing while every account is shown.
    const std::optional<std::vector<std::size_t>>& shown() const { return shown_; }
    std::size_t count() const;
    // "12 of 33 accounts match" (nothing while every account is shown).
    std::string status_text() const;
    // The thousands separator of its counts (the window's locale).
    void set_group_separator(std::string separator) { separator_ = std::move(separator); }
    // The table changed: the next narrowing looks at every account again.
    void table_changed();

private:
    std::vector<std::size_t> by_account(const std::string& wanted) const;
    std::vector<std::size_t> by_character(const std::string& wanted) const;

    Workspace& ws_;
    FindBy by_ = FindBy::Account;
    std::string last_;
    std::optional<std::vector<std::size_t>> shown_;
    std::string separator_ = ",";
};

// The table indexes of the accounts that own a character whose name holds text (letter case
// ignored), in table order.
std::vector<std::size_t> accounts_by_character(Workspace& ws, std::string_view text);

}  // namespace tavo
