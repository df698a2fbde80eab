#include "knclientUI05/PromptWnd.h"

#include "platform/controls/ControlWnd.h"
#include "platform/system/DebugOutput.h"
#include "platform/window/WindowDcs.h"

#include <cstring>

namespace {

constexpr UINT kTickMs = 100;
constexpr int kDefaultShowTime = 7000;

} // namespace

BOOL CPromptWnd::ShowPrompt(LPCSTR text) {
    if (text == nullptr || *text == '\0')
        return FALSE;
    return EnqueuePrompt(text);
}

BOOL CPromptWnd::ShowPrompt(UINT stringId) {
    CString text;
    if (!text.LoadString(stringId) || text.IsEmpty())
        return FALSE;
    return EnqueuePrompt(text);
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

BOOL CPromptWnd::EnqueuePrompt(LPCSTR text) {
    if (m_queue[m_nTail][0] != '\0') {
        OutputDebugString("超过显示提示缓冲区长度了\n");
        return FALSE;
    }
    strncpy(m_queue[m_nTail], text, kTextBytes - 1);
    m_queue[m_nTail][kTextBytes - 1] = '\0';
    m_nTail = (m_nTail + 1) % kQueue;
    StartNextPrompt();
    if (m_hWnd != nullptr)
        SetTimer(KN_PROMPT_TIMER, kTickMs);
    return TRUE;
}

BOOL CPromptWnd::StartNextPrompt() {
    if (m_queue[m_nHead][0] == '\0')
        return TRUE;
    if (!m_slots[(m_nCur + kSlots - 1) % kSlots].CanFollow())
        return FALSE;
    StartPrompt(m_queue[m_nHead]);
    // Started or not, the text leaves the queue.
    m_queue[m_nHead][0] = '\0';
    m_nHead = (m_nHead + 1) % kQueue;
    return TRUE;
}

BOOL CPromptWnd::StartPrompt(LPCSTR text) {
    if (m_hWnd == nullptr)
        return FALSE;
    CWnd* parent = GetParent();
    if (m_font.GetSafeHandle() == nullptr) {
        CFont* parentFont = parent != nullptr ? AfxGetWindowFont(parent) : nullptr;
        LOGFONT logFont{};
        if (parentFont == nullptr || !parentFont->GetLogFont(&logFont))
            return FALSE;
        logFont.lfHeight = -20;
        logFont.lfWeight = 1000;
        strncpy(logFont.lfFaceName, "楷体_GB2312", LF_FACESIZE - 1);
        m_font.CreateFontIndirect(&logFont);
    }
    if (m_crText == COLORREF(-1))
        m_crText = RGB(255, 255, 0);
    if (m_crBack == COLORREF(-1))
        m_crBack = RGB(0, 0, 0);
    if (m_nShowTime == 0)
        m_nShowTime = kDefaultShowTime;
    CPromptStr& slot = m_slots[m_nCur];
    if (!slot.IsIdle())
        return FALSE;
    if (!slot.Start(text, parent, m_nEndPos, m_nStartPos, m_nCenterX, m_nShowTime, &m_font,
                    m_crText, m_crBack))
        return FALSE;
    SetTimer(KN_PROMPT_TIMER, kTickMs);
    m_nCur = (m_nCur + 1) % kSlots;
    return TRUE;
}

void CPromptWnd::OnTimer(UINT_PTR id) {
    if (id == KN_PROMPT_TIMER) {
        StartNextPrompt();
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
