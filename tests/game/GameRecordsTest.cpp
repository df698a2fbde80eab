#include "game/GameRecords.h"
#include "game/PlayRecords.h"
#include "game/StateRecords.h"
#include "game/TripleDes.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

// A record as it travels: exactly length bytes in a buffer of its own, so the
// address sanitizer catches any read past the delivered end.
template <class T> Bytes Wire(const T& record, int length = sizeof(T)) {
    Bytes bytes(length);
    std::memcpy(bytes.data(), &record, std::min<size_t>(length, sizeof record));
    return bytes;
}

int32_t I32(const Bytes& bytes, size_t offset) {
    return LoadRecordInt(bytes.data(), offset);
}

void SetI32(Bytes& bytes, size_t offset, int32_t value) {
    std::memcpy(bytes.data() + offset, &value, sizeof value);
}

// Built, sent and read back: the copy equals what was built.
template <class T> void ExpectRoundTrip(const T& built, int length = sizeof(T)) {
    const Bytes wire = Wire(built, length);
    T read;
    GameRecordFault fault = kRecordBadCount;
    ASSERT_TRUE(ReadGameRecord(wire.data(), int(wire.size()), read, &fault))
        << GameRecordFaultText(fault);
    EXPECT_EQ(fault, kRecordOk);
    EXPECT_EQ(0, std::memcmp(&read, &built, sizeof read));
    EXPECT_EQ(CheckAnyGameRecord(wire.data(), int(wire.size())), kRecordOk);
}

// The initialiser gives the id and size the records table names, all else 0.
template <class T> void ExpectInit(void (*init)(T&), int id, int size) {
    T record;
    std::memset(&record, 0xA5, sizeof record);
    init(record);
    const Bytes wire = Wire(record);
    ASSERT_EQ(int(wire.size()), size) << std::hex << id;
    EXPECT_EQ(I32(wire, 0), id);
    EXPECT_EQ(I32(wire, 4), size - 8) << std::hex << id;
    for (int i = 8; i < size; ++i)
        ASSERT_EQ(wire[i], 0) << std::hex << id << " byte " << std::dec << i;
}

TEST(GameRecords, InitialisersGiveEveryIdItsSize) {
    ExpectInit(InitTableInfoMsg, 0x901, 1072);
    ExpectInit(InitSnapshotMsg, 0x902, 25632);
    ExpectInit(InitStartMsg, 0x903, 20);
    ExpectInit(InitDealMsg, 0x904, 292);
    ExpectInit(InitPlayMsg, 0x905, 352);
    ExpectInit(InitGameOverMsg, 0x906, 1224);
    ExpectInit(InitReturnTributeMsg, 0x907, 96);
    ExpectInit(InitPointMsg, 0x908, 28);
    ExpectInit(InitRevolutionMsg, 0x909, 48);
    ExpectInit(InitGousijiMsg, 0x90A, 24);
    ExpectInit(InitBuy3Msg, 0x90B, 60);
    ExpectInit(InitTributeMsg, 0x90D, 88);
    ExpectInit(InitTrustMsg, 0x90E, 52);
    ExpectInit(InitGameEndMsg, 0x910, 80);
    ExpectInit(InitTrustWordsMsg, 0x911, 36);
    ExpectInit(InitWatcherViewMsg, 0x912, 296);
    ExpectInit(InitPlacesMsg, 0x913, 36);
    ExpectInit(InitUserRecordMsg, 0x914, 160);
    ExpectInit(InitPluginMsg, 0x915, 136);
    ExpectInit(InitSeatRequestMsg, 0x917, 12);
    ExpectInit(InitCardListMsg, 0x918, 60);
    ExpectInit(InitShaoBieMsg, 0x919, 28);
    ExpectInit(InitGuessMsg, 0x91A, 20);
    ExpectInit(InitTimeTickMsg, 0x91B, 12);
    ExpectInit(InitTributeStoppedMsg, 0x91C, 32);
    ExpectInit(InitBeanLockMsg, 0x91D, 12);
    ExpectInit(InitEmptyMsg, 0x91E, 8);

    tagTRIBUTEENTRY tribute = {1, 2, 3, 4};
    InitTributeEntry(tribute);
    EXPECT_EQ(tribute.nKind | tribute.nReceiver | tribute.nGiver | tribute.nCount, 0);
    tagPLAYENTRY play = {5, 6, 7};
    InitPlayEntry(play);
    EXPECT_EQ(play.nSeat | play.nReserved | int(play.type), 0);
}

TEST(GameRecords, TableInfoAndSnapshotFieldsSitAtTheirOffsets) {
    tagTABLEINFO info;
    InitTableInfoMsg(info);
    info.head.nRuleFlags = 0x10000000;
    info.users[2].nBeans = 777;
    info.nStartFlags[5] = 1;
    Bytes wire = Wire(info);
    EXPECT_EQ(I32(wire, 60), 0x10000000);
    EXPECT_EQ(I32(wire, 184 + 144 * 2 + 136), 777);
    EXPECT_EQ(I32(wire, 1048 + 20), 1);
    ExpectRoundTrip(info);

    auto snap = std::make_unique<tagSNAPSHOTMSG>();
    InitSnapshotMsg(*snap);
    snap->users[5].nScore = 901;
    snap->nGameState = 8;
    snap->nReturnSeat = 3;
    snap->nStartFlags[1] = 11;
    snap->hand[0] = tagCARD{200, 12, 7, 2, 1};
    snap->hand[35].spare = 9;
    snap->nHandCount[4] = 36;
    snap->tableHead.nRuleFlags = 0x150F7;
    snap->nTrustWords[2] = 300;
    snap->nPointAnswers1[0] = 41;
    snap->nPointAnswers2[0] = 42;
    snap->nOpenedPoint[0] = 43;
    snap->nSeatStatus[3] = 0x104;
    snap->nActionMask[1] = 16;
    snap->history[0].nScoreChange[0] = -12;
    snap->history[2].nBeanChange[5] = 4444;
    snap->history[499].nBeanChange[5] = 5555;
    snap->nTrustCount = 2;
    snap->nHistoryCount = 500;
    snap->nPlaces[0] = 4;
    snap->nGousijiAnswers[5] = -1;
    snap->lastPlay = tagPLAYENTRY{6, 0, 0x0203};
    snap->nPlayCounter = 17;
    snap->bWatcherMaySee = 1;
    snap->nWatcherBeans = 1234;
    snap->nWatcherScore = -56;
    wire = Wire(*snap);
    EXPECT_EQ(I32(wire, 8 + 144 * 5 + 48), 901);
    EXPECT_EQ(I32(wire, 872), 8);
    EXPECT_EQ(I32(wire, 876), 3);
    EXPECT_EQ(I32(wire, 884), 11);
    EXPECT_EQ(wire[928], 200);
    EXPECT_EQ(wire[930], 7);
    EXPECT_EQ(wire[928 + 35 * 5 + 2], 9);
    EXPECT_EQ(I32(wire, 1204 + 16), 36);
    EXPECT_EQ(I32(wire, 1280), 0x150F7);
    EXPECT_EQ(I32(wire, 1400 + 8), 300);
    EXPECT_EQ(I32(wire, 1424), 41);
    EXPECT_EQ(I32(wire, 1448), 42);
    EXPECT_EQ(I32(wire, 1472), 43);
    EXPECT_EQ(I32(wire, 1496 + 12), 0x104);
    EXPECT_EQ(I32(wire, 1520 + 4), 16);
    EXPECT_EQ(I32(wire, 1544), -12);
    EXPECT_EQ(I32(wire, 1544 + 96 + 24 + 20), 4444);
    EXPECT_EQ(I32(wire, 1544 + 48 * 499 + 44), 5555);
    EXPECT_EQ(I32(wire, 25544), 2);
    EXPECT_EQ(I32(wire, 25548), 500);
    EXPECT_EQ(I32(wire, 25552), 4);
    EXPECT_EQ(I32(wire, 25576 + 20), -1);
    EXPECT_EQ(I32(wire, 25600), 6);
    EXPECT_EQ(I32(wire, 25608), 0x0203);
    EXPECT_EQ(I32(wire, 25612), 17);
    EXPECT_EQ(I32(wire, 25616), 1);
    EXPECT_EQ(I32(wire, 25620), 1234);
    EXPECT_EQ(I32(wire, 25624), -56);
    ExpectRoundTrip(*snap);
}

TEST(GameRecords, DealGameOverAndNoticeFieldsSitAtTheirOffsets) {
    tagDEALMSG deal;
    InitDealMsg(deal);
    deal.nSeat = 4;
    deal.hand[0] = tagCARD{53, 14, 3, 53, 1};
    deal.hand[54] = tagCARD{17, 4, 0, 1, 1};
    deal.nCount = 55;
    Bytes wire = Wire(deal);
    EXPECT_EQ(I32(wire, 8), 4);
    EXPECT_EQ(wire[12], 53);
    EXPECT_EQ(wire[14], 3);
    EXPECT_EQ(wire[12 + 54 * 5], 17);
    EXPECT_EQ(wire[287], 0);
    EXPECT_EQ(I32(wire, 288), 55);
    ExpectRoundTrip(deal);

    tagGAMEOVERMSG over;
    InitGameOverMsg(over);
    over.pointTributes[2] = tagTRIBUTEENTRY{1, 0, 3, 1};
    over.shaoTributes[0] = tagTRIBUTEENTRY{3, 2, 5, 1};
    over.bieTributes[5].nGiver = 4;
    over.placeTributes[1] = tagTRIBUTEENTRY{4, 1, 2, 2};
    over.change.nScoreChange[1] = -4;
    over.change.nBeanChange[2] = 360;
    over.nResult[3] = 2;
    over.nGamesPlayed = 7;
    std::strcpy(over.users[1].szUserName, "alpha");
    std::strcpy(over.users[1].szNickName, "beta");
    wire = Wire(over);
    EXPECT_EQ(I32(wire, 8 + 32), 1);
    EXPECT_EQ(I32(wire, 8 + 32 + 8), 3);
    EXPECT_EQ(I32(wire, 56 + 4), 2);
    EXPECT_EQ(I32(wire, 152 + 80 + 8), 4);
    EXPECT_EQ(I32(wire, 248 + 16), 4);
    EXPECT_EQ(I32(wire, 248 + 28), 2);
    EXPECT_EQ(I32(wire, 284), -4);
    EXPECT_EQ(I32(wire, 312), 360);
    EXPECT_EQ(I32(wire, 340), 2);
    EXPECT_EQ(I32(wire, 352), 7);
    EXPECT_STREQ(reinterpret_cast<const char*>(&wire[364 + 144]), "alpha");
    EXPECT_STREQ(reinterpret_cast<const char*>(&wire[384 + 144]), "beta");
    ExpectRoundTrip(over);

    tagGAMEENDMSG end;
    InitGameEndMsg(end);
    end.entries[5] = tagSETTLEMENTENTRY{-30, -300, 1, {}};
    wire = Wire(end);
    EXPECT_EQ(I32(wire, 8 + 60), -30);
    EXPECT_EQ(I32(wire, 8 + 64), -300);
    EXPECT_EQ(wire[8 + 68], 1);
    ExpectRoundTrip(end);

    tagTRUSTWORDSMSG words;
    InitTrustWordsMsg(words);
    words.nTrustWords[3] = 302;
    words.nSeat = 3;
    wire = Wire(words);
    EXPECT_EQ(I32(wire, 20), 302);
    EXPECT_EQ(I32(wire, 32), 3);
    ExpectRoundTrip(words);

    tagPLACESMSG places;
    InitPlacesMsg(places);
    places.nPlaces[5] = 2;
    places.nSeat = -1;
    wire = Wire(places);
    EXPECT_EQ(I32(wire, 28), 2);
    EXPECT_EQ(I32(wire, 32), -1);
    ExpectRoundTrip(places);

    tagUSERRECORDMSG user;
    InitUserRecordMsg(user);
    user.nSeat = 2;
    user.user.nBeans = 99;
    wire = Wire(user);
    EXPECT_EQ(I32(wire, 8), 2);
    EXPECT_EQ(I32(wire, 16 + 136), 99);
    ExpectRoundTrip(user);

    tagWATCHERVIEWMSG view;
    InitWatcherViewMsg(view);
    view.bAllow = 1;
    view.nSeat = 5;
    view.nCount = 36;
    view.hand[1] = MakeHiddenCard();
    wire = Wire(view);
    EXPECT_EQ(I32(wire, 8), 1);
    EXPECT_EQ(I32(wire, 12), 5);
    EXPECT_EQ(I32(wire, 16), 36);
    EXPECT_EQ(wire[25], 255);
    EXPECT_EQ(wire[29], 3);
    ExpectRoundTrip(view);

    tagTRIBUTESTOPPEDMSG stopped;
    InitTributeStoppedMsg(stopped);
    stopped.bStopped[4] = 1;
    EXPECT_EQ(I32(Wire(stopped), 24), 1);
    ExpectRoundTrip(stopped);

    tagBEANLOCKMSG lock;
    InitBeanLockMsg(lock);
    lock.nResult = -2;
    EXPECT_EQ(I32(Wire(lock), 8), -2);
    ExpectRoundTrip(lock);

    tagEMPTYMSG empty;
    InitEmptyMsg(empty);
    ExpectRoundTrip(empty);
}

TEST(GameRecords, PlayRecordFieldsAndClientLength) {
    const int32_t codes[3] = {0, 107, 215};
    tagPLAYMSG play;
    ASSERT_TRUE(InitPlayMsgWithCodes(play, codes, 3));
    play.nSeat = 2;
    play.nType = 16;
    play.nPlayCounter = 41;
    EXPECT_EQ(PlayMsgLength(3), 92);
    Bytes wire = Wire(play, PlayMsgLength(3));
    EXPECT_EQ(I32(wire, 0), 0x905);
    EXPECT_EQ(I32(wire, 4), 84);
    EXPECT_EQ(I32(wire, 8), 2);
    EXPECT_EQ(I32(wire, 12), 16);
    EXPECT_EQ(I32(wire, 16), 41);
    EXPECT_EQ(I32(wire, 72), 3);
    EXPECT_EQ(I32(wire, 76), 0);
    EXPECT_EQ(I32(wire, 80), 107);
    EXPECT_EQ(I32(wire, 84), 215);
    EXPECT_EQ(I32(wire, 88), 0);
    ExpectRoundTrip(play, PlayMsgLength(3));

    tagPLAYMSG pass;
    ASSERT_TRUE(InitPlayMsgWithCodes(pass, nullptr, 0));
    EXPECT_EQ(pass.head.nBodyLen + 8, 80);
    ExpectRoundTrip(pass, 80);

    tagPLAYMSG prompt;
    InitPlayMsg(prompt);
    prompt.nHandCount = 9;
    prompt.nActionMask[5] = 17;
    prompt.nSeatStatus[0] = 0x100;
    prompt.nCount = 68;
    prompt.nCodes[67] = 199;
    wire = Wire(prompt);
    EXPECT_EQ(I32(wire, 20), 9);
    EXPECT_EQ(I32(wire, 24 + 20), 17);
    EXPECT_EQ(I32(wire, 48), 0x100);
    EXPECT_EQ(I32(wire, 76 + 4 * 67), 199);
    ExpectRoundTrip(prompt);

    tagPLAYMSG tooMany;
    EXPECT_FALSE(InitPlayMsgWithCodes(tooMany, codes, 69));
    EXPECT_FALSE(InitPlayMsgWithCodes(tooMany, codes, -1));
    EXPECT_FALSE(InitPlayMsgWithCodes(tooMany, nullptr, 2));
    EXPECT_EQ(tooMany.head.nMsgId, 0);
}

TEST(GameRecords, PhaseRecordFieldsSitAtTheirOffsets) {
    tagSTARTMSG start;
    InitStartMsg(start);
    start.nSeat = 1;
    start.nMultiple = 16;
    start.nStartFee = 250;
    Bytes wire = Wire(start);
    EXPECT_EQ(I32(wire, 8), 1);
    EXPECT_EQ(I32(wire, 12), 16);
    EXPECT_EQ(I32(wire, 16), 250);
    ExpectRoundTrip(start);

    tagRETURNTRIBUTEMSG ret;
    InitReturnTributeMsg(ret);
    ret.nSeat = 6;
    ret.nReceiver = 0;
    ret.nReturner = 3;
    ret.nCount = 12;
    ret.cards[11] = tagCARD{11, 11, 0, 0, 1};
    ret.bRequested = 1;
    ret.bMoved = 1;
    ret.nKind = 3;
    wire = Wire(ret);
    EXPECT_EQ(I32(wire, 8), 6);
    EXPECT_EQ(I32(wire, 16), 3);
    EXPECT_EQ(I32(wire, 20), 12);
    EXPECT_EQ(wire[24 + 55], 11);
    EXPECT_EQ(I32(wire, 84), 1);
    EXPECT_EQ(I32(wire, 88), 1);
    EXPECT_EQ(I32(wire, 92), 3);
    ExpectRoundTrip(ret);

    tagPOINTMSG point;
    InitPointMsg(point);
    point.bAnswer = 1;
    point.bYes = 1;
    point.nSeat = 5;
    point.nKind = 2;
    point.nFee = 30;
    wire = Wire(point);
    EXPECT_EQ(I32(wire, 16), 5);
    EXPECT_EQ(I32(wire, 20), 2);
    EXPECT_EQ(I32(wire, 24), 30);
    ExpectRoundTrip(point);

    tagREVOLUTIONMSG rev;
    InitRevolutionMsg(rev);
    rev.nSeat = 4;
    rev.bAsked[5] = 1;
    rev.nCount = 2;
    wire = Wire(rev);
    EXPECT_EQ(I32(wire, 16), 4);
    EXPECT_EQ(I32(wire, 40), 1);
    EXPECT_EQ(I32(wire, 44), 2);
    ExpectRoundTrip(rev);

    tagGOUSIJIMSG gousiji;
    InitGousijiMsg(gousiji);
    gousiji.bYes = 1;
    gousiji.nSeat = 3;
    gousiji.nAnswer = 2;
    gousiji.bFinal = 1;
    wire = Wire(gousiji);
    EXPECT_EQ(I32(wire, 8), 1);
    EXPECT_EQ(I32(wire, 12), 3);
    EXPECT_EQ(I32(wire, 16), 2);
    EXPECT_EQ(I32(wire, 20), 1);
    ExpectRoundTrip(gousiji);

    tagBUY3MSG buy;
    InitBuy3Msg(buy);
    buy.nBuyer = 2;
    buy.nSeller = 5;
    buy.paidCard = tagCARD{12, 12, 0, 0, 1};
    buy.boughtThree = tagCARD{39, 0, 0, 3, 1};
    buy.bExchanged = 1;
    wire = Wire(buy);
    EXPECT_EQ(I32(wire, 36), 2);
    EXPECT_EQ(I32(wire, 40), 5);
    EXPECT_EQ(wire[44], 12);
    EXPECT_EQ(wire[48], 1);
    EXPECT_EQ(wire[49], 39);
    EXPECT_EQ(wire[52], 3);
    EXPECT_EQ(I32(wire, 56), 1);
    ExpectRoundTrip(buy);

    tagTRIBUTEMSG tribute;
    InitTributeMsg(tribute);
    tribute.nGiver = 1;
    tribute.nReceiver = 4;
    tribute.cards[0] = tagCARD{53, 14, 0, 53, 0x11};
    tribute.nCount = 1;
    tribute.nKind = 2;
    wire = Wire(tribute);
    EXPECT_EQ(I32(wire, 12), 1);
    EXPECT_EQ(I32(wire, 16), 4);
    EXPECT_EQ(wire[20], 53);
    EXPECT_EQ(wire[24], 0x11);
    EXPECT_EQ(I32(wire, 80), 1);
    EXPECT_EQ(I32(wire, 84), 2);
    ExpectRoundTrip(tribute);

    tagTRUSTMSG trust;
    InitTrustMsg(trust);
    trust.nSeat = 2;
    trust.bAutomatic = 1;
    trust.bOn = 1;
    trust.nSwitchCount = 3;
    wire = Wire(trust);
    EXPECT_EQ(wire[12], 1);
    EXPECT_EQ(I32(wire, 16), 1);
    EXPECT_EQ(I32(wire, 20), 3);
    ExpectRoundTrip(trust);
}

TEST(GameRecords, RelayAndNoticeRecordFieldsSitAtTheirOffsets) {
    tagPLUGINMSG plugin;
    InitPluginMsg(plugin);
    plugin.data[0] = 0x5A;
    plugin.data[127] = 0xC3;
    Bytes wire = Wire(plugin);
    EXPECT_EQ(wire[8], 0x5A);
    EXPECT_EQ(wire[135], 0xC3);
    ExpectRoundTrip(plugin);

    tagSEATREQUESTMSG request;
    InitSeatRequestMsg(request);
    request.nSeat = 4;
    EXPECT_EQ(I32(Wire(request), 8), 4);
    ExpectRoundTrip(request);

    tagCARDLIST cue;
    InitCardListMsg(cue);
    cue.nSeat = 4;
    cue.nCodes[9] = 255;
    cue.nCount = 10;
    cue.nFromSeat = 0;
    wire = Wire(cue);
    EXPECT_EQ(I32(wire, 8), 4);
    EXPECT_EQ(I32(wire, 48), 255);
    EXPECT_EQ(I32(wire, 52), 10);
    EXPECT_EQ(I32(wire, 56), 0);
    ExpectRoundTrip(cue);

    tagSHAOBIEMSG shao;
    InitShaoBieMsg(shao);
    shao.bNotice = 1;
    shao.nKind = 3;
    shao.nActor = 1;
    shao.nAffected = 2;
    shao.nValue = 1;
    wire = Wire(shao);
    EXPECT_EQ(wire[8], 1);
    EXPECT_EQ(I32(wire, 12), 3);
    EXPECT_EQ(I32(wire, 16), 1);
    EXPECT_EQ(I32(wire, 20), 2);
    EXPECT_EQ(I32(wire, 24), 1);
    ExpectRoundTrip(shao);

    tagGUESSMSG guess;
    InitGuessMsg(guess);
    guess.nSeat = 5;
    guess.nOption = 4;
    guess.nAmount = 500;
    wire = Wire(guess);
    EXPECT_EQ(I32(wire, 12), 4);
    EXPECT_EQ(I32(wire, 16), 500);
    ExpectRoundTrip(guess);

    tagTIMETICKMSG tick;
    InitTimeTickMsg(tick);
    EXPECT_EQ(I32(Wire(tick), 8), 0);
    ExpectRoundTrip(tick);
}

// One delivered record of every id at its fixed part, zeroed past the head.
struct FixedPart {
    int id;
    int minSize;
};
const FixedPart kFixedParts[] = {
    {0x901, 1072}, {0x902, 25632}, {0x903, 20}, {0x904, 292}, {0x905, 80}, {0x906, 1224},
    {0x907, 96},   {0x908, 28},    {0x909, 48}, {0x90A, 24},  {0x90B, 60}, {0x90D, 88},
    {0x90E, 52},   {0x910, 80},    {0x911, 36}, {0x912, 296}, {0x913, 36}, {0x914, 160},
    {0x915, 136},  {0x917, 12},    {0x918, 60}, {0x919, 28},  {0x91A, 20}, {0x91B, 12},
    {0x91C, 32},   {0x91D, 12},    {0x91E, 8},
};

Bytes Delivered(int id, int length, int bodyLen) {
    Bytes bytes(length);
    if (length >= 8) {
        SetI32(bytes, 0, id);
        SetI32(bytes, 4, bodyLen);
    }
    return bytes;
}

TEST(GameRecords, ShortRecordsAndBadBodyLengthsAreRefused) {
    for (const FixedPart& part : kFixedParts) {
        SCOPED_TRACE(testing::Message() << std::hex << part.id);
        Bytes whole = Delivered(part.id, part.minSize, part.minSize - 8);
        EXPECT_EQ(CheckAnyGameRecord(whole.data(), part.minSize), kRecordOk);
        if (part.minSize > 8) {
            Bytes shorter = Delivered(part.id, part.minSize - 1, part.minSize - 9);
            EXPECT_EQ(CheckAnyGameRecord(shorter.data(), part.minSize - 1), kRecordTooShort);
        }
        // The body length may not claim more than was delivered.
        Bytes claimsMore = Delivered(part.id, part.minSize, part.minSize - 7);
        EXPECT_EQ(CheckAnyGameRecord(claimsMore.data(), part.minSize), kRecordBodyLength);
        Bytes negative = Delivered(part.id, part.minSize, -1);
        EXPECT_EQ(CheckAnyGameRecord(negative.data(), part.minSize), kRecordBodyLength);
    }

    Bytes head = Delivered(0x91E, 7, 0);
    EXPECT_EQ(CheckAnyGameRecord(head.data(), 7), kRecordTooShort);
    EXPECT_EQ(CheckAnyGameRecord(nullptr, 20), kRecordNull);
    EXPECT_EQ(CheckAnyGameRecord(head.data(), -1), kRecordNull);
    int id = 0;
    EXPECT_FALSE(PeekGameRecordId(head.data(), 7, &id));

    for (int unknown : {0x900, 0x90C, 0x90F, 0x916, 0x91F, -1}) {
        Bytes record = Delivered(unknown, 400, 392);
        EXPECT_EQ(CheckAnyGameRecord(record.data(), 400), kRecordWrongId) << unknown;
    }
}

TEST(GameRecords, TheDeliveredLengthWins) {
    // A body length short of what was delivered is accepted; the copy says
    // how much it holds.
    Bytes start = Delivered(0x903, 20, 4);
    SetI32(start, 16, 99);
    tagSTARTMSG read;
    ASSERT_TRUE(ReadGameRecord(start.data(), 20, read));
    EXPECT_EQ(read.head.nBodyLen, 12);
    EXPECT_EQ(read.nStartFee, 99);

    // Bytes past the record's layout are not kept.
    Bytes longer = Delivered(0x91C, 40, 32);
    SetI32(longer, 28, 1);
    SetI32(longer, 32, 0x7777);
    tagTRIBUTESTOPPEDMSG stopped;
    ASSERT_TRUE(ReadGameRecord(longer.data(), 40, stopped));
    EXPECT_EQ(stopped.head.nBodyLen, 24);
    EXPECT_EQ(stopped.bStopped[5], 1);

    // A typed reader refuses another id and leaves its output zeroed.
    Bytes point = Delivered(0x908, 28, 20);
    SetI32(point, 16, 3);
    tagSTARTMSG wrong;
    std::memset(&wrong, 0x5A, sizeof wrong);
    GameRecordFault fault = kRecordOk;
    EXPECT_FALSE(ReadGameRecord(point.data(), 28, wrong, &fault));
    EXPECT_EQ(fault, kRecordWrongId);
    EXPECT_EQ(wrong.head.nMsgId | wrong.nSeat | wrong.nMultiple | wrong.nStartFee, 0);
}

// A count field set to value in an otherwise valid record of the given id.
GameRecordFault WithCount(int id, int size, size_t offset, int32_t value) {
    Bytes record = Delivered(id, size, size - 8);
    SetI32(record, offset, value);
    return CheckAnyGameRecord(record.data(), size);
}

TEST(GameRecords, CountsOutsideTheirArraysAreRefused) {
    struct Count {
        int id, size;
        size_t offset;
        int most;
    };
    const Count counts[] = {
        {0x904, 292, 288, 55},      {0x912, 296, 16, 55},     {0x907, 96, 20, 12},
        {0x90D, 88, 80, 12},        {0x918, 60, 52, 10},      {0x905, 352, 72, 68},
        {0x902, 25632, 25548, 500}, {0x902, 25632, 1204, 55}, {0x902, 25632, 1224, 55},
    };
    for (const Count& c : counts) {
        SCOPED_TRACE(testing::Message() << std::hex << c.id << std::dec << " at " << c.offset);
        EXPECT_EQ(WithCount(c.id, c.size, c.offset, c.most), kRecordOk);
        EXPECT_EQ(WithCount(c.id, c.size, c.offset, 0), kRecordOk);
        EXPECT_EQ(WithCount(c.id, c.size, c.offset, c.most + 1), kRecordBadCount);
        EXPECT_EQ(WithCount(c.id, c.size, c.offset, -1), kRecordBadCount);
        EXPECT_EQ(WithCount(c.id, c.size, c.offset, INT32_MIN), kRecordBadCount);
    }

    // A client's play must deliver its n codes and the spare word after them.
    EXPECT_EQ(WithCount(0x905, 84, 72, 1), kRecordOk);
    EXPECT_EQ(WithCount(0x905, 83, 72, 1), kRecordBadCount);
    EXPECT_EQ(WithCount(0x905, 80, 72, 1), kRecordBadCount);
    EXPECT_EQ(WithCount(0x905, 92, 72, 4), kRecordBadCount);
    EXPECT_EQ(WithCount(0x905, 96, 72, 4), kRecordOk);
}

class PlayCipher : public testing::Test {
protected:
    void SetUp() override {
        const uint8_t key[16] = {3, 1, 4, 1, 5, 9, 2, 6, 5, 3, 5, 8, 9, 7, 9, 3};
        cipher.SetKey(key, 16);
    }
    CTripleDes cipher;
};

TEST_F(PlayCipher, OneCodeCoversTheEightBytesFromOffset76) {
    const int32_t code = 137;
    tagPLAYMSG sent;
    ASSERT_TRUE(InitPlayMsgWithCodes(sent, &code, 1));
    ASSERT_EQ(PlayMsgLength(1), 84);
    const Bytes plain = Wire(sent, 84);
    ASSERT_TRUE(EncipherPlayCodes(sent, cipher, false));
    const Bytes wire = Wire(sent, 84);

    // The same 8 bytes through the cipher directly.
    uint8_t block[8];
    std::memcpy(block, plain.data() + 76, 8);
    ASSERT_TRUE(cipher.Crypt(block, block, 8, CTripleDes::kEncrypt));
    EXPECT_EQ(0, std::memcmp(wire.data() + 76, block, 8));
    EXPECT_EQ(0, std::memcmp(wire.data(), plain.data(), 76));
    EXPECT_NE(I32(wire, 76), code);

    tagPLAYMSG received;
    ASSERT_TRUE(ReadGameRecord(wire.data(), 84, received));
    ASSERT_TRUE(DecipherPlayCodes(received, cipher, false));
    EXPECT_EQ(received.nCodes[0], code);
    EXPECT_EQ(received.spare348, 0);
}

TEST_F(PlayCipher, CodesRoundTripAtEveryCount) {
    for (int count : {2, 3, 35, 67, 68}) {
        SCOPED_TRACE(count);
        std::vector<int32_t> codes(count);
        for (int i = 0; i < count; ++i)
            codes[i] = (i * 37 + 11) % 216;
        tagPLAYMSG msg;
        ASSERT_TRUE(InitPlayMsgWithCodes(msg, codes.data(), count));
        ASSERT_TRUE(EncipherPlayCodes(msg, cipher, false));
        EXPECT_NE(0, std::memcmp(msg.nCodes, codes.data(), 4 * count));
        const Bytes wire = Wire(msg, PlayMsgLength(count));
        tagPLAYMSG read;
        ASSERT_TRUE(ReadGameRecord(wire.data(), int(wire.size()), read));
        ASSERT_TRUE(DecipherPlayCodes(read, cipher, false));
        EXPECT_EQ(0, std::memcmp(read.nCodes, codes.data(), 4 * count));
    }

    // The referee's 352-byte prompt with all 68 codes.
    tagPLAYMSG prompt;
    InitPlayMsg(prompt);
    prompt.nCount = 68;
    for (int i = 0; i < 68; ++i)
        prompt.nCodes[i] = 215 - i;
    const tagPLAYMSG original = prompt;
    ASSERT_TRUE(EncipherPlayCodes(prompt, cipher, false));
    ASSERT_TRUE(DecipherPlayCodes(prompt, cipher, false));
    EXPECT_EQ(0, std::memcmp(&prompt, &original, sizeof prompt));
}

TEST_F(PlayCipher, CardsInClearAndBadCountsChangeNothing) {
    const int32_t codes[2] = {5, 6};
    tagPLAYMSG msg;
    ASSERT_TRUE(InitPlayMsgWithCodes(msg, codes, 2));
    tagPLAYMSG before = msg;
    EXPECT_TRUE(EncipherPlayCodes(msg, cipher, true));
    EXPECT_EQ(0, std::memcmp(&msg, &before, sizeof msg));

    tagPLAYMSG pass;
    ASSERT_TRUE(InitPlayMsgWithCodes(pass, nullptr, 0));
    before = pass;
    EXPECT_TRUE(EncipherPlayCodes(pass, cipher, false));
    EXPECT_EQ(0, std::memcmp(&pass, &before, sizeof pass));

    msg.nCount = 69;
    before = msg;
    EXPECT_FALSE(EncipherPlayCodes(msg, cipher, false));
    msg.nCount = -3;
    EXPECT_FALSE(DecipherPlayCodes(msg, cipher, false));
    // A body length that leaves no room for the rounded block.
    msg.nCount = 3;
    msg.head.nBodyLen = PlayMsgLength(3) - 8 - 4;
    before = msg;
    EXPECT_FALSE(EncipherPlayCodes(msg, cipher, false));
    EXPECT_EQ(0, std::memcmp(&msg, &before, sizeof msg));
}

TEST(GameRecords, HiddenCardsTravelAsCode255WithFlags3) {
    const tagCARD hidden = MakeHiddenCard();
    const uint8_t expected[5] = {255, 0, 0, 0, 3};
    EXPECT_EQ(0, std::memcmp(&hidden, expected, 5));
    EXPECT_TRUE(IsHiddenCard(hidden));
    EXPECT_FALSE(IsHiddenCard(tagCARD{0, 0, 0, 0, 1}));

    // A watcher's deal: 36 hidden cards whose spare bytes still carry the
    // key digits.
    tagDEALMSG deal;
    InitDealMsg(deal);
    deal.nSeat = 3;
    for (int i = 0; i < 36; ++i) {
        deal.hand[i] = MakeHiddenCard();
        deal.hand[i].spare = uint8_t(i % 10);
    }
    deal.nCount = 36;
    const Bytes wire = Wire(deal);
    EXPECT_EQ(wire[12 + 35 * 5], 255);
    EXPECT_EQ(wire[12 + 35 * 5 + 2], 5);
    EXPECT_EQ(wire[12 + 35 * 5 + 4], 3);
    EXPECT_EQ(wire[12 + 36 * 5], 0);
    tagDEALMSG read;
    ASSERT_TRUE(ReadGameRecord(wire.data(), int(wire.size()), read));
    for (int i = 0; i < 36; ++i)
        EXPECT_TRUE(IsHiddenCard(read.hand[i])) << i;
    EXPECT_EQ(read.hand[7].spare, 7);
}

} // namespace
