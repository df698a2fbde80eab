#pragma once

// The table's panes as sprite images: each loads a background named in the
// table's layout file, knows its size and draws its values over it. Every
// draw renders the whole pane, clipped to the part asked for.
//
// Backgrounds are read from the layout file's bitmap folder (the file's
// path cut at its last '.'). One that does not load, or is too narrow for
// its cells, leaves no bitmap and a (0, 0) size, with a line in the log.

#include "sprite/SpriteImage.h"

class CPaneImage : public CSpriteImage {
public:
    explicit CPaneImage(int nId);
    ~CPaneImage() override;
    CPaneImage(const CPaneImage&) = delete;
    CPaneImage& operator=(const CPaneImage&) = delete;

    SIZE GetSize(SPRITEINFO*) override { return SIZE{m_cx, m_cy}; }
    int GetFrameCount(SPRITEINFO*) override { return 1; }
    void Draw(HDC, int, SPRITEINFO*, int, int, int, int, int, int, int) override {}

    HBITMAP GetBitmap() const { return m_hBitmap; }

    int m_cx = 0;
    int m_cy = 0;

protected:
    // Loads the key's bitmap of the section; the pane is its width / cells
    // wide and as high as it. FALSE (logged) when it does not load or is
    // narrower than the cells.
    BOOL LoadBackground(LPCSTR layoutFile, LPCSTR section, LPCSTR key, int cells);
    // Composes the pane: render(dc) draws the whole pane at (0, 0).
    template <typename Render>
    void DrawPane(HDC hdc, int dx, int dy, int w, int h, int sx, int sy, int nAlpha,
                  Render render) {
        if (m_hBitmap)
            DrawWholeFrame(hdc, dx, dy, w, h, sx, sy, SIZE{m_cx, m_cy}, nAlpha, render);
    }
    // The left m_cx x m_cy of the bitmap through the part beside it.
    void DrawHalfBackground(HDC dc) const;
    void FreeBitmap();

    HBITMAP m_hBitmap = nullptr; // owned
};

// One bitmap: a picture rectangle drawn through an alpha rectangle.
class CAlphaHalfImage : public CPaneImage {
public:
    explicit CAlphaHalfImage(int nId) : CPaneImage(nId) {}
    // Takes the bitmap (freed with the image): its left half the picture,
    // its right half the alpha.
    BOOL SetBitmap(HBITMAP hBitmap);
    // The same with the two rectangles given; FALSE (nothing kept) when
    // they differ in size or leave the bitmap.
    BOOL SetBitmap(HBITMAP hBitmap, const RECT& picture, const RECT& alpha);
    void Draw(HDC hdc, int nFrame, SPRITEINFO* pSprite, int dx, int dy, int w, int h, int sx,
              int sy, int nAlpha) override;

private:
    RECT m_picture{0, 0, 0, 0};
    RECT m_alpha{0, 0, 0, 0};
};

// The font the panes write with: "宋体" at the height and weight, in the
// character set given, with the table's precisions and quality.
HFONT CreatePaneFont(int height, int weight, BYTE charset);
