#include "table/common/GameWndInfoText.h"

#include "game/GameLogic.h"
#include "game/LevelTitles.h"

#include <algorithm>
#include <cstring>

CString FixedFieldText(const char* field, size_t size) {
    return CString(field, int(strnlen(field, size)));
}

CString UserNameOf(const tagUSERINFO& user) {
    return FixedFieldText(user.szUserName, sizeof user.szUserName);
}

CString NickNameOf(const tagUSERINFO& user) {
    return FixedFieldText(user.szNickName, sizeof user.szNickName);
}

BOOL IsSeatUserTaken(const tagUSERINFO& user) {
    return user.szUserName[0] != '\0';
}

BOOL HasNickName(const tagUSERINFO& user) {
    const CString nick = NickNameOf(user);
    return !nick.IsEmpty() && nick != " ";
}

CString DisplayNameOf(const tagUSERINFO& user) {
    return HasNickName(user) ? NickNameOf(user) : UserNameOf(user);
}

CString SeatDisplayName(const CGameLogic& board, int seat) {
    return IsSeat(seat) ? DisplayNameOf(board.GetUserInfo(seat)) : CString();
}

CString PlayerInfoText(const tagUSERINFO& user) {
    CString text;
    text.Format("用户名:%s\n昵称:%s\n级别:%s\n积分:%d\n游戏豆:%d\n赢 %d 局\n输 %d 局\n和 %d "
                "局\n拥有财富:%d",
                LPCSTR(UserNameOf(user)), LPCSTR(NickNameOf(user)), GetLevelTitle(user.nLevel),
                user.nScore, user.nBeans, user.nWins, user.nLosses, user.nDraws, user.nWealth);
    return text;
}

TipPoints SpeechTipPoints(int view, POINT place) {
    // The seats on the right show their tips to the left of the plate.
    if (view == 4 || view == 5)
        return {{place.x - 80, place.y - 30}, {place.x + 20, place.y + 25}};
    return {{place.x + 90, place.y - 30}, {place.x + 80, place.y + 25}};
}

int InfoTipMode(int view) {
    if (view == 3)
        return 1;
    if (view == 4 || view == 5)
        return 3;
    return 2;
}

RECT SeatPopupRect(int view, POINT cursor) {
    const int left = view == 4 || view == 5 ? cursor.x - kSeatPopupWidth : cursor.x;
    return {left, cursor.y, left + kSeatPopupWidth, cursor.y + kSeatPopupHeight};
}

int BeanFigure(int beans, int reserve, int largestBet) {
    // In 64 bits: beans less a negative reserve must not wrap.
    const long long figure = std::min<long long>((long long)beans - reserve, largestBet);
    return int(std::max<long long>(figure, 0));
}

int StoredLevel(int level) {
    return std::clamp(level, 0, 20);
}
