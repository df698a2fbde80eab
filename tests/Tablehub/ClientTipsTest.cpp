// The client's own notices: a program that keeps the base tip callbacks sees
// the library's notices in the framework's message box and answers them
// there; Init routes the library's notices to them.

#include "tests/support/DialogFixture.h"

#include "Tablehub/GameSocket.h"
#include "Tablehub/Tablehub.h"
#include "knclientbase05/SocketStartup.h"
#include "platform/controls/MessageBox.h"

#include <string>

using platform_test::Script;

namespace {

constexpr int kBoxTextId = 0xFFFF;

class ClientTipsTest : public platform_test::DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        std::string error;
        ASSERT_TRUE(RegisterResourceModuleText(
            kStrings, "STRINGTABLE\nBEGIN\n 29674 \"message too long\"\nEND\n", ".", &error))
            << error;
        strings = LoadLibrary(kStrings);
        ASSERT_NE(strings, nullptr);
        AfxSetResourceHandle(strings);
    }
    void TearDown() override {
        AfxSetResourceHandle(m_module);
        FreeLibrary(strings);
        UnregisterResourceModule(kStrings);
        DialogTest::TearDown();
    }

    // Reads the box's text and style, then presses the given button.
    void AnswerWith(int button) {
        Script::Run({[this, button] {
            HWND box = GetActiveWindow();
            shownText = TextOf(GetDlgItem(box, kBoxTextId));
            hasNo = GetDlgItem(box, IDNO) != nullptr;
            Click(GetDlgItem(box, button));
        }});
    }

    static constexpr const char* kStrings = "ClientTips_res.dll";
    HINSTANCE strings = nullptr;
    std::string shownText;
    bool hasNo = false;
    CTablehub client;
};

TEST_F(ClientTipsTest, TheBaseCallbacksShowTheNoticeAndGiveTheAnswer) {
    AnswerWith(IDNO);
    EXPECT_EQ(client.OnTipMessage("继续等待吗?", MB_YESNO | MB_ICONQUESTION, 7), IDNO);
    EXPECT_EQ(shownText, "继续等待吗?");
    EXPECT_TRUE(hasNo);

    AnswerWith(IDOK);
    EXPECT_EQ(client.OnTipMessage(29674u, MB_ICONINFORMATION, UINT(-1)), IDOK);
    EXPECT_EQ(shownText, "message too long");
    EXPECT_FALSE(hasNo);
}

TEST_F(ClientTipsTest, InitSendsTheLibrarysNoticesToTheClient) {
    ASSERT_EQ(client.Init(), 1);
    EXPECT_EQ(GetRegisteredClient(), &client);
    EXPECT_EQ(GetSocketStartupData().wHighVersion, 0x0202);

    AnswerWith(IDOK);
    EXPECT_EQ(GetGameSocket().ShowTipText("对方已离开", MB_OK, 0), IDOK);
    EXPECT_EQ(shownText, "对方已离开");
    AnswerWith(IDOK);
    EXPECT_EQ(GetGameSocket().ShowTipId(29674, MB_OK, 0), IDOK);
    EXPECT_EQ(shownText, "message too long");
    EXPECT_TRUE(Script::Done());
}

} // namespace
