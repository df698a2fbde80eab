#include "platform/system/Path.h"

#include "platform/Errors.h"
#include "platform/system/Module.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

TEST(PathTest, BackslashesBecomeSlashesAndDoubledOnesFold) {
    EXPECT_EQ(NativePath("no\\such\\\\folder\\file.ini"), "no/such/folder/file.ini");
    EXPECT_EQ(NativePath("..\\up"), "../up");
    EXPECT_EQ(NativePath(""), "");
    EXPECT_EQ(NativePath(nullptr), "");
}

TEST(PathTest, GbkNamesBecomeUtf8AndATrailByteIsNoSeparator) {
    // "運" is 0xDF 0x5C in GBK; the way back gives the same GBK bytes.
    const std::string gbk = "牌\\運表\\a.ini";
    const std::string utf8 = reinterpret_cast<const char*>(u8"牌/運表/a.ini");
    EXPECT_EQ(NativePath(gbk.c_str()), utf8);
    EXPECT_EQ(WindowsPath(utf8), gbk);
    EXPECT_EQ(LastPathSeparator("x\\運"), 1u);
}

TEST(PathTest, NamesDifferingInCaseFindTheExistingEntry) {
    TempFolder folder;
    std::filesystem::create_directories(folder.File("Theme_BMP/Sound"));
    folder.Write("Theme_BMP/Default.thm", "x");
    EXPECT_EQ(NativePath((folder.Path() + "\\theme_bmp\\DEFAULT.THM").c_str()),
              folder.File("Theme_BMP/Default.thm"));
    // A missing tail is kept as written, under the folder that does exist.
    EXPECT_EQ(NativePath((folder.Path() + "\\THEME_bmp\\sound\\New\\a.wav").c_str()),
              folder.File("Theme_BMP/Sound/New/a.wav"));
}

TEST(PathTest, AttributesTellFilesFromFolders) {
    TempFolder folder;
    folder.Write("a.txt", "x");
    EXPECT_EQ(GetFileAttributes((folder.Path() + "\\A.TXT").c_str()) & FILE_ATTRIBUTE_DIRECTORY,
              0u);
    EXPECT_EQ(GetFileAttributes(folder.Path().c_str()),
              static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
    EXPECT_EQ(GetFileAttributes(folder.File("none").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(GetFileAttributes(""), INVALID_FILE_ATTRIBUTES);
}

TEST(PathTest, CreateAndRemoveFolderAndFile) {
    TempFolder folder;
    std::string snapshot = folder.Path() + "\\snapshot";
    EXPECT_TRUE(CreateDirectory(snapshot.c_str(), nullptr));
    EXPECT_FALSE(CreateDirectory(snapshot.c_str(), nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    EXPECT_FALSE(CreateDirectory((folder.Path() + "\\a\\b").c_str(), nullptr)); // one level only
    folder.Write("snapshot/shot.jpg", "x");
    EXPECT_FALSE(RemoveDirectory(snapshot.c_str()));
    EXPECT_TRUE(DeleteFile((snapshot + "\\shot.jpg").c_str()));
    EXPECT_TRUE(RemoveDirectory(snapshot.c_str()));
    EXPECT_FALSE(std::filesystem::exists(folder.File("snapshot")));
}

TEST(PathTest, ProgramFileNameUsesBackslashesAndMapsBack) {
    char path[MAX_PATH];
    DWORD length = GetModuleFileName(nullptr, path, MAX_PATH);
    ASSERT_GT(length, 0u);
    std::string windows(path, length);
    EXPECT_EQ(windows.find('/'), std::string::npos);
    EXPECT_EQ(NativePath(path), std::filesystem::canonical("/proc/self/exe").string());

    char small[5];
    EXPECT_EQ(GetModuleFileName(nullptr, small, sizeof small), 5u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(std::string(small), windows.substr(0, 4));
}

TEST(PathTest, ConfigFolderFollowsTheEnvironment) {
    TempFolder folder;
    setenv("PELLOR_CONFIG_DIR", (folder.Path() + "/deep/er").c_str(), 1);
    EXPECT_EQ(ConfigFolder(), folder.Path() + "/deep/er");
    EXPECT_TRUE(std::filesystem::is_directory(folder.File("deep/er")));
    unsetenv("PELLOR_CONFIG_DIR");
    setenv("XDG_CONFIG_HOME", folder.Path().c_str(), 1);
    EXPECT_EQ(ConfigFolder(), folder.Path() + "/pellor");
    unsetenv("XDG_CONFIG_HOME");
}

} // namespace
