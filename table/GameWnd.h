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
// through this window as its view (TableView.h).

#include "game/GameLogic.h"
#include "game/StateRecords.h"
#include "platform/PtrList.h"
#include "platform/RuntimeClass.h"
#include "sprite/SpriteButton.h"
#include "sprite/SpriteWnd.h"
#include "sprite/WindowMessages.h"
#include "table/BalloonTipWnd.h"
#include "table/CardLayout.h"
#include "table/DealPaceWnd.h"
#include "table/GameWndIds.h"
#include "table/GameWndLink.h"
#include "table/KNSoundHost.h"
#include "table/SeatDisplayWnd.h"
#include "table/TableCards.h"
#include "table/TableCommands.h"
#include "table/TableRecords.h"
#include "table/TableView.h"
#include "table/TableWndFields.h"

#include <functional>
#include <map>
#include <memory>
#include <vector>

class CGameNetClient;
class CReceiveGate;
class CGameLayout;
class CSeatPopupWnd;
class CPaneImage;

class CGameWnd : public CSpriteWnd, public CGameWndLink, public CEventSink, public CTableView {
    DECLARE_DYNCREATE(CGameWnd)

public:
    enum {
        kControlId = 100,
        kCursorId = 3011,
        kDeckStep = 8,
        kDeckLayer = 100,
        kDealCount = kCardCodeCount
    };

    CGameWnd();
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
    CTableRecords& Records() { return m_records; }
    CTableCommands& Commands() { return m_commands; }
    // The theme file's path without its extension: the folder of its pictures.
    const CString& GetBitmapFolder() const { return m_strBitmapFolder; }
    static CString BitmapFolderOf(const CString& themeFile);
    DWORD GetSeatChangeTick() const { return m_dwSeatChangeTick; }
    CTableWndFields& Fields() { return m_fields; }
    CCardLayout& Hands() { return m_hands; }
    CTableCards& TableCards() { return m_tableCards; }
    CDealPaceWnd& DealPace() { return m_dealPace; }
    CSeatDisplayWnd& SeatDisplay(int seat) { return m_seatDisplays[seat]; }
    CBalloonTipWnd& Tip(int which) { return m_tips[which]; }
    CKNSoundHost& SoundHost() { return m_soundHost; }
    CSpriteButtonEx& Button(int index) { return m_buttons[index]; }
    // The button of a command id; null for the ids without a button here.
    CSpriteButtonEx* ButtonById(int id);
    static int ButtonIdOf(int index);
    // The deck back of a card code 0..53 (null when it could not be made).
    POSITION DeckBack(int i) const { return m_deck[i]; }
    int GetCardsToDeal() const { return m_nCardsToDeal; }
    void SetCardsToDeal(int count) { m_nCardsToDeal = count; }
    int GetDeckBacksLeft() const { return m_nDeckBacksLeft; }
    void SetDeckBacksLeft(int count) { m_nDeckBacksLeft = count; }
    BOOL IsInputAllowed() const { return m_bInputAllowed; }
    void SetInputAllowed(BOOL allowed) { m_bInputAllowed = allowed ? 1 : 0; }
    int GetLastNoticeId() const { return m_nLastNoticeId; }
    CWnd* GetMagnifier() const { return m_pMagnifier; }
    // My seat (0 without a client), whether I only watch, and my action mask.
    int MySeat() const;
    BOOL IsWatcher() const;
    int MyMask() const;
    // The clean-sweep mark plays and holds the game's result back.
    BOOL IsCleanSweep() const { return m_bCleanSweep; }

    // ---- what the network client asks of the table (CGameWndLink) ----
    HWND GetLinkWindow() const override { return m_hWnd; }
    void StopSprite(int id) override;
    using CSpriteWnd::StopSprite;
    BOOL IsGameOverMarkShown() const override { return m_bGameOverMark; }
    int GetMultiple() const override { return m_records.GetMultiple(); }
    void GetWatcherValues(int* beans, int* score) const override;
    void ShowNotice(LPCSTR text) override;
    void ShowSeatMark(int seat, BOOL show) override;
    void RefreshSeat(int seat) override;
    void OpenChargeDialog(const DWORD values[4]) override;
    void OpenExchangeDialog(DWORD amount) override;
    void ShowStartButtons(BOOL show) override;
    void ResetTable() override { m_records.ResetTable(); }
    void HideFreeSeatMarks() override { m_records.HideFreeSeatMarks(); }
    void RedrawTableInfo() override;
    void UpdateSeatCards(int seat) override { m_records.UpdateSeatCards(seat); }
    void RefreshUserList() override;
    void ShowStartPane(BOOL show, int multiple) override;
    void OnChangeSeatScene() override { m_records.OnChangeSeatScene(); }

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
    void ShowWaitMark(int seat, BOOL hide) override;
    void ShowReadyMark(int seat, BOOL clear) override;
    void ShowPlaceMark(int seat, int place) override;
    void ClearAllSeats() override;
    void ShowTrustMark(int seat, int status) override;
    void ClearTrustMarks() override;
    void ShowActionMark(int seat, int flags) override;
    void MarkOpenPoint(int seat, BOOL show) override;
    void MarkShao(int seat, BOOL show, BOOL effect) override;
    void MarkRevolution(int seat, BOOL show) override;
    void MarkNowPoint(int seat, BOOL show) override;
    void MarkPrePoint(int seat, BOOL show) override;
    void ShowRevolutionMark(int seat) override;
    void ShowOpenPointMark(int seat) override;
    void ShowPrePointMark(int seat) override;
    void ShowTributeMark(int seat) override;
    void ShowTouKeMark() override;
    void PlayBurnCardAnim(int burningSeat, int targetSeat) override;
    void ShowCleanSweep(const tagGAMEOVERMSG& gameOver) override;
    void EndCleanSweepMark() override;
    void StopTableAnimations() override;
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
    void ShowTrustButton() override;
    void UpdateCueButtons() override;
    void ResetHints() override { m_commands.ResetHints(); }
    void DisableSeatButtons() override;
    void ShowCoinButtons() override;
    BOOL MayOfferStartPane() const override { return m_bStartPaneAllowed; }
    void ShowMultiplePane(int seat, int multiple, BOOL flag) override;
    void ShowRemnantPane(int seat, int count) override;
    void ShowGousjPane(int seat, int value) override;
    void ShowResultPane(const tagGAMEOVERMSG& gameOver) override;
    void SetFinishingOrder(const int placeSeat[kSeatCount]) override;
    void ResetPanes() override;
    void WriteReelLine(LPCSTR text) override { AddReelLine(text, FALSE); }
    void ClearReel() override { AddReelLine("", TRUE); }
    void HideSeatTips() override;
    void PlayGameSound(LPCSTR file) override;
    void PlayVoice(LPCSTR format, int seat, int variant = -1) override;
    void RedrawSeatPlate(int seat) override;
    void UpdateUserInfo(BOOL levelRise) override;
    void SetSeatLevel(int seat, int level) override { m_seatLevel[seat] = level; }
    void UpdateTitle(BOOL watcher) override;
    void TurnSeatsForGame() override;
    void SetSoundPlayer(int seat, BOOL male) override;
    void PassPluginData(const void* data) override;

    // ---- flow display beyond the records ----
    // One dealt card (0x49C): card -1 is another seat's card; the deal is
    // done (0x49D).
    void OnDealCard(int card, int seat);
    void OnDealEnd();
    // The shuffle picture, played once; its end (1006) starts the deal.
    // FALSE when the theme has no such picture.
    BOOL ShowShuffleMark();
    // The clock centred at (x, y, anchor), running value frames; endEvent
    // 3000..3005 names whose turn it is.
    void StartCountdown(int x, int y, int anchor, int value, int endEvent);
    // The sprite of theme section "SPRITE_<name>"; an existing sprite of the
    // id is shown and returned. Null when the section or its picture is missing.
    POSITION AddSpriteByName(LPCSTR name, int id, BOOL show, int param);
    // The table's text sprites, each only when missing; FALSE at the first
    // that cannot be made.
    BOOL CreateTextSprites();
    void ClearPlaceMarks();
    void ShowExchangeMark(int seat);
    void ShowChuanSanHuMark();
    void PlayUpgradeAnim(int seat);

    // The history shows or hides (its button, and the main frame's hot key).
    void OnHistory();

    // ---- panes ----
    // The layout file the panes read: the theme file.
    const CString& PaneLayoutFile() const { return m_strThemeFile; }
    BOOL IsStartButtonUp() const { return m_bStartButtonUp; }
    void ClearAllPanes();
    // The win or loss text, centred just above the result pane's top.
    void ShowResultBanner(LPCSTR name, int id, int paneTop);
    // 0 hides it; kind 4 beside the start pane, 5 on the result pane.
    void ShowCountdownPane(int seconds, int kind);
    // The reel of messages and the last cards, centred; FALSE hides them.
    void ShowReelPane(BOOL show);
    void ShowLastCardPane(BOOL show);
    // A new deal: the hand cleared, the deck shown, the deal window started.
    void ResetCardSprites();

    // ---- table information, tips and chat lines ----
    // 0x54F: a button's hint tip (leave: hidden).
    void OnButtonHover(int id, BOOL leave);
    // 0x6A7 and 0x6A8: a line I sent and a line the chat pane received.
    void OnOwnChatLine(LPCSTR text);
    void OnReceivedChatLine(LPCSTR text);
    // The speech tip of a seat.
    void ShowSeatTip(LPCSTR text, int seat);
    // The information tip of the seat whose plate lies under the screen point.
    void HitTestSeat(POINT screenPoint);
    // The wide status tip at the main window's bottom right.
    void ShowStatusTip(LPCSTR text);
    // Appends a line to the reel list, or empties the list when clear is set.
    void AddReelLine(LPCSTR text, BOOL clear);
    const CPtrList& GetReelLines() const { return m_reelLines; }
    // Shows the seat pop-up at the cursor (from the hover tick).
    void OnHoverTimer();
    // The ticks of the timers 2 (information tip), 4009 (seat pop-up) and
    // 4010 (the seat pop-up watches the cursor leave).
    void OnInfoTipTick();
    void OnSeatHoverTick();
    void OnSeatPopupCheckTick();
    int GetInfoTipSeat() const { return m_nInfoTipSeat; }
    // The seat whose information tip shows; -1 for none.
    void SetInfoTipSeat(int seat) { m_nInfoTipSeat = seat; }
    int GetPopupView() const { return m_nPopupView; }
    int GetSeatLevel(int seat) const;
    CSeatPopupWnd* GetSeatPopup() const { return m_pSeatPopup; }

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
    void OnSpriteEnd(POSITION pos, int nParam) override;
    void OnGroupEnd(int) override {}
    void OnResize(UINT nType, int cx, int cy) override;
    void OnMouseMoveEx(UINT nFlags, int x, int y) override;
    void OnLButtonDownEx(UINT nFlags, int x, int y) override;
    void OnLButtonUpEx(UINT nFlags, int x, int y) override;
    void OnRButtonDownEx(UINT nFlags, int x, int y) override;
    // Asks the server for a seat (watch 0 sits, 1 watches).
    virtual void RequestSeatChange(int seat, int watch);

private:
    // ---- the table's own commands: its dialogs, panels and panes ----
    void OnPrevturn();
    void OnSound();
    void OnExchange();
    void OnReel();
    void OnReelOpen();
    void OnMagnif();
    void OnMagnifOpen();
    void OnTakeChance();
    void SwapButtons(int hide, int show);

    void CreateSeatDisplays();
    void CreateTips();
    void CreateButtons();
    void SetInitialButtonStates();
    void CreateCardFaces();
    void CreateDeck();
    void CreateClock();
    // Copies my seat, the watcher flag and the card order into the fields.
    void SyncClientFields();

    // ---- flow display helpers ----
    static CSpritePos PosOf(int x, int y, int anchor) {
        CSpritePos pos;
        pos.Set(x, y, anchor);
        return pos;
    }
    // The layout's place of the seat's plate, by its view position.
    CSpritePos SeatPlace(int seat) const;
    // The picture of a mark (a [FLAG] bitmap) in the image list, made once.
    POSITION FlagImage(int imageId, int flag);
    // Shows the mark sprite at the point, making it when missing.
    POSITION ShowMark(int spriteId, int imageId, int flag, const CSpritePos& at, int layer);
    void RemoveSpriteById(int spriteId);
    // The point, shao and revolution marks: dy below the plate's point.
    void ShowSeatFlag(int seat, BOOL show, int spriteBase, int dy, BOOL flash);
    // A named text sprite shown once at the point (centred when its section
    // or the caller asks); endEvent -1 for none. Null when it cannot be made.
    POSITION PlaceNamedSprite(LPCSTR name, int id, const CSpritePos& at, int endEvent,
                              BOOL centreOnPoint = FALSE);
    CSpritePos TextAnimationPlace(int seat) const;
    void ShowClockCounter(POSITION clock, int value);
    void ShowActionButton(int button, BOOL enabled);
    // -1 when every notice id is in use.
    int NextNoticeId();
    // A card face flying between two points; null (logged) when it cannot.
    POSITION FlyFace(int card, const CSpritePos& from, const CSpritePos& to, int rest,
                     int endEvent);
    void NotBuiltYet(LPCSTR operation) const;
    // The table picture through its mask onto black, with the centre picture.
    void DrawTable(CDC* pDC, int cx, int cy);
    // The seat frame at the six seat places.
    void DrawSeatFrames(CDC* pDC);
    // The magnifier sits in the middle of the table, a fifth of its size.
    void MoveMagnifier(int cx, int cy);
    void DrawSeatPlate(CDC* pDC, int seat);
    void DrawSeatPlates(CDC* pDC);
    // The plate of a view position (the layout's avatar place and size).
    CRect PlateRect(int view) const;
    COLORREF PlateTextColor(int view) const;

    // ---- panes, input, sprite events and the player's actions ----
    // A button of a pane (BUTTONEX key index, or a chip of the BUTTON
    // section): the listed one when the id is up already.
    CSpriteButtonEx* MakePaneButton(int id, int keyIndex);
    CSpriteButtonEx* MakeChip(int id, int jetonIndex);
    // The chips of a pane (jeton keys from firstJeton), enabled up to the
    // table's largest multiple, the current one checked for a player.
    void MakeChips(int firstJeton);
    void RemoveChips();
    CSpriteButtonEx* PaneButton(int id);
    void RemovePaneButton(int id);
    void RemovePaneSprite(int id);
    void HidePaneSprite(int id);
    // The image of the id in the image list; made (loaded from the pane
    // layout file) and listed when missing. Null when it cannot be made.
    CPaneImage* FindOrMakePane(int imageId, const std::function<CPaneImage*(int id)>& make);
    // Puts the pane's sprite at the point and shows it; an existing sprite
    // of another image is replaced.
    POSITION PlacePane(int spriteId, CPaneImage* image, const CSpritePos& at, int layer,
                       BOOL animate = FALSE);
    // The pane centred in the window, moved dy down.
    static CSpritePos CenteredPos(CPaneImage* image, int dy);
    // Centred where it leaves the action buttons and my hand uncovered.
    CSpritePos ClearOfMyHand(CPaneImage* image);
    void UpdateNameLines();
    // The view whose name line holds the point, -1 none.
    int NameLineAt(int x, int y) const;
    // Views of my own seat (0 = my place) and back.
    int ViewOf(int seat) const;
    int SeatOfView(int view) const;
    void PickCards(int x, int y);
    void FinishCardsSettled();
    void BurnStepTwo(int targetView);
    void BurnStepThree();
    // TRUE when the faces changed.
    BOOL SwitchCardFaces(int cx);
    BOOL RebuildDeckBacks(int step, int widthExtra);
    // Shows the backs of the deck that a running deal has not used yet.
    void ShowDeckBacksLeft();

    // The buttons of the panes, each with the layout key it was made from.
    struct PaneButtonEntry {
        std::unique_ptr<CSpriteButtonEx> button;
        int key;
    };
    std::map<int, PaneButtonEntry> m_paneButtons;
    // Where burn step one stood, for steps two and three.
    CSpritePos m_burnFrom;

    CGameNetClient* m_pClient;
    CTableWndFields m_fields;

    // Start-button-up and start-pane-allowed flags.
    int m_bStartButtonUp = 0;
    int m_bStartPaneAllowed = 1;
    // The finishing order of the last game, drawn by the result pane.
    int m_placeSeat[kSeatCount] = {};

    CSpriteButtonEx m_buttons[kButtonCount];
    POSITION m_deck[kDeckSize] = {};
    int m_nCardsToDeal = 0;
    // Backs of the deck still shown during a deal.
    int m_nDeckBacksLeft = kDeckSize;
    // The seat pop-up (made on first use).
    CSeatPopupWnd* m_pSeatPopup = nullptr;
    CString m_strThemeFile;
    CString m_strBitmapFolder;
    // The last notice's sprite id (-1 none) and the next id to give.
    int m_nLastNoticeId = -1;
    int m_nNextNoticeId = kFirstNoticeId;

    CDealPaceWnd m_dealPace;
    CTableCards m_tableCards;
    CWnd* m_pMagnifier = nullptr;
    BYTE m_bInputAllowed = 1;
    CCardLayout m_hands;

    // Input and information values.
    int m_seatLevel[kSeatCount] = {};
    int m_bSeatPopupMayShow = 1;
    int m_bResultPressed = 0;
    POINT m_ptDragStart{0, 0};
    int m_bReelPressed = 0;
    int m_bLastCardPressed = 0;
    int m_bMagnifierOn = 0;
    int m_bLastCardPaneShown = 0;

    CSeatDisplayWnd m_seatDisplays[kSeatCount];
    CBalloonTipWnd m_tips[kTipCount];
    // The view whose name line shows the seat pop-up, its place, and the view
    // of the name line under the cursor at the last hover tick (-1 none).
    int m_nPopupView = -1;
    POINT m_ptPopup{0, 0};
    int m_nHoverView = -1;
    int m_nInfoTipSeat = -1;
    RECT m_rcNameLines[kSeatCount] = {};
    DWORD m_dwSeatChangeTick = 0;
    CKNSoundHost m_soundHost;

    // The reel lines (CString*).
    CPtrList m_reelLines{10};
    int m_nResultCountdown = 30;
    BOOL m_bGameOverMark = FALSE;

    // ---- table information, tips and chat lines ----
    // The name line of a view's plate, in client coordinates.
    RECT NameLineRect(int view) const;
    // The view whose name line holds the client point, -1 none.
    int NameLineViewAt(POINT clientPoint) const;
    // A line shown in the chat pane's text.
    void AddChatText(LPCSTR text);
    void HideSeatPopup();
    // The window goes: its seat pop-up (owned by the main window, so not
    // destroyed with this one) and its reel lines go with it.
    void ReleaseInfo();
    // The bean figure last written to the betting dialog (-1 none).
    int m_nBeanFigure = -1;
    // The game-over record the clean-sweep mark holds back, and whether the
    // mark plays (and shows, until my seat starts again).
    tagGAMEOVERMSG m_cleanSweepResult{};
    BOOL m_bCleanSweep = FALSE;
    CTableRecords m_records{theBoard, *this};
    CTableCommands m_commands{*this};
};
