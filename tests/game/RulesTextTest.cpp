#include <string>

#include <gtest/gtest.h>

#include "tests/game/CardHelpers.h"

namespace {

// Fields 1..n of a rules text: the eleven time limits 1..11, then the given
// fields from 12 on.
std::string TextWithFields(const std::vector<int>& from12) {
    std::string text = "21 22 23 24 25 26 27 28 29 30 31";
    for (int value : from12)
        text += " " + std::to_string(value);
    return text;
}

// A text that sets field `field` (12..40) to value and every other field
// after the time limits to 0.
std::string WithField(int field, int value, int fields = 40) {
    std::vector<int> from12(fields - 11, 0);
    from12[field - 12] = value;
    return TextWithFields(from12);
}

// Shows the table values that only the settlement reads.
class TableValuesBoard : public CGameLogic {
public:
    using CGameLogic::m_nEscapePenalty;
    using CGameLogic::m_nMemberMultiplier;
    using CGameLogic::m_nOtherMultiplier;
    using CGameLogic::m_nPointFactor;
};

class RulesText : public ::testing::Test {
protected:
    uint32_t FlagsAfter(const std::string& text) {
        board.SetRuleFlags(0x80000000);
        board.SetProperty(kPropRulesText, text.c_str());
        return board.GetRuleFlags();
    }
    TableValuesBoard board;
};

} // namespace

TEST_F(RulesText, TimeLimitsReachTheHeadAndTheTimeLimitRecord) {
    board.SetProperty(kPropRulesText, TextWithFields({}).c_str());
    for (int i = 0; i < kTimeLimitCount; ++i) {
        EXPECT_EQ(board.GetTableHead().nTimeLimit[i], 21 + i);
        EXPECT_EQ(board.m_TimeLimits.GetLimit(i), 21 + i);
    }
}

TEST_F(RulesText, FlagsAreReplacedOnlyOnceTheTextReachesField14) {
    EXPECT_EQ(FlagsAfter(TextWithFields({0, 0})), 0x80000000u); // 13 fields
    EXPECT_EQ(FlagsAfter(TextWithFields({0, 0, 0})), 0x1000u);
    EXPECT_EQ(FlagsAfter(TextWithFields({0, 0, 5})), 0x1001u);
}

TEST_F(RulesText, EachSwitchSetsItsBits) {
    struct Case {
        int field, value;
        uint32_t bits;
    } cases[] = {
        {15, 1, 0x6},      {15, 2, 0x206},     {15, 3, 0},        {16, 1, 0x10010},
        {16, 2, 0x20010},  {16, 3, 0x40010},   {16, 4, 0},        {17, 1, 0x100},
        {18, 9, 0x8000},   {19, 1, 0x800},     {20, 1, 0x200000}, {21, 3, 0x100000},
        {22, 1, 0x40},     {23, 1, 0x4080},    {23, 2, 0x4000},   {24, 1, 0x20},
        {25, 1, 0x400000}, {28, 1, 0x1000000},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FlagsAfter(WithField(c.field, c.value)), 0x1000u | c.bits)
            << "field " << c.field << " value " << c.value;
}

TEST_F(RulesText, RangedFieldsKeepTheirValueWhenOutOfRange) {
    board.SetProperty(kPropRulesText, WithField(31, 12).c_str());
    EXPECT_EQ(board.GetTableHead().nMaxMultiple, 12);
    for (int bad : {0, 17, -3}) {
        board.SetProperty(kPropRulesText, WithField(31, bad).c_str());
        EXPECT_EQ(board.GetTableHead().nMaxMultiple, 12) << bad;
    }
    board.SetProperty(kPropRulesText, WithField(32, 16).c_str());
    EXPECT_EQ(board.GetTableHead().nBaseMultiple, 16);
    board.SetProperty(kPropRulesText, WithField(29, 5).c_str());
    EXPECT_EQ(board.GetTableHead().nField29, 5);
    board.SetProperty(kPropRulesText, WithField(30, 99).c_str());
    EXPECT_EQ(board.GetTableHead().nField30, 1);
}

TEST_F(RulesText, GamesToPlayAndHeadFieldsAreStored) {
    board.SetProperty(kPropRulesText, WithField(21, 7).c_str());
    EXPECT_EQ(board.GetTableHead().nGamesToPlay, 7);
    board.SetProperty(kPropRulesText, WithField(27, 5000).c_str());
    EXPECT_EQ(board.GetTableHead().nMinBeans, 5000);
    board.SetProperty(kPropRulesText, WithField(33, 800).c_str());
    EXPECT_EQ(board.GetTableHead().nMaxStake, 800);
    board.SetProperty(kPropRulesText, WithField(34, 4).c_str());
    EXPECT_EQ(board.GetTableHead().nMaxGuesses, 4);
    board.SetProperty(kPropRulesText, WithField(35, 10).c_str());
    EXPECT_EQ(board.GetTableHead().nMinStake, 10);
    board.SetProperty(kPropRulesText, WithField(36, 200).c_str());
    EXPECT_EQ(board.GetTableHead().nKeepBeans, 200);
}

TEST_F(RulesText, HeadCopiesOfOddsAndFlagsNeedTextBeyondField40) {
    board.SetProperty(kPropRulesText, WithField(24, 1).c_str());
    EXPECT_EQ(board.GetTableHead().nRuleFlags, 0);
    EXPECT_EQ(board.GetTableHead().nGuessOdds[0], 0);

    std::string text = WithField(24, 1) + " 2 3 4 5 6 50 60 9000 1 1 777";
    board.SetProperty(kPropRulesText, text.c_str());
    EXPECT_EQ(uint32_t(board.GetTableHead().nRuleFlags), 0x1020u);
    const int32_t expectedOdds[] = {2, 3, 4, 5, 6};
    for (int kind = 0; kind < kGuessKindCount; ++kind)
        EXPECT_EQ(board.GetTableHead().nGuessOdds[kind], expectedOdds[kind]);
    EXPECT_EQ(board.m_TakeChanceRule.GetMemberBase(), 50);
    EXPECT_EQ(board.m_TakeChanceRule.GetOtherBase(), 60);
    EXPECT_EQ(board.m_TakeChanceRule.GetAnnounceThreshold(), 9000);
    EXPECT_TRUE(board.m_Statistics.IsSendOn());
    EXPECT_TRUE(board.m_Statistics.IsPerSeatReportOn());
    EXPECT_EQ(board.m_Statistics.GetThreshold(), 777);
}

TEST_F(RulesText, OddsBelowOneStopTheTail) {
    std::string text = WithField(24, 0) + " 2 0 4 5 6 50 60 9000 1 1 777";
    board.SetProperty(kPropRulesText, text.c_str());
    EXPECT_EQ(board.m_TakeChanceRule.GetOdds()[0], 2);
    EXPECT_EQ(board.m_TakeChanceRule.GetOdds()[2], 0);
    EXPECT_EQ(board.m_TakeChanceRule.GetMemberBase(), 0);
    EXPECT_FALSE(board.m_Statistics.IsSendOn());
    EXPECT_EQ(board.m_Statistics.GetThreshold(), 1000);
}

TEST_F(RulesText, EmptyFieldsReadZeroAndBadNumbersReadTheirDigits) {
    // Two spaces make an empty field 2; "7x" reads 7; "x" reads 0.
    board.SetProperty(kPropRulesText, "5  7x x");
    EXPECT_EQ(board.GetTableHead().nTimeLimit[0], 5);
    EXPECT_EQ(board.GetTableHead().nTimeLimit[1], 0);
    EXPECT_EQ(board.GetTableHead().nTimeLimit[2], 7);
    EXPECT_EQ(board.GetTableHead().nTimeLimit[3], 0);
    EXPECT_EQ(board.GetTableHead().nTimeLimit[4], 10); // not in the text: unchanged
    board.SetProperty(kPropRulesText, "99999999999999999999 -99999999999999999999");
    EXPECT_EQ(board.GetTableHead().nTimeLimit[0], INT32_MAX);
    EXPECT_EQ(board.GetTableHead().nTimeLimit[1], INT32_MIN);
}

TEST_F(RulesText, AnEmptyTextChangesNothingAndANullTextIsRefused) {
    board.SetRuleFlags(0x42);
    EXPECT_EQ(board.SetProperty(kPropRulesText, ""), 1);
    EXPECT_EQ(board.GetRuleFlags(), 0x42u);
    EXPECT_EQ(board.GetTableHead().nTimeLimit[6], 30);
    EXPECT_EQ(board.SetProperty(kPropRulesText, nullptr), 0);
    EXPECT_EQ(board.GetRuleFlags(), 0x42u);
}

TEST_F(RulesText, TableValuesTakeOnlyValidNumbers) {
    board.SetProperty(kPropRulesText, WithField(39, 250).c_str());
    EXPECT_EQ(board.m_nMemberMultiplier, 250);
    board.SetProperty(kPropRulesText, WithField(39, 10000).c_str());
    EXPECT_EQ(board.m_nMemberMultiplier, 250);
    board.SetProperty(kPropRulesText, WithField(40, 9999).c_str());
    EXPECT_EQ(board.m_nOtherMultiplier, 9999);
    board.SetProperty(kPropRulesText, WithField(40, 0).c_str());
    EXPECT_EQ(board.m_nOtherMultiplier, 9999);
    board.SetProperty(kPropRulesText, WithField(26, 3).c_str());
    EXPECT_EQ(board.m_nPointFactor, 3);
    board.SetProperty(kPropRulesText, WithField(26, -4).c_str());
    EXPECT_EQ(board.m_nPointFactor, 3);
    board.SetProperty(kPropRulesText, WithField(12, 30).c_str());
    EXPECT_EQ(board.m_nEscapePenalty, 30);
}
