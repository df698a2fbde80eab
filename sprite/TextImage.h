#pragma once

// One line of text in a font and colour, drawn with a transparent background.

#include "platform/text/Font.h"
#include "sprite/SpriteImage.h"

class CTextImage : public CSpriteImage {
public:
    static constexpr int kMaxText = 500;

    CTextImage();
    ~CTextImage() override;
    // FALSE when the text has 500 characters or more; otherwise keeps it and
    // measures it in the new font on the screen.
    BOOL SetText(LPCSTR text, LPCSTR faceName, int nHeight, COLORREF color);

    LPCSTR GetText() const { return m_szText; }
    SIZE GetSize(SPRITEINFO*) override { return m_extent; }
    int GetFrameCount(SPRITEINFO*) override { return 1; }
    void Draw(HDC hdc, int nFrame, SPRITEINFO* pSprite, int dx, int dy, int w, int h, int sx,
              int sy, int nAlpha) override;

private:
    char m_szText[kMaxText] = "";
    int m_nLength = 0;
    LOGFONT m_logFont{};
    COLORREF m_color = 0;
    SIZE m_extent{0, 0};
    HFONT m_hFont = nullptr;
};
