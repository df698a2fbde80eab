// The dialogs' arithmetic and wording on their own: the betting refusals and
// card codes, the exchange and charge figures, the history's numbers and
// pages, and the settings store read back from its file.

#include "app/BetRules.h"
#include "app/CoinRules.h"
#include "app/GameSettings.h"
#include "app/HistoryPages.h"
#include "sprite/AppServices.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>

namespace {

BetTable Table() {
    BetTable table;
    table.guessesPerGame = 3;
    table.guessesUsed = 1;
    table.minBet = 100;
    table.maxBet = 5000;
    table.reserve = 1000;
    table.beans = 4000;
    return table;
}

TEST(BetRules, RefusalsComeInTheirOrder) {
    BetTable table = Table();
    EXPECT_EQ(bet_rules::Check(table, 100), bet_rules::kNone) << "the minimum itself is accepted";
    EXPECT_EQ(bet_rules::Check(table, 99), bet_rules::kBelowMinimum);
    EXPECT_EQ(bet_rules::Check(table, 3001), bet_rules::kPastReserve)
        << "below the maximum but breaking the reserve";
    EXPECT_EQ(bet_rules::Check(table, 3000), bet_rules::kNone);
    table.beans = 100000;
    EXPECT_EQ(bet_rules::Check(table, 5001), bet_rules::kAboveMaximum);
    table.guessesUsed = 3;
    EXPECT_EQ(bet_rules::Check(table, 200), bet_rules::kNoneLeft);
    EXPECT_EQ(bet_rules::Check(table, 50), bet_rules::kBelowMinimum)
        << "the minimum is checked before the guesses";
}

TEST(BetRules, NothingBelowOneBeanIsAcceptedWhateverTheMinimum) {
    BetTable table = Table();
    table.minBet = 0;
    EXPECT_EQ(bet_rules::Check(table, 0), bet_rules::kBelowMinimum);
    EXPECT_EQ(bet_rules::Check(table, -500), bet_rules::kBelowMinimum);
    EXPECT_EQ(bet_rules::Check(table, 1), bet_rules::kNone);
    EXPECT_EQ(bet_rules::Check(table, INT_MIN), bet_rules::kBelowMinimum);
}

TEST(BetRules, MaximumBetIsClampedBetweenNothingAndTheTableMaximum) {
    BetTable table = Table();
    EXPECT_EQ(bet_rules::MaxBet(table), 3000);
    table.beans = 500; // fewer than the reserve
    EXPECT_EQ(bet_rules::MaxBet(table), 0);
    table.beans = INT_MAX;
    EXPECT_EQ(bet_rules::MaxBet(table), 5000);
    table.beans = INT_MIN;
    table.reserve = INT_MAX;
    EXPECT_EQ(bet_rules::MaxBet(table), 0) << "no overflow";
}

TEST(BetRules, EveryRefusalAndResultIsWorded) {
    const BetTable table = Table();
    EXPECT_STREQ(bet_rules::RefusalText(table, 3), "对不起，您投注额小于最小投注额：100豆!");
    EXPECT_STREQ(bet_rules::RefusalText(table, 4), "对不起，您的投注额大于可投注额!");
    EXPECT_STREQ(bet_rules::RefusalText(table, 5), "对不起，您的投注额大于可投注额!");
    EXPECT_STREQ(bet_rules::RefusalText(table, 6), "对不起，您在本盘的3次竞猜机会已用完!");
    for (int silent : {0, 1, 2})
        EXPECT_TRUE(bet_rules::RefusalText(table, silent).IsEmpty()) << silent;
    EXPECT_STREQ(bet_rules::GuessesLeftText(table), "本盘剩余竞猜机会为2次!");
    EXPECT_STREQ(bet_rules::ResultText(table, 800),
                 "恭喜您中奖啦，您赢得游戏豆：800个, 本盘剩余竞猜机会为2次!");
    EXPECT_STREQ(bet_rules::ResultText(table, 0), "抱歉，您没有中奖，本盘剩余竞猜机会为2次!");
}

TEST(BetRules, DrawnCardsBecomePainterCodes) {
    const std::pair<int, int> codes[] = {{0, 51},  {11, 49}, {12, 50}, {13, 67},
                                         {52, 46}, {53, 30}, {54, 0},  {-1, 0}};
    for (const auto& [index, code] : codes)
        EXPECT_EQ(bet_rules::PainterCode(index), code) << index;
}

coin_rules::ExchangeRequest Request(int amount, DWORD unit, int wealth) {
    coin_rules::ExchangeRequest request;
    request.amount = amount;
    request.unit = unit;
    request.wealth = wealth;
    return request;
}

TEST(CoinRules, ExchangeRoundsDownToTheUnitWithinTheWealth) {
    auto decision = coin_rules::Decide(Request(1234, 10, 500));
    EXPECT_EQ(decision.kind, coin_rules::ExchangeDecision::kSend);
    EXPECT_EQ(decision.figure, 1230);

    decision = coin_rules::Decide(Request(5000, 10, 500));
    EXPECT_EQ(decision.kind, coin_rules::ExchangeDecision::kSend) << "unit x wealth itself";
    decision = coin_rules::Decide(Request(5001, 10, 500));
    EXPECT_EQ(decision.kind, coin_rules::ExchangeDecision::kTooLarge);
    EXPECT_STREQ(coin_rules::RefusalText(decision),
                 "您兑换游戏豆的数量超出了范围,您目前最多只能兑换5000个游戏豆.");
}

TEST(CoinRules, TooSmallNegativeAndUnitlessAmountsAreRefused) {
    for (int amount : {0, -10, 9}) {
        const auto decision = coin_rules::Decide(Request(amount, 10, 500));
        EXPECT_EQ(decision.kind, coin_rules::ExchangeDecision::kTooSmall) << amount;
        EXPECT_STREQ(coin_rules::RefusalText(decision), "请至少兑换10个游戏豆.");
    }
    const auto unitless = coin_rules::Decide(Request(0, 0, 500));
    EXPECT_STREQ(coin_rules::RefusalText(unitless), "请至少兑换1个游戏豆.");
    EXPECT_EQ(coin_rules::Decide(Request(50, 0, 500)).kind, coin_rules::ExchangeDecision::kTooLarge)
        << "without a unit nothing can be afforded";
}

TEST(CoinRules, TheWealthLimitDoesNotWrapIn32Bits) {
    // 100000 x 42950 is just past 2^32: in 32 bits the limit would be 32704.
    const auto big = coin_rules::Decide(Request(9900000, 100000, 42950));
    EXPECT_EQ(big.kind, coin_rules::ExchangeDecision::kSend);
    EXPECT_EQ(big.figure, 9900000);
}

TEST(CoinRules, ACompulsoryExchangeSendsAtLeastTheAmountNeeded) {
    coin_rules::ExchangeRequest request = Request(10, 10, 500);
    request.compulsory = TRUE;
    request.required = 15;
    auto decision = coin_rules::Decide(request);
    EXPECT_EQ(decision.kind, coin_rules::ExchangeDecision::kSend);
    EXPECT_TRUE(decision.raised);
    EXPECT_EQ(decision.figure, 20) << "15 rounded up to the unit, never down to 10";
    EXPECT_STREQ(coin_rules::RaisedText(decision), "您需要兑换20游戏豆，才可以继续游戏！");

    request.amount = 40;
    decision = coin_rules::Decide(request);
    EXPECT_FALSE(decision.raised);
    EXPECT_EQ(decision.figure, 40);

    request.amount = 10;
    request.required = 6000; // more than 500 wealth buys
    decision = coin_rules::Decide(request);
    EXPECT_EQ(decision.kind, coin_rules::ExchangeDecision::kTooLarge)
        << "the raised amount meets the wealth limit too";
}

TEST(CoinRules, NeededWealthIsWholeUnits) {
    EXPECT_EQ(coin_rules::NeededWealth(1234, 10), 124);
    EXPECT_EQ(coin_rules::NeededWealth(1230, 10), 123);
    EXPECT_EQ(coin_rules::NeededWealth(1234, 0), 123) << "a tenth without a unit";
    EXPECT_EQ(coin_rules::NeededWealth(0, 10), 0);
    EXPECT_STREQ(coin_rules::NeededWealthText(100, 20), "所需财富值:  5");
}

TEST(HistoryPages, NumbersAreWrittenInTenThousandsAndHundredMillions) {
    using history_pages::FormatValue;
    EXPECT_STREQ(FormatValue(12345), "+1万");
    EXPECT_STREQ(FormatValue(-12345), "-1万");
    EXPECT_STREQ(FormatValue(9999), "+9999");
    EXPECT_STREQ(FormatValue(-9999), "-9999");
    EXPECT_STREQ(FormatValue(0), "+0");
    EXPECT_STREQ(FormatValue(250000000, true), "+2亿");
    EXPECT_STREQ(FormatValue(-250000000, true), "-2亿");
    EXPECT_STREQ(FormatValue(-99999999, true), "-9999万");
    EXPECT_STREQ(FormatValue(250000000), "+25000万") << "a score total has no 亿";
    EXPECT_STREQ(FormatValue(INT_MIN), "-214748万") << "no overflow";
    EXPECT_STREQ(FormatValue(int64_t(INT_MAX) * 6, true), "+128亿");
}

TEST(HistoryPages, SevenGamesPageBackAndForth) {
    using namespace history_pages;
    int last = 7;
    EXPECT_EQ(PageEndingAt(last).first, 5);
    last = Earlier(last, 7);
    EXPECT_EQ(last, 4);
    EXPECT_EQ(PageEndingAt(last).first, 2);
    last = Earlier(last, 7);
    EXPECT_EQ(last, 3);
    EXPECT_EQ(PageEndingAt(last).first, 1);
    EXPECT_EQ(Earlier(last, 7), 3) << "the first page stays";
    last = Later(last, 7);
    EXPECT_EQ(last, 6);
    last = Later(last, 7);
    EXPECT_EQ(last, 7);
    EXPECT_EQ(Later(last, 7), 7);
}

TEST(HistoryPages, FewGamesMakeOneShortPage) {
    using namespace history_pages;
    EXPECT_EQ(PageEndingAt(0).last, 0) << "no games, no page";
    EXPECT_EQ(PageEndingAt(1).first, 1);
    EXPECT_EQ(PageEndingAt(2).first, 1);
    EXPECT_EQ(Earlier(2, 2), 2);
    EXPECT_EQ(Earlier(0, 0), 0);
    EXPECT_EQ(Later(2, 2), 2);
}

class SettingsFile : public ::testing::Test {
protected:
    void SetUp() override {
        SetExeFolderOverride((temp.Path() + "/").c_str());
        SetLogFileOverride(temp.File("test.log").c_str());
        path = temp.File("pellor2.ini");
    }
    void TearDown() override {
        SetExeFolderOverride(nullptr);
        SetLogFileOverride(nullptr);
    }
    TempFolder temp;
    std::string path;
};

TEST_F(SettingsFile, SettingsAreSavedAndReadBack) {
    CGameSettings saved;
    saved.m_bAllowWatch = 1;
    saved.m_bAllowPSound = 0;
    saved.m_bAllowBSound = 0;
    saved.m_nClockOrder = 0;
    saved.m_nClockOrderNext = 1;
    saved.m_nCardOrder = 1;
    saved.m_nWindowWidth = 1000;
    saved.m_nWindowHeight = 700;
    saved.m_strPhotoPath = "D:\\照片";
    saved.m_strBackMusic = "music\\b.mid";
    ASSERT_TRUE(saved.SaveSettings(path.c_str()));

    CGameSettings read;
    read.LoadSettings(path.c_str());
    EXPECT_EQ(read.m_bAllowWatch, 1);
    EXPECT_EQ(read.m_bAllowPSound, 0);
    EXPECT_EQ(read.m_bAllowBSound, 0);
    EXPECT_EQ(read.m_nClockOrder, 1) << "the direction chosen for the next game is what is kept";
    EXPECT_EQ(read.m_nClockOrderNext, 1);
    EXPECT_EQ(read.m_nCardOrder, 1);
    EXPECT_EQ(read.m_nWindowWidth, 1000);
    EXPECT_EQ(read.m_nWindowHeight, 700);
    EXPECT_STREQ(read.m_strPhotoPath, "D:\\照片");
    EXPECT_STREQ(read.m_strBackMusic, "music\\b.mid");
}

TEST_F(SettingsFile, AMissingFileGivesTheDefaultsAndABrokenSizeIsLogged) {
    CGameSettings settings;
    settings.LoadSettings(path.c_str());
    EXPECT_EQ(settings.m_bAllowPSound, 1);
    EXPECT_EQ(settings.m_bAllowBSound, 1);
    EXPECT_EQ(settings.m_nWindowWidth, 1024);
    EXPECT_EQ(settings.m_nWindowHeight, 734);
    EXPECT_STREQ(settings.m_strPhotoPath, (temp.Path() + "/snapshot").c_str());
    EXPECT_NE(settings.m_strLinks[kLinkHelp].Find(".example/"), -1);

    temp.Write("pellor2.ini", "[Setting]\nWindowSize=wide\n[BackMusic]\ndefault=\n");
    settings.m_strBackMusic = "keep.mid";
    settings.LoadSettings(path.c_str());
    EXPECT_EQ(settings.m_nWindowWidth, 1024);
    EXPECT_STREQ(settings.m_strBackMusic, "keep.mid") << "an empty stored music changes nothing";
    EXPECT_NE(temp.Read("test.log").find("WindowSize"), std::string::npos);
}

TEST_F(SettingsFile, TheMusicListSkipsDefaultWhereverItStands) {
    temp.Write("pellor2.ini", "[BackMusic]\nA=a.mid\nDEFAULT=b.mid\nB=b.mid\n");
    const std::vector<MusicEntry> list = ReadMusicList(path.c_str());
    ASSERT_EQ(list.size(), 2u);
    EXPECT_STREQ(list[0].name, "A") << "a first key that is music is listed";
    EXPECT_STREQ(list[0].file, "a.mid");
    EXPECT_STREQ(list[1].name, "B");
    EXPECT_STREQ(list[1].file, "b.mid");
}

TEST_F(SettingsFile, ALongMusicSectionLosesNoEntry) {
    std::string text = "[BackMusic]\ndefault=m0.mid\n";
    for (int i = 0; i < 300; ++i)
        text += "音乐" + std::to_string(i) + "=m" + std::to_string(i) + ".mid\n";
    temp.Write("pellor2.ini", text);
    const std::vector<MusicEntry> list = ReadMusicList(path.c_str());
    ASSERT_EQ(list.size(), 300u);
    EXPECT_STREQ(list[299].name, "音乐299");
    EXPECT_STREQ(list[299].file, "m299.mid");
}

} // namespace
