// The login reply read on its own: counts checked against the bytes that
// came, the blocks behind the players, and the players' names brought into
// the system's code page without leaving their field.

#include "Tablehub/LoginReply.h"

#include "platform/system/Module.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

std::string Half(WORD value) {
    return std::string{char(value), char(value >> 8)};
}
std::string Word(DWORD value) {
    return Half(WORD(value)) + Half(WORD(value >> 16));
}
std::string Record(DWORD value, const std::string& name) {
    return Word(value) + std::string(20, 'u') + (name + std::string(24, '\0')).substr(0, 24);
}

std::vector<BYTE> Bytes(const std::string& text) {
    return std::vector<BYTE>(text.begin(), text.end());
}

// A reply that could not be read leaves the caller's record as it was.
tagLOGINREPLY Marked() {
    tagLOGINREPLY reply;
    reply.wPlayerCount = 0xEEEE;
    reply.dwSecondValue = 0xEEEE;
    return reply;
}

int Read(const std::string& payload, tagLOGINREPLY* reply, std::vector<BYTE>& bytes) {
    bytes = Bytes(payload);
    return ReadLoginReply(bytes.data(), bytes.size(), reply);
}

TEST(LoginReplyTest, ReadsThePlayersAndBothBlocks) {
    const std::string payload = Half(2) + Half(31) + Record(1, "甲") + Record(2, "乙") + Word(3) +
                                "abc" + Word(0x01020304) + "rest";
    std::vector<BYTE> bytes;
    tagLOGINREPLY reply;
    ASSERT_EQ(Read(payload, &reply, bytes), 1);
    EXPECT_EQ(reply.wPlayerCount, 2);
    EXPECT_EQ(reply.wTableNumber, 31);
    ASSERT_EQ(reinterpret_cast<BYTE*>(reply.pPlayers), bytes.data() + 4);
    EXPECT_STREQ(reply.pPlayers[1].szName, "乙");
    EXPECT_EQ(reply.dwFirstBlockLength, 3u);
    EXPECT_EQ(reply.pFirstBlock, bytes.data() + 4 + 96 + 4);
    EXPECT_EQ(reply.dwSecondValue, 0x01020304u);
    EXPECT_EQ(reply.pSecondBlock, bytes.data() + 4 + 96 + 4 + 3 + 4);
    EXPECT_EQ(reply.nSecondBlockLength, 4u);
    EXPECT_EQ(Bytes(payload), bytes); // reading changes nothing
}

TEST(LoginReplyTest, ASecondBlockMayBeAbsentOrEmpty) {
    std::vector<BYTE> bytes;
    tagLOGINREPLY reply = Marked();
    ASSERT_EQ(Read(Half(0) + Half(1) + Word(0), &reply, bytes), 1);
    EXPECT_EQ(reply.wPlayerCount, 0);
    EXPECT_EQ(reply.dwFirstBlockLength, 0u);
    EXPECT_EQ(reply.dwSecondValue, 0u);
    EXPECT_EQ(reply.pSecondBlock, nullptr);

    // A value with no data behind it.
    ASSERT_EQ(Read(Half(0) + Half(1) + Word(0) + Word(9), &reply, bytes), 1);
    EXPECT_EQ(reply.dwSecondValue, 9u);
    EXPECT_EQ(reply.nSecondBlockLength, 0u);
}

TEST(LoginReplyTest, CountsThatPassTheEndOfThePayloadAreRefused) {
    const std::vector<std::string> refused = {
        "",
        Half(0) + Half(1),                                 // no first block word
        Half(0) + Half(1) + "\x01\x00",                    // half of it
        Half(1) + Half(1) + Word(0),                       // a player announced, none sent
        Half(2) + Half(1) + Record(0, "a") + Word(0),      // two announced, one sent
        Half(0xFFFF) + Half(1) + Record(0, "a") + Word(0), // the largest count
        Half(0) + Half(1) + Word(4) + "abc",               // a block one byte short
        Half(0) + Half(1) + Word(0xFFFFFFFF) + "abc",      // a block past every end
        Half(0) + Half(1) + Word(0) + "\x01",              // a second value cut short
        Half(0) + Half(1) + Word(1) + "a" + "\x01\x02\x03",
    };
    for (const std::string& payload : refused) {
        std::vector<BYTE> bytes;
        tagLOGINREPLY reply = Marked();
        EXPECT_EQ(Read(payload, &reply, bytes), 0) << payload.size() << " bytes";
        EXPECT_EQ(reply.wPlayerCount, 0xEEEE);
        EXPECT_EQ(reply.dwSecondValue, 0xEEEEu);
    }
    tagLOGINREPLY reply;
    EXPECT_EQ(ReadLoginReply(nullptr, 10, &reply), 0);
}

// A converter that writes what a test wants, whatever it is given.
std::string g_converted;
std::vector<std::string> g_sources;
int Scripted(const char* source, char* destination, WORD, WORD, WORD) {
    g_sources.push_back(source);
    memcpy(destination, g_converted.c_str(), g_converted.size() + 1);
    return 1;
}

class PlayerNamesTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_sources.clear();
        g_converted.clear();
    }
    tagPLAYERINFO Player(DWORD value, const std::string& name) {
        tagPLAYERINFO player;
        const std::string bytes = Record(value, name);
        memcpy(&player, bytes.data(), sizeof player);
        return player;
    }
    static DWORD ValueOf(const tagPLAYERINFO& player) {
        DWORD value;
        memcpy(&value, &player.dwValue, 4);
        return value;
    }
    static std::string NameField(const tagPLAYERINFO& player) {
        return std::string(player.szName, sizeof player.szName);
    }
};

TEST_F(PlayerNamesTest, TheOutsideConverterBringsBig5NamesToGbk) {
    HMODULE library = LoadLibrary("codecvt.dll");
    ASSERT_NE(library, nullptr);
    auto convert =
        reinterpret_cast<TranStrCodePageFunction>(GetProcAddress(library, "TranStrCodePage"));
    ASSERT_NE(convert, nullptr);
    tagPLAYERINFO players[2] = {Player(950u << 16 | 0x1234, "\xA4\xA4\xA4\xE5"),
                                Player(0x5678, "\xA4\xA4")};
    ConvertPlayerNames(players, 2, convert, 0);
    EXPECT_EQ(NameField(players[0]), "中文" + std::string(20, '\0'));
    EXPECT_EQ(ValueOf(players[0]), 0x1234u);
    EXPECT_EQ(NameField(players[1]), "\xA4\xA4" + std::string(22, '\0')); // no code page
    EXPECT_EQ(ValueOf(players[1]), 0x5678u);
    FreeLibrary(library);
}

TEST_F(PlayerNamesTest, OnlyForeignCodePagesAreConvertedButEveryOneIsCleared) {
    tagPLAYERINFO players[3] = {Player(950u << 16 | 1, "a"), Player(936u << 16 | 2, "b"),
                                Player(3, "c")};
    g_converted = "x";
    ConvertPlayerNames(players, 3, Scripted, 936);
    EXPECT_EQ(g_sources, (std::vector<std::string>{"a"}));
    EXPECT_STREQ(players[0].szName, "x");
    EXPECT_STREQ(players[1].szName, "b");
    EXPECT_EQ(ValueOf(players[0]), 1u);
    EXPECT_EQ(ValueOf(players[1]), 2u);
    EXPECT_EQ(ValueOf(players[2]), 3u);
}

TEST_F(PlayerNamesTest, ANameWithoutNulIsReadToTheEndOfItsFieldOnly) {
    struct Block {
        tagPLAYERINFO player;
        char behind[8];
    } block;
    block.player = Player(950u << 16, "");
    memset(block.player.szName, 'n', sizeof block.player.szName);
    memcpy(block.behind, "OVERRUN", 8);
    g_converted = "ok";
    ConvertPlayerNames(&block.player, 1, Scripted, 0);
    ASSERT_EQ(g_sources.size(), 1u);
    EXPECT_EQ(g_sources[0], std::string(24, 'n'));
    EXPECT_STREQ(block.player.szName, "ok");
}

TEST_F(PlayerNamesTest, AConvertedNameThatGrewIsCutAtACharacterBoundary) {
    tagPLAYERINFO players[2] = {Player(950u << 16, "a"), Player(950u << 16, "b")};
    std::string grown;
    while (grown.size() < 40)
        grown += "豆";
    g_converted = grown; // 40 bytes: twice what fits
    ConvertPlayerNames(players, 1, Scripted, 0);
    EXPECT_EQ(NameField(players[0]), grown.substr(0, 22) + std::string(2, '\0'));
    g_converted = "a" + grown; // one single byte first: 23 bytes end a character
    ConvertPlayerNames(players + 1, 1, Scripted, 0);
    EXPECT_EQ(NameField(players[1]), g_converted.substr(0, 23) + std::string(1, '\0'));
}

TEST_F(PlayerNamesTest, WithoutAConverterTheRecordsStayAsTheyCame) {
    tagPLAYERINFO player = Player(950u << 16 | 4, "\xA4\xA4");
    ConvertPlayerNames(&player, 1, nullptr, 0);
    EXPECT_EQ(ValueOf(player), 950u << 16 | 4);
    EXPECT_STREQ(player.szName, "\xA4\xA4");
}

} // namespace
