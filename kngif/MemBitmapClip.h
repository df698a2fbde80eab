#pragma once

// The clipping shared by the memory image's blits: a source rectangle of one
// image placed at a point of another, cut to both images and to an optional
// clip rectangle of the destination, keeping source and destination aligned.

#include "platform/Geometry.h"

// Cuts `src` (in source coordinates) placed with its top-left at (x, y) of a
// dstWidth x dstHeight destination. `clip` empty means no clip. On TRUE,
// `srcOut` is the part to draw and `dstOut` where its top-left lands; FALSE
// means nothing is left to draw.
BOOL ClipMemBlit(const RECT& src, int srcWidth, int srcHeight, int x, int y, int dstWidth,
                 int dstHeight, const RECT& clip, RECT* srcOut, POINT* dstOut);
