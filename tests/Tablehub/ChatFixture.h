#pragma once

// Chat control tests: a headless display, a registry of the test's own
// whose shared folder is where the control files are looked for, a pane
// window to host the controls, a launch record, and readers for what the
// control stand-ins kept.

#include "tests/support/DisplayFixture.h"
#include "tests/support/TempFolder.h"

#include "knclientbase05/LaunchInfo.h"
#include "outside/ChatControls.h"
#include "platform/system/Registry.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

namespace chat_test {

// A column table as the control read it: header numbers and raw fields.
struct DecodedTable {
    DWORD total = 0;
    DWORD count = 0;
    std::vector<DWORD> widths;
    std::vector<std::string> fields; // each exactly its width, NULs included
    std::string Text(size_t column) const {
        const std::string& field = fields.at(column);
        return field.substr(0, field.find('\0'));
    }
};

inline DWORD DwordAt(const std::string& bytes, size_t offset) {
    DWORD value = 0;
    if (offset + 4 <= bytes.size())
        memcpy(&value, bytes.data() + offset, 4);
    return value;
}

// Reads the layout without trusting it: fields past the end come out short.
inline DecodedTable Decode(const std::string& bytes) {
    DecodedTable table;
    table.total = DwordAt(bytes, 0);
    table.count = DwordAt(bytes, 4);
    size_t position = 8;
    for (DWORD i = 0; i < table.count && position + 4 <= bytes.size(); ++i, position += 4)
        table.widths.push_back(DwordAt(bytes, position));
    for (DWORD width : table.widths) {
        table.fields.push_back(position < bytes.size() ? bytes.substr(position, width) : "");
        position += width;
    }
    return table;
}

class ChatTest : public platform_test::DisplayTest {
protected:
    void SetUp() override {
        DisplayTest::SetUp();
        setenv("PELLOR_CONFIG_DIR", config.Path().c_str(), 1);
        SetUserText("Software\\Quillane\\Game\\Share", "path", shared.Path());
        RegisterChatControls();
        savedLaunch = theLaunchInfo;
        theLaunchInfo = tagLAUNCHINFO{};
        strcpy(theLaunchInfo.szUserName, "玩家甲");
        strcpy(theLaunchInfo.szNickName, "小明");
        strcpy(theLaunchInfo.szRoom, "欢乐大厅");
        strcpy(theLaunchInfo.szChatServer, "chat.example.net");
        theLaunchInfo.wChatServerPort = 6100;
        strcpy(theLaunchInfo.szShortText, "short");
        theLaunchInfo.dwNumberValue = 1234;
        ASSERT_TRUE(pane.CreateEx(0, nullptr, "pane", WS_POPUP | WS_VISIBLE, 0, 0, 300, 700,
                                  nullptr, nullptr));
    }
    void TearDown() override {
        pane.DestroyWindow();
        theLaunchInfo = savedLaunch;
        RegisterChatControls(); // the versions some tests changed
        unsetenv("PELLOR_CONFIG_DIR");
        DisplayTest::TearDown();
    }

    static void SetUserText(const std::string& key, const char* name, const std::string& value) {
        HKEY handle = nullptr;
        ASSERT_EQ(RegCreateKey(HKEY_CURRENT_USER, key.c_str(), &handle), ERROR_SUCCESS);
        ASSERT_EQ(RegSetValueEx(handle, name, 0, REG_SZ,
                                reinterpret_cast<const BYTE*>(value.c_str()),
                                DWORD(value.size() + 1)),
                  ERROR_SUCCESS);
        RegCloseKey(handle);
    }

    // The control file as the next wrapper will find it.
    static void UseControlVersion(BuiltinModuleDefinition module, WORD major, WORD minor,
                                  WORD build, WORD revision) {
        module.version[0] = major;
        module.version[1] = minor;
        module.version[2] = build;
        module.version[3] = revision;
        ASSERT_TRUE(RegisterBuiltinModule(module));
    }

    static const ChatControlState& StateOf(const CWnd& control) {
        const ChatControlState* state = ChatControlStateOf(control.GetSafeHwnd());
        if (state == nullptr)
            throw std::runtime_error("no chat control behind the window");
        return *state;
    }
    static std::vector<DISPID> CallIds(const CWnd& control) {
        std::vector<DISPID> ids;
        for (const ChatControlCall& call : StateOf(control).calls)
            ids.push_back(call.id);
        return ids;
    }
    static const ChatControlCall& LastCall(const CWnd& control, DISPID id) {
        const auto& calls = StateOf(control).calls;
        for (auto it = calls.rbegin(); it != calls.rend(); ++it)
            if (it->id == id)
                return *it;
        throw std::runtime_error("member not called");
    }

    RECT ControlRect() const { return RECT{0, 207, 240, 690}; }

    TempFolder config;
    TempFolder shared;
    platform_test::RecordingWnd pane;
    tagLAUNCHINFO savedLaunch{};
};

} // namespace chat_test
