#pragma once
// Values of the layout file: texts, "%d,%d,%d" colours, and points or
// positions of two or three numbers.

#include "platform/CString.h"
#include "platform/Types.h"
#include "sprite/SpritePos.h"

CString ReadLayoutText(LPCSTR file, LPCSTR section, LPCSTR key, LPCSTR defaultValue,
                       DWORD size = 260);
// r + g * 256 + b * 65536; the default when the value is not three numbers.
COLORREF ReadLayoutColor(LPCSTR file, LPCSTR section, LPCSTR key, COLORREF defaultColor);
// "x,y": numbers that are missing or not numbers read as 0.
POINT ReadLayoutPoint(LPCSTR file, LPCSTR section, LPCSTR key);
SIZE ReadLayoutSize(LPCSTR file, LPCSTR section, LPCSTR key);
// "x,y,anchor", likewise.
CSpritePos ReadLayoutPos(LPCSTR file, LPCSTR section, LPCSTR key);
