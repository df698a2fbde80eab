// The running program as the desktop sees it: its window's icon, its key in
// the registry file, and the seat it holds against a second copy.

#include "tests/app/StartupFixture.h"

#include "knclientbase05/AppProfile.h"
#include "platform/system/Registry.h"
#include "platform/window/WindowAttention.h"

namespace app_test {
namespace {

TEST_F(StartupTest, TheProgramShowsItsIconKeepsItsKeyAndHoldsItsSeatWhenAsked) {
    StartHost();
    Launch("1");
    ASSERT_TRUE(theApp.InitInstance()) << Log();
    CMainFrame* frame = theApp.m_pMainWnd;
    ASSERT_NE(frame, nullptr);
    const LRESULT big = frame->SendMessage(WM_GETICON, ICON_BIG, 0);
    EXPECT_NE(big, 0);
    EXPECT_EQ(frame->SendMessage(WM_GETICON, ICON_SMALL, 0), big);

    HKEY key = nullptr;
    const CString own = CString("Software\\Quillane\\Game\\") + GetAppProfileName();
    EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, own, 0, KEY_READ, &key), ERROR_SUCCESS) << own;
    if (key)
        RegCloseKey(key);

    // Start-up does not take the seat; a copy that asks first holds it, and
    // the next one to ask finds it until the first has gone.
    {
        CGameApp first;
        EXPECT_FALSE(first.IsAlreadyRunning());
        EXPECT_TRUE(theApp.IsAlreadyRunning());
    }
    EXPECT_FALSE(theApp.IsAlreadyRunning());
    CGameApp second;
    EXPECT_TRUE(second.IsAlreadyRunning());
}

} // namespace
} // namespace app_test
