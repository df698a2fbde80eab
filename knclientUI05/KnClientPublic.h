#pragma once

// The UI kit's shared drawing and bitmap utilities: DIB sections and packed
// DIBs (fixed global memory: header, colour table, bits), .bmp files,
// copying and drawing bitmaps, a window region from the pixels of a bitmap
// that differ from a key pixel, and the bitmap clipboard. Every GDI object
// or memory block returned belongs to the caller.

#include "knclientUI05/DibCheck.h"
#include "platform/controls/ImageList.h"
#include "platform/gdi/Dc.h"
#include "platform/system/HFile.h"
#include "platform/text/Font.h"
#include "platform/window/Clipboard.h"

// ---- DIBs and .bmp files ----

// A top-down DIB section of 1, 4, 8, 16 (5-6-5), 24 or 32 bits on the
// screen; indexed depths carry the stock palette's colours (zeros past
// them). The pixel pointer goes to bits when given (else the section is
// cleared). Null for another depth (2 bits included) or a zero width.
HBITMAP CreateDibSection(int width, int height, int bitCount, void** bits);
// Colour entries of a DIB header (the 12-byte core header too).
WORD GetDibColorCount(const void* header);
DWORD GetDibColorTableSize(const void* header);
// A packed DIB of the bitmap's pixels at its own depth; null for a null
// bitmap or BI_BITFIELDS. A null palette means the default palette.
HGLOBAL CreateDibFromBitmap(HBITMAP bitmap, DWORD compression, HPALETTE palette);
// Writes the packed DIB as a .bmp file: 1, or 0 for a null or broken DIB
// and for a file that could not be written whole.
int SaveDibToFile(LPCSTR path, HGLOBAL dib);
void FreeDib(HGLOBAL dib);
// Writes size bytes in pieces of at most 32,768: the size, or 0 when any
// piece was not written whole.
DWORD WriteFileInChunks(HFILE file, const void* data, DWORD size);
// Writes the 14 bytes of a .bmp file header (the letters, then the rest);
// FALSE when they were not all written.
BOOL WriteBmpFileHeader(HFILE file, const BITMAPFILEHEADER* header);
// The bytes of a whole .bmp file as a DIB section; null for any other kind
// of picture, a file-size field that differs from size, or a file that does
// not hold what its headers say.
HBITMAP CreateBitmapFromBmpData(const BYTE* data, int size);
// From a resource of the module, or (module null) from the file name.
HBITMAP LoadBmpFileOrResource(HMODULE module, LPCSTR name, LPCSTR type, WORD language);

// ---- bitmaps ----

BOOL GetBitmapExtent(HBITMAP bitmap, int* width, int* height);
// Copies a part of one bitmap into a part of another (null parts = whole).
BOOL StretchDrawBitmap(HBITMAP dest, HBITMAP source, HPALETTE palette, const RECT* sourceRect,
                       const RECT* destRect);
BOOL DrawBitmap(HDC dc, HBITMAP bitmap, int x, int y);
BOOL DrawBitmapStretched(HDC dc, HBITMAP bitmap, int left, int top, int right, int bottom);
// Mode 1 draws the bitmap leaving its pixels of the transparent colour out;
// mode 2 XORs it onto the target. A zero width or height draws at the
// bitmap's size; a negative one mirrors. Disabled draws opaque pixels
// through the grey-text colour.
BOOL DrawBitmapMasked(HBITMAP bitmap, COLORREF transparent, int mode, HDC dc, int x, int y,
                      int width, int height, BOOL disabled);
// The region of the pixels whose colour (compared in 5-6-5) differs from
// the pixel at (x, y); a negative x or y means the last column or row. Null
// when every pixel matches.
HRGN CreateRegionFromBitmap(HBITMAP bitmap, int x, int y);
HBITMAP LoadBitmapFile(HINSTANCE instance, LPCSTR path);
// An image list of the strip's whole cells, left to right, with the mask
// colour (or, when asked, the strip's top-left pixel) transparent. Null for a
// null strip, a cell width below 1 or a strip that cannot be read; the strip
// stays the caller's.
HIMAGELIST CreateImageListFromStrip(HBITMAP strip, int cellWidth, COLORREF maskColor,
                                    BOOL maskFromCorner);

// ---- clipboard ----

// The clipboard's bitmap (it stays the clipboard's), or null.
HBITMAP GetBitmapFromClipboard();
// Empties the clipboard and puts the bitmap on it (the clipboard owns it
// from then on); FALSE when nothing was put there, a null bitmap included.
BOOL CopyBitmapToClipboard(HBITMAP bitmap);

// ---- text ----

// Draws the text in lines that fit the width, from the rectangle's top; a
// line feed ends a line. Each line holds at least one character and never
// splits a double-byte one. Measuring only, nothing is drawn and the
// rectangle becomes width wide and as high as the lines. A null text: TRUE.
BOOL DrawWrappedText(HDC dc, LPCSTR text, int width, RECT* rect, BOOL measureOnly);
// A highlight copy one pixel down and right, then the text in black (or the
// shadow colour when disabled); always 1.
int DrawEtchedText(CDC* dc, CRect* rect, LPCSTR text, BOOL disabled);
// The text in a heavy face scaled to fill the rectangle (a null font means
// the default GUI font), centred, over offset copies in the dark-shadow,
// highlight, shadow and light colours; the face colour lies on top. Nothing
// is drawn for an empty text.
void DrawRaisedText(CDC* dc, LPCSTR text, CRect* rect, COLORREF face, const LOGFONT* font);
// Halves the destination's channels under (x, y, width, height), then ORs the
// source's pixels from its (0, 0) over them.
void DrawOverDarkened(CDC* dest, int x, int y, int width, int height, CDC* source);
