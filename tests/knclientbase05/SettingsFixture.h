#pragma once

// A test with its own registry and files: the registry lives in a fresh
// settings folder, and the platform's shared folder points at a folder of
// the test.

#include "platform/system/Registry.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

class SettingsFixture : public ::testing::Test {
protected:
    void SetUp() override { setenv("PELLOR_CONFIG_DIR", config_.Path().c_str(), 1); }
    void TearDown() override { unsetenv("PELLOR_CONFIG_DIR"); }

    static void SetRegText(HKEY root, const std::string& key, const char* name,
                           const std::string& value) {
        HKEY handle = nullptr;
        ASSERT_EQ(RegCreateKey(root, key.c_str(), &handle), ERROR_SUCCESS);
        ASSERT_EQ(RegSetValueEx(handle, name, 0, REG_SZ,
                                reinterpret_cast<const BYTE*>(value.c_str()),
                                static_cast<DWORD>(value.size() + 1)),
                  ERROR_SUCCESS);
        RegCloseKey(handle);
    }
    static void SetUserText(const std::string& key, const char* name, const std::string& value) {
        SetRegText(HKEY_CURRENT_USER, key, name, value);
    }
    // The default value of a key, or "" when it cannot be read.
    static std::string GetDefault(HKEY root, const std::string& key) {
        HKEY handle = nullptr;
        if (RegOpenKeyEx(root, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
            return "";
        char text[512] = {};
        DWORD size = sizeof text - 1;
        RegQueryValueEx(handle, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size);
        RegCloseKey(handle);
        return text;
    }
    // Makes files.Path() the platform's shared folder, in both places it is read.
    void UseSharedFolder() {
        SetUserText("Software\\Quillane\\Game\\Share", "Path", files_.Path());
    }

    TempFolder config_;
    TempFolder files_;
};
