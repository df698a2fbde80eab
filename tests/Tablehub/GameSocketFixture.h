#pragma once

// The game socket against a loopback peer of plain descriptors: the peer
// writes frames byte for byte, and a client derived from the exported class,
// registered by Init as a program registers its own, writes down each
// callback with its arguments (its notices included, which reach it through
// the tip callbacks Init installs). The settings live in folders of the
// test, and the shell's opener only records what it is asked to open.

#include "tests/knclientbase05/CompressedPayload.h"
#include "tests/support/SocketTestKit.h"
#include "tests/support/TempFolder.h"

#include "Tablehub/GameSocket.h"
#include "Tablehub/Tablehub.h"
#include "knclientbase05/LaunchInfo.h"
#include "outside/OutsideModules.h"
#include "platform/controls/MessageBox.h"
#include "platform/resources/ResourceStyles.h"
#include "platform/system/Module.h"
#include "platform/system/Registry.h"
#include "platform/system/Shell.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace game_socket_test {

inline std::string Word(DWORD value) {
    return std::string{char(value), char(value >> 8), char(value >> 16), char(value >> 24)};
}
inline std::string Half(WORD value) {
    return std::string{char(value), char(value >> 8)};
}
// A text with its NUL, as the server writes texts.
inline std::string Text(const std::string& text) {
    return text + '\0';
}
// A text in a fixed field, zero behind it.
inline std::string Field(const std::string& text, size_t width) {
    return (text + std::string(width, '\0')).substr(0, width);
}
// A frame as the server writes it, encoded here independently of the socket.
inline std::string Frame(DWORD type, const std::string& payload, DWORD result = 0) {
    return Word(type) + Word(DWORD(payload.size())) + ((type & kFrameReply) ? Word(result) : "") +
           payload;
}

// Each callback as one line, "Name(argument,argument)", in arrival order,
// with whether the game socket was still open when it came.
class Recorder : public CTablehub {
public:
    std::vector<std::string> calls;
    std::vector<bool> openAtCall;
    // Runs after each call is written down; the test may act from inside
    // the callback, as a program does.
    std::function<void(const std::string&)> onCall;
    // What the notices answer (the button pressed).
    int tipAnswer = IDOK;

    int OnGameMsg(int length, void* record) override {
        Note("OnGameMsg",
             {std::to_string(length),
              record != nullptr ? std::string(static_cast<const char*>(record), size_t(length))
                                : "null"});
        return 1;
    }
    void OnBreak(char* name) override { Note("OnBreak", {name}); }
    void OnReConnet(char* name) override { Note("OnReConnet", {name}); }
    int OnTipMessage(UINT id, UINT style, UINT extra) override {
        Note("OnTipMessage", {"#" + std::to_string(id), Number(style), Number(extra)});
        return tipAnswer;
    }
    int OnTipMessage(LPCSTR text, UINT style, UINT extra) override {
        Note("OnTipMessage", {text, Number(style), Number(extra)});
        return tipAnswer;
    }
    void OnLeaveGame(WORD seat) override { Note("OnLeaveGame", {Number(seat)}); }
    void OnLeaveGame(char* text) override { Note("OnLeaveGame", {text}); }
    void OnEscapeGame(char* text) override { Note("OnEscapeGame", {text}); }
    void OnRoomBreak(char* text) override { Note("OnRoomBreak", {text}); }
    void OnKickOut() override { Note("OnKickOut", {}); }
    void OnNetTimeOut(char* text) override { Note("OnNetTimeOut", {text}); }
    void OnError() override { Note("OnError", {}); }
    void OnMastGameOver() override { Note("OnMastGameOver", {}); }
    void OnClose(int error) override { Note("OnClose", {std::to_string(error)}); }
    void OnNeedChargeGameCoin(tagGAMECOINCHARGE c, LPCSTR text) override {
        Note("OnNeedChargeGameCoin",
             {Number(c.dwValue0), Number(c.dwValue1), Number(c.wValue2), Number(c.wValue3),
              Number(c.wValue4), Number(c.wValue5), text});
    }
    void OnNeedChargeGameCoin(DWORD value, WORD count, WORD used, LPCSTR text) override {
        Note("OnNeedChargeGameCoin/4", {Number(value), Number(count), Number(used), text});
    }
    void OnChargedGameCoinSuccess(char* name, int beans, int amount, WORD count) override {
        Note("OnChargedGameCoinSuccess",
             {name, std::to_string(beans), std::to_string(amount), Number(count)});
    }
    void OnChargedGameCoinFailed(int result, DWORD value, WORD count, WORD used) override {
        Note("OnChargedGameCoinFailed",
             {std::to_string(result), Number(value), Number(count), Number(used)});
    }
    void OnNeedExchangeGameCoin(DWORD amount, DWORD value, LPCSTR text) override {
        Note("OnNeedExchangeGameCoin", {Number(amount), Number(value), text});
    }
    void OnExchangedGameCoinSuccess(char* name, DWORD beans, DWORD wealth) override {
        Note("OnExchangedGameCoinSuccess", {name, Number(beans), Number(wealth)});
    }
    void OnExchangedGameCoinFailed(int result) override {
        Note("OnExchangedGameCoinFailed", {std::to_string(result)});
    }
    void OnChangeSeat() override { Note("OnChangeSeat", {}); }

private:
    static std::string Number(DWORD value) { return std::to_string(value); }
    void Note(const char* name, const std::vector<std::string>& arguments) {
        std::string line = std::string(name) + "(";
        for (size_t i = 0; i < arguments.size(); ++i)
            line += (i > 0 ? "," : "") + arguments[i];
        calls.push_back(line + ")");
        openAtCall.push_back(GetGameSocket().m_hSocket != INVALID_SOCKET);
        if (onCall)
            onCall(calls.back());
    }
};

class GameSocketTest : public ::testing::Test {
protected:
    static constexpr DWORD kMarkType = 0x243;
    static constexpr const char* kMark = "MARK";

    void SetUp() override {
        setenv("PELLOR_CONFIG_DIR", config.Path().c_str(), 1);
        SetShareFolder();
        RegisterBuiltinModule(KNZipModule());
        savedLaunch = theLaunchInfo;
        platform::SetShellExecuteHook([this](LPCSTR verb, LPCSTR file, int show) {
            opened.push_back(std::string(verb) + " " + file + " " + std::to_string(show));
            return INT_PTR(42);
        });
        ASSERT_TRUE(client.Init());
        Connect();
    }
    void TearDown() override {
        RegisterClient(nullptr);
        socket.Close();
        platform::SetShellExecuteHook({});
        theLaunchInfo = savedLaunch;
        unsetenv("PELLOR_CONFIG_DIR");
    }

    void Connect() {
        peer.Close();
        ASSERT_TRUE(socket.Connect("127.0.0.1", listener.port, 0));
        peer.fd = listener.Accept();
        ASSERT_GE(peer.fd, 0);
        platform_test::Settle();
        client.calls.clear();
        client.openAtCall.clear();
    }
    bool Open() const { return socket.m_hSocket != INVALID_SOCKET; }

    // The calls that the frames bring. A game record follows them as a
    // mark: once it has come, everything before it has been handled.
    std::vector<std::string> CallsFor(const std::string& frames) {
        client.calls.clear();
        client.openAtCall.clear();
        peer.Write(frames + Frame(kMarkType, kMark));
        const std::string mark = "OnGameMsg(4," + std::string(kMark) + ")";
        EXPECT_TRUE(platform_test::PumpUntil([&] {
            return !client.calls.empty() && client.calls.back() == mark;
        })) << "the mark never came";
        std::vector<std::string> calls = client.calls;
        if (!calls.empty() && calls.back() == mark)
            calls.pop_back();
        return calls;
    }
    // The calls of frames after which the connection ends (nothing can
    // follow them as a mark).
    std::vector<std::string> CallsUntilClosed(const std::string& frames) {
        client.calls.clear();
        client.openAtCall.clear();
        peer.Write(frames);
        EXPECT_TRUE(platform_test::PumpUntil([&] { return !Open(); })) << "never closed";
        platform_test::Settle();
        return client.calls;
    }
    // True once the peer reads the end of the stream.
    bool PeerSeesEnd() {
        return platform_test::PumpUntil([&] {
            char byte;
            return ::recv(peer.fd, &byte, 1, MSG_DONTWAIT) == 0;
        });
    }
    // A language file in the shared folder (texts of the server notices by id).
    void WriteLangFile(const std::string& text) { shared.Write("LangRsc.ini", text); }

    TempFolder config;
    TempFolder shared;
    platform_test::LoopbackListener listener;
    platform_test::Peer peer;
    CGameSocket& socket = GetGameSocket();
    Recorder client;
    std::vector<std::string> opened;
    tagLAUNCHINFO savedLaunch{};

private:
    void SetShareFolder() {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKey(HKEY_CURRENT_USER, "Software\\Quillane\\Game\\Share", &key),
                  ERROR_SUCCESS);
        const std::string path = shared.Path();
        RegSetValueEx(key, "Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                      DWORD(path.size() + 1));
        RegCloseKey(key);
    }
};

} // namespace game_socket_test
