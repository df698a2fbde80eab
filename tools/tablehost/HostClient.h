#pragma once

// One connection of the local table host: it gathers the client's frames and
// hands each whole one to its owner, and keeps an outgoing queue of its own
// that it writes without blocking, so a client that does not read fills only
// its own queue and never holds up the others.

#include "knclientbase05/MessageHeader.h"
#include "platform/net/Socket.h"
#include "tools/tablehost/HostFrames.h"

#include <cstddef>
#include <deque>
#include <string>
#include <vector>

class CHostClient : public CAsyncSocket {
public:
    class Owner {
    public:
        virtual ~Owner() = default;
        // A whole frame from the client (header in host order, then payload).
        virtual void OnClientFrame(CHostClient& client, const tagMSGHEADER& header,
                                   const BYTE* payload) = 0;
        // The connection ended or failed; IsGone() now holds.
        virtual void OnClientGone(CHostClient& client) = 0;
        virtual void OnClientLog(CHostClient& client, const std::string& line) = 0;
    };

    // What the host knows of the connection beyond its bytes.
    struct Session {
        enum State {
            kNew,       // waiting for the login (0x663 may come first)
            kRefused,   // refused: closes once the reply is out
            kLoggedIn,  // reply sent, waiting for 0x208
            kAtTable,   // entered: a player or a watcher of the table
            kDismissed, // table dissolved or kicked: closes once flushed
        };
        State state = kNew;
        bool viaP80 = false;    // accepted on the P80 port: 0x663 must come first
        bool portAsked = false; // 0x663 seen
        tablehost::LoginRequest login;
        int charges = 0;
        int beans = 0;
        int wealth = 0;
        uint32_t connectedAt = 0; // GetTickCount() of the accept
        int ignoredFrames = 0;    // frames ignored so far (only the first ones are logged)
    };

    // Frames read from one client in one turn of the loop at most.
    enum { kFramesPerTurn = 16 };

    CHostClient(int id, Owner& owner, size_t maxQueuedBytes);
    ~CHostClient() override;

    int Id() const { return m_nId; }
    Session session;

    // Queues wire bytes and writes what the socket takes now. False when the
    // connection is gone or going, or when the queue would pass its cap (the
    // client is then dropped: it does not read).
    bool Queue(std::vector<BYTE> wire);
    size_t QueuedBytes() const { return m_nQueued; }
    // Frames not yet written in full.
    size_t QueuedFrames() const { return m_Out.size(); }

    // Sends what is queued, then ends the sending side; the connection is
    // closed when the client closes its side.
    void CloseAfterFlush();
    // Closes at once; with reset the client sees a reset instead of an end.
    void Drop(bool reset);

    bool IsGone() const { return m_bGone; }
    bool IsClosing() const { return m_bCloseAfterFlush; }
    // Inside one of its own notifications: not to be destroyed now.
    bool IsBusy() const { return m_nBusy > 0; }

protected:
    void OnReceive(int error) override;
    void OnSend(int error) override;
    void OnClose(int error) override;

private:
    void Flush();
    void Fail(const std::string& why);
    void ReadFrames();

    int m_nId;
    Owner& m_Owner;
    size_t m_nMaxQueued;
    FrameAssembler m_In;
    std::deque<std::vector<BYTE>> m_Out;
    size_t m_nSentOfFront = 0;
    size_t m_nQueued = 0;
    bool m_bCloseAfterFlush = false;
    bool m_bShutDown = false;
    bool m_bGone = false;
    int m_nBusy = 0;
};
