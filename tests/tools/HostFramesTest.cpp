// The host's text fields against bytes written out by hand: names cut to
// their field at a character boundary, never splitting a GBK character.

#include "tools/tablehost/HostFrames.h"
#include "WireClient.h"

#include <gtest/gtest.h>

namespace {

using namespace tablehost;

TEST(HostFrameHelpers, TextFieldsAreCutWholeCharactersAndZeroFilled) {
    BYTE field[8];
    memset(field, 0x55, sizeof field);
    PutTextField(field, sizeof field, "abc");
    EXPECT_EQ(std::string(reinterpret_cast<char*>(field), 8), std::string("abc\0\0\0\0\0", 8));
    // Six bytes of ASCII then a two-byte character: the character does not fit.
    PutTextField(field, sizeof field, "abcdef\xC4\xE3");
    EXPECT_EQ(std::string(reinterpret_cast<char*>(field), 8), std::string("abcdef\0\0", 8));
    PutTextField(field, sizeof field, "abcde\xC4\xE3z");
    EXPECT_EQ(std::string(reinterpret_cast<char*>(field), 8), std::string("abcde\xC4\xE3\0", 8));
    EXPECT_EQ(GetTextField(reinterpret_cast<const BYTE*>("abcdefgh"), 4), "abcd");
}

TEST(HostFrameHelpers, LoginReplyRecordsKeepCodePageAndCutLongNames) {
    const std::vector<BYTE> bytes = BuildLoginReply(513, {{"", 5, 936}, {std::string(30, 'n')}});
    const std::string reply(bytes.begin(), bytes.end());
    ASSERT_EQ(reply.size(), 4u + 2 * 48 + 4);
    EXPECT_EQ(tools_test::WordAt(reply, 4), 5u | 936u << 16);
    EXPECT_EQ(tools_test::TextAt(reply, 4 + 48 + 24, 24), std::string(23, 'n'));
    EXPECT_EQ(reply[4 + 48 + 47], '\0');
}

} // namespace
