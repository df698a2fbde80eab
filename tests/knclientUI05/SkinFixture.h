#pragma once

// Skinned dialog tests: the message-box fixture with a skin chosen. The
// default theme's skin is the built one; WriteSkin makes a skin of its own
// in a temporary folder (ini text and pictures drawn by the test), and
// SaveWindow leaves a picture of a window for a person to look at.

#include "BoxFixture.h"

#include "knclientbase05/SkinSettings.h"
#include "platform/display/WindowSurfaces.h"
#include "platform/images/BmpFile.h"
#include "platform/images/PngFile.h"
#include "platform/system/DebugOutput.h"
#include "platform/window/Redraw.h"
#include "tests/support/TempFolder.h"

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace ui_test {

// What the library wrote to the debugger output while a DebugOutputWatch
// lived.
class DebugOutputWatch {
public:
    DebugOutputWatch() : m_previous(platform::SetDebugOutputListener(Listen)) { Lines().clear(); }
    ~DebugOutputWatch() { platform::SetDebugOutputListener(m_previous); }
    DebugOutputWatch(const DebugOutputWatch&) = delete;
    DebugOutputWatch& operator=(const DebugOutputWatch&) = delete;
    static std::vector<std::string>& Lines() {
        static std::vector<std::string> lines;
        return lines;
    }

private:
    static void Listen(LPCSTR text) { Lines().push_back(text); }
    platform::DebugOutputListener m_previous;
};

class SkinTest : public BoxTest {
protected:
    void SetUp() override {
        BoxTest::SetUp();
        m_saved = theSkin;
        UseDefaultSkin();
    }
    void TearDown() override {
        theSkin = m_saved;
        BoxTest::TearDown();
    }

    static void UseDefaultSkin() {
        SetSkin(std::string(PELLOR_ASSET_DIR) + "/theme_bmp/Default.thm",
                std::string(PELLOR_ASSET_DIR) + "/Theme/");
    }
    static void SetSkin(const std::string& ini, const std::string& pictures) {
        snprintf(theSkin.szThemeFile, MAX_PATH, "%s", ini.c_str());
        snprintf(theSkin.szThemeFolder, MAX_PATH, "%s", pictures.c_str());
        theSkin.bSkinInUse = true;
        theSkin.nThemeResMode = 0;
        theSkin.hThemeRes = nullptr;
    }
    // A skin of the test's own: the ini text as given, pictures in the same
    // folder.
    void WriteSkin(const std::string& iniText) {
        m_folder.Write("skin.ini", iniText);
        SetSkin(m_folder.File("skin.ini"), m_folder.Path() + "/");
    }
    // A picture of w x h filled by paint(x, y) -> 0x00RRGGBB.
    void WritePicture(const std::string& name, int w, int h,
                      const std::function<uint32_t(int, int)>& paint) {
        platform::PixelImage image;
        image.Reset(w, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                image.At(x, y) = paint(x, y);
        ASSERT_TRUE(platform::SaveBmpFile(m_folder.File(name), image, platform::BmpFormat::Rgb24));
    }

    static void SaveWindow(HWND window, const std::string& name) {
        // Children paint after their parent: let them.
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        platform::Surface* surface = platform::GetWindowSurfaces()->SurfaceOf(window);
        if (surface == nullptr)
            return;
        const std::string folder = UI_TEST_OUTPUT_DIR;
        std::filesystem::create_directories(folder);
        platform::SavePngFile(folder + "/" + name + ".png", *surface);
    }

    TempFolder m_folder;

private:
    tagSKINSETTINGS m_saved{};
};

} // namespace ui_test
