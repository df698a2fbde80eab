// The table's mouse input: seat changes by a click on a name plate, the
// presses on the result text, the reel and the last cards, picking cards of
// my hand and my partners' shown hands by click or rubber band, and playing
// with the right button. Keys are left to the buttons.

#include "game/Seats.h"
#include "platform/resources/Resource.h"
#include "platform/system/Clock.h"
#include "platform/window/Cursor.h"
#include "sprite/AppServices.h"
#include "sprite/GameLayout.h"
#include "table/client/GameNetClient.h"
#include "table/window/GameWnd.h"
#include "table/common/GameWndActionRules.h"

#include <cstring>

namespace {

constexpr int kReelPaneSprite = 502;
constexpr int kLastCardPaneSprite = 516;
constexpr UINT kSeatCursorId = 3017;

bool SeatTaken(const CGameLogic& board, int seat) {
    const tagUSERINFO& user = board.GetUserInfo(seat);
    return user.szUserName[0] != '\0';
}

bool HasName(const SPRITEINFO* sprite, const char* name) {
    return sprite != nullptr && strncmp(sprite->szName, name, sizeof sprite->szName) == 0;
}

bool IsRaised(const SPRITEINFO* sprite) {
    return sprite != nullptr && (sprite->nUser[2] & kCardSelectedFlag) != 0;
}

} // namespace

void CGameWnd::RequestSeatChange(int seat, int watch) {
    if (m_pClient != nullptr)
        m_pClient->ChangeSeat(WORD(seat), watch);
}

void CGameWnd::OnLButtonDownEx(UINT, int x, int y) {
    const bool running = m_board.GetGameState() != kStateWaitStart;
    if ((m_board.GetRuleFlags() & kRuleChatWatchTarget) && (!running || IsWatcher())) {
        const int view = m_info.NameLineViewAt(POINT{x, y});
        if (view >= 0) {
            const int seat = m_fields.viewpoint.SeatOfView(view);
            const DWORD now = GetTickCount();
            switch (SeatClickFor(seat, m_fields.viewpoint.nMySeat, IsWatcher(),
                                 SeatTaken(m_board, seat), running, now - m_dwSeatChangeTick)) {
            case SeatClick::kNothing:
                return;
            case SeatClick::kTooSoon:
                ShowNotice("对不起,您换座位太频繁!请稍后再试!");
                return;
            case SeatClick::kNoRequest:
                m_dwSeatChangeTick = now;
                break;
            case SeatClick::kSit:
                m_dwSeatChangeTick = now;
                RequestSeatChange(seat, 0);
                break;
            case SeatClick::kWatch:
                m_dwSeatChangeTick = now;
                RequestSeatChange(seat, 1);
                break;
            }
        }
    }
    POSITION hit = HitTest(x, y);
    if (hit == nullptr)
        return;
    if (!m_bInputAllowed) {
        ::ReleaseCapture();
        return;
    }
    const int id = GetSpriteId(hit);
    if (id == kWinSprite || id == kLoseSprite)
        m_bResultPressed = 1;
    else if (id == kReelPaneSprite)
        m_bReelPressed = 1;
    else if (id == kLastCardPaneSprite)
        m_bLastCardPressed = 1;
    else if (!IsWatcher() && IsPickingState(m_board.GetGameState(), MyMask())) {
        m_fields.bDragging = TRUE;
        m_ptDragStart = POINT{x, y};
    }
}

void CGameWnd::OnMouseMoveEx(UINT, int x, int y) {
    if (m_bResultPressed)
        return;
    if (m_fields.bDragging) {
        m_hands.MarkDrag(m_ptDragStart.x, m_ptDragStart.y, x, y);
        if (m_board.GetRuleFlags() & kRuleCardsLeftNotice) {
            m_hands.MarkDragRight(m_ptDragStart.x, m_ptDragStart.y, x, y);
            m_hands.MarkDragLeft(m_ptDragStart.x, m_ptDragStart.y, x, y);
        }
        return;
    }
    const bool running = m_board.GetGameState() != kStateWaitStart;
    if (running && !IsWatcher())
        return;
    const int view = m_info.NameLineViewAt(POINT{x, y});
    if (view < 0)
        return;
    const int seat = m_fields.viewpoint.SeatOfView(view);
    if (!SeatTaken(m_board, seat) || running)
        SetCursor(LoadCursor(AfxGetResourceHandle(), MAKEINTRESOURCE(kSeatCursorId)));
}

void CGameWnd::PickCards(int x, int y) {
    const bool partners = (m_board.GetRuleFlags() & kRuleCardsLeftNotice) != 0;
    POSITION hit = HitTest(x, y);
    if (hit == nullptr) {
        m_hands.ClearDragMarks(TRUE);
        m_hands.ClearSelection();
        if (partners) {
            m_buttons[kBtnLeftCue].Enable(FALSE);
            m_buttons[kBtnRightCue].Enable(FALSE);
        }
        return;
    }
    const SPRITEINFO* sprite = GetSpriteAt(hit);
    // A drag selects what it swept; only a plain click toggles the card under it.
    if (m_hands.ApplyDragMarks() == 0 && HasName(sprite, kMyCardName)) {
        if (IsRaised(sprite)) {
            m_hands.SelectHandCard(hit, FALSE);
        } else if (m_board.GetGameState() == kStatePlay) {
            const std::vector<tagPLAYENTRY>& plays = m_board.GetPlayList();
            const int n = plays.empty() ? 0 : CGameLogic::GetCardTypeNonJokers(plays.back().type);
            m_hands.SelectSameRank(n, hit);
        } else {
            m_hands.SelectHandCard(hit, TRUE);
        }
    }
    if (!partners)
        return;
    if (m_hands.ApplyDragMarksRight() == 0 && HasName(sprite, kRightShownName))
        m_hands.SelectShownCard(hit, !IsRaised(sprite));
    if (m_hands.ApplyDragMarksLeft() == 0 && HasName(sprite, kLeftShownName))
        m_hands.SelectShownCard(hit, !IsRaised(sprite));
    m_buttons[kBtnLeftCue].Enable(m_hands.CountSelectedLeft() > 0);
    m_buttons[kBtnRightCue].Enable(m_hands.CountSelectedRight() > 0);
}

void CGameWnd::OnLButtonUpEx(UINT, int x, int y) {
    // A release is taken while a record is shown too: the bots act about
    // once a second and each play, tribute or return flies for most of it,
    // so a person's clicks would be lost for good (and a press begun before
    // would stay open as a drag). Picking cards sends nothing; the records
    // still wait for the window's ready flag.
    ::ReleaseCapture();
    if (!m_bInputAllowed)
        return;
    if (m_bResultPressed) {
        m_bResultPressed = 0;
        return;
    }
    m_fields.bDragging = FALSE;
    if (m_bReelPressed) {
        m_bReelPressed = 0;
        m_commands.SwapButtons(kBtnReelOpen, kBtnReel);
        m_panes.ShowReelPane(FALSE);
    }
    if (m_bLastCardPressed) {
        m_bLastCardPressed = 0;
        m_panes.ShowLastCardPane(FALSE);
    }
    const int state = m_board.GetGameState();
    const int mask = MyMask();
    if (IsWatcher() || !IsPickingState(state, mask))
        return;
    PickCards(x, y);
    UpdateActionButtons(state, mask, TRUE);
}

void CGameWnd::OnRButtonDownEx(UINT, int, int) {
    const int state = m_board.GetGameState();
    switch (RightClickPlayFor(state, MyMask(), m_hands.CountSelected() > 0)) {
    case RightClickPlay::kTakeOut:
        m_commands.OnTakeOut();
        break;
    case RightClickPlay::kPass:
        m_commands.OnPass();
        break;
    case RightClickPlay::kShao:
        m_commands.OnShaoPai();
        break;
    case RightClickPlay::kGiveUp:
        m_commands.OnGaveUp();
        break;
    case RightClickPlay::kReturnTribute:
        m_commands.OnReturnTributeCmd();
        break;
    case RightClickPlay::kNothing:
        break;
    }
}
