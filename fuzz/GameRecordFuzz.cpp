// Arbitrary bytes as a game record: every reader must refuse or accept
// without reading past the delivered bytes, agree with the check by id, and
// an accepted play record must survive a decipher and encipher round trip.

#include "game/GameRecords.h"
#include "game/PlayRecords.h"
#include "game/StateRecords.h"
#include "game/TripleDes.h"

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace {

// Reads the bytes as T; when the id is T's, the typed reader and the check by
// id must agree.
template <class T> void ReadAs(const uint8_t* data, int length, GameRecordFault anyFault) {
    auto record = std::make_unique<T>();
    GameRecordFault fault = kRecordOk;
    const bool accepted = ReadGameRecord(data, length, *record, &fault);
    if (accepted != (fault == kRecordOk))
        abort();
    int id = 0;
    if (PeekGameRecordId(data, length, &id) && id == GameRecordTraits<T>::kId && fault != anyFault)
        abort();
    // The copy's body length says how many bytes it holds.
    const int32_t bodyLen = LoadRecordInt(record.get(), offsetof(tagGAMEMSG, nBodyLen));
    if (accepted && bodyLen != std::min(length, int(sizeof(T))) - kGameMsgHeadSize)
        abort();
}

void PlayRoundTrip(const uint8_t* data, int length) {
    tagPLAYMSG play;
    if (!ReadGameRecord(data, length, play))
        return;
    static CTripleDes cipher = [] {
        CTripleDes c;
        const uint8_t key[16] = {9, 8, 7, 6, 5, 4, 3, 2, 1, 2, 3, 4, 5, 6, 7, 8};
        c.SetKey(key, 16);
        return c;
    }();
    const tagPLAYMSG original = play;
    if (!DecipherPlayCodes(play, cipher, false) || !EncipherPlayCodes(play, cipher, false))
        abort(); // the reader's checks leave room for the cipher's blocks
    if (std::memcmp(&play, &original, sizeof play) != 0)
        abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > INT_MAX)
        return 0;
    // A buffer of exactly the delivered size, so any overread is caught.
    const std::vector<uint8_t> bytes(data, data + size);
    const uint8_t* record = bytes.data();
    const int length = int(size);
    const GameRecordFault anyFault = CheckAnyGameRecord(record, length);

    ReadAs<tagTABLEINFO>(record, length, anyFault);
    ReadAs<tagSNAPSHOTMSG>(record, length, anyFault);
    ReadAs<tagSTARTMSG>(record, length, anyFault);
    ReadAs<tagDEALMSG>(record, length, anyFault);
    ReadAs<tagPLAYMSG>(record, length, anyFault);
    ReadAs<tagGAMEOVERMSG>(record, length, anyFault);
    ReadAs<tagRETURNTRIBUTEMSG>(record, length, anyFault);
    ReadAs<tagPOINTMSG>(record, length, anyFault);
    ReadAs<tagREVOLUTIONMSG>(record, length, anyFault);
    ReadAs<tagGOUSIJIMSG>(record, length, anyFault);
    ReadAs<tagBUY3MSG>(record, length, anyFault);
    ReadAs<tagTRIBUTEMSG>(record, length, anyFault);
    ReadAs<tagTRUSTMSG>(record, length, anyFault);
    ReadAs<tagGAMEENDMSG>(record, length, anyFault);
    ReadAs<tagTRUSTWORDSMSG>(record, length, anyFault);
    ReadAs<tagWATCHERVIEWMSG>(record, length, anyFault);
    ReadAs<tagPLACESMSG>(record, length, anyFault);
    ReadAs<tagUSERRECORDMSG>(record, length, anyFault);
    ReadAs<tagPLUGINMSG>(record, length, anyFault);
    ReadAs<tagSEATREQUESTMSG>(record, length, anyFault);
    ReadAs<tagCARDLIST>(record, length, anyFault);
    ReadAs<tagSHAOBIEMSG>(record, length, anyFault);
    ReadAs<tagGUESSMSG>(record, length, anyFault);
    ReadAs<tagTIMETICKMSG>(record, length, anyFault);
    ReadAs<tagTRIBUTESTOPPEDMSG>(record, length, anyFault);
    ReadAs<tagBEANLOCKMSG>(record, length, anyFault);
    ReadAs<tagEMPTYMSG>(record, length, anyFault);
    PlayRoundTrip(record, length);
    return 0;
}
