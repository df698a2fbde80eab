// The game socket's notices and the ends of its connection: the notice by
// id or text with reading held while it is open, the server notice with its
// code page, its web page and its close and end flags, the link events and
// the leave reply (closed before the client hears of them), and a
// connection that the peer or the stream ends.

#include "GameSocketFixture.h"

#include "knclientbase05/CodePageConverter.h"
#include "platform/net/Winsock.h"

namespace game_socket_test {
namespace {

// Frame 0x234: a notice by string id, or by its text when the id is 0.
std::string Notice(DWORD id, DWORD style, DWORD extra, const std::string& text = "") {
    return Frame(0x234, Word(id) + Word(style) + Word(extra) + text);
}

std::string Record(const std::string& body) {
    return Frame(0x243, body);
}

TEST_F(GameSocketTest, NoticeByIdAndByText) {
    EXPECT_EQ(CallsFor(Notice(29, MB_ICONSTOP, 5, Text("不用")) +
                       Notice(0, MB_ICONINFORMATION, 7, Text("请注意"))),
              (std::vector<std::string>{"OnTipMessage(#29,16,5)", "OnTipMessage(请注意,64,7)"}));
}

// While the notice is open, the frames behind it wait in the socket, even
// when the program turns receiving on meanwhile; they come in order after.
TEST_F(GameSocketTest, NoticeHoldsReceivingWhileItIsOpen) {
    std::vector<std::string> duringNotice;
    client.onCall = [&](const std::string& call) {
        if (call.rfind("OnTipMessage", 0) != 0)
            return;
        const size_t before = client.calls.size();
        socket.EnableReceive();
        platform_test::Settle();
        platform_test::Settle();
        duringNotice.assign(client.calls.begin() + long(before), client.calls.end());
    };
    EXPECT_EQ(CallsFor(Notice(0, 0, 0, Text("稍等")) + Record("first") + Record("second") +
                       Frame(0x229, Text("third"))),
              (std::vector<std::string>{"OnTipMessage(稍等,0,0)", "OnGameMsg(5,first)",
                                        "OnGameMsg(6,second)", "OnBreak(third)"}));
    EXPECT_TRUE(duringNotice.empty());
}

// A program that stops receiving while the notice is open (an animation
// began) keeps it stopped after the notice.
TEST_F(GameSocketTest, NoticeLeavesReceivingAsTheProgramSetIt) {
    client.onCall = [&](const std::string& call) {
        if (call.rfind("OnTipMessage", 0) == 0)
            socket.DisableReceive();
    };
    peer.Write(Notice(0, 0, 0, Text("稍等")) + Record("first") + Record("second"));
    ASSERT_TRUE(platform_test::PumpUntil([&] { return !client.calls.empty(); }));
    platform_test::Settle();
    EXPECT_EQ(client.calls, std::vector<std::string>{"OnTipMessage(稍等,0,0)"});

    client.onCall = nullptr;
    socket.EnableReceive();
    ASSERT_TRUE(platform_test::PumpUntil([&] { return client.calls.size() == 3; }));
    EXPECT_EQ(client.calls[1], "OnGameMsg(5,first)");
    EXPECT_EQ(client.calls[2], "OnGameMsg(6,second)");
}

// Frame 0x225: text id, style, expected answer, page flag, close flag, end
// flag, text area length, the text area, then the text's code page.
struct ServerNotice {
    int textId = 0;
    DWORD style = MB_OKCANCEL;
    int expected = IDOK;
    int pageFlag = 0;
    DWORD close = 0;
    DWORD end = 0;
    std::string text = "公告";
    std::string address = "http://example.com/page?a=1";
    DWORD codePage = 936;

    std::string Area() const { return (textId == 0 ? Text(text) : "") + Text(address); }
    std::string Head(DWORD areaLength) const {
        return Word(DWORD(textId)) + Word(style) + Word(DWORD(expected)) + Word(DWORD(pageFlag)) +
               Word(close) + Word(end) + Word(areaLength);
    }
    std::string Payload(DWORD areaLength) const {
        return Head(areaLength) + Area() + Word(codePage);
    }
    std::string Build() const { return Frame(0x225, Payload(DWORD(Area().size()))); }
};

TEST_F(GameSocketTest, ServerNoticeOpensItsPageWhenTheAnswerIsTheExpectedOne) {
    ServerNotice notice;
    client.tipAnswer = IDOK;
    EXPECT_EQ(CallsFor(notice.Build()), std::vector<std::string>{"OnTipMessage(公告,1,0)"});
    EXPECT_EQ(opened, std::vector<std::string>{"open http://example.com/page?a=1 1"});

    opened.clear();
    client.tipAnswer = IDCANCEL;
    EXPECT_EQ(CallsFor(notice.Build()).size(), 1u);
    EXPECT_TRUE(opened.empty());
}

TEST_F(GameSocketTest, ServerNoticeWithoutTextShowsNothingAndOpensThePage) {
    ServerNotice notice;
    notice.textId = -1;
    EXPECT_TRUE(CallsFor(notice.Build()).empty());
    EXPECT_EQ(opened, std::vector<std::string>{"open http://example.com/page?a=1 1"});
}

TEST_F(GameSocketTest, ServerNoticeWithoutPageOpensNothing) {
    ServerNotice notice;
    notice.pageFlag = -1;
    EXPECT_EQ(CallsFor(notice.Build()).size(), 1u);
    EXPECT_TRUE(opened.empty());
}

// The shell's "open" would start any program a server names.
TEST_F(GameSocketTest, ServerNoticeOpensOnlyWebPages) {
    ServerNotice notice;
    notice.textId = -1;
    notice.address = "/usr/bin/xterm";
    CallsFor(notice.Build());
    notice.address = "HTTPS://example.com/";
    CallsFor(notice.Build());
    EXPECT_EQ(opened, std::vector<std::string>{"open HTTPS://example.com/ 1"});
}

TEST_F(GameSocketTest, ServerNoticeByIdTakesTheSharedLanguageText) {
    WriteLangFile("[String]\n7=语言文本\n");
    ServerNotice notice;
    notice.textId = 7;
    EXPECT_EQ(CallsFor(notice.Build()), std::vector<std::string>{"OnTipMessage(语言文本,1,0)"});
    EXPECT_EQ(opened, std::vector<std::string>{"open http://example.com/page?a=1 1"});
}

// A converter that marks what it converted: "T:" from 950 to 936.
int MarkingConverter(const char* source, char* destination, WORD from, WORD to, WORD) {
    const std::string marked = (from == 950 && to == 936 ? "T:" : "?:") + std::string(source);
    memcpy(destination, marked.c_str(), marked.size() + 1);
    return 1;
}

class ServerNoticeCodePageTest : public GameSocketTest {
protected:
    void SetUp() override {
        GameSocketTest::SetUp();
        saved = theCodePage;
        theCodePage.nCodePage = 936;
        theCodePage.pTranStrCodePage = MarkingConverter;
    }
    void TearDown() override {
        theCodePage = saved;
        GameSocketTest::TearDown();
    }
    tagCODEPAGECONVERTER saved{};
};

TEST_F(ServerNoticeCodePageTest, ForeignCodePageIsConverted) {
    ServerNotice notice;
    notice.codePage = 950;
    notice.text = "abc";
    EXPECT_EQ(CallsFor(notice.Build()), std::vector<std::string>{"OnTipMessage(T:abc,1,0)"});

    notice.codePage = 936;
    EXPECT_EQ(CallsFor(notice.Build()), std::vector<std::string>{"OnTipMessage(abc,1,0)"});
}

// A text area length that claims more than the frame holds: the code page
// word is not where it says, so 936 is taken, and the texts end with the frame.
TEST_F(ServerNoticeCodePageTest, LyingTextAreaLengthDoesNoHarm) {
    ServerNotice notice;
    notice.codePage = 950;
    notice.text = "abc";
    notice.pageFlag = -1;
    for (DWORD area : {DWORD(0xFFFFFFFF), DWORD(0xFFFFFFFC), DWORD(0x7FFFFFFF), DWORD(500)}) {
        SCOPED_TRACE(area);
        EXPECT_EQ(CallsFor(Frame(0x225, notice.Payload(area))),
                  std::vector<std::string>{"OnTipMessage(abc,1,0)"});
    }
    // A zero length: no text at all, and the code page word right behind.
    EXPECT_EQ(CallsFor(Frame(0x225, notice.Head(0) + Word(950))),
              std::vector<std::string>{"OnTipMessage(T:,1,0)"});
}

TEST_F(GameSocketTest, ServerNoticeCloseFlagEndsTheConnectionAndTellsTheClientOnce) {
    ServerNotice notice;
    notice.pageFlag = -1;
    notice.close = 1;
    EXPECT_EQ(CallsUntilClosed(notice.Build()),
              (std::vector<std::string>{"OnTipMessage(公告,1,0)", "OnClose(-1)"}));
    EXPECT_TRUE(PeerSeesEnd());

    Connect();
    notice.end = 1;
    EXPECT_EQ(CallsUntilClosed(notice.Build()),
              (std::vector<std::string>{"OnTipMessage(公告,1,0)", "OnClose(-1)"}));

    Connect();
    notice.close = 0;
    EXPECT_EQ(CallsUntilClosed(notice.Build()),
              (std::vector<std::string>{"OnTipMessage(公告,1,0)", "OnClose(-1)"}));
    EXPECT_TRUE(PeerSeesEnd());
}

struct LinkCase {
    DWORD subCode;
    std::string call;
};

class LinkEventTest : public GameSocketTest, public ::testing::WithParamInterface<LinkCase> {};

// The connection is closed before the client hears why, and the text it
// gets is its own copy, valid after the close.
TEST_P(LinkEventTest, ClosesThenCallsBySubCode) {
    EXPECT_EQ(CallsUntilClosed(Frame(0xFFFFFFFF, Text("服务器说明"), GetParam().subCode)),
              std::vector<std::string>{GetParam().call});
    ASSERT_EQ(client.openAtCall.size(), 1u);
    EXPECT_FALSE(client.openAtCall[0]);
    EXPECT_TRUE(PeerSeesEnd());
}

void PrintTo(const LinkCase& c, std::ostream* out) {
    *out << "sub-code " << c.subCode;
}

INSTANTIATE_TEST_SUITE_P(SubCodes, LinkEventTest,
                         ::testing::Values(LinkCase{1, "OnEscapeGame(服务器说明)"},
                                           LinkCase{2, "OnKickOut()"},
                                           LinkCase{4, "OnRoomBreak(服务器说明)"},
                                           LinkCase{8, "OnNetTimeOut(服务器说明)"},
                                           LinkCase{3, "OnError()"}, LinkCase{0, "OnError()"}));

TEST_F(GameSocketTest, LinkEventTextWithoutNulEndsWithTheFrame) {
    EXPECT_EQ(CallsUntilClosed(Frame(0xFFFFFFFF, std::string(300, 'x'), 8)),
              std::vector<std::string>{"OnNetTimeOut(" + std::string(300, 'x') + ")"});
}

TEST_F(GameSocketTest, LeaveReplyClosesThenTellsTheClient) {
    EXPECT_EQ(CallsUntilClosed(Frame(0x80000202, Text("此桌解散"), 1)),
              std::vector<std::string>{"OnLeaveGame(此桌解散)"});
    EXPECT_FALSE(client.openAtCall.at(0));
    EXPECT_TRUE(PeerSeesEnd());
}

// The connection ends by the peer: the client hears of it once, and the
// socket is closed, so nothing is sent into the dead connection.
TEST_F(GameSocketTest, PeerClosingIsReportedOnceAndClosesTheSocket) {
    peer.Close();
    ASSERT_TRUE(platform_test::PumpUntil([&] { return !client.calls.empty(); }));
    platform_test::Settle();
    platform_test::Settle();
    ASSERT_EQ(client.calls.size(), 1u);
    EXPECT_EQ(client.calls[0].rfind("OnClose(", 0), 0u);
    EXPECT_FALSE(Open());
    EXPECT_FALSE(socket.SendIdle());
}

TEST_F(GameSocketTest, PeerResetIsReportedOnce) {
    peer.Reset();
    ASSERT_TRUE(platform_test::PumpUntil([&] { return !client.calls.empty(); }));
    platform_test::Settle();
    EXPECT_EQ(client.calls,
              std::vector<std::string>{"OnClose(" + std::to_string(WSAECONNRESET) + ")"});
    EXPECT_FALSE(Open());
}

// A frame too large to be one: the stream can no longer be framed, so the
// connection is ended, on both sides, rather than left open and unread.
TEST_F(GameSocketTest, UnframeableStreamEndsTheConnection) {
    peer.Write(Word(0x243) + Word(70000));
    ASSERT_TRUE(platform_test::PumpUntil([&] { return !client.calls.empty(); }));
    EXPECT_EQ(client.calls,
              std::vector<std::string>{"OnClose(" + std::to_string(WSAEMSGSIZE) + ")"});
    EXPECT_FALSE(Open());
    EXPECT_TRUE(PeerSeesEnd());
}

} // namespace
} // namespace game_socket_test
