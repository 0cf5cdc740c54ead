#include "characters/item_slot.h"

#include <charconv>

#include "app/failure.h"
#include "app/numbers.h"
#include "app/text.h"

namespace tavo {
namespace {

void append_number(std::string& out, long long value) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    out.append(digits, end);
}

}  // namespace

void append_item_text(std::string& out, const ItemSlot& item) {
    const long long values[] = {item.id,       item.nameid, item.amount,    item.equip,
                                item.identify, item.refine, item.attribute, item.card0,
                                item.card1,    item.card2,  item.card3};
    for (std::size_t i = 0; i < std::size(values); ++i) {
        if (i > 0) out += ',';
        append_number(out, values[i]);
    }
    out += ' ';
}

std::string item_text(const ItemSlot& item) {
    std::string text;
    append_item_text(text, item);
    return text;
}

ItemSlot parse_item(std::string_view text) {
    std::string_view values[11];
    std::size_t count = 0, start = 0;
    while (count < 11) {
        const std::size_t comma = text.find(',', start);
        values[count++] =
            text.substr(start, comma == std::string_view::npos ? comma : comma - start);
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    if (count < 11) throw Failure(err::kSubscript);
    ItemSlot item;
    item.id = leading_i32(values[0]);
    item.nameid = leading_i32(values[1]);
    item.amount = leading_i32(values[2]);
    item.equip = leading_i32(values[3]);
    item.identify = leading_u8(values[4]);
    item.refine = leading_u8(values[5]);
    item.attribute = leading_i32(values[6]);
    item.card0 = leading_i16(values[7]);
    item.card1 = leading_i16(values[8]);
    item.card2 = leading_i16(values[9]);
    item.card3 = leading_i16(values[10]);
    return item;
}

std::vector<std::string_view> list_entries(std::string_view field) {
    std::vector<std::string_view> entries;
    for (std::string_view piece : split(field, ' ')) {
        if (!piece.empty()) entries.push_back(piece);
    }
    return entries;
}

}  // namespace tavo
