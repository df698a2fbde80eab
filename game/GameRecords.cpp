#include "game/GameRecords.h"

#include "game/PlayRecords.h"
#include "game/StateRecords.h"
#include "game/TripleDes.h"

namespace {

// A count field read from a delivered record lies within 0..most.
bool CountWithin(const uint8_t* record, size_t offset, int most) {
    const int32_t count = LoadRecordInt(record, offset);
    return count >= 0 && count <= most;
}

// Bytes of a play record that the cipher touches: 4 x n rounded up to 8.
int PlayCipherLength(int count) {
    return (4 * count + 7) / 8 * 8;
}

bool CryptPlayCodes(tagPLAYMSG& msg, CTripleDes& cipher, bool cardsInClear, int direction) {
    const int count = msg.nCount;
    if (count < 0 || count > kPlayMaxCodes)
        return false;
    // The record ends where its body length says, and never past the struct.
    const int64_t extent =
        std::min<int64_t>(int64_t(msg.head.nBodyLen) + kGameMsgHeadSize, int64_t(sizeof msg));
    if (kPlayCodesOffset + PlayCipherLength(count) > extent)
        return false;
    if (cardsInClear || count == 0)
        return true;
    uint8_t* block = reinterpret_cast<uint8_t*>(&msg) + kPlayCodesOffset;
    return cipher.Crypt(block, block, 4 * count, direction);
}

} // namespace

const char* GameRecordFaultText(GameRecordFault fault) {
    switch (fault) {
    case kRecordOk:
        return "ok";
    case kRecordNull:
        return "no record";
    case kRecordTooShort:
        return "too short";
    case kRecordWrongId:
        return "wrong id";
    case kRecordBodyLength:
        return "body length past the end";
    case kRecordBadCount:
        return "count out of range";
    }
    return "unknown fault";
}

bool PeekGameRecordId(const void* data, int length, int* id) {
    if (!data || length < kGameMsgHeadSize)
        return false;
    if (id)
        *id = LoadRecordInt(data, offsetof(tagGAMEMSG, nMsgId));
    return true;
}

GameRecordFault CheckGameRecordHead(const void* data, int length, int id, int minSize) {
    if (!data || length < 0)
        return kRecordNull;
    if (length < kGameMsgHeadSize || length < minSize)
        return kRecordTooShort;
    if (LoadRecordInt(data, offsetof(tagGAMEMSG, nMsgId)) != id)
        return kRecordWrongId;
    // Compared unsigned: a negative body length claims more than anything.
    const uint32_t bodyLen = uint32_t(LoadRecordInt(data, offsetof(tagGAMEMSG, nBodyLen)));
    if (bodyLen > uint32_t(length - kGameMsgHeadSize))
        return kRecordBodyLength;
    return kRecordOk;
}

bool GameRecordTraits<tagSNAPSHOTMSG>::CountsFit(const uint8_t* record, int) {
    for (int seat = 0; seat < kSeatCount; ++seat) {
        if (!CountWithin(record, offsetof(tagSNAPSHOTMSG, nHandCount) + 4 * seat, kHandSize))
            return false;
    }
    return CountWithin(record, offsetof(tagSNAPSHOTMSG, nHistoryCount), kHistoryRoom);
}

bool GameRecordTraits<tagDEALMSG>::CountsFit(const uint8_t* record, int) {
    return CountWithin(record, offsetof(tagDEALMSG, nCount), kHandSize);
}

bool GameRecordTraits<tagWATCHERVIEWMSG>::CountsFit(const uint8_t* record, int) {
    return CountWithin(record, offsetof(tagWATCHERVIEWMSG, nCount), kHandSize);
}

bool GameRecordTraits<tagPLAYMSG>::CountsFit(const uint8_t* record, int length) {
    if (!CountWithin(record, offsetof(tagPLAYMSG, nCount), kPlayMaxCodes))
        return false;
    return PlayMsgLength(LoadRecordInt(record, offsetof(tagPLAYMSG, nCount))) <= length;
}

bool GameRecordTraits<tagRETURNTRIBUTEMSG>::CountsFit(const uint8_t* record, int) {
    return CountWithin(record, offsetof(tagRETURNTRIBUTEMSG, nCount), kTributeMaxCards);
}

bool GameRecordTraits<tagTRIBUTEMSG>::CountsFit(const uint8_t* record, int) {
    return CountWithin(record, offsetof(tagTRIBUTEMSG, nCount), kTributeMaxCards);
}

bool GameRecordTraits<tagCARDLIST>::CountsFit(const uint8_t* record, int) {
    return CountWithin(record, offsetof(tagCARDLIST, nCount), kCardListMaxCodes);
}

GameRecordFault CheckAnyGameRecord(const void* data, int length) {
    int id = 0;
    if (!PeekGameRecordId(data, length, &id))
        return data && length >= 0 ? kRecordTooShort : kRecordNull;
    switch (id) {
    case kMsgTableInfo:
        return CheckGameRecord<tagTABLEINFO>(data, length);
    case kMsgSnapshot:
        return CheckGameRecord<tagSNAPSHOTMSG>(data, length);
    case kMsgStart:
        return CheckGameRecord<tagSTARTMSG>(data, length);
    case kMsgDeal:
        return CheckGameRecord<tagDEALMSG>(data, length);
    case kMsgPlay:
        return CheckGameRecord<tagPLAYMSG>(data, length);
    case kMsgGameOver:
        return CheckGameRecord<tagGAMEOVERMSG>(data, length);
    case kMsgReturnTribute:
        return CheckGameRecord<tagRETURNTRIBUTEMSG>(data, length);
    case kMsgPoint:
        return CheckGameRecord<tagPOINTMSG>(data, length);
    case kMsgRevolution:
        return CheckGameRecord<tagREVOLUTIONMSG>(data, length);
    case kMsgGousiji:
        return CheckGameRecord<tagGOUSIJIMSG>(data, length);
    case kMsgBuy3:
        return CheckGameRecord<tagBUY3MSG>(data, length);
    case kMsgTribute:
        return CheckGameRecord<tagTRIBUTEMSG>(data, length);
    case kMsgTrust:
        return CheckGameRecord<tagTRUSTMSG>(data, length);
    case kMsgGameEnd:
        return CheckGameRecord<tagGAMEENDMSG>(data, length);
    case kMsgTrustWords:
        return CheckGameRecord<tagTRUSTWORDSMSG>(data, length);
    case kMsgWatcherView:
        return CheckGameRecord<tagWATCHERVIEWMSG>(data, length);
    case kMsgPlaces:
        return CheckGameRecord<tagPLACESMSG>(data, length);
    case kMsgUserRecord:
        return CheckGameRecord<tagUSERRECORDMSG>(data, length);
    case kMsgPluginData:
        return CheckGameRecord<tagPLUGINMSG>(data, length);
    case kMsgSeatRequest:
        return CheckGameRecord<tagSEATREQUESTMSG>(data, length);
    case kMsgCardList:
        return CheckGameRecord<tagCARDLIST>(data, length);
    case kMsgShaoBie:
        return CheckGameRecord<tagSHAOBIEMSG>(data, length);
    case kMsgGuess:
        return CheckGameRecord<tagGUESSMSG>(data, length);
    case kMsgTimeTick:
        return CheckGameRecord<tagTIMETICKMSG>(data, length);
    case kMsgTributeStopped:
        return CheckGameRecord<tagTRIBUTESTOPPEDMSG>(data, length);
    case kMsgBeanLock:
        return CheckGameRecord<tagBEANLOCKMSG>(data, length);
    case kMsgEmpty:
        return CheckGameRecord<tagEMPTYMSG>(data, length);
    default:
        return kRecordWrongId;
    }
}

bool InitPlayMsgWithCodes(tagPLAYMSG& msg, const int32_t* codes, int count) {
    if (count < 0 || count > kPlayMaxCodes || (count > 0 && !codes)) {
        std::memset(&msg, 0, sizeof msg);
        return false;
    }
    InitPlayMsg(msg);
    msg.head.nBodyLen = PlayMsgLength(count) - kGameMsgHeadSize;
    msg.nCount = count;
    std::copy(codes, codes + count, msg.nCodes);
    return true;
}

bool EncipherPlayCodes(tagPLAYMSG& msg, CTripleDes& cipher, bool cardsInClear) {
    return CryptPlayCodes(msg, cipher, cardsInClear, CTripleDes::kEncrypt);
}

bool DecipherPlayCodes(tagPLAYMSG& msg, CTripleDes& cipher, bool cardsInClear) {
    return CryptPlayCodes(msg, cipher, cardsInClear, CTripleDes::kDecrypt);
}
