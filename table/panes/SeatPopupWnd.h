#pragma once

// The seat pop-up: a small shaped window with three picture buttons that
// appears beside another player's name plate while no game runs: kick the
// player off the table, sit in that seat, watch that seat. It is a modeless
// dialog owned by the table window, made on first use and re-used.

#include "platform/controls/Dialog.h"
#include "platform/gdi/GdiWrappers.h"
#include "sprite/HoverButton.h"
#include "sprite/MemDC.h"
#include "table/panes/SeatPopupHost.h"

class CGameLayout;

enum class SeatPopupAction { None, Notice, Standup, Sit, Watch };

struct SeatPopupDecision {
    SeatPopupAction action = SeatPopupAction::None;
    LPCSTR notice = nullptr;
};

SeatPopupDecision DecideKick(const SeatPopupState& state);
SeatPopupDecision DecideSit(const SeatPopupState& state);
SeatPopupDecision DecideWatch(const SeatPopupState& state);

class CSeatPopupWnd : public CDialog {
public:
    enum {
        IDD = 3020,
        kKickId = 3006,
        kSitId = 3007,
        kWatchId = 3035,
        kCursorId = 3011,
        kButtonLeft = 11,
        kButtonTop = 4,
    };

    // What the pop-up asks of the table is its host's.
    explicit CSeatPopupWnd(CSeatPopupHost& host);
    ~CSeatPopupWnd() override;

    // The button strips come from the layout's seat-mark pictures "Out",
    // "Down" and "Eye"; the layout may be null (buttons without pictures).
    BOOL Create(CWnd* owner, CGameLayout* layout);
    void EnableButtons();

    BOOL HasPicture() const { return m_bHasPicture; }
    HCURSOR GetPopupCursor() const { return m_hCursor; }
    CHoverButton& Button(int index) { return m_buttons[index]; }

    void OnKick();
    void OnSit();
    void OnWatch();

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    // A hidden pop-up's tips stay away, though the cursor rests where a
    // button was.
    void OnShowWindow(BOOL show, UINT status) override;
    void OnPaint() override;
    BOOL OnEraseBkgnd(CDC*) override { return TRUE; }
    BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message) override;
    void OnOK() override {}
    void OnCancel() override { ShowWindow(SW_HIDE); }

private:
    void TakePicture();
    void PlaceButtons();
    void Carry(const SeatPopupDecision& decision, int seat);

    CHoverButton m_buttons[3]; // kick, sit, watch
    HCURSOR m_hCursor = nullptr;
    CMemDC m_memDC;
    BOOL m_bHasPicture = FALSE;
    SIZE m_size{0, 0};
    CGameLayout* m_pLayout = nullptr;
    CSeatPopupHost& m_host;
};
