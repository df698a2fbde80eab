// The resource library check over built-in modules: a program "GameX.exe"
// and its library "GameX_Res.dll" with version blocks of the test's own,
// the library's strings from a resource script, and the refusals read off
// the message box the user would see.

#include "tests/support/DialogFixture.h"
#include "tests/support/TempFolder.h"

#include "knclientbase05/AppProfile.h"
#include "knclientbase05/CodePageConverter.h"
#include "knclientbase05/ResourceLibraryCheck.h"
#include "outside/CrtArguments.h"
#include "platform/system/Registry.h"

#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

using platform_test::Script;

BuiltinModuleDefinition Versioned(const std::string& file, std::vector<WORD> version,
                                  const std::string& internalName) {
    BuiltinModuleDefinition module;
    module.fileName = file;
    std::copy(version.begin(), version.end(), module.version);
    module.versionStrings = {{"InternalName", internalName}};
    return module;
}

class ResourceLibraryCheckTest : public platform_test::DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        setenv("PELLOR_CONFIG_DIR", config.Path().c_str(), 1);
        savedProfile = GetAppProfileName();
        SetAppProfileName("GameX");
        savedCount = __argc;
        savedVector = __argv;
        __argc = 1;
        __argv = arguments; // a folder with a dot, a program name without one
        ASSERT_TRUE(RegisterResourceModuleText(
            kProgramResources, Utf8(u8"STRINGTABLE\nBEGIN\n 500 \"版本2.3\"\nEND\n"), "."));
        programResources = LoadLibrary(kProgramResources);
        AfxSetResourceHandle(programResources);
        BuiltinModuleDefinition program = Versioned("GameX.exe", {2, 3, 0, 7}, "GameX");
        program.versionStrings.push_back({"SpecialBuild", "nightly"});
        ASSERT_TRUE(RegisterBuiltinModule(program));
        UseLibrary({2, 3, 0, 7}, "GameXResource", u8"版本2.3");
    }
    void TearDown() override {
        ReleaseCodePageConverter();
        // A library that passed is the resource handle and stays loaded.
        if (AfxGetResourceHandle() != programResources)
            FreeLibrary(AfxGetResourceHandle());
        AfxSetResourceHandle(m_module);
        FreeLibrary(programResources);
        UnregisterResourceModule(kProgramResources);
        UnregisterResourceModule(kLibrary);
        UnregisterBuiltinModule("GameX.exe");
        __argc = savedCount;
        __argv = savedVector;
        SetAppProfileName(savedProfile.c_str());
        unsetenv("PELLOR_CONFIG_DIR");
        DialogTest::TearDown();
    }
    // The library with its strings, then its version block over it.
    static void UseLibrary(std::vector<WORD> version, const std::string& internalName,
                           const char8_t* versionString) {
        const std::string script =
            "STRINGTABLE\nBEGIN\n 500 \"" + Utf8(versionString) + "\"\n 29936 \"936\"\nEND\n";
        ASSERT_TRUE(RegisterResourceModuleText(kLibrary, script, "."));
        BuiltinModuleDefinition library = Versioned(kLibrary, version, internalName);
        library.versionStrings.push_back({"LegalCopyright", Copyright()});
        library.versionStrings.push_back({"CompanyName", "Quillane"});
        ASSERT_TRUE(RegisterBuiltinModule(library));
    }
    static void SetProfilePath(const std::string& path) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKey(HKEY_CURRENT_USER, "Software\\Quillane\\Game\\GameX", &key),
                  ERROR_SUCCESS);
        RegSetValueEx(key, "Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                      DWORD(path.size() + 1));
        RegCloseKey(key);
    }
    // 60 bytes of double-byte characters.
    static std::string Copyright() {
        std::string text;
        for (int i = 0; i < 15; ++i)
            text += "版权";
        return text;
    }
    // The check's result, and the text of the box it showed ("" for none).
    static int Check(const std::function<int()>& check, std::string* shown) {
        Script::Run({[shown] {
            *shown = TextOf(GetDlgItem(GetActiveWindow(), 0xFFFF));
            Key(VK_RETURN);
        }});
        const int result = check();
        if (!Script::Done()) {
            Script::Run({}); // no box came: the step is dropped
            PumpInput();
        }
        return result;
    }
    // A refused library is let go: only an unloaded module can be replaced.
    static bool Released() { return UnregisterResourceModule(kLibrary); }

    static constexpr const char* kLibrary = "GameX_Res.dll";
    static constexpr const char* kProgramResources = "GameXProgram_res.dll";
    char program[32] = "/opt/Games.v2/GameX";
    char* arguments[2] = {program, nullptr};
    TempFolder config;
    std::string savedProfile;
    int savedCount = 0;
    char** savedVector = nullptr;
    HMODULE programResources = nullptr;
};

TEST_F(ResourceLibraryCheckTest, DisplayVersionShowsBetaBelowRevision255) {
    char text[40];
    FormatDisplayVersion(2, 3, 255, text, sizeof text);
    EXPECT_STREQ(text, "2.03");
    FormatDisplayVersion(2, 3, 7, text, sizeof text);
    EXPECT_STREQ(text, "2.03 Beta7");
}

TEST_F(ResourceLibraryCheckTest, MatchingLibraryBecomesTheResourcesAndFillsTheIdentity) {
    std::string shown;
    ASSERT_EQ(Check([] { return CheckResourceLibraryVersion("GameX"); }, &shown), 1);
    EXPECT_EQ(shown, "");
    const tagPROGRAMIDENTITY& id = theProgramIdentity;
    EXPECT_STREQ(id.szProgramVersion, "2.03.0.7");
    EXPECT_STREQ(id.szDisplayVersion, "2.03 Beta7");
    EXPECT_STREQ(id.szProgramInternalName, "GameX");
    EXPECT_STREQ(id.szLibraryInternalName, "GameXResource");
    EXPECT_STREQ(id.szSpecialBuild, "nightly");
    EXPECT_STREQ(id.szCompanyName, "Quillane");
    // 60 bytes of double-byte text, cut below its 60-byte field at a
    // character boundary.
    EXPECT_EQ(std::string(id.szLegalCopyright), Copyright().substr(0, 58));
    EXPECT_EQ(id.dwLibraryTranslation, 0x03A80804u);
    EXPECT_EQ(id.osVersion.dwOSVersionInfoSize, sizeof(OSVERSIONINFOA));
    EXPECT_EQ(id.osVersion.dwPlatformId, DWORD(VER_PLATFORM_WIN32_NT));
    char text[64] = "";
    AfxLoadString(29936, text, sizeof text); // only the library has it
    EXPECT_STREQ(text, "936");
    EXPECT_TRUE(IsCodePageConverterAvailable());
    EXPECT_TRUE(ReleaseCodePageConverter());
    EXPECT_FALSE(IsCodePageConverterAvailable());
    EXPECT_FALSE(ReleaseCodePageConverter());
}

TEST_F(ResourceLibraryCheckTest, WrongLibrariesAreRefusedAndLetGo) {
    struct Case {
        std::vector<WORD> version;
        const char* internalName;
        const char* minimum;
        const char* message;
    };
    const Case cases[] = {
        {{2, 3, 0, 7}, "GameXRes", nullptr, "Incorrect version of GameX_Res.dll !"},
        {{2, 3, 0, 7}, "GameResource", nullptr, "Incorrect version of GameX_Res.dll !"},
        {{2, 3, 0, 8}, "GameXResource", nullptr, "Incorrect version of GameX_Res.dll !"},
        {{2, 2, 9, 9}, "GameXResource", "2,3,0,0", "Too old version of GameX_Res.dll !"},
        {{2, 3, 0, 0}, "GameXResource", "2 3 0 1", "Too old version of GameX_Res.dll !"},
    };
    for (const Case& c : cases) {
        UnregisterResourceModule(kLibrary);
        UseLibrary(c.version, c.internalName, u8"版本2.3");
        std::string shown;
        EXPECT_EQ(Check([&] { return CheckResourceLibraryMinVersion("GameX", c.minimum); }, &shown),
                  0);
        EXPECT_EQ(shown, c.message) << c.internalName;
        EXPECT_EQ(AfxGetResourceHandle(), programResources) << c.internalName;
        EXPECT_TRUE(Released()) << c.internalName;
    }
    std::string shown;
    EXPECT_EQ(Check([] { return CheckResourceLibraryVersion("Nope"); }, &shown), 0);
    EXPECT_EQ(shown, "Nope_Res.dll not found !");
}

TEST_F(ResourceLibraryCheckTest, MinimumVersionNeedNotEqualTheProgram) {
    UnregisterResourceModule(kLibrary);
    UseLibrary({2, 3, 0, 0}, "gamexRESOURCE", u8"版本2.3");
    std::string shown;
    EXPECT_EQ(Check([] { return CheckResourceLibraryMinVersion("GameX", "2,3,0,0"); }, &shown), 1);
    EXPECT_EQ(shown, "");
}

TEST_F(ResourceLibraryCheckTest, ShortCheckComparesTheVersionString) {
    std::string shown;
    UnregisterResourceModule(kLibrary);
    UseLibrary({1, 0, 0, 0}, "x", u8"版本2.4");
    EXPECT_EQ(Check([] { return CheckResourceLibrary("GameX", 500); }, &shown), 0);
    EXPECT_EQ(shown, "Incorrect version of GameX_Res.dll !");
    EXPECT_EQ(AfxGetResourceHandle(), programResources);
    EXPECT_TRUE(Released());

    UseLibrary({1, 0, 0, 0}, "x", u8"版本2.3");
    EXPECT_EQ(Check([] { return CheckResourceLibrary("GameX", 501); }, &shown), 0);
    EXPECT_EQ(shown, "GameX_Res.dll is not a valid resource file !");
    EXPECT_EQ(Check([] { return CheckResourceLibrary("GameX", 500); }, &shown), 1);
    EXPECT_NE(AfxGetResourceHandle(), programResources);
}

TEST_F(ResourceLibraryCheckTest, LibraryNextToTheProgramComesBeforeTheProfileFolder) {
    SetProfilePath("D:\\Elsewhere");
    char path[MAX_PATH] = "";
    HMODULE library = LoadResourceLibrary("GameX", path);
    ASSERT_NE(library, nullptr);
    char folder[MAX_PATH] = "";
    GetModuleFileName(nullptr, folder, sizeof folder);
    *strrchr(folder, '\\') = '\0';
    EXPECT_EQ(std::string(path), std::string(folder) + "\\GameX_Res.dll");
    FreeLibrary(library);
    EXPECT_EQ(LoadResourceLibrary("Nope", path), nullptr);
}

TEST_F(ResourceLibraryCheckTest, GameFileVersionFallsBackToTheLibrary) {
    DWORD high = 1, low = 1;
    char text[24] = "untouched";
    GetGameFileVersion("GameX", &high, &low, text); // no "Path" yet
    EXPECT_STREQ(text, "untouched");

    SetProfilePath("C:\\Games");
    GetGameFileVersion("GameX", &high, &low, text);
    EXPECT_EQ(high, 0x00020003u);
    EXPECT_EQ(low, 0x00000007u);
    EXPECT_STREQ(text, "2.03.0.7");

    ASSERT_TRUE(RegisterBuiltinModule(Versioned("Solo_Res.dll", {4, 1, 2, 3}, "SoloResource")));
    GetGameFileVersion("Solo", &high, &low, text);
    EXPECT_STREQ(text, "4.01.2.3");
    UnregisterBuiltinModule("Solo_Res.dll");
    GetGameFileVersion("Solo", &high, &low, text);
    EXPECT_STREQ(text, "4.01.2.3");
}

} // namespace
