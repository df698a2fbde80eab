#include "knclientbase05/KNpubSystem.h"

#include "knbase05/md5checksum.h"
#include "platform/system/Path.h"
#include "platform/system/ProcessInfo.h"
#include "platform/system/Trace.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

namespace {

HookFunction2 hookA = nullptr;
HookFunction2 hookB = nullptr;
HookFunction3 hookC = nullptr;
HookFunction3 hookD = nullptr;

std::string Generation(const char* path, int number) {
    return std::string(path) + "." + std::to_string(number);
}

bool Rename(const std::string& from, const std::string& to) {
    return std::rename(NativePath(from.c_str()).c_str(), NativePath(to.c_str()).c_str()) == 0;
}

FILE* OpenFile(const char* path, const char* mode) {
    return fopen(NativePath(path).c_str(), mode);
}

} // namespace

int DeleteTree(const char* path) {
    DWORD attributes = GetFileAttributes(path);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return 0;
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
        return DeleteFile(path) ? 1 : 0;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(NativePath(path), error)) {
        std::string child =
            std::string(path) + "\\" + WindowsPath(entry.path().filename().string());
        if (!DeleteTree(child.c_str()))
            return 0;
    }
    if (error)
        return 0;
    return RemoveDirectory(path) ? 1 : 0;
}

DWORD GetFileSizeByName(const char* path) {
    FILE* file = OpenFile(path, "rb");
    if (file == nullptr)
        return 0;
    long size = fseek(file, 0, SEEK_END) == 0 ? ftell(file) : 0;
    fclose(file);
    return size > 0 ? static_cast<DWORD>(size) : 0;
}

int WriteWholeFile(const char* path, const void* bytes, DWORD count) {
    FILE* file = OpenFile(path, "wb");
    if (file == nullptr)
        return 0;
    fwrite(bytes, 1, count, file);
    fclose(file);
    return 1;
}

DWORD AppendToFile(const char* path, const void* bytes, DWORD count) {
    FILE* file = OpenFile(path, "ab");
    if (file == nullptr)
        return 0;
    size_t written = fwrite(bytes, 1, count, file);
    fclose(file);
    return static_cast<DWORD>(written);
}

void RotateFiles(const char* path) {
    DeleteFile(Generation(path, 9).c_str());
    for (int number = 8; number >= 1; --number)
        Rename(Generation(path, number), Generation(path, number + 1));
    Rename(path, Generation(path, 1));
}

const char* GetCommandInterpreter() {
    return "CMD";
}

bool RegSetDword(HKEY root, const char* subKey, const char* valueName, DWORD value) {
    HKEY key = nullptr;
    if (RegCreateKey(root, subKey, &key) != ERROR_SUCCESS)
        return false;
    LSTATUS result = RegSetValueEx(key, valueName, 0, REG_DWORD,
                                   reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

bool GetProcessMemory(size_t* workingSet, size_t* peakWorkingSet) {
    PROCESS_MEMORY_COUNTERS counters{};
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters))
        return false;
    *workingSet = counters.WorkingSetSize;
    *peakWorkingSet = counters.PeakWorkingSetSize;
    return true;
}

void DebugTrace(const char* format, ...) {
    va_list args;
    va_start(args, format);
    platform::TraceV(platform::TraceChannel::kNetwork, platform::kTraceError, format, args);
    va_end(args);
}

int CompareU32(const void* a, const void* b) {
    return static_cast<int>(*static_cast<const DWORD*>(a) - *static_cast<const DWORD*>(b));
}

DWORD FrameTotalLength(const void* header) {
    if (header == nullptr)
        return 0;
    DWORD words[2];
    memcpy(words, header, sizeof words);
    return words[1] + ((words[0] & 0x80000000u) ? 12 : 8);
}

void Md5Of(BYTE digest[16], const void* data, UINT length) {
    MD5Digest(digest, data, length);
}

DWORD GetLibraryWord() {
    return 0x04000001;
}

void SetLibraryHooks(HookFunction2 a, HookFunction2 b, HookFunction3 c, HookFunction3 d) {
    hookA = a;
    hookB = b;
    hookC = c;
    hookD = d;
}

BYTE CallHookA(void* first, void* second) {
    return hookA != nullptr ? static_cast<BYTE>(hookA(first, second)) : 0;
}

BYTE CallHookB(void* first, void* second) {
    return hookB != nullptr ? static_cast<BYTE>(hookB(first, second)) : 0;
}

BYTE CallHookC(void* first, void* second, void* third) {
    return hookC != nullptr ? static_cast<BYTE>(hookC(first, second, third)) : 0;
}

BYTE CallHookD(void* first, void* second, void* third) {
    return hookD != nullptr ? static_cast<BYTE>(hookD(first, second, third)) : 0;
}
