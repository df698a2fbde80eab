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

LRESULT CGameWnd::OnGameMessage(WPARAM, LPARAM lParam) {
    const int* id = reinterpret_cast<const int*>(lParam);
    WriteLog("The table cannot present record %x yet", id != nullptr ? unsigned(*id) : 0u);
    return 0;
}
void CGameWnd::PlayGameSound(LPCSTR) {
    Pending("a sound");
}
void CGameWnd::ResetTable() {
    Pending("a reset table");
}
void CGameWnd::HideFreeSeatMarks() {
    Pending("hiding the free seats' marks");
}
void CGameWnd::UpdateSeatCards(int) {
    Pending("a seat's cards");
}
void CGameWnd::OnChangeSeatScene() {
    Pending("a changed seat");
}
