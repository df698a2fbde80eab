// The network layer's message-box front ends over the plain box.

#include "BoxFixture.h"

#include "knclientbase05/MessageBoxes.h"
#include "knclientbase05/SkinSettings.h"

#include <cstdlib>
#include <string>

namespace {

using platform_test::Script;
using ui_test::BoxTest;

class MessageBoxesTest : public BoxTest {
protected:
    void SetUp() override {
        BoxTest::SetUp();
        savedSkinFlag = theSkin.bSkinInUse;
        theSkin.bSkinInUse = false;
    }
    void TearDown() override {
        theSkin.bSkinInUse = savedSkinFlag;
        BoxTest::TearDown();
    }
    static HWND Box() { return GetActiveWindow(); }
    // Types into an input control of the open box.
    static void TypeInto(int id, const char* text) {
        ::SetFocus(Item(Box(), id));
        Type(text);
    }
    static void Press(int button) { Click(Item(Box(), IDC_KN_BUTTON1 + button)); }

    bool savedSkinFlag = false;
};

TEST_F(MessageBoxesTest, WithoutSkinThePlainBoxShowsTheTextAndGivesTheButton) {
    std::string caption, text;
    Script::Run({[&] {
        caption = TextOf(Box());
        text = TextOf(Item(Box(), IDC_KN_MSG_TEXT));
        Press(1);
    }});
    EXPECT_EQ(GameMessageBox("网络连接关闭!", MB_YESNO | MB_ICONQUESTION, 0), IDNO);
    EXPECT_EQ(caption, "提示"); // the plain box's template
    EXPECT_EQ(text, "网络连接关闭!");
}

TEST_F(MessageBoxesTest, IdFormShowsTheResourceString) {
    std::string text;
    Script::Run({[&] {
        text = TextOf(Item(Box(), IDC_KN_MSG_TEXT));
        Press(0);
    }});
    EXPECT_EQ(GameMessageBoxId(29705, MB_OK, 0), IDOK);
    EXPECT_EQ(text, StringOf(29705));
}

TEST_F(MessageBoxesTest, CountdownClosesWithTheDefaultButton) {
    const uint64_t start = clock.NowMs();
    EXPECT_EQ(CloseMenusAndMessageBox("稍等", MB_OKCANCEL | MB_DEFBUTTON2, 3), IDCANCEL);
    EXPECT_GE(clock.NowMs() - start, 3000u);
    EXPECT_EQ(CloseMenusAndMessageBoxId(29700, MB_YESNO, 1), IDYES);
}

TEST_F(MessageBoxesTest, OwnerFormWithoutPointerShowsNoInputAndGivesTheButton) {
    bool inputsHidden = false;
    Script::Run({[&] {
        inputsHidden = !Shown(Item(Box(), IDC_KN_INPUT1)) && !Shown(Item(Box(), IDC_KN_INPUT2));
        Press(1);
    }});
    EXPECT_EQ(GameMessageBoxOwner("确定吗?", MB_OKCANCEL, 0, nullptr), IDCANCEL);
    EXPECT_TRUE(inputsHidden);
}

TEST_F(MessageBoxesTest, OwnerFormReturnsTheTypedTextAndTheButtonPressed) {
    Script::Run({[&] { TypeInto(IDC_KN_INPUT1, "牌友"); }, [&] { Press(0); }});
    char* texts = reinterpret_cast<char*>(1);
    EXPECT_EQ(GameMessageBoxOwner("名字:", MB_OKCANCEL, 0, &texts), IDOK);
    ASSERT_NE(texts, nullptr);
    EXPECT_STREQ(texts, "牌友");
    free(texts);

    // Cancel is Cancel, although the box itself ends through its OK path.
    Script::Run({[&] { TypeInto(IDC_KN_INPUT1, "x"); }, [&] { Press(1); }});
    EXPECT_EQ(GameMessageBoxOwner("名字:", MB_OKCANCEL, 0, &texts), IDCANCEL);
    ASSERT_NE(texts, nullptr);
    EXPECT_STREQ(texts, "x");
    free(texts);
}

TEST_F(MessageBoxesTest, OwnerFormWithBothFieldsEmptyGivesNull) {
    Script::Run({[&] { Press(0); }});
    char* texts = reinterpret_cast<char*>(1);
    EXPECT_EQ(GameMessageBoxOwner("名字:", MB_OK, 0, &texts), IDOK);
    EXPECT_EQ(texts, nullptr);
}

TEST_F(MessageBoxesTest, TopBitPutsTheLineInTheSecondField) {
    bool firstHidden = false;
    Script::Run({[&] {
                     firstHidden = !Shown(Item(Box(), IDC_KN_INPUT1));
                     TypeInto(IDC_KN_INPUT2, "pw");
                 },
                 [&] { Press(0); }});
    char* texts = nullptr;
    EXPECT_EQ(GameMessageBoxOwner("密码:", MB_OK | 0x80000000, 0, &texts), IDOK);
    EXPECT_TRUE(firstHidden);
    ASSERT_NE(texts, nullptr);
    EXPECT_STREQ(texts, "pw");
    free(texts);
}

TEST_F(MessageBoxesTest, BoxThatCannotBeMadeGivesMinusOneAndNoText) {
    AfxSetResourceHandle(m_savedHandle);
    char* texts = reinterpret_cast<char*>(1);
    EXPECT_EQ(GameMessageBoxOwner("x", MB_OK, 0, &texts), -1);
    EXPECT_EQ(texts, nullptr);
    EXPECT_EQ(GameMessageBox("x", MB_OK, 0), -1);
}

TEST_F(MessageBoxesTest, SkinThatCannotBeUsedIsToldInABox) {
    const tagSKINSETTINGS saved = theSkin;
    std::string text;
    Script::Run({[&] {
        text = TextOf(Item(Box(), IDC_KN_MSG_TEXT));
        Press(0);
    }});
    CString skin = "D:\\Skins\\Blue";
    EXPECT_EQ(SetSkinPaths("Pellor", 1, &skin), 1);
    EXPECT_EQ(text, "不能在使用共享路径的情况下使用皮肤。\r\nSetPathIni(Pellor,1)");
    theSkin = saved;
}

TEST_F(MessageBoxesTest, FrontEndsFitTheTipCallbacks) {
    TipTextCallback text = GameMessageBox;
    TipIdCallback id = GameMessageBoxId;
    EXPECT_EQ(text("a", MB_OK, 1), IDOK);
    EXPECT_EQ(id(29700, MB_RETRYCANCEL, 1), IDRETRY);
}

} // namespace
