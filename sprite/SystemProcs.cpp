#include "sprite/SystemProcs.h"

#include "platform/system/Module.h"

namespace {

template <typename Proc> Proc Find(Proc& cached, LPCSTR module, LPCSTR name) {
    if (cached)
        return cached;
    HMODULE handle = LoadLibrary(module);
    if (!handle)
        return nullptr;
    cached = reinterpret_cast<Proc>(GetProcAddress(handle, name));
    // Kept loaded once found, as the system keeps its libraries.
    if (!cached)
        FreeLibrary(handle);
    return cached;
}

AlphaBlendProc g_alphaBlend = nullptr;
TrackMouseEventProc g_trackMouseEvent = nullptr;
SetLayeredWindowAttributesProc g_setLayered = nullptr;

} // namespace

AlphaBlendProc FindAlphaBlend() {
    return Find(g_alphaBlend, "MSIMG32", "AlphaBlend");
}

TrackMouseEventProc FindTrackMouseEvent() {
    return Find(g_trackMouseEvent, "COMCTL32", "_TrackMouseEvent");
}

SetLayeredWindowAttributesProc FindSetLayeredWindowAttributes() {
    return Find(g_setLayered, "User32.DLL", "SetLayeredWindowAttributes");
}

BOOL BlendConstantAlpha(HDC dest, int x, int y, int cx, int cy, HDC src, int sx, int sy,
                        BYTE alpha) {
    AlphaBlendProc blend = FindAlphaBlend();
    if (!blend)
        return FALSE;
    BLENDFUNCTION function{AC_SRC_OVER, 0, alpha, 0};
    return blend(dest, x, y, cx, cy, src, sx, sy, cx, cy, function);
}
