#pragma once

#include <cstdint>

// Card codes, card records and the play word.
//
// A card code is 0..215: four decks of 54. Within a deck (code % 54) 0..51 are
// plain cards, rank (code % 54) % 13 with 0 = 3 ... 11 = A, 12 = 2, suit
// (code % 54) / 13; 52 and 53 are the small and the big joker.

enum {
    kDeckSize = 54,
    kDeckCount = 4,
    kCardCodeCount = kDeckSize * kDeckCount, // 216
    kNoCard = 0xFF,
    kHandSize = 55, // card records per hand
    kSeatCount = 6,
};

// A seat of the table: what every per-seat array may be indexed with.
constexpr bool IsSeat(int seat) {
    return seat >= 0 && seat < kSeatCount;
}

enum CardRank {
    kRankThree = 0,
    kRankFour = 1,
    kRankFive = 2,
    kRankSix = 3,
    kRankSeven = 4,
    kRankEight = 5,
    kRankNine = 6,
    kRankTen = 7,
    kRankJack = 8,
    kRankQueen = 9,
    kRankKing = 10,
    kRankAce = 11,
    kRankTwo = 12,
    kRankSmallJoker = 13,
    kRankBigJoker = 14,
    kRankCount = 15,
    kPlainRankCount = 12, // 3 up to A
};

enum { kSuitSmallJoker = 52, kSuitBigJoker = 53 };

// tagCARD flags.
enum {
    kCardHeld = 0x01,
    kCardPlayed = 0x04,
    kCardPicked = 0x08,
    kCardMark1 = 0x10,
    kCardMark2 = 0x20,
    kCardMark3 = 0x40,
    kCardGroupSorted = 0x80,
};

#pragma pack(push, 1)
// A decoded card: the same five bytes travel inside game records.
struct tagCARD {
    uint8_t code;  // 0..215
    uint8_t rank;  // 0..14
    uint8_t spare; // key digit in the shuffle record; group size after a group sort
    uint8_t suit;  // 0..3, or 52 / 53 for the jokers
    uint8_t flags;
};
#pragma pack(pop)
static_assert(sizeof(tagCARD) == 5, "tagCARD is a wire record");

// A card counts in a hand while it is held and not yet played.
inline bool IsCountingCard(const tagCARD& card) {
    return (card.flags & (kCardHeld | kCardPlayed)) == kCardHeld;
}
inline bool IsJoker(const tagCARD& card) {
    return card.suit == kSuitSmallJoker || card.suit == kSuitBigJoker;
}

// The play word: the packed summary of a set of cards laid together.
//   bits 0-7   plain rank 0..11, 0xFF when the play holds no plain card
//   bits 8-15  number of plain cards
//   bits 16-23 number of 2s
//   bits 24-27 number of small jokers
//   bits 28-31 number of big jokers
// 0 means no valid play.
typedef uint32_t CardType;

enum { kNoPlainRank = 0xFF };

constexpr CardType MakeCardType(unsigned plainRank, unsigned plainCount, unsigned twos,
                                unsigned smallJokers, unsigned bigJokers) {
    return (plainRank & 0xFF) | (plainCount & 0xFF) << 8 | (twos & 0xFF) << 16 |
           (smallJokers & 0xF) << 24 | (bigJokers & 0xFu) << 28;
}
constexpr unsigned CardTypeRank(CardType t) {
    return t & 0xFF;
}
constexpr unsigned CardTypePlainCount(CardType t) {
    return (t >> 8) & 0xFF;
}
constexpr unsigned CardTypeTwos(CardType t) {
    return (t >> 16) & 0xFF;
}
constexpr unsigned CardTypeSmallJokers(CardType t) {
    return (t >> 24) & 0xF;
}
constexpr unsigned CardTypeBigJokers(CardType t) {
    return t >> 28;
}

// An entry of the weighted hand display: a card code, its weight and its
// place in the list.
struct tagHANDENTRY {
    int nCard;
    int nWeight;
    int nPos;
};

// Display order of two card codes, qsort style (negative puts x first):
// big joker, small joker, 2s, As ... 3s; higher suits and codes first;
// negative codes (empty slots) last.
int CompareCard(int x, int y);

// Weighted display order: negative weights last, higher weights first, equal
// weights by CompareCard.
int CompareCardWeight(tagHANDENTRY x, tagHANDENTRY y);

// CompareCard on two pointed-to 32-bit codes.
int CompareCardIndex(const void* x, const void* y);
