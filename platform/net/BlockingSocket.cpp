// CSocket: Connect, Send and Receive that wait, pumping messages meanwhile.

#include "platform/net/Socket.h"

#include "platform/net/SocketLink.h"
#include "platform/window/Wnd.h"

using platform::BlockingCall;

namespace {

// Pumps until an awaited event arrives. The socket object may be closed or
// deleted by a handler run here: the call on the stack is told, and nothing of
// the object is touched then.
bool PumpUntilArrived(BlockingCall& call) {
    call.arrived = 0;
    while (!call.arrived) {
        if (!AfxPumpMessage()) {
            ::PostQuitMessage(AfxGetQuitCode()); // the outer loop must end too
            WSASetLastError(WSAEINTR);
            return false;
        }
        if (call.socketGone || call.objectGone) {
            WSASetLastError(WSAENOTSOCK);
            return false;
        }
    }
    return true;
}

void FinishCall(BlockingCall& call) {
    if (!call.socketGone && !call.objectGone)
        call.link->EndBlocking();
}

} // namespace

bool CSocket::BeginCall(BlockingCall& call) {
    if (!Link()) {
        WSASetLastError(WSAENOTSOCK);
        return false;
    }
    if (Link()->Blocking()) {
        WSASetLastError(WSAEINPROGRESS);
        return false;
    }
    Link()->BeginBlocking(&call);
    return true;
}

BOOL CSocket::Connect(LPCTSTR host, UINT port) {
    BlockingCall call;
    call.wakeOn = FD_CONNECT;
    if (!BeginCall(call))
        return FALSE;
    // FD_CONNECT is posted in every outcome but an immediate failure.
    if (!CAsyncSocket::Connect(host, port) && WSAGetLastError() != WSAEWOULDBLOCK) {
        FinishCall(call);
        return FALSE;
    }
    const bool arrived = PumpUntilArrived(call);
    FinishCall(call);
    if (!arrived)
        return FALSE;
    if (call.error) {
        WSASetLastError(call.error);
        return FALSE;
    }
    return TRUE;
}

int CSocket::Send(const void* buffer, int length, int flags) {
    BlockingCall call;
    call.wakeOn = FD_WRITE;
    if (!BeginCall(call))
        return SOCKET_ERROR;
    const char* bytes = static_cast<const char*>(buffer);
    int sent = 0;
    while (sent < length) {
        const int result = CAsyncSocket::Send(bytes + sent, length - sent, flags);
        if (result > 0) {
            sent += result;
            continue;
        }
        if (result == 0)
            break; // a stream send takes at least one byte; never wait on nothing
        if (WSAGetLastError() != WSAEWOULDBLOCK || !PumpUntilArrived(call)) {
            FinishCall(call);
            return SOCKET_ERROR;
        }
    }
    FinishCall(call);
    return sent;
}

int CSocket::Receive(void* buffer, int length, int flags) {
    BlockingCall call;
    call.wakeOn = FD_READ | FD_CLOSE;
    if (!BeginCall(call))
        return SOCKET_ERROR;
    for (;;) {
        const int result = CAsyncSocket::Receive(buffer, length, flags);
        if (result != SOCKET_ERROR || WSAGetLastError() != WSAEWOULDBLOCK) {
            FinishCall(call);
            return result;
        }
        if (!PumpUntilArrived(call)) {
            FinishCall(call);
            return SOCKET_ERROR;
        }
    }
}
