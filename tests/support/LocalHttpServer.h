#pragma once

// A web server on loopback for the page control's tests, on a thread of its
// own: fixed answers by path, an answer that never comes (for time-outs) and
// one that never ends (for size caps, bounded at 64 MiB). Everything stops
// with the object.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace platform_test {

class LocalHttpServer {
public:
    struct Answer {
        int status = 200;
        std::string contentType = "text/html";
        std::string body;
        bool silent = false;  // reads the request, never answers
        bool endless = false; // answers with bytes until the reader stops
    };

    LocalHttpServer() {
        m_listener = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (bind(m_listener, reinterpret_cast<sockaddr*>(&address), length) == 0 &&
            listen(m_listener, 16) == 0 &&
            getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length) == 0)
            m_port = ntohs(address.sin_port);
        m_thread = std::thread([this] { Run(); });
    }
    ~LocalHttpServer() {
        m_stop = true;
        m_thread.join();
        for (int held : m_held)
            close(held);
        close(m_listener);
    }

    bool Ready() const { return m_port != 0; }
    void Serve(const std::string& path, Answer answer) {
        std::lock_guard<std::mutex> guard(m_lock);
        m_answers[path] = std::move(answer);
    }
    std::string Url(const std::string& path) const {
        return "http://127.0.0.1:" + std::to_string(m_port) + path;
    }
    std::vector<std::string> Requests() const {
        std::lock_guard<std::mutex> guard(m_lock);
        return m_requests;
    }

private:
    void Run() {
        while (!m_stop) {
            pollfd waiting{m_listener, POLLIN, 0};
            if (poll(&waiting, 1, 20) <= 0)
                continue;
            const int client = accept(m_listener, nullptr, nullptr);
            if (client >= 0)
                Handle(client);
        }
    }
    void Handle(int client) {
        std::string request;
        char buffer[4096];
        while (request.find("\r\n\r\n") == std::string::npos && request.size() < 65536) {
            pollfd readable{client, POLLIN, 0};
            if (poll(&readable, 1, 2000) <= 0)
                break;
            const ssize_t got = recv(client, buffer, sizeof buffer, 0);
            if (got <= 0)
                break;
            request.append(buffer, size_t(got));
        }
        const size_t start = request.find(' ') + 1;
        const std::string path = request.substr(start, request.find(' ', start) - start);
        Answer answer;
        answer.status = 404;
        answer.body = "<html><body>not here</body></html>";
        {
            std::lock_guard<std::mutex> guard(m_lock);
            m_requests.push_back(path);
            if (auto found = m_answers.find(path); found != m_answers.end())
                answer = found->second;
        }
        if (answer.silent) {
            m_held.push_back(client); // closed when the server stops
            return;
        }
        std::string head = "HTTP/1.1 " + std::to_string(answer.status) +
                           " X\r\nContent-Type: " + answer.contentType +
                           "\r\nConnection: close\r\n";
        if (!answer.endless)
            head += "Content-Length: " + std::to_string(answer.body.size()) + "\r\n";
        head += "\r\n";
        Send(client, head);
        if (answer.endless) {
            const std::string block(16384, 'x');
            for (size_t sent = 0; sent < (size_t(64) << 20) && !m_stop && Send(client, block);
                 sent += block.size()) {
            }
        } else {
            Send(client, answer.body);
        }
        close(client);
    }
    static bool Send(int client, const std::string& bytes) {
        size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t sent =
                send(client, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
            if (sent <= 0)
                return false;
            done += size_t(sent);
        }
        return true;
    }

    int m_listener = -1;
    int m_port = 0;
    std::atomic<bool> m_stop{false};
    mutable std::mutex m_lock;
    std::map<std::string, Answer> m_answers;
    std::vector<std::string> m_requests;
    std::vector<int> m_held;
    std::thread m_thread;
};

} // namespace platform_test
