#include "platform/text/CFont.h"

#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>

namespace {

// Points are 1/72 inch; the screen has 96 dots per inch.
constexpr int kScreenDpi = 96;

// Wrappers handed out by FromHandle. They are never destroyed, so they never
// delete the fonts they show.
struct BorrowedFonts {
    std::mutex mutex;
    std::map<HFONT, std::unique_ptr<CFont>> wrappers;
};

} // namespace

BOOL CFont::CreateFont(int height, int width, int escapement, int orientation, int weight,
                       BYTE italic, BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision,
                       BYTE clipPrecision, BYTE quality, BYTE pitchAndFamily, LPCSTR faceName) {
    return Attach(::CreateFont(height, width, escapement, orientation, weight, italic, underline,
                               strikeOut, charSet, outPrecision, clipPrecision, quality,
                               pitchAndFamily, faceName));
}

BOOL CFont::CreateFontIndirect(const LOGFONT* font) {
    return Attach(::CreateFontIndirect(font));
}

BOOL CFont::CreatePointFont(int pointSize, LPCSTR faceName, CDC* dc) {
    LOGFONT font{};
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfHeight = pointSize;
    if (faceName)
        std::strncpy(font.lfFaceName, faceName, LF_FACESIZE - 1);
    return CreatePointFontIndirect(&font, dc);
}

BOOL CFont::CreatePointFontIndirect(const LOGFONT* font, CDC*) {
    if (!font)
        return FALSE;
    LOGFONT pixels = *font;
    // Tenths of a point to a character height in pixels, rounded.
    int height = (std::abs(int(font->lfHeight)) * kScreenDpi + 360) / 720;
    pixels.lfHeight = -height;
    return CreateFontIndirect(&pixels);
}

int CFont::GetLogFont(LOGFONT* font) const {
    return m_hObject ? GetObject(int(sizeof(LOGFONT)), font) : 0;
}

CFont* CFont::FromHandle(HFONT font) {
    if (!font)
        return nullptr;
    static BorrowedFonts* borrowed = new BorrowedFonts; // outlives static destructors
    std::lock_guard lock(borrowed->mutex);
    std::unique_ptr<CFont>& wrapper = borrowed->wrappers[font];
    if (!wrapper) {
        wrapper = std::make_unique<CFont>();
        wrapper->m_hObject = font; // not attached: the wrapper never owns the font
    }
    return wrapper.get();
}
