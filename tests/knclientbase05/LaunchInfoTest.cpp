#include "knclientbase05/LaunchInfo.h"

#include "outside/CrtArguments.h"
#include "platform/system/KernelObject.h"
#include "platform/system/SharedMemory.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

// The lobby's thirteen arguments, changed where a test needs.
std::vector<std::string> LobbyArguments() {
    return {"pellor",   "3",    "alice",      "Alice",        "ticket-77", "1234", "room-9",
            "10.0.0.5", "7001", "extra text", "chat.example", "7002",      "lv3",  "4096"};
}

class LaunchArguments {
public:
    explicit LaunchArguments(std::vector<std::string> arguments) : texts_(std::move(arguments)) {
        for (auto& text : texts_)
            pointers_.push_back(text.data());
        pointers_.push_back(nullptr);
    }
    int Count() const { return static_cast<int>(texts_.size()); }
    char** Vector() { return pointers_.data(); }

private:
    std::vector<std::string> texts_;
    std::vector<char*> pointers_;
};

// A record filled with a marker byte, so that what was not written shows.
tagLAUNCHINFO MarkedRecord() {
    tagLAUNCHINFO record;
    memset(&record, 0x5A, sizeof record);
    return record;
}

int Parse(const std::vector<std::string>& arguments, tagLAUNCHINFO* record) {
    LaunchArguments launch(arguments);
    return ParseLaunchArguments(launch.Count(), launch.Vector(), record);
}

// Runs the parse with the log captured; returns the log.
std::string ParseLogged(const std::vector<std::string>& arguments, tagLAUNCHINFO* record,
                        int* result) {
    testing::internal::CaptureStderr();
    *result = Parse(arguments, record);
    return testing::internal::GetCapturedStderr();
}

TEST(LaunchArgumentsTest, FillsEveryFieldFromThirteenArguments) {
    tagLAUNCHINFO record = MarkedRecord();
    ASSERT_EQ(Parse(LobbyArguments(), &record), 1);
    EXPECT_EQ(record.nSeatIndex, 2);
    EXPECT_STREQ(record.szUserName, "alice");
    EXPECT_STREQ(record.szNickName, "Alice");
    EXPECT_STREQ(record.szLoginInfo, "ticket-77");
    EXPECT_EQ(record.wLoginValue, 1234);
    EXPECT_STREQ(record.szRoom, "room-9");
    EXPECT_STREQ(record.szGameServer, "10.0.0.5");
    EXPECT_EQ(record.wGameServerPort, 7001);
    EXPECT_STREQ(record.szExtra, "extra text");
    EXPECT_STREQ(record.szChatServer, "chat.example");
    EXPECT_EQ(record.wChatServerPort, 7002);
    EXPECT_STREQ(record.szShortText, "lv3");
    EXPECT_EQ(record.dwNumberValue, 4096u);
    EXPECT_EQ(record.dwOption, 0u);
    // Padding and reserved bytes keep what they held.
    EXPECT_EQ(record.bPadding[0], 0x5A);
    EXPECT_EQ(record.bPadding[1], 0x5A);
    EXPECT_EQ(record.bReserved[3], 0x5A);
    // Texts are zero behind their terminator, not left with old bytes.
    EXPECT_EQ(record.szUserName[19], 0);
}

TEST(LaunchArgumentsTest, TakesTheOptionFlagFromAFourteenthArgument) {
    for (const char* option : {"1", "2"}) {
        auto arguments = LobbyArguments();
        arguments.push_back(option);
        tagLAUNCHINFO record = MarkedRecord();
        ASSERT_EQ(Parse(arguments, &record), 1);
        EXPECT_EQ(record.dwOption, static_cast<DWORD>(atoi(option)));
    }
}

TEST(LaunchArgumentsTest, KeepsTheLowSixteenBitsOfAPortAndSaysSo) {
    auto arguments = LobbyArguments();
    arguments[8] = "70000";
    tagLAUNCHINFO record = MarkedRecord();
    int result = 0;
    std::string log = ParseLogged(arguments, &record, &result);
    ASSERT_EQ(result, 1);
    EXPECT_EQ(record.wGameServerPort, 4464);
    EXPECT_NE(log.find("game server port 70000"), std::string::npos) << log;
}

TEST(LaunchArgumentsTest, CutsLongTextsAtTheFieldWithoutSplittingACharacter) {
    auto arguments = LobbyArguments();
    arguments[2] = std::string(25, 'u');
    // Ten double-byte characters: 20 bytes where 19 fit, so nine remain.
    arguments[3] = "";
    for (int i = 0; i < 10; ++i)
        arguments[3] += "\xD5\xC5";
    tagLAUNCHINFO record = MarkedRecord();
    int result = 0;
    std::string log = ParseLogged(arguments, &record, &result);
    ASSERT_EQ(result, 1);
    EXPECT_EQ(std::string(record.szUserName), std::string(19, 'u'));
    EXPECT_EQ(strlen(record.szNickName), 18u);
    EXPECT_EQ(std::string(record.szNickName), arguments[3].substr(0, 18));
    EXPECT_NE(log.find("user name longer than 19 bytes"), std::string::npos) << log;
}

TEST(LaunchArgumentsTest, RefusesWrongArgumentCountsAndLeavesTheRecord) {
    for (size_t count : {1u, 2u, 13u, 16u}) {
        auto arguments = LobbyArguments();
        arguments.resize(count, "1");
        tagLAUNCHINFO record = MarkedRecord();
        int result = 1;
        std::string log = ParseLogged(arguments, &record, &result);
        EXPECT_EQ(result, 0) << count;
        EXPECT_NE(log.find("launch record refused"), std::string::npos) << log;
        tagLAUNCHINFO untouched = MarkedRecord();
        EXPECT_EQ(memcmp(&record, &untouched, sizeof record), 0) << count;
    }
}

TEST(LaunchArgumentsTest, RefusesASeatThatIsNotASeat) {
    for (const char* seat : {"x", "0", "-4", ""}) {
        auto arguments = LobbyArguments();
        arguments[1] = seat;
        tagLAUNCHINFO record = MarkedRecord();
        int result = 1;
        std::string log = ParseLogged(arguments, &record, &result);
        EXPECT_EQ(result, 0) << seat;
        EXPECT_NE(log.find("is not a seat"), std::string::npos) << log;
        EXPECT_EQ(record.nSeatIndex, 0x5A5A5A5A);
    }
}

TEST(LaunchArgumentsTest, ReadsABadNumberAsZeroAndLogsIt) {
    auto arguments = LobbyArguments();
    arguments[13] = "lots";
    tagLAUNCHINFO record = MarkedRecord();
    int result = 0;
    std::string log = ParseLogged(arguments, &record, &result);
    ASSERT_EQ(result, 1);
    EXPECT_EQ(record.dwNumberValue, 0u);
    EXPECT_NE(log.find("number value \"lots\" is not a number"), std::string::npos) << log;
}

TEST(LaunchArgumentsTest, RefusesAMissingArgument) {
    LaunchArguments launch(LobbyArguments());
    launch.Vector()[5] = nullptr;
    tagLAUNCHINFO record = MarkedRecord();
    testing::internal::CaptureStderr();
    EXPECT_EQ(ParseLaunchArguments(launch.Count(), launch.Vector(), &record), 0);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("argument 5 is missing"),
              std::string::npos);
}

// Swaps the process's argument vector for one test.
class ProcessArguments {
public:
    explicit ProcessArguments(std::vector<std::string> arguments)
        : launch_(std::move(arguments)), savedCount_(__argc), savedVector_(__argv) {
        __argc = launch_.Count();
        __argv = launch_.Vector();
    }
    ~ProcessArguments() {
        __argc = savedCount_;
        __argv = savedVector_;
    }

private:
    LaunchArguments launch_;
    int savedCount_;
    char** savedVector_;
};

TEST(ReadLaunchInfoTest, ReadsTheProcessArgumentsIntoTheGlobalRecord) {
    ProcessArguments arguments(LobbyArguments());
    memset(&theLaunchInfo, 0, sizeof theLaunchInfo);
    ASSERT_EQ(ReadLaunchInfo(), 1);
    EXPECT_EQ(theLaunchInfo.nSeatIndex, 2);
    EXPECT_STREQ(theLaunchInfo.szUserName, "alice");
    ASSERT_EQ(ReadLaunchInfoOneBased(), 1);
    EXPECT_EQ(theLaunchInfo.nSeatIndex, 3);
}

TEST(ReadLaunchInfoTest, TheTestProgramItselfHasNoLaunchRecord) {
    // The C runtime's copy holds this program's own command line.
    ASSERT_NE(__argv, nullptr);
    ASSERT_GE(__argc, 1);
    EXPECT_STREQ(__argv[0], program_invocation_name);
}

// A lobby in a child process: creates the named block of the given size,
// fills it, and keeps it alive until the parent has read it.
class LobbyProcess {
public:
    LobbyProcess(const std::string& name, DWORD size, const tagLAUNCHINFO& record) {
        int ready[2], done[2];
        EXPECT_EQ(pipe(ready), 0);
        EXPECT_EQ(pipe(done), 0);
        child_ = fork();
        if (child_ == 0) {
            close(ready[0]);
            close(done[1]);
            HANDLE block = CreateFileMapping(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, size,
                                             name.c_str());
            void* view = block ? MapViewOfFile(block, FILE_MAP_WRITE, 0, 0, size) : nullptr;
            if (view != nullptr)
                memcpy(view, &record, size < sizeof record ? size : sizeof record);
            char signal = view != nullptr ? 'y' : 'n';
            (void)!write(ready[1], &signal, 1);
            (void)!read(done[0], &signal, 1);
            _exit(0);
        }
        close(ready[1]);
        close(done[0]);
        done_ = done[1];
        char signal = 0;
        EXPECT_EQ(read(ready[0], &signal, 1), 1);
        EXPECT_EQ(signal, 'y');
        close(ready[0]);
    }
    ~LobbyProcess() {
        close(done_);
        int status = 0;
        waitpid(child_, &status, 0);
    }

private:
    pid_t child_ = -1;
    int done_ = -1;
};

std::string BlockName(const char* purpose) {
    return std::string("PellorLaunch-") + purpose + "-" + std::to_string(getpid());
}

tagLAUNCHINFO LobbyRecord() {
    tagLAUNCHINFO record;
    memset(&record, 0, sizeof record);
    record.nSeatIndex = 3;
    // A name that fills its field to the last byte, with no terminator.
    memset(record.szUserName, 'n', sizeof record.szUserName);
    strcpy(record.szRoom, "room-1");
    record.wGameServerPort = 7001;
    memset(record.szShortText, 's', sizeof record.szShortText);
    record.bPadding[0] = 0xAB;
    record.bPadding[1] = 0xCD;
    record.dwNumberValue = 77;
    record.dwOption = 1;
    memcpy(record.bReserved, "\x01\x02\x03\x04", 4);
    return record;
}

TEST(LaunchBlockTest, ReadsTheRecordALobbyProcessWrote) {
    std::string name = BlockName("whole");
    LobbyProcess lobby(name, sizeof(tagLAUNCHINFO), LobbyRecord());
    ProcessArguments arguments({"pellor", name});
    memset(&theLaunchInfo, 0, sizeof theLaunchInfo);
    ASSERT_EQ(ReadLaunchInfo(), 1);
    EXPECT_EQ(theLaunchInfo.nSeatIndex, 2);
    EXPECT_STREQ(theLaunchInfo.szRoom, "room-1");
    EXPECT_EQ(theLaunchInfo.wGameServerPort, 7001);
    EXPECT_EQ(theLaunchInfo.dwNumberValue, 77u);
    EXPECT_EQ(theLaunchInfo.dwOption, 1u);
    // Full text fields end inside their field.
    EXPECT_EQ(std::string(theLaunchInfo.szUserName), std::string(19, 'n'));
    EXPECT_EQ(std::string(theLaunchInfo.szShortText), std::string(15, 's'));
    // Padding and reserved bytes come as the block holds them.
    EXPECT_EQ(theLaunchInfo.bPadding[0], 0xAB);
    EXPECT_EQ(theLaunchInfo.bPadding[1], 0xCD);
    EXPECT_EQ(memcmp(theLaunchInfo.bReserved, "\x01\x02\x03\x04", 4), 0);
}

TEST(LaunchBlockTest, RefusesABlockShorterThanTheRecord) {
    std::string name = BlockName("short");
    LobbyProcess lobby(name, 100, LobbyRecord());
    tagLAUNCHINFO record = MarkedRecord();
    testing::internal::CaptureStderr();
    EXPECT_EQ(ReadLaunchBlock(name.c_str(), &record), 0);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("shorter than 496 bytes"),
              std::string::npos);
    EXPECT_EQ(record.nSeatIndex, 0x5A5A5A5A);
}

TEST(LaunchBlockTest, RefusesAMissingBlockOrASeatOfZero) {
    tagLAUNCHINFO record = MarkedRecord();
    testing::internal::CaptureStderr();
    EXPECT_EQ(ReadLaunchBlock(BlockName("absent").c_str(), &record), 0);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("no shared block"), std::string::npos);

    std::string name = BlockName("seat0");
    tagLAUNCHINFO lobbyRecord = LobbyRecord();
    lobbyRecord.nSeatIndex = 0;
    LobbyProcess lobby(name, sizeof lobbyRecord, lobbyRecord);
    testing::internal::CaptureStderr();
    EXPECT_EQ(ReadLaunchBlock(name.c_str(), &record), 0);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("is not a seat"), std::string::npos);
    EXPECT_EQ(record.nSeatIndex, 0x5A5A5A5A);
}

} // namespace
