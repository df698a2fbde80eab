#pragma once

// The UI kit's shared drawing and bitmap utilities: DIB sections and packed
// DIBs (fixed global memory: header, colour table, bits), .bmp files,
// copying and drawing bitmaps, a window region from the pixels of a bitmap
// that differ from a key pixel, and the bitmap clipboard. Every GDI object
// or memory block returned belongs to the caller.

#include "knbase05/TablehubApi.h"
#include "platform/controls/ImageList.h"
#include "platform/gdi/Dc.h"
#include "platform/resources/Icon.h"
#include "platform/system/HFile.h"
#include "platform/text/Font.h"
#include "platform/window/Clipboard.h"

// ---- DIBs and .bmp files ----

// The same section under the name the memory image and the region routine
// use: 2 bits a pixel, which no DIB section can have, gives null too.
TABLEHUB_API HBITMAP CreateDibSectionOfDepth(int width, int height, int bitCount, void** bits);

// A top-down DIB section of 1, 4, 8, 16 (5-6-5), 24 or 32 bits on the
// screen; indexed depths carry the stock palette's colours (zeros past
// them). The pixel pointer goes to bits when given (else the section is
// cleared). Null for another depth (2 bits included) or a zero width.
TABLEHUB_API HBITMAP CreateDibSection(int width, int height, int bitCount, void** bits);
// Colour entries of a DIB header (the 12-byte core header too).
TABLEHUB_API WORD GetDibColorCount(const void* header);
TABLEHUB_API DWORD GetDibColorTableSize(const void* header);
// A packed DIB of the bitmap's pixels at its own depth; null for a null
// bitmap or BI_BITFIELDS. A null palette means the default palette.
TABLEHUB_API HGLOBAL CreateDibFromBitmap(HBITMAP bitmap, DWORD compression, HPALETTE palette);
// Writes the packed DIB as a .bmp file: 1, or 0 for a null or broken DIB
// and for a file that could not be written whole.
TABLEHUB_API int SaveDibToFile(LPCSTR path, HGLOBAL dib);
TABLEHUB_API void FreeDib(HGLOBAL dib);
// Writes size bytes in pieces of at most 32,768: the size, or 0 when any
// piece was not written whole.
TABLEHUB_API DWORD WriteFileInChunks(HFILE file, const void* data, DWORD size);
// Writes the 14 bytes of a .bmp file header (the letters, then the rest);
// FALSE when they were not all written.
TABLEHUB_API BOOL WriteBmpFileHeader(HFILE file, const BITMAPFILEHEADER* header);
// The bytes of a whole .bmp file as a DIB section; null for any other kind
// of picture, a file-size field that differs from size, or a file that does
// not hold what its headers say.
TABLEHUB_API HBITMAP CreateBitmapFromBmpData(const BYTE* data, int size);
// From a resource of the module, or (module null) from the file name.
TABLEHUB_API HBITMAP LoadBmpFileOrResource(HMODULE module, LPCSTR name, LPCSTR type, WORD language);

// ---- pictures in memory: GIF, PNG, BMP and JPEG ----

// The first picture of GIF (through the GIF codec library), PNG or JPEG
// bytes (through theirs) or of a .bmp file; null for fewer than 6 bytes, a
// codec library that is not there, or bytes that do not decode.
TABLEHUB_API HBITMAP CreateBitmapFromImageData(const BYTE* data, int size);
// The same from a resource of the module, or (module null) from a file.
TABLEHUB_API HBITMAP LoadImageFileOrResource(HMODULE module, LPCSTR name, LPCSTR type,
                                             WORD language);
// As above, decoding GIF with the library's own decoder and refusing PNG and
// JPEG (CreateBitmapFromGifOrBmpData).
TABLEHUB_API HBITMAP LoadGifOrBmpFileOrResource(HMODULE module, LPCSTR name, LPCSTR type,
                                                WORD language);

// ---- bitmaps ----

TABLEHUB_API BOOL GetBitmapExtent(HBITMAP bitmap, int* width, int* height);
// Copies a part of one bitmap into a part of another (null parts = whole).
TABLEHUB_API BOOL StretchDrawBitmap(HBITMAP dest, HBITMAP source, HPALETTE palette,
                                    const RECT* sourceRect, const RECT* destRect);
TABLEHUB_API BOOL DrawBitmap(HDC dc, HBITMAP bitmap, int x, int y);
TABLEHUB_API BOOL DrawBitmapStretched(HDC dc, HBITMAP bitmap, int left, int top, int right,
                                      int bottom);
// Mode 1 draws the bitmap leaving its pixels of the transparent colour out;
// mode 2 XORs it onto the target. A zero width or height draws at the
// bitmap's size; a negative one mirrors. Disabled draws opaque pixels
// through the grey-text colour.
TABLEHUB_API BOOL DrawBitmapMasked(HBITMAP bitmap, COLORREF transparent, int mode, HDC dc, int x,
                                   int y, int width, int height, BOOL disabled);
// The region of the pixels whose colour (compared in 5-6-5) differs from
// the pixel at (x, y); a negative x or y means the last column or row. Null
// when every pixel matches.
TABLEHUB_API HRGN CreateRegionFromBitmap(HBITMAP bitmap, int x, int y);
TABLEHUB_API HRGN BitmapToRegion(HBITMAP bitmap, int x, int y);
// The same with a key colour (compared in 5-6-5).
TABLEHUB_API HRGN BitmapToRegion(HBITMAP bitmap, COLORREF key);
// Draws the source part (null: the whole bitmap) into the destination: mode 1
// one unscaled copy from the part's origin, 3 tiles, 4 three slices (left
// and right ends kept, the middle repeated) in rows, 5 nine slices (corners
// kept, edges and centre repeated), any other stretches. A part too small to
// cut into tiles or slices draws nothing. The colour is not used.
TABLEHUB_API void DrawBitmapInRect(CDC* dc, const RECT* dest, HBITMAP bitmap, int mode,
                                   const RECT* source, int colour);
TABLEHUB_API HBITMAP LoadBitmapFile(HINSTANCE instance, LPCSTR path);
// An image list of the strip's whole cells, left to right, with the mask
// colour (or, when asked, the strip's top-left pixel) transparent. Null for a
// null strip, a cell width below 1 or a strip that cannot be read; the strip
// stays the caller's.
TABLEHUB_API HIMAGELIST CreateImageListFromStrip(HBITMAP strip, int cellWidth, COLORREF maskColor,
                                                 BOOL maskFromCorner);

// ---- clipboard ----

// The clipboard's bitmap (it stays the clipboard's), or null.
TABLEHUB_API HBITMAP GetBitmapFromClipboard();
// Empties the clipboard and puts the bitmap on it (the clipboard owns it
// from then on); FALSE when nothing was put there, a null bitmap included.
TABLEHUB_API BOOL CopyBitmapToClipboard(HBITMAP bitmap);

// ---- text ----

// Draws the text in lines that fit the width, from the rectangle's top; a
// line feed ends a line. Each line holds at least one character and never
// splits a double-byte one. Measuring only, nothing is drawn and the
// rectangle becomes width wide and as high as the lines. A null text: TRUE.
TABLEHUB_API BOOL DrawWrappedText(HDC dc, LPCSTR text, int width, RECT* rect, BOOL measureOnly);
// A highlight copy one pixel down and right, then the text in black (or the
// shadow colour when disabled); always 1.
TABLEHUB_API int DrawEtchedText(CDC* dc, CRect* rect, LPCSTR text, BOOL disabled);
// The text in a heavy face scaled to fill the rectangle (a null font means
// the default GUI font), centred, over offset copies in the dark-shadow,
// highlight, shadow and light colours; the face colour lies on top. Nothing
// is drawn for an empty text.
TABLEHUB_API void DrawRaisedText(CDC* dc, LPCSTR text, CRect* rect, COLORREF face,
                                 const LOGFONT* font);
// Halves the destination's channels under (x, y, width, height), then ORs the
// source's pixels from its (0, 0) over them.
TABLEHUB_API void DrawOverDarkened(CDC* dest, int x, int y, int width, int height, CDC* source);

// ---- icons and .ico files ----

// The first image of the bytes of an .ico file as an icon; null for a cursor
// file, an empty or short directory, or a first image outside the bytes.
TABLEHUB_API HICON CreateIconFromIcoData(const BYTE* data, DWORD size);
// The bitmap's header with its colour table (16 and 32 bits as BI_RGB) and,
// when bits is given, its bottom-up rows; both blocks come from malloc and
// are the caller's.
TABLEHUB_API BOOL GetBitmapDIBits(HBITMAP bitmap, BITMAPINFO** info, void** bits);
// Writes the icon as a one-image .ico file; FALSE for a cursor or a
// monochrome icon, and nothing is written then.
TABLEHUB_API BOOL SaveIconToIcoFile(HICON icon, LPCSTR path);
// Appends the icon to an .ico file (a missing or empty one gets one image);
// without append it is SaveIconToIcoFile. A file that is no sound .ico is
// refused and left as it was.
TABLEHUB_API BOOL AddIconToIcoFile(HICON icon, LPCSTR path, BOOL append);
// A grey copy of a colour icon (luma of each pixel, black stays black);
// null for a monochrome icon.
TABLEHUB_API HICON CreateGrayIcon(HICON icon);
// An icon from a 16-bit bitmap whose top-left pixel's colour is transparent;
// null for another depth.
TABLEHUB_API HICON CreateIconFromBitmap(HBITMAP bitmap);

// ---- resources ----

// A malloc copy of the module's dialog template: its size, or 0 with a null
// buffer.
TABLEHUB_API int LoadDialogTemplateCopy(void** buffer, HMODULE module, LPCSTR name);
// Writes a module's icon group (by name or id, or by its position among the
// module's groups) as an .ico file.
TABLEHUB_API BOOL SaveIconGroupToIcoFile(LPCSTR modulePath, LPCSTR groupName, LPCSTR outputPath);
TABLEHUB_API BOOL SaveIconGroupByIndexToIcoFile(LPCSTR modulePath, int position, LPCSTR outputPath);
// A string (string mode, at most 1,023 bytes) or a dialog template of the
// language, copied into a malloc block handed out: its length or size, 0
// with a null out pointer when there is none.
TABLEHUB_API int CopyStringOrDialogResource(void** out, HMODULE module, LPCSTR name, BOOL string,
                                            WORD language);
// The application's animated cursor resource ("ANICURSORS") of the id; the
// display shows its first frame.
TABLEHUB_API HCURSOR LoadAniCursor(UINT id);

// ---- windows ----

// Slides the window out over a screen edge (1 left, 2 right, 3 up, other
// down) in duration ms, then moves it to the final rectangle. Blocks.
TABLEHUB_API BOOL SlideWindowOut(HWND window, int direction, const RECT* finalRect, int duration);
// Slides the window in from an edge onto the target rectangle.
TABLEHUB_API BOOL SlideWindowIn(HWND window, int direction, const RECT* target, int duration);

// ---- folders, paths and files ----

// The module's file name cut behind its last backslash (kept); 1.
TABLEHUB_API int GetModulePath(char* buffer, HMODULE module);
TABLEHUB_API BOOL PathExists(LPCSTR path);
// Deletes a file, or a folder with everything in it; stops at the first entry
// that cannot go (a read-only file) and keeps the rest. Links are removed,
// never followed.
TABLEHUB_API BOOL DeleteFolderTree(LPCSTR path);
// Creates every folder of the path; FALSE for a path of MAX_PATH bytes or
// more.
TABLEHUB_API BOOL CreateFolderPath(LPCSTR path);
// Cuts the path at its last backslash or colon: C:\dir\file.txt -> C:\dir.
TABLEHUB_API BOOL CutFileName(char* path);
// Keeps what follows the last backslash or colon: -> file.txt.
TABLEHUB_API BOOL KeepFileName(char* path);
// XORs each byte with the key; a length below 1 means the string's length.
TABLEHUB_API void XorBytes(char* buffer, int length, char key);
// The next token between separators, never splitting a double-byte
// character; a null text goes on with the previous one.
TABLEHUB_API char* SplitToken(char* text, const char* separators);

// ---- shell ----

// A message box showing the icon (a resource of the instance, else of the
// resource module) in place of the standard ones.
TABLEHUB_API int ShowIconMessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT style,
                                    LPCSTR icon, HINSTANCE instance);
// Starts the registered default mail program (no command interpreter sees
// its command), or the desktop's mail handler when none is registered; TRUE
// only when it started (FALSE too for a command too long).
TABLEHUB_API BOOL OpenMailClient();
// The system icons (application, hand, question, exclamation, asterisk, in
// that order) as an image list of the small or the large icon size; one list
// a size for the process, which the caller does not destroy.
TABLEHUB_API HIMAGELIST GetSystemImageList(BOOL small);
