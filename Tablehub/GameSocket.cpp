#include "Tablehub/GameSocket.h"

#include "Tablehub/Tablehub.h"

namespace {
CTablehub* registeredClient = nullptr;
} // namespace

CGameSocket& GetGameSocket() {
    static CGameSocket socket;
    return socket;
}

CTablehub* GetRegisteredClient() {
    return registeredClient;
}

void RegisterClient(CTablehub* client) {
    registeredClient = client;
}

CGameSocket::CGameSocket() = default;
CGameSocket::~CGameSocket() = default;

int CGameSocket::Connect(LPCSTR host, UINT port, int ask) {
    const int connected = CKNRuviDerezSocket::Connect(host, port, ask);
    if (connected)
        m_bExchangeRequested = 1;
    return connected;
}

// A connection that the server or the network ended (or that can no longer
// be read) is closed before the client hears of it: left open, it would be
// taken for connected by every send, the end of its stream would be reported
// a second time by the close notification, and a broken stream would keep
// the server's seat taken. After the close no further notification comes,
// so the client hears of each end once.
void CGameSocket::OnClose(int errorCode) {
    if (IsOpen())
        Close();
    ++m_nCloseReports;
    if (CTablehub* client = GetRegisteredClient())
        client->OnClose(errorCode);
}
