#include "ChatFixture.h"

#include "Tablehub/KNChatEx.h"

using namespace chat_test;

namespace {

constexpr UINT kOwnLineMessage = 0x6A7;
constexpr UINT kLineMessage = 0x6A8;

// A column table laid out by hand: widths and texts, or raw header numbers.
std::string MakeTable(const std::vector<DWORD>& widths, const std::vector<std::string>& texts) {
    size_t total = 8 + 4 * widths.size();
    for (DWORD w : widths)
        total += w;
    std::string bytes(total, '\0');
    const DWORD header[2] = {DWORD(total), DWORD(widths.size())};
    memcpy(bytes.data(), header, 8);
    size_t position = 8 + 4 * widths.size();
    for (size_t i = 0; i < widths.size(); ++i) {
        memcpy(bytes.data() + 8 + 4 * i, &widths[i], 4);
        if (i < texts.size())
            memcpy(bytes.data() + position, texts[i].data(),
                   std::min<size_t>(texts[i].size(), widths[i]));
        position += widths[i];
    }
    return bytes;
}

class KNChatExTest : public ChatTest {
protected:
    std::unique_ptr<CKNChatEx> CreateChat() {
        auto chat = std::make_unique<CKNChatEx>();
        EXPECT_TRUE(chat->Create(nullptr, "chat", WS_VISIBLE, ControlRect(), &pane, 1));
        return chat;
    }
    std::unique_ptr<CKNChatEx> CreateChat(WORD major, WORD minor, WORD build, WORD revision) {
        UseControlVersion(KNChatExModule(), major, minor, build, revision);
        return CreateChat();
    }
    static void CallGatedMembers(CKNChatEx& chat) {
        const std::string table = MakeTable({20, 20}, {"a", "b"});
        chat.CallMember81(1);
        chat.CallMember82("x");
        chat.CallMember83(3);
        chat.CallMember84();
        chat.CallMember85(TRUE);
        chat.CallMember86(FALSE);
        chat.CallMember87(TRUE);
        chat.UpdateUserFields(table.data(), LONG(table.size()));
    }
    // Sets two columns and enters the row ("玩家甲", "小明").
    static void EnterTwoColumns(CKNChatEx& chat) {
        const std::string captions = MakeTable({20, 20}, {"用户名", "昵称"});
        ASSERT_TRUE(chat.SetColumns(captions.data(), LONG(captions.size())));
        const std::string row = MakeTable({20, 20}, {"玩家甲", "小明"});
        ASSERT_TRUE(chat.EnterRoom(row.data(), LONG(row.size()), "大厅", "", "", 5, 0));
    }
};

TEST_F(KNChatExTest, HostsTheExtendedControlWhichReportsAVersionWithEveryMember) {
    auto chat = CreateChat();
    EXPECT_TRUE(CKNChatEx::GetClsid() == kChatExControlClsid);
    EXPECT_EQ(StateOf(*chat).kind, ChatControlKind::Extended);
    EXPECT_TRUE(chat->GetControlVersion().IsAtLeast("2.7.0.13"));
    EXPECT_EQ(chat->GetDlgCtrlID(), 1);
}

TEST_F(KNChatExTest, TheSidePanesSetUpArrivesWithItsTypes) {
    auto chat = CreateChat();
    chat->CallMember53();
    EXPECT_TRUE(chat->CallMember50(500));
    chat->CallMember70(FALSE);
    chat->CallMember41();
    chat->SetNotifyWindow(pane.m_hWnd, kOwnLineMessage, kLineMessage);
    chat->CallMember87(TRUE);
    EXPECT_EQ(CallIds(*chat), (std::vector<DISPID>{53, 50, 70, 41, 76, 87}));
    EXPECT_EQ(LastCall(*chat, 50).args[0].type, VT_I2);
    EXPECT_EQ(LastCall(*chat, 70).args[0].type, VT_BOOL);
    const ChatControlCall& notify = LastCall(*chat, 76);
    EXPECT_EQ(notify.args[0].type, VT_INT_PTR);
    const ChatControlState& state = StateOf(*chat);
    EXPECT_EQ(state.notifyWindow, pane.m_hWnd);
    EXPECT_EQ(state.ownLineMessage, kOwnLineMessage);
    EXPECT_EQ(state.lineMessage, kLineMessage);
    EXPECT_EQ(state.lineLimit, 500u);
}

TEST_F(KNChatExTest, GatesFollowTheControlFilesVersion) {
    struct Case {
        WORD version[4];
        std::vector<DISPID> reached;
    };
    const Case cases[] = {
        {{2, 5, 1, 28}, {}},
        {{2, 5, 1, 29}, {81, 82, 83}},
        {{2, 5, 1, 30}, {81, 82, 83, 84, 85, 86}},
        {{2, 7, 0, 12}, {81, 82, 83, 84, 85, 86}},
        {{2, 7, 0, 13}, {81, 82, 83, 84, 85, 86, 87, 88}},
        {{3, 0, 0, 0}, {81, 82, 83, 84, 85, 86, 87, 88}},
    };
    for (const Case& c : cases) {
        auto chat = CreateChat(c.version[0], c.version[1], c.version[2], c.version[3]);
        CallGatedMembers(*chat);
        EXPECT_EQ(CallIds(*chat), c.reached) << chat->GetControlVersion().GetVersionText();
    }
}

TEST_F(KNChatExTest, WithoutTheSharedFolderEveryGatedMemberIsSkipped) {
    ASSERT_EQ(RegDeleteKey(HKEY_CURRENT_USER, "Software\\Quillane\\Game\\Share"), ERROR_SUCCESS);
    auto chat = CreateChat();
    EXPECT_STREQ(chat->GetControlVersion().GetVersionText(), "");
    CallGatedMembers(*chat);
    EXPECT_TRUE(CallIds(*chat).empty());
    const std::string table = MakeTable({20, 20}, {});
    EXPECT_FALSE(chat->UpdateUserFields(table.data(), LONG(table.size())));
    chat->EnableControl(TRUE); // ungated members still reach the control
    EXPECT_EQ(CallIds(*chat), (std::vector<DISPID>{57}));
}

TEST_F(KNChatExTest, LinesGoToTheNotifyWindowWhichShowsThemThroughTheControl) {
    auto chat = CreateChat();
    std::vector<std::pair<UINT, std::string>> seen;
    for (UINT message : {kOwnLineMessage, kLineMessage})
        pane.hooks[message] = [&, message](WPARAM, LPARAM lParam) -> LRESULT {
            const std::string text = reinterpret_cast<LPCSTR>(lParam);
            seen.emplace_back(message, text);
            chat->AppendChatMarkup(text.c_str());
            return 0;
        };
    // Before a notify window is set the control shows what arrives itself.
    ChatControlReceiveLine(chat->m_hWnd, "[甲]：早");
    EXPECT_TRUE(seen.empty());
    chat->SetNotifyWindow(pane.m_hWnd, kOwnLineMessage, kLineMessage);
    ChatControlReceiveLine(chat->m_hWnd, "[乙]：你好");
    ChatControlSendLine(chat->m_hWnd, "大家好");
    EXPECT_EQ(seen, (std::vector<std::pair<UINT, std::string>>{{kLineMessage, "[乙]：你好"},
                                                               {kOwnLineMessage, "大家好"}}));
    EXPECT_EQ(StateOf(*chat).lines, (std::vector<std::string>{"[甲]：早", "[乙]：你好", "大家好"}));
}

TEST_F(KNChatExTest, TheLineListKeepsItsLimitAndCanBeCleared) {
    auto chat = CreateChat();
    EXPECT_TRUE(chat->CallMember50(3));
    for (int i = 0; i < 5; ++i)
        chat->AddText(0, std::to_string(i).c_str());
    EXPECT_EQ(StateOf(*chat).lines, (std::vector<std::string>{"2", "3", "4"}));
    chat->CallMember50(-4); // no negative limit: one line is kept
    EXPECT_EQ(StateOf(*chat).lines, (std::vector<std::string>{"4"}));
    chat->CallMember53();
    EXPECT_TRUE(StateOf(*chat).lines.empty());
}

TEST_F(KNChatExTest, AKickRequestReachesTheHostingPaneAsEventTwo) {
    auto chat = CreateChat();
    DISPID id = 0;
    std::string name;
    pane.hooks[WM_CONTROLEVENT] = [&](WPARAM wParam, LPARAM lParam) -> LRESULT {
        const auto* event = reinterpret_cast<const ControlEvent*>(lParam);
        id = event->id;
        name = (*event->args)[0].text.GetString();
        return wParam == 1 ? 1 : 0;
    };
    EXPECT_EQ(ChatControlRequestKick(chat->m_hWnd, "捣乱者"), 1);
    EXPECT_EQ(id, 2);
    EXPECT_EQ(name, "捣乱者");
    EXPECT_EQ(ChatControlRequestKick(pane.m_hWnd, "x"), 0); // not a chat control
}

TEST_F(KNChatExTest, UserFieldsFillColumnsByCaption) {
    auto chat = CreateChat();
    EXPECT_FALSE(chat->SetUserField("玩家甲", "昵称", "x")); // no columns yet
    const std::string captions = MakeTable({20, 20, 16}, {"用户名", "昵称", "积分"});
    ASSERT_TRUE(chat->SetColumns(captions.data(), LONG(captions.size())));
    EXPECT_TRUE(chat->SetUserField("玩家乙", "积分", "300"));
    EXPECT_TRUE(chat->SetUserField("玩家乙", "积分", "310"));
    EXPECT_FALSE(chat->SetUserField("玩家乙", "财富", "9"));
    EXPECT_FALSE(chat->SetUserField("", "积分", "9"));
    ASSERT_EQ(StateOf(*chat).rows.size(), 1u);
    EXPECT_EQ(StateOf(*chat).rows[0], (std::vector<std::string>{"玩家乙", "", "310"}));
    LONG users = -1;
    chat->CallMember77(&users);
    EXPECT_EQ(users, 1);
}

TEST_F(KNChatExTest, TablesWhoseNumbersDoNotAddUpAreRefused) {
    auto chat = CreateChat();
    EnterTwoColumns(*chat);
    std::vector<std::string> bad;
    std::string table = MakeTable({20, 20}, {"a", "b"});
    table[0] = 57; // total disagrees with the length
    bad.push_back(table);
    table = MakeTable({20, 20}, {"a", "b"});
    table[4] = 200; // more widths than the table holds
    bad.push_back(table);
    table = MakeTable({20, 20}, {"a", "b"});
    table[8] = 21; // widths do not fill the table
    bad.push_back(table);
    table = MakeTable({20, 20, 16}, {"a", "b", "c"}); // not the declared columns
    bad.push_back(table);
    table = MakeTable({1000, 20}, {}); // longer than 1,024 bytes
    bad.push_back(table);
    for (const std::string& b : bad) {
        EXPECT_FALSE(chat->EnterRoom(b.data(), LONG(b.size()), "r", "", "", 1, 0));
        EXPECT_FALSE(chat->UpdateUserFields(b.data(), LONG(b.size())));
    }
    EXPECT_FALSE(chat->SetColumns(bad[0].data(), LONG(bad[0].size())));
    EXPECT_FALSE(chat->SetColumns(bad[4].data(), LONG(bad[4].size())));
    EXPECT_FALSE(chat->SetColumns(nullptr, 56));
    EXPECT_FALSE(chat->SetColumns(bad[0].data(), -1));
    const ChatControlState& state = StateOf(*chat);
    EXPECT_EQ(state.columnCaptions, (std::vector<std::string>{"用户名", "昵称"}));
    EXPECT_EQ(state.rows, (std::vector<std::vector<std::string>>{{"玩家甲", "小明"}}));
    EXPECT_EQ(state.room, "大厅");
    EXPECT_EQ(state.tableNumber, 5);
}

TEST_F(KNChatExTest, AFieldWithoutTerminatorIsReadOnlyToItsWidth) {
    auto chat = CreateChat();
    const std::string captions = MakeTable({4, 4}, {"abcdefgh", "ijkl"});
    ASSERT_TRUE(chat->SetColumns(captions.data(), LONG(captions.size())));
    EXPECT_EQ(StateOf(*chat).columnCaptions, (std::vector<std::string>{"abcd", "ijkl"}));
}

TEST_F(KNChatExTest, TheControlPaintsItsUserListAndLines) {
    auto chat = CreateChat();
    chat->MoveWindow(0, 0, 240, 300);
    EnterTwoColumns(*chat);
    platform_test::PumpPending();
    const auto inkIn = [&](int top, int bottom) {
        int ink = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = 0; x < 240; ++x)
                ink += PixelOf(pane.m_hWnd, x, y) != 0xFFFFFF;
        return ink;
    };
    EXPECT_GT(inkIn(0, 40), 0);    // captions and the own row
    EXPECT_EQ(inkIn(200, 300), 0); // no lines yet
    chat->AppendChatMarkup("hello there");
    platform_test::PumpPending();
    EXPECT_GT(inkIn(200, 300), 0);
}

} // namespace
