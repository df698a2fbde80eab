#include "tests/support/DisplayFixture.h"

#include "platform/controls/ControlHost.h"

#include <gtest/gtest.h>

#include <map>

using namespace platform_test;

namespace {

const CLSID kCounterClsid = {0x11112222, 0x3333, 0x4444, {1, 2, 3, 4, 5, 6, 7, 8}};
const CLSID kMissingClsid = {0x11112222, 0x3333, 0x4444, {8, 7, 6, 5, 4, 3, 2, 1}};

// A small control: member 1 (I4, text) gives the number plus the text's
// length as I4; member 2 is a text property; member 3 (I4 by reference)
// doubles the variable; member 4 (pointer-sized) hands its value back.
struct Counter {
    CString label = "start";
    DispatchArgs lastArgs;
};
std::map<HWND, Counter>& Counters() {
    static std::map<HWND, Counter> counters;
    return counters;
}

LRESULT CALLBACK CounterProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CREATE)
        Counters()[hwnd] = Counter();
    if (message == WM_NCDESTROY)
        Counters().erase(hwnd);
    if (message != WM_CONTROLINVOKE)
        return DefWindowProc(hwnd, message, wParam, lParam);
    auto* call = reinterpret_cast<ControlInvocation*>(lParam);
    Counter& counter = Counters()[hwnd];
    const DispatchArgs& args = *call->args;
    counter.lastArgs = args;
    call->hr = S_OK;
    if (call->id == 1 && call->flags == DISPATCH_METHOD && args.size() == 2 &&
        args[0].type == VT_I4 && args[1].type == VT_BSTR)
        *call->result = DispatchValue::I4(args[0].AsI4() + args[1].text.GetLength());
    else if (call->id == 2 && call->flags == DISPATCH_PROPERTYGET)
        *call->result = DispatchValue::Text(counter.label);
    else if (call->id == 2 && call->flags == DISPATCH_PROPERTYPUT && args.size() == 1)
        counter.label = args[0].text;
    else if (call->id == 3 && args.size() == 1 && args[0].type == (VT_I4 | VT_BYREF))
        *args[0].reference *= 2;
    else if (call->id == 4 && args.size() == 1 && args[0].type == VT_INT_PTR)
        *call->result = args[0];
    else
        call->hr = DISP_E_MEMBERNOTFOUND;
    return 1;
}

HWND CreateCounter(const ControlCreateParams& params) {
    WNDCLASS wc{};
    wc.lpfnWndProc = CounterProc;
    wc.lpszClassName = "CounterControl";
    RegisterClass(&wc);
    const RECT& r = params.rect;
    return CreateWindowEx(0, "CounterControl", params.windowName, params.style, r.left, r.top,
                          r.right - r.left, r.bottom - r.top, params.parent,
                          reinterpret_cast<HMENU>(UINT_PTR(params.id)), nullptr, nullptr);
}

HWND FailToCreate(const ControlCreateParams&) {
    return nullptr;
}

// A factory whose window already has an object of its own.
RecordingWnd* g_owned = nullptr;
HWND CreateOwned(const ControlCreateParams& params) {
    g_owned = new RecordingWnd;
    g_owned->deleteOnNcDestroy = true;
    g_owned->Create(nullptr, "owned", params.style, params.rect, CWnd::FromHandle(params.parent),
                    params.id);
    return g_owned->m_hWnd;
}

class ControlHostTest : public DisplayTest {
protected:
    void SetUp() override {
        DisplayTest::SetUp();
        ASSERT_TRUE(RegisterControlClass({kCounterClsid, "Test.Counter.1", CreateCounter}));
        ASSERT_TRUE(parent.CreateTop(&log, 300, 200));
    }
    void TearDown() override {
        host.DestroyWindow();
        parent.DestroyWindow();
        UnregisterControlClass(kCounterClsid);
        DisplayTest::TearDown();
    }
    BOOL CreateHost(CWnd& wnd, UINT id = 7) {
        return CreateControl(&wnd, kCounterClsid, "counter", WS_VISIBLE, RECT{10, 20, 110, 70},
                             &parent, id);
    }

    std::vector<Delivered> log;
    RecordingWnd parent;
    CWnd host;
};

TEST_F(ControlHostTest, CreatesTheControlWindowAndBindsTheHostToIt) {
    ASSERT_TRUE(CreateHost(host));
    ASSERT_NE(host.m_hWnd, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(host.m_hWnd), &host);
    EXPECT_EQ(GetParent(host.m_hWnd), parent.m_hWnd);
    EXPECT_EQ(host.GetDlgCtrlID(), 7);
    EXPECT_TRUE(host.GetStyle() & WS_CHILD);
    // The host sees the window's messages first; the control still answers.
    EXPECT_EQ(InvokeMethod(host.m_hWnd, 1, VT_I4, {DispatchValue::I4(1), DispatchValue::Text("ab")})
                  .AsI4(),
              3);
}

TEST_F(ControlHostTest, RefusesUnknownClassesBusyHostsAndUnboundWindows) {
    CLSID clsid{};
    ASSERT_EQ(CLSIDFromProgID("test.COUNTER.1", &clsid), S_OK);
    EXPECT_TRUE(clsid == kCounterClsid);
    EXPECT_EQ(CLSIDFromProgID("Test.Missing.1", &clsid), REGDB_E_CLASSNOTREG);
    EXPECT_EQ(CLSIDFromProgID(nullptr, &clsid), CO_E_CLASSSTRING);
    CWnd missing;
    EXPECT_FALSE(CreateControl(&missing, "Test.Missing.1", nullptr, 0, RECT{}, &parent, 1));
    EXPECT_FALSE(CreateControl(&missing, kMissingClsid, nullptr, 0, RECT{}, &parent, 1));
    EXPECT_EQ(missing.m_hWnd, nullptr);

    ASSERT_TRUE(CreateControl(&host, "Test.Counter.1", nullptr, 0, RECT{}, &parent, 1));
    HWND first = host.m_hWnd;
    EXPECT_FALSE(CreateHost(host));
    EXPECT_EQ(host.m_hWnd, first);

    // A window that already has an object cannot be bound: it is destroyed.
    ASSERT_TRUE(RegisterControlClass({kMissingClsid, "", CreateOwned}));
    EXPECT_FALSE(CreateControl(&missing, kMissingClsid, nullptr, 0, RECT{0, 0, 5, 5}, &parent, 3));
    EXPECT_EQ(missing.m_hWnd, nullptr);
    EXPECT_EQ(GetDlgItem(parent.m_hWnd, 3), nullptr);
    ASSERT_TRUE(RegisterControlClass({kMissingClsid, "", FailToCreate}));
    EXPECT_FALSE(CreateControl(&missing, kMissingClsid, nullptr, 0, RECT{}, &parent, 1));
    EXPECT_TRUE(UnregisterControlClass(kMissingClsid));
    EXPECT_FALSE(UnregisterControlClass(kMissingClsid));
    EXPECT_FALSE(RegisterControlClass({kMissingClsid, "", nullptr}));
}

TEST_F(ControlHostTest, ArgumentsArriveWithTheirTypes) {
    ASSERT_TRUE(CreateHost(host));
    int local = 0;
    InvokeMethod(host.m_hWnd, 9, VT_EMPTY,
                 {DispatchValue::I2(-2), DispatchValue::I4(-70000), DispatchValue::Bool(5),
                  DispatchValue::Text(nullptr), DispatchValue::Pointer(&local)});
    const DispatchArgs& args = Counters()[host.m_hWnd].lastArgs;
    ASSERT_EQ(args.size(), 5u);
    EXPECT_EQ(args[0].type, VT_I2);
    EXPECT_EQ(args[0].AsI2(), -2);
    EXPECT_EQ(args[1].type, VT_I4);
    EXPECT_EQ(args[1].AsI4(), -70000);
    EXPECT_EQ(args[2].type, VT_BOOL);
    EXPECT_EQ(args[2].AsBool(), TRUE);
    EXPECT_EQ(args[3].type, VT_BSTR);
    EXPECT_STREQ(args[3].text, "");
    EXPECT_EQ(args[4].type, VT_INT_PTR);
    // A full 64-bit address, not cut to 32 bits.
    EXPECT_EQ(args[4].AsPointer(), &local);
    DispatchValue echoed =
        InvokeMethod(host.m_hWnd, 4, VT_INT_PTR, {DispatchValue::Pointer(&local)});
    EXPECT_EQ(echoed.AsPointer(), &local);

    EXPECT_EQ(SetControlProperty(host.m_hWnd, 2, DispatchValue::Text("新")), S_OK);
    EXPECT_STREQ(GetControlProperty(host.m_hWnd, 2, VT_BSTR).text, "新");
    LONG value = 21;
    InvokeMethod(host.m_hWnd, 3, VT_EMPTY, {DispatchValue::I4Ref(&value)});
    EXPECT_EQ(value, 42);
}

TEST_F(ControlHostTest, ResultsAreConvertedToTheTypeAskedForOrRefused) {
    ASSERT_TRUE(CreateHost(host));
    const DispatchArgs args{DispatchValue::I4(65536 + 3), DispatchValue::Text("")};
    DispatchValue result;
    EXPECT_EQ(InvokeControl(host.m_hWnd, 1, DISPATCH_METHOD, VT_BOOL, &result, args), S_OK);
    EXPECT_EQ(result.type, VT_BOOL);
    EXPECT_EQ(result.AsBool(), TRUE);
    EXPECT_EQ(InvokeControl(host.m_hWnd, 1, DISPATCH_METHOD, VT_I2, &result, args), S_OK);
    EXPECT_EQ(result.AsI2(), 3);
    EXPECT_EQ(InvokeControl(host.m_hWnd, 1, DISPATCH_METHOD, VT_BSTR, &result, args),
              DISP_E_TYPEMISMATCH);
    EXPECT_TRUE(result.IsEmpty());
    EXPECT_EQ(InvokeControl(host.m_hWnd, 2, DISPATCH_PROPERTYGET, VT_I4, &result, {}),
              DISP_E_TYPEMISMATCH);
    EXPECT_EQ(InvokeControl(host.m_hWnd, 99, DISPATCH_METHOD, VT_I4, &result, {}),
              DISP_E_MEMBERNOTFOUND);
    EXPECT_TRUE(result.IsEmpty());
}

TEST_F(ControlHostTest, CallsToAGoneOrForeignWindowFailCleanly) {
    ASSERT_TRUE(CreateHost(host));
    HWND control = host.m_hWnd;
    host.DestroyWindow();
    EXPECT_EQ(host.m_hWnd, nullptr);
    DispatchValue result = DispatchValue::I4(5);
    EXPECT_EQ(InvokeControl(control, 1, DISPATCH_METHOD, VT_I4, &result, {}), E_FAIL);
    EXPECT_TRUE(result.IsEmpty());
    EXPECT_EQ(InvokeMethod(nullptr, 1, VT_BOOL).AsBool(), FALSE);
    // A window that is no control leaves the call unanswered.
    EXPECT_EQ(InvokeControl(parent.m_hWnd, 1, DISPATCH_METHOD, VT_I4, &result, {}), E_FAIL);
    EXPECT_TRUE(GetControlProperty(parent.m_hWnd, 2, VT_BSTR).IsEmpty());
}

TEST_F(ControlHostTest, EventsReachTheParentWithTheControlsId) {
    ASSERT_TRUE(CreateHost(host, 12));
    DISPID seenId = 0;
    CString seenText;
    WPARAM seenControlId = 0;
    parent.hooks[WM_CONTROLEVENT] = [&](WPARAM wParam, LPARAM lParam) -> LRESULT {
        const auto* event = reinterpret_cast<const ControlEvent*>(lParam);
        seenControlId = wParam;
        seenId = event->id;
        seenText = (*event->args)[0].text;
        return event->control == host.m_hWnd ? 77 : 0;
    };
    EXPECT_EQ(FireControlEvent(host.m_hWnd, 2, {DispatchValue::Text("kick")}), 77);
    EXPECT_EQ(seenControlId, 12u);
    EXPECT_EQ(seenId, 2);
    EXPECT_STREQ(seenText, "kick");
    EXPECT_EQ(FireControlEvent(parent.m_hWnd, 2, {}), 0); // a top-level window has no parent
}

} // namespace
