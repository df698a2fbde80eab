#pragma once

// The table's network client as every table test drives it: a client that
// records what it sends and every hold of receiving, game records handed to
// it as the socket hands them (checked, held by their kind, then handed to
// the table), the records' builders, and what it sent read back. ClientTest
// puts it against a stand-in table window and a stand-in main frame; the
// window kit, the records kit and the host kit build on the same pieces.

#include "game/GameLogic.h"
#include "game/PlayRecords.h"
#include "sprite/AppServices.h"
#include "table/client/GameNetClient.h"
#include "tests/support/DisplayFixture.h"
#include "tests/support/TempFolder.h"

#include <algorithm>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace table_test {

// Records every record sent and every hold of receiving.
class RecordingClient : public CGameNetClient {
public:
    RecordingClient() : CGameNetClient(theBoard) {}
    std::vector<std::vector<BYTE>> sent;
    std::vector<bool> holds; // true: held, false: released

protected:
    int SendRecord(int length, void* record) override {
        const BYTE* bytes = static_cast<const BYTE*>(record);
        sent.emplace_back(bytes, bytes + length);
        return 1;
    }
    void HoldReceive(BOOL hold) override { holds.push_back(hold != 0); }
};

// The table window's side: a real window that receives 0x1005, and a log of
// the operations the client asked for.
class StandInTableWnd : public platform_test::RecordingWnd, public CGameWndLink {
public:
    std::vector<std::string> calls;
    std::vector<std::vector<BYTE>> records;
    // Whether the client's gate was open as each record came.
    std::vector<bool> readyWhenHanded;
    const CReceiveGate* gate = nullptr;
    bool gameOverMark = false;
    int multiple = 3;
    DWORD chargeValues[4] = {};

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_GAME_RECORD) {
            const BYTE* bytes = reinterpret_cast<const BYTE*>(lParam);
            records.emplace_back(bytes, bytes + wParam);
            readyWhenHanded.push_back(gate != nullptr && !gate->IsHeld());
            return 0;
        }
        return RecordingWnd::WindowProc(message, wParam, lParam);
    }

    HWND GetLinkWindow() const override { return m_hWnd; }
    void ShowNotice(LPCSTR text) override { Log(std::string("notice ") + text); }
    void ShowStartButtons(BOOL show) override { Log("start buttons " + std::to_string(show)); }
    void StopSprite(int id) override { Log("stop sprite " + std::to_string(id)); }
    void ShowSeatMark(int seat, BOOL show) override {
        Log("seat mark " + std::to_string(seat) + " " + std::to_string(show));
    }
    void ResetTable() override { Log("reset table"); }
    void HideFreeSeatMarks() override { Log("hide free marks"); }
    void RedrawTableInfo() override { Log("redraw info"); }
    void UpdateSeatCards(int seat) override { Log("seat cards " + std::to_string(seat)); }
    void RefreshUserList() override { Log("user list"); }
    BOOL IsGameOverMarkShown() const override { return gameOverMark; }
    int GetMultiple() const override { return multiple; }
    void ShowStartPane(BOOL show, int value) override {
        Log("start pane " + std::to_string(show) + " " + std::to_string(value));
    }
    void GetWatcherValues(int* beans, int* score) const override {
        *beans = 700;
        *score = 55;
    }
    void OnChangeSeatScene() override { Log("change seat scene"); }
    void RefreshSeat(int seat) override { Log("refresh seat " + std::to_string(seat)); }
    void ShowExchangeMark(int seat) override { Log("exchange mark " + std::to_string(seat)); }
    void OpenChargeDialog(const DWORD values[4]) override {
        std::copy(values, values + 4, chargeValues);
        Log("charge dialog");
    }
    void OpenExchangeDialog(DWORD amount) override {
        Log("exchange dialog " + std::to_string(amount));
    }

    void Log(const std::string& call) { calls.push_back(call); }
    bool Called(const std::string& call) const {
        return std::find(calls.begin(), calls.end(), call) != calls.end();
    }
};

// The main frame's side: a real top-level window (timers and posted
// messages arrive there), boxes recorded, and an action that runs while a
// box is open (socket callbacks arrive inside the box's loop).
class StandInShell : public CClientShell {
public:
    platform_test::RecordingWnd frame;
    std::vector<platform_test::Delivered> frameLog;
    std::vector<std::string> boxes;
    std::vector<std::string> chatLines;
    std::vector<std::string> userFields;
    std::function<void()> whileBoxOpen;

    HWND GetMainHwnd() const override { return frame.m_hWnd; }
    int ShowMessageBox(LPCSTR text) override {
        boxes.push_back(text);
        if (whileBoxOpen) {
            auto action = std::move(whileBoxOpen);
            action();
        }
        return 1;
    }
    CWnd* GetChatControl() const override { return nullptr; }
    void AppendChatSysText(LPCSTR text) override { chatLines.push_back(text); }
    void SetChatUserField(LPCSTR user, LPCSTR caption, LPCSTR value) override {
        userFields.push_back(std::string(user) + "|" + caption + "|" + value);
    }

    int Count(UINT message, WPARAM wParam = WPARAM(-1)) const {
        int count = 0;
        for (const platform_test::Delivered& d : frameLog)
            if (d.message == message && (wParam == WPARAM(-1) || d.wParam == wParam))
                ++count;
        return count;
    }
};

// theBoard back to an empty table: the client reads it.
inline void ClearBoard() {
    for (int seat = 0; seat < kSeatCount; ++seat) {
        theBoard.SetUserInfo(seat, tagUSERINFO{});
        theBoard.SetTrustWord(seat, 0);
        theBoard.SetStartFlag(seat, 0);
        theBoard.SetHand(seat, nullptr, 0);
        theBoard.SetWatcherSees(seat, false);
    }
    theBoard.ClearPlayList();
    theBoard.GetTableHead() = tagTABLEHEAD{};
    theBoard.SetRuleFlags(0);
    theBoard.SetPlayCounter(0);
}

inline tagUSERINFO User(const char* name, int seat, int beans, int score = 0) {
    tagUSERINFO user{};
    strncpy(user.szUserName, name, sizeof user.szUserName - 1);
    user.nSeat = seat;
    user.nBeans = beans;
    user.nScore = score;
    return user;
}

// Little-endian words of a record, for comparing frames byte for byte.
inline int32_t WordAt(const std::vector<BYTE>& bytes, size_t offset) {
    int32_t value = 0;
    if (offset + 4 <= bytes.size())
        memcpy(&value, bytes.data() + offset, 4);
    return value;
}

inline tagUSERINFO Player(int seat, int beans = 1000) {
    tagUSERINFO user{};
    snprintf(user.szUserName, sizeof user.szUserName, "p%d", seat);
    user.nSeat = seat;
    user.nBeans = beans;
    return user;
}

inline tagCARD CardOf(int code) {
    tagCARD card = CGameLogic::CardFromIndex(code);
    card.flags = kCardHeld;
    return card;
}

template <class T> std::unique_ptr<T> NewRecord() {
    auto record = std::make_unique<T>();
    InitGameRecord(*record);
    return record;
}

// The referee's trusteeship record of a seat switched on or off, with the
// seat's switches so far.
inline tagTRUSTMSG TrustRecord(int seat, int on, int switches) {
    tagTRUSTMSG trust;
    InitTrustMsg(trust);
    trust.nSeat = seat;
    trust.bOn = on;
    trust.nSwitchCount = switches;
    return trust;
}

// A game over won by the side of the winner, with a tribute of each kind
// for the next game (the bie tribute of a kind that has no words).
inline tagGAMEOVERMSG GameOver(int winner) {
    tagGAMEOVERMSG over;
    InitGameOverMsg(over);
    for (int seat = 0; seat < kSeatCount; ++seat) {
        over.users[seat] = Player(seat, 2000);
        over.nResult[seat] = seat % 2 == winner % 2 ? 2 : 1;
        over.change.nScoreChange[seat] = over.nResult[seat] == 2 ? 3 : -3;
    }
    over.nGamesPlayed = 1;
    over.pointTributes[0] = {kTributePoint, 1, 0, 2};
    over.shaoTributes[0] = {kTributeShao, 4, 3, 1};
    over.bieTributes[0] = {5, 4, 3, 1}; // no such kind: not worded
    return over;
}

// A played card as the sender wrote it (the table plays in the clear).
struct SentPlay {
    int type = -1;
    std::vector<int> codes;
};

// The recording client on the headless display and the stepped clock, fed
// game records as the socket hands them, and what it sent read back.
class ClientKitTest : public platform_test::DisplayTest {
protected:
    // A game record as the socket hands it to the client: checked, held by
    // its kind, then handed to the table.
    template <class T> void Deliver(const T& record, int length = int(sizeof(T))) {
        DeliverBytes(&record, length);
    }
    void DeliverBytes(const void* record, int length) {
        // A copy of exactly the delivered size, so an overread is caught.
        std::vector<BYTE> bytes(static_cast<const BYTE*>(record),
                                static_cast<const BYTE*>(record) + length);
        client.OnGameMsg(length, bytes.data());
    }
    // A full table of six players: the table info with rule flags.
    void SeatSix(uint32_t rules = 0) {
        auto info = NewRecord<tagTABLEINFO>();
        for (int seat = 0; seat < kSeatCount; ++seat)
            info->users[seat] = Player(seat);
        info->head.nRuleFlags = int32_t(rules);
        for (int k = 0; k < kTimeLimitCount; ++k)
            info->head.nTimeLimit[k] = 10;
        info->head.nMaxGuesses = 3;
        Deliver(*info);
    }
    // A seat's hand on the board: the codes, all held.
    void GiveHand(int seat, std::initializer_list<int> codes) {
        tagCARD hand[kHandSize] = {};
        int n = 0;
        for (int code : codes)
            hand[n++] = CardOf(code);
        theBoard.SetHand(seat, hand, n);
    }
    // A play record of the referee, with codes in clear (rule 0x10000000).
    std::unique_ptr<tagPLAYMSG> Play(int seat, int type, std::initializer_list<int> codes) {
        auto play = NewRecord<tagPLAYMSG>();
        play->nSeat = seat;
        play->nType = type;
        play->nPlayCounter = 1;
        play->nHandCount = 36;
        int n = 0;
        for (int code : codes)
            play->nCodes[n++] = code;
        play->nCount = n;
        return play;
    }
    // A play whose next actor is the seat after the actor (take out or pass).
    std::unique_ptr<tagPLAYMSG> PlayToNext(int seat, int type, std::initializer_list<int> codes) {
        auto play = Play(seat, type, codes);
        play->nActionMask[CGameLogic::GetNextSeat(seat)] = kActionTakeOut | kActionPass;
        return play;
    }
    // A table before any game: no history, no state, no seat acting.
    static void ResetTableBoard() {
        ClearBoard();
        theBoard.ResetGameData();
        theBoard.ClearHistory();
        theBoard.SetGameState(0);
        for (int seat = 0; seat < kSeatCount; ++seat) {
            theBoard.SetSeatStatus(seat, 0, 0);
            theBoard.SetSeatActionMask(seat, 0);
        }
    }

    // Records of the given id sent through the client.
    std::vector<std::vector<BYTE>> Sent(int id) const {
        std::vector<std::vector<BYTE>> found;
        for (const std::vector<BYTE>& record : client.sent)
            if (WordAt(record, 0) == id)
                found.push_back(record);
        return found;
    }
    int SentOf(int id) const { return int(Sent(id).size()); }
    // The plays sent so far.
    std::vector<SentPlay> Plays() const {
        std::vector<SentPlay> plays;
        for (const std::vector<BYTE>& bytes : Sent(kMsgPlay)) {
            SentPlay play;
            play.type = WordAt(bytes, offsetof(tagPLAYMSG, nType));
            const int n = WordAt(bytes, offsetof(tagPLAYMSG, nCount));
            for (int i = 0; i < n && i < kPlayMaxCodes; ++i)
                play.codes.push_back(WordAt(bytes, kPlayCodesOffset + 4 * size_t(i)));
            std::sort(play.codes.begin(), play.codes.end());
            plays.push_back(play);
        }
        return plays;
    }
    // Releases of receiving since the last hold.
    int Releases() const {
        int released = 0;
        for (auto it = client.holds.rbegin(); it != client.holds.rend() && !*it; ++it)
            ++released;
        return released;
    }

    RecordingClient client;
};

// The stand-ins, an empty board and a log file of the test's own, attached
// to a client and taken away again.
struct StandIns {
    TempFolder logFolder;
    std::vector<platform_test::Delivered> tableLog;
    StandInTableWnd table;
    StandInShell shell;

    bool Attach(CGameNetClient& client) {
        SetLogFileOverride(LogPath().c_str());
        ClearBoard();
        if (!table.CreateTop(&tableLog, 400, 300) || !shell.frame.CreateTop(&shell.frameLog))
            return false;
        client.SetGameWnd(&table);
        client.SetShell(&shell);
        table.gate = &client.ReceiveGate();
        return true;
    }
    void Detach(CGameNetClient& client) {
        client.SetGameWnd(nullptr);
        client.SetShell(nullptr);
        table.DestroyWindow();
        shell.frame.DestroyWindow();
        SetLogFileOverride(nullptr);
        ClearBoard();
    }
    std::string LogPath() const { return logFolder.Path() + "/table.log"; }
    std::string LogText() const {
        std::ifstream in(LogPath());
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
};

class ClientTest : public ClientKitTest {
protected:
    void SetUp() override {
        ClientKitTest::SetUp();
        client.m_nMySeat = 2;
        ASSERT_TRUE(standIns.Attach(client));
    }
    void TearDown() override {
        // Every presentation the test started has ended: a hold left here is a
        // release some path forgot.
        EXPECT_FALSE(client.ReceiveGate().IsHeld()) << "the test ended with receiving held";
        standIns.Detach(client);
        ClientKitTest::TearDown();
    }

    bool Logged(const std::string& words) const {
        return standIns.LogText().find(words) != std::string::npos;
    }

    StandIns standIns;
    std::vector<platform_test::Delivered>& tableLog = standIns.tableLog;
    StandInTableWnd& table = standIns.table;
    StandInShell& shell = standIns.shell;
};

} // namespace table_test
