// The message box's text rules, without a window: blank lines, the help
// address, and line breaking that never splits a GBK character.

#include "app/MessageText.h"
#include "app/GameSettings.h"

#include <gtest/gtest.h>

#include <string>

using namespace message_text;

namespace {

// Six pixels a byte, as a fixed-width font would measure.
int SixPerByte(const char*, int length) {
    return 6 * length;
}

std::string S(const CString& text) {
    return std::string(text);
}

TEST(MessageTextTest, BlankLinesFoldInOnePass) {
    EXPECT_EQ(S(FoldBlankLines("a\n\nb")), "a\nb");
    EXPECT_EQ(S(FoldBlankLines("a\n\n\n\nb")), "a\n\nb");
    EXPECT_EQ(S(FoldBlankLines("a\n\n\nb")), "a\n\nb");
    EXPECT_EQ(CountLines(FoldBlankLines("a\n\nb"), 265, 6, SixPerByte), 2);
    EXPECT_EQ(CountLines("", 265, 6, SixPerByte), 0);
    EXPECT_EQ(CountLines("a\n", 265, 6, SixPerByte), 1);
}

TEST(MessageTextTest, TheWealthPhraseGetsTheHelpAddressOnALineOfItsOwn) {
    const CString phrase = kWealthPhrase;
    EXPECT_TRUE(IsLinkText("您的财富值不足, " + phrase));
    EXPECT_TRUE(IsLinkText(CString("see ") + WebLinkAddress(kLinkCardShop)));
    EXPECT_FALSE(IsLinkText("网络连接关闭!"));

    const std::string expected =
        "您的财富值不足," + S(phrase) + ":\n" + (LPCSTR)WebLinkAddress(kLinkWealthHelp) + "\n谢谢";
    EXPECT_EQ(S(InsertHelpAddress("您的 财富值不足, " + phrase + " \n\n谢谢")), expected);
    EXPECT_EQ(S(InsertHelpAddress("您的财富值不足," + phrase + ":谢谢")), expected);
    EXPECT_EQ(S(InsertHelpAddress("您的财富值不足," + phrase + "：谢谢")), expected);
    // A text that brings its own address is left as it is.
    const CString withAddress = phrase + " http://other.example/";
    EXPECT_EQ(S(InsertHelpAddress(withAddress)), S(withAddress));
}

TEST(MessageTextTest, NoLineOfTheCloseQuestionStartsWithAComma) {
    const CString question = "游戏正在进行中，如果退出游戏，您将被增加断线率并扣分，还继续吗?";
    const CString comma = "，";
    for (int n = 20; n <= 60; ++n) {
        const std::vector<CString> lines = BreakLines(question, n, 10);
        CString joined;
        for (const CString& line : lines) {
            EXPECT_NE(line.Left(2), comma) << "width " << n << ": " << S(line);
            joined += line;
        }
        EXPECT_EQ(S(joined), S(question)) << "width " << n;
    }
}

TEST(MessageTextTest, ALineNeverEndsInTheMiddleOfAChineseCharacter) {
    // n = 5: the fifth byte would be the first half of 中.
    EXPECT_EQ(LineStep("abcd中", 6, 5), 4);
    EXPECT_EQ(LineStep("abc中d", 6, 5), 5);
    EXPECT_EQ(LineStep("abcdefg", 7, 5), 5);
    // Too narrow for one character: the character still goes whole.
    EXPECT_EQ(LineStep("中文", 4, 1), 2);
    EXPECT_EQ(LineStep("中文", 4, 0), 2);
    // A lone lead byte at the end counts as one byte.
    EXPECT_EQ(LineStep("ab\xD6", 3, 5), 3);

    const std::vector<CString> lines = BreakLines("abcd中文xy", 5, 10);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(S(lines[0]), "abcd");
    EXPECT_EQ(S(lines[1]), "中文x");
    EXPECT_EQ(S(lines[2]), "y");
    // Counting agrees with the breaking.
    EXPECT_EQ(CountLines("abcd中文xy", 30, 6, SixPerByte), 3);
}

TEST(MessageTextTest, NewlinesEndLinesAndTheRestWraps) {
    const std::vector<CString> lines = BreakLines("one\ntwo three four", 6, 10);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(S(lines[0]), "one");
    EXPECT_EQ(S(lines[1]), "two th");
    EXPECT_EQ(S(lines[2]), "ree fo");
    EXPECT_EQ(S(lines[3]), "ur");
}

TEST(MessageTextTest, OverflowEndsTheLastLineInAnEllipsisOfWholeCharacters) {
    // 中文 pairs: the first line holds 中文中 (6 bytes), the rest overflows.
    std::vector<CString> lines = BreakLines("中文中文中文中文", 6, 1);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(S(lines[0]), "中 ...");
    lines = BreakLines("abcdefghij", 6, 1);
    EXPECT_EQ(S(lines[0]), "ab ...");
    // A short last line (before a newline) is never cut below its start.
    lines = BreakLines("ab\ncd\nef", 8, 2);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(S(lines[1]), "cd ...");
    lines = BreakLines("中\n文", 2, 1);
    EXPECT_EQ(S(lines[0]), " ...");
}

} // namespace
