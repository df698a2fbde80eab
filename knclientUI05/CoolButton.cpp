#include "knclientUI05/CoolButton.h"

#include "knclientUI05/DlgSkinIni.h"
#include "knclientUI05/Graphy.h"
#include "knclientUI05/KnClientPublic.h"
#include "knclientUI05/SoundManager.h"
#include "knclientbase05/SkinSettings.h"
#include "platform/controls/MessageBox.h"
#include "platform/gdi/Gdi.h"
#include "platform/system/Profile.h"
#include "platform/window/Input.h"
#include "platform/window/WindowDcs.h"

#include <cstdlib>
#include <cstring>

// The button class keeps no runtime record of its own: the window class is
// the nearest base that does.
IMPLEMENT_DYNAMIC(CCoolButton, CWnd)

namespace {

constexpr UINT kFlashPeriodMs = 300;

BOOL Take(CCoolButton& button, CWnd* parent, UINT id, BOOL subclass) {
    if (!subclass)
        return TRUE;
    return parent != nullptr && button.SubclassDlgItem(id, parent);
}

// The region of the strip's pixels that differ from its bottom-right one, cut
// to the first frame, is the button's shape.
void ShapeFromMask(CCoolButton& button) {
    SIZE strip{0, 0};
    button.m_bmpButton.GetSize(&strip);
    const int frameWidth = strip.cx / 5;
    HRGN region = CreateRegionFromBitmap(static_cast<HBITMAP>(button.m_bmpButton.GetSafeHandle()),
                                         strip.cx - 1, strip.cy - 1);
    if (region == nullptr)
        return;
    OffsetRgn(region, -4 * frameWidth, 0);
    HRGN frame = CreateRectRgn(0, 0, frameWidth, strip.cy);
    CombineRgn(frame, frame, region, RGN_AND);
    DeleteObject(region);
    button.SetWindowRgn(frame, FALSE);
}

// One frame of the strip for size and shape, then the id and the sounds.
void Finish(CCoolButton& button, UINT id, UINT hoverSound, UINT clickSound, BOOL fiveFrames) {
    button.m_bShapeMask = fiveFrames;
    SIZE strip{0, 0};
    button.m_bmpButton.GetSize(&strip);
    const int frameWidth = strip.cx / (fiveFrames ? 5 : 4);
    if (button.m_hWnd != nullptr && button.m_bmpButton.GetSafeHandle() != nullptr) {
        RECT r;
        button.GetWindowRect(&r);
        if (CWnd* parent = button.GetParent())
            parent->ScreenToClient(&r);
        button.MoveWindow(r.left, r.top, frameWidth, strip.cy, TRUE);
        if (fiveFrames)
            ShapeFromMask(button);
    }
    button.m_nID = id;
    button.m_nHoverSound = hoverSound;
    button.m_nClickSound = clickSound;
}

BOOL IsMouseOver(CCoolButton& button) {
    POINT cursor;
    GetCursorPos(&cursor);
    POINT client = cursor;
    button.ScreenToClient(&client);
    {
        CClientDC dc(&button);
        if (!dc.PtVisible(client.x, client.y))
            return FALSE;
    }
    // The topmost visible window at the cursor must be this button, and its
    // owner must be there to hear of a click.
    return button.GetOwner() != nullptr && ::WindowFromPoint(cursor) == button.m_hWnd;
}

// Capture, sounds and repainting as the mouse comes, presses and goes.
void UpdateState(CCoolButton& button) {
    if (!button.IsWindowEnabled()) {
        if (button.m_nState != 3)
            button.Invalidate(FALSE);
        return;
    }
    if (IsMouseOver(button)) {
        if (::GetCapture() != button.m_hWnd)
            button.SetCapture();
        if (GetAsyncKeyState(VK_LBUTTON) & 0x8000) {
            if (button.m_nState != 2) {
                if (button.m_nClickSound != 0)
                    g_SoundManager.PlayResSound(button.m_nClickSound);
                button.Invalidate(FALSE);
            }
        } else if (button.m_nState != 1) {
            if (button.m_nHoverSound != 0)
                g_SoundManager.PlayResSound(button.m_nHoverSound);
            button.Invalidate(FALSE);
        }
        return;
    }
    if (::GetCapture() == button.m_hWnd)
        ReleaseCapture();
    if (button.m_nState != 0)
        button.Invalidate(FALSE);
}

// Frame `frame` of the strip into the rectangle: over the parent's pixels
// with the colour key, through the strip's mask, or plain.
void DrawFrame(CCoolButton& button, CDC* dc, const RECT& rect, int frame, CKNBitmap& strip) {
    if (strip.GetSafeHandle() == nullptr)
        return;
    const int w = rect.right - rect.left;
    const int h = rect.bottom - rect.top;
    const POINT source{frame * w, 0};
    const SIZE size{w, h};
    if (button.m_bTransparent) {
        CWnd* parent = button.GetParent();
        if (parent == nullptr)
            return;
        RECT window;
        button.GetWindowRect(&window);
        parent->ScreenToClient(&window);
        {
            CClientDC parentDc(parent);
            dc->BitBlt(rect.left, rect.top, w, h, &parentDc, window.left, window.top, SRCCOPY);
        }
        CDC memory;
        memory.CreateCompatibleDC(dc);
        CBitmap* old = memory.SelectObject(&strip);
        CGraphy graphy;
        graphy.TransparentBlt(dc, &rect, &memory, &source, &button.m_clrTransparent);
        memory.SelectObject(old);
    } else if (button.m_bShapeMask) {
        const POINT mask{4 * w, 0};
        strip.Draw(dc, rect.left, rect.top, w, h, BD_MASK, &source, &mask, &size);
    } else {
        strip.Draw(dc, rect.left, rect.top, w, h, 0, &source, nullptr, &size);
    }
}

} // namespace

CCoolButton::~CCoolButton() = default;

void CCoolButton::PreSubclassWindow() {
    ModifyStyle(0, BS_OWNERDRAW);
    CButton::PreSubclassWindow();
}

BOOL CCoolButton::PreTranslateMessage(MSG* msg) {
    return CButton::PreTranslateMessage(msg);
}

BOOL CCoolButton::LoadSkin(CWnd* parent, UINT id, LPCSTR section, LPCSTR key, UINT hoverSound,
                           UINT clickSound, BOOL subclass) {
    if (!Take(*this, parent, id, subclass))
        return FALSE;
    CString value;
    if (section != nullptr && key != nullptr && theSkin.szThemeFile[0] != '\0') {
        char text[260] = "";
        GetPrivateProfileString(section, key, "", text, sizeof text, theSkin.szThemeFile);
        if (text[0] == '\0')
            GetPrivateProfileString("KNDLG", key, "", text, sizeof text, theSkin.szThemeFile);
        value = text;
    }
    if (value.IsEmpty())
        value = "dlgbutton.bmp";
    const CDlgSkinIni ini("");
    BOOL fiveFrames = FALSE;
    BOOL loaded = FALSE;
    if (ini.ThemeLibraryMode()) {
        // Here a comma only names the picture's kind, never the five frames.
        const int resource = atoi(value);
        const char* comma = strchr(value, ',');
        const int kind = comma != nullptr ? atoi(comma + 1) : 0;
        HBITMAP picture = LoadImageResourceById(theSkin.hThemeRes, UINT(resource), kind);
        if (picture == nullptr) {
            CString text;
            text.Format("LoadBitmapRes Failed! Section = %s,Entry = %s", section ? section : "",
                        key ? key : "");
            ::MessageBox(parent != nullptr ? parent->m_hWnd : nullptr, text, "", MB_OK);
        } else {
            m_bmpButton.DeleteObject();
            loaded = m_bmpButton.Attach(picture);
        }
    } else {
        const char* name = value;
        if (const char* comma = strchr(name, ',')) {
            fiveFrames = TRUE;
            name = comma + 1;
        }
        CString file(name);
        file.Trim();
        loaded = m_bmpButton.LoadBmpFile(CString(theSkin.szThemeFolder) + file);
    }
    const BOOL holds = loaded || m_bmpButton.GetSafeHandle() != nullptr;
    Finish(*this, id, hoverSound, clickSound, fiveFrames);
    return holds;
}

BOOL CCoolButton::LoadFromResource(CWnd* parent, UINT id, UINT bitmapId, UINT hoverSound,
                                   UINT clickSound, BOOL subclass) {
    return LoadFromResource(parent, id, bitmapId, FALSE, hoverSound, clickSound, subclass);
}

BOOL CCoolButton::LoadFromResource(CWnd* parent, UINT id, UINT bitmapId, BOOL fiveFrames,
                                   UINT hoverSound, UINT clickSound, BOOL subclass) {
    if (!Take(*this, parent, id, subclass))
        return FALSE;
    const BOOL loaded = m_bmpButton.LoadBitmap(bitmapId, TRUE);
    Finish(*this, id, hoverSound, clickSound, fiveFrames);
    return loaded || m_bmpButton.GetSafeHandle() != nullptr;
}

BOOL CCoolButton::LoadFromModule(CWnd* parent, UINT id, HINSTANCE module, UINT bitmapId,
                                 UINT hoverSound, UINT clickSound, BOOL subclass) {
    if (!Take(*this, parent, id, subclass))
        return FALSE;
    const BOOL loaded = m_bmpButton.LoadBitmap(module, MAKEINTRESOURCE(bitmapId & 0xFFFF), TRUE);
    Finish(*this, id, hoverSound, clickSound, FALSE);
    return loaded || m_bmpButton.GetSafeHandle() != nullptr;
}

BOOL CCoolButton::LoadFromFile(CWnd* parent, UINT id, LPCSTR path, BOOL subclass) {
    if (!Take(*this, parent, id, subclass))
        return FALSE;
    const BOOL loaded = path != nullptr && m_bmpButton.LoadBmpFile(path);
    Finish(*this, id, 0, 0, FALSE);
    return loaded || m_bmpButton.GetSafeHandle() != nullptr;
}

BOOL CCoolButton::LoadTransparent(CWnd*, UINT id, LPCSTR path, BOOL transparent) {
    const BOOL loaded = path != nullptr && m_bmpButton.LoadBmpFile(path);
    Finish(*this, id, 0, 0, FALSE);
    m_bTransparent = transparent;
    if (transparent && m_bmpButton.GetSafeHandle() != nullptr) {
        CDC memory;
        memory.CreateCompatibleDC(nullptr);
        CBitmap* old = memory.SelectObject(&m_bmpButton);
        m_clrTransparent = memory.GetPixel(0, 0);
        memory.SelectObject(old);
    }
    return loaded || m_bmpButton.GetSafeHandle() != nullptr;
}

BOOL CCoolButton::SetAltBitmap(HBITMAP bitmap) {
    m_bmpAlt.DeleteObject();
    return bitmap != nullptr && m_bmpAlt.Attach(bitmap);
}

BOOL CCoolButton::SetAltBitmap(UINT bitmapId) {
    m_bmpAlt.DeleteObject();
    return m_bmpAlt.LoadBitmap(bitmapId, TRUE);
}

BOOL CCoolButton::SetAltBitmap(LPCSTR path) {
    m_bmpAlt.DeleteObject();
    return path != nullptr && m_bmpAlt.LoadBmpFile(path);
}

void CCoolButton::UseAltBitmap(BOOL use) {
    m_bUseAlt = use;
    if (m_hWnd != nullptr)
        Invalidate(FALSE);
}

void CCoolButton::StartFlash(UINT timerId) {
    if (m_hWnd == nullptr)
        return;
    if (m_nFlashTimer != UINT_PTR(-1))
        KillTimer(m_nFlashTimer);
    m_nFlashTimer = timerId;
    SetTimer(timerId, kFlashPeriodMs);
}

void CCoolButton::OnMouseMove(UINT flags, CPoint point) {
    UpdateState(*this);
    CButton::OnMouseMove(flags, point);
}

void CCoolButton::OnCaptureChanged(CWnd* wnd) {
    UpdateState(*this);
    CButton::OnCaptureChanged(wnd);
}

void CCoolButton::OnLButtonDown(UINT flags, CPoint point) {
    UpdateState(*this);
    CButton::OnLButtonDown(flags, point);
}

void CCoolButton::OnLButtonDblClk(UINT flags, CPoint point) {
    OnLButtonDown(flags, point);
}

void CCoolButton::OnLButtonUp(UINT, CPoint) {
    // The click reaches the owner only as this command.
    if (IsMouseOver(*this)) {
        m_bLit = TRUE;
        if (CWnd* owner = GetOwner())
            owner->SendMessage(WM_COMMAND, m_nID, 0);
        m_bLit = FALSE;
    }
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd))
        UpdateState(*this);
}

BOOL CCoolButton::OnEraseBkgnd(CDC*) {
    return TRUE;
}

void CCoolButton::DrawItem(LPDRAWITEMSTRUCT item) {
    if (item == nullptr)
        return;
    int state;
    if (GetStyle() & WS_DISABLED)
        state = 3;
    else if (IsMouseOver(*this))
        state = (GetAsyncKeyState(VK_LBUTTON) & 0x8000) ? 2 : 1;
    else
        state = 0;
    if (m_bLit)
        state = 1;
    CDC* dc = CDC::FromHandle(item->hDC);
    DrawFrame(*this, dc, item->rcItem, state, m_bUseAlt ? m_bmpAlt : m_bmpButton);
    m_nState = state;
}

void CCoolButton::OnTimer(UINT_PTR id) {
    CButton::OnTimer(id);
    if (!IsWindowEnabled() || (m_nState != 0 && m_nState != 1) || !IsMouseOver(*this))
        return;
    RECT client;
    GetClientRect(&client);
    CWindowDC dc(this);
    // A flash always shows the main strip.
    DrawFrame(*this, &dc, client, m_nFlashPhase, m_bmpButton);
    m_nFlashPhase = m_nFlashPhase == 0 ? 1 : 0;
}
