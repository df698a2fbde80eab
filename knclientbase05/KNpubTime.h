#pragma once

// Compact time encodings and their texts. Local time throughout.
//   packed minute time: bits 0-5 minute, 6-11 hour, 12-17 day, 18-23 month
//                       (1-12), 24-31 year - 1999; no seconds
//   decimal minute time: yymmddhhmm (years 2000-2042)
//   decimal date-hour:   YYYYMMDDhh

#include "platform/Types.h"

#include <cstddef>
#include <ctime>

DWORD PackedNow();
DWORD PackTime(const tm& calendar);
void UnpackTime(DWORD packed, tm* calendar);
DWORD PackedAddSeconds(DWORD packed, long seconds);
// Outputs take at least 20 bytes ("2024-05-06 07:08:00").
char* FormatPackedTime(DWORD packed, char* output, size_t size);
// Six numbers separated by anything else: year (below 100: + 2000), month,
// day, hour, minute, second.
DWORD ParsePackedTime(const char* text);

// The local time of value, or of now when value cannot be converted.
DWORD DecimalTimeFromTime(time_t value);
void DecimalToCalendar(DWORD decimal, tm* calendar);
char* FormatDecimalTime(DWORD decimal, char* output, size_t size);
time_t DecimalToTime(DWORD decimal);
DWORD ParseDecimalTime(const char* text);

time_t DateHourToTime(DWORD dateHour);

// An empty text gives the local time now.
void ParseTimeToCalendar(const char* text, tm* calendar);
time_t ParseTimeToTime(const char* text);

// "%04d%02d%02d_%02d:%02d:%02d"; a value that cannot be converted gives now.
char* FormatTimeStamp(time_t value, char* output, size_t size);
// "%04d-%02d-%02d %02d:%02d:%02d"; the same fallback.
char* FormatTime(time_t value, char* output, size_t size);
// "%Y" year, "%M" month, "%D" day, "%H" hour, "%I" minute, "%S" second (in
// either case), "%%" a "%"; other letters after "%" are dropped. A value that
// cannot be converted gives an empty text. The output is cut to size - 1.
char* FormatTimePattern(char* output, size_t size, time_t value, const char* pattern);

// The distance in milliseconds between start and now.
DWORD TickDiff(DWORD start);
