#include "game/GameLogic.h"

#include <exception>

namespace {

// The counting cards of a seat, by rank.
struct HandInventory {
    int cnt[kRankCount] = {};
    int lastRank = -1; // rank of the last plain card in hand order
    int twos() const { return cnt[kRankTwo]; }
    int smalls() const { return cnt[kRankSmallJoker]; }
    int bigs() const { return cnt[kRankBigJoker]; }
    int lastGroup() const { return lastRank < 0 ? 0 : cnt[lastRank]; }
};

// c wildcards taken as 2s first, then small jokers, then big jokers.
struct Wildcards {
    int twos = 0, smalls = 0, bigs = 0;
};

bool TakeWildcards(int c, int twos, int smalls, int bigs, Wildcards& out) {
    if (twos >= c)
        out = {c, 0, 0};
    else if (twos + smalls >= c)
        out = {twos, c - twos, 0};
    else if (twos + smalls + bigs >= c)
        out = {twos, smalls, c - twos - smalls};
    else
        return false;
    return true;
}

class CandidateList {
public:
    explicit CandidateList(std::vector<CardType>& list) : m_list(list) {}
    void Add(int rank, int plain, int twos, int smalls, int bigs) {
        if (plain + twos + smalls + bigs > 0)
            m_list.push_back(
                MakeCardType(plain > 0 ? rank : kNoPlainRank, plain, twos, smalls, bigs));
    }
    // A word of 2s and jokers only, its plain fields 0.
    void AddWildcardsOnly(int twos, int smalls, int bigs) {
        if (twos + smalls + bigs > 0)
            m_list.push_back(MakeCardType(0, 0, twos, smalls, bigs));
    }

private:
    std::vector<CardType>& m_list;
};

void SearchLeads(const HandInventory& inv, int plainRanks, bool threesRule, bool mustShowJoker,
                 CandidateList& out) {
    int nt = inv.twos(), ns = inv.smalls(), nb = inv.bigs();
    if (plainRanks == 1 && threesRule) {
        if (nt + ns + nb > 0)
            out.AddWildcardsOnly(nt, ns, nb);
        else
            out.Add(inv.lastRank, inv.lastGroup(), 0, 0, 0);
        return;
    }
    if (plainRanks == 1) {
        out.Add(inv.lastRank, inv.lastGroup(), nt, ns, nb);
        return;
    }
    if (plainRanks == 2 && threesRule) {
        for (int r = 1; r < kPlainRankCount; ++r) {
            if (inv.cnt[r] > 0) {
                out.Add(r, inv.cnt[r], nt, ns, nb);
                return;
            }
        }
    }
    if (plainRanks == 0)
        out.AddWildcardsOnly(nt, ns, nb);
    // One group a rank; the 2s and jokers appear as groups of their own,
    // their rank standing in the plain field.
    for (int m = threesRule ? 1 : 0; m < kRankCount; ++m) {
        if (inv.cnt[m] == 0)
            continue;
        if (mustShowJoker && ns + nb > 0) {
            if (ns > 0)
                out.Add(m, inv.cnt[m], 0, 1, 0);
            if (nb > 0)
                out.Add(m, inv.cnt[m], 0, 0, 1);
        } else {
            out.Add(m, inv.cnt[m], 0, 0, 0);
        }
    }
}

// Answers to a play that holds ts >= 1 small jokers: each carries ts big
// jokers for them.
void SearchAnswersToSmallJokers(const HandInventory& inv, int n, int tr, int tt, int ts,
                                CandidateList& out) {
    int nt = inv.twos(), ns = inv.smalls(), nb = inv.bigs();
    if (nb < ts)
        return;
    if (tt > 0) {
        if (ns >= tt)
            out.Add(0, 0, 0, tt, ts);
        else if (ns + nb >= ts + tt)
            out.Add(0, 0, 0, ns, ts + tt - ns);
        return;
    }
    if (n == 0) {
        out.Add(0, 0, 0, 0, ts);
        return;
    }
    int spare = nb - ts;
    int last = std::min(n, nt + ns + spare);
    for (int c = 0; c <= last; ++c) {
        Wildcards w;
        if (n - c >= 1 && TakeWildcards(c, nt, ns, spare, w)) {
            for (int r = tr + 1; r < kPlainRankCount; ++r) {
                if (inv.cnt[r] >= n - c)
                    out.Add(r, n - c, w.twos, w.smalls, ts + w.bigs);
            }
        }
        if (TakeWildcards(n, nt, ns, spare, w))
            out.Add(0, 0, w.twos, w.smalls, ts + w.bigs);
    }
}

// Answers with c wildcards beside n - c plain cards of rank r, to a play
// without jokers.
void AddPlainAnswers(const HandInventory& inv, int r, int plain, int c, CandidateList& out) {
    int nt = inv.twos(), ns = inv.smalls(), nb = inv.bigs();
    Wildcards w;
    if (TakeWildcards(c, nt, ns, nb, w))
        out.Add(r, plain, w.twos, w.smalls, w.bigs);
    if (c > 0 && nt > 0) {
        if (ns >= c)
            out.Add(r, plain, 0, c, 0);
        else if (ns + nb >= c)
            out.Add(r, plain, 0, ns, c - ns);
        if (ns > 0 && nb >= c)
            out.Add(r, plain, 0, 0, c);
    }
}

void SearchAnswersWithoutJokers(const HandInventory& inv, int n, int tr, int tt,
                                CandidateList& out) {
    int nt = inv.twos(), ns = inv.smalls(), nb = inv.bigs();
    if (tt > 0) { // 2s only: only jokers beat them
        if (ns + nb >= tt) {
            if (ns >= tt && nb >= 1) {
                out.Add(0, 0, 0, tt, 0);
                out.Add(0, 0, 0, tt - 1, 1);
            } else if (ns < tt) {
                out.Add(0, 0, 0, ns, tt - ns);
            } else {
                out.Add(0, 0, 0, tt, 0);
            }
        }
        return;
    }
    if (n == 0)
        return;
    int wildcards = nt + ns + nb;
    int groups = wildcards >= n ? n : wildcards + 1;
    for (int c = 0; c < groups; ++c) {
        int plain = n - c;
        for (int r = tr + 1; r < kPlainRankCount; ++r) {
            if (inv.cnt[r] == plain)
                AddPlainAnswers(inv, r, plain, c, out);
        }
        for (int r = tr + 1; r < kPlainRankCount; ++r) {
            if (inv.cnt[r] > plain)
                AddPlainAnswers(inv, r, plain, c, out);
        }
    }
    Wildcards w;
    if (TakeWildcards(n, nt, ns, nb, w))
        out.Add(0, 0, w.twos, w.smalls, w.bigs);
    if (TakeWildcards(n, 0, ns, nb, w))
        out.Add(0, 0, 0, w.smalls, w.bigs);
    if (nb >= n)
        out.Add(0, 0, 0, 0, n);
}

} // namespace

int CGameLogic::Search(CardType toBeat, int seat, std::vector<CardType>& candidates) {
    candidates.clear();
    if (!IsValidSeat(seat))
        return 0;
    try {
        HandInventory inv;
        const tagCARD* hand = m_HandCards[seat];
        int used = GetHandUsedCount(seat);
        for (int i = 0; i < used; ++i) {
            if (!IsCountingCard(hand[i]) || hand[i].rank >= kRankCount)
                continue;
            ++inv.cnt[hand[i].rank];
            if (hand[i].rank < kPlainRankCount)
                inv.lastRank = hand[i].rank;
        }
        CandidateList out(candidates);

        if (toBeat == 0) {
            bool mustShowJoker = (m_nSeatStatus[seat] & kStatusLastPlay) != 0;
            SearchLeads(inv, CountPlainRanks(seat), (m_dwRuleFlags & kRuleThrees) != 0,
                        mustShowJoker, out);
            return int(candidates.size());
        }
        if (CardTypeBigJokers(toBeat) > 0)
            return 0; // nothing beats a big joker
        int ts = CardTypeSmallJokers(toBeat);
        int tt = CardTypeTwos(toBeat);
        int tp = CardTypePlainCount(toBeat);
        int tr = tp > 0 ? int(CardTypeRank(toBeat)) : kRankTwo;
        // Plain cards and 2s count together as one rank group.
        int n = 0;
        if (tp > 0) {
            n = tp + tt;
            tt = 0;
        }
        if (ts > 0)
            SearchAnswersToSmallJokers(inv, n, tr, tt, ts, out);
        else
            SearchAnswersWithoutJokers(inv, n, tr, tt, out);
    } catch (const std::exception&) {
        Trace("Exception:-------:Search Erro!");
    }
    return int(candidates.size());
}
