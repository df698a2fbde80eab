#pragma once

// Test helpers: a window that records what reaches it, and pumps that run what
// is waiting without blocking.

#include "platform/system/Clock.h"
#include "platform/window/Wnd.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace platform_test {

struct Delivered {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// Records every message; a test can hook any message id.
class RecordingWnd : public CWnd {
public:
    std::vector<Delivered>* log = nullptr;
    std::map<UINT, std::function<LRESULT(WPARAM, LPARAM)>> hooks;
    bool deleteOnNcDestroy = false;
    bool* deleted = nullptr;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (log)
            log->push_back({m_hWnd, message, wParam, lParam});
        auto hook = hooks.find(message);
        if (hook != hooks.end())
            return hook->second(wParam, lParam);
        return CWnd::WindowProc(message, wParam, lParam);
    }
    void PostNcDestroy() override {
        if (deleteOnNcDestroy)
            delete this;
    }
    ~RecordingWnd() override {
        if (deleted)
            *deleted = true;
    }

    BOOL CreateTop(std::vector<Delivered>* messages, int width = 200, int height = 100) {
        log = messages;
        return CreateEx(0, nullptr, "top", WS_POPUP, 0, 0, width, height, nullptr, nullptr);
    }
    BOOL CreateChild(CWnd* parent, UINT id, RECT rect, std::vector<Delivered>* messages) {
        log = messages;
        return Create(nullptr, "child", WS_VISIBLE, rect, parent, id);
    }
};

// Dispatches everything retrievable now; returns how many messages ran. Stops
// at WM_QUIT (left taken: the caller looks at *quit when it cares).
inline int PumpPending(bool* quit = nullptr) {
    MSG msg;
    int count = 0;
    while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            if (quit)
                *quit = true;
            break;
        }
        DispatchMessage(&msg);
        ++count;
    }
    return count;
}

inline std::vector<UINT> MessagesOf(const std::vector<Delivered>& log, HWND hwnd = nullptr) {
    std::vector<UINT> ids;
    for (const Delivered& d : log)
        if (!hwnd || d.hwnd == hwnd)
            ids.push_back(d.message);
    return ids;
}

// Only the given messages, in order.
inline std::vector<UINT> Only(const std::vector<Delivered>& log, std::vector<UINT> wanted) {
    std::vector<UINT> ids;
    for (const Delivered& d : log)
        for (UINT w : wanted)
            if (d.message == w)
                ids.push_back(d.message);
    return ids;
}

// Timer ids delivered, in order.
inline std::vector<UINT_PTR> TimersOf(const std::vector<Delivered>& log) {
    std::vector<UINT_PTR> ids;
    for (const Delivered& d : log)
        if (d.message == WM_TIMER)
            ids.push_back(d.wParam);
    return ids;
}

} // namespace platform_test
