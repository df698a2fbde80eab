#pragma once

// Hosting of in-process controls, the small part of ActiveX the program
// uses. A control class is a built-in factory registered under a class id
// (and a ProgID) that makes the control's window. The control's members are
// reached by dispatch id with typed arguments: the host sends the control's
// window WM_CONTROLINVOKE, and the control's own window procedure answers.
// Going through the window means a call to a control that is gone fails
// cleanly instead of reaching freed memory.
//
// The host's CWnd is bound to the control's window (CreateControl), as MFC
// subclasses it: the CWnd sees the window's messages first and the control's
// procedure does the rest. Events go the other way: the control sends its
// parent WM_CONTROLEVENT.

#include "platform/CString.h"
#include "platform/window/Wnd.h"

#include <initializer_list>
#include <vector>

typedef GUID CLSID;
typedef const GUID& REFCLSID;

typedef LONG DISPID;
typedef WORD VARTYPE;

// A dispatch object is a window that answers WM_CONTROLINVOKE: a control, or
// an object a control hands out.
typedef HWND LPDISPATCH;

// Argument and result types (the VARIANT tags the controls use). A
// pointer-sized integer carries in-process addresses and window handles.
#define VT_EMPTY 0
#define VT_I2 2
#define VT_I4 3
#define VT_BSTR 8
#define VT_DISPATCH 9
#define VT_BOOL 11
#define VT_INT_PTR 37
#define VT_BYREF 0x4000

#define DISPATCH_METHOD 0x1
#define DISPATCH_PROPERTYGET 0x2
#define DISPATCH_PROPERTYPUT 0x4

// Stock members.
#define DISPID_BORDERSTYLE (-504)
#define DISPID_APPEARANCE (-520)
#define DISPID_ABOUTBOX (-552)

#define DISP_E_MEMBERNOTFOUND ((HRESULT)0x80020003L)
#define DISP_E_TYPEMISMATCH ((HRESULT)0x80020005L)
#define DISP_E_BADPARAMCOUNT ((HRESULT)0x8002000EL)
#define REGDB_E_CLASSNOTREG ((HRESULT)0x80040154L)
#define CO_E_CLASSSTRING ((HRESULT)0x800401F3L)

// The host's call to a control, and the control's event to its parent.
#define WM_CONTROLINVOKE 0x0370
#define WM_CONTROLEVENT 0x0371

// One argument or result. Texts are the program's GBK bytes; a null text
// becomes an empty one, as a BSTR made from a null string would.
struct DispatchValue {
    VARTYPE type = VT_EMPTY;
    LONGLONG number = 0;       // VT_I2, VT_I4, VT_BOOL (0 or 1), VT_INT_PTR, VT_DISPATCH
    LONG* reference = nullptr; // VT_I4 | VT_BYREF: the caller's variable
    CString text;              // VT_BSTR

    static DispatchValue I2(short value);
    static DispatchValue I4(LONG value);
    static DispatchValue Bool(BOOL value);
    static DispatchValue Text(LPCSTR value);
    static DispatchValue IntPtr(INT_PTR value);
    static DispatchValue Pointer(const void* address);
    static DispatchValue I4Ref(LONG* variable);
    static DispatchValue Dispatch(LPDISPATCH object);

    bool IsEmpty() const { return type == VT_EMPTY; }
    // The numeric types as each other; 0 for text and empty values.
    short AsI2() const;
    LONG AsI4() const;
    BOOL AsBool() const;
    INT_PTR AsIntPtr() const;
    const void* AsPointer() const { return reinterpret_cast<const void*>(AsIntPtr()); }
    // Null for any other type: an object is no number, and no number an object.
    LPDISPATCH AsDispatch() const;
};
typedef std::vector<DispatchValue> DispatchArgs;

// What WM_CONTROLINVOKE carries in lParam. The control sets hr and, on
// success, result; a window that is no control leaves hr at E_FAIL.
struct ControlInvocation {
    DISPID id = 0;
    WORD flags = DISPATCH_METHOD;
    const DispatchArgs* args = nullptr;
    DispatchValue* result = nullptr;
    HRESULT hr = E_FAIL;
};

// What WM_CONTROLEVENT carries in lParam; wParam is the control's id.
struct ControlEvent {
    HWND control = nullptr;
    DISPID id = 0;
    const DispatchArgs* args = nullptr;
};

// How a control class is created: the control's window with these values.
struct ControlCreateParams {
    LPCSTR windowName = nullptr;
    DWORD style = 0;
    RECT rect{};
    HWND parent = nullptr;
    UINT id = 0;
};
typedef HWND (*ControlFactory)(const ControlCreateParams& params);

struct ControlClassDefinition {
    CLSID clsid{};
    CString progId; // "Vendor.Control.1"; may be empty
    ControlFactory create = nullptr;
};

// A later registration of the same class id replaces the earlier one.
bool RegisterControlClass(const ControlClassDefinition& definition);
bool UnregisterControlClass(REFCLSID clsid);
// S_OK and the class id of a registered ProgID (case-insensitive);
// REGDB_E_CLASSNOTREG otherwise.
HRESULT CLSIDFromProgID(LPCSTR progId, CLSID* clsid);

// Makes the control's window (a child of parent) and binds host to it.
// FALSE when host already has a window, the class is not registered, the
// factory fails, or the window cannot be bound (it is then destroyed).
BOOL CreateControl(CWnd* host, REFCLSID clsid, LPCSTR windowName, DWORD style, const RECT& rect,
                   CWnd* parent, UINT id);
BOOL CreateControl(CWnd* host, LPCSTR progId, LPCSTR windowName, DWORD style, const RECT& rect,
                   CWnd* parent, UINT id);

// Calls a member. resultType is the type the caller wants (VT_EMPTY: none);
// the control's numeric results are converted to it, a text result is only
// a text. On failure *result (when given) is left empty.
HRESULT InvokeControl(HWND control, DISPID id, WORD flags, VARTYPE resultType,
                      DispatchValue* result, const DispatchArgs& args);
// The common forms; failures give an empty value.
DispatchValue InvokeMethod(HWND control, DISPID id, VARTYPE resultType,
                           std::initializer_list<DispatchValue> args = {});
DispatchValue GetControlProperty(HWND control, DISPID id, VARTYPE type);
HRESULT SetControlProperty(HWND control, DISPID id, const DispatchValue& value);

// A dispatch object a caller holds. Objects here belong to the control that
// handed them out, so letting one go (ReleaseDispatch, or the destructor with
// automatic release) only forgets it.
class COleDispatchDriver {
public:
    COleDispatchDriver() = default;
    explicit COleDispatchDriver(LPDISPATCH object, BOOL autoRelease = TRUE)
        : m_lpDispatch(object), m_bAutoRelease(autoRelease) {}

    LPDISPATCH DetachDispatch() {
        LPDISPATCH object = m_lpDispatch;
        m_lpDispatch = nullptr;
        return object;
    }
    void ReleaseDispatch() { m_lpDispatch = nullptr; }
    HRESULT InvokeHelper(DISPID id, WORD flags, VARTYPE resultType, DispatchValue* result,
                         const DispatchArgs& args) const {
        return InvokeControl(m_lpDispatch, id, flags, resultType, result, args);
    }

    LPDISPATCH m_lpDispatch = nullptr;
    BOOL m_bAutoRelease = TRUE;
};

// For controls: sends WM_CONTROLEVENT to the control's parent and gives its
// answer (0 when there is no parent).
LRESULT FireControlEvent(HWND control, DISPID id, const DispatchArgs& args);
