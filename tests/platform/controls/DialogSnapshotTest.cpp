// Every dialog template of the program's resource library, made and painted
// on the headless display and saved as PNG for a person to look at.

#include "tests/support/DialogFixture.h"

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>

#ifdef PELLOR_ASSET_DIR

namespace {

// The template names of the script and their ids from resource.h.
std::vector<std::pair<std::string, int>> AuthoredDialogs() {
    std::map<std::string, int> ids;
    std::ifstream header(std::string(PELLOR_ASSET_SOURCE_DIR) + "/resource.h");
    const std::regex define(R"(^\s*#define\s+(\w+)\s+(\d+))");
    for (std::string line; std::getline(header, line);) {
        std::smatch m;
        if (std::regex_search(line, m, define))
            ids[m[1]] = std::stoi(m[2]);
    }
    std::vector<std::pair<std::string, int>> dialogs;
    std::ifstream script(std::string(PELLOR_ASSET_DIR) + "/Pellor2_res.rc");
    const std::regex dialog(R"(^(\w+)\s+DIALOGEX\b)");
    for (std::string line; std::getline(script, line);) {
        std::smatch m;
        if (std::regex_search(line, m, dialog))
            dialogs.push_back({m[1], ids.count(m[1]) ? ids[m[1]] : std::atoi(m[1].str().c_str())});
    }
    return dialogs;
}

class DialogSnapshot : public platform_test::DisplayTest {};

TEST_F(DialogSnapshot, EveryAuthoredTemplateIsMadeAndSaved) {
    std::string error;
    ASSERT_TRUE(RegisterResourceModule("Pellor2_res.dll",
                                       std::string(PELLOR_ASSET_DIR) + "/Pellor2_res.rc", &error))
        << error;
    HINSTANCE module = LoadLibrary("Pellor2_res.dll");
    ASSERT_NE(module, nullptr);
    HINSTANCE saved = AfxGetResourceHandle();
    AfxSetResourceHandle(module);
    const std::string folder = PELLOR_SNAPSHOT_DIR;
    std::filesystem::create_directories(folder);

    const auto dialogs = AuthoredDialogs();
    EXPECT_GE(dialogs.size(), 13u);
    for (const auto& [name, id] : dialogs) {
        CDialog dlg;
        ASSERT_TRUE(dlg.Create(UINT(id))) << name;
        dlg.ShowWindow(SW_SHOW);
        platform_test::PumpPending(); // every control paints
        RECT r;
        dlg.GetWindowRect(&r);
        EXPECT_GT(r.right - r.left, 50) << name;
        EXPECT_GT(r.bottom - r.top, 30) << name;
        const std::string path = folder + "/" + std::to_string(id) + "_" + name + ".png";
        EXPECT_TRUE(platform::SaveWindowPng(dlg.m_hWnd, path, &error)) << name << ": " << error;
        EXPECT_TRUE(std::filesystem::exists(path)) << path;
        dlg.DestroyWindow();
    }
    AfxSetResourceHandle(saved);
    FreeLibrary(module);
    UnregisterResourceModule("Pellor2_res.dll");
}

} // namespace

#endif
