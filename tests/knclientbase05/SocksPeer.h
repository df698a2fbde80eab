#pragma once

// A SOCKS 4/4a/5 server of the tests, for what the Debian servers cannot
// show: SOCKS 4a host names, SOCKS 5 replies whose bound address is a name
// or an IPv6 address, a method refusal, a refused request, a proxy that
// closes at once and one that never answers. It either forwards the granted
// connection to its target or serves frames itself (as a relay standing in
// for the game server).

#include "ThreadedPeers.h"

#include <mutex>
#include <string>
#include <vector>

namespace peer_test {

struct SocksOptions {
    enum Behaviour {
        kGrant,      // answers success
        kRefuse,     // answers with a failure code, then closes
        kMethodNone, // SOCKS 5: no acceptable method (FF), then closes
        kCloseAtOnce,
        kSilent // reads the first request and never answers
    };
    Behaviour behaviour = kGrant;
    // The SOCKS 5 reply's bound address form: 1 IPv4, 3 a name, 4 IPv6.
    uint8_t replyAddressType = 1;
    // When set, SOCKS 5 clients must authenticate with these (method 02).
    std::string user, password;
    // Forward to the requested target, or answer frames here.
    bool forward = true;
};

// One request as the peer read it.
struct SocksRequest {
    int version = 0;
    std::string methods;     // SOCKS 5 greeting's methods
    std::string userId;      // SOCKS 4
    std::string user;        // SOCKS 5 account given
    std::string password;    //
    uint8_t addressType = 0; // SOCKS 5: 1 or 3; SOCKS 4: 1, or 3 for a 4a name
    std::string host;        // dotted address or name
    unsigned port = 0;
};

class SocksPeer {
public:
    explicit SocksPeer(SocksOptions options = {}, FrameAnswer answer = EchoAnswer)
        : m_options(std::move(options)), m_answer(std::move(answer)),
          m_server([this](Conn& conn) { Serve(conn); }) {}

    unsigned Port() const { return m_server.port; }
    int Connections() const { return m_server.Connections(); }
    std::vector<SocksRequest> Requests() const {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_requests;
    }

    // Frames served here when not forwarding.
    FrameLog log;

private:
    void Record(const SocksRequest& request) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_requests.push_back(request);
    }

    void Serve(Conn& conn) {
        uint8_t version = 0;
        if (!conn.ReadByte(version))
            return;
        SocksRequest request;
        request.version = version;
        const bool granted = version == 4   ? Socks4(conn, request)
                             : version == 5 ? Socks5(conn, request)
                                            : false;
        if (!granted)
            return;
        if (!m_options.forward) {
            ServeFrames(conn, m_answer, log);
            return;
        }
        const int target = ConnectTo(request.host, request.port);
        if (target < 0)
            return;
        Splice(conn, target);
        ::close(target);
    }

    // The request after its version byte; true when granted.
    bool Socks4(Conn& conn, SocksRequest& request) {
        std::string fixed;
        if (!conn.ReadString(fixed, 7) || !conn.ReadUntilNul(request.userId, 255))
            return false;
        request.port = unsigned(uint8_t(fixed[1])) << 8 | uint8_t(fixed[2]);
        const uint8_t* ip = reinterpret_cast<const uint8_t*>(fixed.data() + 3);
        if (ip[0] == 0 && ip[1] == 0 && ip[2] == 0 && ip[3] != 0) {
            request.addressType = 3;
            if (!conn.ReadUntilNul(request.host, 255))
                return false;
        } else {
            request.addressType = 1;
            request.host = std::to_string(ip[0]) + "." + std::to_string(ip[1]) + "." +
                           std::to_string(ip[2]) + "." + std::to_string(ip[3]);
        }
        Record(request);
        switch (m_options.behaviour) {
        case SocksOptions::kSilent:
            conn.WaitReadable();
            return false;
        case SocksOptions::kCloseAtOnce:
            return false;
        case SocksOptions::kGrant:
            conn.Write(std::string("\x00\x5A", 2) + fixed.substr(1, 6));
            return true;
        default:
            conn.Write(std::string("\x00\x5B", 2) + fixed.substr(1, 6));
            return false;
        }
    }

    bool Socks5(Conn& conn, SocksRequest& request) {
        uint8_t count = 0;
        if (!conn.ReadByte(count) || !conn.ReadString(request.methods, count))
            return false;
        if (m_options.behaviour == SocksOptions::kSilent) {
            Record(request);
            conn.WaitReadable();
            return false;
        }
        if (m_options.behaviour == SocksOptions::kCloseAtOnce) {
            Record(request);
            return false;
        }
        const bool wantAccount = !m_options.user.empty();
        const char method = wantAccount ? '\x02' : '\x00';
        if (m_options.behaviour == SocksOptions::kMethodNone ||
            request.methods.find(method) == std::string::npos) {
            Record(request);
            conn.Write("\x05\xFF");
            return false;
        }
        conn.Write(std::string("\x05", 1) + method);
        if (wantAccount) {
            uint8_t subVersion = 0, length = 0;
            if (!conn.ReadByte(subVersion) || !conn.ReadByte(length) ||
                !conn.ReadString(request.user, length) || !conn.ReadByte(length) ||
                !conn.ReadString(request.password, length))
                return false;
            const bool good =
                request.user == m_options.user && request.password == m_options.password;
            conn.Write(good ? std::string("\x01\x00", 2) : std::string("\x01\x01", 2));
            if (!good) {
                Record(request);
                return false;
            }
        }
        std::string head;
        if (!conn.ReadString(head, 4))
            return false;
        request.addressType = uint8_t(head[3]);
        if (request.addressType == 1) {
            std::string ip;
            if (!conn.ReadString(ip, 4))
                return false;
            request.host = std::to_string(uint8_t(ip[0])) + "." + std::to_string(uint8_t(ip[1])) +
                           "." + std::to_string(uint8_t(ip[2])) + "." +
                           std::to_string(uint8_t(ip[3]));
        } else if (request.addressType == 3) {
            uint8_t length = 0;
            if (!conn.ReadByte(length) || !conn.ReadString(request.host, length))
                return false;
        } else {
            return false;
        }
        std::string port;
        if (!conn.ReadString(port, 2))
            return false;
        request.port = unsigned(uint8_t(port[0])) << 8 | uint8_t(port[1]);
        Record(request);
        if (m_options.behaviour == SocksOptions::kRefuse) {
            conn.Write(std::string("\x05\x05\x00\x01\x00\x00\x00\x00\x00\x00", 10));
            return false;
        }
        std::string reply("\x05\x00\x00", 3);
        reply += char(m_options.replyAddressType);
        if (m_options.replyAddressType == 3)
            reply += std::string("\x0D", 1) + "bound.example";
        else if (m_options.replyAddressType == 4)
            reply += std::string(15, '\0') + "\x01";
        else
            reply += std::string("\x7F\x00\x00\x01", 4);
        reply += port;
        conn.Write(reply);
        return true;
    }

    SocksOptions m_options;
    FrameAnswer m_answer;
    mutable std::mutex m_mutex;
    std::vector<SocksRequest> m_requests;
    PeerServer m_server;
};

} // namespace peer_test
