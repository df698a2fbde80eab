#include "knclientbase05/FrameworkSupport.h"

#include "knclientbase05/KNpubSystem.h"
#include "platform/resources/Resource.h"

#include <algorithm>
#include <cstring>

namespace framework {

bool HasPayload(DWORD type, DWORD length, DWORD needed) {
    if (length >= needed)
        return true;
    DebugTrace("framework frame %#x: %u payload bytes where %u are needed; dropped", type, length,
               needed);
    return false;
}

std::vector<BYTE> MakeFrame(DWORD type, DWORD result, const void* payload, size_t length) {
    const size_t headerSize = FrameHeaderSize(type);
    std::vector<BYTE> frame(std::max(headerSize + length, sizeof(tagMSGHEADER)), 0);
    auto* header = reinterpret_cast<tagMSGHEADER*>(frame.data());
    header->type = type;
    header->length = DWORD(length);
    if (headerSize == sizeof(tagMSGHEADER))
        header->result = result;
    if (length > 0)
        memcpy(frame.data() + headerSize, payload, length);
    return frame;
}

std::string ResourceString(UINT id) {
    char text[1024] = "";
    AfxLoadString(id, text, sizeof text);
    return text;
}

} // namespace framework
