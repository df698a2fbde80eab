#pragma once
// The start-up's and the frame's decisions as plain functions of their
// inputs, so each can be checked without a window: the main window's size
// and placement, the seat a launch record may have, the title, the size the
// frame stores, and what closing the frame asks and sends.

#include "platform/CString.h"
#include "platform/Geometry.h"

#include <cstdint>

// ---- window size and placement ----

struct WindowPlacementChoice {
    int width = 1024;
    int height = 734;
    BOOL maximized = FALSE;
    // The screen is below 1024 x 768: the user is told before the window shows.
    BOOL resolutionNotice = FALSE;
};

// From the saved size, the work area and the screen.
WindowPlacementChoice ChooseWindowPlacement(int savedWidth, int savedHeight, SIZE workArea,
                                            SIZE screen);

// The size the frame stores for a client area of cx x cy: the client plus
// the borders of the skin in use (border = window size - client size); FALSE
// for a minimised frame, whose size is not the user's.
BOOL StoredFrameSize(UINT sizeType, int cx, int cy, SIZE border, int* width, int* height);

// ---- the launch record's seat ----

// A watcher's seat is reduced into 0..5; a player's must already be there.
// FALSE (with the reason) refuses the start.
BOOL SettleSeat(BOOL watcher, int* seat, CString* reason);

// "Morvane积分版 (version) nickname [user name]" and "旁观" for a watcher.
CString FormatGameTitle(LPCSTR version, LPCSTR nickName, LPCSTR userName, BOOL watcher);

// ---- closing the main frame ----

// What the table knows when the user closes the frame.
struct CloseFacts {
    BOOL watcher = FALSE;
    int gameState = 0; // 0: between games
    uint32_t ruleFlags = 0;
    int gamesPlayed = 0;
    int gamesRequired = 0;
    // Two seats revolted together in this game: leaving costs nothing extra.
    BOOL doubleRevolution = FALSE;
};

enum class CloseSend { kNothing, kTrustExitGame, kLeaveGame };

struct CloseDecision {
    // Empty: nothing is asked. Otherwise the question; only OK goes on.
    CString question;
    CloseSend send = CloseSend::kNothing;
};

// The resource strings the questions are made of, and how they are read.
enum { kCloseOutsideGameString = 26, kCloseInGameString = 27, kCloseRoundsInGameString = 78 };
using StringLoader = CString (*)(UINT id);

CloseDecision DecideClose(const CloseFacts& facts, StringLoader loadString);
