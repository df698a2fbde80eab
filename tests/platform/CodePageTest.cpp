#include "platform/CodePage.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(CodePage, DecodesKnownCharacters) {
    // Literals are GBK at run time.
    EXPECT_EQ(GbkToUnicode("中文"), U"中文");
    EXPECT_EQ(GbkToUnicode("宋体 A1"), U"宋体 A1");
    EXPECT_EQ(UnicodeToGbk(U"网络连接关闭!"), std::string("网络连接关闭!"));
    EXPECT_EQ(GbkToUnicode("\xD6\xD0"), U"\u4E2D");
}

TEST(CodePage, EveryDoubleByteCharacterRoundTrips) {
    int mapped = 0;
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            if (trail == 0x7F)
                continue;
            std::string bytes{char(lead), char(trail)};
            int length = 0;
            char32_t code = DecodeGbkChar(bytes, 0, &length);
            ASSERT_EQ(length, 2) << lead << " " << trail;
            if (code == kReplacementChar)
                continue;
            ++mapped;
            ASSERT_EQ(UnicodeToGbk(std::u32string(1, code)), bytes) << lead << " " << trail;
        }
    }
    EXPECT_GT(mapped, 21000); // GBK holds 21,886 characters
}

TEST(CodePage, NeverSplitsOrSwallowsAroundBrokenCharacters) {
    // A lead byte at the end stands alone.
    EXPECT_EQ(GbkCharLength("A\xD6", 1), 1);
    EXPECT_EQ(GbkToUnicode("A\xD6"), std::u32string(U"A") + kReplacementChar);
    // A lead byte before a byte that cannot trail leaves that byte alone: the
    // digit after it survives.
    EXPECT_EQ(GbkToUnicode("\xD6"
                           "1"),
              std::u32string(1, kReplacementChar) + U"1");
    // A trail byte equal to '\' belongs to its character.
    std::string withBackslashTrail = "\x81\x5C";
    EXPECT_EQ(GbkCharLength(withBackslashTrail, 0), 2);
    EXPECT_EQ(GbkToUnicode(withBackslashTrail).size(), 1u);
    EXPECT_EQ(GbkCharLength("", 0), 0);
    EXPECT_EQ(GbkCharLength("ab", 5), 0);
}

TEST(CodePage, UnmappableUnicodeBecomesAQuestionMark) {
    EXPECT_EQ(UnicodeToGbk(U"a\U0001F600b"), "a?b");
}

TEST(CodePage, Utf8Forms) {
    EXPECT_EQ(GbkToUtf8("中文"), "\xE4\xB8\xAD\xE6\x96\x87");
    EXPECT_EQ(Utf8ToGbk("\xE4\xB8\xAD\xE6\x96\x87"), "中文");
    // A broken UTF-8 sequence is one replacement, not a read past the end.
    EXPECT_EQ(Utf8ToGbk("a\xE4\xB8"), "a??");
}

TEST(CodePage, LeadBytes) {
    EXPECT_FALSE(IsDBCSLeadByte('A'));
    EXPECT_FALSE(IsDBCSLeadByte(0x80));
    EXPECT_TRUE(IsDBCSLeadByte(0x81));
    EXPECT_TRUE(IsDBCSLeadByte(0xFE));
    EXPECT_FALSE(IsDBCSLeadByte(0xFF));
}
