#pragma once

// The table window on the headless display against the in-process local
// table host over loopback: my seat enters through the network client, the
// records come back to the window's own handlers, and the person's mouse
// reaches the window through the platform's injected input.

#include "ClientFixture.h"
#include "TableWindowKit.h"
#include "WireFixture.h"
#include "platform/display/Display.h"
#include "platform/window/Input.h"

#include <functional>
#include <vector>

namespace table_test {

// Table is the window the test watches: TestTableWnd or a subclass of it.
template <class Table = TestTableWnd> class HostTableKit : public wire_test::WireTest {
protected:
    void SetUp() override {
        WireTest::SetUp();
        platform::StartDisplay(platform::DisplayKind::Headless);
        ClearBoard();
        ASSERT_TRUE(layout.LoadFrom(kLayoutFile.c_str()));
        SetTableAppLink(&app);
        ASSERT_TRUE(parent.CreateTop(&parentLog, 1024, 768));
        if (MouseFindsTable())
            parent.ShowWindow(SW_SHOW); // the mouse finds only shown windows
        wnd = new Table;
        wnd->SetLayout(&layout);
        wnd->SetClient(&client);
        ASSERT_TRUE(wnd->Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 1024, 768), &parent,
                                CGameWnd::kControlId));
        client.SetGameWnd(wnd);
        if (!EntersAtSetUp())
            return;
        StartHost(TableOptions());
        ASSERT_TRUE(Enter(client));
        me = client.m_nMySeat;
        wnd->Fields().nMySeat = me;
    }
    void TearDown() override {
        if (wnd != nullptr && wnd->m_hWnd != nullptr)
            wnd->DestroyWindow();
        parent.DestroyWindow();
        platform_test::PumpPending();
        SetPosResolver(nullptr);
        SetTableAppLink(nullptr);
        ClearBoard();
        theBoard.SetGameState(kStateWaitStart);
        WireTest::TearDown();
        platform::StopDisplay();
    }

    // Where the tests differ: the table they sit at, whether my seat enters
    // it during SetUp (else the test starts the host itself), and whether
    // the parent is shown so that injected mouse input finds the table.
    virtual CTableHost::Options TableOptions() { return HostOptions(1); }
    virtual bool EntersAtSetUp() const { return true; }
    virtual bool MouseFindsTable() const { return true; }
    // Called on every pass of RunUntil, for checks that hold while waiting.
    virtual void WhileWaiting() {}

    CGameLogic& Referee() { return host->Table().Driver().Referee(); }

    // Pumps what waits, and steps the clock 10 ms whenever nothing does, so
    // that the window's animations end and it takes the next record, until
    // done (or maxSteps steps of the clock have passed).
    bool RunUntil(const std::function<bool()>& done, int maxSteps = 30000) {
        for (int idle = 0; idle < maxSteps;) {
            if (done())
                return true;
            WhileWaiting();
            MSG msg;
            if (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
                DispatchMessage(&msg);
                continue;
            }
            platform::WaitForEvents(1);
            if (!PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
                clock.Advance(10);
                ++idle;
            }
        }
        return done();
    }

    // One mouse action at a client point of the table, through the window's
    // own mouse path.
    void Mouse(platform::MouseAction action, POINT at) {
        wnd->ClientToScreen(&at);
        platform::InjectMouse(action, at);
        platform_test::PumpPending();
    }
    // A left click at a client point; tests whose clicks must lie apart in
    // time override it.
    virtual void Click(POINT at) {
        Mouse(platform::MouseAction::Move, at);
        Mouse(platform::MouseAction::LeftDown, at);
        Mouse(platform::MouseAction::LeftUp, at);
    }
    // A click whose three actions are queued together and then pumped, as
    // a quick hand makes them: the window sees no message between them.
    void QuickClick(POINT at, bool right = false) {
        wnd->ClientToScreen(&at);
        platform::InjectMouse(platform::MouseAction::Move, at);
        platform::InjectMouse(
            right ? platform::MouseAction::RightDown : platform::MouseAction::LeftDown, at);
        platform::InjectMouse(
            right ? platform::MouseAction::RightUp : platform::MouseAction::LeftUp, at);
        platform_test::PumpPending();
    }
    // A button the person can press: shown and enabled.
    CSpriteItem* Pressable(int id) {
        CSpriteItem* item = wnd->FindItem(id);
        return item != nullptr && item->IsVisible() && item->IsEnabled() ? item : nullptr;
    }
    // A click at the middle of a button only while it is shown and enabled.
    bool ClickButton(int id) {
        CSpriteItem* item = Pressable(id);
        if (item == nullptr)
            return false;
        Click(item->GetRect().CenterPoint());
        return true;
    }

    // My turn as the window knows it from its records: it is ready for
    // records and input, and my mask offers a play.
    bool MyTurn() const {
        return wnd->IsReceiveReady() && wnd->IsInputAllowed() &&
               theBoard.GetGameState() == kStatePlay &&
               (theBoard.GetSeatActionMask(me) & (kActionTakeOut | kActionPass)) != 0;
    }
    // What changes when the referee takes a play of mine.
    std::vector<int> Fingerprint() {
        CGameLogic& referee = Referee();
        return {referee.GetActionSerial(), int(referee.GetPlayList().size()),
                referee.GetSeatActionMask(me), referee.GetHandCardCount(me),
                referee.GetGamesPlayed()};
    }

    ProgramResources resources;
    TestTableApp app;
    LogCapture log;
    CGameLayout layout;
    CGameNetClient client;
    std::vector<platform_test::Delivered> parentLog;
    platform_test::RecordingWnd parent;
    Table* wnd = nullptr;
    int me = -1;
};

} // namespace table_test
