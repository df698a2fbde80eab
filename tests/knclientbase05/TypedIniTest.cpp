#include "knclientbase05/KNpubIni.h"

#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

namespace {

TEST(TypedIniTest, ReadsNumbersAddressesAndHostPorts) {
    TempFolder folder;
    folder.Write("relay.ini", "[Relay]\nbig=-9000000000\nhex=id 0x1F\nip=10.0.0.7\n"
                              "server=relay.example:1080\nempty=\n");
    std::string ini = folder.File("relay.ini");
    EXPECT_EQ(IniGetInt64("Relay", "big", 5, ini.c_str()), -9000000000LL);
    EXPECT_EQ(IniGetInt64("Relay", "empty", 5, ini.c_str()), 5);
    EXPECT_EQ(IniGetNumber("Relay", "hex", 9, ini.c_str()), 31u);
    EXPECT_EQ(IniGetNumber("Relay", "missing", 9, ini.c_str()), 9u);
    EXPECT_EQ(IniGetIp("Relay", "ip", 0, ini.c_str()), 0x0A000007u);
    EXPECT_EQ(IniGetIp("Relay", "missing", 1, ini.c_str()), 1u);
    tagHOSTPORT hostPort{};
    ASSERT_EQ(IniGetHostPort("Relay", "server", &hostPort, ini.c_str()), 1);
    EXPECT_STREQ(hostPort.host, "relay.example");
    EXPECT_EQ(hostPort.port, 1080u);
    EXPECT_EQ(IniGetHostPort("Relay", "missing", &hostPort, ini.c_str()), 0);
}

TEST(TypedIniTest, WritesNumbersAsDecimalText) {
    TempFolder folder;
    std::string ini = folder.File("out.ini");
    ASSERT_TRUE(IniWriteInt("Main", "count", -12, ini.c_str()));
    ASSERT_TRUE(IniWriteInt64("Main", "coins", 123456789012LL, ini.c_str()));
    ASSERT_TRUE(IniWriteString("Main", "name", "pellor", ini.c_str()));
    EXPECT_EQ(static_cast<int>(IniGetInt("Main", "count", 0, ini.c_str())), -12);
    EXPECT_EQ(IniGetInt64("Main", "coins", 0, ini.c_str()), 123456789012LL);
    char text[16];
    EXPECT_EQ(IniGetString("Main", "name", "", text, sizeof text, ini.c_str()), 6u);
    EXPECT_STREQ(text, "pellor");
}

} // namespace
