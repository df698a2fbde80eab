// Expanding %NAME% references.

#include "platform/system/Environment.h"

#include "platform/CodePage.h"
#include "platform/Errors.h"

#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <strings.h>
#include <unistd.h>

extern char** environ;

namespace {

std::optional<std::string> Lookup(const std::string& name) {
    if (const char* exact = getenv(name.c_str()))
        return std::string(exact);
    for (char** entry = environ; entry && *entry; ++entry) {
        const char* equals = strchr(*entry, '=');
        if (equals && size_t(equals - *entry) == name.size() &&
            strncasecmp(*entry, name.c_str(), name.size()) == 0)
            return std::string(equals + 1);
    }
    // The Windows names for folders every Linux session has.
    if (strcasecmp(name.c_str(), "USERPROFILE") == 0)
        if (const char* home = getenv("HOME"))
            return std::string(home);
    if (strcasecmp(name.c_str(), "TEMP") == 0 || strcasecmp(name.c_str(), "TMP") == 0) {
        const char* tmp = getenv("TMPDIR");
        return std::string(tmp && *tmp ? tmp : "/tmp");
    }
    return std::nullopt;
}

} // namespace

DWORD ExpandEnvironmentStrings(LPCSTR source, LPSTR destination, DWORD size) {
    if (!source) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::string out;
    for (const char* at = source; *at;) {
        const char* close = *at == '%' ? strchr(at + 1, '%') : nullptr;
        if (!close) {
            out.push_back(*at++);
            continue;
        }
        std::string name(at + 1, close);
        std::optional<std::string> value = name.empty() ? std::nullopt : Lookup(name);
        if (value) {
            out += platform::Utf8ToGbk(*value);
            at = close + 1;
        } else {
            out.append(at, close + 1); // unknown: kept as written
            at = close + 1;
        }
    }
    DWORD needed = DWORD(out.size() + 1);
    if (destination && size >= needed)
        std::memcpy(destination, out.c_str(), needed);
    return needed;
}
