#pragma once

// The network client against a recording transport, a stand-in table window
// and a stand-in main frame, on the headless display and a stepped clock.

#include "game/GameLogic.h"
#include "sprite/AppServices.h"
#include "table/GameNetClient.h"
#include "tests/support/DisplayFixture.h"
#include "tests/support/TempFolder.h"

#include <fstream>
#include <functional>
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

class ClientTest : public platform_test::DisplayTest {
protected:
    void SetUp() override {
        DisplayTest::SetUp();
        client.m_nMySeat = 2;
        ASSERT_TRUE(standIns.Attach(client));
    }
    void TearDown() override {
        // Every presentation the test started has ended: a hold left here is a
        // release some path forgot.
        EXPECT_FALSE(client.ReceiveGate().IsHeld()) << "the test ended with receiving held";
        standIns.Detach(client);
        DisplayTest::TearDown();
    }

    bool Logged(const std::string& words) const {
        return standIns.LogText().find(words) != std::string::npos;
    }

    StandIns standIns;
    std::vector<platform_test::Delivered>& tableLog = standIns.tableLog;
    StandInTableWnd& table = standIns.table;
    StandInShell& shell = standIns.shell;
    RecordingClient client;
};

// Little-endian words of a record, for comparing frames byte for byte.
inline int32_t WordAt(const std::vector<BYTE>& bytes, size_t offset) {
    int32_t value = 0;
    if (offset + 4 <= bytes.size())
        memcpy(&value, bytes.data() + offset, 4);
    return value;
}

} // namespace table_test
