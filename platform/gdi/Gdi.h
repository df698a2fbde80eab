#pragma once

// The drawing interface: bitmaps, device contexts, brushes, pens, regions and
// the blits, in the shape of the Windows GDI the system's code is written
// against. Everything draws in software into 32-bit XRGB surfaces (bytes B, G,
// R, X in memory); a COLORREF (0x00BBGGRR) is converted where it enters.
//
// Handles are checked: a stale or wrong handle makes a call fail, never crash.

#include "platform/Types.h"

// ---- records ----

struct BITMAP {
    LONG bmType;
    LONG bmWidth;
    LONG bmHeight;
    LONG bmWidthBytes;
    WORD bmPlanes;
    WORD bmBitsPixel;
    LPVOID bmBits;
};
typedef BITMAP* LPBITMAP;

struct RGBQUAD {
    BYTE rgbBlue;
    BYTE rgbGreen;
    BYTE rgbRed;
    BYTE rgbReserved;
};

// Laid out as in .bmp files (40 and 14 bytes), so headers can be read straight from one.
struct BITMAPINFOHEADER {
    DWORD biSize;
    LONG biWidth;
    LONG biHeight;
    WORD biPlanes;
    WORD biBitCount;
    DWORD biCompression;
    DWORD biSizeImage;
    LONG biXPelsPerMeter;
    LONG biYPelsPerMeter;
    DWORD biClrUsed;
    DWORD biClrImportant;
};
#pragma pack(push, 2)
struct BITMAPFILEHEADER {
    WORD bfType;
    DWORD bfSize;
    WORD bfReserved1;
    WORD bfReserved2;
    DWORD bfOffBits;
};
#pragma pack(pop)
static_assert(sizeof(BITMAPINFOHEADER) == 40);
static_assert(sizeof(BITMAPFILEHEADER) == 14);
typedef BITMAPINFOHEADER* LPBITMAPINFOHEADER;

// The colour table follows the header; callers allocate room for as many
// entries as the depth needs (bmiColors is declared with one, as in the
// originals, and read past through the allocation).
struct BITMAPINFO {
    BITMAPINFOHEADER bmiHeader;
    RGBQUAD bmiColors[1];
};
typedef BITMAPINFO* LPBITMAPINFO;

struct BLENDFUNCTION {
    BYTE BlendOp;
    BYTE BlendFlags;
    BYTE SourceConstantAlpha;
    BYTE AlphaFormat;
};

struct RGNDATAHEADER {
    DWORD dwSize;
    DWORD iType;
    DWORD nCount;
    DWORD nRgnSize;
    RECT rcBound;
};
static_assert(sizeof(RGNDATAHEADER) == 32);
struct RGNDATA {
    RGNDATAHEADER rdh;
    char Buffer[1];
};
typedef RGNDATA* LPRGNDATA;

struct XFORM; // accepted by ExtCreateRegion, never used

struct LOGBRUSH {
    UINT lbStyle;
    COLORREF lbColor;
    ULONG_PTR lbHatch;
};

struct LOGPEN {
    UINT lopnStyle;
    POINT lopnWidth;
    COLORREF lopnColor;
};

struct PALETTEENTRY {
    BYTE peRed;
    BYTE peGreen;
    BYTE peBlue;
    BYTE peFlags;
};
struct LOGPALETTE {
    WORD palVersion;
    WORD palNumEntries;
    PALETTEENTRY palPalEntry[1];
};

// ---- constants ----

#define CLR_INVALID 0xFFFFFFFF
// A colour meant as the nearest entry of the selected palette; drawing on our
// true-colour surfaces uses the RGB part as it is.
#define PALETTERGB(r, g, b) (0x02000000 | RGB(r, g, b))

// Raster operations (ternary: pattern, source, destination).
#define SRCCOPY 0x00CC0020
#define SRCPAINT 0x00EE0086
#define SRCAND 0x008800C6
#define SRCINVERT 0x00660046
#define SRCERASE 0x00440328
#define NOTSRCCOPY 0x00330008
#define NOTSRCERASE 0x001100A6
#define MERGECOPY 0x00C000CA
#define MERGEPAINT 0x00BB0226
#define PATCOPY 0x00F00021
#define PATPAINT 0x00FB0A09
#define PATINVERT 0x005A0049
#define DSTINVERT 0x00550009
#define BLACKNESS 0x00000042
#define WHITENESS 0x00FF0062

#define TRANSPARENT 1
#define OPAQUE 2

#define BLACKONWHITE 1
#define WHITEONBLACK 2
#define COLORONCOLOR 3
#define HALFTONE 4
#define STRETCH_ANDSCANS BLACKONWHITE
#define STRETCH_ORSCANS WHITEONBLACK
#define STRETCH_DELETESCANS COLORONCOLOR
#define STRETCH_HALFTONE HALFTONE

#define AC_SRC_OVER 0x00
#define AC_SRC_ALPHA 0x01

#define BI_RGB 0
#define BI_RLE8 1
#define BI_RLE4 2
#define BI_BITFIELDS 3
#define DIB_RGB_COLORS 0
#define DIB_PAL_COLORS 1
#define CBM_INIT 0x04

// Object types (GetObjectType, GetCurrentObject).
#define OBJ_PEN 1
#define OBJ_BRUSH 2
#define OBJ_DC 3
#define OBJ_PAL 5
#define OBJ_FONT 6
#define OBJ_BITMAP 7
#define OBJ_REGION 8
#define OBJ_MEMDC 10

// Stock objects.
#define WHITE_BRUSH 0
#define LTGRAY_BRUSH 1
#define GRAY_BRUSH 2
#define DKGRAY_BRUSH 3
#define BLACK_BRUSH 4
#define NULL_BRUSH 5
#define HOLLOW_BRUSH NULL_BRUSH
#define WHITE_PEN 6
#define BLACK_PEN 7
#define NULL_PEN 8
#define OEM_FIXED_FONT 10
#define ANSI_FIXED_FONT 11
#define ANSI_VAR_FONT 12
#define SYSTEM_FONT 13
#define DEVICE_DEFAULT_FONT 14
#define DEFAULT_PALETTE 15
#define SYSTEM_FIXED_FONT 16
#define DEFAULT_GUI_FONT 17
#define DC_BRUSH 18
#define DC_PEN 19
#define STOCK_LAST 19

#define BS_SOLID 0
#define BS_NULL 1
#define BS_HOLLOW BS_NULL

#define PS_SOLID 0
#define PS_DASH 1
#define PS_DOT 2
#define PS_DASHDOT 3
#define PS_DASHDOTDOT 4
#define PS_NULL 5
#define PS_INSIDEFRAME 6

// Regions.
#define ERROR 0
#define NULLREGION 1
#define SIMPLEREGION 2
#define COMPLEXREGION 3
#define RGN_ERROR ERROR
#define RGN_AND 1
#define RGN_OR 2
#define RGN_XOR 3
#define RGN_DIFF 4
#define RGN_COPY 5
#define RDH_RECTANGLES 1

#define ALTERNATE 1
#define WINDING 2

// GetDeviceCaps indexes and values.
#define HORZRES 8
#define VERTRES 10
#define BITSPIXEL 12
#define PLANES 14
#define NUMCOLORS 24
#define RASTERCAPS 38
#define LOGPIXELSX 88
#define LOGPIXELSY 90
#define SIZEPALETTE 104
#define RC_BITBLT 1
#define RC_PALETTE 0x0100
#define RC_DI_BITMAP 0x0080
#define RC_DIBTODEV 0x0200
#define RC_STRETCHBLT 0x0800
#define RC_STRETCHDIB 0x2000

// ---- device contexts ----

// A memory DC starts with a 1x1 monochrome bitmap selected, white background,
// black text, opaque background mode, a black pen and a white brush.
HDC CreateCompatibleDC(HDC hdc);
// "DISPLAY" gives a DC like the screen DC; other drivers are refused.
HDC CreateDC(LPCSTR driver, LPCSTR device, LPCSTR output, const void* initData);
HDC CreateIC(LPCSTR driver, LPCSTR device, LPCSTR output, const void* initData);
BOOL DeleteDC(HDC hdc);
// GetDC(NULL) is the screen: a DC for measuring and for reading bitmaps.
// Window DCs come from the display driver (see platform/DisplayDriver.h).
HDC GetDC(HWND hwnd);
HDC GetWindowDC(HWND hwnd);
int ReleaseDC(HWND hwnd, HDC hdc);
// The window a paint or window DC draws on; null for memory and screen DCs.
HWND WindowFromDC(HDC hdc);

// Returns the object selected before, null on failure. A region is copied into
// the clip instead, and the region type is returned (as a handle-sized int).
HGDIOBJ SelectObject(HDC hdc, HGDIOBJ object);
HGDIOBJ GetCurrentObject(HDC hdc, UINT type);
int SaveDC(HDC hdc);
// A positive level restores that saved state; a negative one counts back.
BOOL RestoreDC(HDC hdc, int savedLevel);

COLORREF SetBkColor(HDC hdc, COLORREF color);
COLORREF GetBkColor(HDC hdc);
COLORREF SetTextColor(HDC hdc, COLORREF color);
COLORREF GetTextColor(HDC hdc);
int SetBkMode(HDC hdc, int mode);
int GetBkMode(HDC hdc);
int SetStretchBltMode(HDC hdc, int mode);
int GetStretchBltMode(HDC hdc);
BOOL SetBrushOrgEx(HDC hdc, int x, int y, LPPOINT previous);
BOOL SetViewportOrgEx(HDC hdc, int x, int y, LPPOINT previous);
BOOL GetViewportOrgEx(HDC hdc, LPPOINT origin);
BOOL OffsetViewportOrgEx(HDC hdc, int dx, int dy, LPPOINT previous);
// The screen: 32 bits per pixel, 96 dots per inch, never palette-based.
int GetDeviceCaps(HDC hdc, int index);

// ---- objects ----

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);
// Always a 32-bit colour bitmap, whatever the DC holds; a zero size gives a
// 1x1 monochrome bitmap.
HBITMAP CreateCompatibleBitmap(HDC hdc, int width, int height);
HBITMAP CreateDIBSection(HDC hdc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section,
                         DWORD offset);
HBITMAP CreateDIBitmap(HDC hdc, const BITMAPINFOHEADER* header, DWORD init, const void* bits,
                       const BITMAPINFO* info, UINT usage);
HBRUSH CreateSolidBrush(COLORREF color);
HBRUSH CreateBrushIndirect(const LOGBRUSH* brush);
// Dashed styles draw solid; PS_NULL draws nothing.
HPEN CreatePen(int style, int width, COLORREF color);
HPEN CreatePenIndirect(const LOGPEN* pen);
// Palettes hold colours for code that asks for them; the display is never
// palette-based, so selecting and realising one changes no drawing.
HPALETTE CreatePalette(const LOGPALETTE* palette);
HPALETTE SelectPalette(HDC hdc, HPALETTE palette, BOOL forceBackground);
UINT RealizePalette(HDC hdc);
// Entries [start, start + count) clipped to the palette; returns the number
// copied (the palette's size when entries is null), 0 for no palette.
UINT GetPaletteEntries(HPALETTE palette, UINT start, UINT count, PALETTEENTRY* entries);
UINT SetPaletteEntries(HPALETTE palette, UINT start, UINT count, const PALETTEENTRY* entries);
UINT GetNearestPaletteIndex(HPALETTE palette, COLORREF color);
// Always 0 with the entries untouched: the screen has no system palette (it
// is a 32-bit device without RC_PALETTE), and callers fall back on their own.
UINT GetSystemPaletteEntries(HDC hdc, UINT start, UINT count, PALETTEENTRY* entries);
HGDIOBJ GetStockObject(int index);
// An object still selected into a DC is released when it is deselected.
BOOL DeleteObject(HGDIOBJ object);
// BITMAP for bitmaps, LOGBRUSH, LOGPEN, a WORD entry count for palettes.
int GetObject(HGDIOBJ object, int size, LPVOID buffer);
#define GetObjectA GetObject
// OBJ_BITMAP, OBJ_BRUSH... and OBJ_MEMDC or OBJ_DC for device contexts; 0 for none.
DWORD GetObjectType(HGDIOBJ object);

// ---- pixels between bitmaps and device-independent buffers ----

// Rows of a bitmap to or from a DIB of 1, 4, 8, 16 (5-5-5, or masks given with
// BI_BITFIELDS; 5-6-5 filled in when the masks are zero), 24 or 32 bits. With
// bits null, GetDIBits fills in the header (and the colour table). Returns the
// number of rows copied, 0 on failure.
int GetDIBits(HDC hdc, HBITMAP bitmap, UINT start, UINT lines, LPVOID bits, LPBITMAPINFO info,
              UINT usage);
int SetDIBits(HDC hdc, HBITMAP bitmap, UINT start, UINT lines, const void* bits,
              const BITMAPINFO* info, UINT usage);
int SetDIBitsToDevice(HDC hdc, int xDest, int yDest, DWORD width, DWORD height, int xSrc, int ySrc,
                      UINT startScan, UINT lines, const void* bits, const BITMAPINFO* info,
                      UINT usage);
// The source rectangle is in the DIB's own orientation: for a bottom-up DIB,
// ySrc counts from the bottom row.
int StretchDIBits(HDC hdc, int xDest, int yDest, int destWidth, int destHeight, int xSrc, int ySrc,
                  int srcWidth, int srcHeight, const void* bits, const BITMAPINFO* info, UINT usage,
                  DWORD rop);

// ---- blits ----

// Colour to monochrome: 1 where the source equals the source DC's background
// colour. Monochrome to colour: 1 becomes the destination DC's background
// colour, 0 its text colour.
BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC src, int xSrc, int ySrc, DWORD rop);
BOOL PatBlt(HDC hdc, int x, int y, int width, int height, DWORD rop);
// Negative extents mirror. COLORONCOLOR picks the nearest pixel (the one under
// each destination pixel's centre); HALFTONE averages the source box.
BOOL StretchBlt(HDC dest, int x, int y, int width, int height, HDC src, int xSrc, int ySrc,
                int srcWidth, int srcHeight, DWORD rop);
// Copies every source pixel that is not the key colour (nearest pixel when sizes differ).
BOOL TransparentBlt(HDC dest, int x, int y, int width, int height, HDC src, int xSrc, int ySrc,
                    int srcWidth, int srcHeight, UINT keyColor);
// Constant alpha a: d = (s*a + d*(255-a)) / 255. With AC_SRC_ALPHA the source
// is premultiplied: s' = s*a/255, d = s' + d*(255 - alpha of s')/255.
BOOL AlphaBlend(HDC dest, int x, int y, int width, int height, HDC src, int xSrc, int ySrc,
                int srcWidth, int srcHeight, BLENDFUNCTION blend);
#define GdiAlphaBlend AlphaBlend
#define GdiTransparentBlt TransparentBlt

COLORREF GetPixel(HDC hdc, int x, int y);
COLORREF SetPixel(HDC hdc, int x, int y, COLORREF color);
BOOL SetPixelV(HDC hdc, int x, int y, COLORREF color);

// ---- shapes ----

int FillRect(HDC hdc, const RECT* rect, HBRUSH brush);
int FrameRect(HDC hdc, const RECT* rect, HBRUSH brush);
BOOL InvertRect(HDC hdc, const RECT* rect);
BOOL MoveToEx(HDC hdc, int x, int y, LPPOINT previous);
BOOL GetCurrentPositionEx(HDC hdc, LPPOINT position);
// Draws with the pen up to, not including, the end point.
BOOL LineTo(HDC hdc, int x, int y);
// Outline with the pen, inside with the brush; right and bottom are excluded.
BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom);
BOOL RoundRect(HDC hdc, int left, int top, int right, int bottom, int ellipseWidth,
               int ellipseHeight);
BOOL Ellipse(HDC hdc, int left, int top, int right, int bottom);
BOOL Polygon(HDC hdc, const POINT* points, int count);
int SetPolyFillMode(HDC hdc, int mode);
int GetPolyFillMode(HDC hdc);
BOOL FillRgn(HDC hdc, HRGN region, HBRUSH brush);
BOOL PaintRgn(HDC hdc, HRGN region);
BOOL FrameRgn(HDC hdc, HRGN region, HBRUSH brush, int width, int height);
BOOL InvertRgn(HDC hdc, HRGN region);

// ---- paths ----

// Between BeginPath and EndPath, Rectangle, RoundRect, Ellipse, Polygon,
// MoveToEx/LineTo and TextOut add outlines (text: the shapes of its glyphs)
// to the DC's path and draw nothing. PathToRegion and FillPath use the ended
// path up; PathToRegion gives a region (empty for an empty path) or null
// when no path was ended.
BOOL BeginPath(HDC hdc);
BOOL EndPath(HDC hdc);
BOOL AbortPath(HDC hdc);
BOOL CloseFigure(HDC hdc);
HRGN PathToRegion(HDC hdc);
BOOL FillPath(HDC hdc);

// ---- regions ----

HRGN CreateRectRgn(int left, int top, int right, int bottom);
HRGN CreateRectRgnIndirect(const RECT* rect);
HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int ellipseWidth,
                        int ellipseHeight);
HRGN CreateEllipticRgn(int left, int top, int right, int bottom);
HRGN CreateEllipticRgnIndirect(const RECT* rect);
HRGN CreatePolygonRgn(const POINT* points, int count, int fillMode);
// From an RDH_RECTANGLES list; overlapping rectangles are merged. The transform
// must be null.
HRGN ExtCreateRegion(const XFORM* transform, DWORD size, const RGNDATA* data);
// Returns NULLREGION, SIMPLEREGION, COMPLEXREGION or ERROR. The destination
// may be one of the sources.
int CombineRgn(HRGN dest, HRGN src1, HRGN src2, int mode);
int OffsetRgn(HRGN region, int dx, int dy);
BOOL SetRectRgn(HRGN region, int left, int top, int right, int bottom);
BOOL PtInRegion(HRGN region, int x, int y);
BOOL RectInRegion(HRGN region, const RECT* rect);
int GetRgnBox(HRGN region, LPRECT rect);
BOOL EqualRgn(HRGN a, HRGN b);
// The bytes needed when data is null or size too small (data then untouched).
DWORD GetRegionData(HRGN region, DWORD size, LPRGNDATA data);

// ---- clipping (regions in device units, rectangles in logical units) ----

int SelectClipRgn(HDC hdc, HRGN region);
int ExtSelectClipRgn(HDC hdc, HRGN region, int mode);
int IntersectClipRect(HDC hdc, int left, int top, int right, int bottom);
int ExcludeClipRect(HDC hdc, int left, int top, int right, int bottom);
int OffsetClipRgn(HDC hdc, int dx, int dy);
// The bounds of what can be drawn, in logical units.
int GetClipBox(HDC hdc, LPRECT rect);
// 1 and a copy in region when the DC has a clip region, 0 when it has none.
int GetClipRgn(HDC hdc, HRGN region);
BOOL PtVisible(HDC hdc, int x, int y);
BOOL RectVisible(HDC hdc, const RECT* rect);
