#pragma once
// The magnifier: a small pop-up owned by the table window that shows the
// table around the mouse cursor enlarged, with a cursor mark in its middle
// and a green frame. It stays centred on the table, steps aside when the
// cursor reaches it, and refreshes its copy of the table seven times a
// second while shown.

#include "platform/window/Wnd.h"

#include <memory>

class CMemDC;
class CPicture;

class CMagnifierWnd : public CWnd {
public:
    static constexpr int kWidth = 200, kHeight = 120;
    static constexpr int kMargin = 5;
    // The area under the cursor that is enlarged.
    static constexpr int kSourceWidth = kWidth / 2, kSourceHeight = kHeight / 2;
    static constexpr UINT kFollowTimer = 500, kFollowMs = 10;
    static constexpr UINT kRefreshTimer = 100, kRefreshMs = 150;
    static constexpr COLORREF kBackColour = RGB(44, 48, 53);
    static constexpr COLORREF kFrameColour = RGB(0, 243, 190);

    CMagnifierWnd();
    ~CMagnifierWnd() override;

    // A hidden pop-up owned by the owner's window; nothing when it exists
    // already or there is no owner.
    BOOL Create(CWnd* owner, LPCSTR title);
    void Show();
    void Hide();

    void OnPaint() override;
    BOOL OnEraseBkgnd(CDC* dc) override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnMouseMove(UINT flags, CPoint point) override;
    void OnTimer(UINT_PTR id) override;

    BOOL IsHiddenByMouse() const { return m_bHiddenByMouse; }
    // The copy of the owner the view is taken from; null before the first.
    CMemDC* GetSnapshot() const { return m_pSnapDC.get(); }

private:
    void TakeSnapshot();
    void Follow();
    void CentreOnOwner();
    void DrawView(CDC& dc);
    // The pop-up's place: its size centred in the owner's client area, in
    // screen coordinates.
    CRect PlaceOnOwner() const;

    // The snapshot's bitmap lives and dies with its DC.
    std::unique_ptr<CMemDC> m_pSnapDC;
    CWnd* m_pOwner = nullptr;
    CPicture* m_pMouseImage = nullptr; // the theme's
    BOOL m_bHiddenByMouse = FALSE;
    bool m_bMoving = false;
};
