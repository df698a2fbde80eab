#pragma once

// Fetching what a page control shows: http and https only, through libcurl
// on a worker thread of its own, so the window keeps answering. Each fetch
// has a size cap (more bytes end it with an error) and a time-out; a
// finished fetch is announced by posting a message to the window, whose
// wParam is the fetch's ticket, and its result is then taken by that
// ticket. Cancelling drops every fetch asked for so far.

#include "platform/Types.h"

#include <cstddef>
#include <memory>
#include <string>
#include <thread>

struct FetchResult {
    std::string url;      // as asked for
    std::string finalUrl; // after redirections
    long status = 0;      // the HTTP status, 0 when no answer came
    std::string contentType;
    std::string body;
    std::string error; // empty when the server answered, else why (UTF-8, for the error page)
};

class PageFetcher {
public:
    PageFetcher(HWND notify, UINT message);
    // Never waits for a fetch under way: it is cancelled and its thread let
    // go (outside/LeftThreads.h).
    ~PageFetcher();
    PageFetcher(const PageFetcher&) = delete;
    PageFetcher& operator=(const PageFetcher&) = delete;

    // The ticket (never 0) of the fetch.
    unsigned Fetch(const std::string& url, size_t maxBytes, long timeoutMs);
    // False when the ticket's fetch has not finished or was cancelled.
    bool Take(unsigned ticket, FetchResult& result);
    void CancelAll();

    // An absolute address for a reference on the page at base; empty when
    // the two make none.
    static std::string Resolve(const std::string& base, const std::string& reference);

    struct State; // shared with the thread, which may outlive this object

private:
    std::shared_ptr<State> m_state;
    std::thread m_worker;
};
