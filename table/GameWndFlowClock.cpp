// The turn clock: a picture counting the turn's seconds down at a point,
// and, on my own turn, the large counter over it for the last ten seconds.

#include "sprite/GifSpriteImage.h"
#include "table/GameWnd.h"

namespace {

constexpr int kClockLayer = 300;
constexpr int kLastSeconds = 10;
constexpr int kCounterLift = 4;

} // namespace

void CGameWnd::StartCountdown(int x, int y, int anchor, int value, int endEvent) {
    StopCountdown();
    const POSITION pos = FindSpritePos(kClockSprite);
    SPRITEINFO* s = pos != nullptr ? GetSpriteAt(pos) : nullptr;
    if (s == nullptr)
        return;
    const SIZE size = GetImageList().GetAt(s->posImage)->GetSize(s);
    // The clock counts down on its second caller word.
    s->nUser[1] = value;
    auto* line = new CFixedLine;
    const int left = x - size.cx / 2;
    const int top = y - size.cy / 2;
    line->Init(left, top, anchor, left, top, anchor, 1, -1, 255, 255);
    SetSpriteLine(pos, line, TRUE, endEvent, kClockLayer, 1, TRUE);
}

void CGameWnd::StopCountdown() {
    for (int id : {kClockSprite, kClockCounterSprite})
        if (POSITION pos = FindSpritePos(id))
            CSpriteWnd::StopSprite(pos, TRUE, TRUE);
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
}
