// The turn clock: a picture counting the turn's seconds down at a point,
// and, on my own turn, the large counter over it for the last ten seconds.

#include "platform/window/WindowAttention.h"
#include "sprite/DigitImage.h"
#include "sprite/GameLayout.h"
#include "sprite/GifSpriteImage.h"
#include "table/window/GameWnd.h"
#include "table/common/GameWndActionRules.h"
#include "table/cards/SeatMarkPlaces.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <utility>

namespace {

constexpr int kLastSeconds = 10;
constexpr int kCounterLift = 4;

} // namespace

void CGameWnd::ShowTurnClock(int seconds, int endEvent) {
    m_commands.StepAsideForMyTurn();
    // The clock stands on my plate: beside it lie my hand, my buttons and
    // the marks of the seat above mine; always whole inside the table.
    const POSITION pos = FindSpritePos(kClockSprite);
    SPRITEINFO* s = pos != nullptr ? GetSpriteAt(pos) : nullptr;
    if (s == nullptr || m_fields.pLayout == nullptr)
        return;
    const SIZE clock = GetImageList().GetAt(s->posImage)->GetSize(s);
    const SIZE plate = m_fields.pLayout->m_sizeAvatar;
    const CSpritePos place = m_fields.AvatarPoint(0);
    const CSpritePos left = InsideTable(PosAt(place.x + (plate.cx - clock.cx) / 2,
                                              place.y + (plate.cy - clock.cy) / 2, place.anchor),
                                        clock);
    StartCountdown(left.x + clock.cx / 2, left.y + clock.cy / 2, left.anchor, seconds, endEvent);
    // My turn: the program's window flashes for a player looking elsewhere.
    if (m_hWnd != nullptr)
        ::FlashWindow(m_hWnd, TRUE);
}

void CGameWnd::StartCountdown(int x, int y, int anchor, int value, int endEvent) {
    StopCountdown();
    const POSITION pos = FindSpritePos(kClockSprite);
    SPRITEINFO* s = pos != nullptr ? GetSpriteAt(pos) : nullptr;
    if (s == nullptr)
        return;
    const SIZE size = GetImageList().GetAt(s->posImage)->GetSize(s);
    // The clock counts down on its second caller word, and shows the number
    // itself until the last seconds' counter takes it over.
    s->nUser[1] = value;
    s->nUser[2] = 0;
    // A line that stands still for the whole countdown: half of it to reach
    // its end, half resting there, and the play ends once with the end event
    // (a fixed line would end on its first tick).
    auto* line = new CStraightLine;
    const int left = x - size.cx / 2;
    const int top = y - size.cy / 2;
    // The server's limit, any value: the line's ticks stay within an int.
    const int half = int(
        std::min<int64_t>(int64_t(std::max(1, value)) * CDigitImage::kSecondTicks / 2, INT_MAX));
    line->Init(left, top, anchor, left, top, anchor, 1, half, 255, 255);
    // A clock of a turn that runs out answers for me.
    SpriteDone runOut;
    if (endEvent >= kClockEventMyTurn && endEvent <= kClockEventLast)
        runOut = [this, endEvent] { m_commands.AnswerClock(endEvent); };
    SetSpriteLine(pos, line, TRUE, endEvent, kClockLayer, 1, TRUE, std::move(runOut));
}

void CGameWnd::StopCountdown() {
    for (int id : {kClockSprite, kClockCounterSprite}) {
        POSITION pos = FindSpritePos(id);
        SPRITEINFO* s = pos != nullptr ? GetSpriteAt(pos) : nullptr;
        if (s == nullptr || s->nChannel < 0)
            continue;
        // Stopping a running line would run it to its end and report the
        // time-out: the clock is first stood on a still line that reports nothing.
        if (s->pLine != nullptr && !s->pLine->IsFixed()) {
            auto* still = new CFixedLine;
            const CSpritePos from = s->pLine->m_from;
            still->Init(from.x, from.y, from.anchor, from.x, from.y, from.anchor, 1, -1, 255, 255);
            SetSpriteLine(pos, still, FALSE, 0, -1, 0, FALSE);
        }
        CSpriteWnd::StopSprite(pos, TRUE, TRUE);
    }
}

void CGameWnd::OnSpriteFrame(POSITION pos, int nParam, int nFrame, int nFrameCount) {
    CSpriteWnd::OnSpriteFrame(pos, nParam, nFrame, nFrameCount);
    if (GetSpriteId(pos) != kClockSprite || nParam != kClockEventMyTurn)
        return;
    const int left = nFrameCount - nFrame;
    if (left > kLastSeconds)
        return;
    ShowClockCounter(pos, left);
    PlayGameSound("timerout.wav");
}

void CGameWnd::ShowClockCounter(POSITION clock, int value) {
    const POSITION pos = FindSpritePos(kClockCounterSprite);
    SPRITEINFO* s = pos != nullptr ? GetSpriteAt(pos) : nullptr;
    SPRITEINFO* c = GetSpriteAt(clock);
    if (s == nullptr || c == nullptr)
        return;
    CSpriteImage* image = GetImageList().GetAt(s->posImage);
    if (auto* counter = dynamic_cast<CCounterGifImage*>(image))
        counter->SetValue(value);
    const SIZE size = image->GetSize(s);
    const CRect clockRect = GetSpriteRect(clock);
    // Centred on the clock, a little higher.
    const int left = clockRect.CenterPoint().x - size.cx / 2;
    const int top = clockRect.CenterPoint().y - size.cy / 2 - kCounterLift;
    auto* line = new CFixedLine;
    line->Init(left, top, 0, left, top, 0, 1, -1, 255, 255);
    s->nUser[1] = value;
    SetSpriteLine(pos, line, FALSE, 0, -1, 0, TRUE);
    // One number on the clock: the face under the counter leaves its own out.
    if (c->nUser[2] != CDigitImage::kNumberShownAbove) {
        c->nUser[2] = CDigitImage::kNumberShownAbove;
        InvalidateSprite(clock);
    }
}
