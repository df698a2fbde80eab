// Files by name: read-only protection, links, listings with wildcards and GBK
// names, and the numbered-file calls.

#include "platform/system/FileOps.h"
#include "platform/CodePage.h"
#include "platform/Errors.h"
#include "platform/system/FindFile.h"
#include "platform/system/HFile.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// This file's plain literals are GBK (the program's charset); names on disk
// are UTF-8.
std::string Gbk(const char32_t* text) {
    return platform::UnicodeToGbk(text);
}
std::string Utf8(const char8_t* text) {
    return reinterpret_cast<const char*>(text);
}

std::vector<std::string> Listing(const std::string& pattern) {
    std::vector<std::string> names;
    WIN32_FIND_DATA data;
    HANDLE search = FindFirstFile(pattern.c_str(), &data);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do
        names.push_back(data.cFileName);
    while (FindNextFile(search, &data));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_NO_MORE_FILES));
    EXPECT_TRUE(FindClose(search));
    return names;
}

TEST(FileOpsTest, AReadOnlyFileIsNotDeletedEvenByRoot) {
    TempFolder folder;
    folder.Write("keep.txt", "data");
    std::string path = folder.Path() + "\\keep.txt";
    ASSERT_TRUE(SetFileAttributes(path.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(GetFileAttributes(path.c_str()),
              DWORD(FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(DeleteFile(path.c_str()));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_ACCESS_DENIED));
    EXPECT_EQ(folder.Read("keep.txt"), "data");
    // OpenFile's deletion and creation respect it too.
    OFSTRUCT record;
    EXPECT_EQ(OpenFile(path.c_str(), &record, OF_DELETE), HFILE_ERROR);
    EXPECT_EQ(OpenFile(path.c_str(), &record, OF_CREATE | OF_READWRITE), HFILE_ERROR);
    EXPECT_EQ(record.nErrCode, ERROR_ACCESS_DENIED);
    EXPECT_EQ(folder.Read("keep.txt"), "data");

    ASSERT_TRUE(SetFileAttributes(path.c_str(), FILE_ATTRIBUTE_NORMAL));
    EXPECT_TRUE(DeleteFile(path.c_str()));
    EXPECT_FALSE(std::filesystem::exists(folder.File("keep.txt")));
    EXPECT_FALSE(DeleteFile(path.c_str()));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(DeleteFile(folder.Path().c_str())); // a folder is no file
    EXPECT_EQ(GetLastError(), DWORD(ERROR_ACCESS_DENIED));
    EXPECT_FALSE(DeleteFile(nullptr));
}

TEST(FileOpsTest, LinksAreRemovedNeverFollowed) {
    TempFolder outside, folder;
    outside.Write("precious.txt", "x");
    ASSERT_EQ(symlink(outside.Path().c_str(), folder.File("link").c_str()), 0);
    ASSERT_EQ(symlink(outside.File("precious.txt").c_str(), folder.File("file-link").c_str()), 0);
    std::string link = folder.Path() + "\\link";
    // Named directly it is a folder reached through a link...
    EXPECT_EQ(GetFileAttributes(link.c_str()),
              DWORD(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT));
    // ...but a listing shows a link only, so a tree walk does not descend.
    WIN32_FIND_DATA data;
    HANDLE search = FindFirstFile(link.c_str(), &data);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    EXPECT_EQ(data.dwFileAttributes, DWORD(FILE_ATTRIBUTE_REPARSE_POINT));
    FindClose(search);
    EXPECT_TRUE(DeleteFile((folder.Path() + "\\file-link").c_str()));
    EXPECT_TRUE(RemoveDirectory(link.c_str()));
    EXPECT_EQ(outside.Read("precious.txt"), "x");
    EXPECT_TRUE(std::filesystem::is_empty(folder.Path()));
}

TEST(FileOpsTest, FoldersAreMadeAndRemovedByGbkNames) {
    TempFolder folder;
    std::string name = folder.Path() + "\\" + Gbk(U"截图");
    ASSERT_TRUE(CreateDirectory(name.c_str(), nullptr));
    EXPECT_TRUE(std::filesystem::is_directory(folder.File(Utf8(u8"截图")))); // UTF-8 on disk
    EXPECT_FALSE(CreateDirectory(name.c_str(), nullptr));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_ALREADY_EXISTS));
    folder.Write(Utf8(u8"截图/a"), "x");
    EXPECT_FALSE(RemoveDirectory(name.c_str()));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_DIR_NOT_EMPTY));
    EXPECT_TRUE(DeleteFile((name + "\\a").c_str()));
    EXPECT_TRUE(RemoveDirectory(name.c_str()));
    EXPECT_FALSE(std::filesystem::exists(folder.File(Utf8(u8"截图"))));
}

TEST(FileOpsTest, ListingsMatchWildcardsOnGbkNames) {
    TempFolder folder;
    folder.Write(Utf8(u8"牌局1.bmp"), "12345");
    folder.Write(Utf8(u8"牌局2.BMP"), "");
    folder.Write("readme", "");
    folder.Write("notes.txt", "");
    std::filesystem::create_directory(folder.File("sub"));
    const std::string base = folder.Path() + "\\";

    EXPECT_EQ(Listing(base + "*.*"),
              (std::vector<std::string>{".", "..", "notes.txt", "readme", "sub", Gbk(U"牌局1.bmp"),
                                        Gbk(U"牌局2.BMP")}));
    EXPECT_EQ(Listing(base + "*.bmp"),
              (std::vector<std::string>{Gbk(U"牌局1.bmp"), Gbk(U"牌局2.BMP")}));
    // '?' takes one whole double-byte character.
    EXPECT_EQ(Listing(base + Gbk(U"牌?1.*")), (std::vector<std::string>{Gbk(U"牌局1.bmp")}));
    EXPECT_EQ(Listing(base + "??.bmp"), std::vector<std::string>{});
    EXPECT_EQ(Listing(base + "README"), (std::vector<std::string>{"readme"}));
    EXPECT_EQ(Listing(base + "readme.*"), (std::vector<std::string>{"readme"}));

    WIN32_FIND_DATA data;
    HANDLE search = FindFirstFile((base + Gbk(U"牌局1.bmp")).c_str(), &data);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    EXPECT_EQ(data.nFileSizeLow, 5u);
    EXPECT_EQ(data.dwFileAttributes, DWORD(FILE_ATTRIBUTE_ARCHIVE));
    EXPECT_GT(data.ftLastWriteTime.dwHighDateTime, 0x01D00000u); // after 2015
    EXPECT_FALSE(FindNextFile(search, &data));
    FindClose(search);
    search = FindFirstFile((base + "sub").c_str(), &data);
    EXPECT_EQ(data.dwFileAttributes, DWORD(FILE_ATTRIBUTE_DIRECTORY));
    FindClose(search);

    EXPECT_EQ(FindFirstFile((base + "*.wav").c_str(), &data), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(FindFirstFile((base + "none\\*.*").c_str(), &data), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(FindFirstFile(base.c_str(), &data), INVALID_HANDLE_VALUE);
    int notASearch = 0;
    EXPECT_FALSE(FindNextFile(&notASearch, &data));
    EXPECT_FALSE(FindClose(&notASearch));
}

TEST(FileOpsTest, WildcardsBacktrackWithoutBlowingUp) {
    EXPECT_TRUE(platform::MatchesWildcard("*a*b", "xxaxxab"));
    EXPECT_FALSE(platform::MatchesWildcard("*a*b", "xxaxxa"));
    EXPECT_TRUE(platform::MatchesWildcard("*", ""));
    EXPECT_FALSE(platform::MatchesWildcard("?", ""));
    // Many stars against a long name that almost matches: linear time.
    std::string name(250, 'a');
    EXPECT_FALSE(platform::MatchesWildcard("*a*a*a*a*a*a*a*a*a*a*a*a*b", name.c_str()));
    EXPECT_FALSE(platform::MatchesWildcard(nullptr, "a"));
}

TEST(FileOpsTest, NumberedFilesWriteReadAndRefuseStrangers) {
    TempFolder folder;
    std::string path = folder.Path() + "\\" + Gbk(U"图.bmp");
    OFSTRUCT record;
    HFILE file = OpenFile(path.c_str(), &record, OF_CREATE | OF_READWRITE);
    ASSERT_NE(file, HFILE_ERROR);
    EXPECT_EQ(std::string(record.szPathName), path);
    EXPECT_EQ(_lwrite(file, "BM", 2), 2u);
    EXPECT_EQ(_lwrite(file, "123456789012", 12), 12u);
    EXPECT_EQ(_llseek(file, 0, FILE_END), 14);
    EXPECT_EQ(_llseek(file, 2, FILE_BEGIN), 2);
    char back[20] = {};
    EXPECT_EQ(_lread(file, back, sizeof back), 12u);
    EXPECT_STREQ(back, "123456789012");
    EXPECT_EQ(_lclose(file), 0);
    EXPECT_EQ(folder.Read(Utf8(u8"图.bmp")), "BM123456789012");

    // The closed number is no file any more, nor is one never given out.
    EXPECT_EQ(_lwrite(file, "x", 1), UINT(HFILE_ERROR));
    EXPECT_EQ(_lclose(file), HFILE_ERROR);
    EXPECT_EQ(_lwrite(0, "x", 1), UINT(HFILE_ERROR)); // standard input is not ours
    EXPECT_EQ(_lclose(2), HFILE_ERROR);
    EXPECT_NE(fcntl(2, F_GETFD), -1); // and stays open

    EXPECT_NE(OpenFile(path.c_str(), &record, OF_EXIST), HFILE_ERROR);
    EXPECT_NE(OpenFile(path.c_str(), &record, OF_DELETE), HFILE_ERROR);
    EXPECT_EQ(OpenFile(path.c_str(), &record, OF_EXIST), HFILE_ERROR);
    EXPECT_EQ(record.nErrCode, ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(OpenFile(nullptr, &record, OF_READ), HFILE_ERROR);

    // _lcreat with the read-only attribute leaves a read-only file behind.
    HFILE created = _lcreat((folder.Path() + "\\ro").c_str(), 1);
    ASSERT_NE(created, HFILE_ERROR);
    EXPECT_EQ(_lwrite(created, "z", 1), 1u);
    _lclose(created);
    EXPECT_FALSE(DeleteFile((folder.Path() + "\\ro").c_str()));
    HFILE reopened = _lopen((folder.Path() + "\\ro").c_str(), OF_READ);
    ASSERT_NE(reopened, HFILE_ERROR);
    EXPECT_EQ(_lread(reopened, back, 1), 1u);
    EXPECT_EQ(back[0], 'z');
    EXPECT_EQ(_lclose(reopened), 0);
}

} // namespace
