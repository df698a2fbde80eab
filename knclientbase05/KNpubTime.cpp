#include "knclientbase05/KNpubTime.h"

#include "platform/system/Clock.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// Reads up to six numbers separated by anything that is not a digit.
void ReadSixNumbers(const char* text, int numbers[6]) {
    for (int i = 0; i < 6; ++i) {
        numbers[i] = 0;
        while (*text != '\0' && (*text < '0' || *text > '9'))
            ++text;
        if (*text == '\0')
            continue;
        numbers[i] = static_cast<int>(strtol(text, nullptr, 10));
        while (*text >= '0' && *text <= '9')
            ++text;
    }
}

int FullYear(int year) {
    return year < 100 ? year + 2000 : year;
}

// The six numbers of a text as a calendar record with daylight saving off.
tm CalendarOfText(const char* text) {
    int n[6];
    ReadSixNumbers(text, n);
    tm calendar{};
    calendar.tm_year = FullYear(n[0]) - 1900;
    calendar.tm_mon = n[1] - 1;
    calendar.tm_mday = n[2];
    calendar.tm_hour = n[3];
    calendar.tm_min = n[4];
    calendar.tm_sec = n[5];
    return calendar;
}

bool LocalTime(time_t value, tm& calendar) {
    const tm* converted = localtime(&value);
    if (converted == nullptr)
        return false;
    calendar = *converted;
    return true;
}

tm LocalTimeOrNow(time_t value) {
    tm calendar{};
    if (!LocalTime(value, calendar))
        LocalTime(time(nullptr), calendar);
    return calendar;
}

DWORD DecimalOf(const tm& calendar) {
    return static_cast<DWORD>(calendar.tm_year - 100) * 100000000u +
           static_cast<DWORD>(calendar.tm_mon + 1) * 1000000u +
           static_cast<DWORD>(calendar.tm_mday) * 10000u +
           static_cast<DWORD>(calendar.tm_hour) * 100u + static_cast<DWORD>(calendar.tm_min);
}

char* FormatCalendar(const tm& calendar, const char* format, char* output, size_t size) {
    snprintf(output, size, format, calendar.tm_year + 1900, calendar.tm_mon + 1, calendar.tm_mday,
             calendar.tm_hour, calendar.tm_min, calendar.tm_sec);
    return output;
}

// The pattern letter's field, or -1 for a letter that is dropped.
int PatternField(const tm& calendar, char letter, int* width) {
    *width = 2;
    switch (letter) {
    case 'Y':
    case 'y':
        *width = 4;
        return calendar.tm_year + 1900;
    case 'M':
    case 'm':
        return calendar.tm_mon + 1;
    case 'D':
    case 'd':
        return calendar.tm_mday;
    case 'H':
    case 'h':
        return calendar.tm_hour;
    case 'I':
    case 'i':
        return calendar.tm_min;
    case 'S':
    case 's':
        return calendar.tm_sec;
    default:
        return -1;
    }
}

} // namespace

DWORD PackTime(const tm& calendar) {
    return static_cast<DWORD>(calendar.tm_min & 63) |
           static_cast<DWORD>(calendar.tm_hour & 63) << 6 |
           static_cast<DWORD>(calendar.tm_mday & 63) << 12 |
           static_cast<DWORD>((calendar.tm_mon + 1) & 63) << 18 |
           static_cast<DWORD>((calendar.tm_year + 1900 - 1999) & 255) << 24;
}

DWORD PackedNow() {
    return PackTime(LocalTimeOrNow(time(nullptr)));
}

void UnpackTime(DWORD packed, tm* calendar) {
    calendar->tm_sec = 0;
    calendar->tm_min = packed & 63;
    calendar->tm_hour = (packed >> 6) & 63;
    calendar->tm_mday = (packed >> 12) & 63;
    calendar->tm_mon = static_cast<int>((packed >> 18) & 63) - 1;
    calendar->tm_year = static_cast<int>(packed >> 24) + 1999 - 1900;
}

DWORD PackedAddSeconds(DWORD packed, long seconds) {
    tm calendar{};
    UnpackTime(packed, &calendar);
    time_t value = mktime(&calendar);
    tm later{};
    if (value == static_cast<time_t>(-1) || !LocalTime(value + seconds, later))
        return packed;
    return PackTime(later);
}

char* FormatPackedTime(DWORD packed, char* output, size_t size) {
    tm calendar{};
    UnpackTime(packed, &calendar);
    return FormatCalendar(calendar, "%04d-%02d-%02d %02d:%02d:%02d", output, size);
}

DWORD ParsePackedTime(const char* text) {
    return PackTime(CalendarOfText(text));
}

DWORD DecimalTimeFromTime(time_t value) {
    return DecimalOf(LocalTimeOrNow(value));
}

void DecimalToCalendar(DWORD decimal, tm* calendar) {
    *calendar = tm{};
    calendar->tm_min = decimal % 100;
    calendar->tm_hour = (decimal / 100) % 100;
    calendar->tm_mday = (decimal / 10000) % 100;
    calendar->tm_mon = static_cast<int>((decimal / 1000000) % 100) - 1;
    calendar->tm_year = static_cast<int>(decimal / 100000000) + 100;
}

char* FormatDecimalTime(DWORD decimal, char* output, size_t size) {
    tm calendar{};
    DecimalToCalendar(decimal, &calendar);
    return FormatCalendar(calendar, "%04d-%02d-%02d %02d:%02d:00", output, size);
}

time_t DecimalToTime(DWORD decimal) {
    tm calendar{};
    DecimalToCalendar(decimal, &calendar);
    return mktime(&calendar);
}

DWORD ParseDecimalTime(const char* text) {
    return DecimalOf(CalendarOfText(text));
}

time_t DateHourToTime(DWORD dateHour) {
    if (dateHour == 0)
        return 0;
    tm calendar{};
    calendar.tm_hour = dateHour % 100;
    calendar.tm_mday = (dateHour / 100) % 100;
    int month = static_cast<int>((dateHour / 10000) % 100);
    calendar.tm_mon = month > 0 ? month - 1 : 0;
    calendar.tm_year = static_cast<int>(dateHour / 1000000) - 1900;
    return mktime(&calendar);
}

void ParseTimeToCalendar(const char* text, tm* calendar) {
    if (text == nullptr || *text == '\0') {
        *calendar = LocalTimeOrNow(time(nullptr));
        return;
    }
    tm parsed = CalendarOfText(text);
    calendar->tm_sec = parsed.tm_sec;
    calendar->tm_min = parsed.tm_min;
    calendar->tm_hour = parsed.tm_hour;
    calendar->tm_mday = parsed.tm_mday;
    calendar->tm_mon = parsed.tm_mon;
    calendar->tm_year = parsed.tm_year;
}

time_t ParseTimeToTime(const char* text) {
    if (text == nullptr || *text == '\0')
        return time(nullptr);
    tm calendar = CalendarOfText(text);
    return mktime(&calendar);
}

char* FormatTimeStamp(time_t value, char* output, size_t size) {
    return FormatCalendar(LocalTimeOrNow(value), "%04d%02d%02d_%02d:%02d:%02d", output, size);
}

char* FormatTime(time_t value, char* output, size_t size) {
    return FormatCalendar(LocalTimeOrNow(value), "%04d-%02d-%02d %02d:%02d:%02d", output, size);
}

char* FormatTimePattern(char* output, size_t size, time_t value, const char* pattern) {
    if (size == 0)
        return output;
    output[0] = '\0';
    tm calendar{};
    if (!LocalTime(value, calendar))
        return output;
    size_t used = 0;
    auto append = [&](const char* piece) {
        size_t length = strlen(piece);
        if (used + length >= size)
            length = size - 1 - used;
        memcpy(output + used, piece, length);
        used += length;
        output[used] = '\0';
    };
    for (const char* p = pattern; *p != '\0'; ++p) {
        char piece[16] = {*p, '\0'};
        if (*p == '%' && p[1] != '\0') {
            ++p;
            int width = 2;
            int field = *p == '%' ? -2 : PatternField(calendar, *p, &width);
            if (field == -1)
                continue;
            if (field >= 0)
                snprintf(piece, sizeof piece, "%0*d", width, field);
        }
        append(piece);
    }
    return output;
}

DWORD TickDiff(DWORD start) {
    int difference = static_cast<int>(GetTickCount() - start);
    return static_cast<DWORD>(difference < 0 ? -static_cast<long long>(difference) : difference);
}
