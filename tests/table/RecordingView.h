#pragma once

// The record handling's view without a window: every call is written as a
// line ("ShowTurnClock 10 3000"), and CollectRound and the flights answer
// as the test says.

#include "table/records/TableView.h"

#include <algorithm>
#include <string>
#include <vector>

namespace table_test {

class RecordingView : public CTableView, public CMarkView, public CPaneView {
public:
    std::vector<std::string> calls;
    BOOL flightsFly = FALSE; // whether card flights (and the round's collection) start

    bool Called(const std::string& call) const {
        return std::find(calls.begin(), calls.end(), call) != calls.end();
    }
    int Count(const std::string& call) const {
        return int(std::count(calls.begin(), calls.end(), call));
    }

    void ShowMyHand() override { Log("ShowMyHand"); }
    void ClearMyHand() override { Log("ClearMyHand"); }
    void LayPlay(int seat, const int32_t*, int count, BOOL blind, int) override {
        Log("LayPlay", seat, count, blind);
    }
    void TakeUpSeatCards(int seat) override { Log("TakeUpSeatCards", seat); }
    void ClearTableCards() override { Log("ClearTableCards"); }
    BOOL CollectRound() override { return Log("CollectRound"), flightsFly; }
    int IntributeFlyCard(int from, const int*, int count, int to) override {
        return Log("IntributeFlyCard", from, count, to), flightsFly;
    }
    BOOL FlyCards(int from, int to, int, int) override {
        return Log("FlyCards", from, to), flightsFly;
    }
    BOOL SwapFlyCards(int a, int, int b, int, int) override {
        return Log("SwapFlyCards", a, b), flightsFly;
    }
    void StartDeal(const int*, int count, int seat) override { Log("StartDeal", count, seat); }
    void ClearCues() override { Log("ClearCues"); }
    void ClearShownHands() override { Log("ClearShownHands"); }
    void ShowCueCards(const int32_t*, int count, int seat) override {
        Log("ShowCueCards", count, seat);
    }
    void ShowAllyHand(const int32_t*, int count, int seat) override {
        Log("ShowAllyHand", count, seat);
    }
    void ClearSelection() override { Log("ClearSelection"); }
    void ClearLastCards() override { Log("ClearLastCards"); }
    void ShowWaitMark(int seat, BOOL hide) override { Log("ShowWaitMark", seat, hide); }
    void ShowReadyMark(int seat, BOOL clear) override { Log("ShowReadyMark", seat, clear); }
    void ShowPlaceMark(int seat, int place) override { Log("ShowPlaceMark", seat, place); }
    void ClearAllSeats() override { Log("ClearAllSeats"); }
    void ShowTrustMark(int seat, int status) override { Log("ShowTrustMark", seat, status); }
    void ClearTrustMarks() override { Log("ClearTrustMarks"); }
    void ShowActionMark(int seat, int flags) override { Log("ShowActionMark", seat, flags); }
    void MarkOpenPoint(int seat, BOOL show) override { Log("MarkOpenPoint", seat, show); }
    void MarkShao(int seat, BOOL show, BOOL effect) override {
        Log("MarkShao", seat, show, effect);
    }
    void MarkRevolution(int seat, BOOL show) override { Log("MarkRevolution", seat, show); }
    void MarkNowPoint(int seat, BOOL show) override { Log("MarkNowPoint", seat, show); }
    void MarkPrePoint(int seat, BOOL show) override { Log("MarkPrePoint", seat, show); }
    void ShowSeatMark(int seat, BOOL show) override { Log("ShowSeatMark", seat, show); }
    void StopSprite(int id) override { Log("StopSprite", id); }
    void ShowRevolutionMark(int seat) override { Log("ShowRevolutionMark", seat); }
    void ShowOpenPointMark(int seat) override { Log("ShowOpenPointMark", seat); }
    void ShowPrePointMark(int seat) override { Log("ShowPrePointMark", seat); }
    void ShowTributeMark(int seat) override { Log("ShowTributeMark", seat); }
    void ShowTouKeMark() override { Log("ShowTouKeMark"); }
    void PlayBurnCardAnim(int a, int b) override { Log("PlayBurnCardAnim", a, b); }
    void ShowCleanSweep(const tagGAMEOVERMSG&) override { Log("ShowCleanSweep"); }
    void EndCleanSweepMark() override { Log("EndCleanSweepMark"); }
    void StopTableAnimations() override { Log("StopTableAnimations"); }
    void ShowTurnClock(int seconds, int event) override { Log("ShowTurnClock", seconds, event); }
    void StopCountdown() override { Log("StopCountdown"); }
    void StartTurnTimeout(int seconds) override { Log("StartTurnTimeout", seconds); }
    void StartRoundEnd() override { Log("StartRoundEnd"); }
    void StopRoundEnd() override { Log("StopRoundEnd"); }
    void RepaintPlates() override { Log("RepaintPlates"); }
    void RestartInfoTimers(UINT ms) override { Log("RestartInfoTimers", int(ms)); }
    void UpdateActionButtons(int state, int mask, BOOL show) override {
        Log("UpdateActionButtons", state, mask, show);
    }
    void ShowTrustButtons(BOOL trusted) override { Log("ShowTrustButtons", trusted); }
    void ShowTrustExitOnly() override { Log("ShowTrustExitOnly"); }
    void UpdateCueButtons() override { Log("UpdateCueButtons"); }
    void ResetHints() override { Log("ResetHints"); }
    void EnableSeatButtons(BOOL enable) override {
        Log("EnableSeatButtons " + std::to_string(enable));
    }
    void ShowCoinButtons() override { Log("ShowCoinButtons"); }
    void ShowStartPane(BOOL show, int multiple) override { Log("ShowStartPane", show, multiple); }
    BOOL MayOfferStartPane() const override { return TRUE; }
    void ShowMultiplePane(int seat, int multiple, BOOL flag) override {
        Log("ShowMultiplePane", seat, multiple, flag);
    }
    void ShowRemnantPane(int seat, int count) override { Log("ShowRemnantPane", seat, count); }
    void ShowGousjPane(int seat, int value) override { Log("ShowGousjPane", seat, value); }
    void ShowResultPane(const tagGAMEOVERMSG&) override { Log("ShowResultPane"); }
    void SetFinishingOrder(const int*) override { Log("SetFinishingOrder"); }
    void ResetPanes() override { Log("ResetPanes"); }
    void ShowNotice(LPCSTR text) override { Log(std::string("ShowNotice ") + text); }
    void ShowQuestionLine(LPCSTR text) override {
        Log(std::string("ShowQuestionLine ") + (text != nullptr ? text : ""));
    }
    void WriteReelLine(LPCSTR text) override { Log(std::string("WriteReelLine ") + text); }
    void ClearReel() override { Log("ClearReel"); }
    void HideSeatTips() override { Log("HideSeatTips"); }
    void PlayGameSound(LPCSTR file) override {
        Log(std::string("PlayGameSound ") + (file ? file : ""));
    }
    void PlayVoice(LPCSTR format, int seat, int) override {
        Log(std::string("PlayVoice ") + format, seat);
    }
    void RefreshSeat(int seat) override { Log("RefreshSeat", seat); }
    void RedrawSeatPlate(int seat) override { Log("RedrawSeatPlate", seat); }
    void UpdateUserInfo(BOOL rise) override { Log("UpdateUserInfo", rise); }
    void SetSeatLevel(int seat, int level) override { Log("SetSeatLevel", seat, level); }
    void UpdateTitle(BOOL watcher) override { Log("UpdateTitle", watcher); }
    void TurnSeatsForGame() override { Log("TurnSeatsForGame"); }
    void SetSoundPlayer(int seat, BOOL male) override { Log("SetSoundPlayer", seat, male); }
    void PassPluginData(const void*) override { Log("PassPluginData"); }

private:
    template <class... Numbers> void Log(const std::string& name, Numbers... numbers) {
        std::string line = name;
        ((line += " " + std::to_string(int(numbers))), ...);
        calls.push_back(line);
    }
};

} // namespace table_test
