#include "knclientbase05/GrowPtrArray.h"

#include <gtest/gtest.h>

namespace {

void* Item(long n) {
    return reinterpret_cast<void*>(n);
}

// Reaches the storage count through the growth a test can see: Grow() is
// free (no new block) exactly while there is room.
TEST(GrowPtrArrayTest, GrowsInStepsAndKeepsEveryPointer) {
    CGrowPtrArray array(10);
    for (long n = 1; n <= 25; ++n)
        ASSERT_EQ(array.Add(Item(n)), 1);
    EXPECT_EQ(array.GetSize(), 25);
    for (long n = 1; n <= 25; ++n)
        EXPECT_EQ(array.GetAt(static_cast<int>(n - 1)), Item(n));
    EXPECT_EQ(array.GetAt(25), nullptr);
    EXPECT_EQ(array.GetAt(-1), nullptr);
}

TEST(GrowPtrArrayTest, RemovesKeepingTheOrder) {
    CGrowPtrArray array(2);
    for (long n = 1; n <= 5; ++n)
        array.Add(Item(n));
    EXPECT_EQ(array.RemoveAt(1), 1);
    EXPECT_EQ(array.GetSize(), 4);
    EXPECT_EQ(array.GetAt(0), Item(1));
    EXPECT_EQ(array.GetAt(1), Item(3));
    EXPECT_EQ(array.GetAt(3), Item(5));
    EXPECT_EQ(array.RemoveAt(3), 1); // the last one
    EXPECT_EQ(array.GetSize(), 3);
    EXPECT_EQ(array.GetAt(2), Item(4));
    EXPECT_EQ(array.RemoveAt(3), 0);
    EXPECT_EQ(array.RemoveAt(-1), 0);
}

TEST(GrowPtrArrayTest, TheStepIsFixedOnceStorageExists) {
    CGrowPtrArray array(10);
    EXPECT_EQ(array.SetGrowBy(4), 1);
    array.Add(Item(1));
    EXPECT_EQ(array.SetGrowBy(20), 0);
    // Four slots: three more fit before the array must grow again.
    for (long n = 2; n <= 5; ++n)
        EXPECT_EQ(array.Add(Item(n)), 1);
    EXPECT_EQ(array.GetSize(), 5);
}

TEST(GrowPtrArrayTest, AStepBelowOneRefusesToGrowInsteadOfOverrunning) {
    CGrowPtrArray none(0);
    EXPECT_EQ(none.Grow(), 0);
    EXPECT_EQ(none.Add(Item(1)), 0);
    EXPECT_EQ(none.GetSize(), 0);
    CGrowPtrArray negative(-3);
    EXPECT_EQ(negative.Add(Item(1)), 0);
    EXPECT_EQ(negative.SetGrowBy(0), 0);
    EXPECT_EQ(negative.SetGrowBy(2), 1);
    EXPECT_EQ(negative.Add(Item(1)), 1);
}

} // namespace
