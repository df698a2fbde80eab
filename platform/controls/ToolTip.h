#pragma once

// CToolTipCtrl: a tooltip window in the MFC shape. Tools are areas of other
// windows (a rectangle, or a whole window); the owner relays its mouse
// messages with RelayEvent, and the tip pops up beside the cursor after the
// initial delay, hides after the auto-pop delay, and hides at once on a click
// or when the mouse leaves the tool. Delays run on the process clock, so a
// test steps them.

#include "platform/controls/ControlWnd.h"

class CToolTipCtrl : public CControlWnd {
public:
    BOOL Create(CWnd* parent, DWORD style = 0);

    // Without a rectangle the tool is the whole window (TTF_IDISHWND).
    BOOL AddTool(CWnd* wnd, LPCTSTR text, LPCRECT toolRect = nullptr, UINT_PTR toolId = 0);
    // The text from the resource search's string of that id.
    BOOL AddTool(CWnd* wnd, UINT textId, LPCRECT toolRect = nullptr, UINT_PTR toolId = 0);
    void DelTool(CWnd* wnd, UINT_PTR toolId = 0);
    void UpdateTipText(LPCTSTR text, CWnd* wnd, UINT_PTR toolId = 0);
    void SetToolRect(CWnd* wnd, UINT_PTR toolId, LPCRECT rect);
    int GetToolCount() const;
    void Activate(BOOL activate);
    void RelayEvent(LPMSG msg);
    void Pop();
    // TTDT_AUTOMATIC sets all three from one time.
    void SetDelayTime(UINT delayMs) { SetDelayTime(TTDT_AUTOMATIC, int(delayMs)); }
    void SetDelayTime(DWORD which, int timeMs);
    int GetDelayTime(DWORD which) const;

private:
    TOOLINFO Tool(CWnd* wnd, UINT_PTR toolId, LPCRECT toolRect) const;
};
