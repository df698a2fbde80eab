#include "ChatFixture.h"
#include "ClientFixture.h"

#include "Tablehub/EnterGameHandshake.h"
#include "Tablehub/GameSocket.h"
#include "Tablehub/KNChatEx.h"
#include "Tablehub/Tablehub.h"
#include "tests/support/ListViewText.h"

using namespace chat_test;

namespace {

// A column array with its terminating entry.
class Entries {
public:
    Entries& Add(LPCSTR caption, UINT width, const std::string& value) {
        tagCMDINFO entry{};
        entry.lpszCaption = caption;
        entry.nWidth = width;
        memcpy(entry.szValue, value.data(), std::min(value.size(), sizeof entry.szValue));
        m_entries.insert(m_entries.end() - 1, entry);
        return *this;
    }
    tagCMDINFO* data() { return m_entries.data(); }

private:
    std::vector<tagCMDINFO> m_entries{tagCMDINFO{}};
};

class ChatColumnsTest : public ChatTest {
protected:
    void SetUp() override {
        ChatTest::SetUp();
        chat = CreateChat();
    }
    void TearDown() override {
        chat.reset();
        ChatTest::TearDown();
    }
    std::unique_ptr<CKNChatEx> CreateChat() {
        auto control = std::make_unique<CKNChatEx>();
        EXPECT_TRUE(control->Create(nullptr, "chat", WS_VISIBLE, ControlRect(), &pane, 1));
        return control;
    }

    const std::string& ColumnsTable() { return LastCall(*chat, 49).table; }
    const std::string& RowTable() { return LastCall(*chat, 47).table; }
    static std::string TextAt(const std::string& table, size_t offset) {
        return std::string(table.c_str() + offset);
    }

    CTablehub client;
    std::unique_ptr<CKNChatEx> chat;
};

TEST_F(ChatColumnsTest, ANullFirstCaptionGivesTheTwoFixedColumns) {
    Entries entries;
    EXPECT_TRUE(client.EnterChat(chat.get(), entries.data()));
    const DecodedTable columns = Decode(ColumnsTable());
    EXPECT_EQ(columns.total, 56u);
    EXPECT_EQ(columns.count, 2u);
    EXPECT_EQ(columns.widths, (std::vector<DWORD>{20, 20}));
    EXPECT_EQ(columns.Text(0), "用户名");
    EXPECT_EQ(columns.Text(1), "昵称");
    EXPECT_EQ(ColumnsTable().size(), 56u);
}

TEST_F(ChatColumnsTest, OneEntryOfWidth32) {
    Entries entries;
    entries.Add("积分", 32, "300");
    EXPECT_TRUE(client.EnterChat(chat.get(), entries.data()));
    const std::string& columns = ColumnsTable();
    const DecodedTable decoded = Decode(columns);
    EXPECT_EQ(decoded.total, 92u);
    EXPECT_EQ(decoded.count, 3u);
    EXPECT_EQ(decoded.widths, (std::vector<DWORD>{20, 20, 32}));
    ASSERT_EQ(columns.size(), 92u);
    EXPECT_EQ(TextAt(columns, 20), "用户名");
    EXPECT_EQ(TextAt(columns, 40), "昵称");
    EXPECT_EQ(TextAt(columns, 60), "积分");

    const std::string& row = RowTable();
    ASSERT_EQ(row.size(), 92u);
    EXPECT_EQ(TextAt(row, 20), "玩家甲");
    EXPECT_EQ(TextAt(row, 40), "小明");
    EXPECT_EQ(TextAt(row, 60), "300");
    // Behind each text its field holds only zeros.
    EXPECT_EQ(row.substr(60 + 3), std::string(29, '\0'));
}

TEST_F(ChatColumnsTest, EnterChatConnectsDeclaresAndEntersInThisOrder) {
    Entries entries;
    entries.Add("积分", 16, "12").Add("级别", 20, "大师");
    const int result = client.EnterChat(chat.get(), entries.data());
    EXPECT_EQ(CallIds(*chat), (std::vector<DISPID>{57, 18, 19, 35, 49, 47}));
    EXPECT_EQ(LastCall(*chat, 57).args[0].AsBool(), TRUE);
    EXPECT_STREQ(LastCall(*chat, 18).args[0].text, "chat.example.net");
    EXPECT_EQ(LastCall(*chat, 19).args[0].type, VT_I2);
    EXPECT_EQ(LastCall(*chat, 19).args[0].AsI2(), 6100);

    const ChatControlCall& columns = LastCall(*chat, 49);
    EXPECT_EQ(columns.args[0].type, VT_INT_PTR);
    EXPECT_EQ(columns.args[1].AsI4(), 56 + 20 + 24);
    const ChatControlCall& enter = LastCall(*chat, 47);
    EXPECT_EQ(enter.args[1].AsI4(), 100);
    EXPECT_STREQ(enter.args[2].text, "欢乐大厅");
    EXPECT_STREQ(enter.args[3].text, "");
    EXPECT_STREQ(enter.args[4].text, "");
    EXPECT_EQ(enter.args[5].AsI4(), LONG(GetLoginTableNumber()));
    EXPECT_EQ(enter.args[6].AsI4(), 0);

    // The control took the columns and the row it was given.
    const ChatControlState& state = StateOf(*chat);
    EXPECT_EQ(result, TRUE);
    EXPECT_TRUE(state.enabled);
    EXPECT_TRUE(state.connectAsked);
    EXPECT_EQ(state.columnCaptions, (std::vector<std::string>{"用户名", "昵称", "积分", "级别"}));
    ASSERT_EQ(state.ownRow, 0);
    EXPECT_EQ(state.rows[0], (std::vector<std::string>{"玩家甲", "小明", "12", "大师"}));
    EXPECT_EQ(state.room, "欢乐大厅");
}

TEST_F(ChatColumnsTest, FiftyEntriesAreAcceptedAndFiftyOneRefusedUntouched) {
    Entries fifty;
    for (int i = 0; i < kMaxChatColumns; ++i)
        fifty.Add("c", 6, std::to_string(i));
    EXPECT_TRUE(client.EnterChat(chat.get(), fifty.data()));
    const DecodedTable columns = Decode(ColumnsTable());
    EXPECT_EQ(columns.count, 52u);
    EXPECT_EQ(columns.total, 56u + 50u * 10u);
    EXPECT_EQ(Decode(RowTable()).Text(51), "49");

    auto fresh = CreateChat();
    Entries fiftyOne = fifty;
    fiftyOne.Add("c", 6, "50");
    EXPECT_EQ(client.EnterChat(fresh.get(), fiftyOne.data()), 0);
    EXPECT_EQ(client.UpdateChatField(fresh.get(), fiftyOne.data()), 0);
    EXPECT_TRUE(CallIds(*fresh).empty());
    EXPECT_FALSE(StateOf(*fresh).enabled);
}

TEST_F(ChatColumnsTest, ATableOverTheControlsBufferIsRefusedUntouched) {
    Entries exact;
    exact.Add("wide", 1024 - 56 - 4, "v"); // exactly 1,024 bytes
    EXPECT_TRUE(client.EnterChat(chat.get(), exact.data()));
    EXPECT_EQ(ColumnsTable().size(), 1024u);

    auto fresh = CreateChat();
    Entries over;
    over.Add("wide", 1024 - 56 - 3, "v");
    EXPECT_EQ(client.EnterChat(fresh.get(), over.data()), 0);
    Entries huge;
    huge.Add("a", 0xFFFFFFF0u, "v").Add("b", 0x20u, "v"); // a sum that wraps 32 bits
    EXPECT_EQ(client.EnterChat(fresh.get(), huge.data()), 0);
    Entries empty;
    empty.Add("zero", 0, "v");
    EXPECT_EQ(client.EnterChat(fresh.get(), empty.data()), 0);
    EXPECT_EQ(client.UpdateChatField(fresh.get(), over.data()), 0);
    EXPECT_TRUE(CallIds(*fresh).empty());
}

TEST_F(ChatColumnsTest, OnlyAnExtendedChatControlWithAnArrayIsUsed) {
    Entries entries;
    CWnd plain;
    ASSERT_TRUE(plain.Create(nullptr, "plain", 0, RECT{0, 0, 10, 10}, &pane, 2));
    EXPECT_EQ(client.EnterChat(&plain, entries.data()), 0);
    EXPECT_EQ(client.EnterChat(nullptr, entries.data()), 0);
    EXPECT_EQ(client.UpdateChatField(nullptr, entries.data()), 0);
    EXPECT_EQ(client.EnterChat(chat.get(), nullptr), 0);
    EXPECT_EQ(client.UpdateChatField(chat.get(), nullptr), 0);
    EXPECT_TRUE(CallIds(*chat).empty());
}

TEST_F(ChatColumnsTest, LongCaptionsAndValuesAreCutAtACharacterBoundary) {
    Entries entries;
    const std::string chinese64 = [] {
        std::string text;
        while (text.size() < 64)
            text += "豆";
        return text;
    }();
    entries
        .Add("一二三四五六七八九十", 16, chinese64) // value without terminator
        .Add("abc", 100, chinese64)
        .Add("长", 2, "xy");
    EXPECT_TRUE(client.EnterChat(chat.get(), entries.data()));
    const DecodedTable columns = Decode(ColumnsTable());
    EXPECT_EQ(columns.Text(2), "一二三四五六七"); // 14 of 15 bytes: no half character
    EXPECT_EQ(columns.fields[2].substr(14), std::string(2, '\0'));
    EXPECT_EQ(columns.Text(4), ""); // a double-byte caption does not fit in 1 byte
    const DecodedTable row = Decode(RowTable());
    EXPECT_EQ(row.Text(2), chinese64.substr(0, 14));
    EXPECT_EQ(row.Text(3), chinese64); // read no further than the 64-byte value
    EXPECT_EQ(row.Text(4), "x");
}

TEST_F(ChatColumnsTest, AfterEnteringTheGameTheChatUsesTheLaunchRecordAndTheLoginsTable) {
    // The server seats six players at table 37.
    std::string reply = peer_test::LeWord(6 | 37u << 16);
    for (int seat = 0; seat < 6; ++seat)
        reply += peer_test::LeWord(100) + std::string(20, 'u') + client_test::Field("p", 24);
    reply += peer_test::LeWord(0);
    peer_test::FrameServer server{[&](const peer_test::FrameRecord& frame) {
        return frame.type == 0x200
                   ? std::vector<std::string>{peer_test::WireFrame(0x80000200, reply, 1)}
                   : std::vector<std::string>{};
    }};
    ProcessArguments arguments({"pellor", "3", "玩家乙", "阿强", "ticket", "513", "新手房",
                                "127.0.0.1", std::to_string(server.Port()), "extra", "chat.example",
                                "7002", "大师", "4096"});
    client_test::TestClient player;
    ASSERT_EQ(player.Init(), 1);
    ASSERT_EQ(player.EnterGame(), 1);

    Entries entries;
    entries.Add("级别", 16, player.m_szLevel);
    const int entered = player.EnterChat(chat.get(), entries.data());
    GetGameSocket().Close();
    EXPECT_EQ(entered, TRUE);
    EXPECT_EQ(LastCall(*chat, 47).args[5].AsI4(), 37);
    const ChatControlState& state = StateOf(*chat);
    EXPECT_EQ(state.serverAddress, "chat.example");
    EXPECT_EQ(state.serverPort, 7002);
    EXPECT_EQ(state.room, "新手房");
    EXPECT_EQ(state.tableNumber, 37);
    ASSERT_EQ(state.ownRow, 0);
    EXPECT_EQ(state.rows[0], (std::vector<std::string>{"玩家乙", "阿强", "大师"}));
    EXPECT_TRUE(player.tips.empty());
}

TEST_F(ChatColumnsTest, TheRowUsesTheLaunchRecordsNames) {
    memset(theLaunchInfo.szUserName, 'n', sizeof theLaunchInfo.szUserName); // no terminator
    strcpy(theLaunchInfo.szNickName, "别名");
    memset(theLaunchInfo.szRoom, 'r', sizeof theLaunchInfo.szRoom);
    memset(theLaunchInfo.szChatServer, 'h', sizeof theLaunchInfo.szChatServer);
    Entries entries;
    EXPECT_TRUE(client.EnterChat(chat.get(), entries.data()));
    const DecodedTable row = Decode(RowTable());
    EXPECT_EQ(row.Text(0), std::string(19, 'n'));
    EXPECT_EQ(row.Text(1), "别名");
    EXPECT_STREQ(LastCall(*chat, 47).args[2].text, std::string(40, 'r').c_str());
    EXPECT_EQ(StateOf(*chat).serverAddress, std::string(40, 'h'));
}

TEST_F(ChatColumnsTest, UpdateChatFieldNeedsControlVersion2_7_0_13) {
    Entries entries;
    entries.Add("积分", 16, "300");
    struct Case {
        WORD version[4];
        bool called;
    };
    for (const Case& c :
         {Case{{2, 7, 0, 12}, false}, Case{{2, 7, 0, 13}, true}, Case{{3, 0, 0, 0}, true}}) {
        UseControlVersion(KNChatExModule(), c.version[0], c.version[1], c.version[2], c.version[3]);
        auto control = CreateChat();
        ASSERT_TRUE(client.EnterChat(control.get(), entries.data()));
        const size_t before = StateOf(*control).calls.size();
        memcpy(entries.data()[0].szValue, "310", 4);
        const int result = client.UpdateChatField(control.get(), entries.data());
        const ChatControlState& state = StateOf(*control);
        EXPECT_EQ(state.calls.size() - before, c.called ? 1u : 0u);
        EXPECT_EQ(result, c.called ? TRUE : FALSE);
        EXPECT_EQ(state.rows.at(0).at(2), c.called ? "310" : "300");
        if (c.called) {
            const DecodedTable row = Decode(state.calls.back().table);
            EXPECT_EQ(state.calls.back().id, 88);
            EXPECT_EQ(row.total, 76u);
            EXPECT_EQ(row.Text(0), "玩家甲");
        }
        memcpy(entries.data()[0].szValue, "300", 4);
    }
}

TEST_F(ChatColumnsTest, TheUsersStandInAListUnderTheColumnsTheProgramGives) {
    HWND list = StateOf(*chat).userList;
    ASSERT_NE(list, nullptr);
    EXPECT_FALSE(IsWindowVisible(list)) << "no columns yet";
    Entries entries;
    entries.Add("积分", 16, "300").Add("游戏豆", 16, "5000").Add("级别", 32, "新兵");
    entries.Add("旁观对象", 20, "");
    ASSERT_TRUE(client.EnterChat(chat.get(), entries.data()));
    // Another seat's player, as the table fills him in.
    EXPECT_TRUE(chat->SetUserField("bot1", "积分", "120"));
    EXPECT_TRUE(chat->SetUserField("bot1", "级别", "列兵"));
    memcpy(entries.data()[0].szValue, "310", 4);
    EXPECT_TRUE(client.UpdateChatField(chat.get(), entries.data()));

    ASSERT_TRUE(IsWindowVisible(list));
    using platform_test::ListViewColumnWidth;
    using platform_test::ListViewTexts;
    EXPECT_EQ(ListViewTexts(list, -1),
              (std::vector<std::string>{"用户名", "昵称", "积分", "游戏豆", "级别", "旁观对象"}));
    EXPECT_EQ(ListViewTexts(list, 0),
              (std::vector<std::string>{"玩家甲", "小明", "310", "5000", "新兵", ""}));
    EXPECT_EQ(ListViewTexts(list, 1),
              (std::vector<std::string>{"bot1", "", "120", "", "列兵", ""}));
    // The widths follow the table's: equal fields are equally wide, the
    // 32-byte level wider than the 16-byte score, and the columns together
    // wider than the pane, which scrolls.
    EXPECT_EQ(ListViewColumnWidth(list, 0), ListViewColumnWidth(list, 5));
    EXPECT_EQ(ListViewColumnWidth(list, 2), ListViewColumnWidth(list, 3));
    EXPECT_GT(ListViewColumnWidth(list, 4), ListViewColumnWidth(list, 2));
    RECT area{};
    GetWindowRect(list, &area);
    RECT control{};
    chat->GetWindowRect(&control);
    EXPECT_EQ(area.right - area.left, control.right - control.left);
    EXPECT_GT(3 * ListViewColumnWidth(list, 0), area.right - area.left);

    // Entering again with other columns starts the list afresh.
    Entries fewer;
    fewer.Add("积分", 16, "1");
    ASSERT_TRUE(client.EnterChat(chat.get(), fewer.data()));
    EXPECT_EQ(ListViewTexts(list, -1), (std::vector<std::string>{"用户名", "昵称", "积分"}));
    EXPECT_EQ(ListViewTexts(list, 0), (std::vector<std::string>{"玩家甲", "小明", "1"}));
    EXPECT_EQ(SendMessage(list, LVM_GETITEMCOUNT, 0, 0), 1);
}

} // namespace
