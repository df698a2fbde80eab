#include "tests/game/RefereeFixture.h"

// Trick play: who answers a play, rounds won and passed, burns that stand
// or fail, and the records that are refused.

namespace {

const char* kShaoRules = "10 10 10 10 10 10 30 30 5 30 5 0 1 0 0 0 0 0 0 0 0 0 0 1"; // field 24
const char* kOpenRules = "10 10 10 10 10 10 30 30 5 30 5 0 1 0";
const char* kThreesRules = "10 10 10 10 10 10 30 30 5 30 5 0 1 1";

std::vector<std::vector<int>> Hands(std::vector<int> seat0, std::vector<int> seat5 = {}) {
    std::vector<std::vector<int>> hands(kSeatCount);
    for (int seat = 1; seat < 5; ++seat)
        hands[seat] = {Card(kRankSix, seat % 4, 1), Card(kRankEight, seat % 4, 1),
                       Card(kRankNine, seat % 4, 2)};
    hands[0] = seat0;
    hands[5] =
        seat5.empty() ? std::vector<int>{Card(kRankSix, 0, 3), Card(kRankSeven, 1, 3)} : seat5;
    return hands;
}

} // namespace

TEST_F(RefereeTest, ALevelPlayAsksThePartnersToBurnAndTheOppositeSeatToAnswer) {
    SetRules(kShaoRules);
    const std::vector<int> kings = {Card(kRankKing, 0), Card(kRankKing, 1)};
    StartTrickPlay(Hands(Join({kings, {Card(kRankFive)}})), 0);
    Play(0, kActionTakeOut, kings);
    EXPECT_EQ(board.GetSeatActionMask(3), kActionTakeOut | kActionPass);
    EXPECT_EQ(board.GetSeatStatus(3), kStatusToTakeOut);
    for (int seat : {1, 2, 4, 5}) {
        EXPECT_EQ(board.GetSeatActionMask(seat), kActionShao | kActionGiveUp) << seat;
        EXPECT_EQ(board.GetSeatStatus(seat), kStatusToTakeOut) << seat;
    }
    EXPECT_EQ(board.m_nAwaitedAnswers, 5);
    // The prompt shows one mask only, that of the first seat to answer.
    const auto prompts = Sent(kMsgPlay, kHostSendToAll);
    ASSERT_EQ(prompts.size(), 1u);
    EXPECT_EQ(prompts[0].data.size(), 352u);
    tagPLAYMSG prompt = As<tagPLAYMSG>(prompts[0]);
    int shown = 0;
    for (int seat = 0; seat < kSeatCount; ++seat)
        shown += prompt.nActionMask[seat] != 0;
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(prompt.nActionMask[5], kActionShao | kActionGiveUp);
    EXPECT_EQ(prompt.nPlayCounter, 1);
    ASSERT_TRUE(DecipherPlayCodes(prompt, board.m_Cipher, false));
    EXPECT_EQ(prompt.nCodes[0], kings[0]);
    EXPECT_EQ(prompt.nCodes[1], kings[1]);
}

TEST_F(RefereeTest, OldSerialsAndRepeatedAnswersAreIgnored) {
    SetRules(kShaoRules);
    const std::vector<int> kings = {Card(kRankKing, 0), Card(kRankKing, 1)};
    StartTrickPlay(Hands(Join({kings, {Card(kRankFive)}})), 0);
    tagPLAYMSG stale = PlayRecord(5, kActionGiveUp, {});
    Play(0, kActionTakeOut, kings);
    Calls().clear();
    Send(5, stale, PlayMsgLength(0)); // carries the serial before the play
    EXPECT_TRUE(Sent(kMsgPlay).empty());
    Play(5, kActionGiveUp);
    Play(5, kActionGiveUp);
    EXPECT_EQ(Sent(kMsgPlay).size(), 1u);
    EXPECT_EQ(board.GetSeatStatus(5), kStatusMark8);
}

TEST_F(RefereeTest, WithoutBurningAPassBackToTheLastPlayerEndsTheRound) {
    SetRules(kOpenRules);
    StartTrickPlay(Hands({Card(kRankFive), Card(kRankTen)}), 0);
    Play(0, kActionTakeOut, {Card(kRankFive)});
    EXPECT_EQ(board.GetSeatActionMask(5), kActionTakeOut | kActionPass);
    for (int seat : {5, 4, 3, 2, 1})
        Play(seat, kActionPass);
    EXPECT_TRUE(board.GetPlayList().empty());
    EXPECT_EQ(board.GetSeatActionMask(0), kActionTakeOut);
}

TEST_F(RefereeTest, ABurnerThatLeadsWithoutAJokerFailsAndTheBurnedSeatLeads) {
    SetRules(kShaoRules);
    const std::vector<int> kings = {Card(kRankKing, 0), Card(kRankKing, 1)};
    const std::vector<int> aces = {Card(kRankAce, 0), Card(kRankAce, 1)};
    StartTrickPlay(Hands(Join({kings, {Card(kRankFive)}}),
                         Join({aces, {Card(kRankSeven)}, {Card(kRankEight)}})),
                   0);
    Play(0, kActionTakeOut, kings);
    Play(5, kActionShao, aces);
    EXPECT_EQ(board.GetSeatStatus(5), kStatusLastPlay);
    EXPECT_EQ(board.m_nBurnedSeat, 0);
    for (int seat : {4, 3, 1, 0})
        Play(seat, kActionGiveUp);
    Play(2, kActionPass);
    ASSERT_EQ(board.GetSeatActionMask(5), kActionTakeOut); // its round
    Calls().clear();
    Play(5, kActionTakeOut, {Card(kRankSeven)});
    EXPECT_EQ(board.GetSeatStatus(5), kStatusOut3);
    ASSERT_EQ(board.m_FailShaoList.size(), 1u);
    EXPECT_EQ(board.GetSeatActionMask(0), kActionTakeOut);
    const auto places = Sent(kMsgPlaces);
    ASSERT_FALSE(places.empty());
    EXPECT_EQ(As<tagPLACESMSG>(places[0]).nSeat, 5);
    EXPECT_EQ(As<tagPLACESMSG>(places[0]).nPlaces[5], 5); // the last place
}

TEST_F(RefereeTest, ABurnerThatGoesOutEarnsTheShaoTribute) {
    SetRules(kShaoRules);
    const std::vector<int> kings = {Card(kRankKing, 0), Card(kRankKing, 1)};
    const std::vector<int> aces = {Card(kRankAce, 0), Card(kRankAce, 1)};
    StartTrickPlay(Hands(Join({kings, {Card(kRankFive)}}), Join({aces, {BigJoker()}})), 0);
    Play(0, kActionTakeOut, kings);
    Play(5, kActionShao, aces);
    for (int seat : {4, 3, 1, 0})
        Play(seat, kActionGiveUp);
    Play(2, kActionPass);
    Calls().clear();
    Play(5, kActionTakeOut, {BigJoker()});
    ASSERT_EQ(board.GetTributeList(kTributeShao).size(), 1u);
    const tagTRIBUTEENTRY shao = board.GetTributeList(kTributeShao)[0];
    EXPECT_EQ(shao.nReceiver, 5);
    EXPECT_EQ(shao.nGiver, 0);
    const auto notices = Sent(kMsgShaoBie);
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(As<tagSHAOBIEMSG>(notices[0]).nKind, kTributeShao);
    EXPECT_EQ(board.GetSeatStatus(5), kStatusOut2);
    EXPECT_EQ(board.GetPlaces().front(), 5);
}

TEST_F(RefereeTest, BeatingASeatLeftWithOnlyThreesEarnsABie) {
    SetRules(kThreesRules);
    StartTrickPlay(Hands({Card(kRankFive), Card(kRankThree), Card(kRankThree, 1)},
                         {Card(kRankNine, 3), Card(kRankJack)}),
                   0);
    Play(0, kActionTakeOut, {Card(kRankFive)});
    Play(5, kActionTakeOut, {Card(kRankNine, 3)});
    ASSERT_EQ(board.GetTributeList(kTributeBie).size(), 1u);
    EXPECT_EQ(board.GetTributeList(kTributeBie)[0].nReceiver, 5);
    EXPECT_EQ(board.GetTributeList(kTributeBie)[0].nGiver, 0);
}

TEST_F(RefereeTest, GoingOutWithAPlainPlayTakesTheOppositeSeatOutOfTheAnswers) {
    SetRules(kShaoRules);
    StartTrickPlay(Hands({Card(kRankFive)}), 0);
    Play(0, kActionTakeOut, {Card(kRankFive)});
    EXPECT_EQ(board.GetSeatStatus(0), kStatusOut2);
    EXPECT_EQ(board.m_bStillInPlay[0], 0);
    EXPECT_EQ(board.m_bStillInPlay[3], 0);
    EXPECT_EQ(board.GetPlaces(), std::vector<int>{0});
}

TEST_F(RefereeTest, PlayRecordsWithBadCountsCodesOrSeatsAreDropped) {
    SetRules(kOpenRules);
    board.SetRuleFlags(board.GetRuleFlags() | kRuleCardsInClear);
    StartTrickPlay(Hands({Card(kRankFive), Card(kRankTen)}), 0);
    tagPLAYMSG msg = PlayRecord(0, kActionTakeOut, {Card(kRankFive)});
    msg.nCodes[0] = 300; // no card
    Send(0, msg, PlayMsgLength(1));
    msg.nCodes[0] = Card(kRankFive);
    msg.nCount = -1;
    Send(0, msg, PlayMsgLength(1));
    msg.nCount = 1;
    Send(0, msg, PlayMsgLength(1) - 8); // shorter than its codes
    msg.nSeat = 1;
    Send(0, msg, PlayMsgLength(1)); // another seat's play
    EXPECT_TRUE(Sent(kMsgPlay).empty());
    msg.nSeat = 0;
    Send(0, msg, PlayMsgLength(1));
    EXPECT_EQ(Sent(kMsgPlay).size(), 1u);
}

TEST_F(RefereeTest, TrusteeshipSwitchesAndTimeOuts) {
    SetRules(kOpenRules);
    SeatSix();
    StartTrickPlay(Hands({Card(kRankFive), Card(kRankTen)}), 0);
    tagTRUSTMSG trust;
    InitTrustMsg(trust);
    trust.nSeat = 2;
    for (int i = 0; i < 5; ++i) {
        trust.bOn = 1;
        Send(2, trust);
        trust.bOn = 0;
        Send(2, trust);
    }
    EXPECT_EQ(board.m_nTrustCount[2], 4); // the fifth switch on is refused
    EXPECT_EQ(board.GetTrustWord(2), 0);  // switching off still works
    EXPECT_EQ(Sent(kMsgTrust).size(), 9u);
    // The leader lets its wait run out: the referee takes it over and leads.
    board.SetActionMsg(tagACTIONRECORD{});
    Calls().clear();
    tagTIMETICKMSG tick;
    InitTimeTickMsg(tick);
    Send(3, tick);
    EXPECT_TRUE(Sent(kMsgPlay).empty()); // not yet
    now += 36 * 1000;                    // limit 30 and grace 5
    Send(3, tick);
    EXPECT_EQ(board.GetTrustWord(0), kTrustOwn);
    EXPECT_EQ(board.m_nTrustCount[0], 1);
    ASSERT_EQ(Sent(kMsgPlay).size(), 1u);
    EXPECT_EQ(As<tagPLAYMSG>(Sent(kMsgPlay)[0]).nSeat, 0);
    EXPECT_EQ(As<tagPLAYMSG>(Sent(kMsgPlay)[0]).nType, kActionTakeOut);
}

TEST_F(RefereeTest, NoSeatIsStartedForBeforeTheTableIsFull) {
    for (int seat = 0; seat < 5; ++seat) {
        tagUSERINFO user{};
        user.nSeat = seat;
        board.Dispatch(1, 0, reinterpret_cast<intptr_t>(&user));
    }
    now += 3600 * 1000;
    tagTIMETICKMSG tick;
    InitTimeTickMsg(tick);
    Send(0, tick);
    EXPECT_TRUE(Sent(kMsgStart).empty());
    for (int seat = 0; seat < kSeatCount; ++seat)
        EXPECT_EQ(board.GetStartFlag(seat), 0);
}
