// Choosing and starting the display.

#include "platform/display/Display.h"

#include "platform/display/Composer.h"
#include "platform/display/SdlDisplay.h"
#include "platform/gdi/WindowDc.h"
#include "platform/images/PngFile.h"
#include "platform/sound/Sound.h"
#include "platform/window/DisplayInstall.h"

#include <cstdlib>
#include <cstring>
#include <malloc.h>

namespace platform {

namespace {

// The allocator's own starting bound for blocks taken from the system.
constexpr int kSystemBlockBytes = 128 * 1024;

std::unique_ptr<WindowSurfaces> g_display;
DisplayKind g_kind = DisplayKind::None;

DisplayKind WantedByEnvironment() {
    const char* forced = std::getenv("PELLOR_DISPLAY");
    if (forced && strcmp(forced, "headless") == 0)
        return DisplayKind::Headless;
    if (forced && strcmp(forced, "sdl") == 0)
        return DisplayKind::Sdl;
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 && *x11) || (wayland && *wayland) ? DisplayKind::Sdl : DisplayKind::Headless;
}

} // namespace

DisplayKind StartDisplay() {
    return g_kind != DisplayKind::None ? g_kind : StartDisplay(WantedByEnvironment());
}

DisplayKind StartDisplay(DisplayKind wanted) {
    StopDisplay();
    // Window-sized pixel blocks come from the system and go back to it when
    // freed. Left to itself the allocator raises this bound after the first
    // such block is freed, and from then on keeps every freed surface,
    // picture and sound in its heap: the process would only grow.
    mallopt(M_MMAP_THRESHOLD, kSystemBlockBytes);
    if (wanted == DisplayKind::Sdl) {
        g_display = StartSdlDisplay(); // sets the screen size itself
        if (g_display)
            g_kind = DisplayKind::Sdl;
    }
    if (!g_display) {
        SetScreenSize(kHeadlessScreenWidth, kHeadlessScreenHeight);
        g_display = std::make_unique<WindowSurfaces>();
        g_kind = DisplayKind::Headless;
    }
    SetDisplayDriver(g_display.get());
    StartAudio(g_kind == DisplayKind::Sdl ? AudioOutput::Driver : AudioOutput::Null);
    return g_kind;
}

void StopDisplay() {
    if (!g_display)
        return;
    StartAudio(AudioOutput::Null); // the driver's audio closes before the driver
    SetDisplayDriver(nullptr);
    g_display.reset();
    g_kind = DisplayKind::None;
}

WindowSurfaces* GetWindowSurfaces() {
    return g_display.get();
}

DisplayKind CurrentDisplay() {
    return g_kind;
}

std::unique_ptr<Surface> ComposeScreen() {
    if (!g_display)
        return nullptr;
    const SIZE screen = GetScreenSize();
    return ComposeScreen(*g_display, screen.cx, screen.cy);
}

bool SaveScreenPng(const std::string& path, std::string* error) {
    std::unique_ptr<Surface> screen = ComposeScreen();
    if (!screen) {
        if (error)
            *error = "no display";
        return false;
    }
    return SavePngFile(path, *screen, error);
}

bool SaveWindowPng(HWND hwnd, const std::string& path, std::string* error) {
    if (!g_display) {
        if (error)
            *error = "no display";
        return false;
    }
    return SaveWindowPng(*g_display, hwnd, path, error);
}

} // namespace platform
