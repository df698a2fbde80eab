#include "platform/Crt.h"

#include <cerrno>
#include <climits>
#include <cstdint>

static_assert(_NLSCMPERROR == INT_MAX);

namespace {

int FoldAscii(unsigned char c) {
    return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c;
}

int CompareNoCase(const char* a, const char* b, size_t count) {
    if (!a || !b)
        return _NLSCMPERROR;
    for (size_t i = 0; i < count; ++i) {
        const int x = FoldAscii(static_cast<unsigned char>(a[i]));
        const int y = FoldAscii(static_cast<unsigned char>(b[i]));
        if (x != y || x == 0)
            return x - y;
    }
    return 0;
}

using Breakdown = struct tm* (*)(const time_t*, struct tm*);

errno_t BreakDown(struct tm* parts, const time_t* when, Breakdown breakdown) {
    if (!parts)
        return EINVAL;
    if (when && breakdown(when, parts))
        return 0;
    parts->tm_sec = parts->tm_min = parts->tm_hour = -1;
    parts->tm_mday = parts->tm_mon = parts->tm_year = -1;
    parts->tm_wday = parts->tm_yday = parts->tm_isdst = -1;
    return EINVAL;
}

} // namespace

int _stricmp(const char* a, const char* b) {
    return CompareNoCase(a, b, SIZE_MAX);
}

int _strnicmp(const char* a, const char* b, size_t count) {
    return CompareNoCase(a, b, count);
}

errno_t localtime_s(struct tm* parts, const time_t* when) {
    return BreakDown(parts, when, localtime_r);
}

errno_t gmtime_s(struct tm* parts, const time_t* when) {
    return BreakDown(parts, when, gmtime_r);
}
