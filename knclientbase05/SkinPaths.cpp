#include "knclientbase05/SkinSettings.h"

#include "knclientbase05/KNpubSystem.h"
#include "knclientbase05/KNpubText.h"
#include "platform/resources/Resource.h"
#include "platform/system/Module.h"
#include "platform/system/Profile.h"

#include <cstdio>
#include <cstring>

tagSKINSETTINGS theSkin;

namespace {

void TraceNotice(LPCSTR text) {
    DebugTrace("%s", text);
}

SkinNoticeFunction skinNotice = TraceNotice;

void SetPath(char* field, const CString& text) {
    snprintf(field, MAX_PATH, "%s", text.GetString());
}

} // namespace

CString PlatformRootOf(LPCSTR moduleFolder, LPCSTR game) {
    CString marker;
    marker.Format("Game\\%s", game);
    const char* found = StrStrNoCase(moduleFolder, marker);
    if (found == nullptr)
        return "";
    return CString(moduleFolder, static_cast<int>(found - moduleFolder));
}

void SetSkinNoticeFunction(SkinNoticeFunction notice) {
    skinNotice = notice != nullptr ? notice : TraceNotice;
}

int SetSkinPaths(LPCSTR game, int sharedPath, const CString* skinFolder) {
    char path[MAX_PATH] = {};
    if (GetModuleFileName(nullptr, path, sizeof path) == 0)
        return 0;
    if (char* slash = const_cast<char*>(StrFindLastChar(path, '\\')))
        *slash = '\0';
    SetPath(theSkin.szModuleFolder, path);
    CString text;
    text.Format("%s\\%s.ini", theSkin.szModuleFolder, game);
    SetPath(theSkin.szGameIni, text);
    theSkin.strGameName = game;

    CString skin = skinFolder != nullptr ? *skinFolder : CString();
    if (!sharedPath) {
        CString base = skin.IsEmpty() ? CString(theSkin.szModuleFolder) : skin;
        SetPath(theSkin.szThemeFolder, base + "\\Theme\\");
        text.Format("%s\\%s.thm", base.GetString(), game);
        SetPath(theSkin.szThemeFile, text);
    } else {
        if (!skin.IsEmpty()) {
            text.Format("不能在使用共享路径的情况下使用皮肤。\r\nSetPathIni(%s,%d)", game,
                        sharedPath);
            skinNotice(text);
        }
        CString base = PlatformRootOf(theSkin.szModuleFolder, game) + "Game\\Share\\";
        SetPath(theSkin.szThemeFolder, base + "Theme\\share\\");
        text.Format("%sTheme\\%s.thm", base.GetString(), game);
        SetPath(theSkin.szThemeFile, text);
    }
    theSkin.bSkinInUse = true;
    return 1;
}

int LoadThemeResDll(LPCSTR game) {
    theSkin.nThemeResMode = static_cast<int>(GetPrivateProfileInt(
        "Settings", "UseThemeResDll", theSkin.nThemeResMode, theSkin.szThemeFile));
    if (theSkin.nThemeResMode == 0)
        return 1;
    if (theSkin.nThemeResMode == 1) {
        CString library;
        library.Format("%s\\%s_thm.dll", theSkin.szModuleFolder, game);
        theSkin.hThemeRes = LoadLibrary(library);
    } else {
        theSkin.hThemeRes = AfxGetResourceHandle();
    }
    return theSkin.hThemeRes != nullptr ? 1 : 0;
}

void FreeThemeResDll() {
    if (theSkin.nThemeResMode == 1 && theSkin.hThemeRes != nullptr) {
        FreeLibrary(theSkin.hThemeRes);
        theSkin.hThemeRes = nullptr;
    }
}
