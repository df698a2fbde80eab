#include "knclientbase05/PathMacros.h"

#include "knclientbase05/AppProfile.h"
#include "knclientbase05/GameRegistry.h"
#include "knclientbase05/KNpubSystem.h"
#include "knclientbase05/KNpubText.h"
#include "knclientbase05/LangResource.h"
#include "platform/system/Profile.h"

#include <cstring>

namespace {

int CopyIfFits(const CString& text, char* output, size_t capacity) {
    if (static_cast<size_t>(text.GetLength()) + 1 > capacity)
        return 0;
    memcpy(output, text.GetString(), text.GetLength() + 1);
    return 1;
}

// The folder of a "%LRC<name>%" macro that starts at macro.
int ExpandLangPath(char* text, size_t capacity, const char* macro) {
    const char* name = macro + 1;
    const char* close = strchr(name, '%');
    if (close == nullptr || close - name > 63) {
        DebugTrace("path macro without its closing %%: %s", text);
        return 0;
    }
    CString key(name, static_cast<int>(close - name));
    char value[256] = {};
    CString langFile = GetShareFolder() + "\\LangRsc.ini";
    GetPrivateProfileString("WorldPath", key, "", value, sizeof value, langFile);
    CString token = "%" + key + "%";
    return StrReplaceAllNoCase(text, capacity, token, value);
}

} // namespace

int GetGameFilePath(LPCSTR game, LPCSTR file, char* output, size_t capacity) {
    CString folder;
    if (game != nullptr && *game != '\0') {
        LPCSTR key = CString(game).CompareNoCase("tavorin") == 0 ? "share" : game;
        char path[MAX_PATH] = {};
        DWORD type = 0;
        if (!GetGameRegValue(key, "path", path, sizeof path - 1, &type)) {
            if (capacity > 0)
                output[0] = '\0';
            return 0;
        }
        folder = path;
    } else {
        folder = GetProgramFolder();
    }
    if (file != nullptr && *file != '\0')
        folder = folder + "\\" + file;
    return CopyIfFits(folder, output, capacity);
}

int ExpandPathMacro(char* text, size_t capacity) {
    // "%system%" and "%Windows%" name Windows' own folders, which this
    // system does not have: they cannot be expanded.
    if (StrStrNoCase(text, "%system%") != nullptr || StrStrNoCase(text, "%Windows%") != nullptr)
        return 0;
    if (StrStrNoCase(text, "%Room%") != nullptr)
        return StrReplaceAllNoCase(text, capacity, "%Room%", GetShareProfilePath());
    if (StrStrNoCase(text, "%game%") != nullptr)
        return StrReplaceAllNoCase(text, capacity, "%game%", GetAppProfileString("", "Path", ""));
    if (StrStrNoCase(text, "%advert%") != nullptr)
        return StrReplaceAllNoCase(text, capacity, "%advert%", GetShareProfilePath() + "\\Advert");
    if (const char* macro = StrStrNoCase(text, "%LRC"))
        return ExpandLangPath(text, capacity, macro);
    return 0;
}

CString GetShareFileAdvert(const void* message, DWORD size, DWORD* out) {
    const BYTE* frame = static_cast<const BYTE*>(message);
    if (out != nullptr)
        *out = 0;
    if (frame == nullptr || size < 8)
        return "";
    DWORD total = FrameTotalLength(frame);
    if (total < size)
        size = total;
    DWORD type;
    memcpy(&type, frame, 4);
    type &= 0x3FFFFFFF;
    if (type != 0x205 && type != 0x206 && type != 0x207)
        return "";
    if (size < (type == 0x207 ? 56u : 52u)) {
        DebugTrace("shared-file frame 0x%X of %u bytes is too short", type, size);
        return "";
    }
    if (out != nullptr && type == 0x207)
        memcpy(out, frame + 52, 4);
    DWORD index;
    memcpy(&index, frame + 48, 4);
    if (index == 0) {
        const char* text = reinterpret_cast<const char*>(frame + 8);
        const void* end = memchr(text, '\0', size - 8);
        size_t length = end != nullptr ? static_cast<const char*>(end) - text : size - 8;
        return CString(text, static_cast<int>(length));
    }
    CAppProfileNameSwap share("Share");
    CString entry;
    entry.Format("File%u", index);
    return GetAppProfileString("FileAdvert", entry, "");
}
