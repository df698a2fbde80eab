#pragma once
// What the table window asks of the application: the dialogs it opens are
// kept by CTableDialogs; this adds the settings (from the application's one
// settings store), the main window and the chat pane.

#include "app/TableDialogs.h"

class CGameAppLink : public CTableDialogs {
public:
    CString GetThemeFile() const override;
    int GetCardOrder() const override;
    int GetClockOrder() const override;
    int BeginGameClockOrder() override;
    BOOL IsSoundEffectsOn() const override;
    BOOL IsWatchAllowed() const override;
    CString GetSoundDir() const override;
    HWND GetMainHwnd() const override;
    void AppendChatSysText(LPCSTR text) override;
};

// The link start-up installs.
CGameAppLink& TheGameAppLink();
