#include "game/Cards.h"

#include "game/GameLogic.h"

namespace {

bool IsValidCode(int code) {
    return code >= 0 && code < kCardCodeCount;
}

// Builds a play word card by card; any card of a second plain rank, or a
// record that is no card at all, spoils it.
class CardTypeBuilder {
public:
    void AddJoker(bool big) { big ? ++m_nBig : ++m_nSmall; }
    void AddTwo() { ++m_nTwos; }
    void AddPlain(int rank) {
        if (m_nPlainRank == kNoPlainRank)
            m_nPlainRank = rank;
        else if (m_nPlainRank != rank)
            m_bSpoiled = true;
        ++m_nPlain;
    }
    void Spoil() { m_bSpoiled = true; }

    CardType Result() const {
        if (m_bSpoiled || m_nPlain + m_nTwos + m_nSmall + m_nBig <= 0)
            return 0;
        return MakeCardType(m_nPlainRank, m_nPlain, m_nTwos, m_nSmall, m_nBig);
    }

private:
    int m_nPlainRank = kNoPlainRank;
    int m_nPlain = 0;
    int m_nTwos = 0;
    int m_nSmall = 0;
    int m_nBig = 0;
    bool m_bSpoiled = false;
};

} // namespace

tagCARD CGameLogic::CardFromIndex(int code) {
    tagCARD card = CheckedCardFromIndex(code);
    if (IsValidCode(code))
        card.flags = kCardHeld;
    return card;
}

tagCARD CGameLogic::CheckedCardFromIndex(int code) {
    tagCARD card{};
    if (!IsValidCode(code))
        return card;
    int b = code % kDeckSize;
    card.code = static_cast<uint8_t>(code);
    if (b >= kSuitSmallJoker) {
        card.rank = static_cast<uint8_t>(b - 39); // 13 or 14
        card.suit = static_cast<uint8_t>(b);
    } else {
        card.rank = static_cast<uint8_t>(b % 13);
        card.suit = static_cast<uint8_t>(b / 13);
    }
    return card;
}

CardType CGameLogic::GetCardType(const int* codes, int count) {
    if (codes == nullptr || count < 1)
        return 0;
    CardTypeBuilder builder;
    for (int i = 0; i < count; ++i) {
        if (!IsValidCode(codes[i])) {
            builder.Spoil();
            break;
        }
        int b = codes[i] % kDeckSize;
        if (b >= kSuitSmallJoker)
            builder.AddJoker(b == kSuitBigJoker);
        else if (b % 13 == kRankTwo)
            builder.AddTwo();
        else
            builder.AddPlain(b % 13);
    }
    return builder.Result();
}

CardType CGameLogic::GetCardTypeOfCards(const tagCARD* cards, int count) {
    if (cards == nullptr || count < 1)
        return 0;
    CardTypeBuilder builder;
    for (int i = 0; i < count; ++i) {
        const tagCARD& card = cards[i];
        if (card.suit == kSuitBigJoker || card.suit == kSuitSmallJoker)
            builder.AddJoker(card.suit == kSuitBigJoker);
        else if (card.rank == kRankTwo)
            builder.AddTwo();
        else if (card.rank < kRankTwo)
            builder.AddPlain(card.rank);
        else
            builder.Spoil(); // a joker rank without a joker suit
    }
    return builder.Result();
}

int CGameLogic::GetCardTypeCount(CardType type) {
    return CardTypePlainCount(type) + CardTypeTwos(type) + CardTypeSmallJokers(type) +
           CardTypeBigJokers(type);
}

int CGameLogic::GetCardTypeNonJokers(CardType type) {
    return CardTypePlainCount(type) + CardTypeTwos(type);
}

int CGameLogic::CompareCardType(CardType a, CardType b) {
    if (a == 0 || b == 0)
        return -2;
    if (GetCardTypeCount(a) != GetCardTypeCount(b))
        return 0;
    int groupA = GetCardTypeNonJokers(a);
    int groupB = GetCardTypeNonJokers(b);
    int rankA = CardTypePlainCount(a) > 0 ? int(CardTypeRank(a)) : kRankTwo;
    int rankB = CardTypePlainCount(b) > 0 ? int(CardTypeRank(b)) : kRankTwo;
    int smallB = CardTypeSmallJokers(b);

    if (CardTypeBigJokers(b) > 0)
        return 0; // a play with a big joker cannot be beaten
    if (smallB > 0) {
        if (int(CardTypeBigJokers(a)) < smallB)
            return 0;
        if (groupB == 0)
            return 1;
        int jokersA = CardTypeSmallJokers(a) + CardTypeBigJokers(a);
        return rankA > rankB || jokersA >= groupB + smallB ? 1 : 0;
    }
    if (groupA == 0)
        return 1; // jokers alone beat any play without jokers
    return rankA > rankB ? 1 : 0;
}

namespace {

// Display order of two card codes, empty slots aside.
int CompareCardCodes(int x, int y) {
    int bx = x % kDeckSize;
    int by = y % kDeckSize;
    // Jokers take their own code as rank and suit, above every plain rank.
    int rankX = bx >= kSuitSmallJoker ? bx : bx % 13;
    int rankY = by >= kSuitSmallJoker ? by : by % 13;
    int suitX = bx >= kSuitSmallJoker ? bx : bx / 13;
    int suitY = by >= kSuitSmallJoker ? by : by / 13;
    if (rankX != rankY)
        return rankY - rankX;
    if (suitX == suitY)
        return y - x;
    return suitY - suitX;
}

} // namespace

int CompareCard(int x, int y) {
    if (x < 0)
        return 1;
    if (x == y)
        return 0;
    if (y < 0)
        return -1;
    return CompareCardCodes(x, y);
}

int CompareCardWeight(tagHANDENTRY x, tagHANDENTRY y) {
    if (x.nWeight < 0)
        return 1;
    if (y.nWeight < 0)
        return -1;
    if (x.nWeight != y.nWeight)
        return y.nWeight - x.nWeight;
    return CompareCardCodes(x.nCard, y.nCard);
}

int CompareCardIndex(const void* x, const void* y) {
    return CompareCard(*static_cast<const int*>(x), *static_cast<const int*>(y));
}
