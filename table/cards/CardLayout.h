#pragma once

// The hands drawn face up at the bottom of the table: my own hand, my two
// partners' shown hands and their cue cards. The layout owns the card-face
// images of the table window, keeps one list per group of cards on screen,
// places and animates their sprites, and turns clicks and drags on a hand
// into a selection.

#include "platform/PtrList.h"
#include "platform/Types.h"
#include "sprite/SpriteInfo.h"
#include "sprite/SpritePos.h"
#include "table/common/AnimationEvents.h"

#include <functional>
#include <list>

class CBitmap;
class CSpriteLine;
class CSpriteWnd;
struct CTableWndFields;

// One card of a hand on screen: its code (0..215; anything else is a card
// whose face is not known and is drawn as the back), its sort weight while a
// re-sort runs (-1 = not weighed) and its sprite.
struct HANDENTRY {
    int nCard;
    int nWeight;
    POSITION pos;
};
using CHandList = std::list<HANDENTRY>;

// The third caller word of a card sprite.
enum : int { kCardSelectedFlag = 0x1, kCardDragMark = int(0x80000000u) };
// The second caller word marks a card swept again by the current drag step.
constexpr int kDragScratchMark = 1;

// Image ids in the table window's image list.
enum {
    kCardFaceImageId = 800,
    kCardBackImageId = 854,
    kLittleFaceImageId = 900,
    kLittleBackImageId = 954,
};

// Sprite names; only the three upper-case hand names take clicks and drags.
extern const char kMyCardName[];
extern const char kLeftShownName[];
extern const char kRightShownName[];
extern const char kCueCardName[];
extern const char kHiddenBackName[];

// Whether the code names a card; a back is anything else.
inline bool IsCardCode(int card) {
    return card >= 0 && card < 216;
}

// Where the sprite stands now as a sprite position: the client point it has
// reached while it flies, else where its line ends.
CSpritePos SpritePlaceOf(CSpriteWnd* wnd, POSITION sprite);
// A new card sprite on a straight line, started (notifying the event on
// arrival unless it is CCardLayout::kNoNotify, and then running onLanded);
// null (logged) when it cannot play.
POSITION AddCardFlight(CSpriteWnd* wnd, POSITION image, const CSpritePos& from,
                       const CSpritePos& to, int ticks, BYTE alphaFrom, BYTE alphaTo, int z,
                       int card, LPCSTR name, BOOL autoRemove, int notifyEvent,
                       SpriteDone onLanded = {});

// Whether both seats are seats (0..5); logs the first that is not.
bool CheckSeats(int seatA, int seatB);

// Whether a record of n card codes may be drawn: a count of 0..55 and every
// code a card (or, with allowBacks, 255 or -1 for a back). Logs a refusal.
bool CheckCardRecord(const int* cards, int n, bool allowBacks, LPCSTR what);

class CCardLayout {
public:
    // How a fan lays its cards: slot i at (x0 + i * step, y), a selected card
    // `raise` pixels higher, depths from z0.
    struct FanPlace {
        int x0;
        int step;
        int y;
        int anchor;
        int raise;
        int z0;
    };
    // Makes the sprite of a card inserted at slot (x, y, anchor) with depth z;
    // null when it cannot.
    using MakeSprite = std::function<POSITION(const CSpritePos& slot, int z)>;

    // The cards are sprites of the window, laid by the fields' layout and
    // viewpoint.
    CCardLayout(CSpriteWnd& wnd, CTableWndFields& fields) : m_wnd(wnd), m_fields(fields) {}
    virtual ~CCardLayout() = default;
    CCardLayout(const CCardLayout&) = delete;
    CCardLayout& operator=(const CCardLayout&) = delete;

    // ---- images ----
    // Cut a sheet of 13 x 5 cells of cx x cy pixels into the 54 faces and the
    // back; FALSE (logged, earlier images kept) for a sheet that cannot hold them.
    BOOL LoadCardFaces(CBitmap* sheet, int cx, int cy);
    BOOL LoadLittleCardFaces(CBitmap* sheet, int cx, int cy);
    POSITION GetCardImage(int card) const;
    POSITION GetCardBackImage() const { return m_backImage; }
    POSITION GetLittleCardImage(int card) const;
    POSITION GetLittleCardBackImage() const { return m_littleBackImage; }

    // ---- my hand ----
    BOOL DisplayCard(int card);
    BOOL InsertCardByWeight(const HANDENTRY& entry);
    BOOL DealCard(int card, POSITION flying, int notifyEvent);
    BOOL DealBack(int card, POSITION flying, int notifyEvent);
    void ClearHand();
    void CalcLayout();
    void SortCardbyWeight(BOOL byWeight);

    // ---- selection of my hand ----
    void SelectHandCard(POSITION sprite, BOOL select);
    int SelectSameRank(int n, POSITION sprite);
    void SelectPlay(UINT playWord, int seat);
    void ClearSelection();
    int ApplyDragMarks();
    void ClearDragMarks(BOOL repaint);
    void MarkDrag(int x0, int y0, int x1, int y1);
    int GetSelectedCards(int* cards, int capacity) const;
    int CountSelected() const;

    // ---- my partners' shown hands and cue cards ----
    BOOL ShowAllyCard(int card, int seat);
    void ShowAllyHand(const int* cards, int n, int seat);
    void ShowCueCards(const int* cards, int n, int seat);
    void ClearLeftShown() { ClearList(m_leftShown); }
    void ClearRightShown() { ClearList(m_rightShown); }
    void ClearLeftCue() { ClearList(m_leftCue); }
    void ClearRightCue() { ClearList(m_rightCue); }
    void SelectShownCard(POSITION sprite, BOOL select);
    void MarkDragLeft(int x0, int y0, int x1, int y1);
    void MarkDragRight(int x0, int y0, int x1, int y1);
    void ClearDragMarksLeft(BOOL repaint) { ClearMarks(m_leftShown, repaint); }
    void ClearDragMarksRight(BOOL repaint) { ClearMarks(m_rightShown, repaint); }
    int ApplyDragMarksLeft() { return ApplyMarks(m_leftShown, kShownRaise); }
    int ApplyDragMarksRight() { return ApplyMarks(m_rightShown, kShownRaise); }
    void DeselectLeft() { DeselectList(m_leftShown, kShownRaise); }
    void DeselectRight() { DeselectList(m_rightShown, kShownRaise); }
    int GetSelectedLeft(int* cards, int capacity) const;
    int GetSelectedRight(int* cards, int capacity) const;
    int CountSelectedLeft() const { return CountSelectedIn(m_leftShown); }
    int CountSelectedRight() const { return CountSelectedIn(m_rightShown); }

    // ---- cards arriving from other seats ----
    BOOL ReceiveCard(int card, int fromView, int event, SpriteDone onLanded = {});
    BOOL ReceiveCards(const int* cards, int n, int fromSeat, int toSeat);
    BOOL FlyToHand(const int* cards, int n, int fromSeat, int toSeat);

    // ---- for the played cards and the tests ----
    CHandList& GetHand() { return m_hand; }
    const CHandList& GetHand() const { return m_hand; }
    const CHandList& GetLeftShown() const { return m_leftShown; }
    const CHandList& GetRightShown() const { return m_rightShown; }
    // The slots of my hand when it holds n cards: the layout's spacing, or a
    // closer one when the fan would not fit the table beside my plate.
    FanPlace MyHandFan(int n) const;
    // Gives every card of my hand the face (or back) cut now: the window cut
    // its faces anew at another size.
    void RefaceHand();
    // Lays my hand out again when the window's width changed its spacing;
    // TRUE when it moved.
    BOOL FitHandToWindow();
    // The y of my hand's base line (anchor 7).
    int HandBaseY() const;
    // A new started sprite on a straight line; null (logged) when it cannot play.
    POSITION AddMovingSprite(POSITION image, const CSpritePos& from, const CSpritePos& to,
                             int ticks, BYTE alphaFrom, int z, int card, LPCSTR name,
                             BOOL autoRemove, int notifyEvent, SpriteDone onLanded = {});
    // Where the sprite stands now, as a sprite position.
    CSpritePos SpritePlace(POSITION sprite) const;

    static constexpr int kHandRaise = 20;
    static constexpr int kShownRaise = 10;
    static constexpr int kFirstDepth = 55;
    static constexpr int kMoveTicks = 3;
    static constexpr int kFadeTicks = 5;
    static constexpr int kFlightTicks = 150;
    static constexpr int kNoNotify = -1;
    // Pixels my hand keeps from the window's edges and from my plate.
    static constexpr int kHandMargin = 8;
    // The name lines under a plate.
    static constexpr int kNameLinesHeight = 32;

private:
    CSpriteWnd& m_wnd;
    CTableWndFields& m_fields;

    // ---- fans (CardLayoutFan.cpp) ----
    // Inserts the entry before the first card that does not sort before it,
    // moving the others to their slots of the fan widened by one card.
    BOOL InsertIntoFan(CHandList& list, const HANDENTRY& entry, const FanPlace& fan,
                       const std::function<bool(const HANDENTRY&)>& sortsBefore, int moveTicks,
                       const MakeSprite& make);
    // InsertIntoFan in the plain card order; backs stay at the right end.
    BOOL InsertByCardOrder(CHandList& list, int card, const FanPlace& fan, int moveTicks,
                           const MakeSprite& make);
    // A back: the fan widens by one card (its `fan`) and the back comes in at the
    // new right-end slot, from `from` (null: the slot itself).
    BOOL AppendBack(CHandList& list, const FanPlace& fan, bool keepRaised, POSITION image,
                    const CSpritePos* from, BYTE alphaFrom, int card, LPCSTR name, int notifyEvent);
    // Moves every card to its slot; FALSE when a line could not be made.
    BOOL LayFan(CHandList& list, const FanPlace& fan, int ticks, bool keepRaised);
    // FALSE when a line could not be made.
    BOOL MoveToSlot(POSITION sprite, const CSpritePos& target, int z, int ticks);
    // Removes the hand's sprites and builds it anew, in the given order, fading in.
    void RebuildHand(const CHandList& ordered);
    // Width the window leaves my hand (0: no window to measure), kept clear
    // of my plate where it shares the hand's rows when asked.
    int HandRoom(bool clearOfPlate) const;
    void ClearList(CHandList& list);
    bool IsSelected(POSITION sprite) const;
    int Flags(POSITION sprite) const;
    void SetFlags(POSITION sprite, int flags);
    // My hand's card of that sprite; end() when none.
    CHandList::iterator FindEntry(CHandList& list, POSITION sprite);

    // ---- selection (CardSelection.cpp) ----
    void RaiseCard(POSITION sprite, BOOL select, int raise);
    void MarkDragOn(CHandList& list, LPCSTR name, int x0, int y0, int x1, int y1);
    void ClearMarks(CHandList& list, BOOL repaint);
    int ApplyMarks(CHandList& list, int raise);
    void DeselectList(CHandList& list, int raise);
    int GetSelectedIn(const CHandList& list, int* cards, int capacity) const;
    int CountSelectedIn(const CHandList& list) const;

    // ---- shown hands (CardShown.cpp) ----
    FanPlace ShownFan(bool left, int n) const;
    int LeftSeat() const;
    int RightSeat() const;

    POSITION m_faces[54] = {};
    POSITION m_backImage = nullptr;
    POSITION m_littleFaces[54] = {};
    POSITION m_littleBackImage = nullptr;
    CHandList m_hand;
    CHandList m_leftShown;
    CHandList m_rightShown;
    CHandList m_leftCue;
    CHandList m_rightCue;
};
