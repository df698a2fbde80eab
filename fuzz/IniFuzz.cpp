// Arbitrary bytes as an ini file: every read must come back terminated and
// inside its buffer, and a value written must read back unchanged.

#include "platform/system/Profile.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

namespace {

std::string FuzzFile() {
    static const std::string path = "/tmp/pellor-inifuzz-" + std::to_string(getpid()) + ".ini";
    return path;
}

void WriteFile(const std::string& path, const uint8_t* data, size_t size) {
    FILE* file = fopen(path.c_str(), "wb");
    if (!file)
        abort();
    fwrite(data, 1, size, file);
    fclose(file);
}

// A NUL-terminated list must end inside the buffer, with two NULs.
void CheckList(const char* buffer, DWORD length, DWORD size) {
    if (length >= size || buffer[length] != '\0')
        abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = FuzzFile();
    WriteFile(path, data, size);
    const char* file = path.c_str();

    // Names for the look-ups come from the input's first bytes.
    std::string section(reinterpret_cast<const char*>(data), size < 3 ? size : 3);
    section.erase(std::strcspn(section.c_str(), "\r\n]"));
    char buffer[40];
    char sections[40];
    DWORD length = GetPrivateProfileString(nullptr, nullptr, "", sections, sizeof sections, file);
    CheckList(sections, length, sizeof sections);
    length = GetPrivateProfileString(section.c_str(), nullptr, "", buffer, sizeof buffer, file);
    CheckList(buffer, length, sizeof buffer);
    std::string key = length ? std::string(buffer) : "k";
    length =
        GetPrivateProfileString(section.c_str(), key.c_str(), "d", buffer, sizeof buffer, file);
    if (length >= sizeof buffer || buffer[length] != '\0')
        abort();
    GetPrivateProfileInt(section.c_str(), key.c_str(), 0, file);
    length = GetPrivateProfileSection(section.c_str(), buffer, sizeof buffer, file);
    CheckList(buffer, length, sizeof buffer);

    if (WritePrivateProfileString(section.c_str(), "fuzzkey", "fuzz value", file)) {
        GetPrivateProfileString(section.c_str(), "FUZZKEY", "", buffer, sizeof buffer, file);
        if (strcmp(buffer, "fuzz value") != 0)
            abort();
    }
    unlink(file);
    return 0;
}
