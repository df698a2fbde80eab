#pragma once

// CPromptStr: one rising label of the prompt window: a translucent rounded
// box holding one line of text that rises over a window and fades out,
// step by step.

#include "knbase05/TablehubApi.h"
#include "platform/CString.h"
#include "platform/gdi/Gdi.h"
#include "platform/text/CFont.h"

class CWnd;
class CDC;

class TABLEHUB_API CPromptStr {
public:
    CPromptStr() = default;
    virtual ~CPromptStr();
    CPromptStr(const CPromptStr&) = delete;
    CPromptStr& operator=(const CPromptStr&) = delete;

    // Positions are percentages of the window's client height (0: 20 for
    // the end, 70 for the start), the centre in pixels (0: half the width),
    // the show time in milliseconds (0: 3000). FALSE for an empty text, a
    // missing window or a text with no outline.
    BOOL Start(LPCSTR text, CWnd* wnd, int endPos, int startPos, int centerX, int showTime,
               CFont* font, COLORREF crText, COLORREF crBack);
    // One tick; FALSE once the run has ended (the slot is idle again).
    BOOL Step();
    void Draw(HDC hdc);
    void Draw(CDC* dc);
    // Whether the next label may start: this one has risen past its own
    // height and a fifth.
    BOOL CanFollow() const;

    BOOL IsIdle() const { return m_bIdle; }
    const RECT& DirtyRect() const { return m_rcDirty; }
    const RECT& TextRect() const { return m_rcText; }
    int Steps() const { return m_nSteps; }
    int StepsDone() const { return m_nStep; }
    // The constant alpha of the next Draw.
    int Alpha() const;

private:
    BOOL m_bIdle = TRUE;
    CString m_strText;
    RECT m_rcDirty{0, 0, 0, 0};
    RECT m_rcText{0, 0, 0, 0};
    RECT m_rcPrev{0, 0, 0, 0};
    RECT m_rcStart{0, 0, 0, 0};
    CWnd* m_pWnd = nullptr;
    int m_nEndPos = 0;
    int m_nStartPos = 0;
    int m_nCenterX = 0;
    int m_nShowTime = 0;
    CFont m_font;
    HGDIOBJ m_hOldFont = nullptr;
    double m_dDy = 0;
    double m_dAlphaStep = 0;
    int m_nSteps = 0;
    int m_nStep = 0;
    HDC m_dc = nullptr;
    HBITMAP m_bmp = nullptr;
    HGDIOBJ m_hOldBmp = nullptr;
    COLORREF m_crText = RGB(255, 255, 0);
    COLORREF m_crBack = RGB(0, 0, 0);
    HPEN m_pen = nullptr;
    HBRUSH m_brush = nullptr;
};
