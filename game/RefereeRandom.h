#pragma once

#include <cstdint>
#include <random>

// Where the referee draws its random numbers: the deal, the key digits and
// the guessing bets. A table draws from the operating system, so that no one
// can rebuild the hands from a few known draws; tests seed their own.
class CRefereeRandom {
public:
    virtual ~CRefereeRandom() = default;
    // 0..n-1, every value equally likely; 0 when n is not positive.
    int Below(int n);

protected:
    virtual uint32_t Next32() = 0;
};

class COsRandom : public CRefereeRandom {
protected:
    uint32_t Next32() override { return m_device(); }

private:
    std::random_device m_device;
};

class CSeededRandom : public CRefereeRandom {
public:
    explicit CSeededRandom(uint32_t seed) : m_engine(seed) {}

protected:
    uint32_t Next32() override { return static_cast<uint32_t>(m_engine()); }

private:
    std::mt19937 m_engine;
};
