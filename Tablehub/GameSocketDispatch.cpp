// The game socket's dispatch: every frame of the game server that no reply
// wait takes becomes a call of the registered client's callbacks.
//
// Each frame is checked against the payload its layout needs before a field
// is read; a short one is logged and dropped. Every text handed to the
// client is a NUL-terminated copy bounded by the payload's end (or by its
// field), so a server that leaves out the NUL cannot make the client read
// past the frame, and the copy stays valid when the connection is closed
// before the call.

#include "Tablehub/GameSocket.h"

#include "Tablehub/Tablehub.h"
#include "knclientbase05/FrameworkSupport.h"
#include "knclientbase05/KNpubSystem.h"
#include "knclientbase05/LaunchInfo.h"
#include "knclientbase05/NoticeText.h"
#include "knclientbase05/ServerFrames.h"

#include <cstring>
#include <vector>

using framework::kNameField;
using framework::PayloadOf;
using namespace server_frames;

namespace {

// Where the fields of the layouts lie.
constexpr DWORD kServerNoticeHead = 28; // seven words before the text area
constexpr DWORD kServerNoticeCloseAt = 16;
constexpr DWORD kNoticeHead = 12;         // id, style, extra
constexpr DWORD kExchangeRequestHead = 8; // amount, second value
constexpr DWORD kServerValueHead = 4;
constexpr DWORD kChargeRecordSize = 16;
constexpr DWORD kSeatField = 2;
constexpr DWORD kChangeSeatHead = 8; // seat byte, 3 spare, watcher word
constexpr BYTE kTableSeats = 6;
constexpr DWORD kExchangeResultSize = 28; // name, beans, wealth
constexpr DWORD kChargeResultSize = 44;   // name, 6 values, count, selector

// Link-event sub-codes.
constexpr DWORD kLinkEscaped = 1;
constexpr DWORD kLinkKickedOut = 2;
constexpr DWORD kLinkRoomBroken = 4;
constexpr DWORD kLinkTimedOut = 8;

constexpr DWORD kExchangeSucceeded = 1;
constexpr DWORD kChargeSucceeded = 0;

constexpr DWORD kNotOurs = DWORD(-1);
constexpr DWORD kToPayloadEnd = DWORD(-1);

// The payload a frame of the game connection needs; kNotOurs for a frame
// that is not one of them.
DWORD NeededPayload(DWORD type) {
    switch (type) {
    case kGameDataFrame:
    case kPlayerBreakFrame:
    case kPlayerBackFrame:
    case kLeaveReply:
    case kGameOverFrame:
    case kLinkEventFrame:
        return 0;
    case kServerNoticeFrame:
        return kServerNoticeHead;
    case kNoticeFrame:
        return kNoticeHead;
    case kExchangeRequestFrame:
        return kExchangeRequestHead;
    case kServerValueFrame:
        return kServerValueHead;
    case kChargeRequestFrame:
        return kChargeRecordSize;
    case kSeatLeftFrame:
        return kSeatField;
    case kChangeSeatReply:
        return kChangeSeatHead;
    case kExchangeReply:
        return kExchangeResultSize;
    case kChargeReply:
        return kChargeResultSize;
    default:
        return kNotOurs;
    }
}

// The framework's frames that the game connection receives and leaves
// alone: the server's payload transform is not used here, and the questions,
// address queries, trusteeship notices and round lists are the framework
// socket's business, not the game's.
bool IsIgnored(DWORD type) {
    switch (type) {
    case kTransformFrame:
    case kQuietFrame:
    case kQuestionFrame:
    case kAddressQueryFrame:
    case kTrustExitReply:
    case kTrusteeshipReply:
    case kQuietReply:
    case kRoundListReply:
        return true;
    default:
        return false;
    }
}

// The text at offset, up to its NUL, the end of its field or the payload's
// end, whichever comes first; empty when the payload ends before it.
std::vector<char> TextAt(const BYTE* payload, DWORD length, DWORD offset,
                         DWORD field = kToPayloadEnd) {
    DWORD available = offset < length ? length - offset : 0;
    if (available > field)
        available = field;
    std::vector<char> text(size_t(available) + 1);
    CopyBoundedText(text.data(), text.size(), payload + (offset < length ? offset : 0), available);
    return text;
}

WORD HalfAt(const BYTE* bytes) {
    return WORD(bytes[0] | bytes[1] << 8);
}

// Frame 0x23B: the amount needed, a second value and an optional text.
void ExchangeRequest(CTablehub& client, const BYTE* payload, DWORD length) {
    const std::vector<char> text = TextAt(payload, length, kExchangeRequestHead);
    client.OnNeedExchangeGameCoin(ReadWireWord(payload), ReadWireWord(payload + 4), text.data());
}

// Frame 0x241: the charge record, field by field, then its text.
void ChargeRequest(CTablehub& client, const BYTE* payload, DWORD length) {
    tagGAMECOINCHARGE charge;
    charge.dwValue0 = ReadWireWord(payload);
    charge.dwValue1 = ReadWireWord(payload + 4);
    charge.wValue2 = HalfAt(payload + 8);
    charge.wValue3 = HalfAt(payload + 10);
    charge.wValue4 = HalfAt(payload + 12);
    charge.wValue5 = HalfAt(payload + 14);
    const std::vector<char> text = TextAt(payload, length, kChargeRecordSize);
    client.OnNeedChargeGameCoin(charge, text.data());
}

// Reply 0x8000023C: result 1 is success, with the name and two values.
void ExchangeResult(CTablehub& client, const tagMSGHEADER* frame, const BYTE* payload) {
    if (frame->result != kExchangeSucceeded) {
        client.OnExchangedGameCoinFailed(int(frame->result));
        return;
    }
    std::vector<char> name = TextAt(payload, frame->length, 0, kNameField);
    client.OnExchangedGameCoinSuccess(name.data(), ReadWireWord(payload + 20),
                                      ReadWireWord(payload + 24));
}

// Reply 0x80000242: result 0 is success. A failure carries two sets of
// values; the word at 42 says which one holds.
void ChargeResult(CTablehub& client, const tagMSGHEADER* frame, const BYTE* payload) {
    const int result = int(frame->result);
    if (frame->result == kChargeSucceeded) {
        std::vector<char> name = TextAt(payload, frame->length, 0, kNameField);
        client.OnChargedGameCoinSuccess(name.data(), int(ReadWireWord(payload + 32)),
                                        int(ReadWireWord(payload + 36)), HalfAt(payload + 40));
    } else if (HalfAt(payload + 42) != 0) {
        client.OnChargedGameCoinFailed(result, ReadWireWord(payload + 20), HalfAt(payload + 28),
                                       HalfAt(payload + 40));
    } else {
        client.OnChargedGameCoinFailed(result, ReadWireWord(payload + 24), HalfAt(payload + 30),
                                       HalfAt(payload + 40));
    }
}

} // namespace

int CGameSocket::OnMessage(tagMSGHEADER* frame) {
    if (frame == nullptr)
        return 0;
    const DWORD type = frame->type;
    if (IsIgnored(type))
        return 1;
    const DWORD needed = NeededPayload(type);
    if (needed == kNotOurs)
        return 0; // not a frame of the game connection: dropped without a word
    if (!framework::HasPayload(type, frame->length, needed))
        return 0;
    CTablehub* client = GetRegisteredClient();
    if (client == nullptr) {
        DebugTrace("game socket: frame %#x came with no client registered; dropped", type);
        // The server ended the connection all the same.
        if (type == kLinkEventFrame || type == kLeaveReply)
            Close();
        return 0;
    }
    return Dispatch(*client, frame);
}

int CGameSocket::Dispatch(CTablehub& client, tagMSGHEADER* frame) {
    const DWORD length = frame->length;
    BYTE* payload = reinterpret_cast<BYTE*>(frame) + FrameHeaderSize(frame->type);
    switch (frame->type) {
    case kGameDataFrame:
        return client.OnGameMsg(int(length), length != 0 ? payload : nullptr);
    case kServerNoticeFrame:
        return ShowServerNotice(frame);
    case kNoticeFrame:
        // The framework socket shows it as the game needs it: by id or by
        // text, with reading held while the box is open, so that frames
        // wait in order behind it whatever the client turns on meanwhile.
        return CKNRuviDerezSocket::OnMessage(frame);
    case kPlayerBreakFrame:
    case kPlayerBackFrame: {
        std::vector<char> name = TextAt(payload, length, 0);
        if (frame->type == kPlayerBreakFrame)
            client.OnBreak(name.data());
        else
            client.OnReConnet(name.data());
        return 1;
    }
    case kExchangeRequestFrame:
        m_bExchangeRequested = 1;
        ExchangeRequest(client, payload, length);
        return 1;
    case kServerValueFrame:
        client.m_nServerValue = int(ReadWireWord(payload));
        if (length > kServerValueHead)
            client.m_strServerText = TextAt(payload, length, kServerValueHead).data();
        return 1;
    case kChargeRequestFrame:
        ChargeRequest(client, payload, length);
        return 1;
    case kSeatLeftFrame:
        client.OnLeaveGame(HalfAt(payload));
        return 1;
    case kLeaveReply:
        return LeaveReply(client, frame);
    case kChangeSeatReply:
        ChangeSeatReply(client, frame);
        return 1;
    case kGameOverFrame:
        client.OnMastGameOver();
        return 1;
    case kExchangeReply:
        ExchangeResult(client, frame, payload);
        return 1;
    case kChargeReply:
        ChargeResult(client, frame, payload);
        return 1;
    case kLinkEventFrame:
        return LinkEvent(client, frame);
    default:
        return 0;
    }
}

// Frame 0x225 is the framework's server notice, which the framework socket
// shows as the game needs it (text converted from its code page, the page
// opened only when it is a web address). Its close flag ends the connection
// without a word to anyone: the client is told here, as of every other end
// it did not ask for, or the player would sit on at a dead table.
int CGameSocket::ShowServerNotice(tagMSGHEADER* frame) {
    const bool closes = ReadWireWord(PayloadOf(frame) + kServerNoticeCloseAt) != 0;
    const bool wasOpen = IsOpen();
    const int reports = m_nCloseReports;
    CKNRuviDerezSocket::OnMessage(frame);
    if (closes && wasOpen && !IsOpen() && m_nCloseReports == reports) {
        ++m_nCloseReports;
        if (CTablehub* client = GetRegisteredClient())
            client->OnClose(-1);
    }
    return 1;
}

// Reply 0x800001AB to a seat change. A result of 0 refuses the new seat but
// the watcher flag and the room are the server's word either way. A seat
// that is none of the table's is taken as a refusal: the game indexes its
// seats with it.
void CGameSocket::ChangeSeatReply(CTablehub& client, const tagMSGHEADER* frame) {
    const BYTE* payload = PayloadOf(frame);
    DWORD result = frame->result;
    if (result != 0 && payload[0] >= kTableSeats) {
        DebugTrace("game socket: the seat change names seat %u, which the table has not; "
                   "taken as refused",
                   unsigned(payload[0]));
        result = 0;
    }
    client.m_nChangeSeatResult = int(result);
    if (result != 0) {
        theLaunchInfo.nSeatIndex = payload[0];
        client.m_nMySeat = payload[0];
    }
    client.m_bWatcher = BOOL(ReadWireWord(payload + 4));
    // The room goes into the launch record's 40-byte field, which the next
    // login sends whole: cut at a character boundary and zero behind. A
    // reply that carries no room leaves the one there.
    if (frame->length > kChangeSeatHead) {
        memset(theLaunchInfo.szRoom, 0, sizeof theLaunchInfo.szRoom);
        CopyBoundedText(theLaunchInfo.szRoom, sizeof theLaunchInfo.szRoom,
                        payload + kChangeSeatHead, frame->length - kChangeSeatHead);
    }
    client.OnChangeSeat();
}

// Reply 0x80000202: the table is dissolved; the connection ends first.
int CGameSocket::LeaveReply(CTablehub& client, const tagMSGHEADER* frame) {
    std::vector<char> text = TextAt(PayloadOf(frame), frame->length, 0);
    Close();
    client.OnLeaveGame(text.data());
    return 0;
}

// The link event 0xFFFFFFFF: the server ends the connection, saying why in
// its result word. The text is copied out before the close.
int CGameSocket::LinkEvent(CTablehub& client, const tagMSGHEADER* frame) {
    std::vector<char> text = TextAt(PayloadOf(frame), frame->length, 0);
    Close();
    switch (frame->result) {
    case kLinkEscaped:
        client.OnEscapeGame(text.data());
        break;
    case kLinkKickedOut:
        client.OnKickOut();
        break;
    case kLinkRoomBroken:
        client.OnRoomBreak(text.data());
        break;
    case kLinkTimedOut:
        client.OnNetTimeOut(text.data());
        break;
    default:
        client.OnError();
        break;
    }
    return 0;
}
