#pragma once
// The arithmetic of the bean exchange: the exchange unit, what an exchange
// request becomes (refused, raised to the amount the server needs, rounded
// to the unit) and the wealth it needs. (The free charge's offer is read from
// the server's record by the network client.)

#include "Tablehub/Tablehub.h"
#include "platform/CString.h"

namespace coin_rules {

// Beans per unit of wealth from the server's exchange rate.
inline DWORD Unit(DWORD rate) {
    return rate / 100;
}

struct ExchangeRequest {
    int amount = 0; // as typed
    DWORD unit = 0;
    int wealth = 0;
    BOOL compulsory = FALSE;
    int required = 0; // beans the server asks for when compulsory
};

struct ExchangeDecision {
    enum Kind { kTooSmall, kTooLarge, kSend } kind = kTooSmall;
    // kTooSmall: the least amount; kTooLarge: the most; kSend: what is sent.
    long long figure = 0;
    // The compulsory amount was raised to the amount needed (rounded up to
    // the unit, so the rounding down never undoes it).
    BOOL raised = FALSE;
};

ExchangeDecision Decide(const ExchangeRequest& request);
// The refusal's or notice's text for a decision.
CString RefusalText(const ExchangeDecision& decision);
CString RaisedText(const ExchangeDecision& decision);
// The wealth an amount costs: a whole number of units, so the amount over
// the unit rounded up; a tenth when there is no unit.
long long NeededWealth(int amount, DWORD unit);
CString NeededWealthText(int amount, DWORD unit);

} // namespace coin_rules
