#pragma once

#include <cstdint>

// A plain 32-bit linear congruential generator, used for dealing and for the
// guessing bet. A new instance seeds itself from the time of day, the tick
// count and the processor's cycle counter.
class CRandom {
public:
    CRandom();
    void Randomize();
    void SetSeed(uint32_t seed) { m_nSeed = seed; }
    uint32_t GetSeed() const { return m_nSeed; }
    // 0..32767.
    int Rand();
    // 0..n-1; 0 when n is not positive.
    int Random(int n);

private:
    uint32_t m_nSeed;
};
