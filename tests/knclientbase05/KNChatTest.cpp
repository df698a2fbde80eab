#include "tests/Tablehub/ChatFixture.h"

#include "knclientbase05/KNChat.h"

#include <algorithm>

using namespace chat_test;

namespace {

class KNChatTest : public ChatTest {
protected:
    // A wrapper made after the control file was given this version.
    std::unique_ptr<CKNChat> CreateChat(WORD major, WORD minor, WORD build, WORD revision) {
        UseControlVersion(KNChatModule(), major, minor, build, revision);
        return CreateChat();
    }
    std::unique_ptr<CKNChat> CreateChat() {
        auto chat = std::make_unique<CKNChat>();
        EXPECT_TRUE(chat->Create(nullptr, "chat", WS_VISIBLE, ControlRect(), &pane, 1));
        return chat;
    }
    static void CallGatedMembers(CKNChat& chat) {
        chat.CallMember70(TRUE);
        chat.CallMember71("gated");
        chat.CallMember72();
        chat.CallMember73(FALSE);
        chat.CallMember74(TRUE);
    }
};

TEST_F(KNChatTest, HostsTheOlderControlInItsOwnWindow) {
    auto chat = CreateChat();
    EXPECT_TRUE(CKNChat::GetClsid() == kChatControlClsid);
    EXPECT_EQ(CWnd::FromHandlePermanent(chat->m_hWnd), chat.get());
    EXPECT_EQ(chat->GetParent(), &pane);
    EXPECT_EQ(StateOf(*chat).kind, ChatControlKind::Older);
    EXPECT_STREQ(chat->GetControlVersion().GetVersionText(), "2.5.1.30");
    // A second Create on a living wrapper is refused and keeps the window.
    HWND first = chat->m_hWnd;
    EXPECT_FALSE(chat->Create(nullptr, "again", 0, ControlRect(), &pane, 2));
    EXPECT_EQ(chat->m_hWnd, first);
}

TEST_F(KNChatTest, AtVersion2_5_1_29OnlyTheFirstTwoGatedMembersReachTheControl) {
    auto chat = CreateChat(2, 5, 1, 29);
    CallGatedMembers(*chat);
    EXPECT_EQ(CallIds(*chat), (std::vector<DISPID>{70, 71}));
    EXPECT_EQ(LastCall(*chat, 70).args[0].AsBool(), TRUE);
    EXPECT_STREQ(LastCall(*chat, 71).args[0].text, "gated");
}

TEST_F(KNChatTest, AtVersion2_5_1_30AllGatedMembersReachTheControl) {
    auto chat = CreateChat(2, 5, 1, 30);
    CallGatedMembers(*chat);
    EXPECT_EQ(CallIds(*chat), (std::vector<DISPID>{70, 71, 72, 73, 74}));
    EXPECT_EQ(LastCall(*chat, 73).args[0].type, VT_BOOL);
    EXPECT_EQ(LastCall(*chat, 73).args[0].AsBool(), FALSE);
}

TEST_F(KNChatTest, TheVersionIsReadOnceAtConstruction) {
    auto chat = CreateChat(2, 5, 1, 28);
    UseControlVersion(KNChatModule(), 3, 0, 0, 0);
    CallGatedMembers(*chat);
    EXPECT_TRUE(CallIds(*chat).empty());
    EXPECT_STREQ(chat->GetControlVersion().GetVersionText(), "2.5.1.28");
}

TEST_F(KNChatTest, WithoutTheControlFileGatedMembersDoNothingAndTheOthersStillCall) {
    ASSERT_TRUE(UnregisterBuiltinModule("KNChat.dll"));
    auto chat = CreateChat();
    EXPECT_FALSE(chat->GetControlVersion().IsAtLeast("0.0.0.1"));
    CallGatedMembers(*chat);
    EXPECT_TRUE(CallIds(*chat).empty());

    chat->EnableControl(TRUE);
    chat->SetServerAddress("10.0.0.5");
    chat->SetServerPort(7001);
    EXPECT_TRUE(chat->Connect());
    EXPECT_STREQ(chat->GetServerAddress(), "10.0.0.5");
    EXPECT_EQ(chat->GetServerPort(), 7001);
    EXPECT_EQ(chat->SetUserValue("玩家乙", 15), 1);
    chat->AboutBox();
    EXPECT_EQ(CallIds(*chat), (std::vector<DISPID>{57, 18, 19, 35, 18, 19, 64, DISPID_ABOUTBOX}));
    const ChatControlState& state = StateOf(*chat);
    EXPECT_TRUE(state.enabled);
    EXPECT_TRUE(state.connectAsked);
    ASSERT_EQ(state.userValues.size(), 1u);
    EXPECT_EQ(state.userValues[0].first, "玩家乙");
    EXPECT_EQ(state.userValues[0].second, 15);
}

TEST_F(KNChatTest, AWrapperWithoutAWindowCallsNothing) {
    CKNChat chat;
    chat.EnableControl(TRUE);
    EXPECT_FALSE(chat.Connect());
    EXPECT_EQ(chat.SetUserValue("x", 1), 0);
    EXPECT_STREQ(chat.GetServerAddress(), "");
    chat.CallMember70(TRUE);
}

TEST_F(KNChatTest, TheWindowDiesWithTheWrapper) {
    HWND window = nullptr;
    {
        auto chat = CreateChat();
        window = chat->m_hWnd;
        ASSERT_NE(ChatControlStateOf(window), nullptr);
    }
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(ChatControlStateOf(window), nullptr);
}

} // namespace
