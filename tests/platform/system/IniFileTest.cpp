#include "platform/system/Profile.h"

#include "platform/Errors.h"
#include "platform/system/FileStamp.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace {

class IniFileTest : public ::testing::Test {
protected:
    std::string Read(const char* section, const char* key, const char* fallback = "none",
                     DWORD size = 256) {
        std::vector<char> buffer(size + 1, 'X');
        DWORD length =
            GetPrivateProfileString(section, key, fallback, buffer.data(), size, m_path.c_str());
        EXPECT_EQ(buffer[length], '\0');
        return std::string(buffer.data(), length);
    }
    // A NUL-separated list, as the listing calls return it.
    std::vector<std::string> List(const char* section, DWORD size = 256) {
        std::vector<char> buffer(size, 'X');
        DWORD length =
            GetPrivateProfileString(section, nullptr, "", buffer.data(), size, m_path.c_str());
        EXPECT_EQ(buffer[length], '\0');
        std::vector<std::string> items;
        for (size_t at = 0; at < length; at += items.back().size() + 1)
            items.emplace_back(buffer.data() + at);
        return items;
    }

    TempFolder m_folder;
    std::string m_path = m_folder.File("test.ini");
};

using Items = std::vector<std::string>;

TEST_F(IniFileTest, MissingFileGivesDefaults) {
    EXPECT_EQ(Read("Setting", "PhotoPath", "fallback"), "fallback");
    EXPECT_EQ(Read("Setting", "PhotoPath", nullptr), "");
    EXPECT_EQ(GetPrivateProfileInt("Setting", "AllowPSound", 1, m_path.c_str()), 1u);
    EXPECT_EQ(List(nullptr), Items{});
}

TEST_F(IniFileTest, ValuesAreTrimmedAndUnquotedOnce) {
    m_folder.Write("test.ini", "[S]\n"
                               "plain = two words  \n"
                               "double=\"  quoted  \"\n"
                               "single='x'\n"
                               "nested=\"\"inner\"\"\n"
                               "unmatched=\"open\n"
                               "comment=a;b\n"
                               "empty=\n");
    EXPECT_EQ(Read("S", "plain"), "two words");
    EXPECT_EQ(Read("S", "double"), "  quoted  ");
    EXPECT_EQ(Read("S", "single"), "x");
    EXPECT_EQ(Read("S", "nested"), "\"inner\"");
    EXPECT_EQ(Read("S", "unmatched"), "\"open");
    EXPECT_EQ(Read("S", "comment"), "a;b"); // only whole lines are comments
    EXPECT_EQ(Read("S", "empty"), "");
}

TEST_F(IniFileTest, NamesIgnoreCaseAndFirstSectionWins) {
    m_folder.Write("test.ini", "[Setting]\r\nAllowWatch=1\r\nKey=first\r\nkey=second\r\n"
                               "[other]\r\nx=1\r\n"
                               "[SETTING]\r\nAllowWatch=2\r\nLater=3\r\n");
    EXPECT_EQ(Read("setting", "allowwatch"), "1");
    EXPECT_EQ(Read("Setting", "KEY"), "first");
    EXPECT_EQ(Read("Setting", "Later"), "none"); // only in the second copy of the section
    EXPECT_EQ(List(nullptr), (Items{"Setting", "other"}));
    EXPECT_EQ(List("Setting"), (Items{"AllowWatch", "Key"}));
}

TEST_F(IniFileTest, LineWithoutEqualsIsNoKey) {
    m_folder.Write("test.ini", "[S]\nlonely\n a = 1\n; note=2\n");
    EXPECT_EQ(Read("S", "lonely"), "none");
    EXPECT_EQ(Read("S", "a"), "1");
    EXPECT_EQ(Read("S", "; note"), "none");
    EXPECT_EQ(List("S"), Items{"a"});
    char section[64];
    DWORD length = GetPrivateProfileSection("S", section, sizeof section, m_path.c_str());
    EXPECT_EQ(std::string(section, length), std::string("lonely\0a = 1\0", 13));
}

TEST_F(IniFileTest, DefaultLosesTrailingBlanks) {
    EXPECT_EQ(Read("S", "k", "text  "), "text");
    EXPECT_EQ(Read("S", "k", "  "), "");
}

TEST_F(IniFileTest, ValueIsCutToTheBufferWithoutSplittingACharacter) {
    // "网络" in GBK is four bytes, two characters.
    m_folder.Write("test.ini", "[S]\nascii=abcdefgh\ngbk=a\xCD\xF8\xC2\xE7\n");
    EXPECT_EQ(Read("S", "ascii", "", 5), "abcd");
    EXPECT_EQ(Read("S", "gbk", "", 6), "a\xCD\xF8\xC2\xE7");
    EXPECT_EQ(Read("S", "gbk", "", 5), "a\xCD\xF8");
    EXPECT_EQ(Read("S", "gbk", "", 4), "a\xCD\xF8");
    EXPECT_EQ(Read("S", "gbk", "", 3), "a");
    EXPECT_EQ(Read("S", "ascii", "", 1), "");
    char untouched = 'X';
    EXPECT_EQ(GetPrivateProfileString("S", "ascii", "", &untouched, 0, m_path.c_str()), 0u);
    EXPECT_EQ(untouched, 'X');
}

TEST_F(IniFileTest, ListIsCutAndClosedWithTwoNuls) {
    m_folder.Write("test.ini", "[S]\nalpha=1\nbeta=2\n");
    char buffer[9];
    memset(buffer, 'X', sizeof buffer);
    DWORD length = GetPrivateProfileString("S", nullptr, "", buffer, 9, m_path.c_str());
    EXPECT_EQ(length, 7u);
    EXPECT_EQ(std::string(buffer, 9), std::string("alpha\0b\0\0", 9));
    EXPECT_EQ(List("S", 12), (Items{"alpha", "beta"}));
}

TEST_F(IniFileTest, IntReadsTheLeadingNumber) {
    m_folder.Write("test.ini", "[S]\nn=12abc\nneg=-5\nplus=+7\nword=abc\nblank=\nspaced= 42 \n");
    const char* file = m_path.c_str();
    EXPECT_EQ(GetPrivateProfileInt("S", "n", 9, file), 12u);
    EXPECT_EQ(static_cast<int>(GetPrivateProfileInt("S", "neg", 9, file)), -5);
    EXPECT_EQ(GetPrivateProfileInt("S", "plus", 9, file), 7u);
    EXPECT_EQ(GetPrivateProfileInt("S", "word", 9, file), 9u);
    EXPECT_EQ(GetPrivateProfileInt("S", "blank", 9, file), 9u);
    EXPECT_EQ(GetPrivateProfileInt("S", "spaced", 9, file), 42u);
    EXPECT_EQ(GetPrivateProfileInt("S", "absent", 9, file), 9u);
}

TEST_F(IniFileTest, WritingKeepsCommentsAndTheRestOfTheFile) {
    const std::string original = "; settings of the game\r\n"
                                 "[Setting]\r\n"
                                 "  AllowWatch = 0   \r\n"
                                 "; the size, width first\r\n"
                                 "WindowSize=1024,734\r\n"
                                 "\r\n"
                                 "; music\r\n"
                                 "[BackMusic]\r\n"
                                 "default=a.mid";
    m_folder.Write("test.ini", original);
    ASSERT_TRUE(WritePrivateProfileString("setting", "allowwatch", "1", m_path.c_str()));
    ASSERT_TRUE(WritePrivateProfileString("Setting", "CardOrder", "2", m_path.c_str()));
    ASSERT_TRUE(WritePrivateProfileString("BackMusic", "loop", "1", m_path.c_str()));
    EXPECT_EQ(m_folder.Read("test.ini"), "; settings of the game\r\n"
                                         "[Setting]\r\n"
                                         "AllowWatch=1\r\n"
                                         "; the size, width first\r\n"
                                         "WindowSize=1024,734\r\n"
                                         "CardOrder=2\r\n"
                                         "\r\n"
                                         "; music\r\n"
                                         "[BackMusic]\r\n"
                                         "default=a.mid\r\n"
                                         "loop=1\r\n");
}

TEST_F(IniFileTest, WritingCreatesFileAndSection) {
    ASSERT_TRUE(WritePrivateProfileString("Setting", "PhotoPath", "C:\\snap shot", m_path.c_str()));
    ASSERT_TRUE(WritePrivateProfileString("BackMusic", "default", "x", m_path.c_str()));
    EXPECT_EQ(m_folder.Read("test.ini"),
              "[Setting]\nPhotoPath=C:\\snap shot\n\n[BackMusic]\ndefault=x\n");
    EXPECT_EQ(Read("Setting", "PhotoPath"), "C:\\snap shot");
}

// A last line ending in a bare '\r' is read as the same line with its '\n'
// would be, so a key written after it is found again.
TEST_F(IniFileTest, KeyWrittenAfterALastLineEndingInCarriageReturnIsFound) {
    m_folder.Write("test.ini", "\n\n \n[\r");
    ASSERT_TRUE(WritePrivateProfileString("", "fuzzkey", "fuzz value", m_path.c_str()));
    EXPECT_EQ(Read("", "FUZZKEY"), "fuzz value");
    m_folder.Write("test.ini", "[\x85\r\r");
    ASSERT_TRUE(WritePrivateProfileString("\x85", "fuzzkey", "fuzz value", m_path.c_str()));
    EXPECT_EQ(Read("\x85", "fuzzkey"), "fuzz value");
    m_folder.Write("test.ini", "[A]\nk=1\r");
    ASSERT_TRUE(WritePrivateProfileString("A", "j", "2", m_path.c_str()));
    EXPECT_EQ(Read("A", "k"), "1");
    EXPECT_EQ(Read("A", "j"), "2");
}

TEST_F(IniFileTest, NullValueDeletesKeyAndNullKeyDeletesSection) {
    m_folder.Write("test.ini", "[A]\nk=1\nK=2\nj=3\n[B]\nk=4\n[a]\nz=5\n");
    ASSERT_TRUE(WritePrivateProfileString("A", "k", nullptr, m_path.c_str()));
    EXPECT_EQ(m_folder.Read("test.ini"), "[A]\nj=3\n[B]\nk=4\n[a]\nz=5\n");
    ASSERT_TRUE(WritePrivateProfileString("a", nullptr, nullptr, m_path.c_str()));
    EXPECT_EQ(m_folder.Read("test.ini"), "[B]\nk=4\n");
    // Deleting what is not there creates nothing.
    std::string absent = m_folder.File("absent.ini");
    EXPECT_TRUE(WritePrivateProfileString("A", "k", nullptr, absent.c_str()));
    EXPECT_FALSE(std::filesystem::exists(absent));
}

TEST_F(IniFileTest, WritesThatWouldBreakLinesAreRefused) {
    m_folder.Write("test.ini", "[S]\nk=1\n");
    EXPECT_FALSE(WritePrivateProfileString("S", "k", "1\n[Evil]\nx=1", m_path.c_str()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_FALSE(WritePrivateProfileString("S", "a=b", "1", m_path.c_str()));
    EXPECT_FALSE(WritePrivateProfileString("S]", "a", "1", m_path.c_str()));
    EXPECT_FALSE(WritePrivateProfileString(nullptr, "a", "1", m_path.c_str()));
    EXPECT_EQ(m_folder.Read("test.ini"), "[S]\nk=1\n");
}

TEST_F(IniFileTest, BackslashPathsAndLowerCasedFoldersFindTheFile) {
    std::filesystem::create_directory(m_folder.File("Share"));
    m_folder.Write("Share/LangRsc.ini", "[String]\n100=hello\n");
    std::string windowsPath = m_folder.Path() + "\\share\\langrsc.ini";
    char text[32];
    GetPrivateProfileString("String", "100", "", text, sizeof text, windowsPath.c_str());
    EXPECT_STREQ(text, "hello");
}

TEST_F(IniFileTest, BareFileNameLivesInTheSettingsFolder) {
    setenv("PELLOR_CONFIG_DIR", m_folder.Path().c_str(), 1);
    ASSERT_TRUE(WritePrivateProfileString("S", "k", "v", "bare.ini"));
    unsetenv("PELLOR_CONFIG_DIR");
    EXPECT_EQ(m_folder.Read("bare.ini"), "[S]\nk=v\n");
}

// A file read once is kept parsed; whatever changes it shows at the next
// read, even a rewrite of the same size whose time is set back to the old one.
TEST_F(IniFileTest, AChangedFileIsReadAgain) {
    namespace fs = std::filesystem;
    const auto longAgo = fs::file_time_type::clock::now() - std::chrono::hours(1);
    m_folder.Write("test.ini", "[S]\nk=aaa\n");
    fs::last_write_time(m_path, longAgo);
    EXPECT_EQ(Read("S", "k"), "aaa");
    EXPECT_EQ(Read("S", "k"), "aaa");
    m_folder.Write("test.ini", "[S]\nk=bbb\n");
    fs::last_write_time(m_path, longAgo);
    EXPECT_EQ(Read("S", "k"), "bbb");
    m_folder.Write("test.ini", "[S]\nk=longer\n");
    EXPECT_EQ(Read("S", "k"), "longer");
    fs::remove(m_path);
    EXPECT_EQ(Read("S", "k"), "none");
    ASSERT_TRUE(WritePrivateProfileString("S", "k", "ccc", m_path.c_str()));
    EXPECT_EQ(Read("S", "k"), "ccc");
}

// Kept as soon as read: a change of size, time or file still shows.
TEST_F(IniFileTest, AKeptFileIsReadAgainOnceItChanges) {
    namespace fs = std::filesystem;
    SetFileSettleTime(0);
    const auto longAgo = fs::file_time_type::clock::now() - std::chrono::hours(2);
    m_folder.Write("test.ini", "[S]\nk=aaa\n");
    fs::last_write_time(m_path, longAgo);
    EXPECT_EQ(Read("S", "k"), "aaa");
    m_folder.Write("test.ini", "[S]\nk=bbb\n");
    fs::last_write_time(m_path, longAgo + std::chrono::seconds(1));
    EXPECT_EQ(Read("S", "k"), "bbb");
    m_folder.Write("test.ini", "[S]\nk=other\n");
    EXPECT_EQ(Read("S", "k"), "other");
    ASSERT_TRUE(WritePrivateProfileString("S", "k", "written", m_path.c_str()));
    EXPECT_EQ(Read("S", "k"), "written");
    EXPECT_EQ(Read("s", "K"), "written");
    fs::remove(m_path);
    EXPECT_EQ(Read("S", "k"), "none");
    SetFileSettleTime(2'000'000'000);
}

TEST_F(IniFileTest, ArbitraryBytesNeverCrash) {
    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        std::string bytes(random() % 300, '\0');
        for (char& c : bytes)
            c = "[]=;\n\r \"'ab\x81\xFE"[random() % 14] ^ (random() % 8 == 0 ? random() : 0);
        m_folder.Write("test.ini", bytes);
        std::vector<char> buffer(64);
        GetPrivateProfileString(nullptr, nullptr, "", buffer.data(), 64, m_path.c_str());
        GetPrivateProfileString("a", nullptr, "", buffer.data(), 64, m_path.c_str());
        GetPrivateProfileString("a", "b", "", buffer.data(), 64, m_path.c_str());
        GetPrivateProfileSection("a", buffer.data(), 64, m_path.c_str());
        ASSERT_TRUE(WritePrivateProfileString("a", "b", "c", m_path.c_str()));
        EXPECT_EQ(Read("a", "b"), "c");
    }
}

} // namespace
