#pragma once

// The exported client against a small game server of the test's own: a
// registry of the test's own (no proxy, no relay), a client whose callbacks
// record what reaches them, and the server's frames read back as the wire
// carried them.

#include "tests/knclientbase05/ProcessArguments.h"
#include "tests/knclientbase05/ThreadedPeers.h"
#include "tests/support/SocketTestKit.h"
#include "tests/support/TempFolder.h"

#include "Tablehub/GameSocket.h"
#include "Tablehub/Tablehub.h"
#include "outside/CrtArguments.h"
#include "platform/controls/MessageBox.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace client_test {

using peer_test::FrameRecord;
using peer_test::FrameServer;
using peer_test::LeWord;
using peer_test::WireFrame;

// A notice as the client's OnTipMessage got it: by text, or by id.
struct Tip {
    std::string text;
    UINT id = 0, style = 0, extra = 0;
    bool operator==(const Tip&) const = default;
};

inline std::string Field(const std::string& text, size_t width) {
    return (text + std::string(width, '\0')).substr(0, width);
}

class TestClient : public CTablehub {
public:
    std::vector<Tip> tips;
    std::vector<int> closes;
    // The answer to each notice; OK unless a test says otherwise.
    std::function<int(const Tip&)> answer;
    // What the client knew when a game record reached it.
    struct GameMsg {
        std::string record;
        int seat, playerCount;
        BOOL watcher;
    };
    std::vector<GameMsg> gameMsgs;

    int OnTipMessage(UINT id, UINT style, UINT extra) override {
        return Note(Tip{"", id, style, extra});
    }
    int OnTipMessage(LPCSTR text, UINT style, UINT extra) override {
        return Note(Tip{text, 0, style, extra});
    }
    void OnClose(int error) override { closes.push_back(error); }
    int OnGameMsg(int length, void* record) override {
        std::string bytes;
        if (record != nullptr && length > 0)
            bytes.assign(static_cast<const char*>(record), size_t(length));
        gameMsgs.push_back(GameMsg{bytes, m_nMySeat, m_nPlayerCount, m_bWatcher});
        return 1;
    }

private:
    int Note(const Tip& tip) {
        tips.push_back(tip);
        return answer ? answer(tip) : IDOK;
    }
};

// The frames a server answers with: none unless a test scripts them.
inline std::vector<std::string> Silent(const FrameRecord&) {
    return {};
}

class ClientTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("PELLOR_CONFIG_DIR", config.Path().c_str(), 1);
        ASSERT_EQ(client.Init(), 1);
    }
    void TearDown() override {
        GetGameSocket().Close();
        unsetenv("PELLOR_CONFIG_DIR");
    }

    // Frames the server got, in order, once there are at least count.
    static std::vector<FrameRecord> Received(const FrameServer& server, size_t count) {
        EXPECT_TRUE(server.log.WaitFor(count)) << "the server got fewer than " << count;
        return server.log.Frames();
    }
    static std::vector<DWORD> TypesOf(const std::vector<FrameRecord>& frames) {
        std::vector<DWORD> types;
        for (const FrameRecord& frame : frames)
            types.push_back(frame.type);
        return types;
    }

    TempFolder config;
    TestClient client;
};

} // namespace client_test
