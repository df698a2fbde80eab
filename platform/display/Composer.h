#pragma once

// The screen as a person would see it: every visible top-level window, from
// the back to the front, inside its window region, with its layered colour key
// and constant alpha, over a black desktop.

#include "platform/gdi/Surface.h"

#include <memory>
#include <string>

namespace platform {

class WindowSurfaces;

std::unique_ptr<Surface> ComposeScreen(WindowSurfaces& surfaces, int width, int height);

// One window's pixels (a child's part of its top-level surface), as PNG.
bool SaveWindowPng(WindowSurfaces& surfaces, HWND hwnd, const std::string& path,
                   std::string* error = nullptr);

} // namespace platform
