#include "tools/assetgen/Canvas.h"

#include "platform/images/BmpFile.h"
#include "platform/text/Font.h"
#include "platform/text/Text.h"

#include <cstdio>
#include <cstring>

Canvas::Canvas(int width, int height) : m_width(width), m_height(height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    m_dc = CreateCompatibleDC(nullptr);
    m_bitmap = CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    m_bits = static_cast<uint32_t*>(bits);
    m_oldBitmap = SelectObject(m_dc, m_bitmap);
}

Canvas::~Canvas() {
    SelectObject(m_dc, m_oldBitmap);
    DeleteObject(m_bitmap);
    DeleteDC(m_dc);
}

void Canvas::Fill(int left, int top, int right, int bottom, COLORREF colour) {
    RECT rect{left, top, right, bottom};
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(m_dc, &rect, brush);
    DeleteObject(brush);
}

namespace {

// Selects a brush and pen for one shape and puts the old ones back after.
class ShapeTools {
public:
    ShapeTools(HDC dc, COLORREF fill, COLORREF line, int width = 1)
        : m_dc(dc), m_brush(CreateSolidBrush(fill)), m_pen(CreatePen(PS_SOLID, width, line)) {
        m_oldBrush = SelectObject(dc, m_brush);
        m_oldPen = SelectObject(dc, m_pen);
    }
    ~ShapeTools() {
        SelectObject(m_dc, m_oldBrush);
        SelectObject(m_dc, m_oldPen);
        DeleteObject(m_brush);
        DeleteObject(m_pen);
    }

private:
    HDC m_dc;
    HBRUSH m_brush;
    HPEN m_pen;
    HGDIOBJ m_oldBrush;
    HGDIOBJ m_oldPen;
};

} // namespace

void Canvas::Box(int left, int top, int right, int bottom, COLORREF fill, COLORREF line) {
    ShapeTools tools(m_dc, fill, line);
    Rectangle(m_dc, left, top, right, bottom);
}

void Canvas::RoundBox(int left, int top, int right, int bottom, int corner, COLORREF fill,
                      COLORREF line) {
    ShapeTools tools(m_dc, fill, line);
    RoundRect(m_dc, left, top, right, bottom, corner, corner);
}

void Canvas::Oval(int left, int top, int right, int bottom, COLORREF fill, COLORREF line) {
    ShapeTools tools(m_dc, fill, line);
    Ellipse(m_dc, left, top, right, bottom);
}

void Canvas::Line(int x1, int y1, int x2, int y2, COLORREF colour, int width) {
    ShapeTools tools(m_dc, colour, colour, width);
    MoveToEx(m_dc, x1, y1, nullptr);
    LineTo(m_dc, x2, y2);
}

void Canvas::Text(int x, int y, const char* text, int height, COLORREF colour, int weight) {
    HFONT font = CreateFont(height, 0, 0, 0, weight, 0, 0, 0, 134, 0, 0, 0, 0, "宋体");
    HGDIOBJ old = SelectObject(m_dc, font);
    SetBkMode(m_dc, TRANSPARENT);
    SetTextColor(m_dc, colour);
    TextOut(m_dc, x, y, text, int(strlen(text)));
    SelectObject(m_dc, old);
    DeleteObject(font);
}

void Canvas::CentredText(const RECT& rect, const char* text, int height, COLORREF colour,
                         int weight) {
    HFONT font = CreateFont(height, 0, 0, 0, weight, 0, 0, 0, 134, 0, 0, 0, 0, "宋体");
    HGDIOBJ old = SelectObject(m_dc, font);
    SetBkMode(m_dc, TRANSPARENT);
    SetTextColor(m_dc, colour);
    RECT box = rect;
    DrawText(m_dc, text, -1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(m_dc, old);
    DeleteObject(font);
}

void Canvas::Polygon(const POINT* points, int count, COLORREF fill, COLORREF line) {
    ShapeTools tools(m_dc, fill, line);
    ::Polygon(m_dc, points, count);
}

SIZE Canvas::TextExtent(const char* text, int height, int weight) const {
    HFONT font = CreateFont(height, 0, 0, 0, weight, 0, 0, 0, 134, 0, 0, 0, 0, "宋体");
    HGDIOBJ old = SelectObject(m_dc, font);
    SIZE extent{0, 0};
    GetTextExtentPoint32(m_dc, text, int(strlen(text)), &extent);
    SelectObject(m_dc, old);
    DeleteObject(font);
    return extent;
}

platform::PixelImage Canvas::Image() const {
    platform::PixelImage image;
    image.Reset(m_width, m_height);
    if (m_bits)
        for (size_t i = 0; i < image.pixels.size(); ++i)
            image.pixels[i] = m_bits[i] & 0x00FFFFFFu;
    return image;
}

bool SaveBitmap(const platform::PixelImage& image, const std::string& path) {
    std::string error;
    if (platform::SaveBmpFile(path, image, platform::BmpFormat::Rgb24, &error))
        return true;
    fprintf(stderr, "assetgen: cannot write %s: %s\n", path.c_str(), error.c_str());
    return false;
}
