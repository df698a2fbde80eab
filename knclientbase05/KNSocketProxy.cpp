// The framing socket's way through the user's SOCKS proxy: the settings,
// the SOCKS 4/4a and SOCKS 5 handshakes (RFC 1928 with RFC 1929 user name
// and password), the exact reads they wait on, and the port-80 service's
// header frame.

#include "knclientbase05/KNSocket.h"

#include "platform/system/Clock.h"
#include "platform/system/ProcessInfo.h"
#include "platform/system/Registry.h"

#include <cstring>
#include <vector>

namespace {

constexpr char kProxyKey[] = "Software\\Quillane\\Game\\Share\\Proxy";
constexpr DWORD kRelayHeaderFrame = 0x663;
constexpr BYTE kSocks4 = 0x04, kSocks5 = 0x05, kCommandConnect = 0x01;
constexpr BYTE kSocks4Granted = 0x5A;
constexpr BYTE kMethodNone = 0x00, kMethodPassword = 0x02;
constexpr BYTE kAddressIPv4 = 0x01, kAddressName = 0x03, kAddressIPv6 = 0x04;
constexpr size_t kLongestAccountText = 63;
constexpr size_t kLongestHostName = 255;

bool ReadDword(HKEY key, LPCSTR name, DWORD* value) {
    DWORD type = 0, size = sizeof(DWORD);
    return RegQueryValueEx(key, name, nullptr, &type, reinterpret_cast<BYTE*>(value), &size) ==
               ERROR_SUCCESS &&
           type == REG_DWORD && size == sizeof(DWORD);
}

// A text of at most size bytes with its NUL; out is untouched when it cannot
// be read.
bool ReadText(HKEY key, LPCSTR name, char* out, DWORD size) {
    std::vector<char> text(size + 1, '\0');
    DWORD got = size;
    if (RegQueryValueEx(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(text.data()), &got) !=
        ERROR_SUCCESS)
        return false;
    text[size - 1] = '\0';
    memcpy(out, text.data(), size);
    return true;
}

// Four decimal numbers of 0..255 joined by dots, nothing else.
bool ParseDottedAddress(LPCSTR host, BYTE address[4]) {
    const char* p = host;
    for (int part = 0; part < 4; ++part) {
        if (part > 0 && *p++ != '.')
            return false;
        int value = 0, digits = 0;
        while (*p >= '0' && *p <= '9' && digits < 4) {
            value = value * 10 + (*p++ - '0');
            ++digits;
        }
        if (digits == 0 || digits > 3 || value > 255)
            return false;
        address[part] = BYTE(value);
    }
    return *p == '\0';
}

void AppendPort(std::vector<BYTE>& bytes, UINT port) {
    bytes.push_back(BYTE(port >> 8));
    bytes.push_back(BYTE(port));
}

} // namespace

void CKNSocket::ReadProxySettings() {
    m_bProxy = 0;
    HKEY key = nullptr;
    if (RegOpenKeyEx(HKEY_CURRENT_USER, kProxyKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return;
    DWORD enabled = 0, port = 0, version = 0;
    char server[sizeof m_szSocksServer] = {};
    if (ReadDword(key, "ProxyEnable", &enabled) &&
        ReadText(key, "SocksServer", server, sizeof server) && ReadDword(key, "SocksPort", &port) &&
        ReadDword(key, "SocksVersion", &version)) {
        memcpy(m_szSocksServer, server, sizeof server);
        m_nSocksPort = port;
        m_nSocksVersion = int(version);
        m_bProxy = enabled != 0 && server[0] != '\0' && port != 0 && port <= 0xFFFF &&
                   (version == 4 || version == 5);
        ReadText(key, "UserName", m_szProxyUser, sizeof m_szProxyUser);
        ReadText(key, "Password", m_szProxyPassword, sizeof m_szProxyPassword);
    }
    RegCloseKey(key);
}

void CKNSocket::SetRelayPort(int relayPort, DWORD relayValue) {
    m_nRelayPort = relayPort;
    m_dwRelayValue = relayValue;
}

int CKNSocket::SendRelayHeader(UINT port, DWORD relayValue) {
    DWORD words[4] = {kRelayHeaderFrame, 8, 0, 0};
    WriteWireWord(reinterpret_cast<BYTE*>(&words[2]), port);
    WriteWireWord(reinterpret_cast<BYTE*>(&words[3]), relayValue);
    return SendMessage(reinterpret_cast<tagMSGHEADER*>(words), nullptr, 0);
}

int CKNSocket::ReceiveExact(void* buffer, int length, int flags) {
    if (m_hSocket == INVALID_SOCKET || buffer == nullptr || length < 0)
        return 0;
    // No notification of this socket while the bytes are read here: a read
    // notice would only mark data pending, and an end-of-stream notice would
    // report through OnClose what this read reports itself.
    const int savedEnabled = m_bReceiveEnabled;
    m_bReceiveEnabled = 0;
    AsyncSelect(0);
    ++m_nWaitDepth;
    BYTE* bytes = static_cast<BYTE*>(buffer);
    int got = 0;
    int ok = 1;
    DWORD start = GetTickCount();
    while (got < length) {
        if (!WaitStep(&start, 1) || m_hSocket == INVALID_SOCKET) {
            ok = 0;
            break;
        }
        const int read = Receive(bytes + got, length - got, flags);
        if (read > 0) {
            got += read;
            continue;
        }
        if (read == 0) {
            // The peer closed: no byte will ever come, so waiting on is pointless.
            m_nCloseCode = WSAECONNRESET;
            ok = 0;
            break;
        }
        const int error = WSAGetLastError();
        if (error != WSAEWOULDBLOCK && error != WSAEINPROGRESS) {
            m_nCloseCode = error;
            ok = 0;
            break;
        }
    }
    // A Close meanwhile has reset all of this already.
    if (m_hSocket != INVALID_SOCKET) {
        if (m_nWaitDepth > 0)
            --m_nWaitDepth;
        m_bReceiveEnabled = savedEnabled;
        Reselect();
    }
    return ok;
}

int CKNSocket::Socks4Connect(LPCSTR host, UINT port) {
    if (host == nullptr || host[0] == '\0')
        return 0;
    const UINT wanted = m_nConnectRelayPort > 0 ? UINT(m_nConnectRelayPort) : port;
    std::vector<BYTE> request{kSocks4, kCommandConnect};
    AppendPort(request, wanted);
    BYTE address[4];
    const bool dotted = ParseDottedAddress(host, address);
    if (!dotted) {
        // SOCKS 4a: an address of 0.0.0.x asks the proxy to resolve the name.
        address[0] = address[1] = address[2] = 0;
        address[3] = 1;
    }
    request.insert(request.end(), address, address + 4);
    char user[256] = {};
    DWORD userSize = sizeof user;
    if (!GetUserNameA(user, &userSize))
        user[0] = '\0';
    request.insert(request.end(), user, user + strlen(user) + 1);
    if (!dotted) {
        const size_t length = strnlen(host, kLongestHostName + 1);
        if (length > kLongestHostName)
            return 0;
        request.insert(request.end(), host, host + length + 1);
    }
    const int sent = Send(request.data(), int(request.size()));
    if (sent == 0 || sent == SOCKET_ERROR)
        return 0;
    BYTE reply[8];
    if (!ReceiveExact(reply, sizeof reply))
        return 0;
    return reply[1] == kSocks4Granted ? 1 : 0;
}

int CKNSocket::Socks5Connect(LPCSTR host, UINT port) {
    const UINT wanted = m_nConnectRelayPort > 0 ? UINT(m_nConnectRelayPort) : port;
    return Socks5Handshake(host, wanted, m_szProxyUser, m_szProxyPassword);
}

int CKNSocket::Socks5Handshake(LPCSTR host, UINT port, LPCSTR user, LPCSTR password) {
    if (host == nullptr || host[0] == '\0')
        return 0;
    auto sendAll = [this](const std::vector<BYTE>& bytes) {
        const int sent = Send(bytes.data(), int(bytes.size()));
        return sent != 0 && sent != SOCKET_ERROR;
    };
    BYTE answer[2];
    if (!sendAll({kSocks5, 2, kMethodNone, kMethodPassword}) || !ReceiveExact(answer, 2))
        return 0;
    if (answer[1] != kMethodNone && answer[1] != kMethodPassword)
        return 0;
    if (answer[1] == kMethodPassword) {
        const size_t userLength = user ? strnlen(user, kLongestAccountText) : 0;
        const size_t passwordLength = password ? strnlen(password, kLongestAccountText) : 0;
        std::vector<BYTE> account{1, BYTE(userLength)};
        account.insert(account.end(), user, user + userLength);
        account.push_back(BYTE(passwordLength));
        account.insert(account.end(), password, password + passwordLength);
        if (!sendAll(account) || !ReceiveExact(answer, 2) || answer[1] != 0)
            return 0;
    }

    std::vector<BYTE> request{kSocks5, kCommandConnect, 0};
    BYTE address[4];
    if (ParseDottedAddress(host, address)) {
        request.push_back(kAddressIPv4);
        request.insert(request.end(), address, address + 4);
    } else {
        const size_t length = strnlen(host, kLongestHostName + 1);
        if (length > kLongestHostName)
            return 0;
        request.push_back(kAddressName);
        request.push_back(BYTE(length));
        request.insert(request.end(), host, host + length);
    }
    AppendPort(request, port);
    if (!sendAll(request))
        return 0;

    // The reply's length depends on the form of the bound address: read it
    // all, so that nothing of it is taken for the first frame.
    BYTE head[4];
    if (!ReceiveExact(head, sizeof head) || head[1] != 0)
        return 0;
    int rest = 0;
    switch (head[3]) {
    case kAddressIPv4:
        rest = 4;
        break;
    case kAddressIPv6:
        rest = 16;
        break;
    case kAddressName: {
        BYTE length = 0;
        if (!ReceiveExact(&length, 1))
            return 0;
        rest = length;
        break;
    }
    default:
        return 0;
    }
    BYTE tail[255 + 2];
    return ReceiveExact(tail, rest + 2);
}
