#pragma once

// The table window: the sprite window on which the game is shown. It owns
// the card layout of the hands and the played cards, the deal pacing window,
// the six seat displays, the balloon tips, the sound plug-in host, the
// table's 27 buttons and the deck of card backs; it links itself to the
// network client when it is created and unlinks itself when it is destroyed,
// paints the table, the seat frames and the name plates into the background,
// and shows the flow of a game: the deal, the turn clock, the action buttons,
// notices, seat marks, text animations and card flights.

#include "game/GameLogic.h"
#include "game/StateRecords.h"
#include "platform/PtrList.h"
#include "platform/RuntimeClass.h"
#include "sprite/SpriteButton.h"
#include "sprite/SpriteWnd.h"
#include "table/BalloonTipWnd.h"
#include "table/CardLayout.h"
#include "table/DealPaceWnd.h"
#include "table/GameWndLink.h"
#include "table/KNSoundHost.h"
#include "table/SeatDisplayWnd.h"
#include "table/TableCards.h"
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

// The table window's balloon tips: one per view position, the table tip, the
// wide status tip and the small hint tip.
enum GameWndTip { kTableTip = kSeatCount, kStatusTip, kHintTip, kTipCount };

// The table's buttons in member order (index into CGameWnd::Button).
enum GameWndButton {
    kBtnTakeChance,
    kBtnSound,
    kBtnTrust,
    kBtnTrustExit,
    kBtnPrevturn,
    kBtnHistory,
    kBtnExchange,
    kBtnReel,
    kBtnReelOpen,
    kBtnMagnif,
    kBtnMagnifOpen,
    kBtnTakeOut,
    kBtnShaoPai,
    kBtnPass,
    kBtnGaveUp,
    kBtnRangpai,
    kBtnSearch,
    kBtnDeclPoint,
    kBtnDeclPointOpen,
    kBtnDeclNoPoint,
    kBtnReturnTribute,
    kBtnRevolution,
    kBtnNoRevolution,
    kBtnGousiji,
    kBtnNoGousiji,
    kBtnLeftCue,
    kBtnRightCue,
    kButtonCount
};

// Command ids (WM_COMMAND) of the table: the buttons, the two commands
// without a button, the start buttons of the panes and the chips.
enum GameWndCommand {
    kCmdTrust = 100,
    kCmdTrustExit = 101,
    kCmdHistory = 102,
    kCmdPrevturn = 103,
    kCmdSound = 104,
    kCmdExchange = 105,
    kCmdReel = 106,
    kCmdReelOpen = 107,
    kCmdMagnif = 108,
    kCmdMagnifOpen = 109,
    kCmdTakeOut = 110,
    kCmdShaoPai = 111,
    kCmdPass = 112,
    kCmdGaveUp = 113,
    kCmdRangpai = 114,
    kCmdSearch = 115,
    kCmdDeclPoint = 116,
    kCmdDeclNoPoint = 117,
    kCmdReturnTribute = 118,
    kCmdRevolution = 119,
    kCmdNoRevolution = 120,
    kCmdBuyThree = 121,
    kCmdGousiji = 122,
    kCmdNoGousiji = 123,
    kCmdPayTribute = 124,
    kCmdLeftCue = 125,
    kCmdRightCue = 126,
    kCmdTakeChance = 127,
    kCmdDeclPointOpen = 128,
    kCmdStart = 200,
    kCmdRStart = 201,
    kCmdChipFirst = 401,
    kCmdChipLast = 416,
};

// Private window messages the table window handles.
enum : UINT {
    WM_TABLE_LEAVE = 0x6A6,   // leave: panes removed, WM_CLOSE to the main window
    WM_CHAT_OWN_LINE = 0x6A7, // lParam: a line I sent (text)
    WM_CHAT_RECEIVED = 0x6A8, // lParam: a line the chat pane received (text)
};

// The table window's own timers (all below the sprite engine's ids).
enum GameWndTimer : UINT_PTR {
    kInfoTipTimer = 2,        // information tip of the seat under the cursor
    kStartCountdownTimer = 4, // never started
    kResultCountdownTimer = 5,
    kTurnTimeoutTimer = 6,
    kCardsSettledTimer = 8,
    kAutoStartTimer = 9,
    kRoundEndTimer = 3006,
    kPlateRepaintTimer = 4000,
    kHoverTimer = 4009,
    kPopupCheckTimer = 4010,
};

// Sprite ids of the flow display. A base plus a view is one sprite per view.
enum GameWndSprite {
    kDeckSpriteBase = 1100,   // 54 card backs
    kRemnantPaneSprite = 503, // 503 + view
    kGousjPaneSprite = 509,   // 509 + view
    kTrustMark = 700,
    kTrustExitMark = 706,
    kBreakMark = 712,
    kOpenPointMark = 718,
    kShaoMark = 724,
    kRevolutionMark = 730,
    kNowPointMark = 736,
    kPrePointMark = 742,
    kPassMark = 748,
    kLetMark = 754,
    kGaveUpMark = 760,
    kPlaceMark = 766,
    kReadyMark = 772,
    kNoticeEndEvent = 1003,
    kClockSprite = 1004,
    kClockCounterSprite = 1005,
    kShuffleSprite = 1006,
    kWaitSprite = 1011,
    kExchangeSprite = 1013,
    kFlashSprite = 1027,
    kBurnOneSprite = 1035,
    kBurnTwoSprite = 1041,
    kBurnThreeSprite = 1042,
    kRevolutionSprite = 1034,
    kTributeSprite = 1043,
    kOpenPointSprite = 1044,
    kPrePointSprite = 1047,
    kTouKeSprite = 1050,
    kChuanSanHuSprite = 1051,
    kUpgradeSprite = 1052,
    kWinSprite = 1053,
    kLoseSprite = 1054,
    kFirstNoticeId = 5000,
    kLastNoticeId = 5999,
};

// End events of the flow display's sprites.
enum GameWndEvent {
    kDealFlightEvent = 200,
    kClockEventMyTurn = 3000, // 3000..3005: clocks of the turn's kinds
    kClockEventLast = 3005,
    kTributeFlightEvent = 1008,
    kBuyThreeFlightEvent = 1007,
};

// A pending tribute return: who gets the returned cards, who returns them.
struct tagPENDINGTRIBUTE {
    int nKind;          // 0 point, 1 bie, 2 shao
    int nTargetSeat;    // receives the returned cards
    int nReturningSeat; // returns them
    int nCount;         // cards to return
};

// What the record handlers keep between records.
struct tagGAMESTATEBLOCK {
    tagGAMEOVERMSG gameOver{}; // the last game-over record, for the result pane
    // Set while the referee lists the returns due, one record per return;
    // the first record of a listing replaces what was pending.
    int bReturnTributeFlag = 0;
    // Returns each seat still owes in the listing.
    int nReturnsDue[kSeatCount] = {};
    int bMultiples = 1; // the room has more than one multiple: the panes offer chips
};

class CGameWnd : public CSpriteWnd, public CGameWndLink, public CEventSink {
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
    void SetClient(CGameNetClient* client) { m_pClient = client; }

    // The client's receive gate: held while a record is presented.
    CReceiveGate& ReceiveGate() const;
    BOOL IsReceiveReady() const;
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
    CSpriteButtonEx& Button(int index) { return m_buttons[index]; }
    // The button of a command id; null for the ids without a button here.
    CSpriteButtonEx* ButtonById(int id);
    static int ButtonIdOf(int index);
    // The deck back of a card code 0..53 (null when it could not be made).
    POSITION DeckBack(int i) const { return m_deck[i]; }
    int GetCardsToDeal() const { return m_nCardsToDeal; }
    int GetDeckBacksLeft() const { return m_nDeckBacksLeft; }
    void SetDeckBacksLeft(int count) { m_nDeckBacksLeft = count; }
    void SetCardsToDeal(int count) { m_nCardsToDeal = count; }
    BOOL IsInputAllowed() const { return m_bInputAllowed; }
    void SetInputAllowed(BOOL allowed) { m_bInputAllowed = allowed ? 1 : 0; }
    int GetLastNoticeId() const { return m_nLastNoticeId; }
    CWnd* GetMagnifier() const { return m_pMagnifier; }
    std::vector<tagPENDINGTRIBUTE>& PendingTributes() { return m_pendingTributes; }

    // The theme path cut at its last '.' (empty when it has none).
    static CString BitmapFolderOf(const CString& themeFile);

    // ---- what the network client asks of the table (CGameWndLink) ----
    HWND GetLinkWindow() const override { return m_hWnd; }
    void StopSprite(int id) override;
    BOOL IsGameOverMarkShown() const override { return m_bGameOverMark; }
    int GetMultiple() const override { return m_nMultiple; }
    void GetWatcherValues(int* beans, int* score) const override;
    void ShowNotice(LPCSTR text) override;
    // A seat left a table that keeps its watchers: its waiting mark.
    void ShowSeatMark(int seat, BOOL show) override;
    void RefreshSeat(int seat) override;
    void OpenChargeDialog(const DWORD values[4]) override;
    void OpenExchangeDialog(DWORD amount) override;
    // Still to be built by the table's panes, information and records: each
    // one is logged and refused so that a call is seen rather than lost.
    void ShowStartButtons(BOOL show) override;
    void ResetTable() override;
    void HideFreeSeatMarks() override;
    void RedrawTableInfo() override;
    void UpdateSeatCards(int seat) override;
    void RefreshUserList() override;
    void ShowStartPane(BOOL show, int multiple) override;
    void OnChangeSeatScene() override;

    // ---- what the sound plug-in reports back (CEventSink) ----
    int OnSinkEvent(int type, int value, void* data, int size) override;

    using CSpriteWnd::StopSprite;

    // ---- flow display: the deal ----
    // One dealt card (0x49C): card -1 is another seat's card.
    void OnDealCard(int card, int seat);
    // The deal is done (0x49D).
    void OnDealEnd();
    // The shuffle picture, played once; its end (1006) starts the deal.
    // FALSE when the theme has no such picture.
    BOOL ShowShuffleMark();

    // ---- flow display: the turn clock ----
    // The clock centred at (x, y, anchor), running value frames; endEvent
    // 3000..3005 names whose turn it is.
    void StartCountdown(int x, int y, int anchor, int value, int endEvent);
    void StopCountdown();

    // ---- flow display: the action buttons ----
    // Hides and disables the fourteen play and declaration buttons, then, when
    // show is set and I may act, shows those of the state and mask.
    void UpdateActionButtons(int state, int mask, BOOL show);
    // Trust for a player out of trusteeship, TrustExit for one in it.
    void ShowTrustButtons(BOOL trusted);
    // The cue buttons stand beside the partners' open cards, pressable once
    // one of those cards is picked.
    void UpdateCueButtons();

    // ---- flow display: named text sprites ----
    // The sprite of theme section "SPRITE_<name>"; an existing sprite of the
    // id is shown and returned. Null when the section or its picture is missing.
    POSITION AddSpriteByName(LPCSTR name, int id, BOOL show, int param);
    // The table's text sprites, each only when missing; FALSE at the first
    // that cannot be made.
    BOOL CreateTextSprites();

    // ---- flow display: seat marks ----
    void ShowWaitMark(int seat, BOOL hide);
    // clear: removes all six.
    void ShowReadyMark(int seat, BOOL clear);
    // place 0..5 (0 = first place).
    void ShowPlaceMark(int seat, int place);
    void ClearPlaceMarks();
    void ClearAllSeats();
    // status 300 trusted, 301 left trusteeship, 302 connection broke, other
    // values remove all three.
    void ShowTrustMark(int seat, int status);
    void ClearTrustMarks();
    // flags: bit 1 pass, else bit 2 let, else bit 8 give up, else none.
    void ShowActionMark(int seat, int flags);
    void MarkOpenPoint(int seat, BOOL show);
    void MarkShao(int seat, BOOL show, BOOL effect);
    void MarkRevolution(int seat, BOOL show);
    void MarkNowPoint(int seat, BOOL show);
    void MarkPrePoint(int seat, BOOL show);
    void ShowExchangeMark(int seat);

    // ---- flow display: text animations ----
    void ShowRevolutionMark(int seat);
    void ShowOpenPointMark(int seat);
    void ShowPrePointMark(int seat);
    void ShowTributeMark(int seat);
    void ShowTouKeMark();
    void ShowChuanSanHuMark();
    void PlayUpgradeAnim(int seat);

    // ---- flow display: card flights ----
    BOOL FlyCards(int fromSeat, int toSeat, int card, int endEvent);
    BOOL SwapFlyCards(int seatA, int cardA, int seatB, int cardB, int endEvent);
    // 0 when the flight could not be made (logged).
    int IntributeFlyCard(int fromSeat, const int* cards, int count, int toSeat);

    // ---- name plates ----
    // Draws one seat's plate over a fresh piece of background, on screen.
    void RedrawSeatPlate(int seat);

    // ---- the commands: the player's actions, the start pane and its chips ----
    void OnTrust();
    void OnTrustExit();
    void OnHistory();
    void OnPrevturn();
    void OnSound();
    void OnExchange();
    void OnReel();
    void OnReelOpen();
    void OnMagnif();
    void OnMagnifOpen();
    void OnTakeOut();
    void OnShaoPai();
    void OnPass();
    void OnGaveUp();
    void OnRangpai();
    void OnSearch();
    void OnDeclPoint();
    void OnDeclPointOpen();
    void OnDeclNoPoint();
    void OnReturnTributeCmd();
    void OnRevolutionCmd(BOOL yes);
    void OnGousijiCmd(BOOL yes);
    void OnBuyThree();
    void OnPayTribute();
    void OnLeftCue();
    void OnRightCue();
    void OnTakeChance();
    void OnStartCmd();
    void OnChip(UINT id);
    void ClearAllPanes();
    void ShowResultPane(const tagGAMEOVERMSG& gameOver);
    // The win or loss text, centred just above the result pane's top.
    void ShowResultBanner(LPCSTR name, int id, int paneTop);

    // ---- panes, input, sprite events and the player's actions ----
    // The layout file the panes read: the theme file.
    const CString& PaneLayoutFile() const { return m_strThemeFile; }
    BOOL IsStartButtonUp() const { return m_bStartButtonUp; }
    // Hides the result pane and the countdown, removes the win and loss texts.
    void ResetPanes();
    // count 0 hides the seat's pane.
    void ShowRemnantPane(int seat, int count);
    // multiple 0 or flag 0 hides it; nothing in rooms with rule bit 0x80000.
    void ShowMultiplePane(int seat, int multiple, BOOL flag);
    // 0 hides it; kind 4 beside the start pane, 5 on the result pane.
    void ShowCountdownPane(int seconds, int kind);
    void ShowGousjPane(int seat, int value);
    // The reel of messages and the last cards, centred; FALSE hides them.
    void ShowReelPane(BOOL show);
    void ShowLastCardPane(BOOL show);
    // A new deal: the hand cleared, the deck shown, the deal window started.
    void ResetCardSprites();
    // The three-step burn of a seat over another.
    void PlayBurnCardAnim(int burningSeat, int targetSeat);
    // Plays every three left in my hand (the round-end step's call).
    void AutoTakeOutThrees();
    // A new play was shown: the next hint searches afresh.
    void ResetHints() { m_nHintIndex = 0; }
    int GetHintIndex() const { return m_nHintIndex; }
    const std::vector<CardType>& GetHints() const { return m_hints; }

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
    // The betting dialog's bean figure and the chat pane's columns of all
    // seats; with levelRise a seat whose level rose shows the level-up.
    void UpdateUserInfo(BOOL levelRise);
    // The nickname, or the user name when the nickname is blank; empty for a
    // seat outside the table.
    CString SeatDisplayName(int seat) const;
    // The main window's title and a notice after a seat change.
    void UpdateTitle(BOOL watcher);
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
    // The 0x1005 handler: checks the record, then runs the handler of its id.
    LRESULT OnGameMessage(WPARAM length, LPARAM record);
    // Plays a file of the theme's sound folder while sound effects are on.
    void PlayGameSound(LPCSTR file);
    void OnUserTimer(UINT_PTR id) override;
    // The pass, let or give-up mark and the shao mark of every seat from the
    // status words (values), the shao mark with its effect when flag is set.
    void UpdateSeatStateMarks(const int32_t values[kSeatCount], BOOL flag);
    // The tribute entries of a game-over record as reel lines (the list is
    // cleared first).
    void ReportGameOverTributes(const tagGAMEOVERMSG& msg);
    // Whether a round's plays are being laid (cleared when the round ends).
    BOOL IsRoundRunning() const { return m_bRoundFlag; }
    BOOL IsCleanSweep() const { return m_bCleanSweep; }
    // The held record is done: the receive gate opens.
    void EndHeldRecord();

protected:
    // Seams of the record handlers' output (tests record them): a line for
    // the reel list, and a sound file's full path for the theme's player.
    virtual void WriteReelLine(LPCSTR text) { AddReelLine(text, FALSE); }
    virtual void PlaySoundPath(LPCSTR path);

protected:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    int OnCreate(LPCREATESTRUCT cs) override;
    void OnDestroy() override;
    void PostNcDestroy() override { delete this; }
    void DrawBackground(CDC* pDC, int cx, int cy) override;
    void OnSpriteFrame(POSITION pos, int nParam, int nFrame, int nFrameCount) override;
    // The private messages of the table (see the enums above).
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    // ---- input and sprite events ----
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
    static BOOL IsSeat(int seat);
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
    int MySeat() const;
    BOOL IsWatcher() const;
    int MyMask() const;
    void ShowStringNotice(UINT id);
    // My raised cards into a kHandSize buffer; their count.
    int SelectedCodes(int* codes) const;
    // A play of the kind with the cards; the play sender's result.
    int SendPlay(int kind, const int* codes, int count);
    // Take out (16) or shao (4) of the raised cards.
    void PlaySelected(int kind);
    // Pass, let or give up: only with the mask's bit and while input is allowed.
    void SendNoCardPlay(int kind, int maskBit);
    void SendPoint(int value);
    // The cards raised in a partner's shown hand as a cue to that partner.
    void SendCue(BOOL left);
    void SendTrusteeship(int on, BYTE automatic);
    void SwapButtons(int hide, int show);
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
    void AnswerClock(int event);
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
    // The round the hint list was found for: its plays and the play to beat.
    size_t m_nHintPlays = 0;
    CardType m_hintToBeat = 0;
    // The play counter and my mask when my last play went out (-1 none).
    int m_nPlaySentCounter = -1;
    int m_nPlaySentMask = -1;
    // Where burn step one stood, for steps two and three.
    CSpritePos m_burnFrom;

    CGameNetClient* m_pClient;
    CTableWndFields m_fields;

    // Start-button-up, watched-seat-empty and start-pane-allowed flags.
    int m_bStartButtonUp = 0;
    int m_bWatchedSeatEmpty = 0;
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
    int m_nMultiple = 1;
    int m_bChatEntered = 0;
    // The watcher's own values of the chat row, from the snapshot record.
    int m_nWatcherBeans = 0;
    int m_nWatcherScore = 0;
    int m_bFirstTableRecord = 1;
    RECT m_rcNameLines[kSeatCount] = {};
    DWORD m_dwSeatChangeTick = 0;
    CKNSoundHost m_soundHost;

    // Search's hints and the next one to raise; tributes still to return.
    int m_nHintIndex = 0;
    std::vector<CardType> m_hints;
    std::vector<tagPENDINGTRIBUTE> m_pendingTributes;
    // The record handlers' list, and the reel lines (CString*).
    CPtrList m_recordList{10};
    CPtrList m_reelLines{10};
    int m_nStartCountdown = 30;
    int m_nResultCountdown = 30;
    BOOL m_bGameOverMark = FALSE;
    tagGAMESTATEBLOCK m_game;

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

public:
    // ---- game records: the handlers the record kinds run (RecordKinds.h) ----
    void OnTableInfo(const tagTABLEINFO& msg);
    void OnSnapshot(const tagSNAPSHOTMSG& msg);
    void OnStart(const tagSTARTMSG& msg);
    void OnDeal(const tagDEALMSG& msg);
    void OnPlay(const tagPLAYMSG& msg);
    void OnRoundEnd();
    void OnGameOver(const tagGAMEOVERMSG& msg);
    void OnReturnTribute(const tagRETURNTRIBUTEMSG& msg);
    // A return that is due now: the returning seat may return, mine is queued.
    void QueueReturnDue(const tagRETURNTRIBUTEMSG& msg, LPCSTR kindWord);
    // A return whose cards have moved is no longer owed.
    void SettleReturn(const tagRETURNTRIBUTEMSG& msg);
    // No return is due any more (a game ends, the table starts afresh).
    void ClearReturnsDue();
    void OnPointMsg(const tagPOINTMSG& msg);
    void OnRevolution(const tagREVOLUTIONMSG& msg);
    void OnGousiji(const tagGOUSIJIMSG& msg);
    void OnBuy3(const tagBUY3MSG& msg);
    void OnTribute(const tagTRIBUTEMSG& msg);
    void OnTrust(const tagTRUSTMSG& msg);
    void OnTrustEnd(const tagGAMEENDMSG& msg);
    void OnTrustWords(const tagTRUSTWORDSMSG& msg);
    void OnWatcherCards(const tagWATCHERVIEWMSG& msg);
    void OnPlaces(const tagPLACESMSG& msg);
    void OnUserRecord(const tagUSERRECORDMSG& msg);
    void OnPluginData(const tagPLUGINMSG& msg);
    void OnCue(const tagCARDLIST& msg);
    void OnShaoBie(const tagSHAOBIEMSG& msg);
    void OnTakeChanceResult(const tagGUESSMSG& msg);
    void OnTributeStopped(const tagTRIBUTESTOPPEDMSG& msg);
    void OnBeanLock(const tagBEANLOCKMSG& msg);

private:
    void RedrawFromSnapshot(const tagSNAPSHOTMSG& msg);
    // Multiples by my member flag, as the first table info sets them.
    void TakeMultiplesFromHead();
    // A watcher's watched seat emptied, or taken again by a new player.
    void FollowWatchedSeat(int seat);
    void RestartInfoTimers(UINT plateMs);
    void StartTurnTimeout(int seconds);
    BOOL IsMe(int seat) const;
    BOOL IsPlayer() const;
    // A watcher who may not see the watched seat's hand.
    BOOL IsBlindWatcher() const;
    // My hand in the card layout from theBoard (held, not played cards).
    void ShowMyHand();
    void ClearMyHand();
    // A watcher's seat change: the hand parked by the snapshot of the seat
    // now watched becomes my seat's, and is drawn when it may be seen.
    void TakeParkedHand();
    void ShowTurnClock(int seconds, int endEvent);
    int VoiceOf(int seat) const;
    void PlayVoice(LPCSTR format, int seat, int variant = -1);
    void PlayRoundEndOrCollect();
    // The pass, let and give-up marks the seats made in the running round,
    // shown where the status words show none.
    void ShowRoundMarks();

    BOOL m_bRoundFlag = FALSE;
    int m_nRoundMarks[kSeatCount] = {};
    BOOL m_bCleanSweep = FALSE;
    int m_nTurnCountdown = 0;
    DWORD m_dwTableStartTick = 0;
    int m_nBeanLockResult = 0;
    int m_nTrustSwitchCount = 0;
    // The highest multiple the start pane offers me.
    int m_nOfferedMultiple = 1;
};
