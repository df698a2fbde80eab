#pragma once

// A listening socket of the local table host on 127.0.0.1; each connection
// that comes in is handed to the owner.

#include "platform/net/Socket.h"

#include <functional>

class CHostListener : public CAsyncSocket {
public:
    // Called once per pending connection; the owner accepts it.
    explicit CHostListener(std::function<void(CHostListener&)> onAccept)
        : m_OnAccept(std::move(onAccept)) {}

    // Listens on the port (0: any free one); false when it cannot.
    bool Open(UINT port);
    UINT Port() const { return m_nPort; }

protected:
    void OnAccept(int error) override;

private:
    std::function<void(CHostListener&)> m_OnAccept;
    UINT m_nPort = 0;
};
