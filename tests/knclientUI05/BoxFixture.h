#pragma once

// Message-box tests: the dialog fixture's headless display, stepped clock and
// injected input, with the program's resource library as the resource
// handle (the boxes' template, captions and hand cursor live there).

#include "tests/support/DialogFixture.h"

#include "knclientUI05/MsgBoxDlg.h"
#include "platform/controls/MessageBox.h"

#include <string>

namespace ui_test {

class BoxTest : public platform_test::DialogTest {
protected:
    static constexpr const char* kLibrary = "Pellor2_res.dll";

    void SetUp() override {
        DialogTest::SetUp();
        std::string error;
        ASSERT_TRUE(RegisterResourceModule(
            kLibrary, std::string(PELLOR_ASSET_DIR) + "/Pellor2_res.rc", &error))
            << error;
        m_library = LoadLibrary(kLibrary);
        ASSERT_NE(m_library, nullptr);
        AfxSetResourceHandle(m_library);
    }
    void TearDown() override {
        DialogTest::TearDown();
        FreeLibrary(m_library);
        UnregisterResourceModule(kLibrary);
    }

    static std::string StringOf(UINT id) {
        CString text;
        text.LoadString(id);
        return text.GetString();
    }
    static HWND Item(HWND box, int id) { return GetDlgItem(box, id); }
    static bool Shown(HWND control) {
        return (GetWindowLong(control, GWL_STYLE) & WS_VISIBLE) != 0;
    }

    HINSTANCE m_library = nullptr;
};

} // namespace ui_test
