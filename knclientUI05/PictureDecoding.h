#pragma once

// What the kit's picture decoders share: reading a resource or a whole file
// into one decoder, realising a decoded picture through its palette, and
// telling GIF bytes by their signature.

#include "platform/gdi/Gdi.h"

// The bytes of a resource of the module, or (module null) of the whole file,
// through decode; null when they cannot be read or do not decode.
HBITMAP DecodeFileOrResource(HMODULE module, LPCSTR name, LPCSTR type, WORD language,
                             HBITMAP (*decode)(const BYTE* data, int size));
// A decoded picture that came with a palette, drawn through it into a bitmap
// like the screen's (the decoded one is deleted then, or kept when the copy
// cannot be made); the palette is deleted. Without a palette, the bitmap.
HBITMAP RealiseThroughPalette(HBITMAP bitmap, HPALETTE palette, int width, int height);
// Whether 6 bytes begin a GIF87a or GIF89a picture.
BOOL IsGifSignature(const BYTE* data);
