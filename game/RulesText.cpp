#include "game/GameLogic.h"
#include "game/RulesFields.h"

namespace {

// Fields 29 to 32 take a multiple of 1..16, fields 39 and 40 a multiplier of
// 1..9999; anything else keeps the value before.
void StoreInRange(int32_t& target, int value, int low, int high) {
    if (value >= low && value <= high)
        target = value;
}

// Fields that switch one rule on when they are not 0.
struct RuleSwitch {
    int field;
    uint32_t flag;
};
const RuleSwitch kRuleSwitches[] = {
    {14, kRuleThrees},
    {17, kRuleAskOnlyFinishers},
    {18, kRuleTeammatesAnswerFirst},
    {19, kRuleGousijiAfterRevolution},
    {20, kRuleEscapeAfterStart},
    {22, kRuleCardsLeftNotice},
    {24, kRuleShao},
    {25, kRuleNextSeatLeadsAfterBurn},
    {28, kRuleAskHostPerSeat},
};

} // namespace

// The rules text a host sets as property 0: the table's time limits, rule
// switches and limits, as decimal fields separated by single spaces. A short
// text leaves the later fields as they were.
void CGameLogic::ParseRulesText(const char* text) {
    CRulesFields fields(text);
    tagTABLEHEAD& head = m_TableHead;
    int value = 0;
    for (int field = 1; field <= 40; ++field) {
        if (!fields.HasNext())
            return;
        if (field == 14)
            m_dwRuleFlags = kRuleMostThreesLeads;
        fields.Next(value);
        for (const RuleSwitch& rule : kRuleSwitches) {
            if (rule.field == field && value != 0)
                m_dwRuleFlags |= rule.flag;
        }
        switch (field) {
        case 12:
            m_nEscapePenalty = value;
            break;
        case 13:
            head.nField13 = value;
            break;
        case 15:
            if (value == 1)
                m_dwRuleFlags |= kRulePointRound1 | kRulePointRound2;
            else if (value == 2)
                m_dwRuleFlags |= kRulePointRound1 | kRulePointRound2 | kRuleOpenPointVariant;
            break;
        case 16:
            if (value == 1)
                m_dwRuleFlags |= kRuleTribute | kRuleTributeVariant1;
            else if (value == 2)
                m_dwRuleFlags |= kRuleTribute | kRuleTributeVariant2;
            else if (value == 3)
                m_dwRuleFlags |= kRuleTribute | kRuleTributeVariant3;
            break;
        case 21:
            if (value) {
                m_dwRuleFlags |= kRuleEscapeBeforeGames;
                head.nGamesToPlay = value;
            }
            break;
        case 23:
            if (value == 1)
                m_dwRuleFlags |= kRuleReturnTribute | kRuleReturnAnyRank;
            else if (value == 2)
                m_dwRuleFlags |= kRuleReturnTribute;
            break;
        case 26:
            if (value > 0)
                m_nPointFactor = value;
            break;
        case 27:
            head.nMinBeans = value;
            break;
        case 29:
            StoreInRange(head.nField29, value, 1, 16);
            break;
        case 30:
            StoreInRange(head.nField30, value, 1, 16);
            break;
        case 31:
            StoreInRange(head.nMaxMultiple, value, 1, 16);
            break;
        case 32:
            StoreInRange(head.nBaseMultiple, value, 1, 16);
            break;
        case 33:
            head.nMaxStake = value;
            break;
        case 34:
            head.nMaxGuesses = value;
            break;
        case 35:
            head.nMinStake = value;
            break;
        case 36:
            head.nKeepBeans = value;
            break;
        case 37:
            head.nPrePointFee = value;
            break;
        case 38:
            head.nFeePerStep = value;
            break;
        case 39:
            StoreInRange(m_nMemberMultiplier, value, 1, 9999);
            break;
        case 40:
            StoreInRange(m_nOtherMultiplier, value, 1, 9999);
            break;
        default:
            if (field <= kTimeLimitCount)
                head.nTimeLimit[field - 1] = value;
            break;
        }
    }
    if (!fields.HasNext())
        return;
    const char* rest = m_TakeChanceRule.Parse(fields.Rest());
    m_Statistics.ParseOptions(rest);
    for (int kind = 0; kind < kGuessKindCount; ++kind)
        head.nGuessOdds[kind] = m_TakeChanceRule.GetOdds()[kind];
    head.nRuleFlags = int32_t(m_dwRuleFlags);
}
