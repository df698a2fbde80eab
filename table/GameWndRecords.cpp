// The table window's side of the game records: the check every record
// passes, the dispatch by id, the end of a record that stopped receiving,
// and the helpers the handlers share.

#include "sprite/AppServices.h"
#include "sprite/Theme.h"
#include "table/GameNetClient.h"
#include "table/GameWnd.h"
#include "table/ReceivedCards.h"
#include "table/ReceivedRecords.h"
#include "table/TableAppLink.h"

#include <cstdio>
#include <memory>

namespace {

// Records for which the client stopped reading before handing them over.
bool IsHeldRecord(int id) {
    return id == kMsgDeal || id == kMsgPlay || id == kMsgReturnTribute || id == kMsgBuy3 ||
           id == kMsgTribute;
}

// Ids that the table has no handler for.
bool HasHandler(int id) {
    if (id < kMsgFirst || id > kMsgLast)
        return false;
    return id != 0x90C && id != 0x90F && id != 0x916 && id != kMsgSeatRequest && id != kMsgTimeTick;
}

// Reads the checked record as T on the heap (the snapshot is 25 KB) and runs
// the handler with it.
template <class T, class Handler> void Run(const void* record, int length, Handler handler) {
    auto copy = std::make_unique<T>();
    if (ReadGameRecord(record, length, *copy))
        handler(*copy);
}

} // namespace

LRESULT CGameWnd::OnGameMessage(WPARAM wParam, LPARAM lParam) {
    const void* record = reinterpret_cast<const void*>(lParam);
    const int length = wParam > WPARAM(0x7FFFFFFF) ? -1 : int(wParam);
    int id = 0;
    if (record == nullptr || length < 0 || !PeekGameRecordId(record, length, &id)) {
        WriteLog("The table refused a game record without a head (%d bytes)", length);
        return 0;
    }
    if (!HasHandler(id)) {
        WriteLog("The table has no handler for game record %x", unsigned(id));
        char text[16];
        snprintf(text, sizeof text, "%x", unsigned(id));
        ShowMessageBox(text);
        return 0;
    }
    const ReceivedRecordCheck check = CheckReceivedRecord(record, length);
    const char* cards = "";
    const bool cardsFit = check.fault == kReceivedOk && CheckReceivedCards(record, length, &cards);
    if (!cardsFit) {
        if (check.fault != kReceivedOk)
            WriteLog("The table refused game record %x of %d bytes: %s", unsigned(id), length,
                     ReceivedRecordFaultText(check));
        else
            WriteLog("The table refused game record %x of %d bytes: a card of the %s is out of "
                     "range",
                     unsigned(id), length, cards);
        // The client stopped reading for it: nothing else would resume it.
        if (IsHeldRecord(id))
            EndHeldRecord();
        return 0;
    }
    DispatchRecord(id, record, length);
    return 0;
}

void CGameWnd::DispatchRecord(int id, const void* record, int length) {
    switch (id) {
    case kMsgTableInfo:
        Run<tagTABLEINFO>(record, length, [this](const tagTABLEINFO& m) { OnTableInfo(m); });
        break;
    case kMsgSnapshot:
        Run<tagSNAPSHOTMSG>(record, length, [this](const tagSNAPSHOTMSG& m) { OnSnapshot(m); });
        break;
    case kMsgStart:
        Run<tagSTARTMSG>(record, length, [this](const tagSTARTMSG& m) { OnStart(m); });
        break;
    case kMsgDeal:
        Run<tagDEALMSG>(record, length, [this](const tagDEALMSG& m) { OnDeal(m); });
        break;
    case kMsgPlay:
        Run<tagPLAYMSG>(record, length, [this](tagPLAYMSG& m) { OnPlay(m); });
        break;
    case kMsgGameOver:
        Run<tagGAMEOVERMSG>(record, length, [this](const tagGAMEOVERMSG& m) { OnGameOver(m); });
        break;
    case kMsgReturnTribute:
        Run<tagRETURNTRIBUTEMSG>(record, length,
                                 [this](const tagRETURNTRIBUTEMSG& m) { OnReturnTribute(m); });
        break;
    case kMsgPoint:
        Run<tagPOINTMSG>(record, length, [this](const tagPOINTMSG& m) { OnPointMsg(m); });
        break;
    case kMsgRevolution:
        Run<tagREVOLUTIONMSG>(record, length,
                              [this](const tagREVOLUTIONMSG& m) { OnRevolution(m); });
        break;
    case kMsgGousiji:
        Run<tagGOUSIJIMSG>(record, length, [this](const tagGOUSIJIMSG& m) { OnGousiji(m); });
        break;
    case kMsgBuy3:
        Run<tagBUY3MSG>(record, length, [this](const tagBUY3MSG& m) { OnBuy3(m); });
        break;
    case kMsgTribute:
        Run<tagTRIBUTEMSG>(record, length, [this](const tagTRIBUTEMSG& m) { OnTribute(m); });
        break;
    case kMsgTrust:
        Run<tagTRUSTMSG>(record, length, [this](const tagTRUSTMSG& m) { OnTrust(m); });
        break;
    case kMsgGameEnd:
        OnTrustEnd();
        break;
    case kMsgTrustWords:
        Run<tagTRUSTWORDSMSG>(record, length,
                              [this](const tagTRUSTWORDSMSG& m) { OnTrustWords(m); });
        break;
    case kMsgWatcherView:
        Run<tagWATCHERVIEWMSG>(record, length,
                               [this](const tagWATCHERVIEWMSG& m) { OnWatcherCards(m); });
        break;
    case kMsgPlaces:
        Run<tagPLACESMSG>(record, length, [this](const tagPLACESMSG& m) { OnPlaces(m); });
        break;
    case kMsgUserRecord:
        Run<tagUSERRECORDMSG>(record, length,
                              [this](const tagUSERRECORDMSG& m) { OnUserRecord(m); });
        break;
    case kMsgPluginData:
        Run<tagPLUGINMSG>(record, length, [this](const tagPLUGINMSG& m) { OnPluginData(m); });
        break;
    case kMsgCardList:
        Run<tagCARDLIST>(record, length, [this](const tagCARDLIST& m) { OnCue(m); });
        break;
    case kMsgShaoBie:
        Run<tagSHAOBIEMSG>(record, length, [this](const tagSHAOBIEMSG& m) { OnShaoBie(m); });
        break;
    case kMsgGuess:
        Run<tagGUESSMSG>(record, length, [this](const tagGUESSMSG& m) { OnTakeChanceResult(m); });
        break;
    case kMsgTributeStopped:
        Run<tagTRIBUTESTOPPEDMSG>(record, length,
                                  [this](const tagTRIBUTESTOPPEDMSG& m) { OnTributeStopped(m); });
        break;
    case kMsgBeanLock:
        Run<tagBEANLOCKMSG>(record, length, [this](const tagBEANLOCKMSG& m) { OnBeanLock(m); });
        break;
    default: // 0x91E: nothing to do
        break;
    }
}

void CGameWnd::EndHeldRecord() {
    ReceiveGate().Release();
}

CReceiveGate& CGameWnd::ReceiveGate() const {
    return m_pClient->ReceiveGate();
}

BOOL CGameWnd::IsReceiveReady() const {
    return !ReceiveGate().IsHeld();
}

void CGameWnd::PlayGameSound(LPCSTR file) {
    if (file == nullptr || *file == '\0' || !TableApp().IsSoundEffectsOn())
        return;
    CString path = TableApp().GetSoundDir();
    if (!path.IsEmpty() && path[path.GetLength() - 1] != '/' && path[path.GetLength() - 1] != '\\')
        path += '/';
    PlaySoundPath(path + file);
}

void CGameWnd::PlaySoundPath(LPCSTR path) {
    kn::theTheme.PlayMusic(path, 0, 1);
}

BOOL CGameWnd::IsMe(int seat) const {
    return m_pClient != nullptr && seat == m_pClient->m_nMySeat;
}

BOOL CGameWnd::IsPlayer() const {
    return m_pClient != nullptr && !m_pClient->m_bWatcher;
}

BOOL CGameWnd::IsBlindWatcher() const {
    return m_pClient != nullptr && m_pClient->m_bWatcher &&
           !theBoard.GetWatcherSees(m_pClient->m_nMySeat);
}

int CGameWnd::VoiceOf(int seat) const {
    return theBoard.GetUserInfo(seat).nVoice;
}

void CGameWnd::PlayVoice(LPCSTR format, int seat, int variant) {
    char file[64];
    if (variant < 0)
        snprintf(file, sizeof file, format, VoiceOf(seat));
    else
        snprintf(file, sizeof file, format, VoiceOf(seat), variant);
    PlayGameSound(file);
}

void CGameWnd::StartTurnTimeout(int seconds) {
    KillTimer(kTurnTimeoutTimer);
    if (IsPlayer() && seconds > 0)
        SetTimer(kTurnTimeoutTimer, UINT(seconds) * 1000, nullptr);
}

void CGameWnd::RestartInfoTimers(UINT plateMs) {
    KillTimer(kPlateRepaintTimer);
    SetTimer(kPlateRepaintTimer, plateMs, nullptr);
    if (theBoard.GetRuleFlags() & kRuleChatWatchTarget) {
        KillTimer(kHoverTimer);
        KillTimer(kPopupCheckTimer);
        SetTimer(kHoverTimer, 1000, nullptr);
        SetTimer(kPopupCheckTimer, 1000, nullptr);
    }
}

void CGameWnd::ShowMyHand() {
    m_hands.ClearHand();
    if (m_pClient == nullptr)
        return;
    const int seat = m_pClient->m_nMySeat;
    if (seat < 0 || seat >= kSeatCount)
        return;
    const tagCARD* hand = theBoard.GetHand(seat);
    for (int i = 0; i < kHandSize; ++i)
        if (IsCountingCard(hand[i]) && hand[i].code < kCardCodeCount)
            m_hands.DisplayCard(hand[i].code);
    m_hands.CalcLayout();
}

void CGameWnd::ClearMyHand() {
    m_hands.ClearHand();
}

void CGameWnd::UpdateSeatStateMarks(const int32_t values[kSeatCount], BOOL flag) {
    const bool askOnlyFinishers = (theBoard.GetRuleFlags() & kRuleAskOnlyFinishers) != 0;
    for (int seat = 0; seat < kSeatCount; ++seat) {
        const int status = theBoard.GetSeatStatus(seat);
        const bool cleared = theBoard.GetSeatActionMask(seat) != 0 ||
                             (askOnlyFinishers && (status & 0x08) && !(status & 0x01));
        ShowActionMark(seat,
                       cleared ? 0 : values[seat] & (kActionPass | kActionLet | kActionGiveUp));
        MarkShao(seat, (status & kStatusLastPlay) ? TRUE : FALSE, flag);
    }
}
