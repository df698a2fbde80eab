// Folders, paths and the text helpers, on a temporary folder with GBK names,
// read-only files, links out of the tree and paths past MAX_PATH.

#include "tests/support/ResourceScriptText.h"
#include "tests/support/TempFolder.h"

#include "knclientUI05/KnClientPublic.h"
#include "platform/CodePage.h"
#include "platform/system/FileOps.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

// A GBK character whose trail byte has the value of a backslash.
const char kTrailBackslash[] = "\x95\x5C";

TEST(PathTextTest, CutAndKeepAtTheLastBackslashOrColon) {
    char path[] = "C:\\dir\\file.txt";
    EXPECT_TRUE(CutFileName(path));
    EXPECT_STREQ(path, "C:\\dir");
    char drive[] = "C:file";
    EXPECT_TRUE(CutFileName(drive));
    EXPECT_STREQ(drive, "C");
    char bare[] = "file.txt";
    EXPECT_TRUE(CutFileName(bare));
    EXPECT_STREQ(bare, "file.txt");
    EXPECT_FALSE(CutFileName(nullptr));

    char keep[] = "C:\\dir\\file.txt";
    EXPECT_TRUE(KeepFileName(keep));
    EXPECT_STREQ(keep, "file.txt");
    char folder[] = "C:\\dir\\";
    EXPECT_TRUE(KeepFileName(folder));
    EXPECT_STREQ(folder, "");
    char onDrive[] = "C:file";
    EXPECT_TRUE(KeepFileName(onDrive));
    EXPECT_STREQ(onDrive, "file");
    EXPECT_FALSE(KeepFileName(nullptr));
}

TEST(PathTextTest, ATrailByteEqualToABackslashIsNoSeparator) {
    std::string gbk = std::string("C:\\dir\\") + kTrailBackslash + "name";
    std::string cut = gbk, keep = gbk;
    ASSERT_TRUE(CutFileName(cut.data()));
    EXPECT_STREQ(cut.c_str(), "C:\\dir");
    ASSERT_TRUE(KeepFileName(keep.data()));
    EXPECT_STREQ(keep.c_str(), (std::string(kTrailBackslash) + "name").c_str());
}

TEST(XorBytesTest, TwiceIsTheIdentityAndZeroMeansTheString) {
    char bytes[] = {'a', 'b', '\0', 'c', 'd', '\0'};
    XorBytes(bytes, 5, 0x5A);
    EXPECT_EQ(bytes[3], char('c' ^ 0x5A));
    XorBytes(bytes, 5, 0x5A);
    EXPECT_EQ(std::string(bytes, 5), std::string("ab\0cd", 5));

    char text[] = "abc\0de";
    XorBytes(text, 0, 0x01);
    EXPECT_EQ(std::string(text, 6), std::string("`cb\0de", 6)) << "up to the first zero byte";
    XorBytes(nullptr, 4, 1); // left alone
}

TEST(SplitTokenTest, SplitsAtSeparatorsButNeverInsideACharacter) {
    std::string text = std::string("  one\\") + kTrailBackslash + "two\\\\three ";
    char* first = SplitToken(text.data(), " \\");
    ASSERT_NE(first, nullptr);
    EXPECT_STREQ(first, "one");
    char* second = SplitToken(nullptr, " \\");
    ASSERT_NE(second, nullptr);
    EXPECT_STREQ(second, (std::string(kTrailBackslash) + "two").c_str());
    char* third = SplitToken(nullptr, " \\");
    ASSERT_NE(third, nullptr);
    EXPECT_STREQ(third, "three");
    EXPECT_EQ(SplitToken(nullptr, " \\"), nullptr);
    EXPECT_EQ(SplitToken(nullptr, " \\"), nullptr) << "stays at the end";

    // A double-byte separator matches only the whole character.
    std::string wide = std::string("a") + "\xA1\xA2" + "b" + "\xA1\xA3" + "c";
    char* a = SplitToken(wide.data(), "\xA1\xA2");
    ASSERT_NE(a, nullptr);
    EXPECT_STREQ(a, "a");
    char* rest = SplitToken(nullptr, "\xA1\xA2");
    ASSERT_NE(rest, nullptr);
    EXPECT_STREQ(rest, "b\xA1\xA3"
                       "c");
}

class FolderTest : public ::testing::Test {
protected:
    TempFolder temp;
    // The GBK form of a path under the temporary folder (UTF-8 on disk).
    std::string Gbk(const std::string& utf8Tail) const {
        return temp.Path() + "\\" + platform::Utf8ToGbk(utf8Tail);
    }
};

TEST_F(FolderTest, CreatesEveryFolderOfAPath) {
    const std::string path = Gbk(Utf8(u8"牌局")) + "\\b\\";
    EXPECT_TRUE(CreateFolderPath(path.c_str()));
    EXPECT_TRUE(fs::is_directory(temp.Path() + Utf8(u8"/牌局/b")));
    EXPECT_TRUE(PathExists(path.c_str()));
    EXPECT_TRUE(CreateFolderPath(path.c_str())) << "existing folders are fine";
    EXPECT_FALSE(PathExists(nullptr));
    EXPECT_FALSE(PathExists(Gbk("missing").c_str()));
    EXPECT_FALSE(CreateFolderPath(nullptr));
}

TEST_F(FolderTest, APathOfMaxPathBytesIsRefusedNotCut) {
    std::string path = temp.Path();
    while (path.size() < MAX_PATH)
        path += "\\abcdefgh";
    EXPECT_FALSE(CreateFolderPath(path.c_str()));
    EXPECT_FALSE(fs::exists(temp.Path() + "/abcdefgh")) << "nothing is made of it";
}

TEST_F(FolderTest, DeletesATreeWithGbkNamesAndLongPaths) {
    std::string deep = temp.Path() + "/tree";
    // Deeper than MAX_PATH bytes in all.
    for (int i = 0; i < 30; ++i)
        deep += Utf8(u8"/层级") + std::to_string(i);
    fs::create_directories(deep);
    std::ofstream(deep + Utf8(u8"/文件.txt")) << "x";
    std::ofstream(temp.Path() + Utf8(u8"/tree/顶.txt")) << "y";
    EXPECT_TRUE(DeleteFolderTree(Gbk("tree").c_str()));
    EXPECT_FALSE(fs::exists(temp.Path() + "/tree"));
    EXPECT_FALSE(DeleteFolderTree(Gbk("tree").c_str())) << "a missing path";
}

TEST_F(FolderTest, AReadOnlyFileStopsTheDeletionAndKeepsTheFolder) {
    fs::create_directories(temp.Path() + "/keep/inner");
    std::ofstream(temp.Path() + "/keep/inner/locked.txt") << "x";
    ASSERT_TRUE(SetFileAttributes(Gbk("keep\\inner\\locked.txt").c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(DeleteFolderTree(Gbk("keep").c_str()));
    EXPECT_TRUE(fs::exists(temp.Path() + "/keep/inner/locked.txt"));
    EXPECT_TRUE(fs::is_directory(temp.Path() + "/keep"));
    // A lone file is deleted as a file.
    std::ofstream(temp.Path() + "/single.txt") << "x";
    EXPECT_TRUE(DeleteFolderTree(Gbk("single.txt").c_str()));
    EXPECT_FALSE(fs::exists(temp.Path() + "/single.txt"));
}

TEST_F(FolderTest, LinksAreRemovedNeverFollowed) {
    fs::create_directories(temp.Path() + "/outside/sub");
    std::ofstream(temp.Path() + "/outside/sub/precious.txt") << "x";
    std::ofstream(temp.Path() + "/outside/file.txt") << "x";
    fs::create_directories(temp.Path() + "/tree");
    fs::create_directory_symlink(temp.Path() + "/outside", temp.Path() + "/tree/dirlink");
    fs::create_symlink(temp.Path() + "/outside/file.txt", temp.Path() + "/tree/filelink");
    fs::create_directory_symlink(temp.Path() + "/outside", temp.Path() + "/toplink");

    EXPECT_TRUE(DeleteFolderTree(Gbk("tree").c_str()));
    EXPECT_FALSE(fs::exists(fs::symlink_status(temp.Path() + "/tree")));
    EXPECT_TRUE(DeleteFolderTree(Gbk("toplink").c_str()));
    EXPECT_FALSE(fs::exists(fs::symlink_status(temp.Path() + "/toplink")));
    EXPECT_TRUE(fs::exists(temp.Path() + "/outside/sub/precious.txt"));
    EXPECT_TRUE(fs::exists(temp.Path() + "/outside/file.txt"));
}

TEST(ModulePathTest, CutsBehindTheLastBackslash) {
    char buffer[MAX_PATH];
    EXPECT_EQ(GetModulePath(buffer, nullptr), 1);
    const std::string path = buffer;
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(path.back(), '\\');
    EXPECT_TRUE(PathExists(path.c_str())) << path;
}

} // namespace
