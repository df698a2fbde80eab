// The network layer's message-box front ends, over a box maker that records
// what it is asked for instead of showing a box.

#include "knclientbase05/MessageBoxes.h"

#include "platform/controls/MessageBox.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct SeenRequest {
    std::string text;
    bool byId = false;
    UINT stringId = 0;
    UINT style = 0;
    UINT seconds = 0;
    bool withInputs = false;
    BOOL secondInput = FALSE;
};

std::vector<SeenRequest> seen;
int answer = IDOK;
char* typed = nullptr;

int RecordingMaker(const GameBoxRequest& request) {
    SeenRequest one;
    one.byId = request.text == nullptr;
    one.text = request.text != nullptr ? request.text : "";
    one.stringId = request.stringId;
    one.style = request.style;
    one.seconds = request.seconds;
    one.withInputs = request.inputs != nullptr;
    one.secondInput = request.secondInput;
    seen.push_back(one);
    if (request.inputs != nullptr)
        *request.inputs = typed;
    return answer;
}

class MessageBoxFrontEndsTest : public ::testing::Test {
protected:
    void SetUp() override {
        seen.clear();
        answer = IDOK;
        typed = nullptr;
        saved = SetGameBoxMaker(RecordingMaker);
    }
    void TearDown() override { SetGameBoxMaker(saved); }

    GameBoxMaker saved = nullptr;
};

TEST_F(MessageBoxFrontEndsTest, TextAndIdFormsReachTheMakerAsAsked) {
    answer = IDNO;
    EXPECT_EQ(GameMessageBox("网络连接关闭!", MB_YESNO | MB_ICONQUESTION, 5), IDNO);
    EXPECT_EQ(GameMessageBoxId(29910, MB_YESNO, 0), IDNO);
    EXPECT_EQ(CloseMenusAndMessageBoxId(29934, MB_ICONASTERISK, 2), IDNO);
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_FALSE(seen[0].byId);
    EXPECT_EQ(seen[0].text, "网络连接关闭!");
    EXPECT_EQ(seen[0].style, UINT(MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(seen[0].seconds, 5u);
    EXPECT_FALSE(seen[0].withInputs);
    EXPECT_TRUE(seen[1].byId);
    EXPECT_EQ(seen[1].stringId, 29910u);
    EXPECT_TRUE(seen[2].byId);
    EXPECT_EQ(seen[2].stringId, 29934u);
    EXPECT_EQ(seen[2].seconds, 2u);
}

TEST_F(MessageBoxFrontEndsTest, NullTextIsAnEmptyTextNotAStringId) {
    GameMessageBox(nullptr, MB_OK, 0);
    CloseMenusAndMessageBox(nullptr, MB_OK, 0);
    GameMessageBoxOwner(nullptr, MB_OK, 0, nullptr);
    ASSERT_EQ(seen.size(), 3u);
    for (const SeenRequest& request : seen) {
        EXPECT_FALSE(request.byId);
        EXPECT_EQ(request.text, "");
    }
}

TEST_F(MessageBoxFrontEndsTest, OwnerFormTakesTheSecondInputBitOutOfTheStyle) {
    char texts[] = "typed";
    typed = texts;
    char* received = nullptr;
    EXPECT_EQ(GameMessageBoxOwner("密码:", MB_OKCANCEL | 0x80000000, 0, &received), IDOK);
    EXPECT_EQ(received, texts);
    GameMessageBoxOwner("名字:", MB_OKCANCEL, 0, &received);
    GameMessageBoxOwner("确定吗?", MB_OKCANCEL | 0x80000000, 0, nullptr);
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_TRUE(seen[0].withInputs);
    EXPECT_TRUE(seen[0].secondInput);
    EXPECT_EQ(seen[0].style, UINT(MB_OKCANCEL));
    EXPECT_TRUE(seen[1].withInputs);
    EXPECT_FALSE(seen[1].secondInput);
    // Without an input line there is no input to put anywhere.
    EXPECT_FALSE(seen[2].withInputs);
    EXPECT_EQ(seen[2].style, UINT(MB_OKCANCEL));
}

TEST_F(MessageBoxFrontEndsTest, WithoutAMakerNoBoxCanBeMade) {
    SetGameBoxMaker(nullptr);
    char* received = reinterpret_cast<char*>(1);
    EXPECT_EQ(GameMessageBoxOwner("名字:", MB_OK, 0, &received), -1);
    EXPECT_EQ(received, nullptr);
    EXPECT_EQ(GameMessageBox("x", MB_OK, 0), -1);
    EXPECT_EQ(GameMessageBoxId(29700, MB_OK, 0), -1);
    EXPECT_TRUE(seen.empty());
}

TEST_F(MessageBoxFrontEndsTest, SettingAMakerGivesTheOneItReplaces) {
    EXPECT_EQ(SetGameBoxMaker(nullptr), &RecordingMaker);
    EXPECT_EQ(SetGameBoxMaker(RecordingMaker), nullptr);
}

} // namespace
