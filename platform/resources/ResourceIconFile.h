#pragma once

// .ico and .cur files: the first picture of the file, as straight-alpha
// 0xAARRGGBB pixels. Internal to the resource calls.

#include "platform/Types.h"

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

struct IconPicture {
    int width = 0;
    int height = 0;
    POINT hotSpot{0, 0};          // cursors only
    std::vector<uint32_t> pixels; // rows top-down
};

// cursor: the file must be a .cur (type 2), else an .ico (type 1). A broken
// file is refused with a reason; nothing is read outside the bytes.
bool DecodeIconFile(const std::string& bytes, bool cursor, IconPicture& picture,
                    std::string* error);

} // namespace platform
