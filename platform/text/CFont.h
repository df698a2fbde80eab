#pragma once

// CFont: the MFC-shaped owner of an HFONT. The font is deleted with the
// object unless it was detached.

#include "platform/gdi/GdiWrappers.h"
#include "platform/text/Font.h"

class CDC;

class CFont : public CGdiObject {
public:
    // A wrapper for a font the caller does not own; it lives as long as the
    // process and never deletes the font.
    static CFont* FromHandle(HFONT font);
    operator HFONT() const { return static_cast<HFONT>(m_hObject); }

    BOOL CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic,
                    BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision,
                    BYTE clipPrecision, BYTE quality, BYTE pitchAndFamily, LPCSTR faceName);
    BOOL CreateFontIndirect(const LOGFONT* font);
    // pointSize in tenths of a point, at the screen's 96 dots per inch.
    BOOL CreatePointFont(int pointSize, LPCSTR faceName, CDC* dc = nullptr);
    BOOL CreatePointFontIndirect(const LOGFONT* font, CDC* dc = nullptr);
    int GetLogFont(LOGFONT* font) const;
};
