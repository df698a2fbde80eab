#include "sprite/SpriteLine.h"

#include "platform/system/Profile.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr double kPi = 3.1415926;
constexpr double kTwoPi = 6.2831852;
constexpr double kVerticalSlope = 9999999;

// A key's "%d,%d,..." values; missing ones stay 0.
void ReadInts(LPCSTR section, LPCSTR key, LPCSTR file, int* values, int count) {
    char text[260] = "";
    GetPrivateProfileString(section, key, "", text, sizeof(text), file);
    for (int i = 0; i < count; ++i)
        values[i] = 0;
    char* cursor = text;
    for (int i = 0; i < count && *cursor; ++i) {
        char* end = nullptr;
        values[i] = int(strtol(cursor, &end, 10));
        if (end == cursor)
            break;
        cursor = end;
        while (*cursor == ',' || *cursor == ' ')
            ++cursor;
    }
}

BYTE ClampAlpha(int value) {
    return BYTE(value < 0 ? 0 : value > 255 ? 255 : value);
}

int StepCount(double length, int duration) {
    double n = length < duration ? length : duration;
    if (n > 255)
        n = 255;
    return n < 1 ? 1 : int(n);
}

double Slope(POINT from, POINT to) {
    if (to.x == from.x)
        return kVerticalSlope;
    return double(to.y - from.y) / double(to.x - from.x);
}

// The perpendicular of a chord; a vertical chord's is horizontal.
double Perpendicular(double slope) {
    return slope == kVerticalSlope ? 0.0 : -1.0 / slope;
}

double AngleAround(POINT centre, POINT p) {
    const double dx = p.x - centre.x;
    const double dy = p.y - centre.y;
    if (dx == 0)
        return dy < 0 ? 4.7123889 : 1.5707963;
    double angle = std::atan(dy / dx);
    if (dx < 0)
        angle += kPi;
    if (angle < 0)
        angle += kTwoPi;
    return angle;
}

// An angle brought into [0, 2 pi).
double Wrap(double angle) {
    while (angle < 0)
        angle += kTwoPi;
    while (angle >= kTwoPi)
        angle -= kTwoPi;
    return angle;
}

} // namespace

BOOL CSpriteLine::Load(LPCSTR section, LPCSTR file) {
    if (int(GetPrivateProfileInt(section, "TYPE", -1, file)) != m_nType)
        return FALSE;
    int begin[5];
    ReadInts(section, "BEGIN", file, begin, IsFixed() ? 4 : 5);
    m_from.Set(begin[0], begin[1], begin[2]);
    m_alphaFrom = ClampAlpha(begin[3]);
    if (IsFixed()) {
        m_to = m_from;
        m_alphaTo = m_alphaFrom;
        return TRUE;
    }
    m_nDuration = begin[4];
    int end[5];
    ReadInts(section, "END", file, end, 5);
    m_to.Set(end[0], end[1], end[2]);
    m_alphaTo = ClampAlpha(end[3]);
    m_nInterval = end[4];
    return TRUE;
}

void CSpriteLine::Init(int fromX, int fromY, int fromAnchor, int toX, int toY, int toAnchor,
                       int nDuration, int nInterval, BYTE alphaFrom, BYTE alphaTo) {
    m_from.Set(fromX, fromY, fromAnchor);
    m_to.Set(toX, toY, toAnchor);
    m_nDuration = nDuration;
    m_nInterval = nInterval;
    m_alphaFrom = alphaFrom;
    m_alphaTo = alphaTo;
}

void CSpriteLine::SetFrom(int x, int y, int anchor, BYTE alpha) {
    m_from.Set(x, y, anchor);
    m_alphaFrom = alpha;
}

BYTE CSpriteLine::AdvanceStep(BYTE step, int n) {
    if (step == 255)
        return 0;
    const int k = n * step / 255;
    const int next = (255 * k + n + 254) / n;
    return BYTE(next > 255 ? 255 : next);
}

SPRITEPOINT CSpriteLine::StraightPoint(POINT f, POINT t, BYTE* pStep, BOOL bAdvance) {
    const int distance = std::max(std::abs(t.x - f.x), std::abs(t.y - f.y));
    if (distance == 0) {
        if (bAdvance)
            *pStep = 255;
        return SPRITEPOINT{t.x, t.y, m_alphaTo, m_nInterval};
    }
    const int n = StepCount(distance, Duration());
    if (bAdvance)
        *pStep = AdvanceStep(*pStep, n);
    const int step = *pStep;
    if (step == 255)
        return SPRITEPOINT{t.x, t.y, m_alphaTo, m_nInterval};
    return SPRITEPOINT{f.x + step * (t.x - f.x) / 255, f.y + step * (t.y - f.y) / 255,
                       BYTE(m_alphaFrom + step * (m_alphaTo - m_alphaFrom) / 255), Duration() / n};
}

SPRITEPOINT CFixedLine::GetPoint(BYTE* pStep, BOOL) {
    *pStep = 255;
    const POINT p = ResolvePos(m_from);
    return SPRITEPOINT{p.x, p.y, m_alphaFrom, -1};
}

SPRITEPOINT CStraightLine::GetPoint(BYTE* pStep, BOOL bAdvance) {
    return StraightPoint(ResolvePos(m_from), ResolvePos(m_to), pStep, bAdvance);
}

BOOL CCurveLine::Load(LPCSTR section, LPCSTR file) {
    if (!CSpriteLine::Load(section, file))
        return FALSE;
    int through[3];
    ReadInts(section, "THROUGH", file, through, 3);
    m_through.Set(through[0], through[1], through[2]);
    return TRUE;
}

SPRITEPOINT CCurveLine::GetPoint(BYTE* pStep, BOOL bAdvance) {
    const POINT b = ResolvePos(m_from);
    const POINT e = ResolvePos(m_to);
    const POINT t = ResolvePos(m_through);
    const double s1 = Slope(b, e);
    const double s2 = Slope(b, t);
    const double p1 = Perpendicular(s1);
    const double p2 = Perpendicular(s2);
    // Three points on one line, or bisectors that never meet: move straight.
    if (s1 == s2 || p1 == p2)
        return StraightPoint(b, e, pStep, bAdvance);

    // The centre: where the perpendicular bisectors of B->E and B->T cross.
    const double m1x = std::trunc(b.x + (e.x - b.x) / 2.0);
    const double m1y = std::trunc(b.y + (e.y - b.y) / 2.0);
    const double m2x = std::trunc(b.x + (t.x - b.x) / 2.0);
    const double m2y = std::trunc(b.y + (t.y - b.y) / 2.0);
    POINT c;
    if (s1 == 0) { // B->E horizontal: its bisector is the vertical x = M1x
        c.x = LONG(m1x);
        c.y = LONG(std::trunc(m2y + p2 * (m1x - m2x)));
    } else if (s2 == 0) {
        c.x = LONG(m2x);
        c.y = LONG(std::trunc(m1y + p1 * (m2x - m1x)));
    } else {
        c.x = LONG(std::trunc((m1y - p1 * m1x - (m2y - p2 * m2x)) / (p2 - p1)));
        c.y = LONG(std::trunc(m1y + p1 * (c.x - m1x)));
    }

    // The arc from B to E that passes through T: clockwise (angles growing)
    // when T lies on the clockwise way round, else the other way.
    const double a0 = AngleAround(c, b);
    const double clockwise = Wrap(AngleAround(c, e) - a0);
    const double sweep = Wrap(AngleAround(c, t) - a0) < clockwise ? clockwise : clockwise - kTwoPi;
    const double r = std::hypot(double(e.x - c.x), double(e.y - c.y));
    const int n = StepCount(std::fabs(sweep * r), Duration());
    if (bAdvance)
        *pStep = AdvanceStep(*pStep, n);
    const int step = *pStep;
    if (step == 255)
        return SPRITEPOINT{e.x, e.y, m_alphaTo, m_nInterval};
    const double angle = a0 + sweep * step * 0.00392156862745098;
    return SPRITEPOINT{LONG(std::trunc(c.x + r * std::cos(angle))),
                       LONG(std::trunc(c.y + r * std::sin(angle))),
                       BYTE(m_alphaFrom + step * (m_alphaTo - m_alphaFrom) / 255), Duration() / n};
}

CSpriteLine* CreateSpriteLine(int type) {
    switch (type) {
    case kLineFixed:
        return new CFixedLine;
    case kLineStraight:
        return new CStraightLine;
    case kLineCurve:
        return new CCurveLine;
    default:
        return nullptr;
    }
}

CSpriteLine* LoadSpriteLine(LPCSTR section, LPCSTR file) {
    CSpriteLine* line = CreateSpriteLine(int(GetPrivateProfileInt(section, "type", -1, file)));
    if (line && !line->Load(section, file)) {
        delete line;
        return nullptr;
    }
    return line;
}
