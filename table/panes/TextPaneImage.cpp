#include "table/panes/TextPaneImage.h"

#include "platform/system/Profile.h"
#include "platform/text/Font.h"
#include "platform/text/Text.h"
#include "sprite/AppServices.h"

#include <cstdio>
#include <cstring>

bool IsIntegerFormat(const char* format) {
    int fields = 0;
    for (const char* p = format; *p; ++p) {
        if (*p != '%')
            continue;
        ++p;
        if (*p == '%')
            continue;
        while (*p && strchr("-+ #0", *p))
            ++p;
        while (*p >= '0' && *p <= '9')
            ++p;
        if (!*p || !strchr("diuxX", *p) || ++fields > 1)
            return false;
    }
    return true;
}

std::string FormatPaneText(const char* format, int value) {
    if (!format)
        return std::string();
    if (!IsIntegerFormat(format))
        return format;
    char text[512];
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
    snprintf(text, sizeof text, format, value);
#pragma GCC diagnostic pop
    return text;
}

CTextPaneImage::~CTextPaneImage() {
    if (m_hFont)
        DeleteObject(m_hFont);
}

BOOL CTextPaneImage::LoadTextPane(LPCSTR layoutFile, LPCSTR section, BOOL withMultiples) {
    const BOOL loaded =
        LoadBackground(layoutFile, section, withMultiples ? "bkgnd_bmp" : "bkgndNoMuliple_bmp", 2);
    if (!layoutFile || !section)
        return loaded;
    char value[260] = "";
    GetPrivateProfileString(section, "format_text", "", value, kFormatLength + 1, layoutFile);
    m_format = value;
    if (!IsIntegerFormat(value))
        WriteLog("Pane [%s] format_text: not one integer field, written as it stands", section);
    GetPrivateProfileString(section, "offset_text", "", value, sizeof value, layoutFile);
    int x = 0, y = 0;
    m_textPoint = sscanf(value, "%d,%d", &x, &y) == 2 ? POINT{x, y} : POINT{0, 0};
    GetPrivateProfileString(section, "font_name", "宋体", value, kFaceLength + 1, layoutFile);
    m_faceName = value;
    m_nFontSize = int(GetPrivateProfileInt(section, "font_size", -12, layoutFile));
    GetPrivateProfileString(section, "font_color", "", value, sizeof value, layoutFile);
    int r = 0, g = 0, b = 0;
    m_colour = sscanf(value, "%d,%d,%d", &r, &g, &b) == 3 ? RGB(r, g, b) : RGB(255, 255, 255);
    if (m_hFont)
        DeleteObject(m_hFont);
    m_hFont = CreateFont(m_nFontSize, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0,
                         m_faceName.c_str());
    return loaded;
}

void CTextPaneImage::Draw(HDC hdc, int, SPRITEINFO*, int dx, int dy, int w, int h, int sx, int sy,
                          int nAlpha) {
    DrawPane(hdc, dx, dy, w, h, sx, sy, nAlpha, [&](HDC dc) {
        DrawHalfBackground(dc);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, m_colour);
        HGDIOBJ oldFont = m_hFont ? SelectObject(dc, m_hFont) : nullptr;
        const std::string text = FormatPaneText(m_format.c_str(), m_nValue);
        TextOut(dc, m_textPoint.x, m_textPoint.y, text.c_str(), int(text.size()));
        const std::string first = std::to_string(m_nFirst), second = std::to_string(m_nSecond);
        TextOut(dc, 128, 251, first.c_str(), int(first.size()));
        TextOut(dc, 116, 266, second.c_str(), int(second.size()));
        if (oldFont)
            SelectObject(dc, oldFont);
    });
}
