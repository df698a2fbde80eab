#include "knclientUI05/SysBmpBtn.h"

#include "knclientUI05/DlgSkinIni.h"
#include "platform/system/DebugOutput.h"
#include "platform/window/Wnd.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr char kSharedSection[] = "KNDLG";

// The set only reports missing pictures of the ordinary caption buttons.
bool Reported(int hitCode) {
    return hitCode >= 0 && hitCode <= 99;
}

void Report(int hitCode, const char* format, LPCSTR section, LPCSTR entry, LPCSTR path) {
    if (!Reported(hitCode))
        return;
    char text[1024];
    snprintf(text, sizeof text, format, section, entry, path);
    OutputDebugString(text);
}

using Button = CSysBmpBtn::Button;

bool InRange(int index, int count) {
    return index >= 0 && index < count;
}

// The first visible button under a point of the owner's client area, or -1.
int ButtonAt(const Button* buttons, int count, POINT point) {
    for (int i = 0; i < count; ++i)
        if (buttons[i].bVisible && PtInRect(&buttons[i].rc, point))
            return i;
    return -1;
}

void Repaint(CWnd* owner, const Button& button) {
    if (owner != nullptr && owner->m_hWnd != nullptr)
        owner->InvalidateRect(&button.rc, FALSE);
}

void SetStateAndRepaint(CWnd* owner, Button& button, int state) {
    if (button.nState == state)
        return;
    button.nState = state;
    Repaint(owner, button);
}

} // namespace

int CSysBmpBtn::SetOwner(CWnd* owner) {
    m_pOwner = owner;
    return 1;
}

BOOL CSysBmpBtn::AddButton(UINT id, LPCSTR section, LPCSTR entry, int hitCode) {
    if (m_nCount >= kMaxButtons || entry == nullptr)
        return FALSE;
    section = section != nullptr ? section : kSharedSection;
    // The section is the dialog's whole section name ("KNDLG_<name>").
    const char* name = strncmp(section, "KNDLG_", 6) == 0 ? section + 6 : "";
    CDlgSkinIni ini(name);
    Button& button = m_btn[m_nCount];
    if (ini.ThemeLibraryMode()) {
        if (!ini.LoadPicture(&button.bmpNormal, entry, nullptr)) {
            Report(hitCode, "LoadBitmapRes Failed! Section = %s,Entry = %s", section, entry, "");
            return FALSE;
        }
    } else {
        const CString path = ini.PicturePath(entry, nullptr);
        if (path.IsEmpty()) {
            Report(hitCode, "LoadBitmapRes Failed! Section = %s,Entry = %s", section, entry, "");
            return FALSE;
        }
        if (!button.bmpNormal.LoadBmpFile(path)) {
            Report(hitCode, "LoadBitmapRes Failed! Section = %s,Entry = %s,file = %s", section,
                   entry, path);
            return FALSE;
        }
    }
    SIZE size{0, 0};
    button.bmpNormal.GetSize(&size);
    button.rc = RECT{0, 0, size.cx / 4, size.cy};
    button.nID = id;
    button.bVisible = TRUE;
    button.nState = 0;
    button.nHitCode = hitCode;
    ++m_nCount;
    return TRUE;
}

BOOL CSysBmpBtn::SetAltBitmap(HBITMAP picture, int index) {
    if (!InRange(index, m_nCount))
        return FALSE;
    m_btn[index].bmpAlt.DeleteObject();
    return m_btn[index].bmpAlt.Attach(picture);
}

BOOL CSysBmpBtn::LoadAltBitmap(LPCSTR path, int index) {
    if (!InRange(index, m_nCount) || path == nullptr)
        return FALSE;
    return m_btn[index].bmpAlt.LoadBmpFile(path);
}

BOOL CSysBmpBtn::UseAlt(BOOL use, int index) {
    if (!InRange(index, m_nCount) || m_btn[index].bmpAlt.GetSafeHandle() == nullptr)
        return FALSE;
    m_btn[index].bUseAlt = use;
    return TRUE;
}

void CSysBmpBtn::ShowButton(int showCommand, int index) {
    if (m_nCount == 0 || !InRange(index, m_nCount))
        return;
    m_btn[index].bVisible = showCommand == SW_SHOW;
}

int CSysBmpBtn::GetState(int index) const {
    return InRange(index, m_nCount) ? m_btn[index].nState : -1;
}

BOOL CSysBmpBtn::SetState(int state, int index) {
    if (!InRange(index, m_nCount))
        return FALSE;
    m_btn[index].nState = state;
    return TRUE;
}

void CSysBmpBtn::GetRect(RECT* rect) const {
    if (rect == nullptr)
        return;
    if (m_nCount == 0) {
        *rect = RECT{0, 0, 0, 0};
        return;
    }
    const RECT& first = m_btn[0].rc;
    const RECT& last = m_btn[m_nCount - 1].rc;
    *rect = RECT{first.left, first.top, last.right, last.bottom};
}

void CSysBmpBtn::SetPos(int x, int y) {
    for (int i = 0; i < m_nCount; ++i) {
        RECT& r = m_btn[i].rc;
        const int w = r.right - r.left;
        const int h = r.bottom - r.top;
        r = RECT{x, y, x + w, y + h};
        x = r.right + m_nSpace;
    }
}

int CSysBmpBtn::HitTest(int x, int y) const {
    const int index = ButtonAt(m_btn, m_nCount, POINT{x, y});
    return index >= 0 ? m_btn[index].nHitCode : -2;
}

BOOL CSysBmpBtn::OnLButtonDown(UINT, POINT point) {
    if (m_nCount == 0)
        return FALSE;
    m_bPressed = TRUE;
    const int index = ButtonAt(m_btn, m_nCount, point);
    if (index < 0) {
        m_bPressed = FALSE;
        return FALSE;
    }
    m_btn[index].nState = 2;
    Repaint(m_pOwner, m_btn[index]);
    return TRUE;
}

BOOL CSysBmpBtn::OnLButtonUp(UINT, POINT point) {
    if (m_nCount == 0)
        return FALSE;
    m_bPressed = FALSE;
    const int index = ButtonAt(m_btn, m_nCount, point);
    if (index < 0)
        return FALSE;
    m_btn[index].nState = 0;
    Repaint(m_pOwner, m_btn[index]);
    if (m_pOwner != nullptr && m_pOwner->m_hWnd != nullptr)
        m_pOwner->PostMessage(WM_COMMAND, m_btn[index].nID, 0);
    return TRUE;
}

BOOL CSysBmpBtn::OnMouseMove(UINT, POINT point) {
    if (m_nCount == 0)
        return FALSE;
    BOOL taken = FALSE;
    for (int i = 0; i < m_nCount; ++i) {
        Button& button = m_btn[i];
        if (button.bVisible && PtInRect(&button.rc, point)) {
            SetStateAndRepaint(m_pOwner, button, m_bPressed ? 2 : 1);
            taken = TRUE;
        } else {
            SetStateAndRepaint(m_pOwner, button, 0);
        }
    }
    return taken;
}

void CSysBmpBtn::ExcludeFromClip(CDC* dc) {
    if (dc == nullptr || m_nCount == 0)
        return;
    m_nSavedDC = dc->SaveDC();
    for (int i = 0; i < m_nCount; ++i)
        if (m_btn[i].bVisible)
            dc->ExcludeClipRect(&m_btn[i].rc);
}

void CSysBmpBtn::Draw(CDC* dc) {
    if (dc == nullptr)
        return;
    if (m_nSavedDC != -1) {
        dc->RestoreDC(m_nSavedDC);
        m_nSavedDC = -1;
    }
    for (int i = 0; i < m_nCount; ++i) {
        Button& button = m_btn[i];
        if (!button.bVisible)
            continue;
        CKNBitmap& strip = button.bUseAlt ? button.bmpAlt : button.bmpNormal;
        if (strip.GetSafeHandle() == nullptr)
            continue;
        const int w = button.rc.right - button.rc.left;
        const int h = button.rc.bottom - button.rc.top;
        const int frame = button.nState >= 0 && button.nState <= 2 ? button.nState : 3;
        const POINT source{frame * w, 0};
        const SIZE size{w, h};
        strip.Draw(dc, button.rc.left, button.rc.top, w, h, 0, &source, nullptr, &size);
    }
}
