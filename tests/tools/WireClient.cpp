#include "WireClient.h"

#include "tests/support/SocketTestKit.h"

#include <cerrno>
#include <cstring>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>
#include <zlib.h>

namespace tools_test {

std::string Word(DWORD value) {
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[i] = char(value >> (8 * i));
    return bytes;
}

std::string Half(uint16_t value) {
    return std::string{char(value & 0xFF), char(value >> 8)};
}

DWORD WordAt(const std::string& bytes, size_t offset) {
    if (offset + 4 > bytes.size())
        return 0xDEADBEEF;
    DWORD value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | uint8_t(bytes[offset + i]);
    return value;
}

uint16_t HalfAt(const std::string& bytes, size_t offset) {
    if (offset + 2 > bytes.size())
        return 0xDEAD;
    return uint16_t(uint8_t(bytes[offset]) | uint8_t(bytes[offset + 1]) << 8);
}

std::string TextAt(const std::string& bytes, size_t offset, size_t width) {
    if (offset >= bytes.size())
        return "<missing>";
    const std::string field = bytes.substr(offset, width);
    return field.substr(0, field.find('\0'));
}

std::string FrameBytes(DWORD type, const std::string& payload, DWORD result) {
    std::string bytes = Word(type) + Word(DWORD(payload.size()));
    if (type & 0x80000000)
        bytes += Word(result);
    return bytes + payload;
}

std::string LoginPayload(const std::string& name, uint16_t seat, const std::string& room,
                         const std::string& text, uint8_t kind, uint16_t value) {
    auto field = [](const std::string& s, size_t width) {
        std::string f = s.substr(0, width);
        f.resize(width, '\0');
        return f;
    };
    return field(name, 20) + field(room, 40) + field(text, 40) + Half(value) + Half(seat) +
           std::string(1, char(kind)) + std::string(3, '\0');
}

int WireFrame::RecordId() const {
    return type == 0x243 && payload.size() >= 8 ? int(WordAt(payload, 0)) : 0;
}

WireClient::WireClient(int receiveBuffer) {
    fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    // Small frames go out at once, as the host's do.
    const int on = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    if (receiveBuffer > 0)
        ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
}

WireClient::~WireClient() {
    Close();
}

bool WireClient::Connect(UINT port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(uint16_t(port));
    // The listener's backlog completes the connect before the host accepts.
    return ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
}

void WireClient::Write(const std::string& bytes) {
    ASSERT_EQ(::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL), ssize_t(bytes.size()));
}

void WireClient::SendRecord(const std::vector<uint8_t>& record) {
    Send(0x243, std::string(record.begin(), record.end()));
}

bool WireClient::Login(UINT port, const std::string& name, uint16_t seat, WireFrame* reply) {
    if (!Connect(port))
        return false;
    Send(0x200, LoginPayload(name, seat));
    WireFrame frame;
    if (!Next(frame) || frame.type != 0x80000200)
        return false;
    if (reply)
        *reply = frame;
    return (frame.result & 0xFF) == 1;
}

bool WireClient::Fill() {
    bool got = false;
    char buffer[65536];
    while (fd >= 0 && !m_bEnded) {
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, MSG_DONTWAIT);
        if (n > 0) {
            m_In.append(buffer, size_t(n));
            got = true;
            continue;
        }
        if (n == 0) {
            m_bEnded = true;
        } else if (errno != EAGAIN && errno != EWOULDBLOCK) {
            m_bEnded = true;
            m_bReset = errno == ECONNRESET;
        }
        break;
    }
    return got;
}

bool WireClient::HasFrame() const {
    if (m_In.size() < 8)
        return false;
    const DWORD type = WordAt(m_In, 0);
    const size_t header = (type & 0x80000000) ? 12 : 8;
    return m_In.size() >= header + WordAt(m_In, 4);
}

bool WireClient::TakeFrame(WireFrame& frame) {
    if (!HasFrame())
        return false;
    frame = WireFrame{};
    frame.type = WordAt(m_In, 0);
    frame.length = WordAt(m_In, 4);
    const size_t header = (frame.type & 0x80000000) ? 12 : 8;
    if (header == 12)
        frame.result = WordAt(m_In, 8);
    frame.payload = m_In.substr(header, frame.length);
    m_In.erase(0, header + frame.length);
    if ((frame.type & 0x40000000) && frame.type != 0xFFFFFFFF) {
        frame.type &= ~DWORD(0x40000000);
        frame.compressed = true;
        const DWORD stated = WordAt(frame.payload, 0);
        std::string plain(stated, '\0');
        uLongf produced = stated;
        const int status =
            frame.payload.size() < 4
                ? Z_DATA_ERROR
                : uncompress(reinterpret_cast<Bytef*>(plain.data()), &produced,
                             reinterpret_cast<const Bytef*>(frame.payload.data() + 4),
                             uLong(frame.payload.size() - 4));
        EXPECT_EQ(status, Z_OK);
        EXPECT_EQ(produced, stated);
        frame.payload = plain;
    }
    return true;
}

bool WireClient::Poll(WireFrame& frame) {
    Fill();
    return TakeFrame(frame);
}

bool WireClient::Next(WireFrame& frame) {
    platform_test::PumpUntil([&] {
        Fill();
        return HasFrame() || m_bEnded;
    });
    return TakeFrame(frame);
}

bool WireClient::NextOfType(DWORD type, WireFrame& frame, std::vector<WireFrame>* skipped) {
    while (Next(frame)) {
        if (frame.type == type)
            return true;
        if (skipped)
            skipped->push_back(frame);
    }
    return false;
}

bool WireClient::WaitForEnd() {
    return platform_test::PumpUntil([&] {
        Fill();
        m_In.clear();
        return m_bEnded;
    });
}

void WireClient::Close() {
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

} // namespace tools_test
