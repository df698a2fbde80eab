#include "platform/Crt.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <climits>
#include <limits>

namespace {

TEST(CrtTest, ComparisonsFoldAsciiLettersToLowerCaseAndOrderBytesUnsigned) {
    EXPECT_EQ(_stricmp("Music", "MUSIC"), 0);
    EXPECT_LT(_stricmp("apple", "Banana"), 0) << "letters are ordered as one case";
    EXPECT_LT(_stricmp("set", "Setting"), 0) << "a prefix sorts first";
    EXPECT_LT(_stricmp("_", "A"), 0) << "letters fold to lower case before they are ordered";
    // "牌" (C5 C6) lies above every ASCII text, and no byte above ASCII folds.
    EXPECT_GT(_stricmp("\xC5\xC6", "z"), 0);
    EXPECT_NE(_stricmp("\xC5\xC6", "\xE5\xC6"), 0);

    EXPECT_EQ(_strnicmp("http://host", "HTTP://", 7), 0);
    EXPECT_NE(_strnicmp("http:/", "HTTP://", 7), 0) << "the shorter text ends inside the count";
    EXPECT_EQ(_strnicmp("ab", "AB", 100), 0) << "the comparison stops at the end of both";

    EXPECT_EQ(_stricmp(nullptr, "a"), INT_MAX) << "no string is an error, not a match";
    EXPECT_EQ(_strnicmp("a", nullptr, 4), INT_MAX);
}

TEST(CrtTest, TimesBreakDownOrReportWhyNot) {
    const time_t when = 1700000000; // 2023-11-14 22:13:20 UTC
    struct tm parts {};
    ASSERT_EQ(gmtime_s(&parts, &when), 0);
    EXPECT_EQ(parts.tm_year, 123);
    EXPECT_EQ(parts.tm_mon, 10);
    EXPECT_EQ(parts.tm_mday, 14);
    EXPECT_EQ(parts.tm_hour, 22);
    struct tm local {};
    ASSERT_EQ(localtime_s(&local, &when), 0);
    EXPECT_EQ(mktime(&local), when) << "the local breakdown leads back to the same moment";

    const time_t far = std::numeric_limits<time_t>::max();
    for (auto breakdown : {localtime_s, gmtime_s}) {
        EXPECT_EQ(breakdown(nullptr, &when), EINVAL);
        struct tm unset {};
        EXPECT_EQ(breakdown(&unset, nullptr), EINVAL);
        EXPECT_EQ(unset.tm_mday, -1);
        struct tm beyond {};
        EXPECT_EQ(breakdown(&beyond, &far), EINVAL) << "a year beyond int is not wrapped";
        EXPECT_EQ(beyond.tm_hour, -1);
    }
}

} // namespace
