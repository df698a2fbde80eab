#pragma once

// Fetching what a page control shows: http and https only, through libcurl
// on a worker thread of its own, so the window keeps answering. Each fetch
// has a size cap (more bytes end it with an error) and a time-out; a
// finished fetch is announced by posting a message to the window, whose
// wParam is the fetch's ticket, and its result is then taken by that
// ticket. Cancelling drops every fetch asked for so far.

#include "platform/Types.h"

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <map>
#include <mutex>
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

private:
    struct Request {
        unsigned ticket;
        std::string url;
        size_t maxBytes;
        long timeoutMs;
    };
    void Work();
    FetchResult Run(const Request& request);

    HWND m_notify;
    UINT m_message;
    std::mutex m_lock;
    std::condition_variable m_wake;
    std::deque<Request> m_queue;
    std::map<unsigned, FetchResult> m_done;
    unsigned m_lastTicket = 0;
    std::atomic<unsigned> m_cancelledUpTo{0}; // read by the worker mid-transfer
    bool m_stopping = false;
    std::thread m_worker;
};
