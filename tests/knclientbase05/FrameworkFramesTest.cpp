// The framing socket's own framework frames, on a plain subclass against a
// loopback peer: the answers it writes (read back byte for byte), the
// notices it shows (through recording tip callbacks), the prompt texts, the
// registry value and the windows it posts to.

#include "tests/knclientUI05/BoxFixture.h"
#include "tests/knclientbase05/ProcessArguments.h"

#include "tests/support/SocketTestKit.h"
#include "tests/support/TempFolder.h"

#include "knclientbase05/ChatSetup.h"
#include "knclientbase05/KNChat.h"
#include "knclientbase05/KNSocket.h"
#include "knclientbase05/LaunchInfo.h"
#include "knclientbase05/PromptTarget.h"
#include "knclientbase05/WebPopupTarget.h"
#include "outside/ChatControls.h"
#include "outside/CrtArguments.h"
#include "platform/system/Registry.h"
#include "platform/system/Shell.h"

#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using platform_test::PumpUntil;
using platform_test::RecordingWnd;
using platform_test::Script;
using platform_test::Settle;

std::string Word(DWORD value) {
    return std::string{char(value), char(value >> 8), char(value >> 16), char(value >> 24)};
}
DWORD WordAt(const std::string& bytes, size_t at) {
    DWORD value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | BYTE(bytes.at(at + size_t(i)));
    return value;
}
std::string Frame(DWORD type, const std::string& payload, DWORD result = 0) {
    return Word(type) + Word(DWORD(payload.size())) + ((type & kFrameReply) ? Word(result) : "") +
           payload;
}
std::string Field(const std::string& text, size_t width) {
    return (text + std::string(width, '\0')).substr(0, width);
}

struct Tip {
    std::string text;
    UINT id, style, extra;
    bool operator==(const Tip&) const = default;
};
std::vector<Tip> g_tips;
std::function<int(const Tip&)> g_answer;

int Answer() {
    return g_answer ? g_answer(g_tips.back()) : IDOK;
}
int TextTip(LPCSTR text, UINT style, UINT extra) {
    g_tips.push_back({text, 0, style, extra});
    return Answer();
}
int IdTip(UINT id, UINT style, UINT extra) {
    g_tips.push_back({"", id, style, extra});
    return Answer();
}

class Prompts : public CPromptTarget {
public:
    std::vector<std::string> texts;
    BOOL ShowPrompt(LPCSTR text) override {
        texts.push_back(text);
        return TRUE;
    }
};

class TestSocket : public CKNSocket {
public:
    using CKNSocket::OnClose;
};

// Sleeping spends the stepped time, so a reply wait runs out at once.
class SteppingClock : public platform::ManualClock {
public:
    void SleepMs(uint32_t ms) override { Advance(ms); }
};

class FrameworkFramesTest : public ui_test::BoxTest {
protected:
    void SetUp() override {
        BoxTest::SetUp();
        setenv("PELLOR_CONFIG_DIR", config.Path().c_str(), 1);
        g_tips.clear();
        g_answer = nullptr;
        savedLaunch = theLaunchInfo;
        strcpy(theLaunchInfo.szUserName, "Alice");
        socket.SetTipCallbacks(TextTip, IdTip);
        socket.SetPromptWindow(&prompts);
        platform::SetShellExecuteHook([this](LPCSTR verb, LPCSTR file, int show) {
            opened.push_back(std::string(verb) + " " + file + " " + std::to_string(show));
            return INT_PTR(42);
        });
        Reconnect();
    }
    void TearDown() override {
        platform::SetShellExecuteHook({});
        socket.Close();
        AfxSetMainWnd(nullptr);
        if (mainWnd.m_hWnd != nullptr)
            mainWnd.DestroyWindow();
        theLaunchInfo = savedLaunch;
        unsetenv("PELLOR_CONFIG_DIR");
        BoxTest::TearDown();
    }
    void Reconnect() {
        peer.Close();
        ASSERT_TRUE(socket.Connect("127.0.0.1", listener.port, 0));
        peer.fd = listener.Accept();
        ASSERT_GE(peer.fd, 0);
        Settle();
        received.clear();
    }
    bool Open() const { return socket.m_hSocket != INVALID_SOCKET; }
    // Everything the peer got until it holds a frame of the type.
    bool ReadUntil(DWORD type) {
        return PumpUntil([&] {
            received += peer.ReadAvailable();
            for (size_t at = 0; at + 8 <= received.size();) {
                const DWORD t = WordAt(received, at);
                const size_t size = ((t & kFrameReply) ? 12 : 8) + WordAt(received, at + 4);
                if (t == type && at + size <= received.size())
                    return true;
                at += size;
            }
            return false;
        });
    }
    // The frames go first, then an address query: once its answer is back,
    // the frames before it have all been handled.
    void Deliver(const std::string& frames) {
        received.clear();
        peer.Write(frames + Frame(0x231, ""));
        ASSERT_TRUE(ReadUntil(0x80000231));
    }
    void CreateMainWindow(bool visible) {
        mainWnd.hooks[WM_CLOSE] = [this](WPARAM, LPARAM) { return ++mainCloses, LRESULT(0); };
        ASSERT_TRUE(mainWnd.CreateTop(nullptr));
        mainWnd.ShowWindow(visible ? SW_SHOW : SW_HIDE);
        AfxSetMainWnd(&mainWnd);
    }
    // The resource string with the argument in its "%s".
    static std::string Notice(UINT id, const std::string& argument = "") {
        std::string text = StringOf(id);
        const size_t at = text.find("%s");
        return at == std::string::npos ? text : text.replace(at, 2, argument);
    }

    TempFolder config;
    platform_test::LoopbackListener listener;
    platform_test::Peer peer;
    TestSocket socket;
    Prompts prompts;
    std::vector<std::string> opened;
    std::string received;
    RecordingWnd mainWnd;
    int mainCloses = 0;
    tagLAUNCHINFO savedLaunch{};
};

TEST_F(FrameworkFramesTest, AddressQueryIsAnsweredWithTheRealLocalAddressAndPort) {
    Deliver("");
    sockaddr_in client{};
    socklen_t length = sizeof client;
    ASSERT_EQ(getpeername(peer.fd, reinterpret_cast<sockaddr*>(&client), &length), 0);
    std::string address(4, '\0');
    memcpy(address.data(), &client.sin_addr, 4);
    EXPECT_EQ(received, Frame(0x80000231, address + Word(ntohs(client.sin_port)), 0));
}

TEST_F(FrameworkFramesTest, QuestionIsAnsweredWithItsIdTheButtonAndTheTypedText) {
    std::string shown;
    Script::Run({[&] {
                     shown = TextOf(Item(GetActiveWindow(), IDC_KN_MSG_TEXT));
                     ::SetFocus(Item(GetActiveWindow(), IDC_KN_INPUT1));
                     Type("牌友");
                 },
                 [&] { Click(Item(GetActiveWindow(), IDC_KN_BUTTON1)); }});
    peer.Write(Frame(0x230, Word(77) + Word(MB_OKCANCEL) + Word(0) + Word(1) + "名字?"));
    ASSERT_TRUE(ReadUntil(0x80000230));
    EXPECT_EQ(shown, "名字?");
    EXPECT_EQ(received, Frame(0x80000230, Word(77) + Word(IDOK) + std::string("牌友") + '\0', 0));

    // Without a typed answer and left alone, the countdown answers.
    received.clear();
    peer.Write(Frame(0x230, Word(78) + Word(MB_OKCANCEL | MB_DEFBUTTON2) + Word(2) + Word(0) +
                                std::string("继续?") + '\0'));
    ASSERT_TRUE(ReadUntil(0x80000230));
    EXPECT_EQ(received, Frame(0x80000230, Word(78) + Word(IDCANCEL) + std::string(1, '\0'), 0));
}

TEST_F(FrameworkFramesTest, QuestionWithoutTextAndShortFramesGetNothing) {
    const std::string name = Field("Alice", 20);
    Deliver(Frame(0x230, std::string(16, '\1')) + Frame(0x230, std::string(15, '\1')) +
            Frame(0x225, std::string(27, '\0')) + Frame(0x234, std::string(11, '\0')) +
            Frame(0x244, name + std::string(23, 'r')) + Frame(0x249, std::string(647, 'h')) +
            Frame(0x8000021A, name.substr(0, 19), 1) + Frame(0x8000021B, name + "\1\0\0", 1));
    EXPECT_EQ(received.size(), 20u); // the address answer alone
    EXPECT_TRUE(g_tips.empty());
    EXPECT_TRUE(opened.empty());
    EXPECT_EQ(socket.GetSwitchRecord()[0], 0);
    EXPECT_TRUE(Open());
}

// Whatever the bytes, every handled type ends without a fault (the
// sanitizer build reads along).
TEST_F(FrameworkFramesTest, HostilePayloadsOfEveryTypeAreHandledSafely) {
    const DWORD types[] = {0x160,      0x1A1,      0x225,      0x229,      0x22A,      0x22D,
                           0x234,      0x244,      0x249,      0x80000202, 0x80000219, 0x8000021A,
                           0x8000021B, 0x8000021C, 0x80000233, 0xFFFFFFFF};
    CreateMainWindow(true);
    for (DWORD type : types) {
        for (size_t length : {0, 1, 20, 27, 28, 44, 647, 648, 1000}) {
            for (char fill : {'\xFF', 'A'}) {
                if (!Open())
                    Reconnect();
                received.clear();
                peer.Write(Frame(type, std::string(length, fill), 1) + Frame(0x231, ""));
                ASSERT_TRUE(PumpUntil([&] {
                    received += peer.ReadAvailable();
                    return !Open() || received.find(Word(0x80000231)) != std::string::npos;
                })) << std::hex
                    << type << " " << length;
            }
        }
    }
    EXPECT_TRUE(opened.empty()); // none of it was a web address
}

TEST_F(FrameworkFramesTest, CloseErrorsBringTheirNoticesExceptForMinusOneAndCancel) {
    const std::pair<int, UINT> table[] = {{0, 29900},     {10054, 29900}, {10061, 29901},
                                          {10052, 29902}, {10053, 29903}, {10201, 29904},
                                          {10202, 29905}, {10060, 29907}, {11001, 29909},
                                          {10065, 29906}, {-1, 0},        {10200, 0}};
    for (const auto& [error, id] : table) {
        g_tips.clear();
        if (!Open())
            Reconnect();
        socket.OnClose(error);
        EXPECT_FALSE(Open()) << error;
        const std::vector<Tip> expected =
            id ? std::vector<Tip>{{"", id, MB_ICONEXCLAMATION, UINT(-1)}} : std::vector<Tip>{};
        EXPECT_EQ(g_tips, expected) << error;
    }
    g_tips.clear();
    socket.SetAskOnTimeout(0);
    socket.OnClose(10061);
    EXPECT_TRUE(g_tips.empty());
}

TEST_F(FrameworkFramesTest, WaitGivenUpByTheUserBringsNoSecondNotice) {
    SteppingClock clock;
    platform::ScopedClock useClock(clock);
    socket.SetAskOnTimeout(1);
    g_answer = [](const Tip&) { return IDNO; };
    const tagMSGHEADER request{0x300, 0, 0};
    tagMSGHEADER* reply = nullptr;
    EXPECT_EQ(socket.SendMessage(&request, &reply, 0), 0);
    EXPECT_EQ(g_tips, (std::vector<Tip>{{"", 29910, MB_YESNO | MB_ICONQUESTION, UINT(-1)}}));
    EXPECT_FALSE(Open());
}

TEST_F(FrameworkFramesTest, LinkEventsCloseWithTheNoticeOfTheirSubCode) {
    struct Case {
        DWORD subCode;
        std::string text, notice;
    };
    const Case cases[] = {{1, "维护", Notice(29920, "维护")}, {2, "", Notice(29917)},
                          {4, "aLICE", Notice(29918)},        {4, "Bob", Notice(29935, "Bob")},
                          {8, "慢", Notice(29921, "慢")},     {3, "", Notice(29922)}};
    for (const Case& c : cases) {
        Reconnect();
        g_tips.clear();
        peer.Write(Frame(0xFFFFFFFF, c.text, c.subCode));
        ASSERT_TRUE(PumpUntil([&] { return !Open(); })) << c.subCode;
        EXPECT_EQ(g_tips, (std::vector<Tip>{{c.notice, 0, MB_ICONSTOP, UINT(-1)}})) << c.subCode;
    }
    Reconnect();
    g_tips.clear();
    socket.SetAskOnTimeout(0);
    peer.Write(Frame(0xFFFFFFFF, "Bob", 4));
    ASSERT_TRUE(PumpUntil([&] { return !Open(); }));
    EXPECT_TRUE(g_tips.empty());
}

TEST_F(FrameworkFramesTest, LeaveReplyAndGameOver) {
    CreateMainWindow(true);
    Deliver(Frame(0x80000219, "", 0));
    EXPECT_EQ(g_tips, (std::vector<Tip>{{"", 29934, MB_ICONINFORMATION, UINT(-1)}}));
    Settle();
    EXPECT_EQ(mainCloses, 1);

    // Without asking, the game still ends, only silently.
    g_tips.clear();
    socket.SetAskOnTimeout(0);
    Deliver(Frame(0x80000219, "", 0));
    Settle();
    EXPECT_TRUE(g_tips.empty());
    EXPECT_EQ(mainCloses, 2);
    socket.SetAskOnTimeout(1);

    peer.Write(Frame(0x80000202, "散桌", 0));
    ASSERT_TRUE(PumpUntil([&] { return !Open(); }));
    EXPECT_EQ(g_tips, (std::vector<Tip>{{Notice(29919, "散桌"), 0, MB_ICONINFORMATION, UINT(-1)}}));
}

TEST_F(FrameworkFramesTest, RegisterProcessWritesTheValueAndTheCloseDeletesIt) {
    std::vector<platform_test::Delivered> switchLog;
    RecordingWnd switchWnd;
    switchWnd.log = &switchLog;
    ASSERT_TRUE(
        switchWnd.CreateEx(0, nullptr, "switch window", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    const auto registered = [] {
        HKEY key = nullptr;
        DWORD value = 0, size = sizeof value, type = 0;
        if (RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Quillane\\Game\\Share\\Settings\\MPID", 0,
                         KEY_READ, &key) != ERROR_SUCCESS)
            return DWORD(0);
        const LSTATUS read = RegQueryValueEx(key, "knclientbase05_tests", nullptr, &type,
                                             reinterpret_cast<BYTE*>(&value), &size);
        RegCloseKey(key);
        return read == ERROR_SUCCESS && type == REG_DWORD ? value : DWORD(0);
    };
    const auto posted = [&] {
        std::vector<WPARAM> values;
        for (const auto& d : switchLog)
            if (d.message == 0x1212)
                values.push_back(d.wParam);
        return values;
    };
    Deliver(Frame(0x1A1, ""));
    Settle();
    EXPECT_EQ(registered(), DWORD(getpid()));
    EXPECT_EQ(posted(), std::vector<WPARAM>{1});

    peer.Close(); // the server ends the connection: one close, reported twice
    ASSERT_TRUE(PumpUntil([&] { return !Open(); }));
    socket.OnClose(0);
    Settle();
    EXPECT_EQ(registered(), 0u);
    EXPECT_EQ(posted(), (std::vector<WPARAM>{1, 0}));
    EXPECT_EQ(g_tips.front(), (Tip{"", 29900, MB_ICONEXCLAMATION, UINT(-1)}));
    switchWnd.DestroyWindow();
}

TEST_F(FrameworkFramesTest, SwitchRecordIsKeptOnlyForItsOwnName) {
    const auto record = [](const std::string& name, char fill) {
        return Field(name, 20) + std::string(24, fill);
    };
    const auto kept = [&] {
        return std::string(reinterpret_cast<const char*>(socket.GetSwitchRecord()),
                           CKNSocket::kSwitchRecordSize);
    };
    Deliver(Frame(0x244, record("Bob", 'b')));
    EXPECT_EQ(kept(), std::string(44, '\0'));
    Deliver(Frame(0x244, record("aLiCe", 'a')));
    EXPECT_EQ(kept(), record("aLiCe", 'a'));

    // A double-byte character whose second byte is a letter matches only
    // itself, not its "other case".
    socket.SetSwitchName("\xB0\x41x");
    Deliver(Frame(0x244, record("\xB0\x61x", 'c')) + Frame(0x244, record("alice", 'd')));
    EXPECT_EQ(kept(), record("aLiCe", 'a'));
    Deliver(Frame(0x244, record("\xB0\x41X", 'e')));
    EXPECT_EQ(kept(), record("\xB0\x41X", 'e'));
}

TEST_F(FrameworkFramesTest, PlayerDropsGoToThePromptAndAsTipsWithBoundedNames) {
    const std::string longName(300, 'x'); // no terminator in the frame
    Deliver(Frame(0x229, "Bob") + Frame(0x22A, std::string("Bob") + '\0') + Frame(0x229, longName));
    EXPECT_EQ(prompts.texts,
              (std::vector<std::string>{"[Bob] 断线了...", "[Bob] 断线后回来了",
                                        "[" + longName.substr(0, 255) + "] 断线了..."}));
    EXPECT_EQ(g_tips, (std::vector<Tip>{{Notice(29929, "Bob"), 0, 0, 5},
                                        {Notice(29930, "Bob"), 0, 0, 5},
                                        {Notice(29929, longName.substr(0, 255)), 0, 0, 5}}));
}

TEST_F(FrameworkFramesTest, NoticeHoldsReceivingWhileItIsOpen) {
    int depth = 0, deepest = 0;
    g_answer = [&](const Tip&) {
        deepest = std::max(deepest, ++depth);
        Settle(); // the next frame has arrived by now, but must wait
        --depth;
        return IDOK;
    };
    Deliver(Frame(0x234, Word(0) + Word(MB_OK) + Word(9) + "one") +
            Frame(0x234, Word(29705) + Word(MB_YESNO) + Word(3)));
    EXPECT_EQ(deepest, 1);
    EXPECT_EQ(g_tips, (std::vector<Tip>{{"one", 0, MB_OK, 9}, {"", 29705, MB_YESNO, 3}}));
}

TEST_F(FrameworkFramesTest, ServerNoticeOpensOnlyWebPagesAndOnlyOnTheExpectedAnswer) {
    const auto notice = [](int id, int page, const std::string& area, DWORD close, DWORD end,
                           DWORD stated) {
        return Frame(0x225, Word(DWORD(id)) + Word(MB_OKCANCEL) + Word(IDOK) + Word(DWORD(page)) +
                                Word(close) + Word(end) + Word(stated) + area);
    };
    const std::string area = std::string("去看看\0http://shop.example/a\0", 28);
    Deliver(notice(0, 0, area, 0, 0, DWORD(area.size())));
    g_answer = [](const Tip&) { return IDCANCEL; };
    Deliver(notice(0, 0, area, 0, 0, DWORD(area.size())));
    g_answer = nullptr;
    Deliver(notice(-1, 0, std::string("https://x.example\0", 18), 0, 0, 18) +
            notice(0, 0, std::string("看\0file:///etc/passwd\0", 22), 0, 0, 22) +
            notice(0, -1, area, 0, 0, DWORD(area.size())) + notice(0, 0, area, 0, 0, 0xFFFFFFF0));
    EXPECT_EQ(opened,
              (std::vector<std::string>{"open http://shop.example/a 1", "open https://x.example 1",
                                        "open http://shop.example/a 1"}));
    EXPECT_EQ(g_tips.size(), 5u);
    EXPECT_EQ(g_tips[0], (Tip{"去看看", 0, MB_OKCANCEL, 0}));

    peer.Write(notice(-1, -1, "", 1, 0, 0));
    ASSERT_TRUE(PumpUntil([&] { return !Open(); }));
    Reconnect();
    g_tips.clear();
    peer.Write(notice(-1, -1, "", 0, 1, 0));
    ASSERT_TRUE(PumpUntil([&] { return !Open(); }));
    EXPECT_TRUE(g_tips.empty()); // closed for a reason: no notice
}

namespace {

// A pop-up that writes down what the socket asks of it.
struct RecordingPopup : CWebPopupTarget {
    static std::vector<std::string>& Calls() {
        static std::vector<std::string> calls;
        return calls;
    }
    RecordingPopup() { Calls().push_back("made"); }
    ~RecordingPopup() override { Calls().push_back("deleted"); }
    BOOL CreatePopup(int cx, int cy) override {
        Calls().push_back("create " + std::to_string(cx) + "x" + std::to_string(cy));
        return TRUE;
    }
    void SetPageTitle(LPCSTR title) override { Calls().push_back(std::string("title ") + title); }
    BOOL Navigate(LPCSTR address) override {
        Calls().push_back(std::string("go ") + address);
        return TRUE;
    }
};

} // namespace

TEST_F(FrameworkFramesTest, WebPopupShowsOnlyAllowedWebAddresses) {
    const WebPopupMaker saved = GetWebPopupMaker();
    SetWebPopupMaker([](CWnd*) -> CWebPopupTarget* { return new RecordingPopup; });
    RecordingPopup::Calls().clear();
    const auto popup = [](const std::string& address, DWORD width = 640) {
        return Frame(0x249, Field("充值", 128) + Field(address, 512) + Word(width) + Word(480));
    };
    const std::string longest = "http://" + std::string(505, 'p'); // fills the field, no NUL
    Deliver(popup("https://pay.example/q?a=1") + popup("calc.exe") + popup("") +
            popup(longest, 0xFFFFFFFF));
    socket.SetWebPopupAllowed(0);
    Deliver(popup("https://pay.example/again"));
    EXPECT_TRUE(opened.empty()); // never the desktop's browser
    // One pop-up, re-created for each page; sizes past int are held.
    EXPECT_EQ(RecordingPopup::Calls(),
              (std::vector<std::string>{"made", "create 640x480", "title 充值",
                                        "go https://pay.example/q?a=1", "create 2147483647x480",
                                        "title 充值", "go " + longest}));
    socket.Close();
    EXPECT_EQ(RecordingPopup::Calls().back(), "deleted");
    SetWebPopupMaker(saved);
}

TEST_F(FrameworkFramesTest, TrustExitAndTrusteeshipResults) {
    CreateMainWindow(true);
    const auto result = [](DWORD type, const std::string& name, DWORD kind, DWORD code) {
        return Frame(type, Field(name, 20) + Word(kind), code);
    };
    Deliver(result(0x8000021A, "Bob", 0, 1) + result(0x8000021A, "alice", 0, 0) +
            result(0x8000021B, "Bob", 1, 0) + result(0x8000021B, "Bob", 3, 0) +
            result(0x8000021B, "Bob", 7, 2) + result(0x8000021B, "ALICE", 1, 1) +
            result(0x8000021B, "Alice", 2, 1) + result(0x8000021B, "Alice", 3, 1) +
            result(0x8000021B, "Bob", 1, 1) + result(0x8000021B, "Bob", 2, 1) +
            result(0x8000021B, "Bob", 3, 1));
    EXPECT_EQ(g_tips, (std::vector<Tip>{{"", 29944, 0, 5},
                                        {Notice(29940, "Bob"), 0, 0, 5},
                                        {Notice(29941, "Bob"), 0, 0, 5},
                                        {Notice(29942, "Bob"), 0, 0, 5},
                                        {"", 29943, MB_ICONINFORMATION, 5},
                                        {"", 29946, MB_ICONINFORMATION, 5},
                                        {"", 29947, MB_ICONINFORMATION, 5}}));
    EXPECT_EQ(prompts.texts,
              (std::vector<std::string>{"[Bob] 托管退出了游戏",
                                        "[Bob] 进入了托管状态，现在由服务器暂时代他玩...",
                                        "[Bob] 因为超时进入了托管状态，现在由服务器暂时代他玩...",
                                        "[Bob] 解除了托管状态"}));
    // Hidden main window: no notice of the own trusteeship.
    mainWnd.ShowWindow(SW_HIDE);
    g_tips.clear();
    Deliver(result(0x8000021B, "Alice", 1, 1));
    EXPECT_TRUE(g_tips.empty());

    peer.Write(result(0x8000021A, "Alice", 0, 1));
    ASSERT_TRUE(PumpUntil([&] { return !Open(); }));
    Settle();
    EXPECT_EQ(mainCloses, 1);
}

TEST_F(FrameworkFramesTest, RoundListGoesToTheChatAndToOneBoundedNotice) {
    CreateMainWindow(true);
    RegisterChatControls();
    CKNChat chat;
    ASSERT_TRUE(
        chat.Create(nullptr, "chat", WS_CHILD | WS_VISIBLE, RECT{0, 0, 100, 100}, &mainWnd, 1));
    socket.SetChatWindow(&chat);
    const auto record = [](const std::string& name, DWORD value, DWORD score) {
        return Field(name, 20) + Word(value) + Word(score);
    };
    Deliver(Frame(0x80000233, record("Ann", 5, 12) + record("Bob", 6, DWORD(-3)) + "partial", 1));
    EXPECT_EQ(g_tips, (std::vector<Tip>{{StringOf(29945) + "[Ann] : 12\n[Bob] : -3\n", 0,
                                         MB_ICONINFORMATION, 30}}));
    const ChatControlState* state = ChatControlStateOf(chat.m_hWnd);
    ASSERT_NE(state, nullptr);
    EXPECT_EQ(state->userValues,
              (std::vector<std::pair<std::string, LONG>>{{"Ann", 5}, {"Bob", 6}}));

    // Result 0: the chat only. Many records: whole lines up to the bound.
    g_tips.clear();
    Deliver(Frame(0x80000233, record("Cy", 7, 1), 0));
    EXPECT_TRUE(g_tips.empty());
    std::string many;
    for (int i = 0; i < 2000; ++i)
        many += record("P" + std::to_string(i), 0, DWORD(i));
    Deliver(Frame(0x80000233, many, 1));
    ASSERT_EQ(g_tips.size(), 1u);
    EXPECT_LT(g_tips[0].text.size(), 4096u);
    EXPECT_EQ(g_tips[0].text.back(), '\n');
    socket.SetChatWindow(nullptr);
}

TEST_F(FrameworkFramesTest, StatusFrameAndTrustExitWithItsConfirmation) {
    for (int kind = 0; kind <= 4; ++kind) {
        received.clear();
        ASSERT_EQ(socket.SendStatusFrame(0x1234, kind), 1);
        ASSERT_TRUE(ReadUntil(0x174));
        std::string payload = Word(0x1234) + std::string(24, '\0');
        const size_t at[] = {0, 8, 12, 16, 24};
        if (kind > 0)
            payload.replace(at[kind], 4, Word(1));
        EXPECT_EQ(received, Frame(0x174, payload)) << kind;
    }
    CreateMainWindow(true);
    received.clear();
    peer.Write(Frame(0x8000021A, Field("Alice", 20), 1)); // the answer is on its way
    EXPECT_EQ(socket.TrustExitAndConfirm(), 1);
    ASSERT_TRUE(ReadUntil(0x21A));
    EXPECT_EQ(received, Frame(0x21A, Field("Alice", 20)));
    EXPECT_FALSE(Open());
    EXPECT_EQ(socket.SendStatusFrame(1, 1), 0);
}

TEST_F(FrameworkFramesTest, PartialFrameAndConfirmedSend) {
    DWORD total = 99;
    peer.Write(Frame(0x300, "0123456789").substr(0, 5));
    ASSERT_TRUE(PumpUntil([&] { return socket.GetPartialFrame(&total) == 5; }));
    EXPECT_EQ(total, 0u);
    peer.Write(Frame(0x300, "0123456789").substr(5, 3));
    ASSERT_TRUE(PumpUntil([&] { return socket.GetPartialFrame(&total) == 8; }));
    EXPECT_EQ(total, 18u);

    peer.Write(Frame(0x300, "0123456789").substr(8));
    ASSERT_TRUE(PumpUntil([&] { return socket.GetPartialFrame(&total) == 0; }));

    // The confirmation is waited for and still handled: here it is a
    // question of the address, which gets its answer.
    peer.Write(Frame(0x231, ""));
    const tagMSGHEADER request{0x300, 0, 0};
    EXPECT_EQ(socket.SendAndConfirm(&request, 0x231), 0);
    EXPECT_TRUE(ReadUntil(0x80000231));
    EXPECT_EQ(socket.StopConnect(), 1); // no connect runs

    // The framework tests the result for failure: a closed socket is one.
    socket.Close();
    EXPECT_EQ(socket.SendAndConfirm(&request, 0x231), 1);
}

TEST_F(FrameworkFramesTest, ConnectAndLoginSendsTheLoginAndKeepsTheTableNumber) {
    ProcessArguments args({"pellor", "3", "Dora", "朵拉", "ticket", "513", "大厅", "127.0.0.1",
                           std::to_string(listener.port), "extra", "127.0.0.1", "6100", "s", "9"});
    peer.Close();
    platform_test::Peer server;
    std::thread serverThread;
    const auto answer = [&](DWORD result) {
        // The server accepts, reads the login and answers it.
        serverThread = std::thread([&, result] {
            server.fd = listener.Accept();
            std::string login;
            char buffer[256];
            while (login.size() < 116) {
                const ssize_t n = ::recv(server.fd, buffer, sizeof buffer, 0);
                if (n <= 0)
                    return;
                login.append(buffer, size_t(n));
            }
            received = login;
            server.Write(Frame(0x80000200, Word(0x00070000) + Word(0), result));
        });
    };
    answer(0x101);
    EXPECT_EQ(socket.ConnectAndLogin(), 1);
    serverThread.join();
    EXPECT_EQ(GetFrameworkTableNumber(), 7);
    EXPECT_EQ(received.substr(0, 8), Word(0x200) + Word(108));
    const std::string tail = {char(1), char(2), char(2), '\0', char(3), '\0', '\0', '\0'};
    EXPECT_EQ(received.substr(8),
              Field("Dora", 20) + Field("大厅", 40) + Field("ticket", 40) + tail);
    EXPECT_STREQ(theLaunchInfo.szUserName, "Dora");

    socket.Close();
    server.Close();
    g_tips.clear();
    answer(4);
    EXPECT_EQ(socket.ConnectAndLogin(), 0);
    serverThread.join();
    EXPECT_EQ(g_tips, (std::vector<Tip>{{"", 29914, MB_ICONHAND, 0}}));
    EXPECT_FALSE(Open());

    // Any other refusal has its own notice.
    server.Close();
    g_tips.clear();
    answer(2);
    EXPECT_EQ(socket.ConnectAndLogin(), 0);
    serverThread.join();
    EXPECT_EQ(g_tips, (std::vector<Tip>{{"", 29915, MB_ICONHAND, 0}}));
    EXPECT_FALSE(Open());

    ProcessArguments tooFew({"pellor", "3"});
    g_tips.clear();
    EXPECT_EQ(socket.ConnectAndLogin(), 0);
    EXPECT_EQ(g_tips, (std::vector<Tip>{{"", 29912, MB_ICONHAND, 0}}));
}

TEST_F(FrameworkFramesTest, IdleSecondsComeFromTheSharedSettings) {
    EXPECT_EQ(socket.GetIdleSeconds(), 120);
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKey(HKEY_CURRENT_USER, "Software\\Quillane\\Game\\Share", &key),
              ERROR_SUCCESS);
    const DWORD seconds = 45;
    RegSetValueEx(key, "IdleSecond", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&seconds), 4);
    RegCloseKey(key);
    EXPECT_EQ(socket.GetIdleSeconds(), 45);
}

} // namespace
