#pragma once

// Motion lines: where a sprite is at each step of its play (fixed at one point,
// straight from one point to another, or along an arc through a third point),
// with its alpha fading between two values. A traversal has at most 255 steps;
// the step byte runs from 0 (start) to 255 (end).

#include "platform/Types.h"
#include "sprite/SpritePos.h"

struct SPRITEPOINT {
    int x;
    int y;
    BYTE alpha;
    int nInterval; // ticks to the next step; at the end, the interval after arrival
};

enum SpriteLineType { kLineNone = -1, kLineFixed = 0, kLineStraight = 1, kLineCurve = 2 };

class CSpriteLine {
public:
    virtual ~CSpriteLine() = default;

    // The point for the step; with bAdvance the step is moved on first.
    virtual SPRITEPOINT GetPoint(BYTE* pStep, BOOL bAdvance) = 0;
    // Reads the line from an ini section whose "TYPE" must be the line's own.
    virtual BOOL Load(LPCSTR section, LPCSTR file);
    virtual BOOL IsFixed() { return FALSE; }

    void Init(int fromX, int fromY, int fromAnchor, int toX, int toY, int toAnchor, int nDuration,
              int nInterval, BYTE alphaFrom, BYTE alphaTo);
    void SetFrom(int x, int y, int anchor, BYTE alpha);

    // Where and how opaque the sprite stands once the line is run.
    CSpritePos EndPos() { return IsFixed() ? m_from : m_to; }
    BYTE EndAlpha() { return IsFixed() ? m_alphaFrom : m_alphaTo; }

    CSpritePos m_from;
    CSpritePos m_to;
    BYTE m_alphaFrom = 255;
    BYTE m_alphaTo = 255;
    int m_nDuration = 1;  // ticks
    int m_nInterval = -1; // ticks after arrival; -1 = stay at the end
    int m_nType = kLineNone;

protected:
    explicit CSpriteLine(int type) : m_nType(type) {}
    // Ticks of the whole traversal, at least 1 (a theme may give 0).
    int Duration() const { return m_nDuration < 1 ? 1 : m_nDuration; }
    // The next step of a traversal of n equal steps (a step of 255 wraps to 0).
    static BYTE AdvanceStep(BYTE step, int n);
    // Straight motion from f to t for the step, n steps in all.
    SPRITEPOINT StraightPoint(POINT f, POINT t, BYTE* pStep, BOOL bAdvance);
};

class CFixedLine : public CSpriteLine {
public:
    CFixedLine() : CSpriteLine(kLineFixed) {}
    SPRITEPOINT GetPoint(BYTE* pStep, BOOL bAdvance) override;
    BOOL IsFixed() override { return TRUE; }
};

class CStraightLine : public CSpriteLine {
public:
    CStraightLine() : CSpriteLine(kLineStraight) {}
    SPRITEPOINT GetPoint(BYTE* pStep, BOOL bAdvance) override;
};

class CCurveLine : public CSpriteLine {
public:
    CCurveLine() : CSpriteLine(kLineCurve) {}
    SPRITEPOINT GetPoint(BYTE* pStep, BOOL bAdvance) override;
    BOOL Load(LPCSTR section, LPCSTR file) override;

    CSpritePos m_through;
};

// A new line of type 0, 1 or 2; null for any other type.
CSpriteLine* CreateSpriteLine(int type);
// The line an ini section describes, or null when it has no valid one.
CSpriteLine* LoadSpriteLine(LPCSTR section, LPCSTR file);
