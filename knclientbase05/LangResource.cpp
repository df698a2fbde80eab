#include "knclientbase05/LangResource.h"

#include "knclientbase05/AppProfile.h"
#include "knclientbase05/GameRegistry.h"
#include "knclientbase05/KNpubParse.h"
#include "knclientbase05/KNpubText.h"
#include "platform/system/Module.h"
#include "platform/system/Path.h"
#include "platform/system/Profile.h"

#include <cstdlib>
#include <cstring>

namespace {

bool FileExists(LPCSTR path) {
    DWORD attributes = GetFileAttributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

CString LangFileOf(const CString& folder) {
    return folder + "\\LangRsc.ini";
}

} // namespace

CString ShareLangFileBeside(const CString& programFolder) {
    CString folder = programFolder;
    if (folder.IsEmpty())
        return "";
    folder.MakeLower();
    int share = FindLastSubstring(folder, "\\share", -1);
    int cut = share >= 0 ? share : folder.ReverseFind('\\');
    if (cut < 0)
        return "";
    CString candidate;
    candidate.Format("%s\\Share\\LangRsc.ini", folder.Left(cut).GetString());
    return candidate;
}

COLORREF ReadIniColor(LPCSTR section, LPCSTR key, COLORREF defaultColor, LPCSTR iniPath) {
    char text[64] = {};
    GetPrivateProfileString(section, key, "", text, sizeof text, iniPath);
    if (text[0] == '\0')
        return defaultColor;
    if (text[1] == '\0')
        return static_cast<COLORREF>(atoi(text));
    if (const char* comma = strchr(text, ',')) {
        int red = atoi(text);
        const char* second = strchr(comma + 1, ',');
        int green = atoi(comma + 1);
        int blue = second != nullptr ? atoi(second + 1) : 0;
        return static_cast<COLORREF>(red + (green << 8) + (blue << 16));
    }
    DWORD rgb = static_cast<DWORD>(ParseNumber(text));
    return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

void ReadIniPoint(LPCSTR section, LPCSTR key, int* x, int* y, LPCSTR iniPath) {
    char text[64] = {};
    GetPrivateProfileString(section, key, "", text, sizeof text, iniPath);
    if (text[0] == '\0')
        return;
    *x = atoi(text);
    const char* p = text;
    if (*p == '-' || *p == '+')
        ++p;
    while (*p >= '0' && *p <= '9')
        ++p;
    if (*p == ',')
        *y = atoi(p + 1);
}

CString GetLangString(UINT id) {
    char key[16];
    snprintf(key, sizeof key, "%u", id);
    char text[1024] = {};
    GetPrivateProfileString("String", key, "", text, sizeof text, LangFileOf(GetShareFolder()));
    return text;
}

CString GetLangUrl(LPCSTR key) {
    char text[256] = {};
    GetPrivateProfileString("URL", key, "", text, sizeof text, LangFileOf(GetShareProfilePath()));
    return text;
}

UINT GetShareP80Port(UINT id) {
    CString candidate = ShareLangFileBeside(GetProgramFolder());
    if (candidate.IsEmpty() || !FileExists(candidate)) {
        candidate = LangFileOf(GetShareFolder());
        if (!FileExists(candidate))
            return 0;
    }
    char key[16];
    snprintf(key, sizeof key, "%u", id);
    char text[64] = {};
    GetPrivateProfileString("P80Port", key, "", text, sizeof text, candidate);
    return text[0] == '\0' ? 0 : static_cast<UINT>(atoi(text));
}

CString GetProgramFolder() {
    char path[MAX_PATH] = {};
    if (GetModuleFileName(nullptr, path, sizeof path) == 0)
        return "";
    CString folder = path;
    int slash = folder.ReverseFind('\\');
    return slash >= 0 ? folder.Left(slash) : CString();
}
