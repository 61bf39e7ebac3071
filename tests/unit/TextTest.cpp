// The portable text helpers.
#include <gtest/gtest.h>

#include "platform/Text.h"

TEST(Text, Hex8WritesEightUpperCaseDigits) {
    const struct {
        uint32_t value;
        const char16_t* digits;
    } cases[] = {{0, u"00000000"},
                 {0x1A, u"0000001A"},
                 {0x80070002, u"80070002"},
                 {0x88982F50, u"88982F50"},
                 {0xFFFFFFFF, u"FFFFFFFF"}};
    for (const auto& c : cases) EXPECT_EQ(text::Hex8(c.value), c.digits) << c.value;
}
