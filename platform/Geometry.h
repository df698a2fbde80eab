#pragma once

// Points, sizes and rectangles: the plain Windows functions and the small classes
// the window handlers and the drawing code pass around.

#include "platform/Types.h"

#include <algorithm>

inline BOOL SetRect(LPRECT r, int left, int top, int right, int bottom) {
    *r = {left, top, right, bottom};
    return TRUE;
}
inline BOOL SetRectEmpty(LPRECT r) {
    return SetRect(r, 0, 0, 0, 0);
}
inline BOOL CopyRect(LPRECT to, const RECT* from) {
    *to = *from;
    return TRUE;
}
inline BOOL IsRectEmpty(const RECT* r) {
    return r->right <= r->left || r->bottom <= r->top;
}
inline BOOL EqualRect(const RECT* a, const RECT* b) {
    return a->left == b->left && a->top == b->top && a->right == b->right && a->bottom == b->bottom;
}
inline BOOL PtInRect(const RECT* r, POINT p) {
    return p.x >= r->left && p.x < r->right && p.y >= r->top && p.y < r->bottom;
}
inline BOOL OffsetRect(LPRECT r, int dx, int dy) {
    r->left += dx;
    r->right += dx;
    r->top += dy;
    r->bottom += dy;
    return TRUE;
}
inline BOOL InflateRect(LPRECT r, int dx, int dy) {
    r->left -= dx;
    r->right += dx;
    r->top -= dy;
    r->bottom += dy;
    return TRUE;
}
// An empty intersection gives the empty rectangle and FALSE.
inline BOOL IntersectRect(LPRECT out, const RECT* a, const RECT* b) {
    RECT r{std::max(a->left, b->left), std::max(a->top, b->top), std::min(a->right, b->right),
           std::min(a->bottom, b->bottom)};
    if (IsRectEmpty(&r)) {
        SetRectEmpty(out);
        return FALSE;
    }
    *out = r;
    return TRUE;
}
// Empty rectangles take no part in a union.
inline BOOL UnionRect(LPRECT out, const RECT* a, const RECT* b) {
    if (IsRectEmpty(a)) {
        *out = *b;
    } else if (IsRectEmpty(b)) {
        *out = *a;
    } else {
        *out = {std::min(a->left, b->left), std::min(a->top, b->top), std::max(a->right, b->right),
                std::max(a->bottom, b->bottom)};
    }
    return !IsRectEmpty(out);
}

class CPoint : public POINT {
public:
    CPoint() : POINT{0, 0} {}
    CPoint(int x, int y) : POINT{x, y} {}
    CPoint(POINT p) : POINT(p) {}
    void Offset(int dx, int dy) {
        x += dx;
        y += dy;
    }
    bool operator==(POINT p) const { return x == p.x && y == p.y; }
    bool operator!=(POINT p) const { return !(*this == p); }
    CPoint operator+(POINT p) const { return CPoint(x + p.x, y + p.y); }
    CPoint operator-(POINT p) const { return CPoint(x - p.x, y - p.y); }
    CPoint& operator+=(POINT p) {
        Offset(p.x, p.y);
        return *this;
    }
    CPoint& operator-=(POINT p) {
        Offset(-p.x, -p.y);
        return *this;
    }
};

class CSize : public SIZE {
public:
    CSize() : SIZE{0, 0} {}
    CSize(int cx, int cy) : SIZE{cx, cy} {}
    CSize(SIZE s) : SIZE(s) {}
    bool operator==(SIZE s) const { return cx == s.cx && cy == s.cy; }
    bool operator!=(SIZE s) const { return !(*this == s); }
};

class CRect : public RECT {
public:
    CRect() : RECT{0, 0, 0, 0} {}
    CRect(int l, int t, int r, int b) : RECT{l, t, r, b} {}
    CRect(const RECT& r) : RECT(r) {}
    CRect(POINT topLeft, SIZE size)
        : RECT{topLeft.x, topLeft.y, topLeft.x + size.cx, topLeft.y + size.cy} {}

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    CSize Size() const { return CSize(Width(), Height()); }
    CPoint TopLeft() const { return CPoint(left, top); }
    CPoint BottomRight() const { return CPoint(right, bottom); }
    CPoint CenterPoint() const { return CPoint((left + right) / 2, (top + bottom) / 2); }
    BOOL IsRectEmpty() const { return ::IsRectEmpty(this); }
    BOOL IsRectNull() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
    BOOL PtInRect(POINT p) const { return ::PtInRect(this, p); }
    BOOL EqualRect(const RECT* r) const { return ::EqualRect(this, r); }

    void SetRect(int l, int t, int r, int b) { ::SetRect(this, l, t, r, b); }
    void SetRectEmpty() { ::SetRectEmpty(this); }
    void OffsetRect(int dx, int dy) { ::OffsetRect(this, dx, dy); }
    void OffsetRect(POINT p) { ::OffsetRect(this, p.x, p.y); }
    void InflateRect(int dx, int dy) { ::InflateRect(this, dx, dy); }
    void DeflateRect(int dx, int dy) { ::InflateRect(this, -dx, -dy); }
    void NormalizeRect() {
        if (left > right)
            std::swap(left, right);
        if (top > bottom)
            std::swap(top, bottom);
    }
    BOOL IntersectRect(const RECT* a, const RECT* b) { return ::IntersectRect(this, a, b); }
    BOOL UnionRect(const RECT* a, const RECT* b) { return ::UnionRect(this, a, b); }

    operator LPRECT() { return this; }
    operator LPCRECT() const { return this; }
    bool operator==(const RECT& r) const { return ::EqualRect(this, &r); }
    bool operator!=(const RECT& r) const { return !::EqualRect(this, &r); }
    CRect& operator+=(POINT p) {
        OffsetRect(p);
        return *this;
    }
    CRect& operator-=(POINT p) {
        ::OffsetRect(this, -p.x, -p.y);
        return *this;
    }
    CRect operator+(POINT p) const {
        CRect r(*this);
        r += p;
        return r;
    }
    CRect operator&(const RECT& r) const {
        CRect out;
        ::IntersectRect(&out, this, &r);
        return out;
    }
    CRect operator|(const RECT& r) const {
        CRect out;
        ::UnionRect(&out, this, &r);
        return out;
    }
};
