#include "knclientbase05/KNpubSystem.h"

#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

TEST(FileServicesTest, WritesAppendsAndMeasuresFiles) {
    TempFolder folder;
    std::string path = folder.File("data.bin");
    ASSERT_EQ(WriteWholeFile(path.c_str(), "abc", 3), 1);
    EXPECT_EQ(AppendToFile(path.c_str(), "de", 2), 2u);
    EXPECT_EQ(GetFileSizeByName(path.c_str()), 5u);
    EXPECT_EQ(folder.Read("data.bin"), "abcde");
    ASSERT_EQ(WriteWholeFile(path.c_str(), "x", 1), 1);
    EXPECT_EQ(folder.Read("data.bin"), "x");
    EXPECT_EQ(GetFileSizeByName(folder.File("missing").c_str()), 0u);
    EXPECT_EQ(WriteWholeFile(folder.File("no/such/dir/f").c_str(), "x", 1), 0);
}

TEST(FileServicesTest, RotatesNineGenerations) {
    TempFolder folder;
    std::string log = folder.File("relay.log");
    folder.Write("relay.log", "now");
    RotateFiles(log.c_str());
    EXPECT_EQ(folder.Read("relay.log.1"), "now");
    EXPECT_FALSE(std::filesystem::exists(log));
    EXPECT_FALSE(std::filesystem::exists(log + ".2"));

    for (int g = 1; g <= 9; ++g)
        folder.Write("relay.log." + std::to_string(g), "g" + std::to_string(g));
    folder.Write("relay.log", "now");
    RotateFiles(log.c_str());
    EXPECT_EQ(folder.Read("relay.log.1"), "now");
    EXPECT_EQ(folder.Read("relay.log.2"), "g1");
    EXPECT_EQ(folder.Read("relay.log.9"), "g8");
    EXPECT_FALSE(std::filesystem::exists(log + ".10"));
}

TEST(FileServicesTest, DeletesAFolderTree) {
    TempFolder folder;
    std::filesystem::create_directories(folder.File("tree/a/b"));
    folder.Write("tree/top.txt", "1");
    folder.Write("tree/a/b/deep.txt", "2");
    std::string tree = folder.File("tree");
    EXPECT_EQ(DeleteTree(tree.c_str()), 1);
    EXPECT_FALSE(std::filesystem::exists(tree));
    EXPECT_EQ(DeleteTree(tree.c_str()), 0);
    folder.Write("single", "x");
    EXPECT_EQ(DeleteTree(folder.File("single").c_str()), 1);
}

TEST(SystemServicesTest, ReadsMemoryAndComparesWords) {
    size_t working = 0, peak = 0;
    ASSERT_TRUE(GetProcessMemory(&working, &peak));
    EXPECT_GT(working, 0u);
    EXPECT_GE(peak, working);
    DWORD a = 5, b = 9;
    EXPECT_LT(CompareU32(&a, &b), 0);
    EXPECT_EQ(CompareU32(&a, &a), 0);
    EXPECT_STREQ(GetCommandInterpreter(), "CMD");
}

TEST(SystemServicesTest, WritesADwordToTheRegistry) {
    TempFolder config;
    setenv("PELLOR_CONFIG_DIR", config.Path().c_str(), 1);
    EXPECT_TRUE(RegSetDword(HKEY_CURRENT_USER, "Software\\Quillane\\Game\\Share", "Keep", 30));
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Quillane\\Game\\Share", 0, KEY_READ, &key),
              ERROR_SUCCESS);
    DWORD value = 0, size = sizeof value, type = 0;
    EXPECT_EQ(RegQueryValueEx(key, "keep", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size),
              ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(value, 30u);
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    unsetenv("PELLOR_CONFIG_DIR");
}

} // namespace
