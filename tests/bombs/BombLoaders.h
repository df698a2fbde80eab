#pragma once

// The readers of outside files the bomb corpus feeds, by name: each takes a
// file as the program or the library does, and says whether it took it. A
// case kind is added here, with its files in make_bombs.py.

#include "platform/system/InputBounds.h"

#include <string>

namespace bombs {

struct Loader {
    const char* name;
    // What the kind of input may cost (platform/system/InputBounds.h).
    platform::InputCost bound;
    bool (*load)(const std::string& path);
};

// Null for a name no loader has.
const Loader* FindLoader(const std::string& name);

// What every loader needs before its first file: a display, a main window,
// the null audio device.
void PrepareLoaders();

} // namespace bombs
