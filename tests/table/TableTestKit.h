#pragma once

// Test helpers of the table window: canvases whose pixels a test reads,
// pictures written as .bmp files, the program's resource library and the
// default theme as the build leaves them, a log kept apart, and sheets
// saved as PNG for a person to look at.

#include "platform/display/Display.h"
#include "platform/images/BmpFile.h"
#include "platform/images/Picture.h"
#include "platform/images/PngFile.h"
#include "platform/resources/Resource.h"
#include "platform/system/FileOps.h"
#include "platform/system/Module.h"
#include "sprite/AppServices.h"
#include "tests/support/GdiCanvas.h"
#include "tests/support/MessageLog.h"
#include "tests/support/TempFolder.h"

#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <sstream>
#include <string>

namespace table_test {

const std::string kAssets = std::string(PELLOR_ASSET_DIR) + "/";
const std::string kLayoutFile = kAssets + "theme_bmp/Default.thm";

// Pixels as 0x00RRGGBB from a COLORREF.
constexpr uint32_t Rgb(COLORREF c) {
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}
constexpr bool IsRedInk(uint32_t p) {
    return ((p >> 16) & 0xFF) > 150 && ((p >> 8) & 0xFF) < 110 && (p & 0xFF) < 110;
}
constexpr bool IsDarkInk(uint32_t p) {
    return ((p >> 16) & 0xFF) < 90 && ((p >> 8) & 0xFF) < 90 && (p & 0xFF) < 90;
}

inline platform::PixelImage Picture(int w, int h, const std::function<uint32_t(int, int)>& pixel) {
    platform::PixelImage image;
    image.Reset(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.At(x, y) = pixel(x, y);
    return image;
}

inline void WriteBmp(const std::string& path, const platform::PixelImage& image) {
    ASSERT_TRUE(platform::SaveBmpFile(path, image, platform::BmpFormat::Rgb24)) << path;
}

inline platform::PixelImage CanvasImage(const GdiCanvas& canvas) {
    return platform::ImageOfSurface(canvas.surface());
}

// Saves the picture where the test run leaves its sheets; the path.
inline std::string SaveSheet(const std::string& name, const platform::PixelImage& image) {
    CreateDirectory(TABLE_TEST_OUTPUT_DIR, nullptr);
    const std::string path = std::string(TABLE_TEST_OUTPUT_DIR) + "/" + name;
    EXPECT_TRUE(platform::SavePngFile(path, image)) << path;
    return path;
}

// Saves a window as shown (background and sprites) where the test run leaves
// its sheets; the path.
inline std::string SaveWindowSheet(CWnd* wnd, const std::string& name) {
    wnd->Invalidate(FALSE);
    wnd->UpdateWindow();
    platform_test::PumpPending();
    CreateDirectory(TABLE_TEST_OUTPUT_DIR, nullptr);
    const std::string path = std::string(TABLE_TEST_OUTPUT_DIR) + "/" + name;
    std::string error;
    EXPECT_TRUE(platform::SaveWindowPng(wnd->m_hWnd, path, &error)) << error;
    return path;
}

// A table's rules text: the time limits, then fields 14 to 40 as given (0
// otherwise) and the betting tail, without which the head carries no rule
// flags.
inline std::string RulesText(const std::map<int, int>& fields) {
    std::string text = "10 10 10 10 10 10 30 30 5 30 5 0 1";
    for (int field = 14; field <= 40; ++field) {
        auto found = fields.find(field);
        text += " " + std::to_string(found == fields.end() ? 0 : found->second);
    }
    return text + " 2 3 4 5 6 50 60 9000 0 0 0";
}

// The log of the program kept in a file of the test's own.
class LogCapture {
public:
    LogCapture() : m_path(m_folder.File("table.log")) { SetLogFileOverride(m_path.c_str()); }
    ~LogCapture() { SetLogFileOverride(nullptr); }
    std::string Text() const { return m_folder.Read("table.log"); }

private:
    TempFolder m_folder;
    std::string m_path;
};

// The program's resource library as the build draws it, made the resource
// module for the life of the object.
class ProgramResources {
public:
    ProgramResources() {
        std::string error;
        registered = RegisterResourceModule("Pellor2_res.dll", kAssets + "Pellor2_res.rc", &error);
        EXPECT_TRUE(registered) << error;
        m_module = LoadLibrary("Pellor2_res.dll");
        m_saved = AfxGetResourceHandle();
        AfxSetResourceHandle(m_module);
    }
    ~ProgramResources() {
        AfxSetResourceHandle(m_saved);
        if (m_module)
            FreeLibrary(m_module);
        UnregisterResourceModule("Pellor2_res.dll");
    }
    bool registered = false;

private:
    HMODULE m_module = nullptr;
    HINSTANCE m_saved = nullptr;
};

} // namespace table_test

namespace table_test {

// A layout file of a test's own ("<folder>/panes.thm") whose bitmaps lie in
// "<folder>/panes/".
class PaneFolder {
public:
    PaneFolder() : layoutFile(m_folder.File("panes.thm")) {
        CreateDirectory(m_folder.File("panes").c_str(), nullptr);
    }
    void Layout(const std::string& text) const { m_folder.Write("panes.thm", text); }
    void Bitmap(const std::string& name, const platform::PixelImage& image) const {
        WriteBmp(m_folder.File("panes/" + name), image);
    }
    void Bytes(const std::string& name, const std::string& bytes) const {
        m_folder.Write("panes/" + name, bytes);
    }

private:
    TempFolder m_folder;

public:
    const std::string layoutFile;
};

// Draws the image's whole frame at (x, y) of the canvas.
template <typename Image>
void DrawWhole(Image& image, GdiCanvas& canvas, int x, int y, int frame = 0) {
    const SIZE size = image.GetSize(nullptr);
    image.Draw(canvas.dc(), frame, nullptr, x, y, size.cx, size.cy, 0, 0, 255);
}

// Pixels of the colour (within 1 per channel) and where they lie.
inline bool Near(uint32_t a, uint32_t b, int tolerance = 1) {
    for (int shift = 0; shift < 24; shift += 8) {
        const int d = int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF);
        if (d > tolerance || d < -tolerance)
            return false;
    }
    return true;
}

} // namespace table_test
