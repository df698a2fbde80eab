#pragma once

// The table's seat marks and text animations: trusteeship, pass, let and
// give up, the point, shao and revolution marks, finishing places, ready,
// waiting and exchange at each seat's plate; and the theme's named text
// sprites (the shuffle, revolution, points, tribute, first place, the burn's
// three steps, the clean sweep, win and loss, the level-up), made on demand.
// They are sprites of the table window, which owns them; the steps of their
// chains follow as the animations' end callbacks. What they ask of the
// window besides is their host (MarkHost.h).

#include "game/StateRecords.h"
#include "platform/CString.h"
#include "platform/Geometry.h"
#include "platform/PtrList.h"
#include "sprite/SpriteInfo.h"
#include "sprite/SpritePos.h"
#include "table/cards/SeatMarkPlaces.h"
#include "table/panes/MarkHost.h"
#include "table/records/TableView.h"

#include <vector>

class CGameLogic;
class CGameNetClient;
class CSpriteWnd;
struct CTableWndFields;

class CTableMarks : public CMarkView {
public:
    CTableMarks(const CGameLogic& board, CSpriteWnd& wnd, CMarkHost& host, CTableWndFields& fields,
                CPaneView& panes)
        : m_board(board), m_wnd(wnd), m_host(host), m_fields(fields), m_panes(panes) {}
    CTableMarks(const CTableMarks&) = delete;
    CTableMarks& operator=(const CTableMarks&) = delete;

    void SetClient(CGameNetClient* client) { m_client = client; }
    // The theme file the text sprites are described in, and its pictures' folder.
    void SetTheme(const CString& themeFile, const CString& bitmapFolder) {
        m_strThemeFile = themeFile;
        m_strBitmapFolder = bitmapFolder;
    }

    // ---- what the record handling shows (CMarkView) ----
    void ShowWaitMark(int seat, BOOL hide) override;
    void ShowReadyMark(int seat, BOOL clear) override;
    void ShowPlaceMark(int seat, int place) override;
    void ClearAllSeats() override;
    void ShowTrustMark(int seat, int status) override;
    void ClearTrustMarks() override;
    void ShowActionMark(int seat, int flags) override;
    void MarkOpenPoint(int seat, BOOL show) override;
    void MarkShao(int seat, BOOL show, BOOL effect) override;
    void MarkRevolution(int seat, BOOL show) override;
    void MarkNowPoint(int seat, BOOL show) override;
    void MarkPrePoint(int seat, BOOL show) override;
    void ShowRevolutionMark(int seat) override;
    void ShowOpenPointMark(int seat) override;
    void ShowPrePointMark(int seat) override;
    void ShowTributeMark(int seat) override;
    void ShowTouKeMark() override;
    void PlayBurnCardAnim(int burningSeat, int targetSeat) override;
    void ShowCleanSweep(const tagGAMEOVERMSG& gameOver) override;
    void EndCleanSweepMark() override;
    void StopTableAnimations() override;

    // The sprite of theme section "SPRITE_<name>"; an existing sprite of the
    // id is shown and returned. Null when the section or its picture is missing.
    POSITION AddSpriteByName(LPCSTR name, int id, BOOL show, int param);
    // The table's text sprites, each only when missing; FALSE at the first
    // that cannot be made.
    BOOL CreateTextSprites();
    // The shuffle picture, played once; its end starts the deal.
    // FALSE when the theme has no such picture.
    BOOL ShowShuffleMark(SpriteDone startDeal);
    void ClearPlaceMarks();
    void ShowExchangeMark(int seat);
    void ShowChuanSanHuMark();
    void PlayUpgradeAnim(int seat);
    // The win or loss text, centred just above the result pane's top.
    void ShowResultBanner(LPCSTR name, int id, int paneTop);
    // The game-over mark shows until my seat starts again.
    BOOL IsGameOverMarkShown() const { return m_bGameOverMark; }

private:
    // The picture of a mark (a [FLAG] bitmap) in the image list, made once.
    POSITION FlagImage(int imageId, int flag);
    // Shows the mark sprite at the point, making it when missing.
    POSITION ShowMark(int spriteId, int imageId, int flag, const CSpritePos& at, int layer);
    // The point moved, as little as it takes, to stand whole on the table
    // and clear of what the picture must not hide.
    CSpritePos ClearPlace(const CSpritePos& at, SIZE size, int spriteId, TableRoomFor what) const;
    void RemoveSpriteById(int spriteId);
    void StopSpriteById(int spriteId);
    // The point, shao and revolution marks: dy below the plate's point.
    void ShowSeatFlag(int seat, BOOL show, int spriteBase, int dy, BOOL flash);
    CSpritePos SeatFlagPlace(int view, int dy, SIZE size) const;
    // Where the other seats' point, shao and revolution marks would stand.
    std::vector<CRect> OtherSeatsFlagRects();
    // A named text sprite shown once at the point (centred when its section
    // or the caller asks); endEvent -1 for none, else it names the play that
    // runs onEnd. Null when it cannot be made.
    POSITION PlaceNamedSprite(LPCSTR name, int id, const CSpritePos& at, int endEvent,
                              BOOL centreOnPoint = FALSE, SpriteDone onEnd = {});
    // The size of a named text sprite's picture, making the sprite when missing.
    SIZE NamedSpriteSize(LPCSTR name, int id);
    // Where a seat's text of the size stands (its centre).
    CSpritePos TextAnimationPlace(int seat, SIZE size) const;
    // A seat's named text shown once at its place.
    POSITION PlaceSeatText(LPCSTR name, int id, int seat, int endEvent = -1, SpriteDone onEnd = {});
    // A step of the marks' chain has landed: the next one, then the
    // pictures it landed on step aside.
    void BurnStepTwo(int targetView);
    void BurnStepThree();
    void CleanSweepShown();
    void SettlePictures();

    const CGameLogic& m_board;
    CSpriteWnd& m_wnd;
    CMarkHost& m_host;
    CTableWndFields& m_fields;
    CPaneView& m_panes;
    CGameNetClient* m_client = nullptr;
    CString m_strThemeFile;
    CString m_strBitmapFolder;

    // Where burn step one stood, for steps two and three.
    CSpritePos m_burnFrom;
    BOOL m_bGameOverMark = FALSE;
    // The game-over record the clean-sweep mark holds back, and whether the
    // mark plays.
    tagGAMEOVERMSG m_cleanSweepResult{};
    BOOL m_bCleanSweep = FALSE;
};
