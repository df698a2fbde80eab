#pragma once

// Connection tests with their own settings: the registry and the shared
// folder of the test (the relay files "LangRsc.ini" and "RuviDerez.dat", the
// log "RuviDerez.log"), sockets that record what reaches their owner, a tip
// callback that records the questions, and clocks for the waits.

#include "SettingsFixture.h"
#include "ThreadedPeers.h"
#include "knclientbase05/RuviDerezSocket.h"
#include "outside/OutsideModules.h"
#include "platform/resources/ResourceStyles.h"
#include "platform/system/Clock.h"
#include "platform/system/Module.h"
#include "tests/support/SocketTestKit.h"

#include <deque>
#include <string>
#include <vector>

namespace path_test {

// Records the frames and closes that reach the owner, as the game socket
// passes them to its client.
template <class Base> class Recording : public Base {
public:
    std::vector<peer_test::FrameRecord> messages;
    std::vector<int> closes;

protected:
    int OnMessage(tagMSGHEADER* frame) override {
        peer_test::FrameRecord record;
        record.type = frame->type;
        record.length = frame->length;
        const size_t header = FrameHeaderSize(frame->type);
        record.result = header == 12 ? frame->result : 0;
        record.payload.assign(reinterpret_cast<const char*>(frame) + header, frame->length);
        messages.push_back(record);
        return 0;
    }
    void OnClose(int error) override { closes.push_back(error); }
};
typedef Recording<CKNSocket> ProxySocket;
typedef Recording<CKNRuviDerezSocket> PathSocket;

// The keep-waiting question and any other tip: recorded, answered from a
// queue (IDNO when it is empty); an optional hook runs before answering.
struct Tips {
    static std::vector<UINT>& Asked() {
        static std::vector<UINT> asked;
        return asked;
    }
    static std::deque<int>& Answers() {
        static std::deque<int> answers;
        return answers;
    }
    static std::function<void()>& Hook() {
        static std::function<void()> hook;
        return hook;
    }
    static int Answer(UINT id, UINT, UINT) {
        Asked().push_back(id);
        if (Hook())
            Hook()();
        if (Answers().empty())
            return IDNO;
        const int answer = Answers().front();
        Answers().pop_front();
        return answer;
    }
    static void Reset() {
        Asked().clear();
        Answers().clear();
        Hook() = nullptr;
    }
};

// Sleeping spends stepped time, so a wait's period runs out at once. With a
// budget, only that much time is spent by sleeping: later waits then never run
// out, whatever the real peers' pace.
class SteppingClock : public platform::ManualClock {
public:
    explicit SteppingClock(uint64_t budgetMs = UINT64_MAX) : m_budget(budgetMs) {}
    void SleepMs(uint32_t ms) override {
        if (m_spent >= m_budget)
            return;
        m_spent += ms;
        Advance(ms);
    }

private:
    uint64_t m_budget;
    uint64_t m_spent = 0;
};

// A listener whose queue is full: a connect to it is never answered.
class SilentListener {
public:
    SilentListener() {
        m_fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        EXPECT_EQ(::bind(m_fd, reinterpret_cast<sockaddr*>(&address), length), 0);
        EXPECT_EQ(::listen(m_fd, 0), 0);
        EXPECT_EQ(getsockname(m_fd, reinterpret_cast<sockaddr*>(&address), &length), 0);
        port = ntohs(address.sin_port);
        m_filler = peer_test::ConnectTo("127.0.0.1", port);
        EXPECT_GE(m_filler, 0);
    }
    ~SilentListener() {
        ::close(m_filler);
        ::close(m_fd);
    }

    unsigned port = 0;

private:
    int m_fd = -1;
    int m_filler = -1;
};

class PathFixture : public SettingsFixture {
protected:
    void SetUp() override {
        SettingsFixture::SetUp();
        UseSharedFolder();
        RegisterBuiltinModule(KNZipModule());
        Tips::Reset();
    }
    void TearDown() override {
        Tips::Reset();
        SettingsFixture::TearDown();
    }

    static void SetShareDword(const char* name, DWORD value) {
        SetDword("Software\\Quillane\\Game\\Share", name, value);
    }
    static void SetDword(const std::string& key, const char* name, DWORD value) {
        HKEY handle = nullptr;
        ASSERT_EQ(RegCreateKey(HKEY_CURRENT_USER, key.c_str(), &handle), ERROR_SUCCESS);
        ASSERT_EQ(RegSetValueEx(handle, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                                sizeof value),
                  ERROR_SUCCESS);
        RegCloseKey(handle);
    }
    static void SetProxy(DWORD enable, const std::string& server, DWORD port, DWORD version,
                         const std::string& user = "", const std::string& password = "") {
        const std::string key = "Software\\Quillane\\Game\\Share\\Proxy";
        SetDword(key, "ProxyEnable", enable);
        SetUserText(key, "SocksServer", server);
        SetDword(key, "SocksPort", port);
        SetDword(key, "SocksVersion", version);
        SetUserText(key, "UserName", user);
        SetUserText(key, "Password", password);
    }
    // One file for the relay settings and the port-80 table: the two
    // spellings its readers use name the same file.
    void WriteLangRsc(const std::string& text) { files_.Write("LangRsc.ini", text); }
    void WriteRelayData(const std::string& text) { files_.Write("RuviDerez.dat", text); }
    std::string RelayData() const { return files_.Read("RuviDerez.dat"); }
    std::string Log() const { return files_.Read("RuviDerez.log"); }
    bool Logged(const std::string& line) const { return Log().find(line) != std::string::npos; }

    // A request of type 0x300 answered by its reply with the same payload.
    static bool RoundTrip(CKNSocket& socket, const std::string& payload) {
        std::vector<BYTE> frame(8 + payload.size());
        auto* header = reinterpret_cast<tagMSGHEADER*>(frame.data());
        header->type = 0x300;
        header->length = DWORD(payload.size());
        std::copy(payload.begin(), payload.end(), frame.begin() + 8);
        tagMSGHEADER* reply = nullptr;
        if (!socket.SendMessage(header, &reply, 0) || reply == nullptr)
            return false;
        const char* body = reinterpret_cast<const char*>(reply) + FrameHeaderSize(reply->type);
        return reply->type == 0x80000300u && std::string(body, reply->length) == payload;
    }

    template <class Socket> static void AskThroughTips(Socket& socket) {
        socket.SetTipCallbacks(nullptr, Tips::Answer);
    }
};

} // namespace path_test
