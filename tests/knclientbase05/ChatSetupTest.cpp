#include "tests/Tablehub/ChatFixture.h"

#include "knclientbase05/ChatSetup.h"
#include "knclientbase05/KNChat.h"
#include "platform/display/Display.h"
#include "platform/resources/Resource.h"
#include "platform/system/Shell.h"
#include "tests/support/ResourceScriptText.h"

using namespace chat_test;

namespace {

// The column captions of the game's resource library, and two of a game's
// own for the optional columns.
constexpr const char8_t* kStrings = u8R"(
STRINGTABLE
BEGIN
    29923 "用户名"
    29924 "昵称"
    29927 "备注"
    4001  "等级称号"
    4002  "积分"
END
)";

class ChatSetupTest : public ChatTest {
protected:
    static constexpr const char* kModule = "ChatSetupTest_res.dll";

    void SetUp() override {
        ChatTest::SetUp();
        std::string error;
        ASSERT_TRUE(RegisterResourceModuleText(kModule, Utf8(kStrings), ".", &error)) << error;
        module = LoadLibrary(kModule);
        ASSERT_NE(module, nullptr);
        savedResources = AfxGetResourceHandle();
        AfxSetResourceHandle(module);
        ASSERT_TRUE(chat.Create(nullptr, "chat", WS_VISIBLE, ControlRect(), &pane, 1));
        savedTableNumber = GetFrameworkTableNumber();
    }
    void TearDown() override {
        chat.DestroyWindow();
        AfxSetResourceHandle(savedResources);
        FreeLibrary(module);
        UnregisterResourceModule(kModule);
        SetFrameworkTableNumber(savedTableNumber);
        ChatTest::TearDown();
    }

    DecodedTable Columns() { return Decode(LastCall(chat, 49).table); }
    DecodedTable Row() { return Decode(LastCall(chat, 47).table); }

    HINSTANCE module = nullptr;
    HINSTANCE savedResources = nullptr;
    WORD savedTableNumber = 2;
    CKNChat chat;
};

TEST_F(ChatSetupTest, ConnectsThenDeclaresTheColumnsThenEntersTheRoom) {
    SetupChatControl(&chat, 0, 0, nullptr);
    EXPECT_EQ(CallIds(chat), (std::vector<DISPID>{57, 18, 19, 35, 49, 47}));
    EXPECT_EQ(LastCall(chat, 57).args[0].AsBool(), TRUE);
    const ChatControlState& state = StateOf(chat);
    EXPECT_EQ(state.serverAddress, "chat.example.net");
    EXPECT_EQ(state.serverPort, 6100);
    EXPECT_TRUE(state.connectAsked);

    const ChatControlCall& enter = LastCall(chat, 47);
    EXPECT_STREQ(enter.args[2].text, "欢乐大厅");
    EXPECT_STREQ(enter.args[3].text, "");
    EXPECT_STREQ(enter.args[4].text, "");
    EXPECT_EQ(enter.args[5].AsI4(), LONG(GetFrameworkTableNumber()));
    EXPECT_EQ(enter.args[6].AsI4(), 0);
    EXPECT_EQ(state.ownRow, 0);
}

TEST_F(ChatSetupTest, TwoColumnsWithoutOptionalOnes) {
    SetupChatControl(&chat, 0, 0, nullptr);
    const DecodedTable columns = Columns();
    EXPECT_EQ(columns.total, 56u);
    EXPECT_EQ(columns.count, 2u);
    EXPECT_EQ(columns.widths, (std::vector<DWORD>{20, 20}));
    EXPECT_EQ(columns.Text(0), "用户名");
    EXPECT_EQ(columns.Text(1), "昵称");
    EXPECT_EQ(LastCall(chat, 49).args[1].AsI4(), 56);

    const DecodedTable row = Row();
    EXPECT_EQ(row.total, 56u);
    EXPECT_EQ(row.Text(0), "玩家甲");
    EXPECT_EQ(row.Text(1), "小明");
}

TEST_F(ChatSetupTest, FiveColumnsWithEveryOptionalOne) {
    SetupChatControl(&chat, 4001, 4002, "备注文字");
    const DecodedTable columns = Columns();
    EXPECT_EQ(columns.total, 120u);
    EXPECT_EQ(columns.count, 5u);
    EXPECT_EQ(columns.widths, (std::vector<DWORD>{20, 20, 16, 16, 20}));
    EXPECT_EQ(columns.Text(2), "等级称号");
    EXPECT_EQ(columns.Text(3), "积分");
    EXPECT_EQ(columns.Text(4), "备注");
    EXPECT_EQ(LastCall(chat, 47).args[1].AsI4(), 120);

    const DecodedTable row = Row();
    EXPECT_EQ(row.Text(2), "short");
    EXPECT_EQ(row.Text(3), "1234");
    EXPECT_EQ(row.Text(4), "备注文字");
    EXPECT_EQ(StateOf(chat).rows.at(0),
              (std::vector<std::string>{"玩家甲", "小明", "short", "1234", "备注文字"}));
}

TEST_F(ChatSetupTest, TheFifthTextIsCutAtACharacterBoundary) {
    // Ten double-byte characters: 20 bytes, of which 19 fit.
    SetupChatControl(&chat, 0, 0, "一二三四五六七八九十");
    DecodedTable row = Row();
    EXPECT_EQ(row.Text(2), "一二三四五六七八九");
    EXPECT_EQ(row.fields[2].size(), 20u);
    EXPECT_EQ(row.fields[2][18], '\0');

    SetupChatControl(&chat, 0, 0, "abcdefghijklmnopqrstuvwxyz");
    row = Row();
    EXPECT_EQ(row.Text(2), "abcdefghijklmnopqrs");
    EXPECT_EQ(row.fields[2][19], '\0');
}

TEST_F(ChatSetupTest, LaunchRecordTextsThatFillTheirFieldsAreCutSafely) {
    memset(theLaunchInfo.szUserName, 'u', sizeof theLaunchInfo.szUserName);
    memset(theLaunchInfo.szNickName, 0, sizeof theLaunchInfo.szNickName);
    for (int i = 0; i + 1 < 20; i += 2)
        memcpy(theLaunchInfo.szNickName + i, "名", 2); // 20 bytes, no terminator
    memset(theLaunchInfo.szRoom, 'r', sizeof theLaunchInfo.szRoom);
    memset(theLaunchInfo.szChatServer, 'c', sizeof theLaunchInfo.szChatServer);
    memset(theLaunchInfo.szShortText, 's', sizeof theLaunchInfo.szShortText);
    SetupChatControl(&chat, 4001, 0, nullptr);

    const DecodedTable row = Row();
    EXPECT_EQ(row.Text(0), std::string(19, 'u'));
    EXPECT_EQ(row.Text(1).size(), 18u);
    EXPECT_EQ(row.Text(2), std::string(15, 's'));
    EXPECT_EQ(StateOf(chat).room, std::string(40, 'r'));
    EXPECT_EQ(StateOf(chat).serverAddress, std::string(40, 'c'));
}

TEST_F(ChatSetupTest, TheRoomIsEnteredWithTheFrameworkLoginsTableNumber) {
    SetFrameworkTableNumber(37);
    SetupChatControl(&chat, 0, 0, nullptr);
    EXPECT_EQ(LastCall(chat, 47).args[5].AsI4(), 37);
    EXPECT_EQ(StateOf(chat).tableNumber, 37);
}

TEST_F(ChatSetupTest, ANullControlIsLeftAlone) {
    SetupChatControl(nullptr, 4001, 4002, "x");
    EXPECT_TRUE(CallIds(chat).empty());
}

TEST_F(ChatSetupTest, OpenDocumentAsksTheShellToOpenAndShow) {
    std::string seenOperation, seenFile;
    int seenShow = -1;
    platform::SetShellExecuteHook([&](LPCSTR operation, LPCSTR file, int show) -> INT_PTR {
        seenOperation = operation ? operation : "";
        seenFile = file ? file : "";
        seenShow = show;
        return 42;
    });
    HINSTANCE result = OpenDocument("C:\\Games\\readme.txt");
    platform::SetShellExecuteHook(nullptr);
    EXPECT_EQ(reinterpret_cast<INT_PTR>(result), 42);
    EXPECT_EQ(seenOperation, "open");
    EXPECT_EQ(seenFile, "C:\\Games\\readme.txt");
    EXPECT_EQ(seenShow, SW_SHOW);
}

TEST_F(ChatSetupTest, DisplayQueriesDescribeTheScreen) {
    EXPECT_EQ(GetFullScreenWidth(), platform::kHeadlessScreenWidth);
    EXPECT_EQ(GetFullScreenHeight(), platform::kHeadlessScreenHeight);
    EXPECT_EQ(IsLowColorDisplay(), 0); // the headless screen has 32 bits per pixel
}

} // namespace
