#pragma once

// The program brought up in this process against the local table host on
// loopback: a program folder of the test's own (the build's assets linked
// in, its own pellor2.ini), a registry of its own, the launch record in the
// process's arguments, a headless display and a stepped clock. Host and
// program share this thread's message loop.

#include "app/AppServices.h"
#include "app/GameApp.h"
#include "app/MainFrame.h"
#include "outside/CrtArguments.h"
#include "platform/display/Display.h"
#include "platform/system/Clock.h"
#include "platform/system/Path.h"
#include "platform/system/Registry.h"
#include "table/client/GameNetClient.h"
#include "tests/support/SocketTestKit.h"
#include "tests/support/TempFolder.h"
#include "tests/tools/HostTestKit.h"
#include "tools/tablehost/TableHost.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace app_test {

class StartupTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("PELLOR_CONFIG_DIR", config.Path().c_str(), 1);
        namespace fs = std::filesystem;
        for (const fs::directory_entry& entry : fs::directory_iterator(PELLOR_ASSET_DIR)) {
            const std::string name = entry.path().filename().string();
            if (name == "pellor2.ini")
                fs::copy_file(entry.path(), program.File(name));
            else if (name != "Pellor" && name != "snapshot" && name != "Pellor2.log")
                fs::create_symlink(entry.path(), program.File(name));
        }
        SetExeFolderOverride((program.Path() + "/").c_str());
        SetLogFileOverride(program.File("Pellor2.log").c_str());
        // The platform's installation records its shared folder (the music
        // player, the sound plug-in and the chat controls): the program's.
        HKEY share = nullptr;
        ASSERT_EQ(RegCreateKey(HKEY_CURRENT_USER, "Software\\Quillane\\Game\\Share", &share),
                  ERROR_SUCCESS);
        const std::string folder = WindowsPath(program.Path());
        RegSetValueEx(share, "path", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                      DWORD(folder.size() + 1));
        RegCloseKey(share);
        theApp.m_bUnattended = TRUE;
        theApp.m_pfnUnattendedAnswer = &StartupTest::RecordBox;
        boxes().clear();
        // The one client of the process: a connection an earlier test lost
        // is not this test's.
        theClient.m_bClosed = FALSE;
        theClient.m_bTipShown = FALSE;
        platform::StartDisplay(platform::DisplayKind::Headless);
        savedCount = __argc;
        savedVector = __argv;
    }

    void TearDown() override {
        // The program leaves the table before the host goes: a connection the
        // host drops later would mark the one client of the process as leaving
        // for every test after this one. A test that ended the program itself
        // may have left its connection open too (leaving without one sends
        // nothing).
        theClient.LeaveGame();
        if (theApp.m_pMainWnd != nullptr || theApp.m_hResDll != nullptr)
            theApp.ExitInstance();
        // Ending the program releases what its table held, even mid-flight:
        // a gate left held would keep its old hold time for the next test.
        EXPECT_FALSE(theClient.ReceiveGate().IsHeld()) << "the program ended with receiving held";
        host.reset();
        platform_test::Settle();
        __argc = savedCount;
        __argv = savedVector;
        platform::StopDisplay();
        SetMessageBoxPresenter(nullptr);
        SetExeFolderOverride(nullptr);
        SetLogFileOverride(nullptr);
    }

    void StartHost() {
        CTableHost::Options options;
        options.table.humanSeats = 1;
        options.table.rulesText = tools_test::PlainRules();
        options.table.seed = 11;
        options.tableNumber = 42;
        // The host's ticks come only when a test asks.
        options.tickMs = 24 * 3600 * 1000;
        options.log = [this](const std::string& line) { hostLog.push_back(line); };
        host = std::make_unique<CTableHost>(options);
        ASSERT_TRUE(host->Start());
        host->onFrame = [this](int client, const tagMSGHEADER& header, const BYTE* payload) {
            received.push_back({client, header.type});
            if (header.type == 0x243 && payload != nullptr && header.length >= 4) {
                int32_t id = 0;
                memcpy(&id, payload, sizeof id);
                recordIds.push_back(id);
            }
        };
    }

    // The lobby's launch record for seat (1-based) on the host's port.
    void Launch(const std::string& seat = "1", UINT port = 0) {
        if (port == 0 && host)
            port = host->Port();
        texts = {"Pellor", seat,        "alice",
                 "Alice",  "ticket",    "1234",
                 "room-9", "127.0.0.1", std::to_string(port),
                 "extra",  "127.0.0.1", "7002",
                 "lv3",    "4096"};
        pointers.clear();
        for (std::string& text : texts)
            pointers.push_back(text.data());
        pointers.push_back(nullptr);
        __argc = int(texts.size());
        __argv = pointers.data();
    }

    std::string Log() const { return program.Read("Pellor2.log"); }
    std::string HostLog() const {
        std::string text;
        for (const std::string& line : hostLog)
            text += line + "\n";
        for (const auto& [client, type] : received)
            text += "frame " + std::to_string(type) + "\n";
        return text;
    }
    bool Logged(const std::string& gbkText) const {
        return Log().find(gbkText) != std::string::npos;
    }
    int CountReceived(DWORD type) const {
        int count = 0;
        for (const auto& [client, frameType] : received)
            count += frameType == type;
        return count;
    }

    static std::vector<std::string>& boxes() {
        static std::vector<std::string> shown;
        return shown;
    }
    static int RecordBox(const CString& text) {
        boxes().push_back((LPCSTR)text);
        return IDOK;
    }

    platform::ManualClock clock;
    platform::ScopedClock useClock{clock};
    TempFolder config;
    TempFolder program;
    std::unique_ptr<CTableHost> host;
    std::vector<std::string> hostLog;
    std::vector<std::pair<int, DWORD>> received;
    std::vector<int> recordIds; // game records the host received, by id
    std::vector<std::string> texts;
    std::vector<char*> pointers;
    int savedCount = 0;
    char** savedVector = nullptr;
};

} // namespace app_test
