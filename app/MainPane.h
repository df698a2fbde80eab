#pragma once
// The main frame's one client child: the table window on the left, the chat
// side pane on the right, and between them a splitter bar whose small button
// hides or shows the chat area.

#include "platform/RuntimeClass.h"
#include "platform/gdi/GdiWrappers.h"
#include "platform/window/Wnd.h"
#include "sprite/HoverButton.h"

class CGameWnd;
class CToolWnd;

class CMainPane : public CWnd {
public:
    enum { kPaneId = 0xE900, kTableId = 100, kToolId = 200, kOpenId = 300, kCloseId = 400 };

    CMainPane();

    // The bar pictures (shown and hidden chat area) and the two buttons'
    // four-frame strips; the bitmaps stay the caller's.
    void SetSplitterBitmaps(CBitmap* bar, CBitmap* barHidden, CBitmap* openStrip,
                            CBitmap* closeStrip);
    void SetBarWidths(int maxWidth, int minWidth, int width);
    // Makes the two children and the bar buttons; FALSE when a child fails.
    BOOL CreateViews(const CRuntimeClass* left, const CRuntimeClass* right);
    CGameWnd* GetGameWnd() const;
    CToolWnd* GetToolWnd() const;

    void ShowChatArea();
    void HideChatArea();
    void RecalcLayout();
    BOOL IsChatShown() const { return m_nToolWidth > 0; }
    int GetToolWidth() const { return m_nToolWidth; }
    BOOL CanDrag() const { return m_nMinWidth < m_nMaxWidth; }

    // The children's and the bar's places for a client rectangle.
    struct Places {
        CRect left, right, bar, button;
    };
    Places Compute(const CRect& client) const;

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnPaint() override;
    BOOL OnEraseBkgnd(CDC*) override { return TRUE; }
    BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message) override;
    void OnLButtonDown(UINT flags, CPoint point) override;
    void OnLButtonUp(UINT flags, CPoint point) override;
    void OnMouseMove(UINT flags, CPoint point) override;
    void OnRButtonDown(UINT flags, CPoint point) override;

private:
    // The bar buttons act only while the table takes records; FALSE: taken, nothing done.
    BOOL TableReadyForBarButton();
    // Inverts a bar-sized rectangle with the bar's left edge at x over the
    // whole pane, children included: drawn twice it is gone.
    void InvertTracker(int x);
    // The side width a bar dropped with its left edge at x leaves.
    int SideWidthFor(int barLeft) const;

    int m_nMargin = 0;
    int m_nBarWidth = 5;
    int m_nBtnWidth = 0;
    int m_nBtnHeight = 0;
    BOOL m_bDragging = FALSE;
    int m_nGrabOffset = 0;
    int m_nTrackerX = 0; // the tracker's left edge while dragging
    CHoverButton m_btnOpen;
    CHoverButton m_btnClose;
    CBitmap* m_pBarBitmap = nullptr;
    CBitmap* m_pBarBitmapAlt = nullptr;
    CBitmap* m_pOpenStrip = nullptr;
    CBitmap* m_pCloseStrip = nullptr;
    int m_nSavedWidth = 200;
    int m_nMaxWidth = 300;
    int m_nMinWidth = 100;
    int m_nToolWidth = 200;
};
