#include "characters/group_lines.h"

#include <algorithm>
#include <cstdint>

#include "app/numbers.h"
#include "app/text.h"

namespace tavo {
namespace {

constexpr int kPartySlots = 12;
constexpr int kMostGuildMembers = 36;

// An id field the server reads with %d: a whole number in the int range.
std::optional<std::int32_t> id_of(std::string_view text) {
    const std::optional<long long> id = integer_in(text, INT32_MIN, INT32_MAX);
    if (!id) return std::nullopt;
    return static_cast<std::int32_t>(*id);
}

// The value at `index` of a comma-separated field, 0 where it is not a whole number.
std::int32_t value_at(std::string_view field, std::size_t index) {
    return id_of(piece(field, ',', index)).value_or(0);
}

// The TAB-separated fields of a line, one at a time.
class Fields {
public:
    explicit Fields(std::string_view line) : line_(line) {}
    bool next(std::string_view& field) {
        if (at_ > line_.size()) return false;
        const std::size_t tab = line_.find('\t', at_);
        const std::size_t end = tab == std::string_view::npos ? line_.size() : tab;
        field = line_.substr(at_, end - at_);
        at_ = end + 1;
        return true;
    }

private:
    std::string_view line_;
    std::size_t at_ = 0;
};

}  // namespace

std::optional<PartyLine> read_party_line(std::string_view line) {
    Fields fields(without_last_cr(line));
    std::string_view id, name, exp;
    if (!fields.next(id) || !fields.next(name) || !fields.next(exp)) return std::nullopt;
    PartyLine party;
    const std::optional<std::int32_t> number = id_of(id);
    if (!number) return std::nullopt;
    party.id = *number;
    party.name = name;
    std::string_view member, member_name;
    for (int slot = 0; slot < kPartySlots && fields.next(member); ++slot) {
        if (value_at(member, 0) != 0) ++party.members;
        if (!fields.next(member_name)) break;
    }
    return party;
}

std::optional<GuildLine> read_guild_line(std::string_view line) {
    Fields fields(without_last_cr(line));
    std::string_view head[6];
    for (std::string_view& field : head) {
        if (!fields.next(field)) return std::nullopt;
    }
    const std::optional<std::int32_t> id = id_of(head[0]);
    const std::optional<std::int32_t> level = id_of(piece(head[3], ',', 0));
    if (!id || !level) return std::nullopt;
    GuildLine guild;
    guild.id = *id;
    guild.name = head[1];
    guild.level = *level;
    const int slots = std::min(value_at(head[3], 1), kMostGuildMembers);
    std::string_view member, member_name;
    for (int slot = 0; slot < slots && fields.next(member); ++slot) {
        const std::int32_t account = value_at(member, 0);
        if (account != 0) ++guild.members;
        if (slot == 0 && account != 0) {
            guild.master_account = account;
            guild.master_char = value_at(member, 1);
        }
        if (!fields.next(member_name)) break;
    }
    return guild;
}

std::optional<CastleLine> read_castle_line(std::string_view line) {
    const std::string_view text = without_last_cr(line);
    const std::optional<std::int32_t> castle = id_of(piece(text, ',', 0));
    const std::optional<std::int32_t> guild = id_of(piece(text, ',', 1));
    if (!castle || !guild) return std::nullopt;
    return CastleLine{*castle, *guild};
}

std::optional<PetLine> read_pet_line(std::string_view line) {
    const std::string_view head = piece(without_last_cr(line), '\t', 0);
    const std::size_t first = head.find(',');
    const std::size_t second = first == std::string_view::npos ? first : head.find(',', first + 1);
    if (second == std::string_view::npos) return std::nullopt;
    const std::optional<std::int32_t> id = id_of(head.substr(0, first));
    if (!id) return std::nullopt;
    return PetLine{*id, head.substr(second + 1)};
}

}  // namespace tavo
