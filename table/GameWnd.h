#pragma once

// The table window: the sprite window on which the game is shown. It owns
// the card layout of the hands and the played cards, the deal pacing window,
// the six seat displays, the balloon tips and the sound plug-in host; it
// links itself to the network client when it is created and unlinks itself
// when it is destroyed, and paints the table, its centre picture and the
// seat frames from the layout values into the background.

#include "platform/RuntimeClass.h"
#include "sprite/SpriteWnd.h"
#include "table/BalloonTipWnd.h"
#include "table/CardLayout.h"
#include "table/DealPaceWnd.h"
#include "table/GameWndLink.h"
#include "table/KNSoundHost.h"
#include "table/SeatDisplayWnd.h"
#include "table/TableCards.h"
#include "table/TableWndFields.h"

class CGameNetClient;
class CGameLayout;

// The table window's balloon tips: one per view position, the table tip, the
// wide status tip and the small hint tip.
enum GameWndTip { kTableTip = kSeatCount, kStatusTip, kHintTip, kTipCount };

class CGameWnd : public CSpriteWnd, public CGameWndLink, public CEventSink {
    DECLARE_DYNCREATE(CGameWnd)

public:
    enum { kControlId = 100, kCursorId = 3011 };

    CGameWnd();
    ~CGameWnd() override;

    // The layout values and the client the window works with; both must be
    // set before the window is created (the client is theClient unless a
    // test gives another).
    void SetLayout(CGameLayout* layout) { m_fields.pLayout = layout; }
    void SetClient(CGameNetClient* client) { m_pClient = client; }

    BOOL IsReceiveReady() const { return m_bReceiveReady; }
    // The theme file's path without its extension: the folder of its pictures.
    const CString& GetBitmapFolder() const { return m_strBitmapFolder; }
    DWORD GetSeatChangeTick() const { return m_dwSeatChangeTick; }
    CTableWndFields& Fields() { return m_fields; }
    CCardLayout& Hands() { return m_hands; }
    CTableCards& TableCards() { return m_tableCards; }
    CDealPaceWnd& DealPace() { return m_dealPace; }
    CSeatDisplayWnd& SeatDisplay(int seat) { return m_seatDisplays[seat]; }
    CBalloonTipWnd& Tip(int which) { return m_tips[which]; }
    CKNSoundHost& SoundHost() { return m_soundHost; }

    // The theme path cut at its last '.' (empty when it has none).
    static CString BitmapFolderOf(const CString& themeFile);

    // ---- what the network client asks of the table (CGameWndLink) ----
    HWND GetLinkWindow() const override { return m_hWnd; }
    void SetReceiveReady(BOOL ready) override { m_bReceiveReady = ready ? TRUE : FALSE; }
    void StopSprite(int id) override;
    BOOL IsGameOverMarkShown() const override { return m_bGameOverMark; }
    int GetMultiple() const override { return m_nMultiple; }
    void GetWatcherValues(int* beans, int* score) const override;
    // The display operations below belong to the table's flow display and
    // record handlers, which are not part of this window yet: each one is
    // logged and refused so that a call is seen rather than lost silently.
    void ShowNotice(LPCSTR text) override;
    void ShowStartButtons(BOOL show) override;
    void ShowSeatMark(int seat, BOOL show) override;
    void ResetTable() override;
    void HideFreeSeatMarks() override;
    void RedrawTableInfo() override;
    void UpdateSeatCards(int seat) override;
    void RefreshUserList() override;
    void ShowStartPane(BOOL show, int multiple) override;
    void OnChangeSeatScene() override;
    void RefreshSeat(int seat) override;
    void OpenChargeDialog(const DWORD values[4]) override;
    void OpenExchangeDialog(DWORD amount) override;

    // ---- what the sound plug-in reports back (CEventSink) ----
    int OnSinkEvent(int type, int value, void* data, int size) override;

    using CSpriteWnd::StopSprite;

protected:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    int OnCreate(LPCREATESTRUCT cs) override;
    void OnDestroy() override;
    void PostNcDestroy() override { delete this; }
    void DrawBackground(CDC* pDC, int cx, int cy) override;

private:
    void CreateSeatDisplays();
    void CreateTips();
    void NotBuiltYet(LPCSTR operation) const;
    // The table picture through its mask onto black, with the centre picture.
    void DrawTable(CDC* pDC, int cx, int cy);
    // The seat frame at the six seat places.
    void DrawSeatFrames(CDC* pDC);

    CGameNetClient* m_pClient;
    CTableWndFields m_fields;
    CCardLayout m_hands;
    CTableCards m_tableCards;
    CDealPaceWnd m_dealPace;
    CSeatDisplayWnd m_seatDisplays[kSeatCount];
    CBalloonTipWnd m_tips[kTipCount];
    CKNSoundHost m_soundHost;
    CString m_strThemeFile;
    CString m_strBitmapFolder;
    BOOL m_bReceiveReady;
    BOOL m_bGameOverMark;
    int m_nMultiple;
    int m_nWatcherBeans;
    int m_nWatcherScore;
    DWORD m_dwSeatChangeTick;
};
