// The tablehost program's command line: every option read, malformed ones
// refused with a message, the time limits written into the rules text.

#include "tools/tablehost/HostOptions.h"

#include <gtest/gtest.h>

namespace {

bool Parse(std::vector<const char*> args, HostCommandLine& out, std::string& error) {
    args.insert(args.begin(), "tablehost");
    return ParseHostCommandLine(int(args.size()), args.data(), out, error);
}

TEST(HostCommandLine, ReadsEveryOption) {
    HostCommandLine line;
    std::string error;
    ASSERT_TRUE(Parse({"--port", "6000", "--p80-port", "0", "--human-seats", "2", "--rules",
                       "5 5 5", "--seed", "77", "--table-number", "9", "--server-value", "250",
                       "--log", "-", "--bot-pause", "0"},
                      line, error))
        << error;
    EXPECT_EQ(line.host.port, 6000u);
    EXPECT_TRUE(line.host.listenP80);
    EXPECT_EQ(line.host.p80Port, 0u);
    EXPECT_EQ(line.host.table.humanSeats, 2);
    EXPECT_EQ(line.host.table.rulesText, "5 5 5");
    EXPECT_EQ(line.host.table.seed, 77u);
    EXPECT_EQ(line.host.tableNumber, 9);
    EXPECT_EQ(line.host.serverValue, 250);
    EXPECT_EQ(line.logPath, "-");
    EXPECT_EQ(line.host.table.botPauseMs, 0);
}

TEST(HostCommandLine, DefaultsServeOnePlayerOnTheUsualPort) {
    HostCommandLine line;
    std::string error;
    ASSERT_TRUE(Parse({}, line, error));
    EXPECT_EQ(line.host.port, 7100u);
    EXPECT_FALSE(line.host.listenP80);
    EXPECT_EQ(line.host.table.humanSeats, 1);
    EXPECT_EQ(line.host.table.rulesText, kDefaultRulesText);
    EXPECT_EQ(line.host.table.botPauseMs, kDefaultBotPauseMs);
    EXPECT_GT(kDefaultBotPauseMs, 0); // a person's table: bots take their time
    EXPECT_EQ(line.host.serverValue, -1);
    EXPECT_TRUE(line.logPath.empty());
}

TEST(HostCommandLine, RefusesMalformedValuesWithAMessage) {
    const std::vector<std::vector<const char*>> bad = {
        {"--port", "70000"},
        {"--port", "12ab"},
        {"--port", ""},
        {"--human-seats", "7"},
        {"--human-seats", "-1"},
        {"--seed", "99999999999"},
        {"--bot-pause", "-5"},
        {"--bot-pause", "soon"},
        {"--port"},
        {"--bogus", "1"},
        {"stray"},
        {"--time-limits", "1 x"},
        {"--time-limits", ""},
        {"--time-limits", "1 2 3 4 5 6 7 8 9 10 11 12"},
    };
    for (const auto& args : bad) {
        HostCommandLine line;
        std::string error;
        EXPECT_FALSE(Parse(args, line, error)) << args[0];
        EXPECT_FALSE(error.empty()) << args[0];
    }
}

TEST(HostCommandLine, TimeLimitsReplaceTheLeadingFieldsOfTheRules) {
    HostCommandLine line;
    std::string error;
    ASSERT_TRUE(
        Parse({"--rules", "10 10 10 10 10 10 30 30 5 30 5 0 1 1", "--time-limits", "3 4  5"}, line,
              error))
        << error;
    EXPECT_EQ(line.host.table.rulesText, "3 4 5 10 10 10 30 30 5 30 5 0 1 1");
    // A short rules text grows to hold every limit given.
    EXPECT_EQ(ApplyTimeLimits("1", "7 8", error), "7 8");
}

} // namespace
