// Paths: recorded outlines that become a region or are filled.

#include "platform/gdi/Path.h"

#include "platform/gdi/Shapes.h"

#include <memory>
#include <utility>

namespace platform {

PathRecording* OpenPath(DeviceContext& dc) {
    return dc.path && !dc.path->ended ? dc.path.get() : nullptr;
}

void AddAreaToPath(DeviceContext& dc, Region area) {
    PathRecording* path = OpenPath(dc);
    if (!path || area.IsEmpty() || !area.CanOffset(dc.state.viewportOrg.x, dc.state.viewportOrg.y))
        return;
    area.Offset(dc.state.viewportOrg.x, dc.state.viewportOrg.y);
    path->area = Region::Combine(path->area, area, RGN_OR);
}

namespace {

POINT DevicePoint(const DeviceContext& dc, POINT p) {
    return POINT{DeviceContext::ClampCoord(int64_t(p.x) + dc.state.viewportOrg.x),
                 DeviceContext::ClampCoord(int64_t(p.y) + dc.state.viewportOrg.y)};
}

// A path's figures filled and joined with its areas.
Region RegionOfPath(const PathRecording& path, bool winding) {
    Region region = path.area;
    for (const std::vector<POINT>& figure : path.figures)
        if (figure.size() >= 3)
            region = Region::Combine(
                region, PolygonRegion(figure.data(), int(figure.size()), winding), RGN_OR);
    return region;
}

// The ended path of a DC, taken from it (a path is used once), or null.
std::shared_ptr<PathRecording> TakeEndedPath(DeviceContext* dc) {
    if (!dc || !dc->path || !dc->path->ended)
        return nullptr;
    return std::exchange(dc->path, nullptr);
}

} // namespace

void MovePathTo(DeviceContext& dc, POINT to) {
    if (PathRecording* path = OpenPath(dc))
        path->figures.push_back({DevicePoint(dc, to)});
}

void AddLineToPath(DeviceContext& dc, POINT to) {
    PathRecording* path = OpenPath(dc);
    if (!path)
        return;
    if (path->figures.empty())
        path->figures.push_back({DevicePoint(dc, dc.state.position)});
    path->figures.back().push_back(DevicePoint(dc, to));
}

} // namespace platform

using namespace platform;

BOOL BeginPath(HDC hdc) {
    DeviceContext* dc = LookupDC(hdc);
    if (!dc)
        return FALSE;
    dc->path = std::make_shared<PathRecording>(); // an earlier path is dropped
    return TRUE;
}

BOOL EndPath(HDC hdc) {
    DeviceContext* dc = LookupDC(hdc);
    if (!dc || !OpenPath(*dc))
        return FALSE;
    dc->path->ended = true;
    return TRUE;
}

BOOL AbortPath(HDC hdc) {
    DeviceContext* dc = LookupDC(hdc);
    if (!dc)
        return FALSE;
    dc->path.reset();
    return TRUE;
}

BOOL CloseFigure(HDC hdc) {
    DeviceContext* dc = LookupDC(hdc);
    PathRecording* path = dc ? OpenPath(*dc) : nullptr;
    if (!path || path->figures.empty())
        return FALSE;
    // The next line starts a new figure where this one began.
    path->figures.push_back({path->figures.back().front()});
    return TRUE;
}

HRGN PathToRegion(HDC hdc) {
    DeviceContext* dc = LookupDC(hdc);
    std::shared_ptr<PathRecording> path = TakeEndedPath(dc);
    if (!path)
        return nullptr;
    return NewRegionHandle(RegionOfPath(*path, dc->state.polyFillMode == WINDING));
}

BOOL FillPath(HDC hdc) {
    DeviceContext* dc = LookupDC(hdc);
    std::shared_ptr<PathRecording> path = TakeEndedPath(dc);
    if (!path)
        return FALSE;
    HRGN region = NewRegionHandle(RegionOfPath(*path, dc->state.polyFillMode == WINDING));
    HBRUSH brush = static_cast<HBRUSH>(GetCurrentObject(hdc, OBJ_BRUSH));
    BOOL filled = FillRgn(hdc, region, brush);
    DeleteObject(region);
    return filled;
}
