#pragma once

// A table window for the tests of its panes, input and actions: made from
// the default theme on the headless display and a stepped clock, with a
// client that records what it sends, the program's strings, and a window
// that records its notices and seat requests.

#include "ClientFixture.h"
#include "TableTestKit.h"
#include "game/PlayRecords.h"
#include "sprite/GameLayout.h"
#include "table/GameWnd.h"
#include "table/ReceiveGate.h"
#include "table/TableAppLink.h"

#include <string>
#include <vector>

namespace table_test {

// The table window with its notices and seat requests recorded and its
// hooks reachable.
class InputTable : public CGameWnd {
public:
    std::vector<std::string> notices;
    std::vector<std::pair<int, int>> seatRequests;

    void ShowNotice(LPCSTR text) override { notices.emplace_back(text); }
    using CGameWnd::OnLButtonDownEx;
    using CGameWnd::OnLButtonUpEx;
    using CGameWnd::OnMouseMoveEx;
    using CGameWnd::OnRButtonDownEx;
    using CGameWnd::OnResize;
    using CGameWnd::OnSpriteEnd;

protected:
    void RequestSeatChange(int seat, int watch) override { seatRequests.emplace_back(seat, watch); }
};

// The application as the table sees it: the default theme, and the dialogs
// the table opens, by what was asked of them.
class DialogsApp : public CTableAppLink {
public:
    CString GetThemeFile() const override { return kLayoutFile.c_str(); }
    BOOL HasHistoryDialog() const override { return historyMade; }
    BOOL CreateHistoryDialog(CWnd*) override { return historyMade = TRUE; }
    BOOL IsHistoryShown() const override { return historyShown; }
    void ShowHistoryDialog(BOOL show) override { historyShown = show; }
    void RefreshHistoryDialog() override { ++historyRefreshed; }
    BOOL HasTakeChanceDialog() const override { return bettingMade; }
    BOOL CreateTakeChanceDialog(CWnd*) override { return bettingMade = TRUE; }
    BOOL IsTakeChanceShown() const override { return bettingShown; }
    void ShowTakeChanceDialog(BOOL show) override { bettingShown = show; }
    void ShowMagnifier(BOOL show) override { magnifierShown = show; }
    BOOL OpenExchangeDialog(CWnd*, DWORD) override { return ++exchanges > 0; }

    BOOL historyMade = FALSE, historyShown = FALSE;
    int historyRefreshed = 0;
    BOOL bettingMade = FALSE, bettingShown = FALSE;
    BOOL magnifierShown = FALSE;
    int exchanges = 0;
};

// A played card as the sender wrote it (the table plays in the clear).
struct SentPlay {
    int type = -1;
    std::vector<int> codes;
};

class TableInputTest : public platform_test::DisplayTest {
protected:
    static constexpr int kWidth = 1024;
    static constexpr int kHeight = 768;
    static constexpr int kMe = 2;

    void SetUp() override {
        DisplayTest::SetUp();
        ClearBoard();
        theBoard.SetGameState(kStateWaitStart);
        theBoard.SetRuleFlags(kRuleCardsInClear);
        theBoard.GetTableHead().nMaxMultiple = 16;
        for (int seat = 0; seat < kSeatCount; ++seat) {
            theBoard.SetSeatActionMask(seat, 0);
            theBoard.SetSeatStatus(seat, 0, 0);
            theBoard.SetTrustCount(seat, 0);
        }
        ASSERT_TRUE(layout.LoadFrom(kLayoutFile.c_str()));
        SetTableAppLink(&app);
        ASSERT_TRUE(parent.CreateTop(&parentLog, kWidth, kHeight));
        // Shown, so that the mouse finds the table.
        parent.ShowWindow(SW_SHOW);
        client.m_nMySeat = kMe;
        client.m_bWatcher = FALSE;
        wnd = new InputTable;
        wnd->SetLayout(&layout);
        wnd->SetClient(&client);
        wnd->Fields().nMySeat = kMe;
        ASSERT_TRUE(wnd->Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, kWidth, kHeight),
                                &parent, CGameWnd::kControlId));
        platform_test::PumpPending();
        if (wnd->Hands().GetCardBackImage() == nullptr) {
            ASSERT_TRUE(wnd->Hands().LoadCardFaces(&layout.m_bmpCards, layout.m_sizeCard.cx,
                                                   layout.m_sizeCard.cy));
        }
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
        for (int seat = 0; seat < kSeatCount; ++seat)
            theBoard.SetSeatActionMask(seat, 0);
        DisplayTest::TearDown();
    }

    // Steps the clock a millisecond at a time, pumping after each.
    void Run(int ms) {
        for (int t = 0; t < ms; ++t) {
            clock.Advance(1);
            platform_test::PumpPending();
        }
    }

    // My hand on the board and on the table, settled.
    void GiveHand(const std::vector<int>& codes) {
        std::vector<tagCARD> records;
        for (int code : codes) {
            tagCARD card = CGameLogic::CardFromIndex(code);
            card.flags = kCardHeld;
            records.push_back(card);
        }
        theBoard.SetHand(kMe, records.data(), int(records.size()));
        for (int code : codes)
            ASSERT_TRUE(wnd->Hands().DisplayCard(code)) << code;
        Run(400);
    }
    // My turn in trick play with the mask.
    void MyTurn(int mask) {
        theBoard.SetGameState(kStatePlay);
        theBoard.SetSeatActionMask(kMe, mask);
    }
    POSITION SpriteOf(int code) {
        for (const HANDENTRY& e : wnd->Hands().GetHand())
            if (e.nCard == code)
                return e.pos;
        return nullptr;
    }
    void Raise(int code) { wnd->Hands().SelectHandCard(SpriteOf(code), TRUE); }
    std::vector<int> Raised() {
        int codes[kHandSize];
        const int n = wnd->Hands().GetSelectedCards(codes, kHandSize);
        std::vector<int> out(codes, codes + (n > 0 ? n : 0));
        std::sort(out.begin(), out.end());
        return out;
    }
    // A point of the part of a card that the next card leaves uncovered, in
    // client coordinates.
    POINT CentreOf(int code) {
        const CRect r = wnd->GetSpriteRect(SpriteOf(code));
        return POINT{r.left + 5, r.top + 10};
    }
    void Command(int id) {
        wnd->SendMessage(WM_COMMAND, WPARAM(id), 0);
        platform_test::PumpPending();
    }
    // The plays sent so far.
    std::vector<SentPlay> Plays() const {
        std::vector<SentPlay> plays;
        for (const std::vector<BYTE>& bytes : client.sent) {
            if (WordAt(bytes, 0) != kMsgPlay)
                continue;
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
    int SentOf(int id) const {
        int n = 0;
        for (const std::vector<BYTE>& bytes : client.sent)
            n += WordAt(bytes, 0) == id;
        return n;
    }
    std::string Text(UINT id) const {
        char text[512] = {};
        AfxLoadString(id, text, sizeof text);
        return text;
    }
    bool Noticed(const std::string& text) const {
        return std::find(wnd->notices.begin(), wnd->notices.end(), text) != wnd->notices.end();
    }

    ProgramResources resources;
    DialogsApp app;
    LogCapture log;
    CGameLayout layout;
    RecordingClient client;
    std::vector<platform_test::Delivered> parentLog;
    platform_test::RecordingWnd parent;
    InputTable* wnd = nullptr;
};

} // namespace table_test
