#include "tools/tablehost/HostClient.h"

#include <cstring>

CHostClient::CHostClient(int id, Owner& owner, size_t maxQueuedBytes)
    : m_nId(id), m_Owner(owner), m_nMaxQueued(maxQueuedBytes) {}

CHostClient::~CHostClient() {
    if (m_hSocket != INVALID_SOCKET)
        CAsyncSocket::Close();
}

bool CHostClient::Queue(std::vector<BYTE> wire) {
    if (m_bGone || m_bShutDown || wire.empty())
        return false;
    if (m_nQueued + wire.size() > m_nMaxQueued) {
        Fail("not reading: outgoing queue over " + std::to_string(m_nMaxQueued) + " bytes");
        return false;
    }
    m_nQueued += wire.size();
    m_Out.push_back(std::move(wire));
    Flush();
    return true;
}

void CHostClient::Flush() {
    while (!m_bGone && !m_Out.empty()) {
        const std::vector<BYTE>& front = m_Out.front();
        const int n = Send(front.data() + m_nSentOfFront, int(front.size() - m_nSentOfFront));
        if (n == SOCKET_ERROR) {
            // Would block: FD_WRITE comes when the socket takes more.
            if (GetLastError() != WSAEWOULDBLOCK)
                Fail("send failed, error " + std::to_string(GetLastError()));
            return;
        }
        m_nSentOfFront += size_t(n);
        m_nQueued -= size_t(n);
        if (m_nSentOfFront == front.size()) {
            m_Out.pop_front();
            m_nSentOfFront = 0;
        }
    }
    if (!m_bGone && m_Out.empty() && m_bCloseAfterFlush && !m_bShutDown) {
        m_bShutDown = true;
        ShutDown(sends);
    }
}

void CHostClient::CloseAfterFlush() {
    if (m_bGone || m_bCloseAfterFlush)
        return;
    m_bCloseAfterFlush = true;
    Flush();
}

void CHostClient::Drop(bool reset) {
    if (m_bGone)
        return;
    if (reset) {
        linger abort{1, 0};
        SetSockOpt(SO_LINGER, &abort, sizeof abort);
    }
    m_Out.clear();
    m_nQueued = 0;
    m_bGone = true;
    CAsyncSocket::Close();
    m_Owner.OnClientGone(*this);
}

void CHostClient::Fail(const std::string& why) {
    m_Owner.OnClientLog(*this, why);
    Drop(false);
}

void CHostClient::OnReceive(int) {
    ++m_nBusy;
    ReadFrames();
    --m_nBusy;
}

void CHostClient::ReadFrames() {
    // A client that sends without pause gets its share and waits for the
    // next turn (FD_READ comes again while bytes remain), so every client is
    // served in turn.
    int frames = 0;
    while (!m_bGone && frames < kFramesPerTurn) {
        const size_t wanted = m_In.Wanted();
        const int n = Receive(m_In.Space(wanted), int(wanted));
        if (n == SOCKET_ERROR) {
            if (GetLastError() != WSAEWOULDBLOCK)
                Fail("receive failed, error " + std::to_string(GetLastError()));
            return;
        }
        if (n == 0)
            return; // end of stream: FD_CLOSE follows
        const FrameAssembler::Status status = m_In.Commit(size_t(n));
        if (status == FrameAssembler::kTooLarge) {
            Fail("frame larger than 65,536 bytes");
            return;
        }
        if (status != FrameAssembler::kComplete)
            continue;
        ++frames;
        const std::vector<BYTE> frame = m_In.Take();
        // A client on its way out is no longer listened to.
        if (m_bCloseAfterFlush)
            continue;
        // The assembler holds the header in host order.
        tagMSGHEADER header{};
        memcpy(&header.type, frame.data(), sizeof header.type);
        memcpy(&header, frame.data(), FrameHeaderSize(header.type));
        m_Owner.OnClientFrame(*this, header, frame.data() + FrameHeaderSize(header.type));
    }
}

void CHostClient::OnSend(int) {
    ++m_nBusy;
    Flush();
    --m_nBusy;
}

void CHostClient::OnClose(int error) {
    ++m_nBusy;
    if (!m_bGone) {
        if (error != 0)
            m_Owner.OnClientLog(*this, "connection reset, error " + std::to_string(error));
        m_Out.clear();
        m_nQueued = 0;
        m_bGone = true;
        CAsyncSocket::Close();
        m_Owner.OnClientGone(*this);
    }
    --m_nBusy;
}
