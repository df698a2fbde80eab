#include "knclientbase05/KNpubBuffer.h"
#include "knclientbase05/KNpubHash.h"
#include "knclientbase05/KNpubLevels.h"
#include "knclientbase05/KNpubSystem.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(HashTest, SumsBigEndianWords) {
    EXPECT_EQ(HashText32("ABCDE"), 0x41424344u + 0x45u);
    EXPECT_EQ(HashTextUpper32("abcde"), HashText32("ABCDE"));
    EXPECT_EQ(HashText16("ABC"), 0x4142 + 0x43);
    EXPECT_EQ(HashTextUpper16("abc"), HashText16("ABC"));
    const BYTE bytes[] = {0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x02};
    EXPECT_EQ(HashBytes32(bytes, 8), 1u); // wraps at 32 bits
}

TEST(LevelTest, ChangesAtTheThresholds) {
    EXPECT_EQ(LevelFromDays(0), 0);
    EXPECT_EQ(LevelFromDays(1), 1);
    EXPECT_EQ(LevelFromDays(299), 1);
    EXPECT_EQ(LevelFromDays(300), 2);
    EXPECT_EQ(LevelFromDays(3849), 11);
    EXPECT_EQ(LevelFromDays(100000), 12);
    EXPECT_EQ(DaysForLevel(2), 300);
    EXPECT_EQ(DaysForLevel(12), 3850);
    EXPECT_EQ(DaysForLevel(1), 0);
    EXPECT_EQ(StarsFromDays(929), 5);
    EXPECT_EQ(StarsFromDays(930), 10);
    EXPECT_EQ(StarsFromDays(3060), 20);
    EXPECT_EQ(LevelSince(1000, 1000 + 300 * 86400), 2);
    EXPECT_EQ(LevelFromPoints(499), 1);
    EXPECT_EQ(LevelFromPoints(500), 2);
    EXPECT_EQ(LevelFromPoints(999), 2);
    EXPECT_EQ(LevelFromPoints(1000), 3);
    EXPECT_EQ(LevelFromPoints(131071999), 19);
    EXPECT_EQ(LevelFromPoints(131072000), 20);
    EXPECT_EQ(PointsForLevel(20), 131072000);
    EXPECT_EQ(PointsForLevel(21), 0);
}

TEST(BufferCursorTest, PacksAndReadsBack) {
    BYTE buffer[64];
    BYTE* put = PutU32(buffer, 0x01020304);
    put = PutString(put, "name");
    put = PutBytes(put, "\xAA\xBB", 2);
    EXPECT_EQ(put - buffer, 4 + 5 + 2);
    EXPECT_EQ(buffer[0], 0x04);

    DWORD value = 0;
    char text[3];
    BYTE bytes[2];
    const BYTE* get = GetU32(buffer, &value);
    get = GetString(get, text, sizeof text);
    get = GetBytes(get, bytes, 2);
    EXPECT_EQ(value, 0x01020304u);
    EXPECT_STREQ(text, "na"); // cut to the output, cursor past the whole text
    EXPECT_EQ(get, put);
    EXPECT_EQ(bytes[1], 0xBB);
}

TEST(FrameLengthTest, AddsTheHeaderOfEachFrameKind) {
    DWORD request[2] = {0x205, 100};
    DWORD reply[2] = {0x80000205u, 100};
    EXPECT_EQ(FrameTotalLength(request), 108u);
    EXPECT_EQ(FrameTotalLength(reply), 112u);
    EXPECT_EQ(FrameTotalLength(nullptr), 0u);
}

int AddHook(void* a, void* b) {
    return static_cast<int>(reinterpret_cast<intptr_t>(a) + reinterpret_cast<intptr_t>(b));
}

TEST(LibraryHookTest, EmptySlotsAnswerZeroAndFilledOnesTheLowByte) {
    EXPECT_EQ(CallHookA(nullptr, nullptr), 0);
    SetLibraryHooks(AddHook, nullptr, nullptr, nullptr);
    EXPECT_EQ(CallHookA(reinterpret_cast<void*>(0x100), reinterpret_cast<void*>(0x23)), 0x23);
    EXPECT_EQ(CallHookB(nullptr, nullptr), 0);
    SetLibraryHooks(nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(GetLibraryWord(), 0x04000001u);
}

TEST(Md5OfTest, ForwardsToTheDigest) {
    BYTE digest[16];
    Md5Of(digest, "abc", 3);
    EXPECT_EQ(digest[0], 0x90);
    EXPECT_EQ(digest[15], 0x72);
}

} // namespace
