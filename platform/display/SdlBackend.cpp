// The SDL display driver: a borderless native window per visible top-level
// window, presenting its surface, shaped by its region, faded by its layered
// alpha; SDL input turned into window messages; cursors; the text clipboard;
// audio.
//
// Shapes: native windows are made with SDL_CreateShapedWindow, which X11
// supports; where it is missing (Wayland) windows are unshaped rectangles
// (their drawing and hit-testing still follow the region). Layered alpha
// uses SDL_SetWindowOpacity, which needs a compositing window manager to show.

#include "platform/display/SdlDisplay.h"

#include "platform/CodePage.h"
#include "platform/Geometry.h"
#include "platform/display/SdlAudio.h"
#include "platform/display/SdlDisplayLoss.h"
#include "platform/display/SdlWaiter.h"
#include "platform/gdi/WindowDc.h"
#include "platform/window/Cursor.h"
#include "platform/window/Input.h"
#include "platform/window/Window.h"
#include "platform/window/WindowVisibility.h"

#include <SDL.h>
#include <SDL_shape.h>

#include <algorithm>
#include <map>
#include <set>

namespace platform {

namespace {

struct Native {
    SDL_Window* window = nullptr;
    bool shaped = false;
};

RECT RectOf(HWND hwnd) {
    RECT rect{};
    WindowRectInParent(hwnd, &rect);
    return rect;
}

UINT VirtualKeyOf(SDL_Keycode key) {
    if (key >= SDLK_a && key <= SDLK_z)
        return UINT('A' + (key - SDLK_a));
    if (key >= SDLK_0 && key <= SDLK_9)
        return UINT(key);
    if (key >= SDLK_F1 && key <= SDLK_F12)
        return UINT(VK_F1 + (key - SDLK_F1));
    if (key >= SDLK_KP_1 && key <= SDLK_KP_9)
        return UINT(VK_NUMPAD0 + 1 + (key - SDLK_KP_1));
    switch (key) {
    case SDLK_KP_0:
        return VK_NUMPAD0;
    case SDLK_BACKSPACE:
        return VK_BACK;
    case SDLK_TAB:
        return VK_TAB;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
        return VK_RETURN;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT:
        return VK_SHIFT;
    case SDLK_LCTRL:
    case SDLK_RCTRL:
        return VK_CONTROL;
    case SDLK_LALT:
    case SDLK_RALT:
        return VK_MENU;
    case SDLK_PAUSE:
        return VK_PAUSE;
    case SDLK_CAPSLOCK:
        return VK_CAPITAL;
    case SDLK_ESCAPE:
        return VK_ESCAPE;
    case SDLK_SPACE:
        return VK_SPACE;
    case SDLK_PAGEUP:
        return VK_PRIOR;
    case SDLK_PAGEDOWN:
        return VK_NEXT;
    case SDLK_END:
        return VK_END;
    case SDLK_HOME:
        return VK_HOME;
    case SDLK_LEFT:
        return VK_LEFT;
    case SDLK_UP:
        return VK_UP;
    case SDLK_RIGHT:
        return VK_RIGHT;
    case SDLK_DOWN:
        return VK_DOWN;
    case SDLK_PRINTSCREEN:
        return VK_SNAPSHOT;
    case SDLK_INSERT:
        return VK_INSERT;
    case SDLK_DELETE:
        return VK_DELETE;
    case SDLK_KP_MULTIPLY:
        return VK_MULTIPLY;
    case SDLK_KP_PLUS:
        return VK_ADD;
    case SDLK_KP_MINUS:
        return VK_SUBTRACT;
    case SDLK_KP_PERIOD:
        return VK_DECIMAL;
    case SDLK_KP_DIVIDE:
        return VK_DIVIDE;
    default:
        return 0;
    }
}

SDL_SystemCursor SystemCursorOf(int id) {
    static const struct {
        LPCSTR name;
        SDL_SystemCursor sdl;
    } kShapes[] = {
        {IDC_IBEAM, SDL_SYSTEM_CURSOR_IBEAM},
        {IDC_WAIT, SDL_SYSTEM_CURSOR_WAIT},
        {IDC_CROSS, SDL_SYSTEM_CURSOR_CROSSHAIR},
        {IDC_SIZENWSE, SDL_SYSTEM_CURSOR_SIZENWSE},
        {IDC_SIZENESW, SDL_SYSTEM_CURSOR_SIZENESW},
        {IDC_SIZEWE, SDL_SYSTEM_CURSOR_SIZEWE},
        {IDC_SIZENS, SDL_SYSTEM_CURSOR_SIZENS},
        {IDC_SIZEALL, SDL_SYSTEM_CURSOR_SIZEALL},
        {IDC_NO, SDL_SYSTEM_CURSOR_NO},
        {IDC_HAND, SDL_SYSTEM_CURSOR_HAND},
        {IDC_APPSTARTING, SDL_SYSTEM_CURSOR_WAITARROW},
    };
    for (const auto& shape : kShapes)
        if (shape.name == MAKEINTRESOURCE(id))
            return shape.sdl;
    return SDL_SYSTEM_CURSOR_ARROW;
}

class SdlDisplay : public WindowSurfaces {
public:
    explicit SdlDisplay(uint32_t wakeEvent) : m_wakeThread(wakeEvent) {
        for (HWND hwnd : TopLevelWindowList())
            SyncNative(hwnd);
    }
    ~SdlDisplay() override {
        m_audio.Close();
        for (auto& [hwnd, native] : m_natives)
            SDL_DestroyWindow(native.window);
        for (auto& [cursor, sdl] : m_cursors)
            SDL_FreeCursor(sdl);
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }

    void WindowCreated(HWND hwnd) override {
        WindowSurfaces::WindowCreated(hwnd);
        SyncNative(hwnd);
    }
    void WindowDestroyed(HWND hwnd) override {
        DropNative(hwnd);
        m_icons.erase(hwnd);
        WindowSurfaces::WindowDestroyed(hwnd);
    }
    void WindowChanged(HWND hwnd, unsigned changes) override {
        WindowSurfaces::WindowChanged(hwnd, changes);
        if (m_natives.count(hwnd) || (changes & kWindowShown))
            ApplyChanges(hwnd, changes);
    }

    // Shows what was drawn, then sleeps until SDL has an event.
    bool Wait(int timeoutMs) override {
        PresentAll();
        m_wakeThread.Arm();
        SDL_WaitEventTimeout(nullptr, timeoutMs);
        return true;
    }
    bool Pump() override {
        SDL_Event event;
        if (!SDL_PollEvent(&event))
            return false;
        Handle(event);
        return true;
    }

    void SetClipboardText(const std::string& utf8) override { SDL_SetClipboardText(utf8.c_str()); }
    std::optional<std::string> GetClipboardText() override {
        if (!SDL_HasClipboardText())
            return std::string();
        char* text = SDL_GetClipboardText();
        if (!text)
            return std::nullopt;
        std::string copy = text;
        SDL_free(text);
        return copy;
    }

    void ShowCursorShape(HCURSOR cursor, bool visible) override {
        SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
        if (SDL_Cursor* sdl = SdlCursorOf(cursor))
            SDL_SetCursor(sdl);
    }

    void SetWindowIcon(HWND hwnd, HICON icon) override {
        m_icons[hwnd] = icon;
        if (auto it = m_natives.find(hwnd); it != m_natives.end())
            ApplyIcon(hwnd, it->second);
    }
    void FlashWindow(HWND hwnd, bool on) override {
        WindowSurfaces::FlashWindow(hwnd, on);
        if (auto it = m_natives.find(hwnd); it != m_natives.end())
            SDL_FlashWindow(it->second.window, on ? SDL_FLASH_UNTIL_FOCUSED : SDL_FLASH_CANCEL);
    }

    bool OpenAudio(SoundMixer& mixer) override { return m_audio.Open(mixer); }
    void CloseAudio() override { m_audio.Close(); }

protected:
    void SurfaceChanged(HWND topLevel) override { m_toPresent.insert(topLevel); }

private:
    SDL_Cursor* SdlCursorOf(HCURSOR cursor) {
        const CursorShape* shape = CursorShapeOf(cursor);
        if (!shape)
            return nullptr;
        auto it = m_cursors.find(cursor);
        if (it != m_cursors.end())
            return it->second;
        SDL_Cursor* sdl = nullptr;
        if (shape->standardId) {
            sdl = SDL_CreateSystemCursor(SystemCursorOf(shape->standardId));
        } else if (SDL_Surface* image = SDL_CreateRGBSurfaceWithFormatFrom(
                       const_cast<uint32_t*>(shape->pixels.data()), shape->width, shape->height, 32,
                       shape->width * 4, SDL_PIXELFORMAT_ARGB8888)) {
            sdl = SDL_CreateColorCursor(image, shape->hotSpot.x, shape->hotSpot.y);
            SDL_FreeSurface(image);
        }
        m_cursors[cursor] = sdl; // a picture cursor keeps its handle until the process ends
        return sdl;
    }

    static bool WantsNative(HWND hwnd) {
        RECT rect;
        return WindowRectInParent(hwnd, &rect) && !ParentWindowOf(hwnd) && HasVisibleStyle(hwnd) &&
               rect.right > rect.left && rect.bottom > rect.top;
    }

    HWND WindowOfEvent(Uint32 windowId) const {
        auto it = m_byId.find(windowId);
        return it == m_byId.end() ? nullptr : it->second;
    }

    void SyncNative(HWND hwnd) {
        const bool wanted = WantsNative(hwnd);
        const bool present = m_natives.count(hwnd) > 0;
        if (wanted && !present)
            MakeNative(hwnd);
        else if (!wanted && present)
            DropNative(hwnd);
    }

    void MakeNative(HWND hwnd) {
        const std::string title = GbkToUtf8(StoredWindowText(hwnd));
        const RECT r = RectOf(hwnd);
        const int width = r.right - r.left, height = r.bottom - r.top;
        Native native;
        native.window =
            SDL_CreateShapedWindow(title.c_str(), unsigned(r.left), unsigned(r.top),
                                   unsigned(width), unsigned(height), SDL_WINDOW_BORDERLESS);
        native.shaped = native.window != nullptr;
        if (!native.window)
            native.window = SDL_CreateWindow(title.c_str(), r.left, r.top, width, height,
                                             SDL_WINDOW_BORDERLESS);
        if (!native.window)
            return;
        m_natives[hwnd] = native;
        m_byId[SDL_GetWindowID(native.window)] = hwnd;
        ApplyShape(hwnd, native);
        ApplyOpacity(hwnd, native);
        ApplyIcon(hwnd, native);
        SDL_ShowWindow(native.window);
        // A shaped window is made off screen; it is placed once it shows.
        SDL_SetWindowPosition(native.window, r.left, r.top);
        PresentWhole(hwnd);
    }

    void DropNative(HWND hwnd) {
        auto it = m_natives.find(hwnd);
        if (it == m_natives.end())
            return;
        const bool heldKeyboard = SDL_GetKeyboardFocus() == it->second.window;
        m_byId.erase(SDL_GetWindowID(it->second.window));
        SDL_DestroyWindow(it->second.window);
        m_natives.erase(it);
        m_toPresent.erase(hwnd);
        if (heldKeyboard)
            PassKeyboardOn(hwnd);
    }

    // A window that goes while it holds the keyboard hands it to its owner (or
    // the front one of ours), as Windows activates the owner of a window it
    // hides. A desktop without a window manager would leave the keyboard with
    // no window at all, so that the table's hot keys died with a closed dialog.
    void PassKeyboardOn(HWND gone) {
        for (HWND owner = GetParent(gone); owner; owner = GetParent(owner)) {
            if (auto it = m_natives.find(owner); it != m_natives.end()) {
                SDL_SetWindowInputFocus(it->second.window);
                return;
            }
        }
        for (HWND top : TopLevelWindowList()) {
            if (auto it = m_natives.find(top); it != m_natives.end()) {
                SDL_SetWindowInputFocus(it->second.window);
                return;
            }
        }
    }

    void ApplyChanges(HWND hwnd, unsigned changes) {
        SyncNative(hwnd);
        auto it = m_natives.find(hwnd);
        RECT rect;
        if (it == m_natives.end() || !WindowRectInParent(hwnd, &rect))
            return;
        Native& native = it->second;
        if ((changes & kWindowMoved) && !m_movingByUser)
            SDL_SetWindowPosition(native.window, rect.left, rect.top);
        if (changes & kWindowSized) {
            SDL_SetWindowSize(native.window, rect.right - rect.left, rect.bottom - rect.top);
            PresentWhole(hwnd);
        }
        if (changes & (kWindowSized | kWindowRegion | kWindowLayered))
            ApplyShape(hwnd, native);
        // A shaped window that is resized can be put back where it was made
        // (off screen) by the server: its place is said again after the size.
        if ((changes & (kWindowMoved | kWindowSized)) && !m_movingByUser)
            SDL_SetWindowPosition(native.window, rect.left, rect.top);
        if (changes & kWindowLayered)
            ApplyOpacity(hwnd, native);
        if (changes & kWindowText)
            SDL_SetWindowTitle(native.window, GbkToUtf8(StoredWindowText(hwnd)).c_str());
        if (changes & kWindowIconic) {
            if (IsIconic(hwnd))
                SDL_MinimizeWindow(native.window);
            else
                SDL_RestoreWindow(native.window);
        }
        if (changes & kWindowZOrder) {
            const std::vector<HWND> tops = TopLevelWindowList();
            if (!tops.empty() && tops.front() == hwnd)
                SDL_RaiseWindow(native.window);
        }
    }

    // The icon the window was given, as the desktop's picture of the window.
    void ApplyIcon(HWND hwnd, Native& native) {
        auto it = m_icons.find(hwnd);
        const CursorShape* shape =
            it == m_icons.end() ? nullptr : CursorShapeOf(reinterpret_cast<HCURSOR>(it->second));
        if (!shape || shape->pixels.empty())
            return;
        if (SDL_Surface* image = SDL_CreateRGBSurfaceWithFormatFrom(
                const_cast<uint32_t*>(shape->pixels.data()), shape->width, shape->height, 32,
                shape->width * 4, SDL_PIXELFORMAT_ARGB8888)) {
            SDL_SetWindowIcon(native.window, image);
            SDL_FreeSurface(image);
        }
    }

    // The shape: the window region, less the colour key's pixels when layered with one.
    void ApplyShape(HWND hwnd, Native& native) {
        if (!native.shaped)
            return;
        const RECT rect = RectOf(hwnd);
        const int width = rect.right - rect.left, height = rect.bottom - rect.top;
        SDL_Surface* mask =
            SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_ARGB8888);
        if (!mask)
            return;
        Region shape = WindowShape(hwnd);
        shape.Offset(-rect.left, -rect.top);
        COLORREF keyColor = 0;
        DWORD flags = 0;
        const bool keyed =
            GetLayeredWindowAttributes(hwnd, &keyColor, nullptr, &flags) && (flags & LWA_COLORKEY);
        const uint32_t key = PixelFromColor(keyColor);
        const Surface* pixels = SurfaceOf(hwnd);
        for (const RECT& r : shape.Rects())
            for (int y = r.top; y < r.bottom; ++y) {
                auto* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(mask->pixels) +
                                                        ptrdiff_t(y) * mask->pitch);
                if (!keyed || !pixels) {
                    std::fill(row + r.left, row + r.right, 0xFF000000u);
                    continue;
                }
                for (int x = r.left; x < r.right; ++x)
                    row[x] = (pixels->GetPixel(x, y) & kRgbMask) == key ? 0u : 0xFF000000u;
            }
        SDL_WindowShapeMode mode;
        mode.mode = ShapeModeBinarizeAlpha;
        mode.parameters.binarizationCutoff = 1;
        SDL_SetWindowShape(native.window, mask, &mode);
        SDL_FreeSurface(mask);
    }

    static void ApplyOpacity(HWND hwnd, Native& native) {
        float opacity = 1.0f;
        BYTE alpha = 255;
        DWORD flags = 0;
        if (GetLayeredWindowAttributes(hwnd, nullptr, &alpha, &flags) && (flags & LWA_ALPHA))
            opacity = float(alpha) / 255.0f;
        SDL_SetWindowOpacity(native.window, opacity);
    }

    // SDL gives a mouse capture to whichever window holds the keyboard. That
    // may be another of ours (a tip or a pop-up is given it as it shows, on a
    // desktop without a window manager): captured there, the pointer would be
    // taken off the pressed window, which hears that the mouse left and drops
    // the press. Then the server's own grab of the press keeps the pointer
    // with the pressed window until the button is let go.
    void FollowCapture() {
        SDL_Window* holder = nullptr;
        for (HWND h = GetCapture(); h != nullptr && holder == nullptr; h = GetParent(h))
            if (auto it = m_natives.find(h); it != m_natives.end())
                holder = it->second.window;
        const bool ours = holder != nullptr && holder == SDL_GetKeyboardFocus();
        SDL_CaptureMouse(ours ? SDL_TRUE : SDL_FALSE);
    }

    void PresentWhole(HWND hwnd) {
        RECT rect;
        if (!WindowRectInParent(hwnd, &rect))
            return;
        TakeDirty(hwnd);
        Present(hwnd, {RECT{0, 0, rect.right - rect.left, rect.bottom - rect.top}});
    }

    void PresentAll() {
        FollowCapture();
        std::set<HWND> toPresent = std::move(m_toPresent);
        m_toPresent.clear();
        for (HWND hwnd : toPresent)
            if (m_natives.count(hwnd))
                Present(hwnd, TakeDirty(hwnd));
    }

    void Present(HWND hwnd, const std::vector<RECT>& dirty) {
        auto it = m_natives.find(hwnd);
        Surface* pixels = SurfaceOf(hwnd);
        if (it == m_natives.end() || !pixels || dirty.empty())
            return;
        SDL_Surface* target = SDL_GetWindowSurface(it->second.window);
        if (!target)
            return;
        std::vector<SDL_Rect> rects;
        const RECT bounds{0, 0, std::min(pixels->Width(), target->w),
                          std::min(pixels->Height(), target->h)};
        for (RECT r : dirty) {
            if (!IntersectRect(&r, &r, &bounds))
                continue;
            const SDL_Rect rect{r.left, r.top, r.right - r.left, r.bottom - r.top};
            auto* dst = static_cast<uint8_t*>(target->pixels) + ptrdiff_t(r.top) * target->pitch +
                        r.left * target->format->BytesPerPixel;
            SDL_ConvertPixels(rect.w, rect.h, SDL_PIXELFORMAT_RGB888,
                              pixels->RowBytesAt(r.top) + r.left * 4, pixels->Stride(),
                              target->format->format, dst, target->pitch);
            rects.push_back(rect);
        }
        if (!rects.empty())
            SDL_UpdateWindowSurfaceRects(it->second.window, rects.data(), int(rects.size()));
        DWORD flags = 0;
        if (GetLayeredWindowAttributes(hwnd, nullptr, nullptr, &flags) && (flags & LWA_COLORKEY))
            ApplyShape(hwnd, it->second); // the key's pixels may have changed
    }

    POINT ScreenPoint(HWND hwnd, int x, int y) const {
        // While the mouse is held (a drag moving the window under it), an
        // event's window-relative point is against where the server had the
        // window then, which lags behind ours: ask where the pointer is.
        if (GetCapture()) {
            int gx = 0, gy = 0;
            SDL_GetGlobalMouseState(&gx, &gy);
            return POINT{gx, gy};
        }
        RECT r{};
        GetWindowRect(hwnd, &r);
        return POINT{r.left + x, r.top + y};
    }

    void Handle(const SDL_Event& e) {
        switch (e.type) {
        case SDL_MOUSEMOTION:
            if (HWND hwnd = WindowOfEvent(e.motion.windowID))
                InjectMouse(MouseAction::Move, ScreenPoint(hwnd, e.motion.x, e.motion.y));
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            HandleButton(e.button);
            break;
        case SDL_MOUSEWHEEL: {
            POINT at;
            GetCursorPos(&at);
            const int steps = e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -e.wheel.y : e.wheel.y;
            if (steps)
                InjectMouse(MouseAction::Wheel, at, steps * WHEEL_DELTA);
            break;
        }
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            if (UINT vk = VirtualKeyOf(e.key.keysym.sym))
                InjectKey(vk, e.type == SDL_KEYDOWN, e.key.repeat != 0);
            break;
        case SDL_TEXTINPUT:
            InjectText(Utf8ToGbk(e.text.text));
            break;
        case SDL_WINDOWEVENT:
            HandleWindowEvent(e.window);
            break;
        default:
            break; // our own wake-ups and the rest
        }
        FollowCapture();
    }

    void HandleButton(const SDL_MouseButtonEvent& b) {
        HWND hwnd = WindowOfEvent(b.windowID);
        if (!hwnd)
            return;
        const bool down = b.type == SDL_MOUSEBUTTONDOWN;
        MouseAction action;
        switch (b.button) {
        case SDL_BUTTON_LEFT:
            action = down ? MouseAction::LeftDown : MouseAction::LeftUp;
            break;
        case SDL_BUTTON_RIGHT:
            action = down ? MouseAction::RightDown : MouseAction::RightUp;
            break;
        case SDL_BUTTON_MIDDLE:
            action = down ? MouseAction::MiddleDown : MouseAction::MiddleUp;
            break;
        default:
            return;
        }
        InjectMouse(action, ScreenPoint(hwnd, b.x, b.y));
    }

    void HandleWindowEvent(const SDL_WindowEvent& w) {
        HWND hwnd = WindowOfEvent(w.windowID);
        if (!hwnd)
            return;
        switch (w.event) {
        case SDL_WINDOWEVENT_LEAVE:
            InjectMouseOutside();
            break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            if (GetActiveWindow() != hwnd)
                SetActiveWindow(hwnd);
            if (GetFocus() != hwnd && !IsChild(hwnd, GetFocus()))
                SetFocus(hwnd);
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            if (GetActiveWindow() == hwnd)
                SetActiveWindow(nullptr);
            break;
        case SDL_WINDOWEVENT_MOVED: {
            RECT r{};
            GetWindowRect(hwnd, &r);
            if (r.left == w.data1 && r.top == w.data2)
                break;
            // While the window's own move loop drives it (it holds the mouse),
            // the server's word on where it is lags behind ours.
            if (GetCapture() == hwnd)
                break;
            m_movingByUser = true;
            SetWindowPos(hwnd, nullptr, w.data1, w.data2, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            m_movingByUser = false;
            break;
        }
        case SDL_WINDOWEVENT_EXPOSED:
            PresentWhole(hwnd);
            break;
        case SDL_WINDOWEVENT_CLOSE:
            PostMessage(hwnd, WM_CLOSE, 0, 0);
            break;
        case SDL_WINDOWEVENT_MINIMIZED:
            // The desktop minimised the window (its taskbar, a key): the
            // program hears it as its own minimise command.
            if (!IsIconic(hwnd))
                PostMessage(hwnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
            break;
        case SDL_WINDOWEVENT_RESTORED:
            if (IsIconic(hwnd))
                PostMessage(hwnd, WM_SYSCOMMAND, SC_RESTORE, 0);
            break;
        default:
            break;
        }
    }

    FdWakeThread m_wakeThread;
    SdlAudioOutput m_audio;
    std::map<HWND, Native> m_natives;
    std::map<Uint32, HWND> m_byId;
    std::set<HWND> m_toPresent;
    std::map<HCURSOR, SDL_Cursor*> m_cursors;
    std::map<HWND, HICON> m_icons; // WM_SETICON of top-level windows
    bool m_movingByUser = false;
};

} // namespace

std::unique_ptr<WindowSurfaces> StartSdlDisplay() {
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    // Captures are the windows' own to take (see FollowCapture).
    SDL_SetHint(SDL_HINT_MOUSE_AUTO_CAPTURE, "0");
    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
    // Plain window framebuffers: an accelerated one would re-create the native
    // window, losing its shape and place.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
        return nullptr;
    HandleXServerErrors();
    const Uint32 wakeEvent = SDL_RegisterEvents(1);
    if (wakeEvent == Uint32(-1)) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return nullptr;
    }
    SDL_DisplayMode mode;
    if (SDL_GetDesktopDisplayMode(0, &mode) == 0)
        SetScreenSize(mode.w, mode.h);
    return std::make_unique<SdlDisplay>(wakeEvent);
}

} // namespace platform
