#include "knclientbase05/KNpubTime.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// Local time is UTC for these tests, so that results do not depend on the
// machine.
class TimeTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* zone = getenv("TZ");
        savedZone_ = zone != nullptr ? zone : "";
        hadZone_ = zone != nullptr;
        setenv("TZ", "UTC0", 1);
        tzset();
    }
    void TearDown() override {
        if (hadZone_)
            setenv("TZ", savedZone_.c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }

private:
    std::string savedZone_;
    bool hadZone_ = false;
};

std::string Packed(DWORD packed) {
    char text[32];
    return FormatPackedTime(packed, text, sizeof text);
}

TEST_F(TimeTest, PacksMinutesHoursDaysMonthsAndYears) {
    DWORD packed = ParsePackedTime("2024-02-28 23:59:41");
    EXPECT_EQ(packed, 59u | 23u << 6 | 28u << 12 | 2u << 18 | 25u << 24);
    EXPECT_EQ(Packed(packed), "2024-02-28 23:59:00");
    tm calendar{};
    UnpackTime(packed, &calendar);
    EXPECT_EQ(calendar.tm_mon, 1);
    EXPECT_EQ(calendar.tm_year, 124);
    EXPECT_EQ(PackTime(calendar), packed);
    EXPECT_EQ(Packed(ParsePackedTime("24/3/1 8:05")), "2024-03-01 08:05:00");
}

TEST_F(TimeTest, AddsSecondsAcrossMonthAndYearEnds) {
    EXPECT_EQ(Packed(PackedAddSeconds(ParsePackedTime("2024-02-28 23:59"), 60)),
              "2024-02-29 00:00:00");
    EXPECT_EQ(Packed(PackedAddSeconds(ParsePackedTime("2023-12-31 23:30"), 3600)),
              "2024-01-01 00:30:00");
    EXPECT_EQ(Packed(PackedAddSeconds(ParsePackedTime("2024-03-01 00:00"), -60)),
              "2024-02-29 23:59:00");
}

TEST_F(TimeTest, DecimalMinuteTimeRoundTrips) {
    DWORD decimal = ParseDecimalTime("2024-05-06 07:08:09");
    EXPECT_EQ(decimal, 2405060708u);
    char text[32];
    EXPECT_STREQ(FormatDecimalTime(decimal, text, sizeof text), "2024-05-06 07:08:00");
    time_t value = DecimalToTime(decimal);
    EXPECT_EQ(DecimalTimeFromTime(value), decimal);
    EXPECT_EQ(DecimalTimeFromTime(ParseTimeToTime("2042-12-31 23:59:00")), 4212312359u);
}

TEST_F(TimeTest, DateHourGivesATimeValue) {
    EXPECT_EQ(DateHourToTime(0), 0);
    EXPECT_EQ(DateHourToTime(1970010201), 86400 + 3600);
    // Month 0 is taken as January.
    EXPECT_EQ(DateHourToTime(1970000201), 86400 + 3600);
}

TEST_F(TimeTest, FormatsTimesAndPatterns) {
    time_t value = ParseTimeToTime("2024-05-06 07:08:09");
    char text[64];
    EXPECT_STREQ(FormatTime(value, text, sizeof text), "2024-05-06 07:08:09");
    EXPECT_STREQ(FormatTimeStamp(value, text, sizeof text), "20240506_07:08:09");
    EXPECT_STREQ(FormatTimePattern(text, sizeof text, value, "%Y/%m/%D %h:%I:%s 100%% %q!"),
                 "2024/05/06 07:08:09 100% !");
    // A small buffer cuts the text instead of overrunning.
    char small[6];
    EXPECT_STREQ(FormatTimePattern(small, sizeof small, value, "%Y-%M-%D"), "2024-");
}

TEST_F(TimeTest, ParsesATextIntoACalendarRecord) {
    tm calendar{};
    calendar.tm_wday = 5;
    ParseTimeToCalendar("99-1-2 3:4:5", &calendar);
    EXPECT_EQ(calendar.tm_year, 2099 - 1900);
    EXPECT_EQ(calendar.tm_mon, 0);
    EXPECT_EQ(calendar.tm_mday, 2);
    EXPECT_EQ(calendar.tm_sec, 5);
    EXPECT_EQ(calendar.tm_wday, 5); // other fields untouched
}

} // namespace
