#include "knclientUI05/DlgSkinIni.h"

#include "knclientUI05/KNBitmap.h"
#include "knclientbase05/LangResource.h"
#include "knclientbase05/SkinSettings.h"
#include "platform/resources/Resource.h"
#include "platform/system/Profile.h"
#include "platform/text/Font.h"

#include <cstring>

namespace {

const char kSharedSection[] = "KNDLG";
const UINT kDefaultFontString = 29931;

// No skin chosen: nothing is read, every value keeps its default.
bool HasSkinIni() {
    return theSkin.szThemeFile[0] != '\0';
}

} // namespace

CDlgSkinIni::CDlgSkinIni(LPCSTR skinName) {
    m_section = CString(kSharedSection) + "_" + (skinName != nullptr ? skinName : "");
}

BOOL CDlgSkinIni::ThemeLibraryMode() const {
    return theSkin.nThemeResMode != 0 && theSkin.hThemeRes != nullptr;
}

CString CDlgSkinIni::ReadText(LPCSTR section, LPCSTR key) const {
    if (!HasSkinIni())
        return CString();
    char text[MAX_PATH] = {};
    GetPrivateProfileString(section, key, "", text, sizeof text, theSkin.szThemeFile);
    return text;
}

int CDlgSkinIni::ReadInt(LPCSTR key, int defaultValue) const {
    if (!HasSkinIni())
        return defaultValue;
    int shared = static_cast<int>(
        GetPrivateProfileInt(kSharedSection, key, defaultValue, theSkin.szThemeFile));
    return static_cast<int>(GetPrivateProfileInt(m_section, key, shared, theSkin.szThemeFile));
}

int CDlgSkinIni::ReadOwnInt(LPCSTR key, int defaultValue) const {
    if (!HasSkinIni())
        return defaultValue;
    return static_cast<int>(
        GetPrivateProfileInt(m_section, key, defaultValue, theSkin.szThemeFile));
}

COLORREF CDlgSkinIni::ReadColor(LPCSTR key, COLORREF defaultColor) const {
    if (!HasSkinIni())
        return defaultColor;
    COLORREF shared = ReadIniColor(kSharedSection, key, defaultColor, theSkin.szThemeFile);
    return ReadIniColor(m_section, key, shared, theSkin.szThemeFile);
}

CString CDlgSkinIni::ReadString(LPCSTR key) const {
    CString own = ReadText(m_section, key);
    return own.IsEmpty() ? ReadText(kSharedSection, key) : own;
}

void CDlgSkinIni::ReadPair(LPCSTR key, int* first, int* second) const {
    *first = 0;
    *second = 0;
    if (!HasSkinIni())
        return;
    ReadIniPoint(m_section, key, first, second, theSkin.szThemeFile);
    if (*first == 0 && *second == 0)
        ReadIniPoint(kSharedSection, key, first, second, theSkin.szThemeFile);
}

CString CDlgSkinIni::PicturePath(LPCSTR key, LPCSTR builtInFile) const {
    CString name = ReadString(key);
    if (name.IsEmpty() && builtInFile != nullptr)
        name = builtInFile;
    if (name.IsEmpty())
        return name;
    // The folder value ends with its separator.
    return CString(theSkin.szThemeFolder) + name;
}

BOOL CDlgSkinIni::LoadFile(CKNBitmap* bitmap, const CString& path) const {
    return !path.IsEmpty() && bitmap->LoadBmpFile(path);
}

BOOL CDlgSkinIni::LoadResourcePair(CKNBitmap* bitmap, LPCSTR section, LPCSTR key) const {
    int id = 0;
    int kind = 0;
    ReadIniPoint(section, key, &id, &kind, theSkin.szThemeFile);
    if (id <= 0)
        return FALSE;
    HBITMAP picture = LoadImageResourceById(theSkin.hThemeRes, static_cast<UINT>(id), kind);
    if (picture == nullptr)
        return FALSE;
    bitmap->DeleteObject();
    return bitmap->Attach(picture);
}

BOOL CDlgSkinIni::LoadPicture(CKNBitmap* bitmap, LPCSTR key, LPCSTR builtInFile) const {
    if (bitmap == nullptr)
        return FALSE;
    if (ThemeLibraryMode() && HasSkinIni())
        return LoadResourcePair(bitmap, m_section, key) ||
               LoadResourcePair(bitmap, kSharedSection, key);
    return LoadFile(bitmap, PicturePath(key, builtInFile));
}

BOOL CDlgSkinIni::LoadRestorePicture(CKNBitmap* bitmap) const {
    static const char kKey[] = "titlerestore";
    if (bitmap == nullptr || !HasSkinIni())
        return FALSE;
    if (ThemeLibraryMode())
        return LoadResourcePair(bitmap, kSharedSection, kKey);
    CString value = ReadText(kSharedSection, kKey);
    const char* name = value;
    if (const char* comma = strchr(name, ','))
        name = comma + 1;
    while (*name == ' ' || *name == '\t')
        ++name;
    if (*name == '\0')
        return FALSE;
    return LoadFile(bitmap, CString(theSkin.szThemeFolder) + name);
}

void ReadDlgSkinButtonPlace(const CDlgSkinIni& ini, tagDLGSKINVALUES* values) {
    values->nSysBtnRight = ini.ReadInt("SysBtnRight", 6);
    values->nSysBtnTop = ini.ReadInt("SysBtnTop", 3);
}

void ReadDlgSkinValues(const CDlgSkinIni& ini, tagDLGSKINVALUES* values) {
    *values = tagDLGSKINVALUES{};
    values->nAnomalyFrame = ini.ReadInt("AnomalyFrame", values->nAnomalyFrame);
    values->nResize = ini.ReadOwnInt("Resize", values->nResize);
    values->nUseTitleMax = ini.ReadInt("usetitlemax", values->nUseTitleMax);
    values->crCtrl = ini.ReadColor("ctrlcolor", values->crCtrl);
    values->crCtrlText = ini.ReadColor("ctrltextcolor", values->crCtrlText);
    values->nBorderWidth = ini.ReadInt("BorderWidth", values->nBorderWidth);
    values->nCaptionHeight = ini.ReadInt("CaptionHeight", values->nCaptionHeight);
    values->nTitleAlign = ini.ReadInt("titlealign", values->nTitleAlign);
    ini.ReadPair("titlefontsize", &values->nTitleFontSize[0], &values->nTitleFontSize[1]);
    values->crTitle = ini.ReadColor("titlecolor", values->crTitle);
    values->strTitle = ini.ReadString("title");
    values->strTitleFont = ini.ReadString("titlefont");
    if (values->strTitleFont.IsEmpty()) {
        char face[LF_FACESIZE] = {};
        AfxLoadString(kDefaultFontString, face, sizeof face);
        values->strTitleFont = face;
    }
    ReadDlgSkinButtonPlace(ini, values);
}
