#pragma once

// A picture to draw on with the platform's GDI: a 32-bit DIB section in a
// memory DC, with the few drawing steps the assets need.

#include "platform/gdi/Gdi.h"
#include "platform/gdi/PixelImage.h"

#include <cstdint>
#include <string>

class Canvas {
public:
    Canvas(int width, int height);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC Dc() const { return m_dc; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }

    void Fill(int left, int top, int right, int bottom, COLORREF colour);
    // Shapes filled with fill and outlined with a one-pixel pen of line.
    void Box(int left, int top, int right, int bottom, COLORREF fill, COLORREF line);
    void RoundBox(int left, int top, int right, int bottom, int corner, COLORREF fill,
                  COLORREF line);
    void Oval(int left, int top, int right, int bottom, COLORREF fill, COLORREF line);
    void Line(int x1, int y1, int x2, int y2, COLORREF colour, int width = 1);
    // GBK text in the CJK font, transparent background.
    void Text(int x, int y, const char* text, int height, COLORREF colour, int weight = 400);

    // GBK text centred in the rectangle, on one line.
    void CentredText(const RECT& rect, const char* text, int height, COLORREF colour,
                     int weight = 400);
    void Polygon(const POINT* points, int count, COLORREF fill, COLORREF line);
    // The extent of a GBK text in the CJK font.
    SIZE TextExtent(const char* text, int height, int weight = 400) const;
    // The pixels as 0x00RRGGBB, rows top-down.
    uint32_t* Bits() { return m_bits; }

    platform::PixelImage Image() const;

private:
    int m_width;
    int m_height;
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_oldBitmap = nullptr;
    uint32_t* m_bits = nullptr;
};

// Writes a .bmp (24 bits); false with a message on stderr.
bool SaveBitmap(const platform::PixelImage& image, const std::string& path);
