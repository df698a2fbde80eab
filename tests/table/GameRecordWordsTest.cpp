#include "table/common/GameRecordWords.h"
#include "table/client/ReceivedCards.h"
#include "table/client/ReceivedRecords.h"

#include "game/PlayRecords.h"
#include "game/StateRecords.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

tagCARD Card(int code, int rank, int suit) {
    return tagCARD{uint8_t(code), uint8_t(rank), 0, uint8_t(suit), kCardHeld};
}

TEST(GameRecordWords, CardsAreWordedBySuitAndRankJokersByRankAlone) {
    CString word;
    ASSERT_TRUE(WordCard(Card(22, 9, 2), &word));
    EXPECT_STREQ(word, "[红桃Q]");
    ASSERT_TRUE(WordCard(Card(53, kRankBigJoker, kSuitBigJoker), &word));
    EXPECT_STREQ(word, "[大王]");
    ASSERT_TRUE(WordCard(Card(7, 7, 0), &word));
    EXPECT_STREQ(word, "[方块10]");

    const tagCARD cards[] = {Card(12, kRankTwo, 3), Card(52, kRankSmallJoker, kSuitSmallJoker)};
    ASSERT_TRUE(WordCards(cards, 2, &word));
    EXPECT_STREQ(word, "[黑桃2][小王]");
    ASSERT_TRUE(NameCards(cards, 2, &word));
    EXPECT_STREQ(word, "[2][小王]");
}

TEST(GameRecordWords, RanksAndSuitsOutsideTheTablesAreNotWorded) {
    CString word = "kept";
    EXPECT_FALSE(WordCard(Card(0, 15, 0), &word));
    EXPECT_FALSE(WordCard(Card(0, 255, 0), &word));
    EXPECT_FALSE(WordCard(Card(0, 3, 4), &word));
    EXPECT_STREQ(word, "kept");
    const tagCARD cards[] = {Card(0, 0, 0), Card(0, 20, 0)};
    EXPECT_FALSE(WordCards(cards, 2, &word));
    EXPECT_FALSE(NameCards(cards, 2, &word));
    EXPECT_STREQ(word, "kept");
    EXPECT_EQ(TributeKindWord(4), nullptr);
    EXPECT_EQ(TributeKindWord(-1), nullptr);
    EXPECT_STREQ(TributeKindWord(2), "烧");
    EXPECT_EQ(SuitPrefixWord(4), nullptr);
}

TEST(GameRecordWords, PlacesAreWordedFromTheLastUp) {
    EXPECT_STREQ(PlaceWord(5), "大落!");
    EXPECT_STREQ(PlaceWord(4), "二落!");
    EXPECT_STREQ(PlaceWord(3), "四科!");
    EXPECT_STREQ(PlaceWord(2), "三科!");
    EXPECT_STREQ(PlaceWord(1), "二科!");
}

TEST(GameRecordWords, LinesOfTributesReturnsAndBoughtThrees) {
    EXPECT_STREQ(TributeHead("a", "b", "点"), "[a]向[b]进了(点贡):");
    EXPECT_STREQ(ReturnHead("b", "a", "落"), "[b]还给[a]的(落贡):");
    const CString paid = "[梅花K]";
    EXPECT_STREQ(BuyThreeLine("a", "b", &paid, "[红桃"), "[a]用一张[梅花K]向[b]买了一张[红桃3]");
    EXPECT_STREQ(BuyThreeLine("a", "b", nullptr, "[方块"), "[a]向[b]要了一张[方块3]");
    EXPECT_STREQ(ShaoBieLine(3, "a", "b"), "[a] 把 [b] 烧了...");
    EXPECT_STREQ(ShaoBieLine(2, "a", "b"), "[a] 把 [b] 憋了...");
    EXPECT_TRUE(ShaoBieLine(1, "a", "b").IsEmpty());
}

TEST(GameRecordWords, DroppedTributesLoseOnlyTheTrailingComma) {
    const TributeStoppedSeat one[] = {{"Nick", "user"}};
    EXPECT_STREQ(TributeStoppedLine(one, 1), "Nick[user]贡牌已进完,余下的贡将不再进!");
    const TributeStoppedSeat two[] = {{"A", "a"}, {"B", "b"}};
    EXPECT_STREQ(TributeStoppedLine(two, 2), "A[a],B[b]贡牌已进完,余下的贡将不再进!");
    // With nobody flagged there is no comma to drop and no character is lost.
    EXPECT_STREQ(TributeStoppedLine(nullptr, 0), "贡牌已进完,余下的贡将不再进!");
}

TEST(ReceivedCards, CodesAndRanksOutsideTheDecksAreRefused) {
    EXPECT_TRUE(IsReceivedCard(Card(215, 14, 53), false));
    EXPECT_FALSE(IsReceivedCard(Card(216, 0, 0), true));
    EXPECT_FALSE(IsReceivedCard(Card(3, 15, 0), false));
    EXPECT_TRUE(IsReceivedCard(MakeHiddenCard(), true));
    EXPECT_FALSE(IsReceivedCard(MakeHiddenCard(), false));
    EXPECT_TRUE(IsReceivedCode(255, true));
    EXPECT_FALSE(IsReceivedCode(255, false));
    EXPECT_FALSE(IsReceivedCode(-1, true));
}

// Refused at the client's check, naming the card field.
bool RefusesCards(const void* record, int length, const char* field) {
    const ReceivedRecordCheck check = CheckReceivedRecord(record, length);
    return check.fault == kReceivedCard && std::string(check.cards) == field;
}
bool Passes(const void* record, int length) {
    return CheckReceivedRecord(record, length).fault == kReceivedOk;
}

TEST(ReceivedCards, EachCardRecordIsCheckedWithinItsCount) {
    tagTRIBUTEMSG tribute;
    InitTributeMsg(tribute);
    tribute.nCount = 2;
    tribute.cards[0] = Card(1, 1, 0);
    tribute.cards[1] = Card(2, 2, 0);
    tribute.cards[5] = Card(250, 40, 0); // past the count: not read
    EXPECT_TRUE(Passes(&tribute, sizeof tribute));
    tribute.cards[1].rank = 15;
    EXPECT_TRUE(RefusesCards(&tribute, sizeof tribute, "tribute cards"));

    auto deal = std::make_unique<tagDEALMSG>();
    InitDealMsg(*deal);
    for (tagCARD& card : deal->hand)
        card = MakeHiddenCard();
    EXPECT_TRUE(Passes(deal.get(), sizeof *deal));
    deal->hand[54].code = 230;
    EXPECT_TRUE(RefusesCards(deal.get(), sizeof *deal, "dealt hand"));

    tagCARDLIST list;
    InitCardListMsg(list);
    list.nCount = 1;
    list.nCodes[0] = 255;
    EXPECT_TRUE(Passes(&list, sizeof list));
    list.nCodes[0] = 216;
    EXPECT_TRUE(RefusesCards(&list, sizeof list, "card list"));

    tagBUY3MSG buy;
    InitBuy3Msg(buy);
    buy.paidCard = Card(240, 0, 0);
    buy.paidCard.flags = 0; // not paid with a card: not read
    EXPECT_TRUE(Passes(&buy, sizeof buy));
    buy.paidCard.flags = kCardHeld;
    EXPECT_TRUE(RefusesCards(&buy, sizeof buy, "bought three"));
}

} // namespace
