// The etched group frame a skinned dialog can draw round one of its
// controls, with the control's text set into the top line.

#include "knclientUI05/KNGameDialog.h"
#include "platform/gdi/Dc.h"
#include "platform/text/Text.h"

void CKNGameDialog::DrawGroupFrame(CDC* dc, UINT id, COLORREF crText, COLORREF crLine1,
                                   COLORREF crLine2) {
    CWnd* control = GetDlgItem(int(id));
    if (dc == nullptr || control == nullptr)
        return;
    RECT r;
    control->GetWindowRect(&r);
    ScreenToClient(&r);
    CString text;
    control->GetWindowText(text);
    CFont* font = control->GetFont();
    CFont* oldFont = font != nullptr ? dc->SelectObject(font) : nullptr;
    const int w = dc->GetTextExtent(text, text.GetLength()).cx;
    const int l = r.left, t = r.top, rt = r.right, b = r.bottom;

    CPen dark(PS_SOLID, 1, crLine1);
    CPen* oldPen = dc->SelectObject(&dark);
    dc->MoveTo(l, t + 5);
    dc->LineTo(l, b - 1);
    dc->LineTo(rt - 1, b - 1);
    dc->LineTo(rt - 1, t + 5);
    dc->LineTo(l + w + 10, t + 5);
    dc->MoveTo(l, t + 5);
    dc->LineTo(l + 10, t + 5);

    CPen light(PS_SOLID, 1, crLine2);
    dc->SelectObject(&light);
    dc->MoveTo(l + 1, t + 6);
    dc->LineTo(l + 1, b - 1);
    dc->MoveTo(l, b);
    dc->LineTo(rt, b);
    dc->LineTo(rt, t + 5);
    dc->MoveTo(rt - 2, t + 6);
    dc->LineTo(l + w + 10, t + 6);
    dc->MoveTo(l + 1, t + 6);
    dc->LineTo(l + 10, t + 6);
    dc->SelectObject(oldPen);

    dc->SetTextColor(crText);
    dc->SetBkMode(TRANSPARENT);
    RECT textRect{l + 10, t - 5, l + 40, t + 15};
    dc->DrawText(text, &textRect, DT_SINGLELINE | DT_VCENTER | DT_NOCLIP);
    if (oldFont != nullptr)
        dc->SelectObject(oldFont);
}
