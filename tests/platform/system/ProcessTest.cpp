// Starting outside programs: the command line reaches them as arguments,
// never through a command interpreter.

#include "platform/system/Process.h"
#include "platform/CodePage.h"
#include "platform/Errors.h"
#include "platform/system/Environment.h"
#include "platform/system/FileOps.h"
#include "platform/system/KernelObject.h"
#include "platform/system/Thread.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using Args = std::vector<std::string>;

TEST(ProcessTest, CommandLinesSplitByTheWindowsRules) {
    using platform::SplitCommandLine;
    EXPECT_EQ(SplitCommandLine("\"C:\\Program Files\\KNMusic.exe\" -play  x"),
              (Args{"C:\\Program Files\\KNMusic.exe", "-play", "x"}));
    EXPECT_EQ(SplitCommandLine("C:\\dir\\p.exe \"a b\" c\\\\\"d e\" f\\\"g h\\i"),
              (Args{"C:\\dir\\p.exe", "a b", "c\\d e", "f\"g", "h\\i"}));
    EXPECT_EQ(SplitCommandLine("p \"say \"\"hi\"\"\" \"\""), (Args{"p", "say \"hi\"", ""}));
    EXPECT_EQ(SplitCommandLine("   "), Args{});
    EXPECT_EQ(SplitCommandLine(nullptr), Args{});
    EXPECT_EQ(SplitCommandLine("\"unclosed program"), Args{"unclosed program"});
}

DWORD RunToEnd(std::string commandLine, const char* folder = nullptr) {
    STARTUPINFO startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcess(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder,
                       &startup, &info))
        return 1000 + GetLastError();
    EXPECT_NE(info.dwProcessId, 0u);
    EXPECT_EQ(WaitForSingleObject(info.hProcess, INFINITE), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(info.hThread, INFINITE), WAIT_OBJECT_0);
    DWORD code = 0;
    EXPECT_TRUE(GetExitCodeProcess(info.hProcess, &code));
    EXPECT_EQ(WaitForInputIdle(info.hProcess, 200), WAIT_FAILED); // it has ended
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return code;
}

TEST(ProcessTest, ArgumentsArriveWholeAndAsUtf8) {
    TempFolder folder;
    // One argument with a blank, a quote and shell characters: no shell reads it.
    std::string line = "/usr/bin/touch \"" + folder.Path() + "/" + "音乐 $(x);\\\"q\\\".txt" + "\"";
    EXPECT_EQ(RunToEnd(line), 0u);
    EXPECT_TRUE(std::filesystem::exists(
        folder.File(reinterpret_cast<const char*>(u8"音乐 $(x);\"q\".txt"))));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST(ProcessTest, TheFolderExitStatusAndExeNamesAreHonoured) {
    TempFolder folder;
    EXPECT_EQ(RunToEnd("touch.exe made-here", folder.Path().c_str()), 0u);
    EXPECT_TRUE(std::filesystem::exists(folder.File("made-here")));
    EXPECT_EQ(RunToEnd("/bin/false.exe"), 1u);
    EXPECT_EQ(RunToEnd("/no/such/KNMusic.exe"), 1000u + ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RunToEnd("no-such-program-here"), 1000u + ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RunToEnd(""), 1000u + ERROR_FILE_NOT_FOUND);
}

TEST(ProcessTest, ARunningProgramIsIdleAtOnceAndCanBeEnded) {
    std::string line = "sleep 30";
    PROCESS_INFORMATION info{};
    ASSERT_TRUE(CreateProcess(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                              nullptr, &info));
    EXPECT_EQ(WaitForInputIdle(info.hProcess, 200), 0u);
    DWORD code = 0;
    EXPECT_TRUE(GetExitCodeProcess(info.hProcess, &code));
    EXPECT_EQ(code, DWORD(STILL_ACTIVE));
    EXPECT_TRUE(TerminateProcess(info.hProcess, 1));
    EXPECT_EQ(WaitForSingleObject(info.hProcess, INFINITE), WAIT_OBJECT_0);
    EXPECT_TRUE(GetExitCodeProcess(info.hProcess, &code));
    EXPECT_EQ(code, 128u + 15u);
    EXPECT_EQ(WaitForInputIdle(info.hThread, 0), WAIT_FAILED); // a thread is no process
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
}

// A program built into this process starts on the calling thread.
struct BuiltinStarts {
    static inline std::vector<Args> args;
    static inline std::vector<std::string> folders;
    static inline bool refuse = false;
    static bool Start(const Args& a, const std::string& folder) {
        args.push_back(a);
        folders.push_back(folder);
        return !refuse;
    }
};

TEST(ProcessTest, ABuiltInProgramStartsInProcessFromAnyFolderAndRunsUntilEnded) {
    platform::RegisterBuiltinProgram("Player.exe", BuiltinStarts::Start);
    char commandLine[] = "\"C:\\No Such\\PLAYER.EXE\" -x";
    PROCESS_INFORMATION info{};
    ASSERT_TRUE(CreateProcess(nullptr, commandLine, nullptr, nullptr, FALSE, 0, nullptr,
                              "C:\\No Such", nullptr, &info));
    ASSERT_EQ(BuiltinStarts::args.size(), 1u);
    EXPECT_EQ(BuiltinStarts::args[0], (Args{"C:\\No Such\\PLAYER.EXE", "-x"}));
    EXPECT_EQ(BuiltinStarts::folders[0], "C:\\No Such");
    EXPECT_EQ(WaitForInputIdle(info.hProcess, 200), 0u);
    EXPECT_EQ(WaitForSingleObject(info.hProcess, 0), WAIT_TIMEOUT);
    EXPECT_TRUE(TerminateProcess(info.hProcess, 0));
    EXPECT_EQ(WaitForSingleObject(info.hThread, 0), WAIT_OBJECT_0);
    EXPECT_FALSE(TerminateProcess(info.hProcess, 0));
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);

    BuiltinStarts::refuse = true;
    char bare[] = "player";
    EXPECT_FALSE(
        CreateProcess(nullptr, bare, nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr, &info));
    EXPECT_EQ(BuiltinStarts::args.size(), 2u);
    EXPECT_TRUE(platform::UnregisterBuiltinProgram("player"));
    EXPECT_FALSE(CreateProcess(nullptr, bare, nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr,
                               &info)); // no such Linux program either
    EXPECT_EQ(BuiltinStarts::args.size(), 2u);
}

TEST(ProcessTest, EnvironmentReferencesExpandAndUnknownOnesStay) {
    setenv("PELLOR_TEST_MAIL", reinterpret_cast<const char*>(u8"/opt/邮件"), 1);
    const char* source = "\"%pellor_test_mail%\\bin\" -%NO_SUCH_VAR_X% 100% %%";
    std::string expected = "\"/opt/邮件\\bin\" -%NO_SUCH_VAR_X% 100% %%";
    DWORD needed = ExpandEnvironmentStrings(source, nullptr, 0);
    EXPECT_EQ(needed, expected.size() + 1);
    std::vector<char> small(needed - 1, 'k');
    EXPECT_EQ(ExpandEnvironmentStrings(source, small.data(), DWORD(small.size())), needed);
    EXPECT_EQ(small[0], 'k'); // too small: untouched
    std::vector<char> buffer(needed);
    EXPECT_EQ(ExpandEnvironmentStrings(source, buffer.data(), needed), needed);
    EXPECT_EQ(std::string(buffer.data()), expected);
    unsetenv("PELLOR_TEST_MAIL");
    EXPECT_EQ(ExpandEnvironmentStrings(nullptr, buffer.data(), needed), 0u);
}

} // namespace
