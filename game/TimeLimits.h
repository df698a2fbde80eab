#pragma once

#include <cstdint>
#include <functional>

#include "game/TableRecords.h"

// The referee's per-phase time limits and its wait clock.
class CTimeLimits {
public:
    enum { kGrace = 10 };

    CTimeLimits();

    // Where the clock reads milliseconds: the platform's GetTickCount unless
    // the caller gives a source of its own (the table host's per-table clock).
    void SetTickSource(std::function<uint32_t()> source);
    uint32_t Now() const;

    // Stores the current tick as the start of the wait.
    void Start();
    void StartAt(uint32_t tick) { m_nStartTick = tick; }

    // True when the whole seconds elapsed since the start reach the limit of
    // the game state plus the grace. States 3, 5 and unknown ones never time
    // out.
    bool IsTimeOut(int gameState) const;
    bool IsTimeOutAt(int gameState, uint32_t now) const;
    // The same test against one limit by its index (0..10).
    bool IsLimitOver(int limitIndex) const;

    // Replaces the eleven limits with the table head's time limits.
    void SetLimits(const int32_t limits[kTimeLimitCount]);
    int GetLimit(int index) const;

private:
    std::function<uint32_t()> m_TickSource;
    uint32_t m_nStartTick;
    int32_t m_nLimit[kTimeLimitCount];
};
