#pragma once

// The bytes of a found resource, for tests that compare them.

#include "platform/resources/Resource.h"

#include <string>

inline std::string ResourceBytes(HMODULE module, HRSRC found) {
    HGLOBAL data = LoadResource(module, found);
    const char* bytes = static_cast<const char*>(LockResource(data));
    return bytes ? std::string(bytes, SizeofResource(module, found)) : std::string();
}
