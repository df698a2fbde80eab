#pragma once

// The tablehost program's command line.

#include "tools/tablehost/TableHost.h"

#include <string>

struct HostCommandLine {
    CTableHost::Options host;
    std::string logPath; // empty: no log; "-": standard error
    bool help = false;
};

// The rules text the host plays when none is given: 10 seconds for the
// phases before play, 30 for a play and for pressing start, a grace of 5,
// and the usual rules (tribute, return tribute, points, shao and the rest).
extern const char* const kDefaultRulesText;

// A person's table: bots think about a second before they act.
constexpr int kDefaultBotPauseMs = 1000;

// Replaces the leading time-limit fields (at most 11) of a rules text.
std::string ApplyTimeLimits(const std::string& rulesText, const std::string& limits,
                            std::string& error);

// Reads the options; false with a message in error for anything malformed.
bool ParseHostCommandLine(int argc, const char* const* argv, HostCommandLine& out,
                          std::string& error);

extern const char* const kHostUsage;
