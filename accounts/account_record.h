#pragma once
// One account of save/account.txt. An account read from the file keeps its line as it was read
// and is parsed from it when a field is asked for; only the id, sex, state and GM level, which
// the list and the finder read of every account, are held apart. That keeps a million accounts
// in a third more memory than the file itself, and lets an untouched account go back to the
// file byte for byte. An edited or new account owns its texts instead and is rebuilt
// into a line when the file is written.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/server_generation.h"

namespace tavo {

// The server's own e-mail value for "no e-mail".
inline constexpr std::string_view kNoEmail = "a@a.com";

// The TAB-separated fields of a record line, found in one pass. Fields are counted up to 14,
// enough to tell the old form (7 or 8 fields) from the 1.0.0 form (14 or more); the 14th field
// then runs to the end of the line, TABs included.
struct LineFields {
    static constexpr std::size_t kMost = 14;
    explicit LineFields(std::string_view line);
    std::string_view field(std::size_t index) const;  // empty beyond count

    std::string_view line;
    std::size_t count = 0;
    std::size_t start[kMost + 1] = {};
};

// Every field of an account as plain values: what the editor and tavo-cli change.
struct AccountFields {
    std::int32_t account_id = 0;
    std::string userid;
    std::string pass;
    std::string lastlogin;
    std::uint8_t sex = 0;  // 0 M, 1 F, 2 S (server account)
    std::uint8_t gm_level = 0;
    std::int32_t logincount = 0;
    std::uint8_t state = 0;
    std::string email;
    std::string error_message;
    std::int32_t connect_until = 0;
    std::string last_ip;
    std::string memo;
    std::int32_t ban_until = 0;
    std::vector<std::string> regs;  // account registers, "name,value" each
    // What followed the seventh TAB of a record in the old 7-field form (its registers, as a
    // rule); an 817 or .52 file gets it back as it was.
    std::optional<std::string> old_tail;
};

class AccountRecord {
public:
    AccountRecord() = default;
    // A new account, or an edited one.
    explicit AccountRecord(AccountFields fields);
    AccountRecord(const AccountRecord& other);
    AccountRecord& operator=(const AccountRecord& other);
    AccountRecord(AccountRecord&&) noexcept = default;
    AccountRecord& operator=(AccountRecord&&) noexcept = default;

    // A record line of the file with 7 or 8 fields (the old form) or at least 14 (the 1.0.0
    // form). The line must outlive the record. Fails with Overflow when a number does not fit
    // its field (a state above 255 included).
    static AccountRecord from_line(const LineFields& fields);

    std::int32_t account_id() const { return account_id_; }
    std::int32_t logincount() const;
    std::int32_t connect_until() const;
    std::int32_t ban_until() const;
    std::uint8_t sex() const { return sex_; }
    std::uint8_t state() const { return state_; }
    std::uint8_t gm_level() const { return gm_level_; }

    std::string_view userid() const;
    std::string_view pass() const;
    std::string_view lastlogin() const;
    std::string_view email() const;
    std::string_view error_message() const;
    std::string_view last_ip() const;
    std::string_view memo() const;
    // The account registers, empty items (double blanks) left out; an item without its
    // trailing blank at the end of the field counts like any other.
    std::vector<std::string_view> regs() const;
    std::size_t reg_count() const;

    // True once the record was changed (or made) here: it is then rebuilt on saving.
    bool edited() const { return fields_ != nullptr; }
    // The line as it was read; empty for a new record.
    std::string_view line() const { return line_; }
    // True for a line of the 1.0.0 form (13 fields, then the registers).
    bool long_form() const { return long_form_; }

    AccountFields fields() const;
    // The record takes these values and becomes edited.
    void assign(AccountFields fields);
    // The GM level lives in the GM file, not in the line: changing it leaves the line alone.
    void set_gm_level(std::uint8_t level);

private:
    friend void append_account_line(std::string& out, const AccountRecord& record,
                                    ServerGeneration generation);
    std::string_view text_field(std::size_t index) const;
    std::string_view register_text() const;

    std::int32_t account_id_ = 0;
    std::uint8_t sex_ = 0;
    std::uint8_t state_ = 0;
    std::uint8_t gm_level_ = 0;
    bool long_form_ = false;
    std::string_view line_;
    std::unique_ptr<AccountFields> fields_;
};

// The items of a register field, separated by blanks; empty items do not count.
std::size_t register_item_count(std::string_view text);

// "M", "F" or "S".
char sex_letter(std::uint8_t sex);
// The sex of field 4: "M", "F" or "S", anything else is M.
std::uint8_t sex_from_field(std::string_view field);

// The record's line in the given generation. An untouched record gives its line as read. An edited
// or new one is rebuilt: in the 1.0.0 form an empty e-mail becomes a@a.com and an empty error
// message, last IP or memo "-", because the server reads a 1.0.0 line with an empty text field as
// an old one and loses them.
std::string account_line(const AccountRecord& record, ServerGeneration generation);
void append_account_line(std::string& out, const AccountRecord& record,
                         ServerGeneration generation);

}  // namespace tavo
