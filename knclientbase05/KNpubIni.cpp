#include "knclientbase05/KNpubIni.h"

#include "platform/system/Profile.h"

#include <cinttypes>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr DWORD kValueSize = 32;

} // namespace

DWORD IniGetString(const char* section, const char* key, const char* defaultValue, char* buffer,
                   DWORD size, const char* iniPath) {
    return GetPrivateProfileString(section, key, defaultValue, buffer, size, iniPath);
}

UINT IniGetInt(const char* section, const char* key, int defaultValue, const char* iniPath) {
    return GetPrivateProfileInt(section, key, defaultValue, iniPath);
}

BOOL IniWriteString(const char* section, const char* key, const char* value, const char* iniPath) {
    return WritePrivateProfileString(section, key, value, iniPath);
}

LONGLONG IniGetInt64(const char* section, const char* key, LONGLONG defaultValue,
                     const char* iniPath) {
    char text[kValueSize];
    if (GetPrivateProfileString(section, key, "", text, sizeof text, iniPath) == 0)
        return defaultValue;
    return strtoll(text, nullptr, 10);
}

DWORD IniGetNumber(const char* section, const char* key, DWORD defaultValue, const char* iniPath) {
    char text[kValueSize];
    if (GetPrivateProfileString(section, key, "", text, sizeof text, iniPath) == 0)
        return defaultValue;
    return ParseNumberLoose(text);
}

DWORD IniGetIp(const char* section, const char* key, DWORD defaultValue, const char* iniPath) {
    char text[kValueSize];
    if (GetPrivateProfileString(section, key, "", text, sizeof text, iniPath) == 0)
        return defaultValue;
    return ParseDotted(text);
}

int IniGetHostPort(const char* section, const char* key, tagHOSTPORT* out, const char* iniPath) {
    char text[80];
    GetPrivateProfileString(section, key, "", text, sizeof text, iniPath);
    return ParseHostPort(text, out);
}

BOOL IniWriteInt(const char* section, const char* key, int value, const char* iniPath) {
    char text[kValueSize];
    snprintf(text, sizeof text, "%d", value);
    return WritePrivateProfileString(section, key, text, iniPath);
}

BOOL IniWriteInt64(const char* section, const char* key, LONGLONG value, const char* iniPath) {
    char text[kValueSize];
    snprintf(text, sizeof text, "%" PRId64, static_cast<int64_t>(value));
    return WritePrivateProfileString(section, key, text, iniPath);
}
