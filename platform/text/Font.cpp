#include "platform/text/FontObject.h"

#include "platform/CodePage.h"

#include <cstring>
#include <string_view>
#include <strings.h>

namespace platform {
namespace {

// Faces that Windows draws with fixed pitch (names in UTF-8, compared after
// converting the GBK face name).
bool IsFixedPitchFace(const LOGFONT& font) {
    if ((font.lfPitchAndFamily & 0x03) == FIXED_PITCH)
        return true;
    std::string face =
        GbkToUtf8(std::string_view(font.lfFaceName, strnlen(font.lfFaceName, LF_FACESIZE)));
    for (const char* fixed : {"新宋体", "NSimSun", "Courier", "Courier New", "Fixedsys", "Terminal",
                              "Lucida Console", "Consolas"}) {
        if (strcasecmp(face.c_str(), fixed) == 0)
            return true;
    }
    return false;
}

// "楷体_GB2312", "楷体" and "华文楷体": the Kai faces of a Chinese Windows.
bool IsKaiFace(const LOGFONT& font) {
    std::string face =
        GbkToUtf8(std::string_view(font.lfFaceName, strnlen(font.lfFaceName, LF_FACESIZE)));
    for (const char* kai : {"楷体_GB2312", "楷体", "华文楷体", "KaiTi", "KaiTi_GB2312", "STKaiti"})
        if (strcasecmp(face.c_str(), kai) == 0)
            return true;
    return false;
}

LOGFONT MakeLogFont(int height, int weight, BYTE pitch, const char* face) {
    LOGFONT font{};
    font.lfHeight = height;
    font.lfWeight = weight;
    font.lfCharSet = GB2312_CHARSET;
    font.lfPitchAndFamily = pitch;
    std::strncpy(font.lfFaceName, face, LF_FACESIZE - 1);
    return font;
}

// Stock fonts as a Chinese Windows has them, each made when first asked
// for (a new DC asks for the system font).
HGDIOBJ MakeStockFont(int index) {
    const char* song = "\xCB\xCE\xCC\xE5";            // 宋体 in GBK
    const char* newSong = "\xD0\xC2\xCB\xCE\xCC\xE5"; // 新宋体 in GBK
    LOGFONT font;
    switch (index) {
    case SYSTEM_FONT:
    case DEVICE_DEFAULT_FONT:
        font = MakeLogFont(16, FW_NORMAL, VARIABLE_PITCH, "System");
        break;
    case DEFAULT_GUI_FONT:
    case ANSI_VAR_FONT:
        font = MakeLogFont(-12, FW_NORMAL, VARIABLE_PITCH, song);
        break;
    case ANSI_FIXED_FONT:
    case OEM_FIXED_FONT:
        font = MakeLogFont(-12, FW_NORMAL, FIXED_PITCH, newSong);
        break;
    case SYSTEM_FIXED_FONT:
        font = MakeLogFont(16, FW_NORMAL, FIXED_PITCH, newSong);
        break;
    default:
        return nullptr;
    }
    return CreateFontIndirect(&font);
}

const bool g_stockFontMaker = (SetStockMaker(&MakeStockFont), true);

} // namespace

int FontObject::Describe(int size, void* buffer) const {
    if (!buffer)
        return int(sizeof(LOGFONT));
    if (size < int(sizeof(LOGFONT)))
        return 0;
    std::memcpy(buffer, &logFont, sizeof(LOGFONT));
    return int(sizeof(LOGFONT));
}

FontRequest RequestFor(const LOGFONT& font) {
    FontRequest request;
    request.height = font.lfHeight;
    request.width = font.lfWidth;
    request.bold = font.lfWeight >= FW_SEMIBOLD;
    request.italic = font.lfItalic != 0;
    request.fixedPitch = IsFixedPitchFace(font);
    request.antialiased = font.lfQuality >= ANTIALIASED_QUALITY;
    request.kai = IsKaiFace(font);
    return request;
}

FontObject& FontOf(DeviceContext& dc) {
    if (dc.state.font && dc.state.font->Kind() == GdiKind::Font)
        return *static_cast<FontObject*>(dc.state.font);
    (void)g_stockFontMaker;
    if (FontObject* system = LookupFont(static_cast<HFONT>(GetStockObject(SYSTEM_FONT))))
        return *system;
    static FontObject fallback(MakeLogFont(16, FW_NORMAL, VARIABLE_PITCH, "System"),
                               FontEngine::Default().Instance(FontRequest{16}));
    return fallback;
}

} // namespace platform

using namespace platform;

HFONT CreateFontIndirect(const LOGFONT* font) {
    if (!font)
        return nullptr;
    LOGFONT copy = *font;
    copy.lfFaceName[LF_FACESIZE - 1] = '\0';
    auto instance = FontEngine::Default().Instance(RequestFor(copy));
    return static_cast<HFONT>(
        RegisterGdiObject(std::make_unique<FontObject>(copy, std::move(instance))));
}

HFONT CreateFont(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                 DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision,
                 DWORD clipPrecision, DWORD quality, DWORD pitchAndFamily, LPCSTR faceName) {
    LOGFONT font{};
    font.lfHeight = height;
    font.lfWidth = width;
    font.lfEscapement = escapement;
    font.lfOrientation = orientation;
    font.lfWeight = weight;
    font.lfItalic = BYTE(italic);
    font.lfUnderline = BYTE(underline);
    font.lfStrikeOut = BYTE(strikeOut);
    font.lfCharSet = BYTE(charSet);
    font.lfOutPrecision = BYTE(outPrecision);
    font.lfClipPrecision = BYTE(clipPrecision);
    font.lfQuality = BYTE(quality);
    font.lfPitchAndFamily = BYTE(pitchAndFamily);
    if (faceName)
        std::strncpy(font.lfFaceName, faceName, LF_FACESIZE - 1);
    return CreateFontIndirect(&font);
}
