#pragma once
// A table window made as the main pane makes it, on the headless display
// and the stepped clock, with the default theme, a recording client, the
// application link of a test and settings of its own.

#include "ClientFixture.h"
#include "TableTestKit.h"
#include "game/GameLogic.h"
#include "sprite/GameLayout.h"
#include "table/GameWnd.h"
#include "table/TableAppLink.h"
#include "tests/support/TempFolder.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace table_test {

using platform_test::PumpPending;

inline std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// The default theme with one text replaced, written into the folder beside
// a link to the default theme's pictures; the theme file's path.
inline std::string ThemeVariant(const TempFolder& folder, const std::string& from,
                                const std::string& to) {
    std::string text = ReadFileBytes(kLayoutFile);
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos)
        text.replace(at, from.size(), to);
    folder.Write("Default.thm", text);
    const std::string pictures = kAssets + "theme_bmp/Default";
    EXPECT_EQ(symlink(pictures.c_str(), folder.File("Default").c_str()), 0);
    return folder.File("Default.thm");
}

// The fourteen play and declaration buttons.
inline const int kActionButtons[] = {
    kBtnTakeOut,    kBtnShaoPai,      kBtnPass,          kBtnGaveUp,      kBtnRangpai,
    kBtnSearch,     kBtnDeclPoint,    kBtnDeclPointOpen, kBtnDeclNoPoint, kBtnReturnTribute,
    kBtnRevolution, kBtnNoRevolution, kBtnGousiji,       kBtnNoGousiji};

// The application as the table sees it.
class FakeTableApp : public CTableAppLink {
public:
    CString themeFile;
    int cardOrder = 0;
    HWND mainHwnd = nullptr;
    CWnd* magnifier = nullptr;
    int magnifiersMade = 0;
    CString magnifierName;

    CString GetThemeFile() const override { return themeFile; }
    int GetCardOrder() const override { return cardOrder; }
    HWND GetMainHwnd() const override { return mainHwnd; }
    CWnd* CreateMagnifier(CWnd*, LPCSTR name) override {
        ++magnifiersMade;
        magnifierName = name;
        return magnifier;
    }
};

// A table window that keeps the end events of its sprites.
class EventTableWnd : public CGameWnd {
public:
    std::vector<int>* ends = nullptr;

protected:
    void OnSpriteEnd(POSITION, int nParam) override {
        if (ends != nullptr)
            ends->push_back(nParam);
    }
};

class TableWindowTest : public platform_test::DisplayTest {
protected:
    static constexpr int kWidth = 1024;
    static constexpr int kHeight = 768;

    void SetUp() override {
        DisplayTest::SetUp();
        setenv("PELLOR_CONFIG_DIR", config.Path().c_str(), 1);
        ASSERT_TRUE(layout.LoadFrom(kLayoutFile.c_str()));
        app.themeFile = kLayoutFile.c_str();
        SetTableAppLink(&app);
        ASSERT_TRUE(parent.CreateTop(&parentLog, kWidth, kHeight));
        ResetBoard();
        client.m_nMySeat = 0;
        client.m_bWatcher = FALSE;
        client.m_bOption = FALSE;
    }
    void TearDown() override {
        if (wnd != nullptr && wnd->m_hWnd != nullptr)
            wnd->DestroyWindow(); // deletes the window object
        parent.DestroyWindow();
        PumpPending();
        SetPosResolver(nullptr);
        SetTableAppLink(nullptr);
        ResetBoard();
        unsetenv("PELLOR_CONFIG_DIR");
        DisplayTest::TearDown();
    }
    static void ResetBoard() {
        theBoard.SetRuleFlags(0);
        theBoard.SetGameState(0);
        for (int seat = 0; seat < kSeatCount; ++seat) {
            theBoard.SetTrustWord(seat, 0);
            theBoard.SetSeatStatus(seat, 0, 0);
            theBoard.SetSeatActionMask(seat, 0);
            theBoard.SetUserInfo(seat, tagUSERINFO{});
        }
    }
    static tagUSERINFO User(const char* name, const char* nick) {
        tagUSERINFO user{};
        strncpy(user.szUserName, name, sizeof user.szUserName - 1);
        strncpy(user.szNickName, nick, sizeof user.szNickName - 1);
        return user;
    }

    bool CreateTable(CGameWnd* table = nullptr) {
        if (table == nullptr) {
            auto* recording = new EventTableWnd;
            recording->ends = &ends;
            table = recording;
        }
        wnd = table;
        wnd->SetLayout(&layout);
        wnd->SetClient(&client);
        const BOOL made = wnd->Create(nullptr, "", WS_CHILD | WS_VISIBLE,
                                      CRect(0, 0, kWidth, kHeight), &parent, CGameWnd::kControlId);
        PumpPending();
        return made != FALSE;
    }
    // n sprite ticks of 10 ms.
    void Tick(int n = 1) {
        for (int i = 0; i < n; ++i) {
            clock.Advance(10);
            PumpPending();
        }
    }
    SPRITEINFO* Sprite(int id) {
        POSITION pos = wnd->FindSpritePos(id);
        return pos != nullptr ? wnd->GetSpriteAt(pos) : nullptr;
    }
    bool Shown(int id) {
        SPRITEINFO* s = Sprite(id);
        return s != nullptr && s->nChannel >= 0;
    }
    // The client point of a shown sprite's top left.
    POINT At(int id) {
        SPRITEINFO* s = Sprite(id);
        return s != nullptr ? POINT{s->x, s->y} : POINT{-9999, -9999};
    }
    // The client point of a layout place.
    POINT Resolved(int x, int y, int anchor) {
        CSpritePos pos;
        pos.Set(x, y, anchor);
        return ResolvePos(pos);
    }
    bool Logged(const std::string& words) const {
        return log.Text().find(words) != std::string::npos;
    }
    int Count(int event) const { return int(std::count(ends.begin(), ends.end(), event)); }

    TempFolder config;
    LogCapture log;
    CGameLayout layout;
    FakeTableApp app;
    RecordingClient client;
    std::vector<platform_test::Delivered> parentLog;
    platform_test::RecordingWnd parent;
    CGameWnd* wnd = nullptr;
    std::vector<int> ends;
};

} // namespace table_test
