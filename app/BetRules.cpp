#include "app/BetRules.h"

#include "table/cards/CardPainter.h"

#include <algorithm>
#include <cstdint>

namespace bet_rules {

CString RefusalText(const BetTable& table, int code) {
    CString text;
    switch (code) {
    case kBelowMinimum:
        text.Format("对不起，您投注额小于最小投注额：%d豆!", table.minBet);
        break;
    case kPastReserve:
    case kAboveMaximum:
        text = "对不起，您的投注额大于可投注额!";
        break;
    case kNoneLeft:
        text.Format("对不起，您在本盘的%d次竞猜机会已用完!", table.guessesPerGame);
        break;
    default:
        break;
    }
    return text;
}

CString GuessesLeftText(const BetTable& table) {
    CString text;
    text.Format("本盘剩余竞猜机会为%d次!", GuessesLeft(table));
    return text;
}

CString ResultText(const BetTable& table, int beansWon) {
    CString text;
    if (beansWon >= 1)
        text.Format("恭喜您中奖啦，您赢得游戏豆：%d个, 本盘剩余竞猜机会为%d次!", beansWon,
                    GuessesLeft(table));
    else
        text.Format("抱歉，您没有中奖，本盘剩余竞猜机会为%d次!", GuessesLeft(table));
    return text;
}

int PainterCode(int cardIndex) {
    if (cardIndex < 0)
        return 0;
    return CardFaceCode(cardIndex);
}

} // namespace bet_rules
