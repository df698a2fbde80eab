// The card faces cut from the theme's sheets.

#include "platform/gdi/Surface.h"
#include "sprite/FrameImage.h"
#include "tests/table/TableWindowKit.h"

namespace table_test {
namespace {

using CardImagesTest = CardTableTest;

TEST_F(CardImagesTest, EveryKindHasItsImageByIdAndTheDecksShareThem) {
    CSpriteImageList& images = wnd.GetImageList();
    for (int kind = 0; kind < kDeckSize; ++kind) {
        EXPECT_EQ(images.Find(kCardFaceImageId + kind), hands.GetCardImage(kind)) << kind;
        EXPECT_EQ(images.Find(kLittleFaceImageId + kind), hands.GetLittleCardImage(kind)) << kind;
        EXPECT_EQ(hands.GetCardImage(kind + 3 * kDeckSize), hands.GetCardImage(kind));
    }
    EXPECT_EQ(images.Find(kCardBackImageId), hands.GetCardBackImage());
    EXPECT_EQ(images.Find(kLittleBackImageId), hands.GetLittleCardBackImage());
    EXPECT_NE(dynamic_cast<CCardFaceImage*>(images.GetAt(hands.GetCardBackImage())), nullptr);
    EXPECT_NE(dynamic_cast<CAlphaFrameImage*>(images.GetAt(hands.GetCardImage(7))), nullptr);
}

TEST_F(CardImagesTest, ACardShowsItsOwnCellOfTheSheet) {
    const platform::Surface& sheet =
        *platform::SurfaceOfBitmap(static_cast<HBITMAP>(gameLayout.m_bmpCards.m_hObject));
    for (int card : {Card(2, 5), BigJoker(1), Card(3, 12, 2)}) {
        hands.ClearHand();
        ASSERT_TRUE(hands.DisplayCard(card));
        Settle();
        const int kind = card % kDeckSize;
        const int probeX = CardW() / 2, probeY = CardH() / 4;
        const uint32_t want =
            sheet.GetPixel((kind % 13) * CardW() + probeX, (kind / 13) * CardH() + probeY);
        const int left = kTableWidth / 2 - CardW() / 2;
        EXPECT_EQ(wnd.Frame().GetPixel(left + probeX, BaseTop() + probeY) & 0xFFFFFF,
                  want & 0xFFFFFF)
            << card;
    }
}

TEST_F(CardImagesTest, CuttingAgainReplacesTheFacesAndKeepsShownOnesAlive) {
    ASSERT_TRUE(hands.DisplayCard(Card(1, 4)));
    CSpriteImage* shown = wnd.GetImageList().GetAt(hands.GetCardImage(Card(1, 4)));
    const int before = wnd.GetImageList().GetCount();
    ASSERT_TRUE(hands.LoadCardFaces(&gameLayout.m_bmpCardsBig, gameLayout.m_sizeCardBig.cx,
                                    gameLayout.m_sizeCardBig.cy));
    // Only the face a sprite still shows stays, without its id.
    EXPECT_EQ(wnd.GetImageList().GetCount(), before + 1);
    EXPECT_EQ(shown->m_nId, -1);
    EXPECT_EQ(wnd.GetImageList().Find(kCardFaceImageId + Card(1, 4)),
              hands.GetCardImage(Card(1, 4)));
    EXPECT_EQ(wnd.GetImageList().GetAt(hands.GetCardImage(0))->GetSize(nullptr).cx,
              gameLayout.m_sizeCardBig.cx);
    hands.ClearHand(); // its last sprite takes the old face along
    EXPECT_EQ(wnd.GetImageList().GetCount(), before);
}

TEST_F(CardImagesTest, ASheetTooSmallForTheCellsIsRefusedAndTheFacesStay) {
    const POSITION face = hands.GetCardImage(9);
    EXPECT_FALSE(hands.LoadCardFaces(&gameLayout.m_bmpCards, gameLayout.m_sizeCard.cx * 4,
                                     gameLayout.m_sizeCard.cy));
    EXPECT_FALSE(hands.LoadCardFaces(&gameLayout.m_bmpCards, 0, 80));
    EXPECT_FALSE(hands.LoadCardFaces(nullptr, 60, 80));
    EXPECT_EQ(hands.GetCardImage(9), face);
    EXPECT_EQ(wnd.GetImageList().Find(kCardFaceImageId + 9), face);
    EXPECT_NE(Log().find("Card sheet refused"), std::string::npos);
}

} // namespace
} // namespace table_test
