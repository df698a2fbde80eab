#pragma once
// A stand-in "KNMusic" window for the link's tests: it keeps every command
// block exactly as it arrived.

#include "platform/window/Wnd.h"

#include <cstring>
#include <string>
#include <vector>

namespace sprite_test {

class RecordingMusicPlayer : public CWnd {
public:
    struct Received {
        ULONG_PTR data;
        DWORD bytes;
        DWORD owner;
        std::string text; // what lies after the owner, up to the stated size
    };

    bool Open() {
        return CreateEx(0, AfxRegisterWndClass(0), "KNMusic", WS_POPUP, 0, 0, 0, 0, nullptr,
                        nullptr);
    }
    std::vector<Received> received;

protected:
    BOOL OnCopyData(CWnd*, COPYDATASTRUCT* data) override {
        Received r{data->dwData, data->cbData, 0, std::string()};
        const auto* bytes = static_cast<const char*>(data->lpData);
        memcpy(&r.owner, bytes, 4);
        if (data->cbData > 4)
            r.text.assign(bytes + 4, data->cbData - 4);
        received.push_back(r);
        return TRUE;
    }
};

} // namespace sprite_test
