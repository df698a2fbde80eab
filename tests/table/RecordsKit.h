#pragma once

// The record handling as its tests drive it, without a table window: the
// client kit's records reach the handlers as the window dispatches them,
// what the handlers show is written down by the recording view, and an
// application link records what the table asks of the application (the
// window kit uses the same link).

#include "ClientFixture.h"
#include "RecordingView.h"
#include "TableTestKit.h"
#include "game/GameLogic.h"
#include "game/PlayRecords.h"
#include "table/client/RecordKinds.h"
#include "table/common/TableAppLink.h"
#include "table/records/TableRecords.h"

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace table_test {

// The application as the table sees it: the default theme, the sounds'
// folder, the chat lines it is given, and the dialogs the table opens by
// what was asked of them.
class TestTableApp : public CTableAppLink {
public:
    CString themeFile = kLayoutFile.c_str();
    int cardOrder = 0;
    HWND mainHwnd = nullptr;
    CWnd* magnifier = nullptr;
    int magnifiersMade = 0;
    CString magnifierName;
    BOOL soundOn = TRUE;
    BOOL watchAllowed = FALSE;
    std::vector<std::string> chat;
    std::vector<std::pair<int, int>> takeChanceResults;
    BOOL historyMade = FALSE, historyShown = FALSE;
    int historyRefreshed = 0;
    BOOL bettingMade = FALSE, bettingShown = FALSE;
    BOOL magnifierShown = FALSE;
    int exchanges = 0;
    // The screen line the shown history was last kept above (-1 none).
    int historyLine = -1;

    CString GetThemeFile() const override { return themeFile; }
    int GetCardOrder() const override { return cardOrder; }
    // The direction in force and the one chosen for the next game.
    int clockOrder = 0, clockOrderNext = 0;
    int GetClockOrder() const override { return clockOrder; }
    int BeginGameClockOrder() override { return clockOrder = clockOrderNext; }
    HWND GetMainHwnd() const override { return mainHwnd; }
    CWnd* CreateMagnifier(CWnd*, LPCSTR name) override {
        ++magnifiersMade;
        magnifierName = name;
        return magnifier;
    }
    BOOL IsSoundEffectsOn() const override { return soundOn; }
    BOOL IsWatchAllowed() const override { return watchAllowed; }
    CString GetSoundDir() const override { return "/sounds"; }
    void AppendChatSysText(LPCSTR text) override { chat.push_back(text); }
    void PostTakeChanceResult(int won, int option) override {
        takeChanceResults.emplace_back(won, option);
    }
    BOOL HasHistoryDialog() const override { return historyMade; }
    BOOL CreateHistoryDialog(CWnd*) override { return historyMade = TRUE; }
    BOOL IsHistoryShown() const override { return historyShown; }
    void ShowHistoryDialog(BOOL show) override { historyShown = show; }
    void RefreshHistoryDialog() override { ++historyRefreshed; }
    void KeepHistoryAbove(int line, int) override { historyLine = line; }
    BOOL HasTakeChanceDialog() const override { return bettingMade; }
    BOOL CreateTakeChanceDialog(CWnd*) override { return bettingMade = TRUE; }
    BOOL IsTakeChanceShown() const override { return bettingShown; }
    void ShowTakeChanceDialog(BOOL show) override { bettingShown = show; }
    void ShowMagnifier(BOOL show) override { magnifierShown = show; }
    BOOL OpenExchangeDialog(CWnd*, DWORD) override { return ++exchanges > 0; }
};

// The client's table window, reduced to the dispatch: each record the
// client hands over reaches the record handling, and a record done when its
// handler returns opens the gate, as on the window.
class DispatchingLink : public StandInTableWnd {
public:
    CTableRecords* records = nullptr;
    CReceiveGate* receiveGate = nullptr;
    // The window shows the client's notices as it shows the handlers'.
    RecordingView* view = nullptr;

    void ShowNotice(LPCSTR text) override { view->ShowNotice(text); }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message != WM_GAME_RECORD)
            return StandInTableWnd::WindowProc(message, wParam, lParam);
        const RecordDispatch dispatch =
            DispatchRecord(*records, reinterpret_cast<const void*>(lParam), int(wParam));
        if (dispatch.done)
            receiveGate->Release(CReceiveGate::kRecord);
        return 0;
    }
};

// The record handling at my seat 2 on the recording view.
class RecordsOnViewTest : public ClientKitTest {
protected:
    static constexpr int kMe = 2;

    void SetUp() override {
        ClientKitTest::SetUp();
        setenv("PELLOR_CONFIG_DIR", config.Path().c_str(), 1);
        ResetTableBoard();
        SetTableAppLink(&app);
        client.m_nMySeat = kMe;
        client.m_bWatcher = FALSE;
        client.m_bOption = FALSE;
        viewpoint.nMySeat = kMe;
        records.SetClient(&client);
        link.records = &records;
        link.receiveGate = &client.ReceiveGate();
        link.view = &view;
        ASSERT_TRUE(link.CreateTop(&linkLog, 400, 300));
        client.SetGameWnd(&link);
    }
    void TearDown() override {
        // Every presentation the test started has ended: a hold left here is a
        // release some path forgot.
        EXPECT_FALSE(client.ReceiveGate().IsHeld()) << "the test ended with receiving held";
        client.SetGameWnd(nullptr);
        link.DestroyWindow();
        platform_test::PumpPending();
        SetTableAppLink(nullptr);
        ClearBoard();
        theBoard.SetGameState(kStateWaitStart);
        for (int seat = 0; seat < kSeatCount; ++seat)
            theBoard.SetSeatActionMask(seat, 0);
        unsetenv("PELLOR_CONFIG_DIR");
        ClientKitTest::TearDown();
    }

    // My hand: the codes, all held.
    void GiveMeHand(std::initializer_list<int> codes) { GiveHand(kMe, codes); }
    bool Logged(const std::string& words) const {
        return log.Text().find(words) != std::string::npos;
    }
    // What the handlers told the view, of one kind of call, in order.
    std::vector<std::string> Told(const std::string& call) const {
        std::vector<std::string> texts;
        for (const std::string& line : view.calls)
            if (line.compare(0, call.size() + 1, call + " ") == 0)
                texts.push_back(line.substr(call.size() + 1));
        return texts;
    }
    std::vector<std::string> Notices() const { return Told("ShowNotice"); }
    std::vector<std::string> Reel() const { return Told("WriteReelLine"); }
    bool Sounded(const std::string& file) const { return view.Called("PlayGameSound " + file); }

    TempFolder config;
    LogCapture log;
    ProgramResources resources; // the words of the notices
    TestTableApp app;
    RecordingView view;
    TableViewpoint viewpoint;
    CTableRecords records{theBoard, viewpoint, view, view, view};
    std::vector<platform_test::Delivered> linkLog;
    DispatchingLink link;
};

} // namespace table_test
