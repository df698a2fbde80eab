#include "knclientUI05/PromptWnd.h"

#include "platform/controls/ControlWnd.h"
#include "platform/system/DebugOutput.h"
#include "platform/window/WindowDcs.h"

#include <cstring>

namespace {

constexpr UINT kTickMs = 100;
constexpr int kDefaultShowTime = 7000;

// A label of the text in the next slot, in the window's font and colours
// (their defaults taken now).
BOOL StartPrompt(CPromptWnd& wnd, LPCSTR text) {
    if (wnd.m_hWnd == nullptr)
        return FALSE;
    CWnd* parent = wnd.GetParent();
    if (wnd.m_font.GetSafeHandle() == nullptr) {
        CFont* parentFont = parent != nullptr ? AfxGetWindowFont(parent) : nullptr;
        LOGFONT logFont{};
        if (parentFont == nullptr || !parentFont->GetLogFont(&logFont))
            return FALSE;
        logFont.lfHeight = -20;
        logFont.lfWeight = 1000;
        strncpy(logFont.lfFaceName, "楷体_GB2312", LF_FACESIZE - 1);
        wnd.m_font.CreateFontIndirect(&logFont);
    }
    if (wnd.m_crText == COLORREF(-1))
        wnd.m_crText = RGB(255, 255, 0);
    if (wnd.m_crBack == COLORREF(-1))
        wnd.m_crBack = RGB(0, 0, 0);
    if (wnd.m_nShowTime == 0)
        wnd.m_nShowTime = kDefaultShowTime;
    CPromptStr& slot = wnd.m_slots[wnd.m_nCur];
    if (!slot.IsIdle())
        return FALSE;
    if (!slot.Start(text, parent, wnd.m_nEndPos, wnd.m_nStartPos, wnd.m_nCenterX, wnd.m_nShowTime,
                    &wnd.m_font, wnd.m_crText, wnd.m_crBack))
        return FALSE;
    wnd.SetTimer(KN_PROMPT_TIMER, kTickMs);
    wnd.m_nCur = (wnd.m_nCur + 1) % CPromptWnd::kSlots;
    return TRUE;
}

// The next queued text starts once the label before it has risen far
// enough; TRUE unless it has to wait.
BOOL StartNextPrompt(CPromptWnd& wnd) {
    if (wnd.m_queue[wnd.m_nHead][0] == '\0')
        return TRUE;
    if (!wnd.m_slots[(wnd.m_nCur + CPromptWnd::kSlots - 1) % CPromptWnd::kSlots].CanFollow())
        return FALSE;
    StartPrompt(wnd, wnd.m_queue[wnd.m_nHead]);
    // Started or not, the text leaves the queue.
    wnd.m_queue[wnd.m_nHead][0] = '\0';
    wnd.m_nHead = (wnd.m_nHead + 1) % CPromptWnd::kQueue;
    return TRUE;
}

BOOL EnqueuePrompt(CPromptWnd& wnd, LPCSTR text) {
    if (wnd.m_queue[wnd.m_nTail][0] != '\0') {
        OutputDebugString("超过显示提示缓冲区长度了\n");
        return FALSE;
    }
    strncpy(wnd.m_queue[wnd.m_nTail], text, CPromptWnd::kTextBytes - 1);
    wnd.m_queue[wnd.m_nTail][CPromptWnd::kTextBytes - 1] = '\0';
    wnd.m_nTail = (wnd.m_nTail + 1) % CPromptWnd::kQueue;
    StartNextPrompt(wnd);
    if (wnd.m_hWnd != nullptr)
        wnd.SetTimer(KN_PROMPT_TIMER, kTickMs);
    return TRUE;
}

} // namespace

BOOL CPromptWnd::ShowPrompt(LPCSTR text) {
    if (text == nullptr || *text == '\0')
        return FALSE;
    return EnqueuePrompt(*this, text);
}

BOOL CPromptWnd::ShowPrompt(UINT stringId) {
    CString text;
    if (!text.LoadString(stringId) || text.IsEmpty())
        return FALSE;
    return EnqueuePrompt(*this, text);
}

void CPromptWnd::SetPosition(int startPos, int endPos, int centerX) {
    m_nStartPos = startPos;
    m_nEndPos = endPos;
    m_nCenterX = centerX;
}

void CPromptWnd::SetFont(CFont* font) {
    LOGFONT logFont{};
    if (font == nullptr || !font->GetLogFont(&logFont))
        return;
    m_font.DeleteObject();
    m_font.CreateFontIndirect(&logFont);
}

void CPromptWnd::OnTimer(UINT_PTR id) {
    if (id == KN_PROMPT_TIMER) {
        StartNextPrompt(*this);
        bool running = false;
        RECT dirty{0, 0, 0, 0};
        for (int i = 0; i < kSlots; ++i) {
            CPromptStr& slot = m_slots[(m_nCur + i) % kSlots];
            if (slot.IsIdle())
                continue;
            running = true;
            slot.Step();
            // The last place of a label that just ended is repainted too.
            UnionRect(&dirty, &dirty, &slot.DirtyRect());
        }
        if (!running) {
            KillTimer(KN_PROMPT_TIMER);
        } else if (CWnd* parent = GetParent()) {
            parent->InvalidateRect(&dirty, TRUE);
        }
    }
    CWnd::OnTimer(id);
}

void CPromptWnd::Draw(HDC hdc) {
    for (int i = 0; i < kSlots; ++i)
        m_slots[(m_nCur + i) % kSlots].Draw(hdc);
}

void CPromptWnd::Draw(CDC* dc) {
    if (dc != nullptr)
        Draw(dc->m_hDC);
}

BOOL CPromptWnd::IsBusy() const {
    for (const CPromptStr& slot : m_slots)
        if (!slot.IsIdle())
            return TRUE;
    return FALSE;
}
