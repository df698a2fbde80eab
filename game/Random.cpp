#include "game/Random.h"

#include "platform/system/Clock.h"

#include <ctime>
#if defined(__x86_64__) || defined(__i386__)
#include <x86intrin.h>
#endif

namespace {

uint32_t CycleCounter() {
#if defined(__x86_64__) || defined(__i386__)
    return static_cast<uint32_t>(__rdtsc());
#else
    return uint32_t(GetTickCount()) * 2654435761u;
#endif
}

} // namespace

CRandom::CRandom() {
    Randomize();
}

void CRandom::Randomize() {
    m_nSeed = static_cast<uint32_t>(std::time(nullptr)) * uint32_t(GetTickCount()) * CycleCounter();
}

int CRandom::Rand() {
    m_nSeed = m_nSeed * 22695477u + 1u;
    return static_cast<int>((m_nSeed >> 16) & 0x7FFF);
}

int CRandom::Random(int n) {
    if (n <= 0)
        return 0;
    return Rand() % n;
}
