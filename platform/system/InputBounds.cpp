#include "platform/system/InputBounds.h"

#include "platform/system/Trace.h"

namespace platform {

bool RefuseInput(const char* what, const std::string& why, std::string* error) {
    Trace(TraceChannel::kFiles, kTraceError, "%s refused: %s", what, why.c_str());
    if (error)
        *error = why;
    return false;
}

} // namespace platform
