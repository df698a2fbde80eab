// The settings stores at scale: a registry key of 50,000 values and an ini
// file of 50,000 sections.

#include "platform/system/Profile.h"
#include "platform/system/Registry.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

constexpr int kCount = 50000;

// A settings folder of its own holding a registry with one large key.
std::string LargeRegistryFolder() {
    static std::string folder;
    if (!folder.empty())
        return folder;
    char pattern[] = "/tmp/pellor-settings-bench-XXXXXX";
    folder = mkdtemp(pattern);
    setenv("PELLOR_CONFIG_DIR", folder.c_str(), 1);
    FILE* file = fopen((folder + "/registry.txt").c_str(), "w");
    fprintf(file, "[HKEY_CURRENT_USER\\Software\\Large]\n");
    for (int i = 0; i < kCount; ++i)
        fprintf(file, "\"Value%d\"=dword:%08x\n", i, i);
    fclose(file);
    return folder;
}

// One read that finds the file changed: the whole key is read again.
void BM_ReadLargeRegistryKey(benchmark::State& state) {
    const std::string path = LargeRegistryFolder() + "/registry.txt";
    long stamp = 0;
    for (auto _ : state) {
        const timespec times[2] = {{1000000 + ++stamp, 0}, {1000000 + stamp, 0}};
        utimensat(AT_FDCWD, path.c_str(), times, 0); // another process's write, as it looks
        HKEY key = nullptr;
        RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Large", 0, KEY_READ, &key);
        DWORD value = 0, size = sizeof value;
        RegQueryValueEx(key, "value49999", nullptr, nullptr, reinterpret_cast<BYTE*>(&value),
                        &size);
        RegCloseKey(key);
        benchmark::DoNotOptimize(value);
    }
}
BENCHMARK(BM_ReadLargeRegistryKey)->Unit(benchmark::kMillisecond);

// Every value of the key looked up once, the file unchanged.
void BM_QueryEveryValueOfLargeKey(benchmark::State& state) {
    LargeRegistryFolder();
    HKEY key = nullptr;
    RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Large", 0, KEY_READ, &key);
    std::vector<std::string> names;
    for (int i = 0; i < kCount; ++i)
        names.push_back("VALUE" + std::to_string(i));
    for (auto _ : state) {
        for (const std::string& name : names) {
            DWORD value = 0, size = sizeof value;
            RegQueryValueEx(key, name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(&value),
                            &size);
            benchmark::DoNotOptimize(value);
        }
    }
    RegCloseKey(key);
}
BENCHMARK(BM_QueryEveryValueOfLargeKey)->Unit(benchmark::kMillisecond);

void BM_ListIniSections(benchmark::State& state) {
    char pattern[] = "/tmp/pellor-ini-bench-XXXXXX";
    const std::string path = std::string(mkdtemp(pattern)) + "/large.ini";
    FILE* file = fopen(path.c_str(), "w");
    for (int i = 0; i < kCount; ++i)
        fprintf(file, "[Section%d]\nkey=%d\n", i, i);
    fclose(file);
    std::vector<char> buffer(2u << 20);
    for (auto _ : state) {
        const DWORD length = GetPrivateProfileString(nullptr, nullptr, "", buffer.data(),
                                                     DWORD(buffer.size()), path.c_str());
        benchmark::DoNotOptimize(length);
    }
}
BENCHMARK(BM_ListIniSections)->Unit(benchmark::kMillisecond);

} // namespace
