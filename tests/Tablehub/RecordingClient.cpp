#include "RecordingClient.h"

#include "platform/resources/ResourceStyles.h"

#include <cstring>

namespace wire_test {

namespace {

// A null text shows as such, so that a test can tell it from an empty one.
std::string TextOf(const char* text) {
    return text != nullptr ? std::string(text) : std::string("<null>");
}

int32_t RecordId(const std::vector<BYTE>& record) {
    int32_t id = 0;
    if (record.size() >= sizeof id)
        memcpy(&id, record.data(), sizeof id);
    return id;
}

} // namespace

void CRecordingClient::Note(const char* name, const char* text, std::vector<int64_t> values) {
    calls.push_back(Call{name, TextOf(text), std::move(values)});
    if (onCall) {
        // A copy: the hook may make the client call back and grow the list.
        const Call call = calls.back();
        onCall(call);
    }
}

int CRecordingClient::Count(const std::string& name) const {
    int count = 0;
    for (const Call& call : calls)
        count += call.name == name;
    return count;
}

const Call* CRecordingClient::Last(const std::string& name) const {
    for (auto it = calls.rbegin(); it != calls.rend(); ++it) {
        if (it->name == name)
            return &*it;
    }
    return nullptr;
}

std::vector<int> CRecordingClient::RecordIds() const {
    std::vector<int> ids;
    for (const std::vector<BYTE>& record : records)
        ids.push_back(RecordId(record));
    return ids;
}

std::string CRecordingClient::Describe() const {
    std::string text;
    for (const Call& call : calls) {
        text += call.name + "(" + call.text;
        for (int64_t value : call.values)
            text += ", " + std::to_string(value);
        text += ") ";
    }
    return text;
}

int CRecordingClient::OnGameMsg(int length, void* record) {
    const BYTE* bytes = static_cast<const BYTE*>(record);
    records.emplace_back();
    if (bytes != nullptr && length > 0)
        records.back().assign(bytes, bytes + length);
    const std::vector<BYTE> kept = records.back();
    calls.push_back(Call{"OnGameMsg", "", {RecordId(kept), length}});
    if (onRecord)
        onRecord(kept);
    return 1;
}

void CRecordingClient::OnBreak(char* name) {
    Note("OnBreak", name);
}

void CRecordingClient::OnReConnet(char* name) {
    Note("OnReConnet", name);
}

int CRecordingClient::OnTipMessage(UINT id, UINT style, UINT extra) {
    Note("OnTipMessage(id)", "", {id, style, extra});
    if (idTipAnswers.empty())
        return IDOK;
    const int answer = idTipAnswers.front();
    idTipAnswers.pop_front();
    return answer;
}

int CRecordingClient::OnTipMessage(LPCSTR text, UINT style, UINT extra) {
    Note("OnTipMessage(text)", text, {style, extra});
    return IDOK;
}

void CRecordingClient::OnLeaveGame(WORD seat) {
    Note("OnLeaveGame(seat)", "", {seat});
}

void CRecordingClient::OnLeaveGame(char* text) {
    Note("OnLeaveGame(text)", text);
}

void CRecordingClient::OnEscapeGame(char* text) {
    Note("OnEscapeGame", text);
}

void CRecordingClient::OnRoomBreak(char* text) {
    Note("OnRoomBreak", text);
}

void CRecordingClient::OnKickOut() {
    Note("OnKickOut", "");
}

void CRecordingClient::OnNetTimeOut(char* text) {
    Note("OnNetTimeOut", text);
}

void CRecordingClient::OnError() {
    Note("OnError", "");
}

void CRecordingClient::OnMastGameOver() {
    Note("OnMastGameOver", "");
}

void CRecordingClient::OnClose(int error) {
    Note("OnClose", "", {error});
}

void CRecordingClient::OnNeedChargeGameCoin(tagGAMECOINCHARGE charge, LPCSTR text) {
    Note("OnNeedChargeGameCoin", text,
         {charge.dwValue0, charge.dwValue1, charge.wValue2, charge.wValue3, charge.wValue4,
          charge.wValue5});
}

void CRecordingClient::OnNeedChargeGameCoin(DWORD value, WORD count, WORD used, LPCSTR text) {
    Note("OnNeedChargeGameCoin(values)", text, {value, count, used});
}

void CRecordingClient::OnChargedGameCoinSuccess(char* text, int beans, int amount, WORD count) {
    Note("OnChargedGameCoinSuccess", text, {beans, amount, count});
}

void CRecordingClient::OnChargedGameCoinFailed(int result, DWORD value, WORD count, WORD used) {
    Note("OnChargedGameCoinFailed", "", {result, value, count, used});
}

void CRecordingClient::OnNeedExchangeGameCoin(DWORD amount, DWORD value, LPCSTR text) {
    Note("OnNeedExchangeGameCoin", text, {amount, value});
}

void CRecordingClient::OnExchangedGameCoinSuccess(char* text, DWORD beans, DWORD wealth) {
    Note("OnExchangedGameCoinSuccess", text, {beans, wealth});
}

void CRecordingClient::OnExchangedGameCoinFailed(int result) {
    Note("OnExchangedGameCoinFailed", "", {result});
}

void CRecordingClient::OnChangeSeat() {
    Note("OnChangeSeat", "", {m_nChangeSeatResult, m_nMySeat, m_bWatcher});
}

} // namespace wire_test
