#include "accounts/account_record.h"

#include <bit>
#include <charconv>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "app/failure.h"
#include "app/numbers.h"
#include "app/text.h"

namespace tavo {
namespace {

enum Field : std::size_t {
    kId = 0,
    kUserid = 1,
    kPass = 2,
    kLastlogin = 3,
    kSex = 4,
    kLogincount = 5,
    kState = 6,
    kEmail = 7,
    kErrorMessage = 8,
    kConnectUntil = 9,
    kLastIp = 10,
    kMemo = 11,
    kBanUntil = 12,
    kRegisters = 13,
};

// What follows the n-th TAB of a line, TABs included; empty when there are fewer.
std::string_view after_tab(std::string_view line, std::size_t n) {
    std::size_t at = 0;
    for (std::size_t i = 0; i < n; ++i) {
        at = line.find('\t', at);
        if (at == std::string_view::npos) return {};
        ++at;
    }
    return line.substr(at);
}

bool has_tab_count(std::string_view line, std::size_t n) {
    std::size_t at = 0;
    for (std::size_t i = 0; i < n; ++i) {
        at = line.find('\t', at);
        if (at == std::string_view::npos) return false;
        ++at;
    }
    return true;
}

// Plain decimal digits, the way the server writes every number, are read directly; anything
// else goes through the general number parser.
bool plain_number(std::string_view field, std::int32_t& value) {
    if (field.empty() || field.size() > 10) return false;
    std::int64_t v = 0;
    for (char c : field) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
    }
    if (v > INT32_MAX) return false;
    value = static_cast<std::int32_t>(v);
    return true;
}

std::int32_t leading_id(std::string_view field) {
    std::int32_t value = 0;
    return plain_number(field, value) ? value : leading_i32(field);
}

// A number field is taken only when it is not empty and numeric; otherwise it stays 0.
std::int32_t optional_i32(std::string_view field) {
    std::int32_t value = 0;
    if (plain_number(field, value)) return value;
    if (field.empty() || !is_numeric(field)) return 0;
    return to_i32(numeric_value(field));
}

std::vector<std::string_view> register_items(std::string_view text) {
    std::vector<std::string_view> items;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(' ', start);
        if (end == std::string_view::npos) end = text.size();
        if (end > start) items.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return items;
}

void append_number(std::string& out, std::int64_t value) {
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    out.append(digits, result.ptr);
}

void append_text(std::string& out, std::string_view text, std::string_view when_empty) {
    out.append(text.empty() ? when_empty : text);
}

}  // namespace

std::size_t register_item_count(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != ' ' && (i + 1 == text.size() || text[i + 1] == ' ')) ++count;
    }
    return count;
}

char sex_letter(std::uint8_t sex) {
    switch (sex) {
        case 1: return 'F';
        case 2: return 'S';
        default: return 'M';
    }
}

std::uint8_t sex_from_field(std::string_view field) {
    if (field == "F") return 1;
    if (field == "S") return 2;
    return 0;
}

// A million accounts are held at once: the record stays at half a cache line.
static_assert(sizeof(AccountRecord) <= 32);

AccountRecord::AccountRecord(AccountFields fields) {
    assign(std::move(fields));
}

AccountRecord::AccountRecord(const AccountRecord& other)
    : account_id_(other.account_id_),
      sex_(other.sex_),
      state_(other.state_),
      gm_level_(other.gm_level_),
      long_form_(other.long_form_),
      line_(other.line_),
      fields_(other.fields_ ? std::make_unique<AccountFields>(*other.fields_) : nullptr) {}

AccountRecord& AccountRecord::operator=(const AccountRecord& other) {
    if (this != &other) *this = AccountRecord(other);
    return *this;
}

// The TABs of a line are found eight bytes at a time: a million lines of a hundred bytes each
// are split in a few milliseconds.
LineFields::LineFields(std::string_view text) : line(text) {
    constexpr std::uint64_t kTabs = 0x0909090909090909ULL;
    constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7FULL;
    count = 1;
    const char* const begin = text.data();
    const std::size_t size = text.size();
    std::size_t at = 0;
#if defined(__SSE2__)
    // Sixteen at a time where the processor offers it.
    const __m128i tab = _mm_set1_epi8('\t');
    for (; at + 16 <= size && count < kMost; at += 16) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(begin + at));
        auto tabs = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(chunk, tab)));
        while (tabs != 0 && count < kMost) {
            start[count++] = at + static_cast<std::size_t>(std::countr_zero(tabs)) + 1;
            tabs &= tabs - 1;
        }
    }
#endif
    for (; at + 8 <= size && count < kMost; at += 8) {
        std::uint64_t chunk;
        std::memcpy(&chunk, begin + at, 8);
        if constexpr (std::endian::native == std::endian::big) chunk = __builtin_bswap64(chunk);
        const std::uint64_t x = chunk ^ kTabs;  // a TAB byte becomes 0
        std::uint64_t tabs = ~(((x & kLow7) + kLow7) | x | kLow7);
        while (tabs != 0 && count < kMost) {
            const int bit = std::countr_zero(tabs);
            start[count++] = at + static_cast<std::size_t>(bit / 8) + 1;
            tabs &= tabs - 1;
        }
    }
    for (; at < size && count < kMost; ++at) {
        if (begin[at] == '\t') start[count++] = at + 1;
    }
}

std::string_view LineFields::field(std::size_t index) const {
    if (index >= count) return {};
    const std::size_t from = start[index];
    if (index + 1 == count) return line.substr(from);
    return line.substr(from, start[index + 1] - 1 - from);
}

AccountRecord AccountRecord::from_line(const LineFields& fields) {
    AccountRecord record;
    record.line_ = fields.line;
    record.long_form_ = fields.count > 8;
    record.account_id_ = leading_id(fields.field(kId));
    record.sex_ = sex_from_field(fields.field(kSex));
    const std::int32_t state = optional_i32(fields.field(kState));
    if (state < 0 || state > 255) throw Failure(err::kOverflow);
    record.state_ = static_cast<std::uint8_t>(state);
    // The other numbers must fit their fields too; they are read from the line when asked for.
    optional_i32(fields.field(kLogincount));
    if (record.long_form_) {
        optional_i32(fields.field(kConnectUntil));
        optional_i32(fields.field(kBanUntil));
    }
    return record;
}

std::string_view AccountRecord::text_field(std::size_t index) const {
    if (index >= kEmail && !long_form_) return {};
    return piece(line_, '\t', index);
}

std::string_view AccountRecord::register_text() const {
    return without_last_cr(after_tab(line_, long_form_ ? kRegisters : kEmail));
}

std::int32_t AccountRecord::logincount() const {
    return fields_ ? fields_->logincount : optional_i32(text_field(kLogincount));
}
std::int32_t AccountRecord::connect_until() const {
    return fields_ ? fields_->connect_until : optional_i32(text_field(kConnectUntil));
}
std::int32_t AccountRecord::ban_until() const {
    return fields_ ? fields_->ban_until : optional_i32(text_field(kBanUntil));
}

std::string_view AccountRecord::userid() const {
    return fields_ ? std::string_view(fields_->userid) : text_field(kUserid);
}
std::string_view AccountRecord::pass() const {
    return fields_ ? std::string_view(fields_->pass) : text_field(kPass);
}
std::string_view AccountRecord::lastlogin() const {
    return fields_ ? std::string_view(fields_->lastlogin) : text_field(kLastlogin);
}
std::string_view AccountRecord::email() const {
    return fields_ ? std::string_view(fields_->email) : text_field(kEmail);
}
std::string_view AccountRecord::error_message() const {
    return fields_ ? std::string_view(fields_->error_message) : text_field(kErrorMessage);
}
std::string_view AccountRecord::last_ip() const {
    return fields_ ? std::string_view(fields_->last_ip) : text_field(kLastIp);
}
std::string_view AccountRecord::memo() const {
    return fields_ ? std::string_view(fields_->memo) : text_field(kMemo);
}

std::vector<std::string_view> AccountRecord::regs() const {
    if (!fields_) return register_items(register_text());
    return std::vector<std::string_view>(fields_->regs.begin(), fields_->regs.end());
}

std::size_t AccountRecord::reg_count() const {
    return fields_ ? fields_->regs.size() : register_item_count(register_text());
}

AccountFields AccountRecord::fields() const {
    if (fields_) return *fields_;
    AccountFields f;
    f.account_id = account_id_;
    f.userid = userid();
    f.pass = pass();
    f.lastlogin = lastlogin();
    f.sex = sex_;
    f.gm_level = gm_level_;
    f.logincount = logincount();
    f.state = state_;
    f.email = email();
    f.error_message = error_message();
    f.connect_until = connect_until();
    f.last_ip = last_ip();
    f.memo = memo();
    f.ban_until = ban_until();
    for (std::string_view item : regs()) f.regs.emplace_back(item);
    // An older line's tail goes back whole, at the line's end.
    if (!long_form_ && has_tab_count(line_, kEmail))
        f.old_tail = std::string(after_tab(line_, kEmail));
    return f;
}

void AccountRecord::assign(AccountFields fields) {
    account_id_ = fields.account_id;
    sex_ = fields.sex;
    state_ = fields.state;
    gm_level_ = fields.gm_level;
    fields_ = std::make_unique<AccountFields>(std::move(fields));
}

void AccountRecord::set_gm_level(std::uint8_t level) {
    gm_level_ = level;
    if (fields_) fields_->gm_level = level;
}

void append_account_line(std::string& out, const AccountRecord& record,
                         ServerGeneration generation) {
    if (!record.edited()) {
        out.append(record.line());
        return;
    }
    const AccountFields& f = *record.fields_;
    append_number(out, f.account_id);
    out += '\t';
    out += f.userid;
    out += '\t';
    out += f.pass;
    out += '\t';
    append_text(out, f.lastlogin, "-");
    out += '\t';
    out += sex_letter(f.sex);
    out += '\t';
    append_number(out, f.logincount);
    out += '\t';
    append_number(out, f.state);
    if (!has_long_account_lines(generation)) {
        if (f.old_tail) {
            out += '\t';
            out += *f.old_tail;
        }
        return;
    }
    out += '\t';
    append_text(out, f.email, kNoEmail);
    out += '\t';
    append_text(out, f.error_message, "-");
    out += '\t';
    append_number(out, f.connect_until);
    out += '\t';
    append_text(out, f.last_ip, "-");
    out += '\t';
    append_text(out, f.memo, "-");
    out += '\t';
    append_number(out, f.ban_until);
    out += '\t';
    for (const std::string& reg : f.regs) {
        out += reg;
        out += ' ';
    }
}

std::string account_line(const AccountRecord& record, ServerGeneration generation) {
    std::string line;
    append_account_line(line, record, generation);
    return line;
}

}  // namespace tavo
