#pragma once

// What the table window asks of the application beyond its small services
// (WriteLog, GetExeFolder, FileExists, ShowMessageBox): the application's
// settings the table reads, the chat pane's system lines, the main window,
// and the application's dialogs and pop-ups the table opens or reads. The
// application installs its implementation at start-up; until then (and in
// tests that install none) a default answers with the settings' defaults,
// opens no dialog and logs each refused request.

#include "platform/CString.h"
#include "platform/window/Wnd.h"

#include "sprite/WindowMessages.h"

class CTableAppLink {
public:
    virtual ~CTableAppLink() = default;

    // ---- settings of the application ----
    // The theme file the table's pictures and text sprites come from.
    virtual CString GetThemeFile() const;
    // "CardOrder" of the settings: non-zero keeps the hand sorted by weight.
    virtual int GetCardOrder() const { return 0; }
    // "ClockOrder" in force: non-zero turns the seats the other way round.
    virtual int GetClockOrder() const { return 0; }
    // A game starts: the seat direction chosen for the next game comes into
    // force; gives it.
    virtual int BeginGameClockOrder() { return GetClockOrder(); }
    // When off, no table sound plays.
    virtual BOOL IsSoundEffectsOn() const { return TRUE; }
    // When on, a player lets the watchers see his cards.
    virtual BOOL IsWatchAllowed() const { return FALSE; }
    // The face of the wide status tip's font.
    virtual CString GetTipFontFace() const { return "宋体"; }
    // The folder the table's sounds are played from.
    virtual CString GetSoundDir() const;

    // ---- main window and chat pane ----
    // The main window (for WM_CLOSE and the leave message); null when none.
    virtual HWND GetMainHwnd() const { return nullptr; }
    // A system line in the chat pane; nothing while there is no chat control.
    virtual void AppendChatSysText(LPCSTR text);

    // ---- magnifier ----
    // Makes the hidden magnifier pop-up owned by the table; null when none.
    virtual CWnd* CreateMagnifier(CWnd* owner, LPCSTR windowName);
    virtual void ShowMagnifier(BOOL show);

    // ---- score history dialog (modeless) ----
    virtual BOOL HasHistoryDialog() const { return FALSE; }
    // FALSE when it cannot be made.
    virtual BOOL CreateHistoryDialog(CWnd* parent);
    virtual BOOL IsHistoryShown() const { return FALSE; }
    virtual void ShowHistoryDialog(BOOL show);
    // Moves to the newest page and repaints.
    virtual void RefreshHistoryDialog() {}
    // The shown history, where it reaches below the screen line (the top of
    // my play), moves up as far as it must, but not above the table's top.
    virtual void KeepHistoryAbove(int line, int tableTop) {
        (void)line;
        (void)tableTop;
    }

    // ---- betting dialog (modeless) ----
    virtual BOOL HasTakeChanceDialog() const { return FALSE; }
    virtual BOOL CreateTakeChanceDialog(CWnd* parent);
    virtual BOOL IsTakeChanceShown() const { return FALSE; }
    virtual void ShowTakeChanceDialog(BOOL show);
    // The bean figure in its item 3032.
    virtual void SetTakeChanceBeans(int beans) { (void)beans; }
    // Its status text, then repaints its information.
    virtual void SetTakeChanceStatus(LPCSTR text) { (void)text; }
    // A guess of mine was settled (posted as WM_TAKECHANCE_RESULT).
    virtual void PostTakeChanceResult(int amountWon, int drawnCard) {
        (void)amountWon;
        (void)drawnCard;
    }

    // ---- coin dialogs (modeless; each replaces an open one) ----
    virtual BOOL OpenExchangeDialog(CWnd* parent, DWORD amount);
    virtual BOOL OpenChargeDialog(CWnd* parent, const DWORD values[4]);
};

// The installed link, or the default when none is installed.
CTableAppLink& TableApp();
// Installs the application's link; null goes back to the default. The link
// stays the caller's.
void SetTableAppLink(CTableAppLink* link);
