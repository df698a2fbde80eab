#include "platform/system/SharedMemory.h"

#include "platform/Errors.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Names unique to this run, so parallel test programs never meet.
std::string UniqueName(const char* what) {
    return std::string("PellorTest_") + what + "_" + std::to_string(getpid());
}

HANDLE Create(const std::string& name, DWORD size) {
    return CreateFileMapping(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, size, name.c_str());
}

int ExitCodeOf(pid_t child) {
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(SharedMemoryTest, NamesBecomeSafePosixNames) {
    std::string plain = SharedMemoryName("KN_ROOM_REC");
    EXPECT_EQ(plain.rfind("/pellor-", 0), 0u);
    EXPECT_EQ(plain.find('/', 1), std::string::npos);
    EXPECT_NE(plain.find("KN_ROOM_REC"), std::string::npos);
    EXPECT_EQ(SharedMemoryName("Local\\KN_ROOM_REC"), plain);
    EXPECT_NE(SharedMemoryName("kn_room_rec"), plain);
    std::string odd = SharedMemoryName("../a/b\\c\xB9");
    EXPECT_EQ(odd.find('/', 1), std::string::npos);
    EXPECT_NE(odd, SharedMemoryName("../a/b\\c\xBA"));
    std::string longName(1000, 'x');
    EXPECT_LT(SharedMemoryName(longName).size(), 255u);
    EXPECT_NE(SharedMemoryName(longName), SharedMemoryName(longName + "y"));
}

TEST(SharedMemoryTest, SecondCreateFindsTheFirst) {
    std::string name = UniqueName("create");
    HANDLE first = Create(name, 496);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
    auto* bytes = static_cast<unsigned char*>(MapViewOfFile(first, FILE_MAP_ALL_ACCESS, 0, 0, 0));
    ASSERT_NE(bytes, nullptr);
    for (int i = 0; i < 496; ++i)
        ASSERT_EQ(bytes[i], 0) << "a new block is zero-filled";
    bytes[495] = 0x5A;

    HANDLE second = Create(name, 1); // the existing block keeps its own size
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    auto* again = static_cast<unsigned char*>(MapViewOfFile(second, FILE_MAP_READ, 0, 0, 496));
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again[495], 0x5A);

    EXPECT_TRUE(UnmapViewOfFile(again));
    EXPECT_TRUE(UnmapViewOfFile(bytes));
    EXPECT_TRUE(CloseHandle(second));
    EXPECT_TRUE(CloseHandle(first));
    EXPECT_EQ(OpenFileMapping(FILE_MAP_READ, FALSE, name.c_str()), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST(SharedMemoryTest, WrittenByOneProcessReadByAnother) {
    std::string name = UniqueName("launch");
    int ready[2];
    int done[2];
    ASSERT_EQ(pipe(ready), 0);
    ASSERT_EQ(pipe(done), 0);
    pid_t child = fork();
    if (child == 0) {
        // The launcher: creates the record, fills it, waits until it was read.
        HANDLE mapping = Create(name, 496);
        auto* record = static_cast<char*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 496));
        if (!record)
            _exit(1);
        int seat = 3;
        memcpy(record, &seat, 4);
        strcpy(record + 4, "player");
        char signal = 1;
        if (write(ready[1], &signal, 1) != 1 || read(done[0], &signal, 1) != 1)
            _exit(2);
        _exit(0);
    }
    char signal = 0;
    ASSERT_EQ(read(ready[0], &signal, 1), 1);
    HANDLE mapping = OpenFileMapping(FILE_MAP_READ, FALSE, name.c_str());
    ASSERT_NE(mapping, nullptr);
    const auto* record = static_cast<const char*>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 496));
    ASSERT_NE(record, nullptr);
    int seat = 0;
    memcpy(&seat, record, 4);
    EXPECT_EQ(seat, 3);
    EXPECT_STREQ(record + 4, "player");
    EXPECT_EQ(write(done[1], &signal, 1), 1);
    EXPECT_EQ(ExitCodeOf(child), 0);

    // The launcher has gone; our handle and view keep the block.
    EXPECT_STREQ(record + 4, "player");
    UnmapViewOfFile(record);
    CloseHandle(mapping);
    EXPECT_EQ(OpenFileMapping(FILE_MAP_READ, FALSE, name.c_str()), nullptr);
    for (int fd : {ready[0], ready[1], done[0], done[1]})
        close(fd);
}

TEST(SharedMemoryTest, BlockOfADeadProcessCountsAsGone) {
    std::string name = UniqueName("dead");
    pid_t child = fork();
    if (child == 0) {
        HANDLE mapping = Create(name, 64);
        auto* bytes = static_cast<char*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 0));
        bytes[0] = 'x';
        _exit(0); // dies holding it: nothing is closed
    }
    ASSERT_EQ(ExitCodeOf(child), 0);
    EXPECT_EQ(OpenFileMapping(FILE_MAP_READ, FALSE, name.c_str()), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));

    child = fork();
    if (child == 0) {
        Create(name, 64);
        _exit(0);
    }
    ASSERT_EQ(ExitCodeOf(child), 0);
    HANDLE fresh = Create(name, 64);
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
    auto* bytes = static_cast<char*>(MapViewOfFile(fresh, FILE_MAP_READ, 0, 0, 0));
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(bytes[0], 0);
    UnmapViewOfFile(bytes);
    CloseHandle(fresh);
}

TEST(SharedMemoryTest, ViewsOutsideTheRulesAreRefused) {
    std::string name = UniqueName("views");
    HANDLE owner = Create(name, 100);
    ASSERT_NE(owner, nullptr);
    HANDLE reader = OpenFileMapping(FILE_MAP_READ, FALSE, name.c_str());
    ASSERT_NE(reader, nullptr);
    EXPECT_EQ(MapViewOfFile(reader, FILE_MAP_WRITE, 0, 0, 0), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(MapViewOfFile(owner, FILE_MAP_READ, 0, 0, 101), nullptr);
    EXPECT_EQ(MapViewOfFile(owner, FILE_MAP_READ, 0, 4096, 0), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MAPPED_ALIGNMENT));
    int local = 0;
    EXPECT_EQ(MapViewOfFile(reinterpret_cast<HANDLE>(&local), FILE_MAP_READ, 0, 0, 0), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_FALSE(UnmapViewOfFile(&local));
    EXPECT_EQ(CreateFileMapping(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 0, "x"), nullptr);
    EXPECT_EQ(OpenFileMapping(FILE_MAP_READ, FALSE, nullptr), nullptr);
    CloseHandle(reader);
    CloseHandle(owner);
}

TEST(SharedMemoryTest, ViewOutlivesItsHandle) {
    std::string name = UniqueName("outlive");
    HANDLE mapping = Create(name, 16);
    auto* bytes = static_cast<char*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 0));
    ASSERT_NE(bytes, nullptr);
    CloseHandle(mapping);
    strcpy(bytes, "still here");
    HANDLE other = OpenFileMapping(FILE_MAP_READ, FALSE, name.c_str());
    ASSERT_NE(other, nullptr);
    auto* seen = static_cast<char*>(MapViewOfFile(other, FILE_MAP_READ, 0, 0, 0));
    EXPECT_STREQ(seen, "still here");
    UnmapViewOfFile(seen);
    CloseHandle(other);
    UnmapViewOfFile(bytes);
    EXPECT_EQ(OpenFileMapping(FILE_MAP_READ, FALSE, name.c_str()), nullptr);
}

TEST(SharedMemoryTest, UnnamedBlockIsPrivate) {
    HANDLE mapping =
        CreateFileMapping(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 1, nullptr);
    ASSERT_NE(mapping, nullptr);
    auto* byte = static_cast<char*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 1));
    ASSERT_NE(byte, nullptr);
    *byte = 7;
    EXPECT_EQ(*byte, 7);
    UnmapViewOfFile(byte);
    CloseHandle(mapping);
}

} // namespace
