#include "platform/net/Winsock.h"

#include "platform/net/SocketCalls.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace {
thread_local int lastSocketError = 0;
} // namespace

int WSAGetLastError() {
    return lastSocketError;
}

void WSASetLastError(int error) {
    lastSocketError = error;
}

BOOL AfxSocketInit(WSADATA* data) {
    if (data) {
        std::memset(data, 0, sizeof *data);
        data->wVersion = 0x0202;
        data->wHighVersion = 0x0202;
        std::strcpy(data->szDescription, "Linux sockets");
        std::strcpy(data->szSystemStatus, "Running");
    }
    return TRUE;
}

int closesocket(SOCKET socket) {
    if (socket == INVALID_SOCKET || ::close(int(socket)) != 0) {
        WSASetLastError(socket == INVALID_SOCKET ? WSAENOTSOCK
                                                 : platform::WinsockErrorFromErrno(errno));
        return SOCKET_ERROR;
    }
    return 0;
}

int ioctlsocket(SOCKET socket, long command, u_long* argument) {
    if (socket == INVALID_SOCKET || !argument) {
        WSASetLastError(socket == INVALID_SOCKET ? WSAENOTSOCK : WSAEFAULT);
        return SOCKET_ERROR;
    }
    int value = int(*argument);
    if (command != long(FIONBIO) && command != long(FIONREAD)) {
        WSASetLastError(WSAEINVAL);
        return SOCKET_ERROR;
    }
    if (::ioctl(int(socket), (unsigned long)command, &value) != 0) {
        WSASetLastError(platform::WinsockErrorFromErrno(errno));
        return SOCKET_ERROR;
    }
    if (command == long(FIONREAD))
        *argument = u_long(value);
    return 0;
}
