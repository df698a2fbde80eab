#include "app/CoinRules.h"

#include <algorithm>
#include <climits>

namespace coin_rules {

namespace {

int Shown(long long value) {
    return int(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

} // namespace

ExchangeDecision Decide(const ExchangeRequest& request) {
    ExchangeDecision decision;
    long long amount = request.amount;
    const long long unit = request.unit;
    if (amount <= 0 || amount < unit) {
        decision.kind = ExchangeDecision::kTooSmall;
        decision.figure = unit ? unit : 1;
        return decision;
    }
    if (request.compulsory && amount < request.required) {
        amount = request.required;
        if (unit > 0 && amount % unit)
            amount += unit - amount % unit;
        decision.raised = TRUE;
    }
    // 64 bits: a large unit times a large wealth must not wrap.
    const long long most = unit * request.wealth;
    if (amount > most) {
        decision.kind = ExchangeDecision::kTooLarge;
        decision.figure = most;
        decision.raised = FALSE;
        return decision;
    }
    if (unit > 0)
        amount -= amount % unit;
    decision.kind = ExchangeDecision::kSend;
    decision.figure = amount;
    return decision;
}

CString RefusalText(const ExchangeDecision& decision) {
    CString text;
    if (decision.kind == ExchangeDecision::kTooSmall)
        text.Format("请至少兑换%d个游戏豆.", Shown(decision.figure));
    else if (decision.kind == ExchangeDecision::kTooLarge)
        text.Format("您兑换游戏豆的数量超出了范围,您目前最多只能兑换%d个游戏豆.",
                    Shown(decision.figure));
    return text;
}

CString RaisedText(const ExchangeDecision& decision) {
    CString text;
    text.Format("您需要兑换%d游戏豆，才可以继续游戏！", Shown(decision.figure));
    return text;
}

long long NeededWealth(int amount, DWORD unit) {
    if (unit == 0)
        return amount / 10;
    const long long a = amount;
    const long long u = unit;
    return a >= 0 ? (a + u - 1) / u : -((-a) / u);
}

CString NeededWealthText(int amount, DWORD unit) {
    CString text;
    text.Format("所需财富值:  %d", Shown(NeededWealth(amount, unit)));
    return text;
}

} // namespace coin_rules
