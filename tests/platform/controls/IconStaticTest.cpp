// Icons on screen: an icon static set and read with STM_SETICON/STM_GETICON,
// the message box's system icons and a caller's own icon (MB_USERICON).

#include "tests/support/DialogFixture.h"
#include "tests/support/IconBytes.h"
#include "tests/support/TempFolder.h"

#include "platform/controls/MessageBox.h"
#include "platform/resources/Icon.h"

using namespace platform_test;

namespace {

// The icon static of the active message box and where it lies in the box.
HWND IconControlOf(HWND box, POINT& at) {
    HWND found = IconStaticOf(box);
    if (found) {
        RECT r;
        GetWindowRect(found, &r);
        at = POINT{r.left, r.top};
        ScreenToClient(box, &at);
    }
    return found;
}

class IconStatic : public DialogTest {
protected:
    // The pixel at a client point of a top-level window.
    static uint32_t ClientPixel(HWND topLevel, POINT client) {
        ClientToScreen(topLevel, &client);
        RECT window;
        GetWindowRect(topLevel, &window);
        return PixelOf(topLevel, client.x - window.left, client.y - window.top);
    }
};

TEST_F(IconStatic, SetIconSwapsThePictureAndPaintsIt) {
    SolidWnd parent;
    ASSERT_TRUE(parent.Top({0, 0, 200, 100}));
    HWND icon = CreateWindowEx(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_ICON, 10, 20, 32, 32,
                               parent.m_hWnd, nullptr, nullptr, nullptr);
    ASSERT_NE(icon, nullptr);
    std::string bytes = iconbytes::DibImage(iconbytes::MakePicture(32, 32, 0x0000C000), 24);
    HICON green = CreateIconFromResourceEx(reinterpret_cast<PBYTE>(bytes.data()),
                                           DWORD(bytes.size()), TRUE, 0x30000, 0, 0, 0);
    HICON question = LoadIcon(nullptr, IDI_QUESTION);
    EXPECT_EQ(SendMessage(icon, STM_SETICON, WPARAM(green), 0), 0);
    EXPECT_EQ(HICON(SendMessage(icon, STM_GETICON, 0, 0)), green);
    UpdateWindow(parent.m_hWnd);
    PumpPending();
    EXPECT_EQ(PixelOf(parent.m_hWnd, 10 + 31, 20 + 31), 0x00C000u);
    EXPECT_EQ(HICON(SendMessage(icon, STM_SETICON, WPARAM(question), 0)), green);
    DestroyWindow(icon);
    EXPECT_TRUE(DestroyIcon(green)); // the static left it to its owner
    parent.DestroyWindow();
}

TEST_F(IconStatic, MessageBoxesShowTheSystemIconOfTheirStyle) {
    HICON shown = nullptr;
    uint32_t pixel = 0;
    Script::Run({[&] {
        POINT at{};
        HWND control = IconControlOf(GetActiveWindow(), at);
        EXPECT_NE(control, nullptr); // and the box still closes below
        shown = HICON(SendMessage(control, STM_GETICON, 0, 0));
        pixel = ClientPixel(GetActiveWindow(), POINT{at.x + 16, at.y + 4});
        Key(VK_RETURN);
    }});
    EXPECT_EQ(MessageBox(nullptr, "出错了", "标题", MB_OK | MB_ICONHAND), IDOK);
    EXPECT_EQ(shown, LoadIcon(nullptr, IDI_HAND));
    EXPECT_EQ(pixel, 0xD02020u); // the red disc of our hand icon
}

TEST_F(IconStatic, MessageBoxIndirectShowsTheCallersOwnIcon) {
    TempFolder folder;
    folder.Write(
        "own.ico",
        iconbytes::IconFile({iconbytes::Entry{
            32, 32, 24, iconbytes::DibImage(iconbytes::MakePicture(32, 32, 0x00123456), 24)}}));
    std::string error;
    ASSERT_TRUE(RegisterResourceModuleText("OwnIcon_res.dll", "105 ICON \"own.ico\"\n",
                                           folder.Path(), &error))
        << error;
    HINSTANCE module = LoadLibrary("OwnIcon_res.dll");
    MSGBOXPARAMS params{};
    params.cbSize = sizeof params;
    params.hInstance = module;
    params.lpszText = "自己的图标";
    params.lpszCaption = "标题";
    params.dwStyle = MB_OK | MB_USERICON;
    params.lpszIcon = MAKEINTRESOURCE(105);
    HICON shown = nullptr;
    uint32_t pixel = 0;
    Script::Run({[&] {
        POINT at{};
        HWND control = IconControlOf(GetActiveWindow(), at);
        EXPECT_NE(control, nullptr); // and the box still closes below
        shown = HICON(SendMessage(control, STM_GETICON, 0, 0));
        pixel = ClientPixel(GetActiveWindow(), POINT{at.x + 5, at.y + 5});
        Key(VK_RETURN);
    }});
    EXPECT_EQ(MessageBoxIndirect(&params), IDOK);
    EXPECT_EQ(shown, LoadIcon(module, MAKEINTRESOURCE(105)));
    EXPECT_EQ(pixel, 0x123456u);
    FreeLibrary(module);
    UnregisterResourceModule("OwnIcon_res.dll");
}

} // namespace
