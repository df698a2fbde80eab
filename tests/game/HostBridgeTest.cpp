#include <cstring>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "tests/game/CardHelpers.h"

namespace {

struct RecordedCall {
    int owner, code, param, length;
    std::string text;
};
std::vector<RecordedCall>& Calls() {
    static std::vector<RecordedCall> calls;
    return calls;
}
int RecordCall(tagHOSTCALL* call) {
    std::string text = call->nCode == kHostTrace ? static_cast<const char*>(call->pData) : "";
    Calls().push_back({call->nOwnerId, call->nCode, call->nParam, call->nDataLen, text});
    return 7;
}

} // namespace

TEST(HostBridge, UnknownEventsReturnZero) {
    std::unique_ptr<CGameLogicBase> logic(CreateGameLogic());
    ASSERT_NE(logic, nullptr);
    EXPECT_EQ(logic->Dispatch(16, 0, 0), 0);
    EXPECT_EQ(logic->Dispatch(-1, 0, 0), 0);
    EXPECT_EQ(logic->Dispatch(15, 0, 0), 0); // slot 16 answers 0
    EXPECT_EQ(logic->Dispatch(11, 0, 0), 1);
    EXPECT_EQ(logic->Init(), 1);
}

TEST(HostBridge, PropertiesThroughTheDispatcher) {
    CGameLogic board;
    std::string longName(60, 'n');
    EXPECT_EQ(board.Dispatch(0, kPropName, reinterpret_cast<intptr_t>(longName.c_str())), 1);
    EXPECT_EQ(std::string(board.GetName()), longName.substr(0, 39));
    int value = 77;
    board.Dispatch(0, 10002, reinterpret_cast<intptr_t>(&value));
    EXPECT_EQ(board.GetIntProperty(10002), 77);
    EXPECT_EQ(board.GetIntProperty(10001), -1);
    EXPECT_EQ(board.GetIntProperty(10004), 1);
    value = 5;
    board.SetProperty(kPropBeanRate, &value);
    EXPECT_EQ(board.GetIntProperty(10004), 5);
    EXPECT_EQ(board.GetTableHead().nProperty10004, 5);
    EXPECT_EQ(board.SetProperty(10003, nullptr), 0);
    const char* rules = "1 2 3";
    board.Dispatch(0, kPropRulesText, reinterpret_cast<intptr_t>(rules));
    EXPECT_EQ(board.GetTableHead().nTimeLimit[2], 3);
}

TEST(HostBridge, HostCallsCarryTheOwnerAndTraceTexts) {
    CGameLogic board;
    board.Trace("no host: %d", 1); // must not call anything
    Calls().clear();
    board.SetOwnerId(42);
    board.SetHostCallback(&RecordCall);
    board.Trace("Erro:-------:%s %d", "line", 9);
    std::string longText(3000, 'x');
    board.Trace("%s", longText.c_str());
    char record[16] = {};
    EXPECT_EQ(board.SendToAll(record, 16), 7);
    board.SendToSeat(3, record, 12);
    board.SendForwardedToSeat(2, record, 12);
    board.SendToWatchers(4, record, 8);
    board.SendSnapshot(record, 16);
    ASSERT_EQ(Calls().size(), 7u);
    EXPECT_EQ(Calls()[0].owner, 42);
    EXPECT_EQ(Calls()[0].code, kHostTrace);
    EXPECT_EQ(Calls()[0].text, "Erro:-------:line 9");
    EXPECT_EQ(Calls()[1].text.size(), 1023u);
    EXPECT_EQ(Calls()[2].code, 100);
    EXPECT_EQ(Calls()[2].length, 16);
    EXPECT_EQ(Calls()[3].code, 104);
    EXPECT_EQ(Calls()[3].param, 3);
    EXPECT_EQ(Calls()[4].code, 103);
    EXPECT_EQ(Calls()[5].code, 105);
    EXPECT_EQ(Calls()[5].param, 4);
    EXPECT_EQ(Calls()[6].code, 106);
}
