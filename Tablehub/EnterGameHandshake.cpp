#include "Tablehub/EnterGameHandshake.h"

#include "Tablehub/GameSocket.h"
#include "knclientbase05/FrameworkSupport.h"
#include "knclientbase05/KNpubSystem.h"
#include "knclientbase05/LoginFrame.h"
#include "knclientbase05/NoticeText.h"
#include "knclientbase05/WaitCursor.h"
#include "platform/controls/MessageBox.h"

#include <vector>

namespace {

constexpr BYTE kAccepted = 1;
constexpr BYTE kIllegalName = 4;
// The system's own code page: names arrive converted to it.
constexpr WORD kTargetCodePage = 0;

WORD loginTableNumber = 0;

int Refuse(LPCSTR text) {
    CGameSocket& socket = GetGameSocket();
    socket.Close();
    socket.ShowTipText(text, MB_ICONSTOP, UINT(-1));
    return 0;
}

} // namespace

WORD GetLoginTableNumber() {
    return loginTableNumber;
}

int EnterGameHandshake(const tagLAUNCHINFO* launch, int* playerCount, tagPLAYERINFO** players,
                       DWORD* firstBlockLength, BYTE** firstBlock, DWORD* secondValue,
                       BYTE** secondBlock) {
    if (launch == nullptr)
        return 0;
    CWaitCursorScope cursor;
    CGameSocket& socket = GetGameSocket();
    char server[sizeof launch->szGameServer + 1];
    CopyBoundedText(server, sizeof server, launch->szGameServer, sizeof launch->szGameServer);
    if (!socket.Connect(server, launch->wGameServerPort, 1))
        return 0;

    const std::vector<BYTE> frame = MakeLoginFrame(*launch);
    tagMSGHEADER* reply = nullptr;
    if (!socket.SendMessage(reinterpret_cast<const tagMSGHEADER*>(frame.data()), &reply,
                            kLoginReply) ||
        reply == nullptr)
        return 0;
    // Nothing may reach the client before EnterGame has filled its fields.
    socket.DisableReceive();

    switch (BYTE(reply->result)) {
    case kAccepted:
        break;
    case kIllegalName:
        return Refuse("发现非法用户名企图登录！");
    default:
        return Refuse("现在无法进入游戏通道，请过一会儿再试试");
    }

    tagLOGINREPLY read;
    BYTE* payload = reinterpret_cast<BYTE*>(reply) + FrameHeaderSize(reply->type);
    if (!ReadLoginReply(payload, reply->length, &read)) {
        DebugTrace("login reply refused: %u payload bytes do not hold what it announces",
                   unsigned(reply->length));
        return Refuse("现在无法进入游戏通道，请过一会儿再试试");
    }
    loginTableNumber = read.wTableNumber;
    if (IsCodePageConverterAvailable())
        ConvertPlayerNames(read.pPlayers, read.wPlayerCount, theCodePage.pTranStrCodePage,
                           kTargetCodePage);
    if (playerCount != nullptr)
        *playerCount = read.wPlayerCount;
    if (players != nullptr)
        *players = read.pPlayers;
    if (firstBlockLength != nullptr)
        *firstBlockLength = read.dwFirstBlockLength;
    if (firstBlock != nullptr)
        *firstBlock = read.pFirstBlock;
    if (secondValue != nullptr)
        *secondValue = read.dwSecondValue;
    if (secondBlock != nullptr)
        *secondBlock = read.pSecondBlock;
    return 1;
}
