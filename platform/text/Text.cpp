#include "platform/text/Text.h"

#include "platform/Errors.h"
#include "platform/gdi/Path.h"
#include "platform/text/FontObject.h"
#include "platform/text/TextLayout.h"

#include <cstring>

using namespace platform;

namespace {

// The DC and the font it draws with, or null when either is missing; a font
// without a font file behind it counts as missing.
struct TextContext {
    DeviceContext* dc = nullptr;
    FontObject* font = nullptr;

    FontInstance& Instance() const { return *font->instance; }
};

TextContext ContextOf(HDC hdc) {
    TextContext context;
    context.dc = LookupDC(hdc);
    if (!context.dc) {
        SetLastError(ERROR_INVALID_HANDLE);
        return context;
    }
    FontObject& font = FontOf(*context.dc);
    if (font.instance && font.instance->Usable())
        context.font = &font;
    else
        SetLastError(ERROR_FILE_NOT_FOUND);
    return context;
}

std::string_view TextOf(LPCSTR text, int count) {
    if (!text || count == 0)
        return {};
    return std::string_view(text, count < 0 ? std::strlen(text) : size_t(count));
}

TextInk InkOf(const TextContext& context) {
    const DcState& state = context.dc->state;
    TextInk ink;
    ink.color = PixelFromColor(state.textColor);
    ink.opaque = state.bkMode == OPAQUE;
    ink.background = PixelFromColor(state.bkColor);
    ink.underline = context.font->logFont.lfUnderline != 0;
    ink.strikeout = context.font->logFont.lfStrikeOut != 0;
    return ink;
}

// The glyphs of a line as a filled area at (x, y), for a path: painted white
// on black off screen, pixels at least half covered belong to it.
void AddTextToPath(const TextContext& context, int x, int y, std::string_view text) {
    FontInstance& font = context.Instance();
    const int height = font.Metrics().height;
    const int margin = height / 2 + 2; // italic and bold glyphs overhang their cells
    const int width = LineWidth(font, text) + 2 * margin;
    if (height <= 0 || width <= 2 * margin)
        return;
    Surface mask(width, height, PixelFormat::Xrgb32());
    TextInk ink;
    ink.color = kWhitePixel;
    ink.underline = context.font->logFont.lfUnderline != 0;
    ink.strikeout = context.font->logFont.lfStrikeOut != 0;
    PaintLine(mask, {RECT{0, 0, width, height}}, nullptr, font, text, margin, 0, ink);
    auto rows = std::vector<std::vector<Span>>(size_t(height));
    for (int row = 0; row < height; ++row) {
        const uint32_t* pixels = mask.Row32(row);
        for (int column = 0; column < width;) {
            if (((pixels[column] >> 8) & 0xFF) < 0x80) {
                ++column;
                continue;
            }
            int start = column;
            while (column < width && ((pixels[column] >> 8) & 0xFF) >= 0x80)
                ++column;
            rows[size_t(row)].push_back(Span{start, column});
        }
    }
    Region area = Region::FromRows(0, rows);
    if (!area.CanOffset(x - margin, y))
        return;
    area.Offset(x - margin, y);
    AddAreaToPath(*context.dc, std::move(area));
}

int LineLeft(const RECT& rect, int width, UINT format) {
    if (format & DT_CENTER)
        return rect.left + (rect.right - rect.left - width) / 2;
    if (format & DT_RIGHT)
        return rect.right - width;
    return rect.left;
}

} // namespace

BOOL TextOut(HDC hdc, int x, int y, LPCSTR text, int count) {
    TextContext context = ContextOf(hdc);
    if (!context.font || count < 0 || (count > 0 && !text))
        return FALSE;
    if (OpenPath(*context.dc)) {
        AddTextToPath(context, x, y, std::string_view(text ? text : "", size_t(count)));
        return TRUE;
    }
    Surface* surface = context.dc->Target();
    if (!surface)
        return FALSE;
    PaintLine(*surface, context.dc->ClipRects(), nullptr, context.Instance(),
              std::string_view(text ? text : "", size_t(count)), context.dc->SurfaceX(x),
              context.dc->SurfaceY(y), InkOf(context));
    return TRUE;
}

int DrawText(HDC hdc, LPCSTR text, int count, LPRECT rect, UINT format) {
    TextContext context = ContextOf(hdc);
    if (!context.font || !rect || !text)
        return 0;
    FontInstance& font = context.Instance();
    TextLayout layout = LayOutText(font, TextOf(text, count), rect->right - rect->left, format);
    const FontMetrics& m = font.Metrics();
    int lineHeight = m.height + ((format & DT_EXTERNALLEADING) ? m.externalLeading : 0);
    int height = lineHeight * int(layout.lines.size());
    if (format & DT_CALCRECT) {
        rect->right = rect->left + layout.widest;
        rect->bottom = rect->top + height;
        return height;
    }
    int top = rect->top;
    if (format & DT_SINGLELINE) {
        if (format & DT_VCENTER)
            top = rect->top + (rect->bottom - rect->top - lineHeight) / 2;
        else if (format & DT_BOTTOM)
            top = rect->bottom - lineHeight;
    }
    Surface* surface = context.dc->Target();
    if (surface && !layout.lines.empty()) {
        DeviceContext& dc = *context.dc;
        RECT limit = dc.SurfaceRect(rect->left, rect->top, rect->right, rect->bottom);
        TextInk ink = InkOf(context);
        for (size_t i = 0; i < layout.lines.size(); ++i) {
            const LaidOutLine& line = layout.lines[i];
            int y = top + int(i) * lineHeight;
            // An edit control shows no partly visible last line.
            if ((format & DT_EDITCONTROL) && i > 0 && y + lineHeight > rect->bottom)
                break;
            ink.underlinedChar = line.underlinedChar;
            PaintLine(*surface, dc.ClipRects(), (format & DT_NOCLIP) ? nullptr : &limit, font,
                      line.text, dc.SurfaceX(LineLeft(*rect, line.width, format)), dc.SurfaceY(y),
                      ink, layout.style);
        }
    }
    bool fromTop = (format & DT_SINGLELINE) && (format & (DT_VCENTER | DT_BOTTOM));
    return fromTop ? top - rect->top + height : height;
}

BOOL GetTextExtentPoint32(HDC hdc, LPCSTR text, int count, SIZE* size) {
    if (!size)
        return FALSE;
    *size = SIZE{0, 0};
    TextContext context = ContextOf(hdc);
    if (!context.font || count < 0 || (count > 0 && !text))
        return FALSE;
    size->cx = LineWidth(context.Instance(), std::string_view(text ? text : "", size_t(count)));
    size->cy = context.Instance().Metrics().height;
    return TRUE;
}

BOOL GetTextExtentExPoint(HDC hdc, LPCSTR text, int count, int maxExtent, int* fit, int* extents,
                          SIZE* size) {
    if (fit)
        *fit = 0;
    if (!GetTextExtentPoint32(hdc, text, count, size))
        return FALSE;
    TextContext context = ContextOf(hdc);
    std::vector<int> ends;
    int fitting = FitBytes(context.Instance(), std::string_view(text ? text : "", size_t(count)),
                           maxExtent, extents ? &ends : nullptr);
    if (fit)
        *fit = fitting;
    if (extents)
        std::copy(ends.begin(), ends.begin() + fitting, extents);
    return TRUE;
}

BOOL GetTextMetrics(HDC hdc, TEXTMETRIC* metrics) {
    if (!metrics)
        return FALSE;
    *metrics = TEXTMETRIC{};
    TextContext context = ContextOf(hdc);
    if (!context.font)
        return FALSE;
    const FontMetrics& m = context.Instance().Metrics();
    const LOGFONT& lf = context.font->logFont;
    bool fixed = context.Instance().Request().fixedPitch;
    metrics->tmHeight = m.height;
    metrics->tmAscent = m.ascent;
    metrics->tmDescent = m.descent;
    metrics->tmInternalLeading = m.internalLeading;
    metrics->tmExternalLeading = m.externalLeading;
    metrics->tmAveCharWidth = m.averageCharWidth;
    metrics->tmMaxCharWidth = m.maxCharWidth;
    metrics->tmWeight = lf.lfWeight == FW_DONTCARE ? FW_NORMAL : lf.lfWeight;
    metrics->tmDigitizedAspectX = 96;
    metrics->tmDigitizedAspectY = 96;
    metrics->tmFirstChar = 0x20;
    metrics->tmLastChar = 0xFF;
    metrics->tmDefaultChar = 0x1F;
    metrics->tmBreakChar = 0x20;
    metrics->tmItalic = lf.lfItalic;
    metrics->tmUnderlined = lf.lfUnderline;
    metrics->tmStruckOut = lf.lfStrikeOut;
    metrics->tmPitchAndFamily = BYTE((lf.lfPitchAndFamily & 0xF0) | TMPF_TRUETYPE | TMPF_VECTOR |
                                     (fixed ? 0 : TMPF_FIXED_PITCH));
    metrics->tmCharSet = lf.lfCharSet == DEFAULT_CHARSET ? GB2312_CHARSET : lf.lfCharSet;
    return TRUE;
}
