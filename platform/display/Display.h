#pragma once

// The display: where windows' pixels go and where input comes from. Chosen
// once at start, and installed as the display driver (DisplayDriver.h):
//   - sdl: a borderless native window per visible top-level window, shaped by
//     its window region, with its layered alpha; SDL2 input, cursors, the
//     text clipboard and audio; the message loop waits on SDL events.
//   - headless (the default): windows paint into memory only; tests inject
//     input (platform/window/Input.h) and save windows or the composed screen
//     as PNG.
// PELLOR_DISPLAY=headless|sdl forces one; otherwise SDL is used when DISPLAY
// or WAYLAND_DISPLAY is set and SDL starts, else headless.

#include "platform/gdi/Surface.h"

#include <memory>
#include <string>

namespace platform {

enum class DisplayKind { None, Headless, Sdl };

// Starts the display the environment asks for; returns what was started (a
// display already running is kept).
DisplayKind StartDisplay();
// Starts a given display; SDL falls back to headless when it cannot start.
DisplayKind StartDisplay(DisplayKind wanted);
// Takes the display down: native windows close, the window tree stays.
void StopDisplay();
DisplayKind CurrentDisplay();

// The screen picture (see Composer.h); null without a display.
std::unique_ptr<Surface> ComposeScreen();
bool SaveScreenPng(const std::string& path, std::string* error = nullptr);
// A window's pixels as drawn (a child's part of its top-level window).
bool SaveWindowPng(HWND hwnd, const std::string& path, std::string* error = nullptr);

// The headless screen size (1024 x 768 unless set before StartDisplay).
constexpr int kHeadlessScreenWidth = 1024;
constexpr int kHeadlessScreenHeight = 768;

} // namespace platform
