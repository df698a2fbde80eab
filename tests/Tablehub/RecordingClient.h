#pragma once

// A program's network client for the end-to-end tests: derived from the
// exported class like the game's own, it keeps every callback with what it
// was given, in the order they came, and answers the notices as the test
// tells it. Game records are kept whole.

#include "Tablehub/Tablehub.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace wire_test {

// One callback and its arguments. A game record shows as "OnGameMsg" with
// its id and length as values.
struct Call {
    std::string name;
    std::string text;
    std::vector<int64_t> values;
};

class CRecordingClient : public CTablehub {
public:
    std::vector<Call> calls;
    std::vector<std::vector<BYTE>> records;
    // Answers to the notices by id, in turn; IDOK once they run out (the
    // program's own notice box has only an OK button).
    std::deque<int> idTipAnswers;
    // Runs after a record is kept and after any other call is kept; a test
    // may act from inside the callback here, as the program does.
    std::function<void(const std::vector<BYTE>& record)> onRecord;
    std::function<void(const Call& call)> onCall;

    int Count(const std::string& name) const;
    // The last call of that name; null when none came.
    const Call* Last(const std::string& name) const;
    // The ids of the game records, in arrival order.
    std::vector<int> RecordIds() const;
    // The fields as the test sees them, for messages.
    std::string Describe() const;

    int OnGameMsg(int length, void* record) override;
    void OnBreak(char* name) override;
    void OnReConnet(char* name) override;
    int OnTipMessage(UINT id, UINT style, UINT extra) override;
    int OnTipMessage(LPCSTR text, UINT style, UINT extra) override;
    void OnLeaveGame(WORD seat) override;
    void OnLeaveGame(char* text) override;
    void OnEscapeGame(char* text) override;
    void OnRoomBreak(char* text) override;
    void OnKickOut() override;
    void OnNetTimeOut(char* text) override;
    void OnError() override;
    void OnMastGameOver() override;
    void OnClose(int error) override;
    void OnNeedChargeGameCoin(tagGAMECOINCHARGE charge, LPCSTR text) override;
    void OnNeedChargeGameCoin(DWORD value, WORD count, WORD used, LPCSTR text) override;
    void OnChargedGameCoinSuccess(char* text, int beans, int amount, WORD count) override;
    void OnChargedGameCoinFailed(int result, DWORD value, WORD count, WORD used) override;
    void OnNeedExchangeGameCoin(DWORD amount, DWORD value, LPCSTR text) override;
    void OnExchangedGameCoinSuccess(char* text, DWORD beans, DWORD wealth) override;
    void OnExchangedGameCoinFailed(int result) override;
    void OnChangeSeat() override;

private:
    void Note(const char* name, const char* text, std::vector<int64_t> values = {});
};

} // namespace wire_test
