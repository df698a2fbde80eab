// Global memory blocks: fixed and movable handles, locks and resizing.

#include "platform/system/Memory.h"
#include "platform/Errors.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(MemoryTest, MovableBlocksAreCheckedAndLocksCounted) {
    HGLOBAL block = GlobalAlloc(GHND, 10);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(GlobalSize(block), 10u);
    auto* bytes = static_cast<char*>(GlobalLock(block));
    ASSERT_NE(bytes, nullptr);
    EXPECT_NE(static_cast<void*>(bytes), block); // a token, not the address
    EXPECT_EQ(bytes[9], 0);
    EXPECT_EQ(GlobalLock(block), bytes);
    EXPECT_EQ(GlobalHandle(bytes), block);
    EXPECT_TRUE(GlobalUnlock(block));  // still locked once
    EXPECT_FALSE(GlobalUnlock(block)); // now unlocked
    EXPECT_EQ(GetLastError(), DWORD(ERROR_SUCCESS));
    EXPECT_FALSE(GlobalUnlock(block)); // was not locked
    EXPECT_EQ(GetLastError(), DWORD(ERROR_NOT_LOCKED));
    EXPECT_EQ(GlobalFree(block), nullptr);
    EXPECT_EQ(GlobalLock(block), nullptr);
    EXPECT_EQ(GlobalSize(block), 0u);
    EXPECT_EQ(GlobalFree(block), block);
    EXPECT_EQ(GlobalAlloc(0, SIZE_T(1) << 40), nullptr);
    int onStack = 0;
    EXPECT_EQ(GlobalLock(&onStack), nullptr);
    EXPECT_EQ(GlobalFree(&onStack), static_cast<HGLOBAL>(&onStack));
}

TEST(MemoryTest, AFixedBlockIsItsOwnAddress) {
    HGLOBAL block = GlobalAlloc(GMEM_FIXED, 40);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(GlobalLock(block), block);
    std::memset(block, 0x5A, 40);      // usable straight through the handle
    EXPECT_FALSE(GlobalUnlock(block)); // fixed blocks count no locks
    EXPECT_EQ(GlobalHandle(block), block);
    EXPECT_EQ(GlobalFree(block), nullptr);
}

TEST(MemoryTest, ReAllocKeepsTheBytesAndZeroesTheGrowth) {
    // A fixed block grown with GMEM_MOVEABLE (a packed DIB's header block
    // growing to hold its bits) may come back at a new address.
    HGLOBAL fixed = GlobalAlloc(GMEM_FIXED, 4);
    std::memcpy(fixed, "abcd", 4);
    HGLOBAL grown = GlobalReAlloc(fixed, 100000, GMEM_MOVEABLE);
    ASSERT_NE(grown, nullptr);
    EXPECT_EQ(GlobalSize(grown), 100000u);
    EXPECT_EQ(std::memcmp(grown, "abcd", 4), 0);
    const char* bytes = static_cast<const char*>(grown);
    for (int i = 4; i < 100000; i += 997)
        ASSERT_EQ(bytes[i], 0) << i;
    if (grown != fixed) {
        EXPECT_EQ(GlobalSize(fixed), 0u); // the old address is no block any more
    }
    GlobalFree(grown);

    // Without GMEM_MOVEABLE a fixed block cannot move, so it cannot grow.
    HGLOBAL pinned = GlobalAlloc(GMEM_FIXED, 8);
    EXPECT_EQ(GlobalReAlloc(pinned, 1 << 20, 0), nullptr);
    EXPECT_EQ(GlobalSize(pinned), 8u);
    EXPECT_EQ(GlobalReAlloc(pinned, 4, 0), pinned); // shrinking stays in place
    EXPECT_EQ(GlobalSize(pinned), 4u);
    GlobalFree(pinned);

    // A movable block keeps its handle; while locked it may not move.
    HGLOBAL movable = GlobalAlloc(GMEM_MOVEABLE, 2);
    std::memcpy(GlobalLock(movable), "xy", 2);
    EXPECT_EQ(GlobalReAlloc(movable, 1 << 20, GMEM_MOVEABLE), nullptr);
    GlobalUnlock(movable);
    EXPECT_EQ(GlobalReAlloc(movable, 1 << 20, GMEM_MOVEABLE), movable);
    const char* moved = static_cast<const char*>(GlobalLock(movable));
    EXPECT_EQ(std::memcmp(moved, "xy", 2), 0);
    EXPECT_EQ(moved[(1 << 20) - 1], 0);
    GlobalUnlock(movable);
    EXPECT_EQ(GlobalReAlloc(movable, SIZE_T(1) << 40, GMEM_MOVEABLE), nullptr);
    EXPECT_EQ(GlobalSize(movable), SIZE_T(1) << 20);
    GlobalFree(movable);

    int onStack = 0;
    EXPECT_EQ(GlobalReAlloc(&onStack, 10, GMEM_MOVEABLE), nullptr);
}

} // namespace
