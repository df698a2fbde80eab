#pragma once

// Resource script text for tests. Scripts are UTF-8 while the tests' own
// literals are GBK, so scripts are written as u8 literals.

#include <string>

inline std::string Utf8(const char8_t* text) {
    return reinterpret_cast<const char*>(text);
}
