// The seats' name plates: the seat's picture keyed on magenta over the seat
// frame, and under it the user name and, when there is one, the nickname in
// brackets, in the first colour for my side and the second for opponents.

#include "game/GameLogic.h"
#include "platform/gdi/Dc.h"
#include "platform/text/Text.h"
#include "sprite/GameLayout.h"
#include "sprite/GdiRoutines.h"
#include "table/common/GameWndInfoText.h"
#include "table/window/GameWnd.h"

#include <cstring>

namespace {

constexpr COLORREF kPlateKey = RGB(255, 0, 255);
// What the table window passes its seat displays with every name.
constexpr int kSeatDisplayValue = 22047;
constexpr int kLineHeight = 15;
constexpr int kLineGap = 3;
constexpr int kLineInset = 10;

} // namespace

CRect CGameWnd::PlateRect(int view) const {
    const POINT at = ResolvePos(m_fields.AvatarPoint(view));
    const SIZE size = m_fields.pLayout != nullptr ? m_fields.pLayout->m_sizeAvatar : SIZE{0, 0};
    return CRect(at.x, at.y, at.x + size.cx, at.y + size.cy);
}

COLORREF CGameWnd::PlateTextColor(int view) const {
    const CGameLayout& layout = *m_fields.pLayout;
    // Opponents sit an odd number of places away.
    return (view % 2) != 0 ? layout.m_clrText2 : layout.m_clrText;
}

void CGameWnd::DrawSeatPlates(CDC* pDC) {
    for (int seat = 0; seat < kSeatCount; ++seat)
        DrawSeatPlate(pDC, seat);
}

void CGameWnd::DrawSeatPlate(CDC* pDC, int seat) {
    if (m_fields.pLayout == nullptr || !IsSeat(seat))
        return;
    const CGameLayout& layout = *m_fields.pLayout;
    const int view = m_fields.viewpoint.ViewOf(seat);
    const CRect plate = PlateRect(view);
    const tagUSERINFO& user = m_board.GetUserInfo(seat);
    const CString name = UserNameOf(user);
    if (name.IsEmpty())
        return;
    // The picture is chosen by the player's name: a new player at the seat
    // brings his own.
    m_seatDisplays[seat].FollowName(name, kSeatDisplayValue);
    // A plate wholly outside the area being painted shows nothing of itself.
    RECT reach{plate.left, plate.top, plate.right + 3, plate.bottom + kLineGap + 2 * kLineHeight};
    if (!ClipToDC(pDC->m_hDC, reach))
        return;

    if (plate.Width() > 0 && plate.Height() > 0) {
        CDC picture;
        CBitmap bits;
        if (picture.CreateCompatibleDC(pDC) &&
            bits.CreateCompatibleBitmap(pDC, plate.Width(), plate.Height())) {
            CBitmap* old = picture.SelectObject(&bits);
            picture.FillSolidRect(0, 0, plate.Width(), plate.Height(), kPlateKey);
            m_seatDisplays[seat].Draw(picture.m_hDC, 0, 0, plate.Width(), plate.Height());
            pDC->TransparentBlt(plate.left + 2, plate.top + 1, plate.Width(), plate.Height(),
                                &picture, 0, 0, plate.Width(), plate.Height(), kPlateKey);
            picture.SelectObject(old);
        }
    }

    CFont font;
    font.CreateFont(layout.m_nFontSize, 0, 0, 0, layout.m_nFontWeight, FALSE, FALSE, FALSE,
                    DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                    DEFAULT_PITCH, layout.m_strFontName);
    CFont* oldFont = pDC->SelectObject(&font);
    pDC->SetTextColor(PlateTextColor(view));
    pDC->SetBkMode(TRANSPARENT);
    const UINT flags = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS;
    CRect first(plate.left + kLineInset, plate.bottom + kLineGap, plate.right - kLineInset,
                plate.bottom + kLineGap + kLineHeight);
    const CString nick = NickNameOf(user);
    if (HasNickName(user)) {
        pDC->DrawText(name, &first, flags);
        CRect second = first;
        second.OffsetRect(0, kLineHeight);
        const int bracket = pDC->GetTextExtent(CString("[")).cx;
        pDC->DrawText(CString("["),
                      CRect(second.left, second.top, second.left + bracket, second.bottom),
                      DT_LEFT | DT_VCENTER | DT_SINGLELINE);
        pDC->DrawText(CString("]"),
                      CRect(second.right - bracket, second.top, second.right, second.bottom),
                      DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
        CRect middle(second.left + bracket, second.top, second.right - bracket, second.bottom);
        pDC->DrawText(nick, &middle, flags);
    } else {
        // Alone, the user name sits in the middle of the two lines.
        first.OffsetRect(0, kLineHeight / 2);
        pDC->DrawText(name, &first, flags);
    }
    pDC->SelectObject(oldFont);
}

void CGameWnd::RedrawSeatPlate(int seat) {
    if (m_hWnd == nullptr || !IsSeat(seat))
        return;
    CRect client;
    GetClientRect(&client);
    // A fresh piece of the background under the plate, then the plate area
    // is repainted.
    CRect area = PlateRect(m_fields.viewpoint.ViewOf(seat));
    area.right += 3;
    area.bottom += 33;
    CDC* back = GetBackgroundDC();
    const int saved = back->SaveDC();
    back->IntersectClipRect(&area);
    DrawBackground(back, client.Width(), client.Height());
    back->RestoreDC(saved);
    InvalidateRect(area);
    FlushDirty();
}
