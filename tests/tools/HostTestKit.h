#pragma once

// A table host on this thread's message loop under a stepped clock, with its
// log kept for the test.

#include "WireClient.h"
#include "platform/system/Clock.h"
#include "tests/support/SocketTestKit.h"
#include "tools/tablehost/TableHost.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace tools_test {

// A rules text whose fields 14 to 40 are all 0: no tribute, points, buying
// a 3, shao or gousiji; 30 seconds a play.
inline std::string PlainRules() {
    std::string text = "10 10 10 10 10 10 30 30 5 30 5 0 1";
    for (int field = 14; field <= 40; ++field)
        text += " 0";
    return text;
}

class HostTest : public ::testing::Test {
protected:
    static CTableHost::Options DefaultOptions(int humanSeats = 1) {
        CTableHost::Options options;
        options.table.humanSeats = humanSeats;
        options.table.rulesText = PlainRules();
        options.table.seed = 11;
        options.tableNumber = 42;
        return options;
    }

    void StartHost(CTableHost::Options options) {
        options.log = [this](const std::string& line) { log.push_back(line); };
        host = std::make_unique<CTableHost>(options);
        ASSERT_TRUE(host->Start());
        ASSERT_NE(host->Port(), 0u);
    }

    // The host's id of the client that logged in with this name.
    int IdOf(const std::string& name) {
        platform_test::PumpUntil([&] { return host->FindClient(name) >= 0; });
        return host->FindClient(name);
    }

    bool Logged(const std::string& words) const {
        for (const std::string& line : log) {
            if (line.find(words) != std::string::npos)
                return true;
        }
        return false;
    }

    // Logs in and enters; the login reply must accept.
    void Enter(WireClient& client, const std::string& name, uint16_t seat) {
        WireFrame reply;
        ASSERT_TRUE(client.Login(host->Port(), name, seat, &reply)) << name;
        client.Send(0x208);
    }

    platform::ManualClock clock;
    platform::ScopedClock scopedClock{clock};
    std::vector<std::string> log;
    std::unique_ptr<CTableHost> host;
};

} // namespace tools_test
