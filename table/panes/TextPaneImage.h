#pragma once

// The start pane: its background, one line of text formatted from the
// layout's format with the pane's value, and two numbers.

#include "table/panes/PaneImage.h"

#include <string>

// The text a format makes of a value. A format may hold one integer field
// (%d, %i, %u, %x with flags and a width) and "%%"; any other conversion
// could read what was never passed, so such a format is written as it stands.
std::string FormatPaneText(const char* format, int value);
bool IsIntegerFormat(const char* format);

class CTextPaneImage : public CPaneImage {
public:
    static constexpr int kFormatLength = 100;
    static constexpr int kFaceLength = 32;

    explicit CTextPaneImage(int nId) : CPaneImage(nId) {}
    ~CTextPaneImage() override;

    // The background ("bkgnd_bmp", or "bkgndNoMuliple_bmp" without the
    // multiples) and the text's format, place, font and colour. A missing or
    // broken place or colour gives (0, 0) and white.
    BOOL LoadTextPane(LPCSTR layoutFile, LPCSTR section, BOOL withMultiples);
    void Draw(HDC hdc, int nFrame, SPRITEINFO* pSprite, int dx, int dy, int w, int h, int sx,
              int sy, int nAlpha) override;

    const std::string& GetFormat() const { return m_format; }
    const std::string& GetFaceName() const { return m_faceName; }
    int GetFontSize() const { return m_nFontSize; }
    POINT GetTextPoint() const { return m_textPoint; }
    COLORREF GetTextColour() const { return m_colour; }

    int m_nValue = 0;
    int m_nFirst = 8;
    int m_nSecond = 16;

private:
    std::string m_format;
    std::string m_faceName = "宋体";
    int m_nFontSize = -12;
    POINT m_textPoint{0, 0};
    COLORREF m_colour = RGB(255, 255, 255);
    HFONT m_hFont = nullptr;
};
