#include "table/panes/BalloonTipLayout.h"

#include "platform/CodePage.h"
#include "platform/Geometry.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int kLeastPieceBytes = 2;

// The end of the last whole character that fits in limit bytes from start.
size_t CutWithin(const std::string& line, size_t start, size_t limit) {
    size_t at = start;
    while (at < line.size()) {
        const size_t step =
            IsDBCSLeadByte(BYTE(line[at])) && at + 1 < line.size() ? size_t(2) : size_t(1);
        if (at + step - start > limit)
            break;
        at += step;
    }
    return at;
}

// Where along an edge of the given length the base starts.
int BaseStart(int edgeStart, int edgeEnd, TipTailPlace place, int baseWidth, int offset) {
    switch (place) {
    case kTailNearStart:
        return edgeStart + offset;
    case kTailNearEnd:
        return edgeEnd - offset - baseWidth;
    default:
        return (edgeStart + edgeEnd - baseWidth) / 2;
    }
}

TipTailPlace PlaceAlong(int value, int start, int end) {
    const int third = (end - start) / 3;
    if (value < start + third)
        return kTailNearStart;
    if (value >= end - third)
        return kTailNearEnd;
    return kTailCentre;
}

} // namespace

int TipPieceBytes(int maxWidth, int marginX, int charWidth) {
    if (charWidth <= 0)
        return kLeastPieceBytes;
    return std::max(kLeastPieceBytes, (maxWidth - 2 * marginX) / charWidth);
}

std::vector<std::string> WrapTipLines(const char* text, int pieceBytes) {
    std::vector<std::string> lines;
    if (text == nullptr)
        return lines;
    const size_t limit = size_t(std::max(pieceBytes, kLeastPieceBytes));
    const char* start = text;
    while (true) {
        const char* feed = strchr(start, '\n');
        const std::string line(start, feed != nullptr ? size_t(feed - start) : strlen(start));
        if (line.size() <= limit) {
            lines.push_back(line);
        } else {
            for (size_t at = 0; at < line.size();) {
                const size_t end = CutWithin(line, at, limit);
                lines.push_back(line.substr(at, end - at));
                at = end;
            }
        }
        if (feed == nullptr)
            break;
        start = feed + 1;
    }
    return lines;
}

RECT PlaceTipBody(int mode, POINT bodyPoint, int width, int height) {
    const bool right = mode == 1 || mode == 3;
    const bool bottom = mode == 2 || mode == 3;
    const int left = right ? bodyPoint.x - width : bodyPoint.x;
    const int top = bottom ? bodyPoint.y - height : bodyPoint.y;
    return RECT{left, top, left + width, top + height};
}

RECT KeepTipInside(const RECT& rect, const RECT& area) {
    if (IsRectEmpty(&area))
        return rect;
    RECT kept = rect;
    const int dx = std::max(std::min(0, int(area.right - rect.right)), int(area.left - rect.left));
    const int dy = std::max(std::min(0, int(area.bottom - rect.bottom)), int(area.top - rect.top));
    OffsetRect(&kept, dx, dy);
    return kept;
}

TipTailDirection ChooseTipTail(const RECT& body, POINT tail) {
    const int above = body.top - tail.y;
    const int below = tail.y - (body.bottom - 1);
    const int before = body.left - tail.x;
    const int after = tail.x - (body.right - 1);
    const int vertical = std::max(above, below);
    const int horizontal = std::max(before, after);
    if (horizontal > 0 && horizontal > vertical) {
        return {before > 0 ? kTailLeft : kTailRight, PlaceAlong(tail.y, body.top, body.bottom)};
    }
    // Above, below, or inside the body (then the tail hangs from the bottom).
    return {above > 0 ? kTailTop : kTailBottom, PlaceAlong(tail.x, body.left, body.right)};
}

void TipTailTriangle(const RECT& body, POINT tail, TipTailDirection direction, int baseWidth,
                     int offset, POINT triangle[3]) {
    switch (direction.side) {
    case kTailTop:
    case kTailBottom: {
        const int x = BaseStart(body.left, body.right, direction.place, baseWidth, offset);
        const int y = direction.side == kTailTop ? body.top + 1 : body.bottom - 2;
        triangle[0] = POINT{x, y};
        triangle[1] = POINT{x + baseWidth, y};
        break;
    }
    default: {
        const int y = BaseStart(body.top, body.bottom, direction.place, baseWidth, offset);
        const int x = direction.side == kTailLeft ? body.left + 1 : body.right - 2;
        triangle[0] = POINT{x, y};
        triangle[1] = POINT{x, y + baseWidth};
    }
    }
    triangle[2] = tail;
}
