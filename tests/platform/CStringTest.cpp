#include "platform/CString.h"

#include <gtest/gtest.h>

namespace {

// "牌" in GBK is C5 C6; "\\" is 5C. "誠" (D5 5C) has a trail byte equal to '\\',
// "猁" (E2 61) one equal to 'a'.
const char kTrailBackslash[] = "\xD5\x5C";
const char kTrailLetter[] = "\xE2\x61";

TEST(CStringTest, SearchesStepOverDoubleByteCharacters) {
    CString path = CString("C:\\") + kTrailBackslash + "\\theme";
    EXPECT_EQ(path.Find('\\'), 2);
    EXPECT_EQ(path.Find('\\', 3), 5) << "the trail byte of a double-byte character is no separator";
    EXPECT_EQ(path.ReverseFind('\\'), 5);
    EXPECT_EQ(path.Replace('\\', '/'), 2);
    EXPECT_EQ(path, CString("C:/") + kTrailBackslash + "/theme");
    EXPECT_EQ(CString(kTrailBackslash).Find("\\"), -1);
}

TEST(CStringTest, CaseChangesLeaveDoubleByteCharactersAlone) {
    CString text = CString("ab") + kTrailLetter + "Cd";
    text.MakeUpper();
    EXPECT_EQ(text, CString("AB") + kTrailLetter + "CD");
    text.MakeLower();
    EXPECT_EQ(text, CString("ab") + kTrailLetter + "cd");
    EXPECT_EQ(CString("Setting").CompareNoCase("SETTING"), 0);
}

TEST(CStringTest, ExtractionClampsCountsToTheString) {
    CString s("0123456789");
    EXPECT_EQ(s.Left(3), "012");
    EXPECT_EQ(s.Left(50), "0123456789");
    EXPECT_EQ(s.Left(-1), "");
    EXPECT_EQ(s.Mid(7), "789");
    EXPECT_EQ(s.Mid(8, 10), "89");
    EXPECT_EQ(s.Mid(20, 2), "");
    EXPECT_EQ(s.Right(2), "89");
    EXPECT_EQ(s.Right(20), "0123456789");
}

TEST(CStringTest, FormatHandlesLongAndGbkText) {
    CString s;
    s.Format("%s:%d", "网络连接关闭!", 42);
    EXPECT_EQ(s, CString("网络连接关闭!") + ":42");
    CString big;
    big.Format("%0500d", 7);
    EXPECT_EQ(big.GetLength(), 500);
    big.AppendFormat("%x", 255);
    EXPECT_EQ(big.Right(3), "7ff");
}

TEST(CStringTest, BufferWritesBecomeTheString) {
    CString s("old");
    char* buffer = s.GetBuffer(64);
    snprintf(buffer, 64, "%s", "written by a C api");
    s.ReleaseBuffer();
    EXPECT_EQ(s, "written by a C api");
    EXPECT_EQ(s.GetLength(), 18);
    s.GetBuffer(0);
    s.ReleaseBuffer(7);
    EXPECT_EQ(s, "written");
}

TEST(CStringTest, ComparisonAndConcatenationAndTrim) {
    CString a("abc");
    EXPECT_TRUE(a == "abc");
    EXPECT_TRUE("abd" != a);
    EXPECT_TRUE(a < CString("abd"));
    EXPECT_EQ(a + 'd' + "ef", "abcdef");
    CString padded("  value with spaces \t\r\n");
    padded.Trim();
    EXPECT_EQ(padded, "value with spaces");
    CString quoted("\"x\"");
    quoted.TrimLeft('"').TrimRight('"');
    EXPECT_EQ(quoted, "x");
    EXPECT_EQ(CString("a--b--c").Replace("--", "+"), 2);
    CString removed("a.b.c");
    EXPECT_EQ(removed.Remove('.'), 2);
    EXPECT_EQ(removed, "abc");
}

} // namespace
