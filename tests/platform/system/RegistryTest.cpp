#include "platform/system/Registry.h"

#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override { setenv("PELLOR_CONFIG_DIR", m_folder.Path().c_str(), 1); }
    void TearDown() override { unsetenv("PELLOR_CONFIG_DIR"); }

    HKEY Create(HKEY root, const char* path, REGSAM access = KEY_ALL_ACCESS) {
        HKEY key = nullptr;
        EXPECT_EQ(RegCreateKeyEx(root, path, 0, nullptr, 0, access, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        return key;
    }
    static void SetText(HKEY key, const char* name, const std::string& text) {
        ASSERT_EQ(RegSetValueEx(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                                static_cast<DWORD>(text.size() + 1)),
                  ERROR_SUCCESS);
    }
    // The text of a value, or the error code as text.
    static std::string GetText(HKEY root, const char* path, const char* name) {
        HKEY key = nullptr;
        if (LSTATUS error = RegOpenKeyEx(root, path, 0, KEY_READ, &key))
            return "error " + std::to_string(error);
        char text[256] = {};
        DWORD size = sizeof text - 1;
        LSTATUS error =
            RegQueryValueEx(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size);
        RegCloseKey(key);
        return error ? "error " + std::to_string(error) : std::string(text);
    }

    TempFolder m_folder;
};

TEST_F(RegistryTest, ValuesOfEachTypeComeBackAsStored) {
    HKEY key = Create(HKEY_CURRENT_USER, "Software\\Quillane\\Game\\Share");
    SetText(key, "Path", "/home/me/share");
    DWORD number = 0x12345678;
    ASSERT_EQ(RegSetValueEx(key, "Count", 0, REG_DWORD, reinterpret_cast<BYTE*>(&number), 4),
              ERROR_SUCCESS);
    const BYTE blob[3] = {0, 0xFF, 0x25};
    ASSERT_EQ(RegSetValueEx(key, "Blob", 0, REG_BINARY, blob, 3), ERROR_SUCCESS);

    DWORD type = 0;
    DWORD read = 0;
    DWORD size = 4;
    EXPECT_EQ(RegQueryValueEx(key, "count", nullptr, &type, reinterpret_cast<BYTE*>(&read), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(read, number);
    BYTE bytes[8] = {};
    size = sizeof bytes;
    EXPECT_EQ(RegQueryValueEx(key, "BLOB", nullptr, &type, bytes, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(size, 3u);
    EXPECT_EQ(memcmp(bytes, blob, 3), 0);
    RegCloseKey(key);
    EXPECT_EQ(GetText(HKEY_CURRENT_USER, "software\\QUILLANE\\game\\share", "path"),
              "/home/me/share");
}

TEST_F(RegistryTest, SmallBufferGivesMoreDataAndTheSizeNeeded) {
    HKEY key = Create(HKEY_CURRENT_USER, "Software\\Quillane");
    SetText(key, "Name", "abcdef");
    char text[4] = {'X', 'X', 'X', 'X'};
    DWORD size = sizeof text;
    EXPECT_EQ(RegQueryValueEx(key, "Name", nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size),
              ERROR_MORE_DATA);
    EXPECT_EQ(size, 7u);
    size = 0;
    EXPECT_EQ(RegQueryValueEx(key, "Name", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 7u);
    EXPECT_EQ(RegQueryValueEx(key, "Other", nullptr, nullptr, nullptr, &size),
              ERROR_FILE_NOT_FOUND);
    RegCloseKey(key);
}

TEST_F(RegistryTest, MissingKeyFailsAndLeavesNoHandle) {
    HKEY key = reinterpret_cast<HKEY>(1);
    EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Nobody", 0, KEY_READ, &key),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(key, nullptr);
    EXPECT_EQ(GetText(HKEY_CURRENT_USER, "Software\\Nobody", "Path"), "error 2");
    EXPECT_EQ(RegCloseKey(reinterpret_cast<HKEY>(0x1234)), ERROR_INVALID_HANDLE);
}

TEST_F(RegistryTest, ReadOnlyHandleCannotWrite) {
    RegCloseKey(Create(HKEY_CURRENT_USER, "Software\\Quillane"));
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Quillane", 0, KEY_READ, &key),
              ERROR_SUCCESS);
    DWORD one = 1;
    EXPECT_EQ(RegSetValueEx(key, "x", 0, REG_DWORD, reinterpret_cast<BYTE*>(&one), 4),
              ERROR_ACCESS_DENIED);
    RegCloseKey(key);
    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Quillane", 0, KEY_SET_VALUE, &key),
              ERROR_SUCCESS);
    EXPECT_EQ(RegQueryValueEx(key, "x", nullptr, nullptr, nullptr, nullptr), ERROR_ACCESS_DENIED);
    RegCloseKey(key);
}

TEST_F(RegistryTest, CreateReportsNewOrExisting) {
    HKEY key = nullptr;
    DWORD disposition = 0;
    ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, "A\\B", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                             &key, &disposition),
              ERROR_SUCCESS);
    EXPECT_EQ(disposition, static_cast<DWORD>(REG_CREATED_NEW_KEY));
    RegCloseKey(key);
    ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, "a\\b", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                             &key, &disposition),
              ERROR_SUCCESS);
    EXPECT_EQ(disposition, static_cast<DWORD>(REG_OPENED_EXISTING_KEY));
    RegCloseKey(key);
}

TEST_F(RegistryTest, DeletingValuesAndKeys) {
    HKEY parent = Create(HKEY_CURRENT_USER, "Software\\Quillane");
    RegCloseKey(Create(parent, "Game\\Share"));
    SetText(parent, "v", "1");
    EXPECT_EQ(RegDeleteValue(parent, "V"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteValue(parent, "v"), ERROR_FILE_NOT_FOUND);

    EXPECT_EQ(RegDeleteKey(parent, "Game"), ERROR_ACCESS_DENIED); // it has a subkey
    HKEY share = nullptr;
    ASSERT_EQ(RegOpenKeyEx(parent, "Game\\Share", 0, KEY_ALL_ACCESS, &share), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteKey(parent, "game\\share"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteKey(parent, "Game\\Share"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegQueryValueEx(share, "Path", nullptr, nullptr, nullptr, nullptr),
              ERROR_KEY_DELETED);
    RegCloseKey(share);
    EXPECT_EQ(RegDeleteKey(parent, "Game"), ERROR_SUCCESS);
    RegCloseKey(parent);
}

TEST_F(RegistryTest, EnumerationOrderAndEnd) {
    HKEY key = Create(HKEY_CURRENT_USER, "E");
    RegCloseKey(Create(key, "beta"));
    RegCloseKey(Create(key, "Alpha"));
    SetText(key, "second", "2");
    SetText(key, "first", "1");

    char name[16];
    DWORD size = sizeof name;
    ASSERT_EQ(RegEnumKeyEx(key, 0, name, &size, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
    EXPECT_STREQ(name, "Alpha");
    EXPECT_EQ(size, 5u);
    size = sizeof name;
    ASSERT_EQ(RegEnumKeyEx(key, 1, name, &size, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
    EXPECT_STREQ(name, "beta");
    size = sizeof name;
    EXPECT_EQ(RegEnumKeyEx(key, 2, name, &size, nullptr, nullptr, nullptr, nullptr),
              ERROR_NO_MORE_ITEMS);
    size = 5; // "Alpha" needs six with its terminator
    EXPECT_EQ(RegEnumKeyEx(key, 0, name, &size, nullptr, nullptr, nullptr, nullptr),
              ERROR_MORE_DATA);

    char data[8];
    DWORD dataSize = sizeof data;
    DWORD type = 0;
    size = sizeof name;
    ASSERT_EQ(
        RegEnumValue(key, 0, name, &size, nullptr, &type, reinterpret_cast<BYTE*>(data), &dataSize),
        ERROR_SUCCESS);
    EXPECT_STREQ(name, "second");
    EXPECT_STREQ(data, "2");
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    size = sizeof name;
    EXPECT_EQ(RegEnumValue(key, 2, name, &size, nullptr, nullptr, nullptr, nullptr),
              ERROR_NO_MORE_ITEMS);
    RegCloseKey(key);
}

TEST_F(RegistryTest, DefaultValuesOfClassesRoot) {
    ASSERT_EQ(RegSetValue(HKEY_CLASSES_ROOT, "Quillane.rec\\Shell\\Open\\Command", REG_SZ,
                          "run.exe game \"%1\"", 0),
              ERROR_SUCCESS);
    EXPECT_EQ(GetText(HKEY_CLASSES_ROOT, "quillane.rec\\shell\\open\\command", nullptr),
              "run.exe game \"%1\"");
    EXPECT_EQ(GetText(HKEY_CLASSES_ROOT, "Quillane.rec\\Shell\\Open\\Command", ""),
              "run.exe game \"%1\"");
    EXPECT_EQ(GetText(HKEY_CURRENT_USER, "Quillane.rec", nullptr), "error 2");
}

TEST_F(RegistryTest, AnyBytesSurviveTheFile) {
    const std::string awkward = "\xB9\xB7\xBC\xB6 \"100%\"\n[x]\\y=\x01";
    HKEY key = Create(HKEY_CURRENT_USER, "Software\\\xB9\xB7[1]");
    SetText(key, awkward.c_str(), awkward);
    RegCloseKey(key);
    std::string file = m_folder.Read("registry.txt");
    EXPECT_NE(file.find("[HKEY_CURRENT_USER\\Software\\%B9%B7%5B1%5D]"), std::string::npos);

    // Another process reads the file from scratch.
    pid_t child = fork();
    if (child == 0)
        _exit(GetText(HKEY_CURRENT_USER, "Software\\\xB9\xB7[1]", awkward.c_str()) == awkward ? 0
                                                                                              : 1);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

TEST_F(RegistryTest, WritesOfOneProcessAreSeenByAnother) {
    HKEY key = Create(HKEY_CURRENT_USER, "Software\\Quillane\\Game\\Share");
    SetText(key, "Path", "before");
    EXPECT_EQ(GetText(HKEY_CURRENT_USER, "Software\\Quillane\\Game\\Share", "Path"), "before");

    pid_t child = fork();
    if (child == 0) {
        HKEY own = nullptr;
        RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Quillane\\Game\\Share", 0, KEY_ALL_ACCESS, &own);
        SetText(own, "Path", "after");
        SetText(own, "Added", "by child");
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

    // The handle opened before the child's write reads the child's values.
    char text[32] = {};
    DWORD size = sizeof text;
    EXPECT_EQ(RegQueryValueEx(key, "Path", nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size),
              ERROR_SUCCESS);
    EXPECT_STREQ(text, "after");
    EXPECT_EQ(GetText(HKEY_CURRENT_USER, "Software\\Quillane\\Game\\Share", "Added"), "by child");
    RegCloseKey(key);
}

TEST_F(RegistryTest, ConcurrentWritersLoseNothing) {
    constexpr int kWriters = 4;
    constexpr int kValuesEach = 15;
    pid_t children[kWriters];
    for (int writer = 0; writer < kWriters; ++writer) {
        children[writer] = fork();
        if (children[writer] == 0) {
            HKEY key = Create(HKEY_CURRENT_USER, "Shared");
            for (int i = 0; i < kValuesEach; ++i)
                SetText(key, ("w" + std::to_string(writer) + "_" + std::to_string(i)).c_str(), "x");
            _exit(0);
        }
    }
    for (pid_t child : children)
        waitpid(child, nullptr, 0);
    for (int writer = 0; writer < kWriters; ++writer)
        for (int i = 0; i < kValuesEach; ++i)
            EXPECT_EQ(GetText(HKEY_CURRENT_USER, "Shared",
                              ("w" + std::to_string(writer) + "_" + std::to_string(i)).c_str()),
                      "x");
}

TEST_F(RegistryTest, UnreadableLinesAreSkippedAndKept) {
    m_folder.Write("registry.txt", "[HKEY_CURRENT_USER\\Good]\n"
                                  "\"a\"=sz:\"1\"\n"
                                  "\"b\"=dword:zz\n"
                                  "garbage\n"
                                  "[HKEY_NOWHERE\\X]\n"
                                  "\"c\"=sz:\"lost?\"\n");
    EXPECT_EQ(GetText(HKEY_CURRENT_USER, "Good", "a"), "1");
    EXPECT_EQ(GetText(HKEY_CURRENT_USER, "Good", "b"), "error 2");
    HKEY key = Create(HKEY_CURRENT_USER, "Good");
    SetText(key, "d", "2");
    RegCloseKey(key);
    EXPECT_NE(m_folder.Read("registry.txt.unreadable").find("garbage"), std::string::npos);
    EXPECT_EQ(GetText(HKEY_CURRENT_USER, "Good", "d"), "2");
}

} // namespace
