// Texts taken from frames and notices put together from them: bounded by the
// bytes that are there and by the buffer, never cut inside a double-byte
// character, and a format from the resource library is never trusted.

#include "knclientbase05/NoticeText.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// "牌友" and "断线" in GBK: two double-byte characters each.
const std::string kCardFriend = "\xC5\xC6\xD3\xD1";
const std::string kDropped = "\xB6\xCF\xCF\xDF";

TEST(NoticeTextTest, FormatTakesOnlyTheFirstPlainStringDirective) {
    char out[64];
    FormatNotice(out, sizeof out, "%d[%s]%n%s%x 100%% %", "Bob");
    EXPECT_STREQ(out, "%d[Bob]%n%s%x 100% %");
    FormatNotice(out, sizeof out, "no argument", "Bob");
    EXPECT_STREQ(out, "no argument");
    FormatNotice(out, sizeof out, "[%s]", nullptr);
    EXPECT_STREQ(out, "[]");
}

TEST(NoticeTextTest, FormatFitsItsBufferAtACharacterBoundary) {
    char out[7];
    // "[" and two characters take 5 of the 6 bytes; a third would need 7.
    FormatNotice(out, sizeof out, "[%s]", (kCardFriend + kDropped).c_str());
    EXPECT_EQ(std::string(out), "[" + kCardFriend);
    // A format text too long for the buffer is cut the same way.
    FormatNotice(out, sizeof out, ("a" + kCardFriend + kDropped).c_str(), "x");
    EXPECT_EQ(std::string(out), "a" + kCardFriend);
}

TEST(NoticeTextTest, CopyStopsAtTheAvailableBytesAndAtTheBuffer) {
    const std::string field = "Alice" + kCardFriend; // a full field, no NUL
    char out[32];
    EXPECT_EQ(CopyBoundedText(out, sizeof out, field.data(), 7), 7u);
    EXPECT_EQ(std::string(out), "Alice" + kCardFriend.substr(0, 2));
    // Room for "Alice" and one byte more: the character does not fit.
    EXPECT_EQ(CopyBoundedText(out, 7, field.data(), field.size()), 5u);
    EXPECT_STREQ(out, "Alice");
    EXPECT_EQ(CopyBoundedText(out, 9, field.data(), field.size()), 7u);
    EXPECT_EQ(std::string(out), "Alice" + kCardFriend.substr(0, 2));
    EXPECT_EQ(CopyBoundedText(out, sizeof out, std::string("ab\0cd", 5).data(), 5), 2u);
    EXPECT_STREQ(out, "ab");
    EXPECT_EQ(CopyBoundedText(out, sizeof out, nullptr, 5), 0u);
    EXPECT_STREQ(out, "");
}

TEST(NoticeTextTest, AppendReportsWhatItLeftOut) {
    char buffer[8] = "ab";
    EXPECT_TRUE(AppendBoundedText(buffer, sizeof buffer, "cd"));
    EXPECT_FALSE(AppendBoundedText(buffer, sizeof buffer, kCardFriend.c_str()));
    EXPECT_EQ(std::string(buffer), "abcd" + kCardFriend.substr(0, 2));
}

TEST(NoticeTextTest, NamesCompareLettersWithoutCaseAndDoubleBytesExactly) {
    EXPECT_TRUE(SameNameNoCase("Alice", "aLICE", 20));
    EXPECT_FALSE(SameNameNoCase("Alice", "Alic", 20));
    EXPECT_TRUE(SameNameNoCase("Alice1", "alice2", 5));
    // The second byte of a double-byte character is no letter.
    EXPECT_FALSE(SameNameNoCase("\xB0\x41", "\xB0\x61", 20));
    EXPECT_TRUE(SameNameNoCase(kCardFriend.c_str(), kCardFriend.c_str(), 20));
    EXPECT_FALSE(SameNameNoCase(nullptr, "a", 20));
}

} // namespace
