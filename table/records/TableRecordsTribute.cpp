// The game over with its tributes for the next game, and the records that
// move cards between two seats: the tribute, its return and a bought 3.

#include "assets/resource.h"
#include "platform/resources/Resource.h"
#include "sprite/AppServices.h"
#include "table/client/GameNetClient.h"
#include "table/common/GameRecordWords.h"
#include "table/common/GameWndInfoText.h"
#include "table/records/TableRecords.h"
#include "table/records/TableView.h"

#include <algorithm>
#include <cstdio>

namespace {

CString LoadFormat(UINT id) {
    char format[256];
    if (AfxLoadString(id, format, sizeof format) == 0)
        return CString();
    return format;
}

} // namespace

void CTableRecords::OnGameOver(const tagGAMEOVERMSG& msg) {
    for (int seat = 0; seat < kSeatCount; ++seat)
        m_board.SetUserInfo(seat, msg.users[seat]);
    m_board.SetGamesPlayed(msg.nGamesPlayed);
    // The game's result may have raised a seat's level.
    m_view.UpdateUserInfo(TRUE);
    ClearReturnsDue();
    m_board.AddHistory(msg.change);
    ReportGameOverTributes(msg);
    const std::vector<int>& places = m_board.GetPlaces();
    int placeSeat[kSeatCount];
    for (int place = 0; place < kSeatCount; ++place)
        placeSeat[place] = place < int(places.size()) ? places[place] : -1;
    m_panes.SetFinishingOrder(placeSeat);

    const int me = m_viewpoint.nMySeat;
    const int result = IsSeat(me) ? msg.nResult[me] : 0;
    m_view.PlayGameSound(result == 2 ? "win.wav" : result == 1 ? "loss.wav" : "draw.wav");
    const bool sweep = result == 2 && places.size() >= 3 &&
                       CGameLogic::IsTeammate(places[0], places[1]) &&
                       CGameLogic::IsTeammate(places[0], places[2]);
    if (!sweep)
        m_panes.ShowResultPane(msg);
    // The game's data goes now, also when a clean sweep holds the result
    // back: seats start the next game while its mark plays, and their start
    // flags must outlast it.
    m_board.ResetGameData();
    m_view.ClearMyHand();
    if (sweep)
        m_marks.ShowCleanSweep(msg);
    if (m_board.GetRuleFlags() & kRuleCardsLeftNotice) {
        m_view.ClearShownHands();
        m_view.ClearCues();
        m_view.UpdateCueButtons();
    }
    m_view.ClearLastCards();
    if (IsPlayer())
        m_view.StartTurnTimeout(LimitWithGrace(kLimitWaitStart, 10));
}

void CTableRecords::ReportGameOverTributes(const tagGAMEOVERMSG& msg) {
    m_panes.ClearReel();
    if (!(m_board.GetRuleFlags() & kRuleTribute))
        return;
    struct List {
        const tagTRIBUTEENTRY* entries;
        int count;
    };
    const List lists[] = {{msg.pointTributes, 3},
                          {msg.shaoTributes, kSeatCount},
                          {msg.bieTributes, kSeatCount},
                          {msg.placeTributes, 2}};
    const CString tribute = LoadFormat(IDS_TRIBUTE_ENTRY);
    const CString shao = LoadFormat(IDS_TRIBUTE_SHAO_ENTRY);
    const CString bie = LoadFormat(IDS_TRIBUTE_BIE_ENTRY);
    for (const List& list : lists) {
        for (int i = 0; i < list.count; ++i) {
            const tagTRIBUTEENTRY& entry = list.entries[i];
            const LPCSTR kindWord = TributeKindWord(entry.nKind - 1);
            if (kindWord == nullptr || !IsSeat(entry.nGiver) || !IsSeat(entry.nReceiver))
                continue;
            char text[512];
            const CString giver = SeatDisplayName(m_board, entry.nGiver);
            if (entry.nKind == kTributeShao && !shao.IsEmpty())
                snprintf(text, sizeof text, shao, LPCSTR(giver));
            else if (entry.nKind == kTributeBie && !bie.IsEmpty())
                snprintf(text, sizeof text, bie, LPCSTR(giver));
            else if (!tribute.IsEmpty())
                snprintf(text, sizeof text, tribute, LPCSTR(giver),
                         LPCSTR(SeatDisplayName(m_board, entry.nReceiver)), int(entry.nCount),
                         kindWord);
            else
                continue;
            m_panes.WriteReelLine(text);
        }
    }
}

void CTableRecords::OnTribute(const tagTRIBUTEMSG& msg) {
    const int giver = msg.nGiver;
    const int receiver = msg.nReceiver;
    const int count = msg.nCount;
    const LPCSTR kindWord = TributeKindWord(msg.nKind);
    CString cards;
    const bool worded = kindWord != nullptr && WordCards(msg.cards, count, &cards);
    const CString head = worded ? TributeHead(SeatDisplayName(m_board, giver),
                                              SeatDisplayName(m_board, receiver), kindWord)
                                : CString();
    if (msg.nSeat == kSeatCount) {
        // A copy of an earlier tribute for a client that came back.
        if (worded)
            m_panes.WriteReelLine(head + cards);
        EndHeldRecord();
        return;
    }
    m_board.SetGameState(kStatePayingTribute);
    const int me = m_viewpoint.nMySeat;
    if (giver == me) {
        if (!IsBlindWatcher())
            for (int i = 0; i < count; ++i)
                m_board.DeleteHandCard(me, msg.cards[i].code);
        m_board.SetSeatActionMask(me, 0);
        m_view.PlayVoice("gj%d-tribute.mp3", receiver);
    } else if (receiver == me) {
        if (!IsBlindWatcher())
            for (int i = 0; i < count; ++i) {
                tagCARD card = msg.cards[i];
                card.flags = kCardHeld;
                m_board.AddHandCard(me, card);
            }
        m_view.PlayVoice("gj%d-tribute.mp3", receiver);
    }
    int codes[kTributeMaxCards];
    for (int i = 0; i < count; ++i)
        codes[i] = msg.cards[i].code;
    CGameLogic::SortCards(codes, count);
    const bool flying = count > 0 && m_view.IntributeFlyCard(giver, codes, count, receiver) != 0;
    if (receiver == me)
        m_marks.ShowTributeMark(receiver);
    if (!flying)
        EndHeldRecord(); // else the end of the flight resumes receiving
    if (!worded)
        return;
    if (count <= 4) {
        m_view.ShowNotice(head + cards);
    } else {
        m_view.ShowNotice(head);
        m_view.ShowNotice(cards);
    }
    m_panes.WriteReelLine(head + cards);
}

void CTableRecords::OnReturnTribute(const tagRETURNTRIBUTEMSG& msg) {
    const int receiver = msg.nReceiver;
    const int returner = msg.nReturner;
    const int count = msg.nCount;
    const LPCSTR kindWord = TributeKindWord(msg.nKind);
    CString cards;
    const bool worded = kindWord != nullptr && count > 0 && NameCards(msg.cards, count, &cards);
    const CString line = worded ? ReturnHead(SeatDisplayName(m_board, returner),
                                             SeatDisplayName(m_board, receiver), kindWord) +
                                      cards
                                : CString();
    if (msg.nSeat == kSeatCount) {
        if (worded)
            m_panes.WriteReelLine(line);
        EndHeldRecord();
        return;
    }
    const bool due = msg.bRequested == 0;
    if (!due)
        m_game.bReturnTributeFlag = 0; // the listing of returns due is over
    const int me = m_viewpoint.nMySeat;
    bool flying = false;
    // Only a return whose cards have moved carries cards; the prompts before
    // it name the count due, a refusal the cards the referee would not take.
    const bool moved = msg.bRequested != 0 && msg.bMoved != 0;
    if (moved && count > 0) {
        if (!IsBlindWatcher()) {
            if (returner == me)
                for (int i = 0; i < count; ++i)
                    m_board.DeleteHandCard(me, msg.cards[i].code);
            if (receiver == me)
                for (int i = 0; i < count; ++i) {
                    tagCARD card = msg.cards[i];
                    card.flags = kCardHeld;
                    m_board.AddHandCard(me, card);
                }
        }
        // In the order my hand lays them, so that each is found in turn.
        int codes[kTributeMaxCards];
        for (int i = 0; i < count; ++i)
            codes[i] = msg.cards[i].code;
        CGameLogic::SortCards(codes, count);
        flying = m_view.IntributeFlyCard(returner, codes, count, receiver) != 0;
        if (worded)
            m_panes.WriteReelLine(line);
        SettleReturn(msg);
    }
    if (!flying)
        EndHeldRecord(); // else the end of the flight resumes receiving
    if (due)
        QueueReturnDue(msg, kindWord);
    m_view.StartTurnTimeout(LimitWithGrace(kLimitReturnTribute));
}

void CTableRecords::QueueReturnDue(const tagRETURNTRIBUTEMSG& msg, LPCSTR kindWord) {
    // The referee lists every return still due each time a kind of return
    // is complete: a new listing replaces the old one, so that no return is
    // queued twice and none stays behind.
    if (!m_game.bReturnTributeFlag) {
        ClearReturnsDue();
        m_game.bReturnTributeFlag = 1;
    }
    const int receiver = msg.nReceiver;
    const int returner = msg.nReturner;
    m_board.SetGameState(kStateTribute);
    if (IsSeat(returner)) {
        ++m_game.nReturnsDue[returner];
        m_board.SetSeatActionMask(returner, kActionReturnTribute);
    }
    const int me = m_viewpoint.nMySeat;
    if (returner == me && IsPlayer()) {
        m_pendingTributes.push_back({msg.nKind, receiver, returner, msg.nCount});
        if (m_pendingTributes.size() == 1 && msg.nKind < 4 && kindWord != nullptr) {
            ShowMyReturnDue();
            m_view.ShowTurnClock(TimeLimit(kLimitReturnTribute), kClockEventReturnTribute);
        }
    } else if (m_pendingTributes.empty() && kindWord != nullptr) {
        char text[128];
        snprintf(text, sizeof text, "等待玩家还(%s贡)...", kindWord);
        m_view.ShowNotice(text);
    }
    m_view.UpdateActionButtons(m_board.GetGameState(), MyMask(), TRUE);
}

void CTableRecords::SettleReturn(const tagRETURNTRIBUTEMSG& msg) {
    const int returner = msg.nReturner;
    if (!IsSeat(returner))
        return;
    if (m_game.nReturnsDue[returner] > 0 && --m_game.nReturnsDue[returner] == 0)
        m_board.SetSeatActionMask(returner, 0);
    if (returner != m_viewpoint.nMySeat)
        return;
    const auto done = std::find_if(
        m_pendingTributes.begin(), m_pendingTributes.end(), [&](const tagPENDINGTRIBUTE& entry) {
            return entry.nKind == msg.nKind && entry.nTargetSeat == msg.nReceiver &&
                   entry.nCount == msg.nCount;
        });
    if (done != m_pendingTributes.end())
        m_pendingTributes.erase(done);
    ShowMyReturnDue();
    if (m_pendingTributes.empty()) {
        // My returns are made: neither the clock nor the button may stay.
        m_board.SetSeatActionMask(returner, 0);
        m_view.StopCountdown();
    }
    m_view.UpdateActionButtons(m_board.GetGameState(), MyMask(), TRUE);
}

void CTableRecords::ShowMyReturnDue() {
    // The first return still open, in words; a notice would fade long before
    // the question is answered.
    const LPCSTR kindWord =
        m_pendingTributes.empty() ? nullptr : TributeKindWord(m_pendingTributes.front().nKind);
    if (kindWord == nullptr) {
        m_view.ShowQuestionLine(nullptr);
        return;
    }
    const tagPENDINGTRIBUTE& open = m_pendingTributes.front();
    const CString format = LoadFormat(IDS_RETURN_DUE);
    char text[256];
    snprintf(text, sizeof text, format, LPCSTR(SeatDisplayName(m_board, open.nTargetSeat)),
             int(open.nCount), kindWord);
    m_view.ShowQuestionLine(text);
}

void CTableRecords::ClearReturnsDue() {
    m_view.ShowQuestionLine(nullptr);
    m_pendingTributes.clear();
    m_game.bReturnTributeFlag = 0;
    for (int seat = 0; seat < kSeatCount; ++seat) {
        if (m_game.nReturnsDue[seat] > 0)
            m_board.SetSeatActionMask(seat, 0);
        m_game.nReturnsDue[seat] = 0;
    }
}

void CTableRecords::OnBuy3(const tagBUY3MSG& msg) {
    const int buyer = msg.nBuyer;
    const int seller = msg.nSeller;
    const bool seatsKnown = IsSeat(buyer) && IsSeat(seller);
    const bool paid = (msg.paidCard.flags & kCardHeld) != 0;
    CString paidWord;
    const LPCSTR suit = SuitPrefixWord(msg.boughtThree.suit);
    const bool worded =
        seatsKnown && suit != nullptr && (!paid || WordCard(msg.paidCard, &paidWord));
    const CString line =
        worded ? BuyThreeLine(SeatDisplayName(m_board, buyer), SeatDisplayName(m_board, seller),
                              paid ? &paidWord : nullptr, suit)
               : CString();
    if (msg.nSeat == kSeatCount || !msg.bExchanged || !seatsKnown) {
        if (worded && msg.bExchanged)
            m_panes.WriteReelLine(line);
        EndHeldRecord();
        return;
    }
    const int me = m_viewpoint.nMySeat;
    if (!IsBlindWatcher()) {
        if (seller == me) {
            m_board.DeleteHandCard(me, msg.boughtThree.code);
            if (paid) {
                tagCARD card = msg.paidCard;
                card.flags = kCardHeld;
                m_board.AddHandCard(me, card);
            }
        } else if (buyer == me) {
            if (paid)
                m_board.DeleteHandCard(me, msg.paidCard.code);
            tagCARD three = msg.boughtThree;
            three.flags = kCardHeld;
            m_board.AddHandCard(me, three);
        }
    }
    // The three goes to the buyer, the card paid with (if any) to the seller;
    // the flight's last card ends it.
    const BOOL flying = paid
                            ? m_view.SwapFlyCards(seller, msg.boughtThree.code, buyer,
                                                  msg.paidCard.code, kCardsLandedEnd)
                            : m_view.FlyCards(seller, buyer, msg.boughtThree.code, kCardsLandedEnd);
    if (!flying)
        EndHeldRecord();
    if (worded)
        m_panes.WriteReelLine(line);
    m_view.StartTurnTimeout(LimitWithGrace(kLimitReturnTribute));
}
