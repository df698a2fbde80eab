// Control hosting: the class table, creation and binding, typed calls.

#include "platform/controls/ControlHost.h"

#include "platform/Errors.h"

#include <cstring>
#include <mutex>

namespace {

struct ControlClassTable {
    std::mutex lock;
    std::vector<ControlClassDefinition> classes;
};

ControlClassTable& Table() {
    static ControlClassTable table;
    return table;
}

bool FindClass(REFCLSID clsid, ControlClassDefinition* found) {
    ControlClassTable& table = Table();
    std::lock_guard<std::mutex> guard(table.lock);
    for (const ControlClassDefinition& entry : table.classes) {
        if (entry.clsid == clsid) {
            *found = entry;
            return true;
        }
    }
    return false;
}

bool IsNumeric(VARTYPE type) {
    return type == VT_I2 || type == VT_I4 || type == VT_BOOL || type == VT_INT_PTR;
}

// The control's answer as the type the caller asked for.
HRESULT ConvertResult(const DispatchValue& answer, VARTYPE wanted, DispatchValue* result) {
    if (wanted == VT_DISPATCH || answer.type == VT_DISPATCH) {
        if (wanted != VT_DISPATCH || (answer.type != VT_DISPATCH && answer.type != VT_EMPTY))
            return DISP_E_TYPEMISMATCH;
        *result = DispatchValue::Dispatch(answer.AsDispatch());
        return S_OK;
    }
    if (wanted == VT_BSTR) {
        if (answer.type != VT_BSTR && answer.type != VT_EMPTY)
            return DISP_E_TYPEMISMATCH;
        *result = DispatchValue::Text(answer.text);
        return S_OK;
    }
    if (!IsNumeric(wanted))
        return DISP_E_TYPEMISMATCH;
    if (answer.type != VT_EMPTY && !IsNumeric(answer.type))
        return DISP_E_TYPEMISMATCH;
    switch (wanted) {
    case VT_I2:
        *result = DispatchValue::I2(answer.AsI2());
        break;
    case VT_I4:
        *result = DispatchValue::I4(answer.AsI4());
        break;
    case VT_BOOL:
        *result = DispatchValue::Bool(answer.AsBool());
        break;
    default:
        *result = DispatchValue::IntPtr(answer.AsIntPtr());
        break;
    }
    return S_OK;
}

} // namespace

DispatchValue DispatchValue::I2(short value) {
    DispatchValue v;
    v.type = VT_I2;
    v.number = value;
    return v;
}

DispatchValue DispatchValue::I4(LONG value) {
    DispatchValue v;
    v.type = VT_I4;
    v.number = value;
    return v;
}

DispatchValue DispatchValue::Bool(BOOL value) {
    DispatchValue v;
    v.type = VT_BOOL;
    v.number = value ? 1 : 0;
    return v;
}

DispatchValue DispatchValue::Text(LPCSTR value) {
    DispatchValue v;
    v.type = VT_BSTR;
    v.text = value ? value : "";
    return v;
}

DispatchValue DispatchValue::IntPtr(INT_PTR value) {
    DispatchValue v;
    v.type = VT_INT_PTR;
    v.number = value;
    return v;
}

DispatchValue DispatchValue::Pointer(const void* address) {
    return IntPtr(reinterpret_cast<INT_PTR>(address));
}

DispatchValue DispatchValue::I4Ref(LONG* variable) {
    DispatchValue v;
    v.type = VT_I4 | VT_BYREF;
    v.reference = variable;
    return v;
}

DispatchValue DispatchValue::Dispatch(LPDISPATCH object) {
    DispatchValue v;
    v.type = VT_DISPATCH;
    v.number = reinterpret_cast<INT_PTR>(object);
    return v;
}

LPDISPATCH DispatchValue::AsDispatch() const {
    return type == VT_DISPATCH ? reinterpret_cast<LPDISPATCH>(static_cast<INT_PTR>(number))
                               : nullptr;
}

short DispatchValue::AsI2() const {
    return IsNumeric(type) ? static_cast<short>(number) : 0;
}

LONG DispatchValue::AsI4() const {
    return IsNumeric(type) ? static_cast<LONG>(number) : 0;
}

BOOL DispatchValue::AsBool() const {
    return IsNumeric(type) && number != 0 ? TRUE : FALSE;
}

INT_PTR DispatchValue::AsIntPtr() const {
    return IsNumeric(type) ? static_cast<INT_PTR>(number) : 0;
}

bool RegisterControlClass(const ControlClassDefinition& definition) {
    if (definition.create == nullptr)
        return false;
    ControlClassTable& table = Table();
    std::lock_guard<std::mutex> guard(table.lock);
    for (ControlClassDefinition& entry : table.classes) {
        if (entry.clsid == definition.clsid) {
            entry = definition;
            return true;
        }
    }
    table.classes.push_back(definition);
    return true;
}

bool UnregisterControlClass(REFCLSID clsid) {
    ControlClassTable& table = Table();
    std::lock_guard<std::mutex> guard(table.lock);
    for (auto it = table.classes.begin(); it != table.classes.end(); ++it) {
        if (it->clsid == clsid) {
            table.classes.erase(it);
            return true;
        }
    }
    return false;
}

HRESULT CLSIDFromProgID(LPCSTR progId, CLSID* clsid) {
    if (progId == nullptr || clsid == nullptr || *progId == '\0')
        return CO_E_CLASSSTRING;
    ControlClassTable& table = Table();
    std::lock_guard<std::mutex> guard(table.lock);
    for (const ControlClassDefinition& entry : table.classes) {
        if (!entry.progId.IsEmpty() && entry.progId.CompareNoCase(progId) == 0) {
            *clsid = entry.clsid;
            return S_OK;
        }
    }
    return REGDB_E_CLASSNOTREG;
}

BOOL CreateControl(CWnd* host, REFCLSID clsid, LPCSTR windowName, DWORD style, const RECT& rect,
                   CWnd* parent, UINT id) {
    ControlClassDefinition definition;
    if (host == nullptr || host->GetSafeHwnd() != nullptr || !FindClass(clsid, &definition)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    ControlCreateParams params;
    params.windowName = windowName;
    params.style = style | WS_CHILD;
    params.rect = rect;
    params.parent = parent ? parent->GetSafeHwnd() : nullptr;
    params.id = id;
    HWND window = definition.create(params);
    if (window == nullptr)
        return FALSE;
    if (!host->Attach(window)) {
        ::DestroyWindow(window);
        return FALSE;
    }
    return TRUE;
}

BOOL CreateControl(CWnd* host, LPCSTR progId, LPCSTR windowName, DWORD style, const RECT& rect,
                   CWnd* parent, UINT id) {
    CLSID clsid;
    if (FAILED(CLSIDFromProgID(progId, &clsid)))
        return FALSE;
    return CreateControl(host, clsid, windowName, style, rect, parent, id);
}

HRESULT InvokeControl(HWND control, DISPID id, WORD flags, VARTYPE resultType,
                      DispatchValue* result, const DispatchArgs& args) {
    if (result)
        *result = DispatchValue();
    if (!::IsWindow(control))
        return E_FAIL;
    DispatchValue answer;
    ControlInvocation call;
    call.id = id;
    call.flags = flags;
    call.args = &args;
    call.result = &answer;
    ::SendMessage(control, WM_CONTROLINVOKE, 0, reinterpret_cast<LPARAM>(&call));
    if (FAILED(call.hr) || resultType == VT_EMPTY || result == nullptr)
        return call.hr;
    DispatchValue converted;
    HRESULT hr = ConvertResult(answer, resultType, &converted);
    if (SUCCEEDED(hr))
        *result = converted;
    return hr;
}

DispatchValue InvokeMethod(HWND control, DISPID id, VARTYPE resultType,
                           std::initializer_list<DispatchValue> args) {
    DispatchValue result;
    InvokeControl(control, id, DISPATCH_METHOD, resultType, &result, DispatchArgs(args));
    return result;
}

DispatchValue GetControlProperty(HWND control, DISPID id, VARTYPE type) {
    DispatchValue result;
    InvokeControl(control, id, DISPATCH_PROPERTYGET, type, &result, DispatchArgs());
    return result;
}

HRESULT SetControlProperty(HWND control, DISPID id, const DispatchValue& value) {
    return InvokeControl(control, id, DISPATCH_PROPERTYPUT, VT_EMPTY, nullptr, DispatchArgs{value});
}

LRESULT FireControlEvent(HWND control, DISPID id, const DispatchArgs& args) {
    HWND parent = ::GetParent(control);
    if (parent == nullptr)
        return 0;
    ControlEvent event;
    event.control = control;
    event.id = id;
    event.args = &args;
    return ::SendMessage(parent, WM_CONTROLEVENT, WPARAM(::GetDlgCtrlID(control)),
                         reinterpret_cast<LPARAM>(&event));
}
