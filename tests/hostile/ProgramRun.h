#pragma once

// One conversation against the real program: Pellor is started headless in
// a folder of its own with a launch record for this host's port, logged in
// as a real host would, sent the conversation, probed and let go. What it
// did is judged from outside: its exit, its error output (the sanitizers
// report there), its peak memory and its log.

#include "Conversation.h"

#include <string>

namespace hostile {

struct RunSettings {
    std::string program; // Pellor, built with the sanitizers
    std::string folder;  // this worker's program folder (PrepareFolder)
    uint32_t loginMs = 60000;
    // From the end of the body until the program has logged the marker: a
    // hang once it has logged nothing new for probeMs (it works through the
    // body's records, slowly with the sanitizers on a busy machine), or once
    // kProbeRounds times probeMs and probeMsPerFrame for each frame of the
    // body have passed.
    uint32_t probeMs = 60000;
    uint32_t probeMsPerFrame = 100;
    static constexpr uint32_t kProbeRounds = 4;
    // From the marker until the program answered the probe's table record.
    uint32_t answerMs = 10000;
    uint32_t exitMs = 30000;
    long memoryBoundKb = 1024 * 1024;
};

enum class Verdict {
    kPassed,
    kLeftEarly, // the program left the table by itself (at a game over), cleanly
    kNoLogin,
    kSanitizer,
    kCrash,
    kHang,
    kMemory,
    kRefusals, // a refused record not logged once, right after it, with its reason
};
const char* VerdictName(Verdict verdict);
inline bool IsFailure(Verdict verdict) {
    return verdict != Verdict::kPassed && verdict != Verdict::kLeftEarly;
}

struct Outcome {
    Verdict verdict = Verdict::kPassed;
    std::string detail;
    long peakKb = 0;
    double seconds = 0;
    double loginSeconds = 0; // from the start to the program's 0x208
};

// A folder that looks like the program's own (its files linked in, its own
// settings, log, screenshots and registry), and a desktop opener that opens
// nothing. False with the reason when it cannot be made.
bool PrepareFolder(const std::string& program, const std::string& folder, std::string& error);

Outcome RunConversation(const RunSettings& settings, const Conversation& conversation);

} // namespace hostile
