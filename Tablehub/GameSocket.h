#pragma once

// The game connection: the one socket through which the exported client
// class talks to the game server. It turns each server frame into a call of
// the registered client's callbacks and hands a closed connection to the
// client's OnClose.

#include "knclientbase05/RuviDerezSocket.h"

class CTablehub;

class CGameSocket : public CKNRuviDerezSocket {
public:
    CGameSocket();
    ~CGameSocket() override;

    // After each successful connect the first coin exchange counts as
    // requested by the server.
    int Connect(LPCSTR host, UINT port, int ask) override;
    // 1 when the frame was one of the game connection's (0x243: what the
    // client's OnGameMsg returns); the framing socket does not act on it.
    int OnMessage(tagMSGHEADER* frame) override;

    // Set when the server asked for a coin exchange (frame 0x23B) and after
    // each connect; the next exchange carries bit 31 and clears it.
    int IsExchangeRequested() const { return m_bExchangeRequested; }
    void SetExchangeRequested(int requested) { m_bExchangeRequested = requested; }

protected:
    void OnClose(int errorCode) override;

private:
    int Dispatch(CTablehub& client, tagMSGHEADER* frame);
    int ShowServerNotice(tagMSGHEADER* frame);
    void ChangeSeatReply(CTablehub& client, const tagMSGHEADER* frame);
    int LinkEvent(CTablehub& client, const tagMSGHEADER* frame);
    int LeaveReply(CTablehub& client, const tagMSGHEADER* frame);
    bool IsOpen() const { return m_hSocket != INVALID_SOCKET; }

    int m_bExchangeRequested = 1;
    // Counts the ends of the connection told to the client, so that one
    // that was already told is not told again.
    int m_nCloseReports = 0;
};

// The process's one game connection.
CGameSocket& GetGameSocket();

// The client whose callbacks the game socket calls; null when none.
CTablehub* GetRegisteredClient();
void RegisterClient(CTablehub* client);
