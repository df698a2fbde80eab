#pragma once

// The table window: the sprite window on which the game is shown. It owns
// the card layout of the hands and the played cards, the deal pacing window,
// the six seat displays, the balloon tips, the sound plug-in host, the
// table's 27 buttons and the deck of card backs; it links itself to the
// network client when it is created and unlinks itself when it is destroyed,
// paints the table, the seat frames and the name plates into the background,
// and shows the flow of a game: the deal, the turn clock, the action buttons,
// notices, seat marks, text animations and card flights. The game records
// are handled by its record handling (TableRecords.h), which shows them
// through this window as its view (TableView.h). Every part is given the
// board the window is made with, and this window as the narrow interface
// it asks things of (its command view, its marks', panes' and
// information's host), in its constructor.

#include "game/GameLogic.h"
#include "game/StateRecords.h"
#include "platform/PtrList.h"
#include "platform/RuntimeClass.h"
#include "sprite/SpriteButton.h"
#include "sprite/SpriteWnd.h"
#include "sprite/WindowMessages.h"
#include "table/cards/CardLayout.h"
#include "table/cards/DealPaceWnd.h"
#include "table/cards/TableCards.h"
#include "table/client/GameWndLink.h"
#include "table/common/GameWndIds.h"
#include "table/common/TableWndFields.h"
#include "table/panes/InfoHost.h"
#include "table/panes/MarkHost.h"
#include "table/panes/PaneHost.h"
#include "table/panes/SeatDisplayWnd.h"
#include "table/panes/TableInfo.h"
#include "table/panes/TableMarks.h"
#include "table/panes/TablePanes.h"
#include "table/records/TableRecords.h"
#include "table/records/TableView.h"
#include "table/window/CommandView.h"
#include "table/window/KNSoundHost.h"
#include "table/window/TableCommands.h"

#include <deque>
#include <map>

class CGameNetClient;
class CReceiveGate;
class CGameLayout;

class CGameWnd : public CSpriteWnd,
                 public CGameWndLink,
                 public CEventSink,
                 public CTableView,
                 public CCommandView,
                 public CMarkHost,
                 public CPaneHost,
                 public CInfoHost {
    DECLARE_DYNCREATE(CGameWnd)

public:
    enum {
        kControlId = 100,
        kCursorId = 3011,
        kDeckStep = 8,
        kDeckLayer = 100,
        kDealCount = kCardCodeCount
    };

    // The table shows the board the records are applied to; the main frame
    // makes it by its runtime class, which gives the program's one board.
    CGameWnd();
    explicit CGameWnd(CGameLogic& board);
    ~CGameWnd() override;

    // The layout values and the client the window works with; both must be
    // set before the window is created (the client is theClient unless a
    // test gives another).
    void SetLayout(CGameLayout* layout) { m_fields.pLayout = layout; }
    void SetClient(CGameNetClient* client);

    // The client's receive gate: held while a record is presented.
    CReceiveGate& ReceiveGate() const;
    BOOL IsReceiveReady() const;
    // The record handling that shows its records here, and the player's
    // commands its buttons, mouse and clocks give.
    CTableCommands& Commands() { return m_commands; }
    CTableInfo& Info() { return m_info; }
    // The theme file's path without its extension: the folder of its pictures.
    static CString BitmapFolderOf(const CString& themeFile);
    DWORD GetSeatChangeTick() const { return m_dwSeatChangeTick; }
    const TableViewpoint& Viewpoint() const { return m_fields.viewpoint; }
    // Takes my seat and watcher state from the client and the seat direction
    // and card order from the settings: on creation, a seat change and a
    // settings change, before anything is laid for them.
    void UpdateViewpoint();
    CCardLayout& Hands() { return m_hands; }
    CSpriteButtonEx& Button(int index) override { return m_buttons[index]; }
    static int ButtonIdOf(int index);
    BOOL IsInputAllowed() const override { return m_bInputAllowed; }
    // The top of my own part of the table, in client coordinates: the play
    // buttons, my turn's clock while it runs and my hand with a card raised.
    // A pane or dialog that ends above it leaves my play in view.
    int MyPlayTop() override;
    // Whether I only watch (always without a client) and my action mask.
    BOOL IsWatcher() const override;
    int MyMask() const override;

    // ---- what the network client asks of the table (CGameWndLink) ----
    HWND GetLinkWindow() const override { return m_hWnd; }
    void StopSprite(int id) override;
    using CSpriteWnd::StopSprite;
    BOOL IsGameOverMarkShown() const override { return m_marks.IsGameOverMarkShown(); }
    int GetMultiple() const override { return m_records.GetMultiple(); }
    void GetWatcherValues(int* beans, int* score) const override;
    void ShowNotice(LPCSTR text) override;
    void ShowQuestionLine(LPCSTR text) override;
    void ShowSeatMark(int seat, BOOL show) override;
    void RefreshSeat(int seat) override;
    void ShowExchangeMark(int seat) override { m_marks.ShowExchangeMark(seat); }
    void OpenChargeDialog(const DWORD values[4]) override;
    void OpenExchangeDialog(DWORD amount) override;
    void ShowStartButtons(BOOL show) override { m_panes.ShowStartButtons(show); }
    void ResetTable() override { m_records.ResetTable(); }
    void HideFreeSeatMarks() override { m_records.HideFreeSeatMarks(); }
    void RedrawTableInfo() override;
    void UpdateSeatCards(int seat) override { m_records.UpdateSeatCards(seat); }
    void RefreshUserList() override { m_info.UpdateUserInfo(FALSE); }
    void ShowStartPane(BOOL show, int multiple) override { m_panes.ShowStartPane(show, multiple); }
    void OnChangeSeatScene() override {
        UpdateViewpoint();
        m_records.OnChangeSeatScene();
    }

    // ---- what the sound plug-in reports back (CEventSink) ----
    int OnSinkEvent(int type, int value, void* data, int size) override;

    // ---- what the record handling shows (CTableView) ----
    void ShowMyHand() override;
    void ClearMyHand() override;
    void LayPlay(int seat, const int32_t* codes, int count, BOOL blind, int handCount) override;
    void TakeUpSeatCards(int seat) override;
    void ClearTableCards() override;
    BOOL CollectRound() override;
    int IntributeFlyCard(int fromSeat, const int* cards, int count, int toSeat) override;
    BOOL FlyCards(int fromSeat, int toSeat, int card, int endEvent) override;
    BOOL SwapFlyCards(int seatA, int cardA, int seatB, int cardB, int endEvent) override;
    void StartDeal(const int* codes, int count, int mySeat) override;
    void ClearCues() override;
    void ClearShownHands() override;
    void ShowCueCards(const int32_t* codes, int count, int fromSeat) override;
    void ShowAllyHand(const int32_t* codes, int count, int seat) override;
    void ClearSelection() override;
    void ClearLastCards() override;
    void ShowTurnClock(int seconds, int endEvent) override;
    void StopCountdown() override;
    void StartTurnTimeout(int seconds) override;
    void StartRoundEnd() override;
    void StopRoundEnd() override;
    void RepaintPlates() override;
    void RestartInfoTimers(UINT plateMs) override;
    void UpdateActionButtons(int state, int mask, BOOL show) override;
    void ShowTrustButtons(BOOL trusted) override;
    void ShowTrustExitOnly() override;
    void UpdateCueButtons() override;
    void ResetHints() override { m_commands.ResetHints(); }
    void EnableSeatButtons(BOOL enable) override;
    void ShowCoinButtons() override;
    void HideSeatTips() override { m_info.HideSeatTips(); }
    void PlayGameSound(LPCSTR file) override;
    void PlayVoice(LPCSTR format, int seat, int variant = -1) override;
    void RedrawSeatPlate(int seat) override;
    void UpdateUserInfo(BOOL levelRise) override { m_info.UpdateUserInfo(levelRise); }
    void SetSeatLevel(int seat, int level) override { m_info.SetSeatLevel(seat, level); }
    void UpdateTitle(BOOL watcher) override { m_info.UpdateTitle(watcher); }
    void TurnSeatsForGame() override;
    void SetSoundPlayer(int seat, BOOL male) override;
    void PassPluginData(const void* data) override;

    // ---- flow display beyond the records ----
    // One dealt card (0x49C): card -1 is another seat's card; the deal is
    // done (0x49D).
    void OnDealCard(int card, int seat);
    void OnDealEnd();
    // The clock centred at (x, y, anchor), running value frames; endEvent
    // 3000..3005 names whose turn it is.
    void StartCountdown(int x, int y, int anchor, int value, int endEvent);

    // A new deal: the hand cleared, the deck shown, the deal window started.
    void ResetCardSprites();

    // The wide status tip at the main window's bottom right.
    void ShowStatusTip(LPCSTR text) { m_info.ShowStatusTip(text); }

    // ---- game records ----
    // 0x1005: runs the handler of the record's kind.
    LRESULT OnGameMessage(WPARAM length, LPARAM record);
    void OnUserTimer(UINT_PTR id) override;
    // The held record is done: the receive gate opens.
    void EndHeldRecord();

protected:
    // A sound file's full path for the theme's player (tests record it).
    virtual void PlaySoundPath(LPCSTR path);
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    int OnCreate(LPCREATESTRUCT cs) override;
    void OnDestroy() override;
    void PostNcDestroy() override { delete this; }
    void DrawBackground(CDC* pDC, int cx, int cy) override;
    void OnSpriteFrame(POSITION pos, int nParam, int nFrame, int nFrameCount) override;
    // The private messages of the table (sprite/WindowMessages.h).
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnResize(UINT nType, int cx, int cy) override;
    void OnMouseMoveEx(UINT nFlags, int x, int y) override;
    void OnLButtonDownEx(UINT nFlags, int x, int y) override;
    void OnLButtonUpEx(UINT nFlags, int x, int y) override;
    void OnRButtonDownEx(UINT nFlags, int x, int y) override;
    // Asks the server for a seat (watch 0 sits, 1 watches).
    virtual void RequestSeatChange(int seat, int watch);

private:
    // ---- what the player's commands ask of the table (CCommandView) ----
    CWnd* DialogParent() override { return this; }
    BOOL HasWindow() const override { return m_hWnd != nullptr; }
    POINT ToScreen(POINT clientPoint) override;
    void TakeFocus() override { SetFocus(); }
    void OpenSoundPanel(POINT screenPoint) override;
    CSpriteButtonEx* PaneButton(int id) override;

    // ---- what the panes and the information ask besides (CPaneHost, CInfoHost) ----
    void ClearPlayMarks() override;
    void ShowResultBanner(LPCSTR name, int spriteId, int paneTop) override {
        m_marks.ShowResultBanner(name, spriteId, paneTop);
    }
    void PlayLevelUp(int seat) override { m_marks.PlayUpgradeAnim(seat); }

    void CreateSeatDisplays();
    void CreateButtons();
    void SetInitialButtonStates();
    void CreateCardFaces();
    void CreateDeck();
    void CreateClock();

    // ---- flow display helpers ----
    void ShowClockCounter(POSITION clock, int value);
    void ShowActionButton(int button, BOOL enabled);
    // -1 when every notice id is in use.
    int NextNoticeId();
    // Starts the waiting notices that have room, and looks again later for
    // those that have none yet.
    void ShowWaitingNotices();
    // FALSE when the notice must wait for the one before to rise.
    BOOL StartNotice(const CString& text);
    // A card face flying between two points, running onLanded when it lands
    // (with the end event, -1 for none); null (logged) when it cannot.
    POSITION FlyFace(int card, const CSpritePos& from, const CSpritePos& to, int rest, int endEvent,
                     SpriteDone onLanded = {});
    // What a flight the records wait for does on landing: with the event of
    // cards landed, it ends their record.
    SpriteDone RecordLanding(int endEvent);
    // The table picture through its mask onto black, with the centre picture.
    void DrawTable(CDC* pDC, int cx, int cy);
    // The seat frame at the six seat places.
    void DrawSeatFrames(CDC* pDC);
    // The magnifier sits in the middle of the table, a fifth of its size.
    void MoveMagnifier(int cx, int cy);
    void DrawSeatPlate(CDC* pDC, int seat);
    void DrawSeatPlates(CDC* pDC);
    // The plate of a view position (the layout's avatar place and size).
    CRect PlateRect(int view) const override;
    COLORREF PlateTextColor(int view) const;

    // ---- room on the table (GameWndRoom.cpp) ----
    struct TakenPlace {
        int spriteId; // -1 for a place kept whatever stands there
        CRect rect;
    };
    // What a mark or a text keeps clear of, as the table shows it now: the
    // cards where they come to rest, the marks, the panes, the buttons and,
    // for a text, the other texts and the notices' way.
    std::vector<TakenPlace> TakenPlaces(TableRoomFor what);
    // The rectangle of the sprite's picture at the point.
    CRect StandingRect(SPRITEINFO* s, const CSpritePos& at);
    CSpritePos ClearPlace(const CSpritePos& at, SIZE size, int spriteId,
                          TableRoomFor what) override;
    // The marks, panes and texts that stand over something that came up
    // after them step aside.
    void SettleTablePictures() override;

    // ---- input, sprite events and the player's actions ----
    void PickCards(int x, int y);
    void FinishCardsSettled();
    // TRUE when the faces changed.
    BOOL SwitchCardFaces(int cx);
    BOOL RebuildDeckBacks(int step, int widthExtra);
    // Shows the backs of the deck that a running deal has not used yet.
    void ShowDeckBacksLeft();

    CGameLogic& m_board;
    CGameNetClient* m_pClient;
    CTableWndFields m_fields{m_board};

    CSpriteButtonEx m_buttons[kButtonCount];
    POSITION m_deck[kDeckSize] = {};
    int m_nCardsToDeal = 0;
    CString m_strThemeFile;
    CString m_strBitmapFolder;
    // The last notice's sprite id (-1 none) and the next id to give.
    int m_nLastNoticeId = -1;
    int m_nNextNoticeId = kFirstNoticeId;
    // The notices waiting for room, and the texts of those up by sprite id.
    std::deque<CString> m_noticesWaiting;
    std::map<int, CString> m_noticeTexts;

    CDealPaceWnd m_dealPace;
    CTableCards m_tableCards{*this, m_fields};
    CWnd* m_pMagnifier = nullptr;
    BYTE m_bInputAllowed = 1;
    CCardLayout m_hands{*this, m_fields};

    // Input values.
    int m_bResultPressed = 0;
    POINT m_ptDragStart{0, 0};
    int m_bReelPressed = 0;
    int m_bLastCardPressed = 0;

    CSeatDisplayWnd m_seatDisplays[kSeatCount];
    DWORD m_dwSeatChangeTick = 0;
    CKNSoundHost m_soundHost;
    CTableRecords m_records{m_board, m_fields.viewpoint, *this, m_marks, m_panes};
    CTablePanes m_panes{m_board, *this, *this, m_fields, m_records};
    CTableInfo m_info{m_board, *this, *this, m_fields, m_records};
    CTableMarks m_marks{m_board, *this, *this, m_fields, m_panes};
    CTableCommands m_commands{m_board, m_fields, *this, m_hands, m_panes, m_records};
};
