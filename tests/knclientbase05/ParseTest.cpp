#include "knclientbase05/KNpubParse.h"

#include "platform/net/Winsock.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace {

TEST(ParseNumberTest, ReadsHexadecimalAfterItsPrefixAndDecimalElse) {
    EXPECT_EQ(ParseNumber("0xFF"), 255);
    EXPECT_EQ(ParseNumber("0xff"), 255);
    EXPECT_EQ(ParseNumber("0X1g"), 1);
    EXPECT_EQ(ParseNumber("12abc"), 12);
    EXPECT_EQ(ParseNumber("-7"), -7);
    EXPECT_EQ(ParseNumberLoose("port=0x1F"), 31u);
    EXPECT_EQ(ParseNumberLoose("abc 42x"), 42u);
    EXPECT_EQ(ParseNumberLoose("none"), 0u);
    EXPECT_EQ(ParseDotted("ip: 192.168.1.20"), 0xC0A80114u);
    EXPECT_EQ(ParseDotted("10.300"), 0x0A2C0000u);
    EXPECT_EQ(ParseDotted(",1.2.3.4"), 0u);
}

TEST(TokenTest, ReadsNumbersAndTokensSeparatedByBlanksAndCommas) {
    int value = 0;
    const char* rest = NextInt("1, 2,3", &value);
    EXPECT_EQ(value, 1);
    rest = NextInt(rest, &value);
    EXPECT_EQ(value, 2);
    rest = NextInt(rest, &value);
    EXPECT_EQ(value, 3);
    EXPECT_EQ(NextInt(rest, &value), nullptr);
    EXPECT_EQ(NextInt(nullptr, &value), nullptr);
    EXPECT_STREQ(NextIntNoSkip(" 5, 6", &value), ", 6");
    EXPECT_EQ(value, 5);

    char token[4];
    rest = NextToken(" ,alpha, beta", token, sizeof token);
    EXPECT_STREQ(token, "alp");
    EXPECT_STREQ(rest, "beta");
    rest = NextToken(rest, token, sizeof token);
    EXPECT_STREQ(token, "bet");
    EXPECT_STREQ(rest, "");
    // Separators at the end never take the reader past the terminator.
    rest = NextToken("x \t,", token, sizeof token);
    EXPECT_EQ(*rest, '\0');
}

TEST(SplitTextTest, FillsTheOutputsItHasAndCountsEveryPart) {
    char a[8] = "", b[8] = "";
    char* outputs[] = {a, b};
    EXPECT_EQ(SplitText(',', "a,b,c", 2, outputs, sizeof a), 3);
    EXPECT_STREQ(a, "a");
    EXPECT_STREQ(b, "b");
    EXPECT_EQ(SplitText(',', "longer-than-eight,", 2, outputs, sizeof a), 2);
    EXPECT_STREQ(a, "longer-");
    EXPECT_STREQ(b, "");
    EXPECT_EQ(SplitText(',', "a", 0, outputs, sizeof a), 0);
    std::string huge(4095, 'x');
    EXPECT_EQ(SplitText(',', huge.c_str(), 2, outputs, sizeof a), 0);
}

TEST(HostPortTest, SplitsHostAndPort) {
    tagHOSTPORT hostPort{};
    ASSERT_EQ(ParseHostPort("  10.1.2.3:8080", &hostPort), 1);
    EXPECT_STREQ(hostPort.host, "10.1.2.3");
    EXPECT_EQ(hostPort.address, inet_addr("10.1.2.3"));
    EXPECT_EQ(hostPort.port, 8080u);
    ASSERT_EQ(ParseHostPort("relay.example port 80", &hostPort), 1);
    EXPECT_STREQ(hostPort.host, "relay.example");
    EXPECT_EQ(hostPort.address, INADDR_NONE);
    EXPECT_EQ(hostPort.port, 80u);
    EXPECT_EQ(ParseHostPort("nohost", &hostPort), 0);
    EXPECT_EQ(ParseHostPort("host:", &hostPort), 0);
    std::string longHost(60, 'h');
    ASSERT_EQ(ParseHostPort((longHost + ":1").c_str(), &hostPort), 1);
    EXPECT_EQ(strlen(hostPort.host), 39u);
}

TEST(HexTest, ConvertsBothWaysAndRefusesBrokenText) {
    const BYTE bytes[] = {0x00, 0xAB, 0x7F};
    char hex[7];
    EXPECT_EQ(BytesToHex(hex, bytes, 3), 3);
    EXPECT_STREQ(hex, "00AB7F");
    BYTE back[3] = {};
    ASSERT_EQ(HexToBytes(back, "00ab7F", 6), 1);
    EXPECT_EQ(memcmp(back, bytes, 3), 0);
    EXPECT_EQ(HexToBytes(back, "abc", 3), 0);
    EXPECT_EQ(HexToBytes(back, "zz", 2), 0);
    EXPECT_EQ(HexDigitValue('g'), 0);
}

TEST(AddressTextTest, WritesBothByteOrders) {
    char text[16];
    DWORD address = inet_addr("192.168.0.9");
    EXPECT_EQ(IpToText(address, text), 11);
    EXPECT_STREQ(text, "192.168.0.9");
    EXPECT_STREQ(IpToTextHost(0xC0A80009, text), "192.168.0.9");
    DWORD out = 0;
    EXPECT_EQ(TextToIp(&out, "1.2.3.4"), inet_addr("1.2.3.4"));
    EXPECT_EQ(out, inet_addr("1.2.3.4"));
}

TEST(DoubleToU32Test, RoundsAndClamps) {
    double values[] = {0.49, 0.5, 2.5, 4294967294.4, 4294967294.5, -3.0, std::nan("")};
    EXPECT_EQ(DoubleToU32(&values[0]), 0u);
    EXPECT_EQ(DoubleToU32(&values[1]), 1u);
    EXPECT_EQ(DoubleToU32(&values[2]), 3u);
    EXPECT_EQ(DoubleToU32(&values[3]), 4294967294u);
    EXPECT_EQ(DoubleToU32(&values[4]), 0xFFFFFFFFu);
    EXPECT_EQ(DoubleToU32(&values[5]), 0u);
    EXPECT_EQ(DoubleToU32(&values[6]), 0u);
}

TEST(ScrambleNumberTest, IsReversibleSoDistinctNumbersStayDistinct) {
    EXPECT_NE(ScrambleNumber(1), ScrambleNumber(2));
    EXPECT_NE(ScrambleNumber(0x01000000), ScrambleNumber(0x02000000));
    EXPECT_NE(ScrambleNumber(12345), 12345u);
}

} // namespace
