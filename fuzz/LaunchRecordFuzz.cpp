// The launch record's two forms from arbitrary input. The first byte picks
// the form: even, the rest is an argument vector split at NUL bytes; odd, the
// rest is the content (and size) of the shared block.

#include "knclientbase05/LaunchInfo.h"
#include "platform/system/KernelObject.h"
#include "platform/system/SharedMemory.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

void ParseArguments(const uint8_t* data, size_t size) {
    std::vector<std::string> texts{"pellor"};
    std::string current;
    for (size_t i = 0; i < size && texts.size() < 20; ++i) {
        if (data[i] == 0) {
            texts.push_back(current);
            current.clear();
        } else {
            current += static_cast<char>(data[i]);
        }
    }
    texts.push_back(current);
    std::vector<const char*> argv;
    for (const std::string& text : texts)
        argv.push_back(text.c_str());
    argv.push_back(nullptr);
    tagLAUNCHINFO record{};
    ParseLaunchArguments(static_cast<int>(texts.size()), argv.data(), &record);
}

void ReadBlock(const uint8_t* data, size_t size) {
    if (size == 0 || size > 1024)
        return;
    static const std::string name = "PellorLaunchFuzz-" + std::to_string(getpid());
    HANDLE block = CreateFileMapping(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                     static_cast<DWORD>(size), name.c_str());
    if (block == nullptr)
        return;
    if (void* view = MapViewOfFile(block, FILE_MAP_WRITE, 0, 0, size)) {
        memcpy(view, data, size);
        UnmapViewOfFile(view);
        tagLAUNCHINFO record{};
        ReadLaunchBlock(name.c_str(), &record);
    }
    CloseHandle(block);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    if (data[0] & 1)
        ReadBlock(data + 1, size - 1);
    else
        ParseArguments(data + 1, size - 1);
    return 0;
}
