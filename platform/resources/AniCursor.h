#pragma once

// Animated cursor files (RIFF "ACON"): the "anih" header, the optional
// "rate" and "seq " tables and the "LIST" "fram" list of "icon" chunks, each
// a whole .ico or .cur file. Internal to the icon calls.

#include "platform/resources/IconObject.h"

#include <string>

namespace platform {

// True when the bytes start as an animated cursor (so CreateIconFromResource
// should read them with ParseAniCursor).
bool LooksLikeAniCursor(const uint8_t* data, size_t size);

// Reads the whole file into parts: the first frame's planes with every frame,
// rate and step. A short, lying or inconsistent file is refused with a
// reason; nothing is read past its end.
bool ParseAniCursor(const uint8_t* data, size_t size, IconParts& parts, std::string* error);

// A frame chunk (an .ico or .cur file) as a picture: its entry that best
// suits cx x cy (0: the first entry's size).
bool IconFileFrame(const uint8_t* data, size_t size, int cx, int cy, IconParts& parts,
                   std::string* error);

} // namespace platform
