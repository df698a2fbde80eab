// The network client's senders: one game record each, built on the spot and
// sent as wire message 0x243. A watcher sends nothing.

#include "game/GameLogic.h"
#include "sprite/AppServices.h"
#include "table/common/BetRules.h"
#include "table/client/GameNetClient.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

constexpr int kMaxMultiple = 16;
constexpr int kGuessOptions = 5;

bool CardsInClear(const CGameLogic& board) {
    return (board.GetRuleFlags() & kRuleCardsInClear) != 0;
}

} // namespace

int CGameNetClient::SendStart(int multiple) {
    multiple = multiple < 0 ? 1 : std::min(multiple, kMaxMultiple);
    if (m_bWatcher)
        return 0;
    // Signed: a negative bean count must not pass for a large one.
    if (m_board.GetUserInfo(m_nMySeat).nBeans < m_board.GetTableHead().nMinBeans) {
        TrustExitGame();
        ShowBox("对不起，您的游戏豆达不到房间的最低要求，您已经退出游戏!");
        PostLeave();
        return 0;
    }
    tagSTARTMSG msg;
    InitStartMsg(msg);
    msg.nSeat = m_nMySeat;
    msg.nMultiple = multiple;
    return SendRecord(int(sizeof msg), &msg);
}

void CGameNetClient::SendTrust(int on, BYTE automatic) {
    if (m_bWatcher)
        return;
    tagTRUSTMSG msg = MySeatRecord<tagTRUSTMSG>();
    msg.bAutomatic = automatic;
    msg.bOn = on;
    SendPlain(msg);
}

int CGameNetClient::SendReturnTribute(int toSeat, int fromSeat, const tagCARD* cards, int count,
                                      int kind) {
    if (m_bWatcher)
        return 0;
    // The record has room for twelve cards; an empty return moves nothing.
    if (count < 1 || count > kTributeMaxCards || cards == nullptr) {
        WriteLog("Refused a return tribute of %d cards", count);
        return 0;
    }
    tagRETURNTRIBUTEMSG msg;
    InitReturnTributeMsg(msg);
    msg.nSeat = fromSeat;
    msg.nReceiver = toSeat;
    msg.nReturner = fromSeat;
    msg.nCount = count;
    std::copy(cards, cards + count, msg.cards);
    msg.nKind = kind;
    return SendRecord(int(sizeof msg), &msg);
}

void CGameNetClient::SendRevolution(int yes) {
    if (m_bWatcher)
        return;
    tagREVOLUTIONMSG msg = MySeatRecord<tagREVOLUTIONMSG>();
    msg.bYes = yes;
    SendPlain(msg);
}

void CGameNetClient::SendGousiji(int yes) {
    if (m_bWatcher)
        return;
    tagGOUSIJIMSG msg = MySeatRecord<tagGOUSIJIMSG>();
    msg.bYes = yes;
    SendPlain(msg);
}

void CGameNetClient::SendWatcherCanSeeMyCard(int allow) {
    if (m_bWatcher)
        return;
    tagWATCHERVIEWMSG msg = MySeatRecord<tagWATCHERVIEWMSG>();
    msg.bAllow = allow;
    SendPlain(msg);
}

int CGameNetClient::SendAction(int type, const int* codes, int count) {
    if (m_bWatcher)
        return kActionWatcher;
    tagPLAYMSG msg;
    if (!InitPlayMsgWithCodes(msg, codes, count)) {
        WriteLog("Refused a play of %d cards", count);
        return kActionNotACombination;
    }
    msg.nSeat = m_nMySeat;
    msg.nType = type;
    msg.nPlayCounter = m_board.GetPlayCounter();
    const bool unchecked = type == 1 || type == 2 || type == 8;
    if (!unchecked) {
        if ((type == 4 || type == 16) && CGameLogic::GetCardType(codes, count) == 0)
            return kActionNotACombination;
        const int result = m_board.CheckTakeOut(m_nMySeat, codes, count);
        if (result != 1)
            return result;
    }
    EncipherPlayCodes(msg, m_board.m_Cipher, CardsInClear(m_board));
    SendRecord(PlayMsgLength(count), &msg);
    return kActionSent;
}

int CGameNetClient::SendCue(int targetSeat, const int* codes, int count) {
    if (m_bWatcher)
        return 0;
    // The record holds ten codes.
    if (count < 1 || count > kCardListMaxCodes || codes == nullptr)
        return 0;
    if (CGameLogic::GetCardType(codes, count) == 0 ||
        m_board.CheckCardsType(targetSeat, codes, count) != 1)
        return 0;
    tagCARDLIST msg;
    InitGameRecord(msg);
    msg.nSeat = targetSeat;
    std::copy(codes, codes + count, msg.nCodes);
    msg.nCount = count;
    msg.nFromSeat = m_nMySeat;
    SendPlain(msg);
    return 1;
}

void CGameNetClient::SendBuy3() {
    if (m_bWatcher)
        return;
    tagBUY3MSG msg = MySeatRecord<tagBUY3MSG>();
    SendPlain(msg);
}

void CGameNetClient::SendPayTribute() {
    if (m_bWatcher)
        return;
    tagTRIBUTEMSG msg = MySeatRecord<tagTRIBUTEMSG>();
    SendPlain(msg);
}

int CGameNetClient::SendTakeChance(int seat, int option, int amount) {
    if (m_bWatcher)
        return kTakeChanceWatcher;
    if (option < 0 || option >= kGuessOptions)
        return kTakeChanceBadOption;
    const bet_rules::Refusal refusal =
        bet_rules::Check(bet_rules::BetTableOf(m_board, seat), amount);
    if (refusal != bet_rules::kNone)
        return refusal;
    tagGUESSMSG msg;
    InitGameRecord(msg);
    msg.nSeat = m_nMySeat;
    msg.nOption = option;
    msg.nAmount = amount;
    SendPlain(msg);
    return kTakeChanceSent;
}

void CGameNetClient::SendTimeTick() {
    if (m_bWatcher)
        return;
    tagTIMETICKMSG msg;
    InitGameRecord(msg);
    SendPlain(msg);
}

void CGameNetClient::SendPluginData(const void* data) {
    if (m_bWatcher || data == nullptr)
        return;
    tagPLUGINMSG msg;
    InitGameRecord(msg);
    memcpy(msg.data, data, sizeof msg.data);
    SendPlain(msg);
}
