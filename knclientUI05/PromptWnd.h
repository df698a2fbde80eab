#pragma once

// CPromptWnd: short notices that rise over the parent window as translucent
// rounded labels and fade out, several at once, one after another. It is a
// child window for its timer only: the labels are painted onto the parent,
// whose painting calls Draw with its paint DC.

#include "knbase05/TablehubApi.h"
#include "knclientUI05/PromptStr.h"
#include "platform/window/Wnd.h"

#define KN_PROMPT_TIMER 13528

class TABLEHUB_API CPromptWnd : public CWnd {
public:
    static constexpr int kSlots = 10;
    static constexpr int kQueue = 10;
    static constexpr int kTextBytes = 256;

    CPromptWnd() = default;
    ~CPromptWnd() override = default;

    // FALSE for an empty text, or when the queue is full.
    BOOL ShowPrompt(LPCSTR text);
    BOOL ShowPrompt(UINT stringId);
    // Percentages of the parent's client height and the centre in pixels;
    // 0 keeps each one's default (70, 20, half the width).
    void SetPosition(int startPos, int endPos, int centerX);
    // Not the key colour RGB(255, 0, 255).
    void SetTextColor(COLORREF color) { m_crText = color; }
    void SetBkColor(COLORREF color) { m_crBack = color; }
    // Milliseconds; 0 is the default of 7 seconds.
    void SetShowTime(int ms) { m_nShowTime = ms; }
    void SetFont(CFont* font);
    void Draw(CDC* dc);
    void Draw(HDC hdc);
    BOOL IsBusy() const;

    const CPromptStr& Slot(int index) const { return m_slots[index]; }

protected:
    void OnTimer(UINT_PTR id) override;

public:
    CPromptStr m_slots[kSlots];
    int m_nCur = 0;
    char m_queue[kQueue][kTextBytes] = {};
    int m_nTail = 0;
    int m_nHead = 0;
    int m_nStartPos = 0;
    int m_nEndPos = 0;
    int m_nCenterX = 0;
    int m_nShowTime = 0;
    COLORREF m_crText = COLORREF(-1);
    COLORREF m_crBack = COLORREF(-1);
    CFont m_font;
};
