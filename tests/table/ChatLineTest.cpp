// The chat lines the table reads: the speaker and the spoken part found by
// whole GBK characters, the addressed form rebuilt, and lines the table
// leaves to the chat pane alone.

#include "table/panes/GameWndChatLine.h"

#include <gtest/gtest.h>
#include <string>

namespace {

class ChatLineTest : public ::testing::Test {
protected:
    CString names[6] = {"alice", "", "鲍勃", "carol", "", "dave"};

    ChatSpeech Read(const std::string& line) { return ReadChatLine(line.c_str(), names); }
};

TEST_F(ChatLineTest, ASeatedSpeakerGetsTheSpokenPart) {
    ChatSpeech speech = Read("[alice]说：大家好");
    EXPECT_EQ(speech.seat, 0);
    EXPECT_STREQ(speech.tip, "大家好");

    // The name may end at a markup tag as well as at ']'.
    speech = Read("[鲍勃<c=255>]说：出牌快点");
    EXPECT_EQ(speech.seat, 2);
    EXPECT_STREQ(speech.tip, "出牌快点");

    // Only the first colon ends the head; later ones belong to the speech.
    speech = Read("[dave]说：比分：3比2");
    EXPECT_EQ(speech.seat, 5);
    EXPECT_STREQ(speech.tip, "比分：3比2");
}

TEST_F(ChatLineTest, NoTipWithoutASeatedSpeaker) {
    EXPECT_EQ(Read("[mallory]说：hello").seat, -1);
    // Names are compared exactly, as the chat shows them.
    EXPECT_EQ(Read("[Alice]说：hello").seat, -1);
    // A free seat's empty name matches no empty speaker.
    EXPECT_EQ(Read("[]说：hello").seat, -1);
}

TEST_F(ChatLineTest, TheAddressedFormIsRebuiltWithTheSpokenPartAfterItsComma) {
    ChatSpeech speech = Read("[alice]对[carol]说：笑着,你好");
    EXPECT_EQ(speech.seat, 0);
    EXPECT_STREQ(speech.tip, "[alice]对[carol]说道：你好");

    speech = Read("[alice]对[carol<b>]说：没有逗号");
    EXPECT_STREQ(speech.tip, "[alice]对[carol]说道：没有逗号");

    // Someone who is not seated is not named in the tip.
    speech = Read("[alice]对[mallory]说：笑着,你好");
    EXPECT_EQ(speech.seat, 0);
    EXPECT_STREQ(speech.tip, "笑着,你好");
}

TEST_F(ChatLineTest, MarkersInsideDoubleByteCharactersAreNotMarkers) {
    // "埃好" is B0 A3 BA C3: the bytes A3 BA of "：" straddle two characters.
    ChatSpeech speech = Read("[alice]\xB0\xA3\xBA\xC3：真的");
    EXPECT_EQ(speech.seat, 0);
    EXPECT_STREQ(speech.tip, "真的");
    EXPECT_EQ(Read("[alice]\xB0\xA3\xBA\xC3").seat, -1);

    // 0x5B ('[') and 0x5D (']') are trail bytes of some characters.
    EXPECT_EQ(Read("\x81\x5B"
                   "alice]说：hi")
                  .seat,
              -1);
    names[1] = "a\x81\x5D"
               "b";
    speech = Read("[a\x81\x5D"
                  "b]说：hi");
    EXPECT_EQ(speech.seat, 1);
    EXPECT_STREQ(speech.tip, "hi");
}

TEST_F(ChatLineTest, BrokenLinesGiveNoTip) {
    for (const char* line : {"", "alice说：hi", "[alice说：hi", "[alice]说hi", "[", "[]", "[alice]",
                             "[alice]：", "\xB0"}) {
        const ChatSpeech speech = Read(line);
        if (std::string(line) == "[alice]：") {
            // A colon with nothing after it: an empty speech, still the speaker's.
            EXPECT_EQ(speech.seat, 0);
            EXPECT_STREQ(speech.tip, "");
            continue;
        }
        EXPECT_EQ(speech.seat, -1) << line;
    }
    EXPECT_EQ(ReadChatLine(nullptr, names).seat, -1);
}

TEST_F(ChatLineTest, ASpeakerLongerThanAUserNameIsNoUser) {
    const std::string longName(21, 'x');
    names[4] = longName.c_str();
    EXPECT_EQ(Read("[" + longName + "]说：hi").seat, -1);
    const std::string fullName(20, 'y');
    names[4] = fullName.c_str();
    EXPECT_EQ(Read("[" + fullName + "]说：hi").seat, 4);
}

TEST_F(ChatLineTest, LongSpeechIsKeptWhole) {
    std::string spoken;
    for (int i = 0; i < 200; ++i)
        spoken += "长";
    const ChatSpeech speech = Read("[carol]说：" + spoken);
    EXPECT_EQ(speech.seat, 3);
    EXPECT_EQ(std::string(speech.tip), spoken);
}

TEST_F(ChatLineTest, SymbolFontAndCommandLinesAreRecognised) {
    EXPECT_TRUE(IsSymbolFontLine("<f=Webdings>[alice]说：J"));
    EXPECT_TRUE(IsSymbolFontLine("<f=Wingdings>J"));
    EXPECT_FALSE(IsSymbolFontLine("<f=宋体>J"));
    EXPECT_FALSE(IsSymbolFontLine(nullptr));
    EXPECT_EQ(Read("<f=Webdings>[alice]说：J").seat, -1);
    EXPECT_TRUE(IsChatCommandLine("``kick"));
    EXPECT_FALSE(IsChatCommandLine("`one"));
    EXPECT_FALSE(IsChatCommandLine(nullptr));
}

} // namespace
