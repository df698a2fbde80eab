#include "knclientbase05/RuviDerezSocket.h"

#include "knclientbase05/LangResource.h"
#include "platform/system/Path.h"
#include "platform/system/ProcessInfo.h"
#include "platform/system/Profile.h"
#include "platform/system/Registry.h"

#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace {

constexpr char kShareKey[] = "Software\\Quillane\\Game\\Share";
constexpr char kRelaySection[] = "RuviDerez";
constexpr char kDebugSection[] = "Debug";
// The byte that relay-file names are XOR-ed with; every program of the
// platform that writes "RuviDerez.dat" uses the same one.
constexpr BYTE kNameKey = 0x4B;
constexpr int kRelayWaitSeconds = 10;
constexpr int kLastRelayKey = 499;
constexpr size_t kLogMessageSize = 1024;

// Copies at most size - 1 bytes and always terminates.
void CopyText(char* out, size_t size, LPCSTR text) {
    const size_t length = text ? strnlen(text, size - 1) : 0;
    if (length > 0)
        memcpy(out, text, length);
    out[length] = '\0';
}

} // namespace

CKNRuviDerezSocket::CKNRuviDerezSocket() {
    ReadSettings();
    ClearSamples();
}

CKNRuviDerezSocket::~CKNRuviDerezSocket() {
    StopSpeedTest();
    ClearSamples();
    if (m_pLog != nullptr)
        fclose(m_pLog);
    m_pLog = nullptr;
}

// The settings are read once, at construction; the user's proxy for the
// connection itself is read again by every base connect.
void CKNRuviDerezSocket::ReadSettings() {
    char path[262] = {};
    HKEY key = nullptr;
    DWORD firewall = 0;
    if (RegOpenKeyEx(HKEY_CURRENT_USER, kShareKey, 0, KEY_READ, &key) == ERROR_SUCCESS) {
        DWORD size = 260;
        if (RegQueryValueEx(key, "Path", nullptr, nullptr, reinterpret_cast<BYTE*>(path), &size) !=
            ERROR_SUCCESS)
            path[0] = '\0';
        path[260] = '\0';
        DWORD type = 0, value = 0;
        size = sizeof value;
        if (RegQueryValueEx(key, "Use80PortSvr", nullptr, &type, reinterpret_cast<BYTE*>(&value),
                            &size) == ERROR_SUCCESS &&
            type == REG_DWORD)
            firewall = value;
        RegCloseKey(key);
    }
    m_strBasePath = path;
    const int length = m_strBasePath.GetLength();
    if (length > 0 && path[length - 1] != '\\' && path[length - 1] != '/')
        m_strBasePath += "\\";

    if (!m_strBasePath.IsEmpty())
        m_nRelayServerPort = int(GetPrivateProfileInt(kRelaySection, "Port", 80, RelayIniPath()));
    m_dwFirewallMode = firewall;
    ReadProxySettings();
    m_bProxyInUse = IsProxyEnabled();
    // Without a shared folder there are no relay files: nothing is read from,
    // or created in, the settings folder instead.
    if (m_strBasePath.IsEmpty())
        return;
    GetPrivateProfileString(kRelaySection, "WellUser", "", m_szRelayUser, 63, RelayIniPath());
    GetPrivateProfileString(kRelaySection, "WellPwd", "", m_szRelayPassword, 63, RelayIniPath());
    if (int(GetPrivateProfileInt(kDebugSection, "log", -1, RelayDataPath())) > 0)
        OpenLog();
    m_bEncodeNames = GetPrivateProfileInt(kDebugSection, "Encrypt", -1, RelayDataPath()) != 0;
}

void CKNRuviDerezSocket::OpenLog() {
    if (m_pLog != nullptr)
        fclose(m_pLog);
    const CString file = m_strBasePath + "RuviDerez.log";
    m_pLog = fopen(NativePath(file).c_str(), "a+");
    LogLine("%s", CString('-', 85).GetString());
}

CString CKNRuviDerezSocket::RelayIniPath() const {
    return m_strBasePath + "langrsc.ini";
}

CString CKNRuviDerezSocket::RelayDataPath() const {
    return m_strBasePath + "RuviDerez.dat";
}

void CKNRuviDerezSocket::LogLine(const char* format, ...) {
    if (m_pLog == nullptr)
        return;
    char when[32] = {};
    const time_t now = time(nullptr);
    if (const tm* local = localtime(&now))
        strftime(when, sizeof when, "%y/%m/%d %H:%M:%S", local);
    char message[kLogMessageSize];
    va_list arguments;
    va_start(arguments, format);
    vsnprintf(message, sizeof message, format, arguments);
    va_end(arguments);
    fprintf(m_pLog, "%s %5d %s\n", when, int(GetCurrentProcessId()), message);
    fflush(m_pLog);
}

void CKNRuviDerezSocket::EncodeName(LPCSTR text, int length, CString& out) const {
    out.Empty();
    if (text == nullptr || length <= 0 || text[0] == '\0')
        return;
    const int count = int(strnlen(text, size_t(length)));
    if (!m_bEncodeNames) {
        out = CString(text, count);
        return;
    }
    static const char kHex[] = "0123456789ABCDEF";
    for (int i = 0; i < count; ++i) {
        const BYTE coded = BYTE(text[i]) ^ kNameKey;
        out += kHex[coded >> 4];
        out += kHex[coded & 0x0F];
    }
}

void CKNRuviDerezSocket::ClearCancelFlag() {
    if (int* cancel = GetCancelFlag())
        *cancel = 0;
}

void CKNRuviDerezSocket::SetCurrentServer(LPCSTR host, UINT port) {
    CopyText(m_szServerAddr, sizeof m_szServerAddr, host);
    m_nServerPort = int(port);
}

void CKNRuviDerezSocket::Close() {
    StopSpeedTest();
    ClearSamples();
    m_bCancelledAtClose = IsWaitStopped();
    CKNSocket::Close();
}

void CKNRuviDerezSocket::OnClose(int errorCode) {
    StopSpeedTest();
    ClearSamples();
    CKNSocket::OnClose(errorCode);
    LogLine("[连接]收到OnClose消息网络断开");
}

// Every attempt's failure is held back while the paths are tried: an attempt
// that another path follows is no failure of the connect, and reporting it
// would tell the client the connection closed while it is being made. Only
// the last attempt's failure is reported, once.
int CKNRuviDerezSocket::Connect(LPCSTR host, UINT port, int ask) {
    if (m_bChoosingPath)
        return 0;
    m_bChoosingPath = 1;
    m_bHoldConnectReports = 1;
    m_nHeldConnectCode = 0;
    const int connected = ChoosePath(host != nullptr ? host : "", port, ask);
    m_bHoldConnectReports = 0;
    m_bChoosingPath = 0;
    const int held = m_nHeldConnectCode;
    m_nHeldConnectCode = 0;
    if (!connected && held != 0)
        OnClose(held);
    return connected;
}

int CKNRuviDerezSocket::ChoosePath(LPCSTR host, UINT port, int ask) {
    nConnType = 0;
    m_bRelayTestAllowed = 1;
    LogLine("[连接]客户端创建连接，%s:%d", host, int(port));
    if (m_bProxyInUse) {
        LogLine("[连接]当前使用了其它代理服务器，互联代理不启用。");
        nConnType = 1;
        return DirectConnect(host, port, ask);
    }
    LogLine("[连接]当前没有使用其它代理服务器");

    if (m_dwFirewallMode != 0) {
        LogLine("[连接]当前使用了突破防火墙功能，Port=%d", int(port));
        if (!FindRelayAddress(port, 1)) {
            LogLine("[连接]当前使用了破突防火墙功能，但配置中没有找到对应的互联代理IP地址");
            nConnType = 2;
            return DirectConnect(host, port, ask);
        }
        LogLine("[连接]找到互联代理的IP地址：%s", m_szRelayServerAddr);
        if (port == 80) {
            LogLine("[连接]当前使用了破突防火墙功能，但GameList中配置还是使用了80端口");
            nConnType = 3;
            return RelayConnect(host, port, ask, 0);
        }
        LogLine("[连接]当前使用了破突防火墙功能，GameList已配置成使用P80服务, Port:%d", int(port));
        nConnType = 4;
        return RelayConnect(host, port, ask, 1);
    }

    LogLine("[连接]当前没有使用突破防火墙功能");
    if (!IsRelayAllowed()) {
        LogLine("[连接]当前手动禁用了互联代理功能");
        nConnType = 5;
        return DirectConnect(host, port, ask);
    }
    LogLine("[连接]当前没有手动禁用互联代理功能");
    if (!FindRelayAddress(port, 0)) {
        LogLine("[连接]当前游戏没有配置支持互联代理，%s:%d", host, int(port));
        nConnType = 6;
        return DirectConnect(host, port, ask);
    }
    LogLine("[连接]当前游戏配置了支持互联代理");
    if (IsServerOnRelayList(host, port)) {
        LogLine("[连接]此游戏服务器连接使用互联代理方式");
        nConnType = 9;
        return RelayConnect(host, port, ask, 1);
    }

    LogLine("[连接]游戏配置了支持互联代理，但此台游戏服务器不支持，%s:%d", host, int(port));
    nConnType = 7;
    if (DirectConnect(host, port, 0))
        return 1;
    // The wait of this very attempt tells whether the user cancelled it.
    if (IsWaitStopped()) {
        LogLine("[连接]手动取消了与游戏服务器直连操作，%s:%d", host, int(port));
        return 0;
    }
    LogLine("[连接]直连游戏服务器失败，使用互联代理再次尝试连接，%s:%d", host, int(port));
    ClearCancelFlag();
    nConnType = 8;
    return RelayConnect(host, port, ask, 1);
}

int CKNRuviDerezSocket::DirectConnect(LPCSTR host, UINT port, int ask) {
    SetCurrentServer(host, port);
    m_bRelayInUse = 0;
    SetAskOnTimeout(ask);
    LogLine("[连接]当前使用直连方式连接 GSIP:%s:%d", m_szServerAddr, m_nServerPort);
    const int connected = CKNSocket::Connect(host, port, ask);
    if (connected)
        LogLine("[连接]直连方式连接成功 GSIP:%s:%d", m_szServerAddr, m_nServerPort);
    else
        LogLine("[连接]直连方式连接失败 GSIP:%s:%d", m_szServerAddr, m_nServerPort);
    return connected;
}

int CKNRuviDerezSocket::RelayConnect(LPCSTR host, UINT port, int ask, int header) {
    SetCurrentServer(host, port);
    LogLine("[连接]准备与互联代理进行连接 %s:%d", m_szRelayServerAddr, m_nRelayServerPort);
    // The relay is reached without the port-80 substitution; its waits are
    // short and ask nothing.
    SetRelayPort(-1, 0);
    SetAskOnTimeout(0);
    const int previousPeriod = SetWaitPeriod(kRelayWaitSeconds);
    auto restore = [&](int askFlag) {
        SetAskOnTimeout(askFlag);
        SetWaitPeriod(previousPeriod);
        SetRelayPort(0, 0);
    };

    if (!CKNSocket::Connect(m_szRelayServerAddr, UINT(m_nRelayServerPort), 0)) {
        if (IsWaitStopped()) {
            LogLine("[连接]手动取消了与互联代理服务器连接操作，%s:%d", m_szRelayServerAddr,
                    m_nRelayServerPort);
            restore(ask);
            return 0;
        }
        nConnType = 10;
        LogLine("[连接]连接互联代理服务器失败切回直连方式 %s:%d", m_szRelayServerAddr,
                m_nRelayServerPort);
        ClearCancelFlag();
        restore(ask);
        return DirectConnect(host, port, ask);
    }
    LogLine("[连接]互联代理服务器连接成功 %s:%d", m_szRelayServerAddr, m_nRelayServerPort);
    const UINT p80 = GetShareP80Port(port);
    const UINT target = p80 > 0 && p80 <= 0xFFFF ? p80 : port;

    if (!RelaySocks5Connect(host, target)) {
        const int stopped = IsWaitStopped();
        m_nHeldConnectCode = stopped ? GetCloseCode() : kCloseSocksHandshake;
        CKNSocket::Close();
        if (stopped) {
            LogLine("[连接]手动取消了向互联代理服务发送Socket5消息操作，%s:%d", m_szRelayServerAddr,
                    m_nRelayServerPort);
            restore(ask);
            return 0;
        }
        nConnType = 11;
        LogLine("[连接]Socket5代理协议发送失败切回直连方式 %s:%d", host, int(target));
        ClearCancelFlag();
        restore(ask);
        return DirectConnect(host, port, ask);
    }
    LogLine("[连接]Socket5代理协议发送成功 %s:%d", host, int(target));
    restore(ask);
    if (header == 1 && p80 > 0 && p80 <= 0xFFFF) {
        SendRelayHeader(port, 0);
        LogLine("[连接]发送了P80服务使用的消息头%d", int(port));
    }
    m_bRelayInUse = 1;
    LogLine("[连接]当前使用互联代理连接 GSIP:%s:%d WPIP:%s:%d", m_szServerAddr, m_nServerPort,
            m_szRelayServerAddr, m_nRelayServerPort);
    return 1;
}

int CKNRuviDerezSocket::RelaySocks5Connect(LPCSTR host, UINT port) {
    return Socks5Handshake(host, port, m_szRelayUser, m_szRelayPassword);
}

int CKNRuviDerezSocket::FindRelayAddress(UINT port, int firewall) {
    m_szRelayServerAddr[0] = '\0';
    if (m_strBasePath.IsEmpty())
        return 0;
    const CString file = RelayIniPath();
    if (firewall == 1) {
        GetPrivateProfileString(kRelaySection, "80PortIP", "", m_szRelayServerAddr, 39, file);
        return m_szRelayServerAddr[0] != '\0' ? 1 : 0;
    }
    for (int n = 1; n <= kLastRelayKey; ++n) {
        char key[16];
        snprintf(key, sizeof key, "%d", n);
        char value[1024] = {};
        GetPrivateProfileString(kRelaySection, key, "", value, sizeof value, file);
        // The keys are consecutive: the first empty one ends the table.
        if (value[0] == '\0')
            return 0;
        char candidate[40] = {};
        bool haveCandidate = false;
        for (char* item = value; item != nullptr;) {
            char* next = strchr(item, ';');
            if (next != nullptr)
                *next++ = '\0';
            if (item[0] != '\0') {
                if (!haveCandidate) {
                    CopyText(candidate, sizeof candidate, item);
                    haveCandidate = true;
                } else if (strtoul(item, nullptr, 10) == port) {
                    memcpy(m_szRelayServerAddr, candidate, sizeof candidate);
                    return 1;
                }
            }
            item = next;
        }
    }
    return 0;
}

int CKNRuviDerezSocket::IsRelayAllowed() {
    if (m_strBasePath.IsEmpty())
        return 1; // no relay files: FindRelayAddress finds none
    CString section, key;
    EncodeName("Setting", 7, section);
    EncodeName("UseZuzuZaz", 10, key);
    const int allowed = int(GetPrivateProfileInt(section, key, -1, RelayDataPath()));
    if (allowed < 0) {
        WritePrivateProfileString(section, key, "1", RelayDataPath());
        return 1;
    }
    return allowed == 0 ? 0 : 1;
}

int CKNRuviDerezSocket::IsServerOnRelayList(LPCSTR address, UINT port) {
    if (m_strBasePath.IsEmpty() || address == nullptr)
        return 0;
    char portText[16];
    snprintf(portText, sizeof portText, "%u", port);
    CString section, key;
    EncodeName(portText, int(strlen(portText)), section);
    EncodeName(address, 39, key);
    char value[10] = {};
    GetPrivateProfileString(section, key, "", value, sizeof value, RelayDataPath());
    return value[0] != '\0' ? 1 : 0;
}
