#pragma once

// The table's panes alone, without a table window: made over a headless
// 1024 x 768 sprite window of the sprite engine's tests on the stepped
// clock, laid out by the default theme, my seat 2 a player's through the
// recording client, and my multiple read from a record handling on the
// recording view. Their host stands every pane where it asks to stand and
// keeps no play of mine clear of them.

#include "ClientFixture.h"
#include "DrawnPaneKit.h"
#include "RecordingView.h"
#include "TableTestKit.h"
#include "sprite/GameLayout.h"
#include "sprite/SpriteButton.h"
#include "table/common/TableWndFields.h"
#include "table/panes/TablePanes.h"
#include "table/records/TableRecords.h"
#include "tests/sprite/SpriteTestKit.h"

namespace table_test {

class StandInPaneHost : public CPaneHost {
public:
    int MyPlayTop() override { return 0; }
    CSpritePos ClearPlace(const CSpritePos& at, SIZE, int, TableRoomFor) override { return at; }
    void ClearPlayMarks() override {}
    void ShowResultBanner(LPCSTR, int, int) override {}
};

class TablePanesKitTest : public ClientKitTest {
protected:
    static constexpr int kMe = 2;

    void SetUp() override {
        ClientKitTest::SetUp();
        ResetTableBoard();
        ASSERT_TRUE(layout.LoadFrom(kLayoutFile.c_str()));
        ASSERT_TRUE(wnd.CreateTable(1024, 768));
        sprite_test::PumpPending();
        SetAnchorWindow(wnd.m_hWnd);
        SetPosResolver(AnchorToClient);
        fields.pLayout = &layout;
        fields.viewpoint.nMySeat = client.m_nMySeat = kMe;
        panes.SetClient(&client);
        panes.SetLayoutFile(kLayoutFile.c_str());
    }
    void TearDown() override {
        SetPosResolver(nullptr);
        SetAnchorWindow(nullptr);
        if (wnd.m_hWnd != nullptr)
            wnd.DestroyWindow();
        ClearBoard();
        ClientKitTest::TearDown();
    }

    SPRITEINFO* Sprite(int id) {
        const POSITION pos = wnd.FindSpritePos(id);
        return pos != nullptr ? wnd.GetSpriteAt(pos) : nullptr;
    }
    bool Shown(int id) {
        const SPRITEINFO* s = Sprite(id);
        return s != nullptr && s->nChannel >= 0;
    }
    CSpriteButtonEx* Button(int id) { return dynamic_cast<CSpriteButtonEx*>(wnd.FindItem(id)); }

    LogCapture log;
    ProgramResources resources;
    CGameLayout layout;
    sprite_test::TestSpriteWnd wnd;
    CTableWndFields fields{theBoard};
    RecordingView view;
    CTableRecords records{theBoard, fields.viewpoint, view, view, view};
    StandInPaneHost host;
    CTablePanes panes{theBoard, wnd, host, fields, records};
};

} // namespace table_test
