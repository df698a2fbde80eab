#include "knclientbase05/LoginFrame.h"

#include "knclientbase05/FrameworkSupport.h"
#include "knclientbase05/NoticeText.h"

namespace {

constexpr BYTE kClientKind = 3;

#pragma pack(push, 1)
struct tagLOGINPAYLOAD {
    char szUserName[20];
    char szRoom[40];
    char szLoginInfo[40];
    BYTE bLoginValue[2]; // little-endian
    BYTE bSeat[2];       // little-endian, the seat's low 16 bits
    BYTE bClientKind;
    BYTE bPadding[3];
};
#pragma pack(pop)
static_assert(sizeof(tagLOGINPAYLOAD) == 108, "login frame payload");

} // namespace

std::vector<BYTE> MakeLoginFrame(const tagLAUNCHINFO& launch) {
    // Zero behind every text: the server reads the fields whole.
    tagLOGINPAYLOAD login = {};
    CopyBoundedText(login.szUserName, sizeof login.szUserName, launch.szUserName,
                    sizeof launch.szUserName);
    CopyBoundedText(login.szRoom, sizeof login.szRoom, launch.szRoom, sizeof launch.szRoom);
    CopyBoundedText(login.szLoginInfo, sizeof login.szLoginInfo, launch.szLoginInfo,
                    sizeof launch.szLoginInfo);
    login.bLoginValue[0] = BYTE(launch.wLoginValue);
    login.bLoginValue[1] = BYTE(launch.wLoginValue >> 8);
    login.bSeat[0] = BYTE(launch.nSeatIndex);
    login.bSeat[1] = BYTE(launch.nSeatIndex >> 8);
    login.bClientKind = kClientKind;
    return framework::MakeFrame(kLoginFrame, 0, &login, sizeof login);
}
