// The marks' animation chain: the burn's three steps, each started by the
// end of the one before, and the clean-sweep text that holds the game's
// result back until it ends.

#include "table/panes/TableMarks.h"

#include "game/GameLogic.h"
#include "sprite/SpriteWnd.h"
#include "table/cards/SeatMarkPlaces.h"
#include "table/common/GameWndActionRules.h"
#include "table/common/TableWndFields.h"

namespace {

constexpr int kBurnTicks = 20;

} // namespace

void CTableMarks::SettlePictures() {
    m_host.SettleTablePictures();
}

void CTableMarks::PlayBurnCardAnim(int burningSeat, int targetSeat) {
    if (burningSeat == targetSeat || !IsSeat(burningSeat) || !IsSeat(targetSeat))
        return;
    const int view = m_fields.viewpoint.ViewOf(burningSeat);
    const CSpritePos place = m_fields.AvatarPoint(view);
    const POINT by = view >= 4 ? POINT{-26, -5} : POINT{-20, -10};
    m_burnFrom = PosAt(place.x + by.x, place.y + by.y, place.anchor);
    POSITION pos = AddSpriteByName("烧牌One", kBurnOneSprite, TRUE, 0);
    if (pos == nullptr)
        return;
    // Each step that stands keeps its place from the seats, moved only to
    // stay whole on the table and clear of what it would hide.
    const CSpritePos at = ClearPlace(m_burnFrom, NamedSpriteSize("烧牌One", kBurnOneSprite),
                                     kBurnOneSprite, TableRoomFor::kText);
    auto* line = new CFixedLine;
    line->SetFrom(at.x, at.y, at.anchor, 255);
    const int targetView = m_fields.viewpoint.ViewOf(targetSeat);
    m_wnd.SetSpriteLine(pos, line, TRUE, kBurnOneFirstEnd + targetView, -1, 1, TRUE,
                        [this, targetView] {
                            BurnStepTwo(targetView);
                            SettlePictures();
                        });
}

void CTableMarks::BurnStepTwo(int targetView) {
    POSITION pos = AddSpriteByName("烧牌Two", kBurnTwoSprite, TRUE, 0);
    if (pos == nullptr)
        return;
    const CSpritePos target = m_fields.AvatarPoint(targetView);
    const SIZE size = NamedSpriteSize("烧牌Two", kBurnTwoSprite);
    const CSpritePos from =
        InsideTable(PosAt(m_burnFrom.x + 35, m_burnFrom.y + 55, m_burnFrom.anchor), size);
    // It passes over the table on its way and stands clear where it stops.
    const CSpritePos to = ClearPlace(PosAt(target.x + 25, target.y + 80, target.anchor), size,
                                     kBurnTwoSprite, TableRoomFor::kText);
    auto* line = new CStraightLine;
    line->Init(from.x, from.y, from.anchor, to.x, to.y, to.anchor, kBurnTicks, -1, 255, 255);
    m_wnd.SetSpriteLine(pos, line, TRUE, kBurnTwoEnd, -1, 1, TRUE, [this] {
        BurnStepThree();
        SettlePictures();
    });
}

void CTableMarks::BurnStepThree() {
    POSITION pos = AddSpriteByName("烧牌Three", kBurnThreeSprite, TRUE, 0);
    if (pos == nullptr)
        return;
    const CSpritePos at = ClearPlace(
        PosAt(m_burnFrom.x + 35 - 140, m_burnFrom.y + 55 - 130, m_burnFrom.anchor),
        NamedSpriteSize("烧牌Three", kBurnThreeSprite), kBurnThreeSprite, TableRoomFor::kText);
    auto* line = new CFixedLine;
    line->SetFrom(at.x, at.y, at.anchor, 255);
    m_wnd.SetSpriteLine(pos, line, FALSE, 0, -1, 1, TRUE);
}

void CTableMarks::CleanSweepShown() {
    // The game's data went with the game-over record; a next game my seat
    // has started already keeps its table.
    if (m_bCleanSweep && !m_board.GetStartFlag(m_fields.viewpoint.nMySeat))
        m_panes.ShowResultPane(m_cleanSweepResult);
    m_bCleanSweep = FALSE;
}

void CTableMarks::ShowCleanSweep(const tagGAMEOVERMSG& gameOver) {
    m_cleanSweepResult = gameOver;
    m_bCleanSweep = TRUE;
    m_bGameOverMark = TRUE;
    ShowChuanSanHuMark();
}

void CTableMarks::EndCleanSweepMark() {
    StopSpriteById(kChuanSanHuSprite);
    m_bGameOverMark = FALSE;
}

void CTableMarks::StopTableAnimations() {
    // Forgotten before the mark stops: its end would otherwise bring the
    // finished game's result onto the table that starts afresh.
    m_cleanSweepResult = tagGAMEOVERMSG{};
    m_bCleanSweep = FALSE;
    StopSpriteById(kShuffleSprite);
    StopSpriteById(kChuanSanHuSprite);
}

void CTableMarks::ShowChuanSanHuMark() {
    // My side took the first three places: the text stands at my seat.
    if (PlaceSeatText("串三户", kChuanSanHuSprite, m_fields.viewpoint.nMySeat, kChuanSanHuEnd,
                      [this] {
                          CleanSweepShown();
                          SettlePictures();
                      }) != nullptr)
        return;
    // Without the animation the result follows at once.
    m_bCleanSweep = FALSE;
    m_panes.ShowResultPane(m_cleanSweepResult);
}
