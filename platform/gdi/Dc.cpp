// CDC, CGdiObject and their handle maps.

#include "platform/gdi/Dc.h"

#include <map>
#include <memory>
#include <typeindex>
#include <unordered_map>

namespace {

// Objects the program attached to a handle; FromHandle finds them first.
std::unordered_map<HGDIOBJ, CGdiObject*>& PermanentObjects() {
    static auto* map = new std::unordered_map<HGDIOBJ, CGdiObject*>;
    return *map;
}
std::unordered_map<HDC, CDC*>& PermanentDCs() {
    static auto* map = new std::unordered_map<HDC, CDC*>;
    return *map;
}

// Temporary wrappers do not own their handles: they are detached before they go.
struct DetachObject {
    void operator()(CGdiObject* o) const {
        o->m_hObject = nullptr;
        delete o;
    }
};
struct DetachDC {
    void operator()(CDC* dc) const {
        dc->m_hDC = dc->m_hAttribDC = nullptr;
        delete dc;
    }
};
// A handle may be wrapped as a CGdiObject and as its own class at once.
using TempWrappers = std::map<std::type_index, std::unique_ptr<CGdiObject, DetachObject>>;
std::unordered_map<HGDIOBJ, TempWrappers>& TempObjects() {
    static auto* map = new std::unordered_map<HGDIOBJ, TempWrappers>;
    return *map;
}
std::unordered_map<HDC, std::unique_ptr<CDC, DetachDC>>& TempDCs() {
    static auto* map = new std::unordered_map<HDC, std::unique_ptr<CDC, DetachDC>>;
    return *map;
}

// Permanent entries: a handle maps to the object that attached it.
template <class Map, class Object> void Remember(Map& map, typename Map::key_type key, Object* o) {
    map[key] = o;
}
template <class Map, class Object> void Forget(Map& map, typename Map::key_type key, Object* o) {
    auto it = map.find(key);
    if (it != map.end() && it->second == o)
        map.erase(it);
}

template <class T> T* WrapperFor(HGDIOBJ handle) {
    if (!handle)
        return nullptr;
    auto permanent = PermanentObjects().find(handle);
    if (permanent != PermanentObjects().end())
        return static_cast<T*>(permanent->second);
    auto& slot = TempObjects()[handle][std::type_index(typeid(T))];
    if (!slot) {
        slot.reset(new T);
        slot->m_hObject = handle;
    }
    return static_cast<T*>(slot.get());
}

} // namespace

namespace platform {
void DeleteTempGdiWrappers() {
    TempObjects().clear();
    TempDCs().clear();
}

void ForgetTempWrappers(HGDIOBJ object) {
    TempObjects().erase(object);
}

void ForgetTempDCWrapper(HDC hdc) {
    TempDCs().erase(hdc);
}
} // namespace platform

IMPLEMENT_DYNAMIC(CGdiObject, CObject)
IMPLEMENT_DYNAMIC(CBitmap, CGdiObject)

CGdiObject::~CGdiObject() {
    DeleteObject();
}

CGdiObject* CGdiObject::FromHandle(HGDIOBJ handle) {
    return WrapperFor<CGdiObject>(handle);
}
CBitmap* CBitmap::FromHandle(HBITMAP handle) {
    return WrapperFor<CBitmap>(handle);
}
CBrush* CBrush::FromHandle(HBRUSH handle) {
    return WrapperFor<CBrush>(handle);
}
CPen* CPen::FromHandle(HPEN handle) {
    return WrapperFor<CPen>(handle);
}
CRgn* CRgn::FromHandle(HRGN handle) {
    return WrapperFor<CRgn>(handle);
}

BOOL CGdiObject::Attach(HGDIOBJ handle) {
    if (!handle || m_hObject)
        return FALSE;
    m_hObject = handle;
    Remember(PermanentObjects(), handle, this);
    return TRUE;
}

HGDIOBJ CGdiObject::Detach() {
    HGDIOBJ handle = m_hObject;
    Forget(PermanentObjects(), handle, this);
    m_hObject = nullptr;
    return handle;
}

BOOL CGdiObject::DeleteObject() {
    if (!m_hObject)
        return FALSE;
    return ::DeleteObject(Detach());
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* dc, int width, int height) {
    return Attach(::CreateCompatibleBitmap(dc ? dc->m_hDC : nullptr, width, height));
}

CDC::~CDC() {
    if (m_hDC)
        DeleteDC();
}

CDC* CDC::FromHandle(HDC hdc) {
    if (!hdc)
        return nullptr;
    auto permanent = PermanentDCs().find(hdc);
    if (permanent != PermanentDCs().end())
        return permanent->second;
    auto& slot = TempDCs()[hdc];
    if (!slot) {
        slot.reset(new CDC);
        slot->m_hDC = slot->m_hAttribDC = hdc;
    }
    return slot.get();
}

BOOL CDC::Attach(HDC hdc) {
    if (!hdc || m_hDC)
        return FALSE;
    m_hDC = m_hAttribDC = hdc;
    Remember(PermanentDCs(), hdc, this);
    return TRUE;
}

HDC CDC::Detach() {
    HDC hdc = m_hDC;
    Forget(PermanentDCs(), hdc, this);
    m_hDC = m_hAttribDC = nullptr;
    return hdc;
}

BOOL CDC::DeleteDC() {
    if (!m_hDC)
        return FALSE;
    return ::DeleteDC(Detach());
}

CGdiObject* CDC::SelectObject(CGdiObject* object) {
    if (!object)
        return nullptr;
    return CGdiObject::FromHandle(::SelectObject(m_hDC, object->m_hObject));
}

CBitmap* CDC::SelectObject(CBitmap* bitmap) {
    if (!bitmap)
        return nullptr;
    return CBitmap::FromHandle(static_cast<HBITMAP>(::SelectObject(m_hDC, bitmap->m_hObject)));
}

CBrush* CDC::SelectObject(CBrush* brush) {
    if (!brush)
        return nullptr;
    return CBrush::FromHandle(static_cast<HBRUSH>(::SelectObject(m_hDC, brush->m_hObject)));
}

CPen* CDC::SelectObject(CPen* pen) {
    if (!pen)
        return nullptr;
    return CPen::FromHandle(static_cast<HPEN>(::SelectObject(m_hDC, pen->m_hObject)));
}

CGdiObject* CDC::SelectStockObject(int index) {
    return CGdiObject::FromHandle(::SelectObject(m_hDC, ::GetStockObject(index)));
}

CBitmap* CDC::GetCurrentBitmap() const {
    return CBitmap::FromHandle(static_cast<HBITMAP>(::GetCurrentObject(m_hDC, OBJ_BITMAP)));
}
CBrush* CDC::GetCurrentBrush() const {
    return CBrush::FromHandle(static_cast<HBRUSH>(::GetCurrentObject(m_hDC, OBJ_BRUSH)));
}
CPen* CDC::GetCurrentPen() const {
    return CPen::FromHandle(static_cast<HPEN>(::GetCurrentObject(m_hDC, OBJ_PEN)));
}

CPoint CDC::SetViewportOrg(int x, int y) {
    POINT old{0, 0};
    ::SetViewportOrgEx(m_hDC, x, y, &old);
    return CPoint(old);
}

CPoint CDC::GetViewportOrg() const {
    POINT p{0, 0};
    ::GetViewportOrgEx(m_hDC, &p);
    return CPoint(p);
}

CPoint CDC::OffsetViewportOrg(int dx, int dy) {
    POINT old{0, 0};
    ::OffsetViewportOrgEx(m_hDC, dx, dy, &old);
    return CPoint(old);
}

CPoint CDC::MoveTo(int x, int y) {
    POINT old{0, 0};
    ::MoveToEx(m_hDC, x, y, &old);
    return CPoint(old);
}

void CDC::FillSolidRect(LPCRECT rect, COLORREF color) {
    // MFC fills through the background colour and leaves it set; callers may rely on it.
    ::SetBkColor(m_hDC, color);
    HBRUSH brush = ::CreateSolidBrush(color);
    ::FillRect(m_hDC, rect, brush);
    ::DeleteObject(brush);
}

void CDC::Draw3dRect(LPCRECT rect, COLORREF topLeft, COLORREF bottomRight) {
    int x = rect->left, y = rect->top;
    int cx = rect->right - rect->left, cy = rect->bottom - rect->top;
    FillSolidRect(x, y, cx - 1, 1, topLeft);
    FillSolidRect(x, y, 1, cy - 1, topLeft);
    FillSolidRect(x + cx - 1, y, 1, cy, bottomRight);
    FillSolidRect(x, y + cy - 1, cx, 1, bottomRight);
}
