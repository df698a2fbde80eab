#include <gtest/gtest.h>

#include "game/Random.h"

TEST(Random, LinearCongruentialSequence) {
    CRandom random;
    random.SetSeed(1);
    EXPECT_EQ(random.Rand(), 346);
    EXPECT_EQ(random.GetSeed(), 22695478u);
    // seed = seed * 22695477 + 1 modulo 2^32, worked out by hand.
    uint32_t seed = 22695478u;
    for (int i = 0; i < 5; ++i) {
        seed = seed * 22695477u + 1u;
        EXPECT_EQ(random.Rand(), int((seed >> 16) & 0x7FFF));
    }
    random.SetSeed(0);
    EXPECT_EQ(random.Rand(), 0); // seed 1
    EXPECT_EQ(random.Rand(), 346);
}

TEST(Random, RandomStaysInRangeAndRefusesEmptyRanges) {
    CRandom random;
    random.SetSeed(12345);
    int hits[10] = {};
    for (int i = 0; i < 10000; ++i) {
        int value = random.Random(10);
        ASSERT_GE(value, 0);
        ASSERT_LT(value, 10);
        ++hits[value];
    }
    for (int count : hits)
        EXPECT_GT(count, 800);
    EXPECT_EQ(random.Random(0), 0);
    EXPECT_EQ(random.Random(-4), 0);
}
