// The own row of the chat panel for a player and a watcher, with and without
// the beans column, and the watched seat that left.

#include "ClientFixture.h"

namespace table_test {
namespace {

class ClientChat : public ClientTest {
protected:
    void SetUp() override {
        ClientTest::SetUp();
        theBoard.SetUserInfo(0, User("carol", 0, 50, 9));
        theBoard.SetUserInfo(2, User("alice", 2, 1200, 340));
        memcpy(client.m_szLevel, "0123456789abcdefXYZ", 16); // no terminator inside
    }
    std::vector<std::string> Row() {
        tagCMDINFO columns[5] = {};
        client.BuildChatRow(columns, 700, 55);
        std::vector<std::string> row;
        for (const tagCMDINFO& column : columns) {
            if (column.lpszCaption == nullptr)
                break;
            row.push_back(std::string(column.lpszCaption) + "/" + std::to_string(column.nWidth) +
                          "=" + column.szValue);
        }
        return row;
    }
};

TEST_F(ClientChat, APlayerShowsItsOwnSeat) {
    EXPECT_EQ(Row(), (std::vector<std::string>{"积分/16=340", "游戏豆/16=1200",
                                               "级别/32=0123456789abcdef", "旁观对象/20="}));
    theBoard.SetRuleFlags(kRuleRoomMode);
    EXPECT_EQ(Row(), (std::vector<std::string>{"积分/16=340", "级别/32=0123456789abcdef",
                                               "旁观对象/20="}));
}

TEST_F(ClientChat, AWatcherShowsItsValuesAndWhomItWatches) {
    client.m_bWatcher = 1;
    client.m_nMySeat = 0;
    EXPECT_EQ(Row(), (std::vector<std::string>{"积分/16=55", "游戏豆/16=700",
                                               "级别/32=0123456789abcdef", "旁观对象/20=carol"}));
    // The watched seat left: said once, only on a table that keeps watchers.
    client.m_bWatchTargetLeft = 1;
    EXPECT_EQ(Row().back(), "旁观对象/20=carol");
    theBoard.SetRuleFlags(kRuleChatWatchTarget);
    EXPECT_EQ(Row().back(), "旁观对象/20=#无用户#");
    EXPECT_EQ(client.m_bWatchTargetLeft, 0);
    EXPECT_EQ(Row().back(), "旁观对象/20=carol");
}

} // namespace
} // namespace table_test
