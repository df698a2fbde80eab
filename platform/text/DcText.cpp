// The text members of CDC.

#include "platform/gdi/Dc.h"
#include "platform/text/CFont.h"
#include "platform/text/Text.h"

CFont* CDC::SelectObject(CFont* font) {
    if (!font)
        return nullptr;
    return CFont::FromHandle(static_cast<HFONT>(::SelectObject(m_hDC, font->m_hObject)));
}

CFont* CDC::GetCurrentFont() const {
    return CFont::FromHandle(static_cast<HFONT>(::GetCurrentObject(m_hDC, OBJ_FONT)));
}

BOOL CDC::TextOut(int x, int y, LPCTSTR text, int count) {
    return ::TextOut(m_hDC, x, y, text, count);
}

BOOL CDC::TextOut(int x, int y, const CString& text) {
    return ::TextOut(m_hDC, x, y, text, text.GetLength());
}

int CDC::DrawText(LPCTSTR text, int count, LPRECT rect, UINT format) {
    return ::DrawText(m_hDC, text, count, rect, format);
}

int CDC::DrawText(const CString& text, LPRECT rect, UINT format) {
    return ::DrawText(m_hDC, text, text.GetLength(), rect, format);
}

CSize CDC::GetTextExtent(LPCTSTR text, int count) const {
    SIZE size{0, 0};
    ::GetTextExtentPoint32(m_hDC, text, count, &size);
    return CSize(size);
}

CSize CDC::GetTextExtent(const CString& text) const {
    return GetTextExtent(text, text.GetLength());
}
