#include "knclientbase05/KNpubNames.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

// "张" in GBK: a GB2312 character.
const std::string kHan = "\xD5\xC5";

std::string Repeat(const std::string& piece, int count) {
    std::string text;
    for (int i = 0; i < count; ++i)
        text += piece;
    return text;
}

TEST(ValidateUserNameTest, CountsLettersUpToNineteen) {
    EXPECT_EQ(ValidateUserName("a"), 0);
    EXPECT_EQ(ValidateUserName("ab"), 1);
    EXPECT_EQ(ValidateUserName(std::string(19, 'a').c_str()), 1);
    EXPECT_EQ(ValidateUserName(std::string(20, 'a').c_str()), 0);
    EXPECT_EQ(ValidateUserName("a_b~c*d@e!f%g#h^i.-x"), 0); // twenty
    EXPECT_EQ(ValidateUserName("a_b~c*d@e!f%g#h^i.-"), 1);
    EXPECT_EQ(ValidateUserName("a b"), 0);
    EXPECT_EQ(ValidateUserName(""), 0);
}

TEST(ValidateUserNameTest, CountsDoubleByteCharactersUpToSix) {
    EXPECT_EQ(ValidateUserName(kHan.c_str()), 2);
    EXPECT_EQ(ValidateUserName(Repeat(kHan, 6).c_str()), 2);
    EXPECT_EQ(ValidateUserName(Repeat(kHan, 7).c_str()), 0);
}

TEST(ValidateUserNameTest, RefusesMixedKinds) {
    EXPECT_EQ(ValidateUserName(("a" + kHan).c_str()), 0);
    EXPECT_EQ(ValidateUserName((kHan + "a").c_str()), 0);
}

TEST(ValidateUserNameTest, SortsDoubleByteRanges) {
    EXPECT_EQ(ValidateUserName("\xA1\xA2\xA1\xA3"), 2); // symbols
    EXPECT_EQ(ValidateUserName("\xA1\xA1\xA1\xA2"), 0); // full-width blank
    EXPECT_EQ(ValidateUserName("\xA2\xAB\xA1\xA2"), 0); // excluded symbol
    EXPECT_EQ(ValidateUserName("\xD7\xFA\xD5\xC5"), 0); // unassigned
    EXPECT_EQ(ValidateUserName("\xA4\xA1\xD5\xC5"), 0); // kana rows
    EXPECT_EQ(ValidateUserName("\x81\x80\xD5\xC5"), 3); // extension
    EXPECT_EQ(ValidateUserName("\x81\x41\xD5\xC5"), 4); // trail byte 'A'
    EXPECT_EQ(ValidateUserName("\x81\x7F\xD5\xC5"), 0); // trail 0x7F
    EXPECT_EQ(ValidateUserName("\xD5"), 0);             // lone lead byte
}

TEST(CleanTextTest, CutsBeforeTheCharacterThatReachesTheMaximum) {
    char text[32];
    strcpy(text, "abcdefgh");
    EXPECT_EQ(CleanText(text, 2, 5), 1);
    EXPECT_STREQ(text, "abcd");
    // The fifth byte would be the first half of a character: the whole
    // character goes.
    std::string mixed = "abc" + kHan + "d";
    strcpy(text, mixed.c_str());
    EXPECT_EQ(CleanText(text, 2, 5), 1);
    EXPECT_STREQ(text, "abc");
    strcpy(text, "a\tb");
    EXPECT_EQ(CleanText(text, 1, 10), 1);
    EXPECT_STREQ(text, "a b");
    strcpy(text, "it's");
    EXPECT_EQ(CleanText(text, 1, 10), 0);
    strcpy(text, "ab\xD5");
    EXPECT_EQ(CleanText(text, 1, 10), 1);
    EXPECT_STREQ(text, "ab");
    strcpy(text, "a");
    EXPECT_EQ(CleanText(text, 2, 10), 0);
}

TEST(ShortTextTest, ChecksLengthQuotesAndControlBytes) {
    EXPECT_EQ(IsSafeShortText(std::string(19, 'x').c_str()), 1);
    EXPECT_EQ(IsSafeShortText(std::string(20, 'x').c_str()), 0);
    EXPECT_EQ(IsSafeShortText("a'b"), 0);
    EXPECT_EQ(IsSafeShortText("a\x01"), 0);
    EXPECT_EQ(IsSafeShortText("ab\xD5"), 0);
    EXPECT_EQ(IsPlainAsciiShort("plain text"), 1);
    EXPECT_EQ(IsPlainAsciiShort(std::string(16, 'x').c_str()), 0);
    EXPECT_EQ(IsPlainOrDbcs(Repeat(kHan, 20).c_str()), 1);
    EXPECT_EQ(IsPlainOrDbcs("it's"), 0);
}

TEST(DbcsByteLengthTest, StopsAtTheTerminatorAfterALoneLeadByte) {
    // The bytes behind the terminator must not be counted.
    const char text[] = {'a', '\xD5', '\0', 'x', 'y', '\0'};
    EXPECT_EQ(DbcsByteLength(text), 2);
    EXPECT_EQ(DbcsByteLength(("a" + kHan).c_str()), 3);
}

TEST(ReplaceTest, BlanksQuotesAndTabs) {
    char text[] = "a'b\tc'";
    EXPECT_EQ(ReplaceQuotes(text), 1);
    EXPECT_EQ(ReplaceTabs(text), 1);
    EXPECT_STREQ(text, "a b c ");
    EXPECT_EQ(ReplaceTabs(text), 0);
    EXPECT_EQ(IsHighBitSet(0x80), 1);
    EXPECT_EQ(IsHighBitSet(0x7F), 0);
}

} // namespace
