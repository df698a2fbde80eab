#include <algorithm>
#include <set>

#include "tests/game/RefereeFixture.h"

// Game start, the deal, buying a 3, tributes and their return, revolution
// and the guessing bet.

TEST_F(RefereeTest, StartPressesMultiplesAndFees) {
    // Fee per step 100, base multiple 8, highest 16.
    SetRules("10 10 10 10 10 10 30 30 5 30 5 0 1 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 16 8 0 0 0 0 0 "
             "100");
    SeatSix(150);
    board.m_UserInfo[1].bMember = 1;
    board.m_UserInfo[2].nBeans = 40;
    board.m_nTrustWord[5] = kTrustOwn;
    Calls().clear();
    PressStart(0, 16);
    PressStart(0, 16); // a second press changes nothing
    PressStart(1, 16); // a member pays no fee
    PressStart(2, 16); // the fee is capped at the beans
    PressStart(3, 0);  // 0 and above the highest leave the multiple
    PressStart(4, 17);
    PressStart(5, 1); // a trusted seat's press is ignored
    const auto starts = Sent(kMsgStart, kHostSendToAll);
    ASSERT_EQ(starts.size(), 5u);
    EXPECT_EQ(As<tagSTARTMSG>(starts[0]).nStartFee, 100);
    EXPECT_EQ(As<tagSTARTMSG>(starts[1]).nStartFee, 0);
    EXPECT_EQ(As<tagSTARTMSG>(starts[2]).nStartFee, 40);
    EXPECT_EQ(board.m_UserInfo[0].nBeans, 50);
    EXPECT_EQ(board.m_UserInfo[2].nBeans, 0);
    EXPECT_EQ(CountCode(kHostCharge), 2);
    EXPECT_EQ(board.GetTableHead().nMultiple[3], 1);
    EXPECT_EQ(board.GetTableHead().nMultiple[4], 1);
    EXPECT_EQ(board.GetTableHead().nMultiple[0], 16);
    EXPECT_EQ(board.GetGameState(), kStateWaitStart);
    EXPECT_TRUE(Sent(kMsgDeal).empty());
}

TEST_F(RefereeTest, TheSixthPressDealsEveryCardOnce) {
    SeatSix();
    board.m_bWatcher[3] = 1;
    Calls().clear();
    for (int seat = 0; seat < kSeatCount; ++seat)
        PressStart(seat);
    EXPECT_EQ(CountCode(kHostGameBegins), 1);
    const auto deals = Sent(kMsgDeal);
    ASSERT_EQ(deals.size(), 12u); // each seat, then its watchers
    std::set<int> codes;
    for (int seat = 0; seat < kSeatCount; ++seat) {
        const tagDEALMSG own = As<tagDEALMSG>(deals[2 * seat]);
        const tagDEALMSG watched = As<tagDEALMSG>(deals[2 * seat + 1]);
        EXPECT_EQ(deals[2 * seat].code, kHostSendToSeat);
        EXPECT_EQ(deals[2 * seat + 1].code, kHostSendToWatchers);
        EXPECT_EQ(own.nCount, 36);
        for (int i = 0; i < 36; ++i) {
            codes.insert(own.hand[i].code);
            EXPECT_EQ(own.hand[i].flags, kCardHeld);
            EXPECT_EQ(own.hand[i].spare, board.m_Cipher.GetDigits()[i]);
            EXPECT_EQ(watched.hand[i].spare, board.m_Cipher.GetDigits()[i]);
            if (seat != 3) {
                EXPECT_TRUE(IsHiddenCard(watched.hand[i]));
                EXPECT_EQ(watched.hand[i].flags, kHiddenCardFlags);
            } else {
                EXPECT_EQ(watched.hand[i].code, own.hand[i].code);
            }
        }
        // The seat's hand was sorted after the record went out.
        const tagCARD* hand = board.GetHand(seat);
        EXPECT_TRUE(std::is_sorted(
            hand, hand + 36, [](const tagCARD& x, const tagCARD& y) { return x.rank > y.rank; }));
    }
    EXPECT_EQ(codes.size(), 216u);
    // The digits' seed keys the cipher as every receiver computes it.
    int digits[CTripleDes::kDigitCount];
    CGameLogic::GetKeyDigits(As<tagDEALMSG>(deals[0]).hand, digits);
    CTripleDes receiver;
    receiver.SetKeyFromDigits(digits, CTripleDes::SeedFromDigits(digits));
    uint8_t block[8] = {1, 2, 3, 4, 5, 6, 7, 8}, mine[8], theirs[8];
    board.m_Cipher.Crypt(mine, block, 8, CTripleDes::kEncrypt);
    receiver.Crypt(theirs, block, 8, CTripleDes::kEncrypt);
    EXPECT_EQ(memcmp(mine, theirs, 8), 0);
}

TEST_F(RefereeTest, BuyingAThreeFromTheOppositeSeatAndFromATeammate) {
    SetRules("10 10 10 10 10 10 30 30 5 30 5 0 1 1");
    DealHand(board, 0, {Card(kRankTwo), Card(kRankKing), Card(kRankFive)});
    DealHand(board, 3, Join({CardsOfRank(kRankThree, 2), {Card(kRankSix)}}));
    DealHand(board, 1, {Card(kRankAce)});
    DealHand(board, 5, Join({CardsOfRank(kRankThree, 3)}));
    DealHand(board, 2, {Card(kRankThree, 1, 2)});
    DealHand(board, 4, {Card(kRankThree, 2, 2)});
    board.ResolveBuy3();
    const auto trades = Sent(kMsgBuy3, kHostSendToAll);
    ASSERT_EQ(trades.size(), 2u);
    const tagBUY3MSG first = As<tagBUY3MSG>(trades[0]);
    EXPECT_EQ(first.nBuyer, 0);
    EXPECT_EQ(first.nSeller, 3);                    // the opposite seat is asked first
    EXPECT_EQ(first.paidCard.code, Card(kRankTwo)); // paid with the best card
    EXPECT_EQ(first.boughtThree.rank, kRankThree);
    const tagBUY3MSG second = As<tagBUY3MSG>(trades[1]);
    EXPECT_EQ(second.nBuyer, 1);
    EXPECT_EQ(second.nSeller, 5); // seat + 4, a teammate: no payment
    EXPECT_EQ(second.paidCard.flags, 0);
    EXPECT_EQ(board.GetHandUsedCount(1), 2);
    EXPECT_EQ(board.GetHandUsedCount(3), 3);
}

TEST_F(RefereeTest, TributesMoveOnlyLeadingTwosAndJokers) {
    DealHand(board, 1, {BigJoker(), Card(kRankTwo), Card(kRankAce), Card(kRankTwo, 1)});
    DealHand(board, 2, {Card(kRankKing)});
    board.m_TributeList[kTributePlace - 1] = {{kTributePlace, 0, 1, 3}, {kTributePlace, 4, 2, 1}};
    board.RunTributeList(kTributePlace);
    const auto tributes = Sent(kMsgTribute);
    ASSERT_EQ(tributes.size(), 1u); // seat 2 has nothing to give: dropped
    const tagTRIBUTEMSG paid = As<tagTRIBUTEMSG>(tributes[0]);
    EXPECT_EQ(paid.nCount, 2); // stopped at the ace
    EXPECT_EQ(paid.nKind, 3);
    EXPECT_EQ(paid.cards[0].code, BigJoker());
    EXPECT_EQ(paid.cards[0].flags, kCardHeld | kCardMark1 | kCardMark2);
    ASSERT_EQ(board.GetTributeList(kTributePlace).size(), 1u);
    EXPECT_EQ(board.GetTributeList(kTributePlace)[0].nCount, 2);
    ASSERT_EQ(board.GetReturnQueue(kTributePlace).size(), 1u);
    const tagTRIBUTEENTRY owed = board.GetReturnQueue(kTributePlace)[0];
    EXPECT_EQ(owed.nReceiver, 1); // gets cards back
    EXPECT_EQ(owed.nGiver, 0);    // returns them
    EXPECT_EQ(board.GetReturnsOwed(0), 1);
    EXPECT_EQ(board.GetHandUsedCount(0), 2);
}

TEST_F(RefereeTest, ReturnsFollowKindOrderAndTheRankRule) {
    SetRules("10 10 10 10 10 10 30 30 5 30 5 0 1 1 0 1 0 0 0 0 0 0 2"); // 3 rule, return tribute
    DealHand(board, 0, {Card(kRankFive), Card(kRankNine), Card(kRankThree), Card(kRankFive, 1)});
    DealHand(board, 1, {Card(kRankFive, 2), Card(kRankTen)});
    board.SetState(kStateTribute);
    board.m_ReturnQueue[kTributePlace - 1] = {{kTributePlace, 1, 0, 1}};
    board.m_ReturnQueue[kTributePoint - 1] = {{kTributePoint, 3, 5, 1}};
    board.m_nReturnsOwed[0] = 1;
    board.m_nActionMask[0] = kActionReturnTribute;
    auto returnOf = [&](std::vector<int> codes, int kind) {
        tagRETURNTRIBUTEMSG msg;
        InitReturnTributeMsg(msg);
        msg.nSeat = 0;
        msg.nReturner = 0;
        msg.nReceiver = 1;
        msg.nCount = int(codes.size());
        msg.nKind = kind;
        for (size_t i = 0; i < codes.size(); ++i)
            msg.cards[i] = CGameLogic::CardFromIndex(codes[i]);
        return msg;
    };
    EXPECT_EQ(board.CheckReturnTribute(returnOf({Card(kRankFive)}, 3)), 0); // point first
    board.m_ReturnQueue[kTributePoint - 1].clear();
    EXPECT_EQ(board.CheckReturnTribute(returnOf({Card(kRankThree)}, 3)), 0); // no 3s
    EXPECT_EQ(board.CheckReturnTribute(returnOf({Card(kRankKing)}, 3)), 0);  // not held
    EXPECT_EQ(board.CheckReturnTribute(returnOf({Card(kRankFive)}, 3)), 1);
    // A 9 that the (opposing) receiver does not hold is refused to the
    // returner alone, and nothing moves.
    Calls().clear();
    Send(0, returnOf({Card(kRankNine)}, 3));
    auto refused = Sent(kMsgReturnTribute);
    ASSERT_EQ(refused.size(), 1u);
    EXPECT_EQ(refused[0].code, kHostSendForwarded);
    EXPECT_EQ(refused[0].param, 0);
    EXPECT_EQ(As<tagRETURNTRIBUTEMSG>(refused[0]).bRequested, 1);
    EXPECT_EQ(board.GetHandUsedCount(0), 4);
    // A 5, which the receiver holds, moves; the phase then goes on.
    Calls().clear();
    Send(0, returnOf({Card(kRankFive)}, 3));
    const auto moved = Sent(kMsgReturnTribute, kHostSendToAll);
    ASSERT_EQ(moved.size(), 1u);
    EXPECT_EQ(As<tagRETURNTRIBUTEMSG>(moved[0]).bMoved, 1);
    EXPECT_EQ(board.GetHandUsedCount(1), 3);
    EXPECT_EQ(board.GetReturnsOwed(0), 0);
    EXPECT_NE(board.GetGameState(), kStateTribute);
}

TEST_F(RefereeTest, ChosenReturnsTakeNoMoreCardsThanOwed) {
    DealHand(board, 0, Join({CardsOfRank(kRankFour, 5), {Card(kRankKing)}}));
    DealHand(board, 1, {Card(kRankQueen)});
    int codes[kTributeMaxCards] = {-1, -1, -1};
    EXPECT_EQ(board.ChooseReturnCards(0, 1, 2, codes), 1); // a pair of 4s, only two
    EXPECT_EQ(CGameLogic::CardFromIndex(codes[0]).rank, kRankFour);
    EXPECT_EQ(CGameLogic::CardFromIndex(codes[1]).rank, kRankFour);
    EXPECT_EQ(codes[2], -1);
    // One card, and the receiver holds none of the seat's ranks.
    EXPECT_EQ(board.ChooseReturnCards(0, 1, 1, codes), 0);
}

TEST_F(RefereeTest, TwoRevolutionsStartTheGameAgain) {
    SeatSix();
    for (int seat = 0; seat < kSeatCount; ++seat)
        DealHand(board, seat, seat < 2 ? CardsOfRank(kRankSix, 4) : std::vector<int>{BigJoker()});
    board.m_TributeList[kTributePlace - 1] = {{kTributePlace, 0, 1, 2}};
    board.StartRevolutionPhase();
    EXPECT_EQ(board.GetSeatActionMask(0), kActionRevolution);
    EXPECT_EQ(board.GetSeatActionMask(2), 0);
    Calls().clear();
    for (int seat : {0, 1}) {
        tagREVOLUTIONMSG yes;
        InitRevolutionMsg(yes);
        yes.nSeat = seat;
        yes.bYes = 1;
        Send(seat, yes);
    }
    EXPECT_EQ(board.GetGameState(), kStateWaitStart);
    EXPECT_EQ(As<tagREVOLUTIONMSG>(Sent(kMsgRevolution).back()).nCount, 2);
    EXPECT_TRUE(Sent(kMsgGameOver).empty());
    EXPECT_TRUE(board.GetTributeList(kTributePlace).empty());
}

TEST_F(RefereeTest, GuessingBets) {
    // Odds 10 for every kind, bases 90 and 90; stakes 10..1000, 5 bets,
    // a stake may go 1000 beyond the beans.
    SetRules("10 10 10 10 10 10 30 30 5 30 5 0 1 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 1000 5 10 "
             "-1000 0 0 0 0 10 10 10 10 10 90 90 50");
    SeatSix(100000);
    board.SetState(kStatePlay);
    CTakeChanceRule rule = board.m_TakeChanceRule;
    CSeededRandom random(7);
    int wins = 0;
    for (int i = 0; i < 11000; ++i) {
        int result = 0;
        ASSERT_TRUE(rule.Resolve(2, false, 5, random, &result, nullptr));
        wins += result > 0;
    }
    EXPECT_NEAR(wins, 1000, 150); // one in 10 x 100 / 90 = 11
    Calls().clear();
    tagGUESSMSG bet;
    InitGuessMsg(bet);
    bet.nSeat = 3;
    bet.nOption = 4;
    bet.nAmount = 500;
    for (int i = 0; i < 10; ++i)
        Send(3, bet);
    EXPECT_EQ(Sent(kMsgGuess).size(), 5u); // the most bets a game
    bet.nSeat = 4;
    bet.nAmount = 5; // below the smallest stake
    Send(4, bet);
    EXPECT_EQ(Sent(kMsgGuess).size(), 5u);
    // A losing bet of 500 by a seat with 300 beans costs it 300.
    board.m_UserInfo[4].nBeans = 300;
    bet.nAmount = 500;
    Send(4, bet);
    ASSERT_EQ(Sent(kMsgGuess).size(), 6u);
    const int result = As<tagGUESSMSG>(Sent(kMsgGuess).back()).nAmount;
    EXPECT_TRUE(result == -300 || result == 5000) << result;
    EXPECT_EQ(board.m_UserInfo[4].nBeans, 300 + result);
    // Each answer names the drawn card, of the bet's kind exactly when it won.
    for (const auto& sent : Sent(kMsgGuess)) {
        const tagGUESSMSG answer = As<tagGUESSMSG>(sent);
        ASSERT_GE(answer.nOption, 0);
        ASSERT_LT(answer.nOption, 54);
        EXPECT_EQ(CTakeChanceRule::KindOfCard(answer.nOption) == 4, answer.nAmount > 0)
            << "card " << answer.nOption << ", won " << answer.nAmount;
    }
}

TEST_F(RefereeTest, ATableWithoutABetRuleRefusesBets) {
    SeatSix();
    board.SetState(kStatePlay);
    tagGUESSMSG bet;
    InitGuessMsg(bet);
    bet.nSeat = 1;
    bet.nAmount = 0;
    Calls().clear();
    Send(1, bet); // no odds and no base: nothing to divide by
    EXPECT_TRUE(Sent(kMsgGuess).empty());
    int result = 0;
    CSeededRandom random(1);
    EXPECT_FALSE(CTakeChanceRule().Resolve(0, true, 10, random, &result, nullptr));
}
