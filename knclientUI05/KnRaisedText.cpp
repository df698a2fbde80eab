// Raised text: the text scaled to fill a rectangle, in a heavy face over
// twelve offset copies in the button shading colours.

#include "knclientUI05/KnClientPublic.h"

#include "platform/text/CFont.h"
#include "platform/text/Font.h"
#include "platform/window/SystemMetrics.h"

#include <cstdint>
#include <cstring>

namespace {

// a * b / c rounded to the nearest whole number, halves away from zero.
int ScaleRounded(int a, int b, int c) {
    int64_t product = int64_t(a) * b;
    int64_t half = (c < 0 ? -int64_t(c) : int64_t(c)) / 2;
    return int((product + (product < 0 ? -half : half)) / c);
}

struct Copy {
    int colorIndex; // a system colour; -1 is the face colour
    int dx, dy;
};

// Drawn in this order: the later copies cover the earlier ones.
constexpr Copy kCopies[] = {
    {COLOR_3DDKSHADOW, -2, 2},
    {COLOR_3DDKSHADOW, 2, -2},
    {COLOR_3DDKSHADOW, 2, 2},
    {COLOR_BTNHIGHLIGHT, 1, -2},
    {COLOR_BTNHIGHLIGHT, -2, 1},
    {COLOR_BTNHIGHLIGHT, -2, -2},
    {COLOR_BTNSHADOW, -1, 1},
    {COLOR_BTNSHADOW, 1, -1},
    {COLOR_BTNSHADOW, 1, 1},
    {COLOR_3DLIGHT, 0, -1},
    {COLOR_3DLIGHT, -1, 0},
    {COLOR_3DLIGHT, -1, -1},
    {-1, 0, 0},
};

} // namespace

void DrawRaisedText(CDC* dc, LPCSTR text, CRect* rect, COLORREF face, const LOGFONT* font) {
    // Nothing to measure cannot be scaled to the rectangle.
    if (!dc || !text || !*text || !rect)
        return;
    int count = int(std::strlen(text));
    LOGFONT description{};
    if (font)
        description = *font;
    else
        GetObject(GetStockObject(DEFAULT_GUI_FONT), sizeof description, &description);
    if (description.lfHeight == 0)
        description.lfHeight = 20;
    description.lfWidth = 0;
    description.lfEscapement = 0;
    description.lfOrientation = 0;
    description.lfWeight = 1000;

    CFont measureFont;
    measureFont.CreateFontIndirect(&description);
    CFont* oldFont = dc->SelectObject(&measureFont);
    CSize size = dc->GetTextExtent(text, count);
    int width = rect->Width(), height = rect->Height();
    if (size.cx <= 0 || size.cy <= 0) {
        dc->SelectObject(oldFont);
        return;
    }
    // Scale by the tighter of the two directions, a pixel short of touching.
    if (int64_t(width) * size.cy > int64_t(height) * size.cx)
        description.lfHeight = ScaleRounded(description.lfHeight, height, size.cy);
    else
        description.lfHeight = ScaleRounded(description.lfHeight, width, size.cx);
    description.lfHeight -= 1;
    CFont drawFont;
    drawFont.CreateFontIndirect(&description);
    dc->SelectObject(&drawFont);
    size = dc->GetTextExtent(text, count);

    int x = rect->left + (width - size.cx) / 2 + 3;
    int y = rect->top + (height - size.cy) / 2 + 3;
    int oldMode = dc->SetBkMode(TRANSPARENT);
    COLORREF oldColor = dc->GetTextColor();
    for (const Copy& copy : kCopies) {
        dc->SetTextColor(copy.colorIndex < 0 ? face : GetSysColor(copy.colorIndex));
        dc->TextOut(x + copy.dx, y + copy.dy, text, count);
    }
    dc->SetTextColor(oldColor);
    dc->SetBkMode(oldMode);
    dc->SelectObject(oldFont);
}
