#pragma once

// The page control's pages live on a thread of their own, so that no page,
// however large, holds the window up: the thread reads each page, lays it
// out, decodes its pictures, answers the mouse and the wheel over it (hover
// styles and all) and draws it. The window hands over what it fetched (the
// page, then each picture), its size and its input, and takes back, by a
// message posted to it, frames: the page as drawn at the control's size,
// with its title, where it scrolled to and what the mouse found on it (a
// link under the pointer, a link clicked, pictures to fetch). A page that
// may not be shown (too large or too costly to lay out, or with more
// pictures kept than their budget) gives the error page, which says why.
// Work for a page the window has left is dropped.

#include "outside/PageView.h"
#include "platform/Types.h"

#include <memory>
#include <string>
#include <thread>
#include <vector>

// The control's client area as the page was last drawn in it.
struct PageFrame {
    HBITMAP bitmap = nullptr; // width x height, the layout's no more
    int width = 0;
    int height = 0;
    std::string title;  // UTF-8
    std::string reason; // not empty: the error page, and why
    bool overLink = false;
    std::string clickedLink;
    std::vector<std::string> wanted; // pictures to fetch

    PageFrame() = default;
    PageFrame(const PageFrame&) = delete;
    PageFrame& operator=(const PageFrame&) = delete;
    ~PageFrame();
};

class PageLayout {
public:
    enum class Input { Move, Press, Release, Leave };

    PageLayout(HWND notify, UINT message);
    // Never waits for the thread: one still at work is let go
    // (outside/LeftThreads.h).
    ~PageLayout();
    PageLayout(const PageLayout&) = delete;
    PageLayout& operator=(const PageLayout&) = delete;

    // A new page starts (nothing shown until it comes); work for the one
    // before is dropped.
    void Begin(unsigned page, const std::string& url, const PageCosts& costs);
    // The page's bytes as fetched, or why there are none.
    void Show(unsigned page, std::string body, std::string contentType, std::string url);
    void ShowError(unsigned page, const std::string& reason);
    void AddPicture(unsigned page, std::string url, std::string bytes);
    void SetSize(int width, int height);
    // The mouse in the control's client coordinates; the wheel in pixels
    // (down is positive).
    void Mouse(Input input, int x, int y);
    void Scroll(int pixels);

    // The newest frame of the current page, once its message has come.
    std::unique_ptr<PageFrame> Take();
    // Work for the current page is waiting, under way or not yet taken.
    bool Busy() const;

    struct State; // shared with the thread, which may outlive this object

private:
    std::shared_ptr<State> m_state;
    std::thread m_thread;
};
