#pragma once

// The Winsock-shaped names the system's socket code is written against, over
// the Linux socket API. Handles are descriptors (SOCKET holds the fd); option
// levels, option names and flags (SOL_SOCKET, SO_LINGER, MSG_PEEK, FIONREAD,
// FIONBIO, struct linger) are the Linux ones, used by name only. Errors are
// reported as Winsock codes through the per-thread WSAGetLastError.

#include "platform/Types.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/ioctl.h>
#include <sys/socket.h>

#define INVALID_SOCKET ((SOCKET)(~0))
#define SOCKET_ERROR (-1)

// Notification events of CAsyncSocket::AsyncSelect.
#define FD_READ 0x01
#define FD_WRITE 0x02
#define FD_OOB 0x04
#define FD_ACCEPT 0x08
#define FD_CONNECT 0x10
#define FD_CLOSE 0x20
#define FD_ALL_EVENTS (FD_READ | FD_WRITE | FD_OOB | FD_ACCEPT | FD_CONNECT | FD_CLOSE)

// Winsock error codes.
#define WSAEINTR 10004
#define WSAEBADF 10009
#define WSAEFAULT 10014
#define WSAEINVAL 10022
#define WSAEMFILE 10024
#define WSAEWOULDBLOCK 10035
#define WSAEINPROGRESS 10036
#define WSAEALREADY 10037
#define WSAENOTSOCK 10038
#define WSAEMSGSIZE 10040
#define WSAESOCKTNOSUPPORT 10044
#define WSAEOPNOTSUPP 10045
#define WSAEADDRINUSE 10048
#define WSAEADDRNOTAVAIL 10049
#define WSAENETDOWN 10050
#define WSAENETUNREACH 10051
#define WSAENETRESET 10052
#define WSAECONNABORTED 10053
#define WSAECONNRESET 10054
#define WSAENOBUFS 10055
#define WSAEISCONN 10056
#define WSAENOTCONN 10057
#define WSAESHUTDOWN 10058
#define WSAETIMEDOUT 10060
#define WSAECONNREFUSED 10061
#define WSAEHOSTUNREACH 10065
#define WSAHOST_NOT_FOUND 11001

typedef sockaddr SOCKADDR;
typedef sockaddr_in SOCKADDR_IN;

// What socket start-up reports. A version word holds the major number in its
// low byte and the minor one in its high byte: 0x0202 is 2.2.
struct WSADATA {
    WORD wVersion;
    WORD wHighVersion;
    char szDescription[257];
    char szSystemStatus[129];
};
typedef WSADATA* LPWSADATA;

int WSAGetLastError();
void WSASetLastError(int error);

// Starts the socket layer (version 2.2) and fills *data when given. Always
// succeeds: there is nothing to start on Linux beyond refusing SIGPIPE, which
// every send does by itself.
BOOL AfxSocketInit(WSADATA* data = nullptr);

// Calls on a bare handle, such as one taken back with CAsyncSocket::Detach.
// With SO_LINGER on, closesocket waits as Linux close() does: up to the linger
// time while unsent data remains, even for a non-blocking handle.
int closesocket(SOCKET socket);
// FIONBIO (non-zero: non-blocking) and FIONREAD (bytes waiting).
int ioctlsocket(SOCKET socket, long command, u_long* argument);
