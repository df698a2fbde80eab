#include "knclientbase05/KNpubText.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(TextSearchTest, FindsWithoutRegardToCase) {
    const char* text = "C:\\Games\\%GAME%\\x";
    EXPECT_EQ(StrStrNoCase(text, "%game%"), text + 9);
    EXPECT_EQ(StrStrNoCase(text, "%room%"), nullptr);
    EXPECT_EQ(StrStrNoCase(text, ""), text);
}

TEST(TextSearchTest, DoesNotFoldTheTrailByteOfADoubleByteCharacter) {
    // 0x95 0x41 is one character whose trail byte looks like 'A'.
    const char* text = "\x95\x41z";
    EXPECT_EQ(StrStrNoCase(text, "az"), nullptr);
    EXPECT_EQ(StrStrNoCase(text, "\x95\x41Z"), text);
}

TEST(TextReplaceTest, ReplacesEveryOccurrenceInAnyCase) {
    char text[64] = "%Game%\\a;%GAME%\\b";
    EXPECT_EQ(StrReplaceAllNoCase(text, sizeof text, "%game%", "D:\\G"), 1);
    EXPECT_STREQ(text, "D:\\G\\a;D:\\G\\b");
    EXPECT_EQ(StrReplaceAllNoCase(text, sizeof text, "%game%", "x"), 0);
}

TEST(TextReplaceTest, AReplacementHoldingThePatternIsNotReplacedAgain) {
    char text[64] = "a-a";
    EXPECT_EQ(StrReplaceAllNoCase(text, sizeof text, "a", "[A]"), 1);
    EXPECT_STREQ(text, "[A]-[A]");
    char exact[64] = "xx";
    EXPECT_EQ(StrReplaceAll(exact, sizeof exact, "x", "xx"), 1);
    EXPECT_STREQ(exact, "xxxx");
    char repeat[64] = "x";
    EXPECT_EQ(StrReplaceAllNoCaseRepeat(repeat, sizeof repeat, "x", "X"), 1);
    EXPECT_STREQ(repeat, "X");
}

TEST(TextReplaceTest, RefusesATextThatWouldOutgrowItsBuffer) {
    char text[8] = "ab";
    EXPECT_EQ(StrReplaceFirst(text, sizeof text, "a", "123456"), 1);
    EXPECT_STREQ(text, "123456b");
    EXPECT_EQ(StrReplaceFirst(text, sizeof text, "b", "bc"), 0);
    EXPECT_STREQ(text, "123456b");
    EXPECT_EQ(StrReplaceFirst(text, sizeof text, "b", nullptr), 0);
}

TEST(TextReplaceTest, RepeatCollapsesWhatAReplacementFormsAgain) {
    char text[64] = "a////b";
    EXPECT_EQ(StrReplaceAllNoCaseRepeat(text, sizeof text, "//", "/"), 1);
    EXPECT_STREQ(text, "a/b");
}

TEST(FindLastSubstringTest, SearchesBackwardsFromStart) {
    EXPECT_EQ(FindLastSubstring("abcabc", "abc", -1), 3);
    EXPECT_EQ(FindLastSubstring("abcabc", "abc", 2), 0);
    EXPECT_EQ(FindLastSubstring("abcabc", "abc", 100), 3);
    EXPECT_EQ(FindLastSubstring("abc", "abc", -1), 0);
    EXPECT_EQ(FindLastSubstring("abc", "x", -1), -1);
    EXPECT_EQ(FindLastSubstring("", "x", -1), -1);
    EXPECT_EQ(FindLastSubstring("abc", "", -1), -1);
}

TEST(StrFindLastCharTest, SkipsTrailBytesThatLookLikeTheCharacter) {
    // 0x95 0x5C is one character whose trail byte is a backslash.
    const char* text = "a\\b\x95\\";
    EXPECT_EQ(StrFindLastChar(text, '\\'), text + 1);
    EXPECT_EQ(StrCompareNoCase("Share", "sHARE"), 0);
    EXPECT_LT(StrCompareNoCase("a", "B"), 0);
}

} // namespace
