#pragma once

// What the memory image's files share beyond its own interface: its rows, its
// key as the blits compare it, copies of a part, and the cutting of a blit or
// a rectangle to the image.

#include "kngif/KNMemBitmap.h"

namespace membitmap {

// Row y of the image's pixels.
inline WORD* Row(const CKNMemBitmap& image, int y) {
    return reinterpret_cast<WORD*>(image.GetBits() + (size_t)y * image.GetPitch());
}

inline bool HasKey(const CKNMemBitmap& image) {
    return image.GetColorKey(nullptr) != FALSE;
}

// The key as a 5-6-5 word: the fixed colour's, or the top-left pixel's own
// (widening a word and narrowing it again gives the word back).
inline WORD KeyValue(const CKNMemBitmap& image) {
    COLORREF key = 0;
    return image.GetColorKey(&key) ? CKNMemBitmap::RGBTo565(key) : 0;
}

// `image` becomes a copy of `part` of `other` (inside it).
BOOL CopyPart(CKNMemBitmap& image, const CKNMemBitmap& other, const RECT& part);

// The part of src (srcRect null: all of it) drawn at (x, y) of dest, cut to
// both images and dest's clip rectangle, and where it lands; false when
// nothing is left.
bool ClipSource(const CKNMemBitmap& dest, const CKNMemBitmap& src, const RECT* srcRect, int x,
                int y, RECT* part, POINT* at);

// The rectangle (null: the whole image) cut to the image; false when the
// image has no pixels or nothing is left.
bool CutRect(const CKNMemBitmap& image, const RECT* rect, RECT* out);

} // namespace membitmap
