// The page control's layout thread.

#include "outside/PageLayout.h"

#include "outside/LeftThreads.h"
#include "outside/PageCanvas.h"
#include "outside/PageDefaults.h"
#include "outside/PagePictures.h"
#include "outside/PageText.h"
#include "platform/window/Messages.h"

#include <litehtml/litehtml.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <iterator>
#include <mutex>
#include <strings.h>
#include <utility>

namespace {

void Trace(const std::string& text) {
    fprintf(stderr, "page control: %s\n", text.c_str());
}

std::string SizeText(size_t bytes) {
    return bytes >= (size_t(1) << 20) ? std::to_string(bytes >> 20) + " MB"
                                      : std::to_string(bytes >> 10) + " KB";
}

} // namespace

PageFrame::~PageFrame() {
    if (bitmap)
        DeleteObject(bitmap);
}

struct PageLayout::State {
    struct Picture {
        std::string url;
        std::string bytes;
    };
    struct Event {
        Input input;
        int x, y;
    };
    // What the window described and the thread has not yet worked in.
    struct Asked {
        unsigned page = 0;
        std::string url;
        PageCosts costs;
        bool unread = false; // body holds the page as fetched
        std::string body, contentType;
        std::string reason; // the window's own reason for the error page
        std::vector<Picture> pictures;
        std::vector<Event> events;
        int scroll = 0;
        int width = 0;
        int height = 0;
    };

    HWND notify;
    UINT message;
    mutable std::mutex lock;
    std::condition_variable wake;
    Asked asked;
    bool dirty = false; // asked holds something new
    bool working = false;
    std::unique_ptr<PageFrame> ready;
    bool stopping = false;
    std::atomic<bool> ended{false};

    // The thread's alone.
    litehtml::context context;
    unsigned page = 0; // of view
    std::unique_ptr<PageView> view;
    std::string title;
    int scroll = 0;
    int width = 0;
    int height = 0;

    void Work();
    bool Refresh(Asked& taken);
    bool Draw(PageFrame& frame);
    // reason by value: it may be the view's that this replaces.
    void ShowErrorPage(const Asked& taken, std::string reason);
};

PageLayout::PageLayout(HWND notify, UINT message) : m_state(std::make_shared<State>()) {
    m_state->notify = notify;
    m_state->message = message;
    m_state->context.load_master_stylesheet(kPageDefaultStyle);
    m_thread = StartWorker(m_state);
}

PageLayout::~PageLayout() {
    StopWorker(m_thread, m_state);
}

void PageLayout::Begin(unsigned page, const std::string& url, const PageCosts& costs) {
    State& s = *m_state;
    std::lock_guard<std::mutex> guard(s.lock);
    const int width = s.asked.width, height = s.asked.height;
    s.asked = State::Asked{};
    s.asked.page = page;
    s.asked.url = url;
    s.asked.costs = costs;
    s.asked.width = width;
    s.asked.height = height;
    s.ready.reset();
    s.dirty = true; // the thread lets the page before go
    s.wake.notify_all();
}

void PageLayout::Show(unsigned page, std::string body, std::string contentType, std::string url) {
    State& s = *m_state;
    std::lock_guard<std::mutex> guard(s.lock);
    if (page != s.asked.page)
        return;
    s.asked.body = std::move(body);
    s.asked.contentType = std::move(contentType);
    s.asked.url = std::move(url);
    s.asked.unread = s.dirty = true;
    s.wake.notify_all();
}

void PageLayout::ShowError(unsigned page, const std::string& reason) {
    State& s = *m_state;
    std::lock_guard<std::mutex> guard(s.lock);
    if (page != s.asked.page)
        return;
    s.asked.reason = reason;
    s.dirty = true;
    s.wake.notify_all();
}

void PageLayout::AddPicture(unsigned page, std::string url, std::string bytes) {
    State& s = *m_state;
    std::lock_guard<std::mutex> guard(s.lock);
    if (page != s.asked.page)
        return;
    s.asked.pictures.push_back({std::move(url), std::move(bytes)});
    s.dirty = true;
    s.wake.notify_all();
}

void PageLayout::SetSize(int width, int height) {
    State& s = *m_state;
    std::lock_guard<std::mutex> guard(s.lock);
    s.asked.width = width;
    s.asked.height = height;
    s.dirty = true;
    s.wake.notify_all();
}

void PageLayout::Mouse(Input input, int x, int y) {
    State& s = *m_state;
    std::lock_guard<std::mutex> guard(s.lock);
    std::vector<State::Event>& events = s.asked.events;
    // Only where the mouse went last counts between two presses.
    if (input == Input::Move && !events.empty() && events.back().input == Input::Move)
        events.back() = State::Event{input, x, y};
    else
        events.push_back(State::Event{input, x, y});
    s.dirty = true;
    s.wake.notify_all();
}

void PageLayout::Scroll(int pixels) {
    State& s = *m_state;
    std::lock_guard<std::mutex> guard(s.lock);
    s.asked.scroll += pixels;
    s.dirty = true;
    s.wake.notify_all();
}

std::unique_ptr<PageFrame> PageLayout::Take() {
    std::lock_guard<std::mutex> guard(m_state->lock);
    return std::move(m_state->ready);
}

bool PageLayout::Busy() const {
    std::lock_guard<std::mutex> guard(m_state->lock);
    return m_state->dirty || m_state->working || m_state->ready != nullptr;
}

void PageLayout::State::Work() {
    std::unique_lock<std::mutex> guard(lock);
    for (;;) {
        wake.wait(guard, [this] { return stopping || dirty; });
        if (stopping)
            return;
        // What the window described is taken whole; the work runs unlocked.
        Asked taken = std::move(asked);
        asked = Asked{};
        asked.page = taken.page;
        asked.url = taken.url;
        asked.costs = taken.costs;
        asked.width = taken.width;
        asked.height = taken.height;
        asked.reason = taken.reason;
        dirty = false;
        working = true;
        guard.unlock();

        auto frame = std::make_unique<PageFrame>();
        const bool changed = Refresh(taken) && Draw(*frame);

        guard.lock();
        working = false;
        if (stopping)
            return;
        if (taken.page != asked.page)
            continue; // the window has left the page
        // Pictures not yet worked in wait for the next pass, so the window
        // sees each one come and its input is answered between them.
        if (!taken.pictures.empty()) {
            asked.pictures.insert(asked.pictures.begin(),
                                  std::make_move_iterator(taken.pictures.begin()),
                                  std::make_move_iterator(taken.pictures.end()));
            dirty = true;
        }
        if (!changed)
            continue;
        ready = std::move(frame);
        PostMessage(notify, message, 0, 0);
    }
}

void PageLayout::State::ShowErrorPage(const Asked& taken, std::string reason) {
    view = LayOutPage(context, ErrorPageMarkup(taken.url, reason), taken.url, width, height,
                      taken.costs, std::make_shared<PagePictures>(0), false);
    view->reason = std::move(reason);
    title = view->canvas->Title();
}

// Works in what was asked; false when nothing the window sees has changed.
bool PageLayout::State::Refresh(Asked& taken) {
    bool changed = false;
    if (taken.page != page) {
        page = taken.page;
        view.reset();
        title.clear();
        scroll = 0;
    }
    const bool resized = taken.width != width || taken.height != height;
    width = taken.width;
    height = taken.height;
    if (taken.unread) {
        std::string text = PageTextToUtf8(taken.body, taken.contentType);
        taken.body.clear();
        if (strncasecmp(taken.contentType.c_str(), "text/plain", 10) == 0)
            text = "<pre>" + EscapeMarkup(text) + "</pre>";
        view = LayOutPage(context, text, taken.url, width, height, taken.costs,
                          std::make_shared<PagePictures>(taken.costs.keptPictureBytes), true);
        if (view->reason.empty())
            title = view->canvas->Title();
        else
            ShowErrorPage(taken, view->reason);
        changed = true;
    }
    if (!taken.reason.empty() && (!view || view->reason != taken.reason)) {
        ShowErrorPage(taken, taken.reason);
        changed = true;
    }
    if (!view || !view->document) {
        taken.pictures.clear();
        return changed;
    }
    if (resized && !changed) {
        view->canvas->SetViewport(width, height);
        view->document->render(std::max(1, width));
        changed = true;
    }
    // One picture a pass, laid out and shrunk to its place before the next
    // is decoded: one whole decoding at a time.
    if (!taken.pictures.empty()) {
        const State::Picture picture = std::move(taken.pictures.front());
        taken.pictures.erase(taken.pictures.begin());
        std::string why;
        if (!view->reason.empty()) {
            taken.pictures.clear();
        } else if (!view->pictures->Decode(picture.url, picture.bytes, &why)) {
            Trace("picture " + picture.url + " not shown: " + why);
        } else {
            view->document->render(std::max(1, width));
            if (!view->pictures->Keep(DrawnPictureSizes(*view))) {
                ShowErrorPage(taken, "网页的图片超过 " + SizeText(taken.costs.keptPictureBytes));
                taken.pictures.clear();
            }
            changed = true;
        }
    }
    // The input, in order; then the wheel.
    litehtml::position::vector redraw;
    const bool overLink = view->canvas->OverLink();
    for (const Event& event : taken.events) {
        const int x = event.x, y = event.y + scroll;
        if (event.input == Input::Move)
            changed |= view->document->on_mouse_over(x, y, event.x, event.y, redraw);
        else if (event.input == Input::Press)
            changed |= view->document->on_lbutton_down(x, y, event.x, event.y, redraw);
        else if (event.input == Input::Release)
            changed |= view->document->on_lbutton_up(x, y, event.x, event.y, redraw);
        else
            changed |= view->document->on_mouse_leave(redraw);
    }
    changed |= view->canvas->OverLink() != overLink || view->canvas->HasNews();
    const int moved =
        std::clamp(scroll + taken.scroll, 0, std::max(0, view->document->height() - height));
    changed |= moved != scroll;
    scroll = moved;
    return changed;
}

// The page as it now stands, drawn at the control's size.
bool PageLayout::State::Draw(PageFrame& frame) {
    frame.title = title;
    if (!view)
        return true;
    frame.reason = view->reason;
    if (!view->canvas)
        return true;
    frame.overLink = view->canvas->OverLink();
    frame.clickedLink = view->canvas->TakeClickedLink();
    frame.wanted = view->canvas->TakeWantedPictures();
    const int w = std::max(1, width), h = std::max(1, height);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    frame.bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!frame.bitmap)
        return false;
    frame.width = w;
    frame.height = h;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, frame.bitmap);
    const RECT client{0, 0, w, h};
    HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
    FillRect(dc, &client, white);
    DeleteObject(white);
    if (view->document) {
        view->canvas->BeginDraw(dc, client);
        litehtml::position clip(0, 0, w, h);
        view->document->draw(litehtml::uint_ptr(dc), 0, -scroll, &clip);
        view->canvas->EndDraw();
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    return true;
}
