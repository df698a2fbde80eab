#pragma once

// The table window's numbers: its balloon tips, its buttons and their
// command ids, its timers and the sprite ids of the flow display. The end
// events of its sprites are the table's animation events, brought in with
// them; its window messages are the program's (sprite/WindowMessages.h).

#include "game/Cards.h"
#include "platform/Types.h"
#include "table/common/AnimationEvents.h"

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
    kNoticeWaitTimer = 4011, // a notice waits for the one before to rise
    kGateWatchTimer = 4012,  // a record's hold kept past any presentation is told
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
    kQuestionLineSprite = 1060, // the words of a question I have open
    kFirstNoticeId = 5000,
    kLastNoticeId = 5999,
};

// The turn clock's layer: above every pane, so that a look at the last round
// or at the reel never hides my turn's time (its counter is a layer above).
constexpr int kClockLayer = 650;
