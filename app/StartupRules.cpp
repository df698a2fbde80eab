#include "app/StartupRules.h"

#include "game/GameLogic.h"
#include "platform/window/Window.h"

#include <cstring>

WindowPlacementChoice ChooseWindowPlacement(int savedWidth, int savedHeight, SIZE workArea,
                                            SIZE screen) {
    WindowPlacementChoice choice;
    if (savedWidth < 900 || savedHeight < 700) {
        choice.width = 1024;
        choice.height = 734;
    } else if (savedWidth < workArea.cx && savedHeight < workArea.cy) {
        choice.width = savedWidth;
        choice.height = savedHeight;
    } else {
        choice.width = workArea.cx;
        choice.height = workArea.cy;
    }
    const BOOL bigScreen = screen.cx >= 1024 && screen.cy >= 768;
    const BOOL bigWorkArea = workArea.cx >= 1024 && workArea.cy >= 734;
    const BOOL fits = choice.width < workArea.cx && choice.height < workArea.cy;
    choice.maximized = !(bigScreen && bigWorkArea && fits);
    choice.resolutionNotice = !bigScreen;
    return choice;
}

BOOL StoredFrameSize(UINT sizeType, int cx, int cy, SIZE border, int* width, int* height) {
    if (sizeType == SIZE_MINIMIZED)
        return FALSE;
    // Fixed border figures of another frame would make the window grow a
    // little at every start.
    *width = cx + border.cx;
    *height = cy + border.cy;
    return TRUE;
}

BOOL SettleSeat(BOOL watcher, int* seat, CString* reason) {
    if (watcher) {
        *seat = ((*seat % kSeatCount) + kSeatCount) % kSeatCount;
        return TRUE;
    }
    if (*seat >= 0 && *seat < kSeatCount)
        return TRUE;
    reason->Format("启动记录的座位号%d不在0到5之间", *seat);
    return FALSE;
}

CString FormatGameTitle(LPCSTR version, LPCSTR nickName, LPCSTR userName, BOOL watcher) {
    CString title;
    title.Format("Morvane积分版 (%s) %s [%s] %s", version, nickName, userName,
                 watcher ? "旁观" : "");
    return title;
}

namespace {

CString Formatted(StringLoader loadString, UINT id, int number) {
    CString text;
    text.Format(loadString(id), number);
    return text;
}

} // namespace

CloseDecision DecideClose(const CloseFacts& facts, StringLoader loadString) {
    CloseDecision decision;
    if (facts.watcher)
        return decision;
    const BOOL minimumRounds = (facts.ruleFlags & kRuleEscapeBeforeGames) != 0;
    const BOOL revolutionRule = (facts.ruleFlags & kRuleEscapeAfterStart) != 0;
    if (facts.gameState != 0) {
        // The game under way will count as played, hence required - 1.
        if (minimumRounds && facts.gamesPlayed < facts.gamesRequired - 1)
            decision.question =
                Formatted(loadString, kCloseRoundsInGameString, facts.gamesRequired);
        else if (revolutionRule && !facts.doubleRevolution)
            decision.question = "游戏正在进行中没有两家同时革命，如果退出游戏，您将暂时无法进入"
                                "游戏直到本局结束，而且将被增加断线率并扣分,还继续吗?";
        else
            decision.question = loadString(kCloseInGameString);
        decision.send = CloseSend::kTrustExitGame;
        return decision;
    }
    if (minimumRounds && facts.gamesPlayed > 0 && facts.gamesPlayed < facts.gamesRequired)
        decision.question = Formatted(loadString, kCloseOutsideGameString, facts.gamesRequired);
    else if (revolutionRule && !facts.doubleRevolution)
        decision.question = "游戏进行中还没有两家同时革命,如果强行退出,您将被增加断线率并扣分,"
                            "还继续吗?";
    decision.send = CloseSend::kLeaveGame;
    return decision;
}
