#pragma once

// The parts of the plain and the skinned message box that go the same way
// (the two boxes have the same members): the default button, the input
// line, the button row with the countdown beside it, the countdown's text
// and the end by a button.

#include "knclientUI05/MsgBoxDlg.h"
#include "knclientUI05/MsgBoxStyle.h"

namespace msgbox {

constexpr UINT kCountdownTimer = 1;
constexpr int kMargin = 8;
constexpr int kButtonGap = 10;
constexpr int kButtonSlack = 64; // the button row's width beyond its buttons

inline SIZE SizeOf(CWnd& control) {
    RECT r;
    control.GetWindowRect(&r);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

inline void Place(CWnd* control, const RECT& r) {
    if (control != nullptr && control->m_hWnd != nullptr)
        control->MoveWindow(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

// The button the style names as default takes the focus and gives the
// countdown's result; without one, the first button has the focus.
template <class Box> void SetUpDefaultButton(Box& box) {
    box.m_nDefResult = box.m_nBtnResult[0];
    CWnd* controls[3] = {&box.m_btn1, &box.m_btn2, &box.m_btn3};
    const int index = MsgBoxDefaultIndex(box.m_nStyle, box.m_nButtons);
    if (index == kMsgBoxFirstFocus && box.m_btn1.m_hWnd != nullptr)
        box.m_btn1.SetFocus();
    if (index < 0)
        return;
    box.SetDefID(IDC_KN_BUTTON1 + UINT(index));
    if (controls[index]->m_hWnd != nullptr)
        controls[index]->SetFocus();
    box.m_nDefResult = box.m_nBtnResult[index];
}

// The input control in use goes under the text, one button high; the
// others are hidden (both without the input line).
template <class Box> void PlaceInputs(Box& box, const RECT& textRect, int height) {
    CWnd* input1 = box.GetDlgItem(IDC_KN_INPUT1);
    CWnd* input2 = box.GetDlgItem(IDC_KN_INPUT2);
    if (!box.m_bInput) {
        if (input1 != nullptr)
            input1->ShowWindow(SW_HIDE);
        if (input2 != nullptr)
            input2->ShowWindow(SW_HIDE);
        return;
    }
    const RECT inputRect{textRect.left, textRect.bottom + 4, textRect.right,
                         textRect.bottom + 4 + height};
    Place(box.m_bSecondInput ? input2 : input1, inputRect);
    if (box.m_bSecondInput && input1 != nullptr)
        input1->ShowWindow(SW_HIDE);
}

// The buttons in use from `left`, all the size of the first, then the
// countdown centred in the room right of the last one.
template <class Box> void PlaceButtonRow(Box& box, int left, int top, SIZE button, int width) {
    CWnd* controls[3] = {&box.m_btn1, &box.m_btn2, &box.m_btn3};
    const SIZE countdown = SizeOf(box.m_stcCountdown);
    int lastRight = left;
    for (int i = 0; i < box.m_nButtons; ++i) {
        Place(controls[i], RECT{left, top, left + button.cx, top + button.cy});
        lastRight = left + button.cx;
        left = lastRight + kButtonGap;
    }
    const int countdownLeft = lastRight + (width - lastRight - countdown.cx) / 2;
    const int countdownTop = top + (button.cy - countdown.cy) / 2;
    Place(&box.m_stcCountdown, RECT{countdownLeft, countdownTop, countdownLeft + countdown.cx,
                                    countdownTop + countdown.cy});
}

template <class Box> void UpdateCountdown(Box& box) {
    CString text;
    text.Format("%d", box.m_nSeconds);
    box.m_stcCountdown.SetWindowText(text);
}

// Ends the box with a button's result. TRUE when the input line's texts are
// to be taken first: the caller then ends it through its OK handling.
template <class Box> BOOL EndWithButton(Box& box, int index) {
    if (index >= box.m_nButtons)
        return FALSE;
    if (box.m_nSeconds != 0)
        box.KillTimer(kCountdownTimer);
    box.m_nResult = box.m_nBtnResult[index];
    if (box.m_bInput)
        return TRUE;
    box.EndDialog(box.m_nResult);
    return FALSE;
}

} // namespace msgbox
