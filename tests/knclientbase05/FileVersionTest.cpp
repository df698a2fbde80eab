#include "knclientbase05/FileVersion.h"
#include "knclientbase05/FileVersionText.h"

#include "SettingsFixture.h"
#include "platform/system/Module.h"

namespace {

// An outside component of a given version, found in the shared folder.
class FileVersionTest : public SettingsFixture {
protected:
    void SetUp() override {
        SettingsFixture::SetUp();
        Register("KNChatEx.dll", {2, 7, 0, 13});
    }
    void TearDown() override {
        UnregisterBuiltinModule("KNChatEx.dll");
        SettingsFixture::TearDown();
    }
    static void Register(const char* name, std::initializer_list<WORD> version) {
        BuiltinModuleDefinition module;
        module.fileName = name;
        std::copy(version.begin(), version.end(), module.version);
        module.versionStrings = {{"CompanyName", "Quillane"}};
        ASSERT_TRUE(RegisterBuiltinModule(module));
    }
};

TEST(FileVersionParseTest, SplitsAtDotsOrCommas) {
    WORD v[4];
    CFileVersion::Parse("2.7.0.13", v);
    EXPECT_EQ(std::vector<WORD>(v, v + 4), (std::vector<WORD>{2, 7, 0, 13}));
    CFileVersion::Parse("2,5,1,29", v);
    EXPECT_EQ(std::vector<WORD>(v, v + 4), (std::vector<WORD>{2, 5, 1, 29}));
    CFileVersion::Parse("3", v);
    EXPECT_EQ(std::vector<WORD>(v, v + 4), (std::vector<WORD>{3, 0, 0, 0}));
    CFileVersion::Parse("1.2.3.4.5", v);
    EXPECT_EQ(std::vector<WORD>(v, v + 4), (std::vector<WORD>{1, 2, 3, 4}));
    CFileVersion::Parse("1.70000", v);
    EXPECT_EQ(v[1], static_cast<WORD>(70000));
}

TEST_F(FileVersionTest, ComparesAcrossAllFourWords) {
    CFileVersion version;
    ASSERT_EQ(version.Load("C:\\Shared\\KNChatEx.dll"), 1);
    EXPECT_STREQ(version.GetVersionText(), "2.7.0.13");
    EXPECT_STREQ(version.GetPath(), "C:\\Shared\\KNChatEx.dll");
    EXPECT_TRUE(version.IsAtLeast("2.7.0.13"));
    EXPECT_FALSE(version.IsAtLeast("2.7.0.14"));
    EXPECT_TRUE(version.IsAtLeast("2.6.9.99"));
    EXPECT_FALSE(version.IsAtLeast("3.0.0.0"));
    EXPECT_FALSE(version.IsAtLeast("2.8"));
    EXPECT_FALSE(version.IsAtLeast("2.7.1"));
    EXPECT_TRUE(version.IsAtLeast("2.7.0.12"));
    EXPECT_TRUE(version.IsAtLeast("1.99.99.99"));
    EXPECT_TRUE(version.IsEqual("2.7.0.13"));
    EXPECT_FALSE(version.IsEqual("2.7.0"));
}

TEST_F(FileVersionTest, ReadsVersionStrings) {
    CFileVersion version;
    EXPECT_EQ(version.GetStringInfo("CompanyName", 0xFFFF, 0xFFFF), nullptr);
    ASSERT_EQ(version.Load("KNChatEx.dll"), 1);
    ASSERT_NE(version.GetStringInfo("CompanyName", 0xFFFF, 0xFFFF), nullptr);
    EXPECT_STREQ(version.GetStringInfo("CompanyName", 0xFFFF, 0xFFFF), "Quillane");
    EXPECT_EQ(version.GetStringInfo("Missing", 0xFFFF, 0xFFFF), nullptr);
    EXPECT_EQ(version.GetStringInfo("CompanyName", 0x0409, 1252), nullptr);
}

TEST_F(FileVersionTest, AFailedLoadForgetsTheEarlierVersion) {
    CFileVersion version;
    ASSERT_EQ(version.Load("KNChatEx.dll"), 1);
    EXPECT_EQ(version.Load("Missing.dll"), 0);
    EXPECT_STREQ(version.GetVersionText(), "");
    EXPECT_STREQ(version.GetPath(), "");
    EXPECT_FALSE(version.IsAtLeast("0.0.0.1"));
    EXPECT_TRUE(version.IsAtLeast("0.0.0.0"));

    BuiltinModuleDefinition bare;
    bare.fileName = "Bare.dll";
    bare.hasVersionInfo = false;
    ASSERT_TRUE(RegisterBuiltinModule(bare));
    EXPECT_EQ(version.Load("Bare.dll"), 0);
    UnregisterBuiltinModule("Bare.dll");
}

TEST_F(FileVersionTest, LoadsFromAGameFolderOfTheRegistry) {
    CFileVersion version;
    EXPECT_EQ(version.LoadFromGameFolder("KNChatEx.dll", nullptr), 0);
    EXPECT_EQ(version.GetWord(0), 0);
    SetUserText("Software\\Quillane\\Game\\Share", "path", "C:\\Quillane\\Share");
    ASSERT_EQ(version.LoadFromGameFolder("KNChatEx.dll", ""), 1);
    EXPECT_STREQ(version.GetPath(), "C:\\Quillane\\Share\\KNChatEx.dll");
    EXPECT_EQ(version.GetWord(3), 13);
    char folder[MAX_PATH];
    EXPECT_FALSE(GetGameFolderPath("Pellor", folder));
    EXPECT_STREQ(folder, "");
}

TEST_F(FileVersionTest, AnEmptyPathReadsThisLibrary) {
    CFileVersion version;
    ASSERT_EQ(version.Load(""), 1);
    EXPECT_TRUE(version.IsAtLeast("1.0"));
    EXPECT_NE(std::string(version.GetPath()).find("Tablehub.dll"), std::string::npos);
}

TEST(MultibyteHelpersTest, NeverSplitADoubleByteCharacter) {
    // 0x95 0x2E is one character whose trail byte is a dot.
    const char* text = "a\x95.b.c";
    EXPECT_EQ(StrFindChar(text, '.'), text + 4);
    char out[4];
    StrCopyN(out, "ab\xD5\xC5", 3);
    EXPECT_EQ(std::string(out, 3), std::string("ab\0", 3));
    StrCopyN(out, "x", 3);
    EXPECT_EQ(std::string(out, 3), std::string("x\0\0", 3));
}

} // namespace
