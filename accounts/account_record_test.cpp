#include "accounts/account_record.h"

#include <gtest/gtest.h>

#include "app/text.h"

namespace tavo {
namespace {

// The splitter reads 16 and 8 bytes at a time: TABs at every place of lines of every length
// must come out as the plain split gives them, up to the 14th field.
TEST(LineFieldsTest, AgreesWithThePlainSplitAtEveryLength) {
    for (std::size_t length = 0; length <= 70; ++length) {
        for (std::size_t step = 1; step <= 5; ++step) {
            std::string line(length, 'x');
            for (std::size_t at = step - 1; at < length; at += step) line[at] = '\t';
            const LineFields fields(line);
            const std::vector<std::string_view> pieces = split(line, '\t');
            ASSERT_EQ(fields.count, std::min<std::size_t>(pieces.size(), LineFields::kMost))
                << length << " " << step;
            for (std::size_t i = 0; i + 1 < fields.count; ++i) {
                EXPECT_EQ(fields.field(i), pieces[i]) << length << " " << step << " " << i;
            }
            const std::size_t last = fields.count - 1;
            EXPECT_TRUE(line.ends_with(fields.field(last)));
            EXPECT_EQ(fields.field(fields.count), "");
        }
    }
}

}  // namespace
}  // namespace tavo
