// Fetching pages and pictures with libcurl.

#include "outside/PageFetcher.h"

#include "outside/LeftThreads.h"
#include "platform/window/Messages.h"

#include <curl/curl.h>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>

namespace {

struct Transfer {
    FetchResult* result;
    size_t maxBytes;
    const std::atomic<unsigned>* cancelledUpTo;
    unsigned ticket;
    bool tooLarge = false;
};

size_t TakeBytes(char* data, size_t size, size_t count, void* user) {
    auto* transfer = static_cast<Transfer*>(user);
    const size_t bytes = size * count;
    if (transfer->result->body.size() + bytes > transfer->maxBytes) {
        transfer->tooLarge = true;
        return 0; // ends the transfer
    }
    transfer->result->body.append(data, bytes);
    return bytes;
}

int Progress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    const auto* transfer = static_cast<const Transfer*>(user);
    return *transfer->cancelledUpTo >= transfer->ticket ? 1 : 0; // 1 ends the transfer
}

struct EasyDeleter {
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct UrlDeleter {
    void operator()(CURLU* url) const { curl_url_cleanup(url); }
};

} // namespace

struct PageFetcher::State {
    struct Request {
        unsigned ticket;
        std::string url;
        size_t maxBytes;
        long timeoutMs;
    };

    HWND notify;
    UINT message;
    std::mutex lock;
    std::condition_variable wake;
    std::deque<Request> queue;
    std::map<unsigned, FetchResult> done;
    unsigned lastTicket = 0;
    std::atomic<unsigned> cancelledUpTo{0}; // read by the worker mid-transfer
    bool stopping = false;
    bool working = false;
    std::atomic<bool> ended{false};

    void Work();
    FetchResult Run(const Request& request);
};

PageFetcher::PageFetcher(HWND notify, UINT message) : m_state(std::make_shared<State>()) {
    static const CURLcode ready = curl_global_init(CURL_GLOBAL_DEFAULT);
    (void)ready;
    m_state->notify = notify;
    m_state->message = message;
    m_worker = StartWorker(m_state);
}

PageFetcher::~PageFetcher() {
    CancelAll(); // a transfer under way ends at its next progress report
    StopWorker(m_worker, m_state);
}

unsigned PageFetcher::Fetch(const std::string& url, size_t maxBytes, long timeoutMs) {
    std::lock_guard<std::mutex> guard(m_state->lock);
    const unsigned ticket = ++m_state->lastTicket;
    m_state->queue.push_back({ticket, url, maxBytes, timeoutMs});
    m_state->wake.notify_all();
    return ticket;
}

bool PageFetcher::Take(unsigned ticket, FetchResult& result) {
    std::lock_guard<std::mutex> guard(m_state->lock);
    auto found = m_state->done.find(ticket);
    if (found == m_state->done.end())
        return false;
    result = std::move(found->second);
    m_state->done.erase(found);
    return true;
}

void PageFetcher::CancelAll() {
    std::lock_guard<std::mutex> guard(m_state->lock);
    m_state->cancelledUpTo = m_state->lastTicket;
    m_state->queue.clear();
    m_state->done.clear();
}

void PageFetcher::State::Work() {
    std::unique_lock<std::mutex> guard(lock);
    for (;;) {
        wake.wait(guard, [this] { return stopping || !queue.empty(); });
        if (stopping)
            return;
        const Request request = std::move(queue.front());
        queue.pop_front();
        working = true;
        guard.unlock();
        FetchResult result = Run(request);
        guard.lock();
        working = false;
        if (stopping)
            return;
        if (request.ticket <= cancelledUpTo)
            continue;
        done[request.ticket] = std::move(result);
        PostMessage(notify, message, WPARAM(request.ticket), 0);
    }
}

FetchResult PageFetcher::State::Run(const Request& request) {
    FetchResult result;
    result.url = request.url;
    std::unique_ptr<CURL, EasyDeleter> easy(curl_easy_init());
    if (!easy) {
        result.error = "网络库无法启动";
        return result;
    }
    Transfer transfer{&result, request.maxBytes, &cancelledUpTo, request.ticket};
    char errorText[CURL_ERROR_SIZE] = "";
    CURL* e = easy.get();
    curl_easy_setopt(e, CURLOPT_URL, request.url.c_str());
    curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(e, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(e, CURLOPT_MAXREDIRS, 5L);
    curl_easy_setopt(e, CURLOPT_TIMEOUT_MS, request.timeoutMs);
    curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT_MS, request.timeoutMs);
    curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);        // time-outs without signals: this is a thread
    curl_easy_setopt(e, CURLOPT_ACCEPT_ENCODING, ""); // the cap counts the bytes unpacked
    curl_easy_setopt(e, CURLOPT_MAXFILESIZE_LARGE, curl_off_t(request.maxBytes));
    curl_easy_setopt(e, CURLOPT_NOPROXY, "localhost,127.0.0.1,::1");
    curl_easy_setopt(e, CURLOPT_USERAGENT, "Mozilla/4.0 (compatible; MSIE 6.0; Pellor)");
    curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, TakeBytes);
    curl_easy_setopt(e, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(e, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(e, CURLOPT_XFERINFOFUNCTION, Progress);
    curl_easy_setopt(e, CURLOPT_XFERINFODATA, &transfer);
    curl_easy_setopt(e, CURLOPT_ERRORBUFFER, errorText);
    const CURLcode code = curl_easy_perform(e);
    curl_easy_getinfo(e, CURLINFO_RESPONSE_CODE, &result.status);
    char* type = nullptr;
    if (curl_easy_getinfo(e, CURLINFO_CONTENT_TYPE, &type) == CURLE_OK && type)
        result.contentType = type;
    char* final = nullptr;
    if (curl_easy_getinfo(e, CURLINFO_EFFECTIVE_URL, &final) == CURLE_OK && final)
        result.finalUrl = final;
    if (transfer.tooLarge || code == CURLE_FILESIZE_EXCEEDED)
        result.error = "网页超过 " + std::to_string(request.maxBytes / 1024) + " KB";
    else if (code == CURLE_OPERATION_TIMEDOUT)
        result.error = std::to_string(request.timeoutMs) + " 毫秒内没有回应";
    else if (code != CURLE_OK)
        result.error = std::string("无法连接（") +
                       (errorText[0] ? errorText : curl_easy_strerror(code)) + "）";
    return result;
}

std::string PageFetcher::Resolve(const std::string& base, const std::string& reference) {
    std::unique_ptr<CURLU, UrlDeleter> url(curl_url());
    if (!url || curl_url_set(url.get(), CURLUPART_URL, base.c_str(), 0) != CURLUE_OK ||
        curl_url_set(url.get(), CURLUPART_URL, reference.c_str(), 0) != CURLUE_OK)
        return std::string();
    char* text = nullptr;
    if (curl_url_get(url.get(), CURLUPART_URL, &text, 0) != CURLUE_OK || !text)
        return std::string();
    std::string resolved = text;
    curl_free(text);
    return resolved;
}
