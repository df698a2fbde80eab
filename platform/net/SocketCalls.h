#pragma once

// The plain socket calls the socket files share: addresses, descriptors,
// errors. Used by the socket files only.

#include "platform/net/Winsock.h"

namespace platform {

// The Winsock code of an errno value from a socket call.
int WinsockErrorFromErrno(int err);

// Fills out with host (a dotted address, or a name looked up by getaddrinfo,
// first IPv4 address; null or empty: any address) and port. Returns 0 or the
// Winsock error: WSAHOST_NOT_FOUND for a name without an address, WSAEINVAL
// for a port above 65535. A dotted address never waits for the name service.
int ResolveIPv4(LPCSTR host, UINT port, sockaddr_in* out);

// A new non-blocking TCP descriptor, or -1 with the Winsock error set.
int NewStreamDescriptor();

// The pending error of a descriptor (SO_ERROR), as a Winsock code.
int PendingSocketError(int fd);

} // namespace platform
