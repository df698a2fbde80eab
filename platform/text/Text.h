#pragma once

// Text output and measuring on device contexts: TextOut, DrawText with the
// layout flags the program uses, extents and metrics. Texts are GBK bytes; a
// double-byte character is never split, by a line break, a fit count or an
// ellipsis. The DC's selected font, text colour, background colour and mode
// (OPAQUE fills the text's cells) and its clip apply. When no font file is
// installed the calls fail and measures are 0.

#include "platform/text/Font.h"

// DrawText formats.
#define DT_TOP 0x00000000
#define DT_LEFT 0x00000000
#define DT_CENTER 0x00000001
#define DT_RIGHT 0x00000002
#define DT_VCENTER 0x00000004 // with DT_SINGLELINE only
#define DT_BOTTOM 0x00000008  // with DT_SINGLELINE only
#define DT_WORDBREAK 0x00000010
#define DT_SINGLELINE 0x00000020
#define DT_EXPANDTABS 0x00000040
#define DT_NOCLIP 0x00000100
#define DT_EXTERNALLEADING 0x00000200
#define DT_CALCRECT 0x00000400
#define DT_NOPREFIX 0x00000800
#define DT_EDITCONTROL 0x00002000
#define DT_END_ELLIPSIS 0x00008000
#define DT_HIDEPREFIX 0x00100000

// The text's cell top-left is at (x, y).
BOOL TextOut(HDC hdc, int x, int y, LPCSTR text, int count);

// Lays the text out in rect and draws it; count -1 means up to the NUL.
// Returns the text's height (with DT_VCENTER or DT_BOTTOM, the distance from
// rect's top to the text's bottom), 0 on failure. DT_CALCRECT draws nothing
// and sets rect's right and bottom to bound the text.
int DrawText(HDC hdc, LPCSTR text, int count, LPRECT rect, UINT format);

// Width and cell height of the text on one line.
BOOL GetTextExtentPoint32(HDC hdc, LPCSTR text, int count, SIZE* size);
// fit (when not null) receives the number of bytes of whole characters that
// fit in maxExtent; extents (when not null) the extent at the end of each of
// those bytes (a double-byte character's two bytes share its end).
BOOL GetTextExtentExPoint(HDC hdc, LPCSTR text, int count, int maxExtent, int* fit, int* extents,
                          SIZE* size);
BOOL GetTextMetrics(HDC hdc, TEXTMETRIC* metrics);

#define TextOutA TextOut
#define DrawTextA DrawText
#define GetTextExtentPoint GetTextExtentPoint32
#define GetTextExtentPoint32A GetTextExtentPoint32
#define GetTextExtentExPointA GetTextExtentExPoint
#define GetTextMetricsA GetTextMetrics
