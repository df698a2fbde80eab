#pragma once

// The state behind an HDC: the surface it draws on, where the DC's (0, 0) lies
// on that surface, the clip, colours, modes and the selected objects.
// Coordinates: logical + viewport origin = device (DC) units; device + origin
// = surface pixels. Clip regions are kept in device units.

#include "platform/gdi/GdiObject.h"

#include <algorithm>
#include <memory>
#include <optional>

namespace platform {

struct PathRecording;

struct DcState {
    COLORREF bkColor = RGB(255, 255, 255);
    COLORREF textColor = RGB(0, 0, 0);
    int bkMode = OPAQUE;
    int stretchMode = BLACKONWHITE;
    int polyFillMode = ALTERNATE;
    POINT viewportOrg{0, 0};
    POINT position{0, 0};
    POINT brushOrg{0, 0};
    GdiObject* bitmap = nullptr;
    GdiObject* brush = nullptr;
    GdiObject* pen = nullptr;
    GdiObject* font = nullptr;
    GdiObject* palette = nullptr;
    std::optional<Region> clip;
};

class DeviceContext {
public:
    enum class Kind { Memory, Screen, Window };
    explicit DeviceContext(Kind kind);
    ~DeviceContext();
    DeviceContext(const DeviceContext&) = delete;
    DeviceContext& operator=(const DeviceContext&) = delete;

    Kind kind;
    DcState state;
    std::vector<DcState> saved;
    // A window DC draws on a part of its window's surface, inside what is visible.
    GdiObject* windowTarget = nullptr;
    POINT origin{0, 0};
    std::optional<Region> visible; // device units
    // The path being recorded or ended (BeginPath), else null.
    std::shared_ptr<PathRecording> path;

    Surface* Target() const;
    Surface& TargetOrDummy() const;
    // The surface rectangles that may be drawn, after every clip.
    const std::vector<RECT>& ClipRects();
    void ClipChanged() { m_clipValid = false; }
    // Whether logical point (x, y) may be drawn; its surface pixel goes to *at.
    bool PointVisible(int x, int y, POINT* at);
    // The clip before the surface bounds: visible area and clip region, device units.
    std::optional<Region> DeviceClip() const;

    // Saturating: coordinates far outside any surface stay far outside.
    int SurfaceX(int64_t x) const { return ClampCoord(x + state.viewportOrg.x + origin.x); }
    int SurfaceY(int64_t y) const { return ClampCoord(y + state.viewportOrg.y + origin.y); }
    RECT SurfaceRect(int left, int top, int right, int bottom) const {
        return RECT{SurfaceX(left), SurfaceY(top), SurfaceX(right), SurfaceY(bottom)};
    }
    // The rectangle at (x, y) of that size (negative sizes run left or up).
    RECT SurfaceExtent(int x, int y, int width, int height) const {
        int64_t right = int64_t(x) + width, bottom = int64_t(y) + height;
        return RECT{SurfaceX(std::min<int64_t>(x, right)), SurfaceY(std::min<int64_t>(y, bottom)),
                    SurfaceX(std::max<int64_t>(x, right)), SurfaceY(std::max<int64_t>(y, bottom))};
    }
    static int ClampCoord(int64_t v) {
        constexpr int64_t kFar = int64_t(1) << 30;
        return int(std::clamp(v, -kFar, kFar));
    }

    // Selection helpers: count references, release on replacement.
    void Select(GdiObject*& slot, GdiObject* object);
    void RestoreState(DcState&& state);

    uint32_t BrushPixel() const; // only for solid brushes
    bool HasBrush() const;

private:
    std::vector<RECT> m_clipRects;
    bool m_clipValid = false;
};

DeviceContext* LookupDC(HDC hdc);
HDC RegisterDC(std::unique_ptr<DeviceContext> dc);

// Copies a state's references (for SaveDC) and releases them (for RestoreDC).
void RetainObjects(const DcState& state);
void ReleaseObjects(const DcState& state);

// The stock 1x1 monochrome bitmap every memory DC starts with.
GdiObject* StockBitmap();

} // namespace platform
