// Operations of the table window that its other parts (the player's actions,
// the panes, the table information and the record handlers) define. Until
// they are here each one is logged, so that a call is seen rather than lost.

#include "sprite/AppServices.h"
#include "table/GameWnd.h"

namespace {

void Pending(LPCSTR operation) {
    WriteLog("The table cannot do %s yet", operation);
}

} // namespace

void CGameWnd::OnTrust() {
    Pending("trusteeship on");
}
void CGameWnd::OnTrustExit() {
    Pending("trusteeship off");
}
void CGameWnd::OnHistory() {
    Pending("the history");
}
void CGameWnd::OnPrevturn() {
    Pending("the last cards");
}
void CGameWnd::OnSound() {
    Pending("the sound panel");
}
void CGameWnd::OnExchange() {
    Pending("an exchange");
}
void CGameWnd::OnReel() {
    Pending("the reel");
}
void CGameWnd::OnReelOpen() {
    Pending("the reel");
}
void CGameWnd::OnMagnif() {
    Pending("the magnifier");
}
void CGameWnd::OnMagnifOpen() {
    Pending("the magnifier");
}
void CGameWnd::OnTakeOut() {
    Pending("a take out");
}
void CGameWnd::OnShaoPai() {
    Pending("a shao");
}
void CGameWnd::OnPass() {
    Pending("a pass");
}
void CGameWnd::OnGaveUp() {
    Pending("a give up");
}
void CGameWnd::OnRangpai() {
    Pending("a let");
}
void CGameWnd::OnSearch() {
    Pending("a hint");
}
void CGameWnd::OnDeclPoint() {
    Pending("a point");
}
void CGameWnd::OnDeclPointOpen() {
    Pending("an open point");
}
void CGameWnd::OnDeclNoPoint() {
    Pending("no point");
}
void CGameWnd::OnReturnTributeCmd() {
    Pending("a tribute return");
}
void CGameWnd::OnRevolutionCmd(BOOL) {
    Pending("a revolution answer");
}
void CGameWnd::OnGousijiCmd(BOOL) {
    Pending("a gousiji answer");
}
void CGameWnd::OnBuyThree() {
    Pending("buying a three");
}
void CGameWnd::OnPayTribute() {
    Pending("a tribute");
}
void CGameWnd::OnLeftCue() {
    Pending("a cue");
}
void CGameWnd::OnRightCue() {
    Pending("a cue");
}
void CGameWnd::OnTakeChance() {
    Pending("the betting");
}
void CGameWnd::OnStartCmd() {
    Pending("a start");
}
void CGameWnd::OnChip(UINT) {
    Pending("a chip");
}
void CGameWnd::ClearAllPanes() {
    Pending("clearing the panes");
}
void CGameWnd::ShowResultPane(const tagGAMEOVERMSG&) {
    Pending("the result pane");
}
void CGameWnd::OnButtonHover(int, BOOL) {
    Pending("a button's hint");
}
void CGameWnd::OnOwnChatLine(LPCSTR) {
    Pending("an own chat line");
}
void CGameWnd::OnReceivedChatLine(LPCSTR) {
    Pending("a chat line");
}
void CGameWnd::ShowStartButtons(BOOL) {
    Pending("the start buttons");
}
void CGameWnd::RedrawTableInfo() {
    Pending("the table information");
}
void CGameWnd::RefreshUserList() {
    Pending("the user list");
}
void CGameWnd::ShowStartPane(BOOL, int) {
    Pending("the start pane");
}
