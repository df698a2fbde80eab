#pragma once

// CHyperStatic: a static text that paints its own text, wrapped character by
// character to its width, with web links (tagged <A href="...">text</a> or
// bare "http://" and "www." addresses) in the link colour and underlined.
// Over a link the mouse shows a hand; a click opens the address.

#include "knbase05/TablehubApi.h"
#include "platform/controls/Controls.h"

#include <vector>

class TABLEHUB_API CHyperStatic : public CStatic {
public:
    struct LinkRecord {
        RECT rect; // client coordinates, the line gap below included
        char szURL[256];
    };

    CHyperStatic() = default;
    ~CHyperStatic() override;

    COLORREF m_crText = 0;
    COLORREF m_crLink = 0xFF0000;
    // The next paint records the links; cleared by every paint.
    BOOL m_bCollectLinks = TRUE;
    std::vector<LinkRecord> m_links;
    HCURSOR m_hHandCursor = nullptr;
    HCURSOR m_hPrevCursor = nullptr;
    CFont* m_pFont = nullptr;
    BOOL m_bOverLink = FALSE;
    const LinkRecord* m_pCurLink = nullptr;

protected:
    void OnPaint() override;
    void OnMouseMove(UINT flags, CPoint point) override;
    void OnLButtonDown(UINT flags, CPoint point) override;
    void OnCaptureChanged(CWnd* wnd) override;
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
};
