#pragma once
// What the table window asks of the application, answered from the
// application object and its main frame. The dialogs the table opens are
// not part of this build yet: the default answers (nothing opened, logged)
// stand for them.

#include "table/TableAppLink.h"

class CGameAppLink : public CTableAppLink {
public:
    CString GetThemeFile() const override;
    int GetCardOrder() const override;
    BOOL IsSoundEffectsOn() const override;
    BOOL IsWatchAllowed() const override;
    CString GetSoundDir() const override;
    HWND GetMainHwnd() const override;
    void AppendChatSysText(LPCSTR text) override;
};

// The link start-up installs.
CGameAppLink& TheGameAppLink();
