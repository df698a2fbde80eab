#pragma once

// The table's speech bubble: a borderless, semi-transparent pop-up shaped as
// a rounded rectangle with a pointed tail, holding one or more lines of text.
// Points are screen coordinates.

#include "platform/gdi/GdiWrappers.h"
#include "platform/text/CFont.h"
#include "platform/window/Wnd.h"
#include "table/panes/BalloonTipLayout.h"

class CBalloonTipWnd : public CWnd {
public:
    enum { kHideTimer = 20000, kShowTimer = 20001, kShowLaterMs = 300 };

    CBalloonTipWnd();
    ~CBalloonTipWnd() override;

    BOOL Create(CWnd* owner);

    void SetAutoHide(int ms) { m_nAutoHideMs = ms; }
    void SetTail(int baseWidth, int offset);
    void SetMinSize(int width, int height);
    BOOL SetMaxSize(int width, int height);
    void SetMargins(int x, int y);
    void SetCorner(int width, int height);
    void SetShadow(int x, int y, int percent);
    void SetOpacity(int percent);
    void SetBkColor(COLORREF colour) { m_crBackground = colour; }
    void SetTextColor(COLORREF colour) { m_crText = colour; }
    void SetFont(int which);
    void SetFrame(COLORREF colour, int width);
    // 1: a click hides the tip; 0: the click goes on to the owner.
    void SetClickHides(BOOL hides) { m_bClickHides = hides; }
    // Screen area the body and the tail point are kept in when shown, moved
    // in from the edges they would cross; an empty area keeps them as given.
    void SetBounds(const RECT& area) { m_Bounds = area; }

    void Show(LPCSTR text, int bodyX, int bodyY, int tailX, int tailY, int mode);
    void ShowLater(LPCSTR text, int bodyX, int bodyY, int tailX, int tailY, int mode);
    void MoveTo(LPCSTR text, int bodyX, int bodyY, int tailX, int tailY, int mode);
    void Hide();

    BOOL IsShown() const { return m_bShown != 0; }
    int GetOpacity() const { return m_nOpacity; }
    // The body in screen coordinates, and the lines as measured.
    RECT GetBodyRect() const;
    const std::vector<std::string>& GetLines() const { return m_Lines; }
    BOOL IsSingleLine() const { return m_bSingleLine; }

protected:
    void OnPaint() override;
    void OnTimer(UINT_PTR id) override;
    void OnLButtonUp(UINT flags, CPoint point) override;
    void OnRButtonUp(UINT flags, CPoint point) override;

private:
    void StorePoints(int bodyX, int bodyY, int tailX, int tailY, int mode);
    void ApplyOpacity();
    // Lines, body size and text rectangle with the current font; false when
    // the font has no width.
    bool Measure(HDC dc);
    void BuildShape();
    void MouseUp(UINT message, UINT flags, CPoint point);

    BOOL m_bClickHides;
    BYTE m_bShown;
    int m_nOpacity;
    CFont m_Fonts[2];
    CFont m_Font;
    CRgn m_BodyRgn;
    CRgn m_TailRgn;
    CRgn m_ShapeRgn;
    CRgn m_ShadowRgn;
    CWnd* m_pOwner;
    BOOL m_bSingleLine;
    CString m_strText;
    int m_nAutoHideMs;
    int m_nFrameWidth;
    COLORREF m_crFrame;
    COLORREF m_crText;
    COLORREF m_crBackground;
    int m_nMaxWidth;
    int m_nMaxHeight;
    int m_nMinWidth;
    int m_nMinHeight;
    int m_nTailBase;
    int m_nTailOffset;
    int m_nMarginX;
    int m_nMarginY;
    int m_nCornerWidth;
    int m_nCornerHeight;
    int m_nShadowX;
    int m_nShadowY;
    int m_nShadowPercent;
    int m_nLineSpacing;
    int m_nSelectedFont;
    RECT m_Bounds;

    // Geometry of the tip shown.
    int m_nMode;
    POINT m_Tail;
    POINT m_BodyPoint;
    POINT m_Origin; // the window's top-left
    RECT m_Body;    // in window coordinates
    RECT m_TextRect;
    int m_nTextHeight;
    std::vector<std::string> m_Lines;
};
