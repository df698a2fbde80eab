#include "platform/system/Trace.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>

namespace platform {

namespace {

constexpr int kChannelCount = 6;
const char* const kChannelNames[kChannelCount] = {"network", "records", "referee",
                                                  "sprites", "sound",   "files"};

struct Settings {
    bool read = false;
    int levels[kChannelCount] = {kTraceError, kTraceOff, kTraceOff,
                                 kTraceOff,   kTraceOff, kTraceError};
    bool assertsLive = false;
    TraceListener listener = nullptr;
};

std::mutex& Lock() {
    static std::mutex lock;
    return lock;
}

Settings& TheSettings() {
    static Settings settings;
    return settings;
}

// "name=level" or "name"; all names every channel. Unknown names are passed over.
void ApplyEntry(Settings& settings, const std::string& entry) {
    const size_t equals = entry.find('=');
    const std::string name = entry.substr(0, equals);
    const int level =
        equals == std::string::npos ? kTraceInfo : std::atoi(entry.c_str() + equals + 1);
    for (int channel = 0; channel < kChannelCount; ++channel)
        if (name == "all" || name == kChannelNames[channel])
            settings.levels[channel] = level;
}

void Read(Settings& settings) {
    const TraceListener listener = settings.listener;
    settings = Settings{};
    settings.listener = listener;
    settings.read = true;
    if (const char* text = std::getenv("PELLOR_TRACE")) {
        std::string list = text;
        size_t start = 0;
        while (start <= list.size()) {
            const size_t comma = list.find(',', start);
            const std::string entry =
                list.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
            if (!entry.empty())
                ApplyEntry(settings, entry);
            if (comma == std::string::npos)
                break;
            start = comma + 1;
        }
    }
    const char* asserts = std::getenv("PELLOR_ASSERTS");
    settings.assertsLive = asserts != nullptr && *asserts != '\0' && std::strcmp(asserts, "0") != 0;
}

Settings& Current() {
    Settings& settings = TheSettings();
    if (!settings.read)
        Read(settings);
    return settings;
}

int Index(TraceChannel channel) {
    return int(channel);
}

void Emit(TraceChannel channel, int level, const char* text) {
    TraceListener listener = nullptr;
    bool traced = false;
    {
        std::lock_guard<std::mutex> guard(Lock());
        Settings& settings = Current();
        listener = settings.listener;
        traced = level <= settings.levels[Index(channel)];
    }
    if (listener != nullptr)
        listener(channel, level, text);
    if (!traced)
        return;
    std::fprintf(stderr, "[%s] %s", kChannelNames[Index(channel)], text);
    const size_t length = std::strlen(text);
    if (length == 0 || text[length - 1] != '\n')
        std::fputc('\n', stderr);
}

} // namespace

bool IsTraced(TraceChannel channel, int level) {
    std::lock_guard<std::mutex> guard(Lock());
    const Settings& settings = Current();
    return settings.listener != nullptr || level <= settings.levels[Index(channel)];
}

void TraceV(TraceChannel channel, int level, LPCSTR format, va_list args) {
    if (format == nullptr || !IsTraced(channel, level))
        return;
    char text[1024];
    std::vsnprintf(text, sizeof text, format, args);
    Emit(channel, level, text);
}

void Trace(TraceChannel channel, int level, LPCSTR format, ...) {
    va_list args;
    va_start(args, format);
    TraceV(channel, level, format, args);
    va_end(args);
}

TraceListener SetTraceListener(TraceListener listener) {
    std::lock_guard<std::mutex> guard(Lock());
    Settings& settings = Current();
    TraceListener previous = settings.listener;
    settings.listener = listener;
    return previous;
}

void ReadTraceSettings() {
    std::lock_guard<std::mutex> guard(Lock());
    Read(TheSettings());
}

bool AreAssertsLive() {
    std::lock_guard<std::mutex> guard(Lock());
    return Current().assertsLive;
}

void AssertFailed(TraceChannel channel, LPCSTR file, int line, LPCSTR text) {
    char where[1200];
    std::snprintf(where, sizeof where, "assert failed at %s:%d: %s", file, line, text);
    Emit(channel, kTraceError, where);
    // Whatever the channel's level, the failure is seen before the end.
    std::fprintf(stderr, "%s\n", where);
    std::abort();
}

void ReportCaughtFailure(TraceChannel channel, LPCSTR text) {
    Emit(channel, kTraceError, text);
    if (!AreAssertsLive())
        return;
    std::fprintf(stderr, "a caught failure ends the test run: %s\n", text);
    std::abort();
}

} // namespace platform
