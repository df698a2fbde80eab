#pragma once

// What the codec stand-ins share: pictures to bitmaps and back, files read
// and written under the system's names, and blocks of global memory handed
// to the caller.

#include "platform/gdi/PixelImage.h"
#include "platform/system/Memory.h"
#include "platform/system/Module.h"

#include <string>

namespace outside {

// A 32-bit top-down DIB section of the picture (alpha kept), or null.
HBITMAP BitmapOfImage(const platform::PixelImage& image);
// The bitmap's pixels, top-down, 32 bits (alpha as stored); false for a null
// or unreadable bitmap.
bool ImageOfBitmap(HBITMAP bitmap, platform::PixelImage& image);
// The picture in a packed DIB held in a global block (its size bounds the read).
bool ImageOfPackedDib(HGLOBAL dib, platform::PixelImage& image);
// A global block holding the bytes; null when none could be had.
HGLOBAL GlobalCopy(const std::string& bytes);
// A file named as the system names it (GBK, either separator).
bool ReadNamedFile(LPCSTR name, std::string& bytes);
bool WriteNamedFile(LPCSTR name, const std::string& bytes);

// An export's entry in a module's table.
template <typename F> BuiltinModuleExport Export(const char* name, F function) {
    return BuiltinModuleExport{name, reinterpret_cast<FARPROC>(function)};
}
BuiltinModuleDefinition CodecModule(const char* fileName, std::vector<BuiltinModuleExport> exports);

} // namespace outside
