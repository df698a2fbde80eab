// Operations of the table's panes and information that the record handlers
// call; their owners define them. Until then each call is logged.

#include "sprite/AppServices.h"
#include "table/GameWnd.h"

namespace {

void Pending(LPCSTR operation) {
    WriteLog("The table cannot show %s yet", operation);
}

} // namespace

void CGameWnd::ShowRemnantPane(int, int) {
    Pending("a remnant pane");
}
void CGameWnd::ShowMultiplePane(int, int, BOOL) {
    Pending("a multiple pane");
}
void CGameWnd::ShowGousjPane(int, int) {
    Pending("a gousiji pane");
}
void CGameWnd::ResetPanes() {
    Pending("the panes' reset");
}
void CGameWnd::AddReelLine(LPCSTR, BOOL) {
    Pending("a reel line");
}
void CGameWnd::UpdateUserInfo(BOOL) {
    Pending("the user information");
}
CString CGameWnd::SeatDisplayName(int seat) const {
    const tagUSERINFO& user = theBoard.GetUserInfo(seat);
    return CString(user.szUserName, int(strnlen(user.szUserName, sizeof user.szUserName)));
}
void CGameWnd::ShowCountdownPane(int, int) {
    Pending("the countdown pane");
}
void CGameWnd::HitTestSeat() {
    Pending("the information tip");
}
void CGameWnd::OnHoverTimer(UINT_PTR) {
    Pending("the seat pop-up");
}
void CGameWnd::PlayBurnCardAnim(int, int) {
    Pending("the shao animation");
}
void CGameWnd::ShowSeatTip(LPCSTR, int) {
    Pending("a seat's speech tip");
}
