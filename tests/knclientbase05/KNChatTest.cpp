#include "tests/Tablehub/ChatFixture.h"

#include "knclientbase05/KNChat.h"

#include <algorithm>
#include <set>

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

// Made from its runtime-class record, as the framework makes it, the wrapper
// reaches every member the control has, each with the control's types (the
// control refuses, and does not record, a call of other types): what a
// property is given it gives back.
TEST_F(KNChatTest, MadeByItsClassItReachesEveryMemberOfTheControl) {
    std::unique_ptr<CObject> made(RUNTIME_CLASS(CKNChat)->CreateObject());
    auto* chat = dynamic_cast<CKNChat*>(made.get());
    ASSERT_NE(chat, nullptr);
    EXPECT_STREQ(chat->GetRuntimeClass()->m_lpszClassName, "CKNChat");
    EXPECT_TRUE(chat->IsKindOf(RUNTIME_CLASS(CWnd)));
    ASSERT_TRUE(chat->Create(nullptr, "chat", WS_VISIBLE, ControlRect(), &pane, 1));

    chat->SetBorderStyle(1);
    chat->SetAppearance(-2);
    EXPECT_EQ(chat->GetBorderStyle(), 1);
    EXPECT_EQ(chat->GetAppearance(), -2);
#define ROUND_TRIP_LONG(id)                                                                        \
    chat->SetProperty##id(1000 + id);                                                              \
    EXPECT_EQ(chat->GetProperty##id(), 1000 + id) << id;
    KNCHAT_LONG_PROPERTIES(ROUND_TRIP_LONG)
#undef ROUND_TRIP_LONG
    chat->SetProperty15(TRUE);
    EXPECT_TRUE(chat->GetProperty15());
    chat->SetServerAddress("chat.example.net");
    chat->SetServerPort(6100);
    EXPECT_STREQ(chat->GetServerAddress(), "chat.example.net");
    EXPECT_EQ(chat->GetServerPort(), 6100);
#define ROUND_TRIP_TEXT(id)                                                                        \
    chat->SetProperty##id("文字" #id);                                                             \
    EXPECT_STREQ(chat->GetProperty##id(), "文字" #id);
    KNCHAT_TEXT_PROPERTIES(ROUND_TRIP_TEXT)
#undef ROUND_TRIP_TEXT
    // An object property holds another control; what comes back calls it.
    CKNChat other;
    ASSERT_TRUE(other.Create(nullptr, "other", 0, ControlRect(), &pane, 2));
    other.SetServerPort(7001);
#define ROUND_TRIP_OBJECT(id)                                                                      \
    EXPECT_EQ(chat->GetProperty##id().m_lpDispatch, nullptr) << "not set yet: " << id;             \
    chat->SetProperty##id(other.m_hWnd);                                                           \
    EXPECT_EQ(chat->GetProperty##id().m_lpDispatch, other.m_hWnd) << id;
    KNCHAT_OBJECT_PROPERTIES(ROUND_TRIP_OBJECT)
#undef ROUND_TRIP_OBJECT
    DispatchValue port;
    ASSERT_EQ(chat->GetProperty33().InvokeHelper(19, DISPATCH_PROPERTYGET, VT_I2, &port, {}), S_OK);
    EXPECT_EQ(port.AsI2(), 7001);

    const char block[8] = {8, 0, 0, 0, 0, 0, 0, 0};
    LONG count = 5;
    chat->EnableControl(TRUE);
    EXPECT_TRUE(chat->Connect());
    chat->CallMember36();
    chat->CallMember37("a", "b", "c", "d", "e", 1, 2);
    chat->CallMember38("a", "b", "c", "d");
    chat->CallMember39("a", "b", "c", "d", "e", 1, 2);
    chat->CallMember40("a");
    chat->CallMember41();
    chat->CallMember42();
    chat->CallMember43("a");
    chat->CallMember44();
    chat->CallMember45(1, 2, "a", "b", "c", 3, 4);
    chat->CallMember46(1, 2, "a", "b");
    EXPECT_TRUE(chat->SetColumns(block, sizeof block));
    EXPECT_FALSE(chat->EnterRoom(block, sizeof block, "room", nullptr, nullptr, 3, 0))
        << "a row without columns";
    chat->CallMember48(1, TRUE);
    chat->CallMember50(500);
    chat->CallMember51("a", "b");
    chat->CallMember52(1, "a");
    chat->CallMember53();
    chat->CallMember54();
    chat->CallMember55("a");
    chat->CallMember56();
    chat->CallMember58("a");
    chat->CallMember59(TRUE);
    chat->CallMember60(FALSE);
    chat->CallMember61("a", "b", "c", "d", "e");
    chat->CallMember62("a", "b", "c", "d", "e", "f");
    chat->CallMember63("a", &count);
    EXPECT_EQ(chat->SetUserValue("玩家乙", 15), 1);
    chat->CallMember65("a", &count);
    chat->CallMember66("a", 1);
    chat->CallMember67("a", "b", 1);
    chat->CallMember68("a", "b", "c");
    chat->CallMember69("a", "b", "c", "d", "e", "f");
    CallGatedMembers(*chat);
    chat->AboutBox();

    std::set<std::pair<DISPID, WORD>> reached, members;
    for (const ChatControlCall& call : StateOf(*chat).calls)
        reached.emplace(call.id, call.flags);
    for (const auto& member : ChatControlMembers(ChatControlKind::Older))
        members.insert(member);
    EXPECT_EQ(reached, members);
    EXPECT_EQ(LastCall(*chat, 37).args[5].AsI4(), 1);
    EXPECT_EQ(LastCall(*chat, 63).args[1].reference, &count);
    chat->DestroyWindow();
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
