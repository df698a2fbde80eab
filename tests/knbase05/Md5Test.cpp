#include "knbase05/md5checksum.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string Hex(const BYTE digest[16]) {
    static const char kDigits[] = "0123456789abcdef";
    std::string text;
    for (int i = 0; i < 16; ++i) {
        text += kDigits[digest[i] >> 4];
        text += kDigits[digest[i] & 15];
    }
    return text;
}

std::string DigestOf(const std::string& message) {
    BYTE digest[16];
    MD5Digest(digest, message.data(), static_cast<UINT>(message.size()));
    return Hex(digest);
}

TEST(Md5Test, GivesTheDigestsOfTheRfc1321Suite) {
    EXPECT_EQ(DigestOf(""), "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(DigestOf("a"), "0cc175b9c0f1b6a831c399e269772661");
    EXPECT_EQ(DigestOf("abc"), "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(DigestOf("message digest"), "f96b697d7cb7938d525a2f31aaf161d0");
    EXPECT_EQ(DigestOf("abcdefghijklmnopqrstuvwxyz"), "c3fcd3d76192e4007dfb496cca67e13b");
    EXPECT_EQ(DigestOf("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"),
              "d174ab98d277d9f5a5611c2c9f419d9f");
    EXPECT_EQ(DigestOf("1234567890123456789012345678901234567890"
                       "1234567890123456789012345678901234567890"),
              "57edf4a22be3c955ac49da2e2107b67a");
}

// 55 bytes leave room for the length in the last block; 56 and 64 need a
// second block of padding.
TEST(Md5Test, PadsMessagesAroundTheBlockEdge) {
    EXPECT_EQ(DigestOf(std::string(55, 'a')), "ef1772b6dff9a122358552954ad0df65");
    EXPECT_EQ(DigestOf(std::string(56, 'a')), "3b0c8ac703f828b04c6c197006d17218");
    EXPECT_EQ(DigestOf(std::string(57, 'a')), "652b906d60af96844ebd21b674f35e93");
    EXPECT_EQ(DigestOf(std::string(63, 'a')), "b06521f39153d618550606be297466d5");
    EXPECT_EQ(DigestOf(std::string(64, 'a')), "014842d480b571495a4a0363793f7367");
    EXPECT_EQ(DigestOf(std::string(65, 'a')), "c743a45e0d2e6a95cb859adae0248435");
}

TEST(Md5Test, PiecewiseUpdatesGiveTheOneShotDigest) {
    std::vector<BYTE> message;
    for (int round = 0; round < 40; ++round)
        for (int b = 0; b < 256; ++b)
            message.push_back(static_cast<BYTE>(b));
    const std::string expected = "c3cd26e07e555c0116db237fbc06d99c";
    BYTE digest[16];
    MD5Digest(digest, message.data(), static_cast<UINT>(message.size()));
    ASSERT_EQ(Hex(digest), expected);

    for (UINT piece : {1u, 3u, 63u, 64u, 65u, 1000u}) {
        CMD5Checksum checksum;
        for (size_t at = 0; at < message.size(); at += piece) {
            UINT count = static_cast<UINT>(std::min<size_t>(piece, message.size() - at));
            checksum.Update(message.data() + at, count);
        }
        checksum.Final(digest);
        EXPECT_EQ(Hex(digest), expected) << "pieces of " << piece;
    }
}

} // namespace
