// The shell's "open" of a program with parameters: the parameters become
// arguments without a command interpreter, and documents still go to the
// opener.

#include "tests/support/RealWaits.h"
#include "tests/support/TempFolder.h"

#include "platform/system/Shell.h"

#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <thread>

namespace {

using Arguments = std::vector<std::string>;

TEST(ShellParametersTest, BlanksSplitAndQuotesGroup) {
    using platform::SplitShellParameters;
    EXPECT_EQ(SplitShellParameters(nullptr), Arguments{});
    EXPECT_EQ(SplitShellParameters("  "), Arguments{});
    EXPECT_EQ(SplitShellParameters(" -a  b\tc "), (Arguments{"-a", "b", "c"}));
    EXPECT_EQ(SplitShellParameters("\"two words\" x\"y z\""), (Arguments{"two words", "xy z"}));
    EXPECT_EQ(SplitShellParameters("\"\" ;rm"), (Arguments{"", ";rm"}));
}

class ShellExecuteTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::SetShellExecuteHook([this](LPCSTR, LPCSTR file, int) -> INT_PTR {
            opened.push_back(file);
            return 42;
        });
        platform::SetShellProgramHook([this](LPCSTR program, const Arguments& arguments) {
            started.push_back(program);
            startedWith = arguments;
            return INT_PTR(43);
        });
    }
    void TearDown() override {
        platform::SetShellExecuteHook(nullptr);
        platform::SetShellProgramHook(nullptr);
    }
    std::vector<std::string> opened, started;
    Arguments startedWith;
};

TEST_F(ShellExecuteTest, ParametersMakeTheFileAProgram) {
    EXPECT_EQ(INT_PTR(ShellExecute(nullptr, "open", "/usr/bin/mailer", "-c \"a b\"", nullptr, 1)),
              43);
    EXPECT_EQ(started, std::vector<std::string>{"/usr/bin/mailer"});
    EXPECT_EQ(startedWith, (Arguments{"-c", "a b"}));
    EXPECT_TRUE(opened.empty());

    EXPECT_EQ(INT_PTR(ShellExecute(nullptr, "open", "http://example.com", nullptr, nullptr, 1)),
              42);
    EXPECT_EQ(INT_PTR(ShellExecute(nullptr, "open", "notes.txt", "", nullptr, 1)), 42);
    EXPECT_EQ(opened, (std::vector<std::string>{"http://example.com", "notes.txt"}));
    EXPECT_EQ(started.size(), 1u);
    EXPECT_EQ(INT_PTR(ShellExecute(nullptr, "open", "-rf", "x", nullptr, 1)), SE_ERR_FNF);
}

// An address reaches the desktop only when it is a web page's (or a mail
// address): the desktop would open any other, a local file among them.
TEST_F(ShellExecuteTest, OnlyWebPagesAmongAddressesAreHandedOn) {
    for (const char* page : {"http://a.example", "HTTPS://a.example/x?y=1"}) {
        EXPECT_TRUE(IsWebAddress(page)) << page;
        EXPECT_EQ(INT_PTR(ShellExecute(nullptr, "open", page, nullptr, nullptr, 1)), 42) << page;
    }
    for (const char* refused : {"file:///etc/passwd", "javascript:alert(1)", "smb://host/share",
                                "http://", "http:///etc/passwd", "https://a b", "http://a\x7f"}) {
        EXPECT_FALSE(IsWebAddress(refused)) << refused;
        EXPECT_EQ(INT_PTR(ShellExecute(nullptr, "open", refused, nullptr, nullptr, 1)),
                  SE_ERR_ACCESSDENIED)
            << refused;
    }
    EXPECT_FALSE(IsWebAddress(nullptr));
    EXPECT_FALSE(IsWebAddress("www.example.com"));
    // Documents are no addresses, a drive's name included.
    EXPECT_EQ(INT_PTR(ShellExecute(nullptr, "open", "C:\\notes.txt", nullptr, nullptr, 1)), 42);
    EXPECT_EQ(opened, (std::vector<std::string>{"http://a.example", "HTTPS://a.example/x?y=1",
                                                "C:\\notes.txt"}));
}

TEST(ShellProgramTest, ArgumentsReachTheProgramLiterally) {
    TempFolder temp;
    // A command interpreter would run "touch" twice here, and make no file
    // whose name holds the semicolon.
    const std::string name = temp.File("a;touch b");
    ASSERT_GT(INT_PTR(ShellExecute(nullptr, "open", "/usr/bin/touch", ("\"" + name + "\"").c_str(),
                                   nullptr, 1)),
              32);
    // The program runs detached: wait for it, bounded.
    const std::time_t deadline = std::time(nullptr) + kRealWaitSeconds;
    while (!std::filesystem::exists(name) && std::time(nullptr) < deadline)
        std::this_thread::yield();
    EXPECT_TRUE(std::filesystem::exists(name));
    EXPECT_FALSE(std::filesystem::exists(temp.File("b")));
}

// A mail address goes to the desktop's mail handler, found in PATH; without
// one, the opening fails and says so.
TEST(ShellMailTest, AMailAddressStartsTheMailHandlerAndItsAbsenceIsTold) {
    TempFolder handler, empty;
    const std::string marker = handler.File("opened");
    handler.Write("xdg-email", "#!/bin/sh\necho \"$1\" > '" + marker + "'\n");
    std::filesystem::permissions(handler.File("xdg-email"), std::filesystem::perms::owner_all);
    const std::string savedPath = getenv("PATH") ? getenv("PATH") : "";
    setenv("PATH", handler.Path().c_str(), 1);
    const INT_PTR started = INT_PTR(ShellExecute(nullptr, "open", "mailto:", nullptr, nullptr, 1));
    setenv("PATH", empty.Path().c_str(), 1);
    const INT_PTR missing = INT_PTR(ShellExecute(nullptr, "open", "mailto:", nullptr, nullptr, 1));
    setenv("PATH", savedPath.c_str(), 1);
    EXPECT_GT(started, 32);
    EXPECT_LE(missing, 32);
    const std::time_t deadline = std::time(nullptr) + 10;
    while (!std::filesystem::exists(marker) && std::time(nullptr) < deadline)
        std::this_thread::yield();
    ASSERT_TRUE(std::filesystem::exists(marker));
    std::ifstream opened(marker);
    std::string address;
    std::getline(opened, address);
    EXPECT_EQ(address, "mailto:");
}

} // namespace
