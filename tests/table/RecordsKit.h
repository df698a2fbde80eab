#pragma once

// The table window fed game records as the network client hands them over:
// a real window on the headless display with the default theme, a client
// that records what it sends and every hold and release of receiving, an
// application link that records chat lines and settings, and the window's
// notices, reel lines and sounds kept for the test.

#include "ClientFixture.h"
#include "TableTestKit.h"
#include "game/GameLogic.h"
#include "platform/display/Display.h"
#include "sprite/GameLayout.h"
#include "table/GameWnd.h"
#include "table/TableAppLink.h"
#include "tests/support/TempFolder.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace table_test {

class RecordsWnd : public CGameWnd {
public:
    std::vector<std::string> notices;
    std::vector<std::string> reel;
    std::vector<std::string> sounds; // full paths

    void ShowNotice(LPCSTR text) override { notices.push_back(text); }
    using CGameWnd::OnUserTimer;

protected:
    void WriteReelLine(LPCSTR text) override { reel.push_back(text); }
    void PlaySoundPath(LPCSTR path) override { sounds.push_back(path); }
};

class RecordingAppLink : public CTableAppLink {
public:
    std::vector<std::string> chat;
    std::vector<std::pair<int, int>> takeChanceResults;
    BOOL soundOn = TRUE;
    BOOL watchAllowed = FALSE;
    BOOL bettingOpen = FALSE;
    CString themeFile = kLayoutFile.c_str();

    BOOL IsSoundEffectsOn() const override { return soundOn; }
    BOOL IsWatchAllowed() const override { return watchAllowed; }
    CString GetSoundDir() const override { return "/sounds"; }
    CString GetThemeFile() const override { return themeFile; }
    void AppendChatSysText(LPCSTR text) override { chat.push_back(text); }
    BOOL HasTakeChanceDialog() const override { return bettingOpen; }
    void PostTakeChanceResult(int won, int option) override {
        takeChanceResults.emplace_back(won, option);
    }
};

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

class RecordsTest : public platform_test::DisplayTest {
protected:
    static constexpr int kWidth = 1024;
    static constexpr int kHeight = 768;
    static constexpr int kMe = 2;

    void SetUp() override {
        DisplayTest::SetUp();
        setenv("PELLOR_CONFIG_DIR", config.Path().c_str(), 1);
        ClearBoard();
        theBoard.ResetGameData();
        theBoard.ClearHistory();
        SetTableAppLink(&app);
        ASSERT_TRUE(layout.LoadFrom(kLayoutFile.c_str()));
        ASSERT_TRUE(parent.CreateTop(&parentLog, kWidth, kHeight));
        client.m_nMySeat = kMe;
        client.m_bWatcher = FALSE;
        wnd = MakeWnd();
        wnd->SetLayout(&layout);
        wnd->SetClient(&client);
        ASSERT_TRUE(wnd->Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, kWidth, kHeight),
                                &parent, CGameWnd::kControlId));
        platform_test::PumpPending();
        client.holds.clear();
        client.sent.clear();
    }
    void TearDown() override {
        if (wnd != nullptr && wnd->m_hWnd != nullptr)
            wnd->DestroyWindow();
        parent.DestroyWindow();
        platform_test::PumpPending();
        SetTableAppLink(nullptr);
        client.SetGameWnd(nullptr);
        ClearBoard();
        unsetenv("PELLOR_CONFIG_DIR");
        DisplayTest::TearDown();
    }

    virtual RecordsWnd* MakeWnd() { return new RecordsWnd; }
    // Saves the window as shown (background and sprites) where the test run
    // leaves its sheets; the path.
    std::string SaveWindowSheet(const std::string& name) {
        return table_test::SaveWindowSheet(wnd, name);
    }

    // Hands a record to the window through the client, as it comes from the
    // socket: checked, held by its kind, then handed over.
    template <class T> void Deliver(const T& record, int length = int(sizeof(T))) {
        DeliverBytes(&record, length);
    }
    void DeliverBytes(const void* record, int length) {
        // A copy of exactly the delivered size, so an overread is caught.
        std::vector<BYTE> bytes(static_cast<const BYTE*>(record),
                                static_cast<const BYTE*>(record) + length);
        client.OnGameMsg(length, bytes.data());
    }
    // Releases of receiving since the last hold.
    int Releases() const {
        int released = 0;
        for (auto it = client.holds.rbegin(); it != client.holds.rend() && !*it; ++it)
            ++released;
        return released;
    }
    bool Logged(const std::string& words) const {
        return log.Text().find(words) != std::string::npos;
    }
    bool Sounded(const std::string& file) const {
        for (const std::string& path : wnd->sounds)
            if (path == "/sounds/" + file)
                return true;
        return false;
    }
    // Records of the given id the window sent through the client.
    std::vector<std::vector<BYTE>> Sent(int id) const {
        std::vector<std::vector<BYTE>> found;
        for (const std::vector<BYTE>& record : client.sent)
            if (record.size() >= 8 && LoadRecordInt(record.data(), 0) == id)
                found.push_back(record);
        return found;
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
    // My hand: the codes, all held.
    void GiveMeHand(std::initializer_list<int> codes) {
        tagCARD hand[kHandSize] = {};
        int n = 0;
        for (int code : codes)
            hand[n++] = CardOf(code);
        theBoard.SetHand(kMe, hand, n);
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

    // n sprite ticks of 10 ms.
    void Tick(int n = 1) {
        for (int i = 0; i < n; ++i) {
            clock.Advance(10);
            platform_test::PumpPending();
        }
    }

    TempFolder config;
    LogCapture log;
    ProgramResources resources;
    RecordingAppLink app;
    CGameLayout layout;
    RecordingClient client;
    std::vector<platform_test::Delivered> parentLog;
    platform_test::RecordingWnd parent;
    RecordsWnd* wnd = nullptr;
};

} // namespace table_test
