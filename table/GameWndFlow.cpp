// The flow display's operations still to come.

#include "sprite/AppServices.h"
#include "table/GameWnd.h"

void CGameWnd::ShowNotice(LPCSTR) {
    NotBuiltYet("a notice");
}
void CGameWnd::OnDealCard(int, int) {
    NotBuiltYet("a dealt card");
}
void CGameWnd::OnDealEnd() {
    NotBuiltYet("the deal's end");
}
void CGameWnd::StartCountdown(int, int, int, int, int) {
    NotBuiltYet("the clock");
}
void CGameWnd::StopCountdown() {
    NotBuiltYet("the clock");
}
void CGameWnd::UpdateActionButtons(int, int, BOOL) {
    NotBuiltYet("the action buttons");
}
POSITION CGameWnd::AddSpriteByName(LPCSTR, int, BOOL, int) {
    NotBuiltYet("a text sprite");
    return nullptr;
}
BOOL CGameWnd::CreateTextSprites() {
    NotBuiltYet("the text sprites");
    return FALSE;
}
void CGameWnd::ShowWaitMark(int, BOOL) {
    NotBuiltYet("the waiting mark");
}
void CGameWnd::ShowReadyMark(int, BOOL) {
    NotBuiltYet("a ready mark");
}
void CGameWnd::ShowPlaceMark(int, int) {
    NotBuiltYet("a place mark");
}
void CGameWnd::ClearPlaceMarks() {
    NotBuiltYet("the place marks");
}
void CGameWnd::ClearAllSeats() {
    NotBuiltYet("the seats' marks");
}
void CGameWnd::ShowTrustMark(int, int) {
    NotBuiltYet("a trust mark");
}
void CGameWnd::ClearTrustMarks() {
    NotBuiltYet("the trust marks");
}
void CGameWnd::ShowActionMark(int, int) {
    NotBuiltYet("an action mark");
}
void CGameWnd::MarkOpenPoint(int, BOOL) {
    NotBuiltYet("a point mark");
}
void CGameWnd::MarkShao(int, BOOL, BOOL) {
    NotBuiltYet("a shao mark");
}
void CGameWnd::MarkRevolution(int, BOOL) {
    NotBuiltYet("a revolution mark");
}
void CGameWnd::MarkNowPoint(int, BOOL) {
    NotBuiltYet("a point mark");
}
void CGameWnd::MarkPrePoint(int, BOOL) {
    NotBuiltYet("a point mark");
}
void CGameWnd::ShowExchangeMark(int) {
    NotBuiltYet("the exchange mark");
}
void CGameWnd::ShowRevolutionMark(int) {
    NotBuiltYet("a text animation");
}
void CGameWnd::ShowOpenPointMark(int) {
    NotBuiltYet("a text animation");
}
void CGameWnd::ShowPrePointMark(int) {
    NotBuiltYet("a text animation");
}
void CGameWnd::ShowTributeMark(int) {
    NotBuiltYet("a text animation");
}
void CGameWnd::ShowTouKeMark() {
    NotBuiltYet("a text animation");
}
void CGameWnd::ShowChuanSanHuMark() {
    NotBuiltYet("a text animation");
}
void CGameWnd::PlayUpgradeAnim(int) {
    NotBuiltYet("a text animation");
}
BOOL CGameWnd::FlyCards(int, int, int, int) {
    NotBuiltYet("a card flight");
    return FALSE;
}
BOOL CGameWnd::SwapFlyCards(int, int, int, int, int) {
    NotBuiltYet("a card flight");
    return FALSE;
}
int CGameWnd::IntributeFlyCard(int, const int*, int, int) {
    NotBuiltYet("a tribute flight");
    return 0;
}
void CGameWnd::RedrawSeatPlate(int) {
    NotBuiltYet("a name plate");
}
void CGameWnd::OnSpriteFrame(POSITION pos, int nParam, int nFrame, int nFrameCount) {
    CSpriteWnd::OnSpriteFrame(pos, nParam, nFrame, nFrameCount);
}
