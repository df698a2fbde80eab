#include "platform/system/Module.h"
#include "platform/gdi/Gdi.h"
#include "platform/window/Input.h"
#include "platform/window/Window.h"

#include "platform/Errors.h"
#include "platform/system/FileVersion.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

int attaches = 0;
int detaches = 0;
int Twice(int value) {
    return value * 2;
}

class ModuleTest : public ::testing::Test {
protected:
    void SetUp() override {
        attaches = detaches = 0;
        BuiltinModuleDefinition player;
        player.fileName = "KNMPDll.dll";
        player.version[0] = 2;
        player.version[1] = 7;
        player.version[2] = 0;
        player.version[3] = 13;
        player.versionStrings = {{"ProductName", "Music player"}, {"CompanyName", "Quillane"}};
        player.exports = {{"Twice", reinterpret_cast<FARPROC>(&Twice)}};
        player.attach = [] { ++attaches; };
        player.detach = [] { ++detaches; };
        ASSERT_TRUE(RegisterBuiltinModule(player));
    }
    void TearDown() override { UnregisterBuiltinModule("KNMPDll.dll"); }

    // The version block of a file, empty when it has none.
    static std::vector<BYTE> VersionBlock(const char* file) {
        DWORD handle = 1;
        DWORD size = GetFileVersionInfoSize(file, &handle);
        EXPECT_EQ(handle, 0u);
        std::vector<BYTE> block(size);
        if (size && !GetFileVersionInfo(file, 0, size, block.data()))
            block.clear();
        return block;
    }
};

TEST_F(ModuleTest, FoundByAnySpellingOfItsName) {
    for (const char* name : {"KNMPDll.dll", "knmpdll.DLL", "KNMPDll",
                             "C:\\Games\\Share\\knmpdll.dll", "/opt/x/KNMPDLL.dll"}) {
        HMODULE module = LoadLibrary(name);
        EXPECT_NE(module, nullptr) << name;
        FreeLibrary(module);
    }
    EXPECT_EQ(LoadLibrary("KNMPDll.exe"), nullptr);
}

TEST_F(ModuleTest, ExportsAreCalledThroughTheirAddress) {
    HMODULE module = LoadLibraryA("KNMPDll.dll");
    ASSERT_NE(module, nullptr);
    auto twice = reinterpret_cast<int (*)(int)>(GetProcAddress(module, "Twice"));
    ASSERT_NE(twice, nullptr);
    EXPECT_EQ(twice(21), 42);
    EXPECT_EQ(GetProcAddress(module, "twice"), nullptr); // export names keep their case
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));
    EXPECT_EQ(GetProcAddress(module, reinterpret_cast<LPCSTR>(1)), nullptr);
    FreeLibrary(module);
}

TEST_F(ModuleTest, MissingModuleFailsToLoad) {
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(LoadLibrary("KNChatEx.dll"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
    EXPECT_TRUE(UnregisterBuiltinModule("knmpdll"));
    EXPECT_EQ(LoadLibrary("KNMPDll.dll"), nullptr);
    EXPECT_EQ(GetFileVersionInfoSize("KNMPDll.dll", nullptr), 0u);
}

TEST_F(ModuleTest, LoadsAreCounted) {
    HMODULE first = LoadLibrary("KNMPDll.dll");
    HMODULE second = LoadLibrary("knmpdll");
    EXPECT_EQ(first, second);
    EXPECT_EQ(attaches, 1);
    EXPECT_FALSE(UnregisterBuiltinModule("KNMPDll.dll")); // still loaded
    EXPECT_TRUE(FreeLibrary(first));
    EXPECT_EQ(detaches, 0);
    EXPECT_NE(GetProcAddress(second, "Twice"), nullptr);
    EXPECT_TRUE(FreeLibrary(second));
    EXPECT_EQ(detaches, 1);
    EXPECT_EQ(GetProcAddress(first, "Twice"), nullptr); // unloaded: the handle is dead
    EXPECT_FALSE(FreeLibrary(first));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST_F(ModuleTest, LoadAttemptsAreCountedFoundOrNot) {
    const int before = BuiltinModuleLoadAttempts("NoSuchCodec.dll");
    EXPECT_EQ(LoadLibrary("C:\\x\\NoSuchCodec.dll"), nullptr);
    EXPECT_EQ(LoadLibrary("nosuchcodec"), nullptr);
    EXPECT_EQ(BuiltinModuleLoadAttempts("NOSUCHCODEC.DLL"), before + 2);
    const int player = BuiltinModuleLoadAttempts("KNMPDll.dll");
    HMODULE loaded = LoadLibrary("KNMPDll.dll");
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(BuiltinModuleLoadAttempts("knmpdll"), player + 1);
    FreeLibrary(loaded);
}

TEST_F(ModuleTest, FileNameOfAModuleIsInTheProgramFolder) {
    HMODULE module = LoadLibrary("c:\\elsewhere\\knmpdll.dll");
    char path[MAX_PATH];
    char program[MAX_PATH];
    ASSERT_GT(GetModuleFileName(module, path, MAX_PATH), 0u);
    ASSERT_GT(GetModuleFileName(nullptr, program, MAX_PATH), 0u);
    std::string folder(program, strrchr(program, '\\') + 1);
    EXPECT_EQ(std::string(path), folder + "KNMPDll.dll");
    FreeLibrary(module);
}

TEST_F(ModuleTest, VersionReadsAsFourWords) {
    std::vector<BYTE> block = VersionBlock("Share\\KNMPDll.dll");
    ASSERT_FALSE(block.empty());
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<LPVOID*>(&fixed), &length));
    ASSERT_EQ(length, 52u);
    EXPECT_EQ(fixed->dwSignature, VS_FFI_SIGNATURE);
    EXPECT_EQ(HIWORD(fixed->dwFileVersionMS), 2);
    EXPECT_EQ(LOWORD(fixed->dwFileVersionMS), 7);
    EXPECT_EQ(HIWORD(fixed->dwFileVersionLS), 0);
    EXPECT_EQ(LOWORD(fixed->dwFileVersionLS), 13);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_DLL));
}

TEST_F(ModuleTest, VersionStringsFollowTheTranslation) {
    std::vector<BYTE> block = VersionBlock("KNMPDll.dll");
    DWORD* translation = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValue(block.data(), "\\VarFileInfo\\Translation",
                              reinterpret_cast<LPVOID*>(&translation), &length));
    ASSERT_EQ(length, 4u);
    char query[64];
    snprintf(query, sizeof query, "\\StringFileInfo\\%04x%04x\\productname", LOWORD(*translation),
             HIWORD(*translation));
    char* text = nullptr;
    ASSERT_TRUE(VerQueryValue(block.data(), query, reinterpret_cast<LPVOID*>(&text), &length));
    EXPECT_STREQ(text, "Music player");
    EXPECT_FALSE(VerQueryValue(block.data(), "\\StringFileInfo\\04090000\\ProductName",
                               reinterpret_cast<LPVOID*>(&text), &length));
    EXPECT_FALSE(VerQueryValue(block.data(), "\\StringFileInfo\\080403a8\\Missing",
                               reinterpret_cast<LPVOID*>(&text), &length));
    EXPECT_EQ(length, 0u);
}

TEST_F(ModuleTest, ModuleWithoutVersionOrUnknownFileHasNone) {
    BuiltinModuleDefinition bare;
    bare.fileName = "people.dll";
    bare.hasVersionInfo = false;
    ASSERT_TRUE(RegisterBuiltinModule(bare));
    EXPECT_EQ(GetFileVersionInfoSize("people.dll", nullptr), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_TYPE_NOT_FOUND));
    EXPECT_EQ(GetFileVersionInfoSize("nothing.dll", nullptr), 0u);
    UnregisterBuiltinModule("people.dll");
}

TEST_F(ModuleTest, CutBlockIsNeverReadPastItsEnd) {
    DWORD size = GetFileVersionInfoSize("KNMPDll.dll", nullptr);
    std::vector<BYTE> cut(size - 3);
    ASSERT_TRUE(GetFileVersionInfo("KNMPDll.dll", 0, static_cast<DWORD>(cut.size()), cut.data()));
    LPVOID value = nullptr;
    UINT length = 0;
    EXPECT_TRUE(VerQueryValue(cut.data(), "\\", &value, &length));
    EXPECT_FALSE(VerQueryValue(cut.data(), "\\StringFileInfo\\080403a8\\CompanyName", &value,
                               &length)); // the last item lies past the cut
    std::vector<BYTE> garbage(200, 0xAB);
    EXPECT_FALSE(VerQueryValue(garbage.data(), "\\", &value, &length));
}

// The system calls the program looks up by name reach this layer's own.
TEST(SystemModules, NamedLookupsFindTheLayersCalls) {
    struct Lookup {
        const char* module;
        const char* name;
        FARPROC expected;
    } lookups[] = {
        {"msimg32", "AlphaBlend", reinterpret_cast<FARPROC>(&AlphaBlend)},
        {"COMCTL32.DLL", "_TrackMouseEvent", reinterpret_cast<FARPROC>(&TrackMouseEvent)},
        {"User32.DLL", "SetLayeredWindowAttributes",
         reinterpret_cast<FARPROC>(&SetLayeredWindowAttributes)},
    };
    for (const Lookup& lookup : lookups) {
        HMODULE module = LoadLibrary(lookup.module);
        ASSERT_NE(module, nullptr) << lookup.module;
        EXPECT_EQ(GetProcAddress(module, lookup.name), lookup.expected) << lookup.name;
        EXPECT_EQ(GetProcAddress(module, "NoSuchCall"), nullptr);
        FreeLibrary(module);
    }
}

} // namespace
