// Text drawing of the utilities: wrapped, etched, and over a darkened copy.

#include "knclientUI05/KnClientPublic.h"

#include "platform/text/Text.h"
#include "platform/window/SystemMetrics.h"

#include <cstring>
#include <string>

namespace {

// Single line, tabs expanded, no prefix processing.
constexpr UINT kLineFormat = DT_SINGLELINE | DT_EXPANDTABS | DT_NOPREFIX;
constexpr UINT kEtchedFormat = DT_SINGLELINE | DT_VCENTER;

bool IsLeadByte(BYTE b) {
    return b >= 0x81 && b <= 0xFE;
}

// Bytes of the first character (a GBK pair counts as one).
int FirstCharacterBytes(const char* text) {
    if (IsLeadByte(BYTE(text[0])) && text[1] != '\0')
        return 2;
    return 1;
}

} // namespace

BOOL DrawWrappedText(HDC dc, LPCSTR text, int width, RECT* rect, BOOL measureOnly) {
    if (!text)
        return TRUE;
    if (!rect)
        return FALSE;
    int fit = 0;
    SIZE size{};
    if (!GetTextExtentExPoint(dc, text, int(std::strlen(text)), width, &fit, nullptr, &size))
        return FALSE;
    int y = rect->top;
    const char* rest = text;
    while (*rest) {
        // A line holds at least one whole character, or a width narrower
        // than a character would never get through the text.
        if (fit < 1)
            fit = FirstCharacterBytes(rest);
        std::string line;
        while (*rest && int(line.size()) < fit) {
            if (*rest == '\n') {
                ++rest;
                break;
            }
            line += *rest++;
        }
        if (!measureOnly) {
            for (char& c : line)
                if (c == '\r' || c == '\n')
                    c = ' ';
            RECT lineRect{rect->left, y, rect->right, rect->bottom};
            DrawText(dc, line.c_str(), int(line.size()), &lineRect, kLineFormat);
        }
        y += size.cy;
        if (*rest &&
            !GetTextExtentExPoint(dc, rest, int(std::strlen(rest)), width, &fit, nullptr, &size))
            return FALSE;
    }
    if (measureOnly) {
        rect->right = rect->left + width;
        rect->bottom = y;
    }
    return TRUE;
}

int DrawEtchedText(CDC* dc, CRect* rect, LPCSTR text, BOOL disabled) {
    COLORREF old = dc->SetTextColor(GetSysColor(COLOR_BTNHIGHLIGHT));
    CRect moved = *rect;
    moved.OffsetRect(1, 1);
    dc->DrawText(text, -1, &moved, kEtchedFormat);
    dc->SetTextColor(disabled ? GetSysColor(COLOR_BTNSHADOW) : RGB(0, 0, 0));
    dc->DrawText(text, -1, rect, kEtchedFormat);
    dc->SetTextColor(old);
    return 1;
}

void DrawOverDarkened(CDC* dest, int x, int y, int width, int height, CDC* source) {
    CDC shade;
    shade.CreateCompatibleDC(dest);
    CBitmap grey;
    grey.CreateCompatibleBitmap(dest, width, height);
    CBitmap* old = shade.SelectObject(&grey);
    shade.FillSolidRect(0, 0, width, height, RGB(127, 127, 127));
    // Each channel loses its top bit, then the source is laid over.
    dest->BitBlt(x, y, width, height, &shade, 0, 0, SRCAND);
    dest->BitBlt(x, y, width, height, source, 0, 0, SRCPAINT);
    shade.SelectObject(old);
}
