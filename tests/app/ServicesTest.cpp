// The shell's small services: the log line, the program folder, the file
// check, the lock, the message box entry without a window, the chat line.

#include "app/AppServices.h"

#include "platform/controls/ControlHost.h"
#include "platform/resources/ResourceStyles.h"
#include "platform/system/FileIo.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace {

class ServicesTest : public ::testing::Test {
protected:
    void SetUp() override {
        logFile = folder.File("app.log");
        SetLogFileOverride(logFile.c_str());
    }
    void TearDown() override {
        SetLogFileOverride(nullptr);
        SetLogClock(nullptr);
        SetMessageBoxPresenter(nullptr);
    }
    std::string Log() const {
        std::string text;
        ReadWholeFile(logFile, text, size_t(1) << 30);
        return text;
    }
    static time_t LocalTime(int year, int month, int day, int hour, int minute, int second) {
        struct tm local {};
        local.tm_year = year - 1900;
        local.tm_mon = month - 1;
        local.tm_mday = day;
        local.tm_hour = hour;
        local.tm_min = minute;
        local.tm_sec = second;
        local.tm_isdst = -1;
        return mktime(&local);
    }

    TempFolder folder;
    std::string logFile;
};

TEST_F(ServicesTest, ALogLineIsDateTimeTextAndCrLf) {
    const time_t when = LocalTime(2026, 12, 7, 9, 5, 3);
    SetLogClock([when] { return when; });
    EXPECT_EQ(WriteLog("ID: %s File: %d", "Back", 7), 0);
    WriteLog("second");
    EXPECT_EQ(Log(), "12/07/26 09:05:03 ID: Back File: 7\r\n12/07/26 09:05:03 second\r\n");
}

TEST_F(ServicesTest, ALongMessageIsCutAndAMissingFolderIsQuiet) {
    const std::string huge(5000, 'x');
    WriteLog("%s", huge.c_str());
    const std::string log = Log();
    ASSERT_GE(log.size(), 1023u);
    EXPECT_EQ(log.substr(log.size() - 2), "\r\n");
    EXPECT_EQ(log.size(), std::string("MM/DD/YY HH:MM:SS ").size() + 1023 + 2);

    SetLogFileOverride(folder.File("no/such/folder/app.log").c_str());
    EXPECT_EQ(WriteLog("lost"), 0);
    EXPECT_FALSE(FileExists(folder.File("no/such/folder/app.log").c_str()));
}

TEST_F(ServicesTest, LinesOfManyThreadsNeverInterleave) {
    std::vector<std::thread> writers;
    for (int t = 0; t < 4; ++t)
        writers.emplace_back([t] {
            for (int i = 0; i < 50; ++i)
                WriteLog("thread %d line %d %s", t, i, std::string(200, char('a' + t)).c_str());
        });
    for (auto& writer : writers)
        writer.join();
    const std::string log = Log();
    size_t lines = 0;
    for (size_t start = 0; start < log.size();) {
        const size_t end = log.find("\r\n", start);
        ASSERT_NE(end, std::string::npos);
        const std::string line = log.substr(start, end - start);
        const char letter = line.back();
        EXPECT_EQ(line.substr(line.size() - 200), std::string(200, letter)) << line;
        ++lines;
        start = end + 2;
    }
    EXPECT_EQ(lines, 200u);
}

TEST_F(ServicesTest, FileExistsIsFalseForFoldersAndEmptyNames) {
    ASSERT_TRUE(WriteFileAtomically(folder.File("file.txt"), "x"));
    EXPECT_TRUE(FileExists(folder.File("file.txt").c_str()));
    EXPECT_FALSE(FileExists((folder.Path() + "/").c_str()));
    EXPECT_FALSE(FileExists(folder.File("missing.txt").c_str()));
    EXPECT_FALSE(FileExists(""));
    EXPECT_FALSE(FileExists(nullptr));
}

TEST_F(ServicesTest, TheProgramFolderEndsInABackslashAndCanBeMoved) {
    const CString folderOfProgram = GetExeFolder();
    ASSERT_FALSE(folderOfProgram.IsEmpty());
    EXPECT_EQ(folderOfProgram[folderOfProgram.GetLength() - 1], '\\');
    SetExeFolderOverride("C:\\Games\\");
    EXPECT_EQ(std::string(GetExeFolder()), "C:\\Games\\");
    SetExeFolderOverride(nullptr);
    EXPECT_EQ(std::string(GetExeFolder()), std::string(folderOfProgram));
}

TEST(LockTest, TheSameThreadReEntersAndOthersWait) {
    CLock lock;
    lock.Lock();
    lock.Lock(); // re-entry must not dead-lock
    std::atomic<bool> entered{false};
    std::thread other([&] {
        CLockGuard guard(lock);
        entered = true;
    });
    lock.Unlock();
    // Still held once: the other thread cannot be inside.
    for (int i = 0; i < 1000; ++i)
        std::this_thread::yield();
    EXPECT_FALSE(entered.load());
    lock.Unlock();
    other.join();
    EXPECT_TRUE(entered.load());
}

TEST_F(ServicesTest, WithoutAWindowAQuestionIsLoggedAndNotAgreedTo) {
    EXPECT_EQ(ShowMessageBox("网络连接关闭!"), IDCANCEL);
    EXPECT_NE(Log().find("网络连接关闭!"), std::string::npos);
    SetMessageBoxPresenter([](const CString& text) { return text == "ok?" ? IDOK : IDCANCEL; });
    EXPECT_EQ(ShowMessageBox("ok?"), IDOK);
}

// A window that answers the chat control's members and keeps what it was sent.
class RecordingChat : public CWnd {
public:
    std::vector<std::pair<long, std::string>> calls;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message != WM_CONTROLINVOKE)
            return CWnd::WindowProc(message, wParam, lParam);
        auto* call = reinterpret_cast<ControlInvocation*>(lParam);
        calls.emplace_back(call->id, std::string(call->args->at(0).text));
        call->hr = S_OK;
        return 0;
    }
};

TEST(ChatSysTextTest, TheSystemLineIsBoldBlueAndNeedsAControl) {
    EXPECT_EQ(std::string(ChatSysLine("庄家胜")), "\r\n<s=10,c=#00#00#FF,b>庄家胜");
    RecordingChat chat;
    ASSERT_TRUE(chat.CreateEx(0, nullptr, "chat", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    AppendChatSysText(chat, "hello");
    AppendChatSysText(nullptr, "nobody hears this");
    ASSERT_EQ(chat.calls.size(), 1u);
    EXPECT_EQ(chat.calls[0].first, 75);
    EXPECT_EQ(chat.calls[0].second, "\r\n<s=10,c=#00#00#FF,b>hello");
    chat.DestroyWindow();
}

} // namespace
