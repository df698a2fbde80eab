#pragma once

// A client of the table host made of plain descriptors and bytes written out
// by hand, independent of the host's own frame code and of the library under
// test. The host runs on this thread's message loop: every wait pumps it.

#include "platform/Types.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tools_test {

std::string Word(DWORD value);
std::string Half(uint16_t value);
DWORD WordAt(const std::string& bytes, size_t offset);
uint16_t HalfAt(const std::string& bytes, size_t offset);
// A text field as it sits in a payload: up to its NUL or the field's end.
std::string TextAt(const std::string& bytes, size_t offset, size_t width);

// Wire bytes of a frame: 8-byte header, 12 with bit 31 (then the result).
std::string FrameBytes(DWORD type, const std::string& payload, DWORD result = 0);
// The 108-byte login payload.
std::string LoginPayload(const std::string& name, uint16_t seat, const std::string& room = "room 1",
                         const std::string& text = "login text", uint8_t kind = 3,
                         uint16_t value = 7);

struct WireFrame {
    DWORD type = 0;
    DWORD length = 0; // on the wire
    DWORD result = 0;
    bool compressed = false;
    std::string payload; // inflated when the frame came compressed
    // The game record id of a 0x243, else 0.
    int RecordId() const;
    std::vector<uint8_t> Record() const { return {payload.begin(), payload.end()}; }
};

class WireClient {
public:
    // receiveBuffer > 0 makes the socket's receive buffer that small.
    explicit WireClient(int receiveBuffer = 0);
    ~WireClient();
    WireClient(const WireClient&) = delete;
    WireClient& operator=(const WireClient&) = delete;

    bool Connect(UINT port);
    void Write(const std::string& bytes);
    void Send(DWORD type, const std::string& payload = "") { Write(FrameBytes(type, payload)); }
    void SendRecord(const std::vector<uint8_t>& record);
    // Connects, logs in and reads the reply.
    bool Login(UINT port, const std::string& name, uint16_t seat, WireFrame* reply = nullptr);

    // The next whole frame, pumping meanwhile; false when none comes (the
    // connection ended or the pump's limit passed).
    bool Next(WireFrame& frame);
    // Skips frames until one of this type; the skipped ones are kept.
    bool NextOfType(DWORD type, WireFrame& frame, std::vector<WireFrame>* skipped = nullptr);
    // A frame already here, without pumping for more.
    bool Poll(WireFrame& frame);
    // Pumps until the host has closed the connection.
    bool WaitForEnd();
    bool Ended() const { return m_bEnded; }
    bool WasReset() const { return m_bReset; }
    // Reads what the socket holds now; true when bytes came.
    bool Fill();
    size_t Buffered() const { return m_In.size(); }
    void Close();

    int fd = -1;

private:
    bool HasFrame() const;
    bool TakeFrame(WireFrame& frame);

    std::string m_In;
    bool m_bEnded = false;
    bool m_bReset = false;
};

} // namespace tools_test
