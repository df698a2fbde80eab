#include "knclientUI05/MsgBoxStyle.h"

#include "knclientUI05/LineBreaks.h"
#include "platform/controls/MessageBox.h"
#include "platform/resources/Resource.h"
#include "platform/window/WindowDcs.h"

#include <algorithm>
#include <iterator>
#include <string>

namespace {

constexpr tagMSGBOXBUTTONSET kButtonSets[] = {
    {1, {29700}, {IDOK}},
    {2, {29700, 29706}, {IDOK, IDCANCEL}},
    {3, {29701, 29702, 29703}, {IDABORT, IDRETRY, IDIGNORE}},
    {3, {29704, 29705, 29706}, {IDYES, IDNO, IDCANCEL}},
    {2, {29704, 29705}, {IDYES, IDNO}},
    {2, {29702, 29706}, {IDRETRY, IDCANCEL}},
};

} // namespace

const tagMSGBOXBUTTONSET& MsgBoxButtonSet(UINT style) {
    UINT set = style & MB_TYPEMASK;
    if (set >= std::size(kButtonSets))
        set = MB_OK;
    return kButtonSets[set];
}

int MsgBoxDefaultIndex(UINT style, int count) {
    switch (style & MB_DEFMASK) {
    case MB_DEFBUTTON1:
        return 0;
    case MB_DEFBUTTON2:
        return count >= 2 ? 1 : kMsgBoxNoDefault;
    case MB_DEFBUTTON3:
        return count >= 3 ? 2 : kMsgBoxNoDefault;
    default:
        return kMsgBoxFirstFocus;
    }
}

LPCSTR MsgBoxSystemIcon(UINT style) {
    switch (style & MB_ICONMASK) {
    case MB_ICONHAND:
        return IDI_HAND;
    case MB_ICONQUESTION:
        return IDI_QUESTION;
    case MB_ICONASTERISK:
        return IDI_ASTERISK;
    default:
        return IDI_EXCLAMATION;
    }
}

CString LoadedString(UINT id) {
    CString text;
    text.LoadString(id);
    return text;
}

SIZE MeasureMsgBoxText(CWnd* window, CFont* font, const CString& text) {
    CClientDC dc(window);
    CFont* oldFont = font != nullptr ? dc.SelectObject(font) : nullptr;
    SIZE total{0, 0};
    std::string line;
    auto finishLine = [&] {
        const CSize extent = line.empty() ? dc.GetTextExtent(" ", 1)
                                          : dc.GetTextExtent(line.data(), int(line.size()));
        total.cy += extent.cy + 2;
        total.cx = std::max(total.cx, extent.cx);
        line.clear();
    };
    LPCSTR chars = text.GetString();
    const int length = text.GetLength();
    for (int i = 0; i < length;) {
        if (const int br = LineBreakLengthAt(chars, length, i)) {
            finishLine();
            i += br;
        } else {
            line += chars[i++];
        }
    }
    finishLine();
    if (oldFont != nullptr)
        dc.SelectObject(oldFont);
    return total;
}
