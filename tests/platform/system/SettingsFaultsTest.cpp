// The settings stores under faults: several processes writing one ini file,
// a process killed in the middle of a write, and keys with many values or
// files with many sections.

#include "platform/system/FileIo.h"
#include "platform/system/IniFile.h"
#include "platform/system/Profile.h"
#include "platform/system/Registry.h"
#include "platform/system/RegistryTree.h"

#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <functional>
#include <set>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

class SettingsFaultsTest : public ::testing::Test {
protected:
    void SetUp() override { setenv("PELLOR_CONFIG_DIR", m_folder.Path().c_str(), 1); }
    void TearDown() override { unsetenv("PELLOR_CONFIG_DIR"); }

    // The names in the folder that start with prefix.
    std::vector<std::string> Entries(const std::string& prefix) const {
        std::vector<std::string> names;
        DIR* dir = opendir(m_folder.Path().c_str());
        while (dirent* entry = dir ? readdir(dir) : nullptr)
            if (std::string(entry->d_name).rfind(prefix, 0) == 0)
                names.push_back(entry->d_name);
        if (dir)
            closedir(dir);
        return names;
    }

    // Runs work in a child that is killed by SIGXFSZ once it has written
    // a few bytes of any file: a write cut off in the middle.
    static void KilledMidWrite(const std::function<void()>& work) {
        const pid_t child = fork();
        if (child == 0) {
            rlimit small{4096, 4096};
            setrlimit(RLIMIT_FSIZE, &small);
            work();
            _exit(0); // not reached: the write is cut off
        }
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ);
    }

    static int CountListed(const std::vector<char>& list) {
        int count = 0;
        for (size_t i = 0; i + 1 < list.size() && list[i] != '\0'; i += strlen(&list[i]) + 1)
            ++count;
        return count;
    }

    TempFolder m_folder;
};

TEST_F(SettingsFaultsTest, IniWritesOfSeveralProcessesAreAllKept) {
    constexpr int kWriters = 6;
    constexpr int kKeysEach = 60;
    const std::string file = m_folder.File("shared.ini");
    std::vector<pid_t> children;
    for (int writer = 0; writer < kWriters; ++writer) {
        const pid_t child = fork();
        if (child == 0) {
            bool ok = true;
            for (int i = 0; i < kKeysEach; ++i) {
                const std::string key = "w" + std::to_string(writer) + "_" + std::to_string(i);
                ok = WritePrivateProfileString("Keys", key.c_str(), "1", file.c_str()) && ok;
            }
            _exit(ok ? 0 : 1);
        }
        children.push_back(child);
    }
    for (pid_t child : children) {
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    std::vector<char> keys(64 * 1024);
    GetPrivateProfileString("Keys", nullptr, "", keys.data(), DWORD(keys.size()), file.c_str());
    EXPECT_EQ(CountListed(keys), kWriters * kKeysEach) << "acknowledged writes were lost";
}

TEST_F(SettingsFaultsTest, AnIniTemporaryOfAKilledWriterIsRemovedByTheNextWrite) {
    const std::string file = m_folder.File("game.ini");
    ASSERT_TRUE(WritePrivateProfileString("A", "kept", "yes", file.c_str()));
    const std::string big(64 * 1024, 'x');
    KilledMidWrite([&] { WritePrivateProfileString("A", "big", big.c_str(), file.c_str()); });
    ASSERT_EQ(Entries("game.ini.tmp.").size(), 1u);
    // A live process's temporary is its own business and stays.
    const std::string live = "game.ini.tmp." + std::to_string(getpid()) + ".999";
    ASSERT_TRUE(WriteFileAtomically(m_folder.File(live), ""));

    ASSERT_TRUE(WritePrivateProfileString("A", "next", "1", file.c_str()));
    EXPECT_EQ(Entries("game.ini.tmp."), std::vector<std::string>{live});
    char value[8] = {};
    GetPrivateProfileString("A", "kept", "", value, sizeof value, file.c_str());
    EXPECT_STREQ(value, "yes");
    GetPrivateProfileString("A", "big", "none", value, sizeof value, file.c_str());
    EXPECT_STREQ(value, "none"); // the cut-off write never replaced the file
}

TEST_F(SettingsFaultsTest, ARegistryTemporaryOfAKilledWriterIsRemovedByTheNextWrite) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKey(HKEY_CURRENT_USER, "Software\\Big", &key), ERROR_SUCCESS);
    const std::vector<BYTE> big(64 * 1024, 7);
    KilledMidWrite(
        [&] { RegSetValueEx(key, "Blob", 0, REG_BINARY, big.data(), DWORD(big.size())); });
    ASSERT_EQ(Entries("registry.txt.tmp.").size(), 1u);
    const DWORD one = 1;
    ASSERT_EQ(RegSetValueEx(key, "One", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), 4),
              ERROR_SUCCESS);
    EXPECT_TRUE(Entries("registry.txt.tmp.").empty());
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueEx(key, "Blob", nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
    RegCloseKey(key);
}

// Names that differ only in case are one name; removing a value keeps the
// others found at their places and in their order.
TEST_F(SettingsFaultsTest, ManyValuesOfOneKeyStayFoundByAnyCase) {
    RegistryKey key;
    for (int i = 0; i < 1000; ++i)
        key.SetValue("Value" + std::to_string(i), REG_DWORD, std::to_string(i));
    key.SetValue("VALUE7", REG_SZ, "seven");
    ASSERT_EQ(key.values.size(), 1000u);
    EXPECT_EQ(key.values[7].name, "Value7"); // the first spelling stays
    EXPECT_EQ(key.FindValue("value7")->data, "seven");
    EXPECT_TRUE(key.RemoveValue("vAlUe3"));
    EXPECT_FALSE(key.RemoveValue("Value3"));
    EXPECT_EQ(key.FindValue("Value3"), nullptr);
    ASSERT_EQ(key.values.size(), 999u);
    EXPECT_EQ(key.values[3].name, "Value4");
    for (int i : {0, 4, 500, 999})
        EXPECT_EQ(key.FindValue("value" + std::to_string(i))->data, std::to_string(i)) << i;
    key.SetValue("Value3", REG_SZ, "back");
    EXPECT_EQ(key.values.back().name, "Value3");
    key.ClearValues();
    EXPECT_EQ(key.FindValue("Value4"), nullptr);
}

TEST_F(SettingsFaultsTest, SectionAndKeyListsNameEachOnceWhateverTheCase) {
    std::string text;
    for (int i = 0; i < 500; ++i)
        text += "[S" + std::to_string(i) + "]\nk=1\nK=2\nkey" + std::to_string(i) + "=3\n";
    text += "[s7]\n[S0]\n";
    const IniFile ini = IniFile::Parse(text);
    const std::vector<std::string> sections = ini.SectionNames();
    ASSERT_EQ(sections.size(), 500u);
    EXPECT_EQ(sections[7], "S7");
    EXPECT_EQ(ini.KeyNames("s42"), (std::vector<std::string>{"k", "key42"}));
}

} // namespace
