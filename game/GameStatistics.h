#pragma once

#include <cstdint>

// The per-game statistics the referee reports to its host, and the switches
// that the end of the rules text sets.
class CGameStatistics {
public:
    CGameStatistics();

    // Reads "send perSeatReport threshold" from the end of the rules text.
    void ParseOptions(const char* text);

    bool IsSendOn() const { return m_bSend != 0; }
    bool IsPerSeatReportOn() const { return m_bPerSeatReport != 0; }
    int GetThreshold() const { return m_nThreshold; }

private:
    int32_t m_bSend;
    int32_t m_bPerSeatReport;
    int32_t m_nThreshold;
};
