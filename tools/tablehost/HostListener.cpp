#include "tools/tablehost/HostListener.h"

#include <unistd.h>

bool CHostListener::Open(UINT port) {
    // A descriptor of our own, so that a restarted host can take its port
    // back while connections of the last run linger in TIME_WAIT.
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    const int on = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    local.sin_port = htons(uint16_t(port));
    if (port > 0xFFFF || ::bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0 ||
        !Attach(SOCKET(fd), FD_ACCEPT)) {
        ::close(fd);
        return false;
    }
    CString address;
    if (!Listen(SOMAXCONN) || !GetSockName(address, m_nPort)) {
        Close();
        return false;
    }
    return true;
}

void CHostListener::OnAccept(int error) {
    if (error == 0 && m_OnAccept)
        m_OnAccept(*this);
}
