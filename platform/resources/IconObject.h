#pragma once

// The icon object behind HICON: its planes, kept with the cursor shape the
// window layer shows. Internal to the icon calls (see Icon.h).

#include "platform/resources/Icon.h"
#include "platform/resources/ResourceIconFile.h"

#include <cstdint>
#include <vector>

namespace platform {

struct IconParts {
    bool isIcon = true;
    int width = 0;
    int height = 0;
    POINT hotSpot{0, 0};
    int bitCount = 32;            // of the picture it was made from
    bool hasAlpha = false;        // colour's top byte is a straight alpha
    bool monochrome = false;      // colour is the XOR plane: 0 or 0xFFFFFF
    std::vector<uint32_t> colour; // 0xAARRGGBB, rows top-down
    std::vector<uint8_t> andMask; // one byte a pixel: 1 keeps the screen
    // Animated cursors only: the frames (each a still picture), the steps'
    // display times in 1/60 s and the frame of each step.
    std::vector<IconParts> frames;
    std::vector<DWORD> rates;
    std::vector<int> sequence;
};

// True when the planes are consistent (sizes 1..256, one colour and mask
// value a pixel).
bool IconPartsValid(const IconParts& parts);
// A new icon (or cursor) handle; null with ERROR_INVALID_PARAMETER when the
// parts are not valid.
HICON MakeIcon(IconParts parts);
// The planes of an icon handle; null for a handle that is not an icon or a
// bitmap cursor.
const IconParts* IconPartsOf(HICON icon);
// How the planes look on a display that cannot XOR: straight alpha,
// inverting pixels as black.
std::vector<uint32_t> DisplayPixels(const IconParts& parts);
// Nearest-pixel scaling of the colour and the mask (frames are dropped).
IconParts ScaledParts(const IconParts& parts, int width, int height);
// MakeIcon at cx x cy (0 keeps the picture's side); null with
// ERROR_INVALID_PARAMETER for a side over 256.
HICON MakeIconAtSize(IconParts parts, int cx, int cy);
// Shared icons (LoadIcon, LR_SHARED) are not destroyed by DestroyIcon.
void MarkIconShared(HICON icon);
// The planes of a decoded image.
IconParts PartsFromImage(IconImage image, bool isIcon, POINT hotSpot);
// The RT_ICON (icon) or RT_CURSOR id of an icon or cursor group that best
// suits cx x cy (0: the system size); 0 when the group is broken.
int LookupIconIdInGroup(const uint8_t* group, size_t size, bool icon, int cx, int cy);

} // namespace platform
