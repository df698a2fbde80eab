#pragma once

// A table for the card-layout tests: a headless 1024 x 768 sprite window on
// a stepped clock, anchored positions, the default theme's layout and card
// sheets, the layout and the played cards wired to one window-fields record,
// and the log kept apart.

#include "game/GameLogic.h"
#include "platform/system/FileIo.h"
#include "platform/system/FileOps.h"
#include "sprite/AppServices.h"
#include "sprite/GameLayout.h"
#include "table/CardLayout.h"
#include "table/TableCards.h"
#include "table/TableWndFields.h"
#include "tests/sprite/SpriteTestKit.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace table_test {

using sprite_test::PumpPending;

constexpr int kTableWidth = 1024;
constexpr int kTableHeight = 768;

// Card codes of a readable kind: suit 0..3 (方块, 梅花, 红桃, 黑桃), rank 0..12
// (3 .. 2), deck 0..3.
constexpr int Card(int suit, int rank, int deck = 0) {
    return deck * kDeckSize + suit * 13 + rank;
}
constexpr int SmallJoker(int deck = 0) {
    return deck * kDeckSize + 52;
}
constexpr int BigJoker(int deck = 0) {
    return deck * kDeckSize + 53;
}

class CardTableTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        CreateDirectory(TABLE_TEST_OUTPUT_DIR, nullptr);
        logFile = std::string(TABLE_TEST_OUTPUT_DIR) + "/" + info->test_suite_name() + "_" +
                  info->name() + ".log";
        DeleteFile(logFile.c_str());
        SetLogFileOverride(logFile.c_str());
        PumpPending();
        const std::string thm = std::string(PELLOR_ASSET_DIR) + "/theme_bmp/Default.thm";
        ASSERT_TRUE(gameLayout.LoadFrom(thm.c_str()));
        ASSERT_TRUE(wnd.CreateTable(kTableWidth, kTableHeight));
        PumpPending();
        SetAnchorWindow(wnd.m_hWnd);
        SetPosResolver(AnchorToClient);
        fields.pLayout = &gameLayout;
        hands.m_pGameWndSprite = &wnd;
        hands.m_pTable = &fields;
        table.m_pGameWndSprite = &wnd;
        table.m_pTable = &fields;
        ASSERT_TRUE(hands.LoadCardFaces(&gameLayout.m_bmpCards, gameLayout.m_sizeCard.cx,
                                        gameLayout.m_sizeCard.cy));
        ASSERT_TRUE(hands.LoadLittleCardFaces(&gameLayout.m_bmpLittleCards,
                                              gameLayout.m_sizeLittleCard.cx,
                                              gameLayout.m_sizeLittleCard.cy));
        theBoard.SetRuleFlags(0);
        for (int seat = 0; seat < kSeatCount; ++seat)
            theBoard.SetWatcherSees(seat, false);
    }
    void TearDown() override {
        theBoard.SetRuleFlags(0);
        SetPosResolver(nullptr);
        SetAnchorWindow(nullptr);
        if (wnd.m_hWnd)
            wnd.DestroyWindow();
        PumpPending();
        SetLogFileOverride(nullptr);
    }

    // Steps the clock a millisecond at a time, pumping after each.
    void Run(int ms) {
        for (int t = 0; t < ms; ++t) {
            clock.Advance(1);
            PumpPending();
        }
    }
    // Runs every animation of the hand and the table to its end.
    void Settle() { Run(1600); }

    std::string Log() const {
        std::string text;
        ReadWholeFile(logFile, text);
        return text;
    }
    SPRITEINFO* Info(POSITION pos) { return wnd.GetSpriteAt(pos); }
    std::vector<int> Codes(const CHandList& list) const {
        std::vector<int> codes;
        for (const HANDENTRY& e : list)
            codes.push_back(e.nCard);
        return codes;
    }
    // Every sprite that is drawn (plays), as the window lists them.
    int PlayingSprites() {
        int n = 0;
        for (int c = 0; c < CSpriteWnd::kChannels; ++c)
            n += wnd.GetChannel(c).posSprite != nullptr;
        return n;
    }
    void Deal(const std::vector<int>& codes) {
        for (int code : codes)
            ASSERT_TRUE(hands.DisplayCard(code)) << code;
    }
    // Sprite events the window received with the given notify word.
    int Notified(int word) const {
        return int(std::count_if(wnd.events.begin(), wnd.events.end(),
                                 [word](const auto& e) { return e.what == "end" && e.a == word; }));
    }
    int CardW() const { return gameLayout.m_sizeCard.cx; }
    int CardH() const { return gameLayout.m_sizeCard.cy; }
    int Interval() const { return gameLayout.m_nInterval; }
    int BaseTop() const { return kTableHeight - CardH() - gameLayout.m_nBorder; }

    platform::ManualClock clock;
    platform::ScopedClock scoped{clock};
    sprite_test::TestSpriteWnd wnd;
    CGameLayout gameLayout;
    CTableWndFields fields;
    CCardLayout hands;
    CTableCards table;
    std::string logFile;
};

} // namespace table_test
