#include "game/TimeLimits.h"

#include "platform/system/Clock.h"

#include <cstring>
#include <utility>

CTimeLimits::CTimeLimits() : m_nStartTick(0), m_nLimit{5, 3, 3, 10, 5, 5, 5, 5, 3, 10, 1} {}

void CTimeLimits::SetTickSource(std::function<uint32_t()> source) {
    m_TickSource = std::move(source);
}

uint32_t CTimeLimits::Now() const {
    return m_TickSource ? m_TickSource() : uint32_t(GetTickCount());
}

void CTimeLimits::Start() {
    m_nStartTick = Now();
}

bool CTimeLimits::IsTimeOut(int gameState) const {
    return IsTimeOutAt(gameState, Now());
}

bool CTimeLimits::IsTimeOutAt(int gameState, uint32_t now) const {
    int64_t limit;
    switch (gameState) {
    case 0:
        limit = m_nLimit[9];
        break;
    case 1:
        limit = m_nLimit[1];
        break;
    case 2:
        limit = m_nLimit[2];
        break;
    case 4: // tribute and its return are paid one after the other
        limit = 2 * int64_t(m_nLimit[3]);
        break;
    case 6:
        limit = m_nLimit[4];
        break;
    case 7:
        limit = m_nLimit[5];
        break;
    case 8:
        limit = m_nLimit[6];
        break;
    default:
        return false;
    }
    // Unsigned difference, so a wrap of the tick counter does not matter.
    uint32_t elapsedSeconds = (now - m_nStartTick) / 1000;
    return int64_t(elapsedSeconds) >= limit + m_nLimit[kGrace];
}

bool CTimeLimits::IsLimitOver(int limitIndex) const {
    if (limitIndex < 0 || limitIndex >= kTimeLimitCount)
        return false;
    uint32_t elapsedSeconds = (Now() - m_nStartTick) / 1000;
    return int64_t(elapsedSeconds) >= int64_t(m_nLimit[limitIndex]) + m_nLimit[kGrace];
}

void CTimeLimits::SetLimits(const int32_t limits[kTimeLimitCount]) {
    memcpy(m_nLimit, limits, sizeof(m_nLimit));
}

int CTimeLimits::GetLimit(int index) const {
    if (index < 0 || index >= kTimeLimitCount)
        return 0;
    return m_nLimit[index];
}
