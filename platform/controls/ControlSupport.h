#pragma once

// What the standard controls share: their per-window state, telling the
// parent, asking the parent for colours, fonts and measuring, and the few
// drawing shapes of the classic look. Used by the control files only.

#include "platform/Geometry.h"
#include "platform/controls/ControlDefs.h"
#include "platform/text/Text.h"

#include <memory>
#include <string>
#include <unordered_map>

namespace platform {

// Each control class keeps its state per window, made at WM_NCCREATE time
// (the first message) and dropped at WM_NCDESTROY.
template <class State> class ControlStates {
public:
    State* Find(HWND hwnd) {
        auto it = m_states.find(hwnd);
        return it == m_states.end() ? nullptr : it->second.get();
    }
    State& Get(HWND hwnd) {
        std::unique_ptr<State>& slot = m_states[hwnd];
        if (!slot)
            slot = std::make_unique<State>();
        return *slot;
    }
    void Drop(HWND hwnd) { m_states.erase(hwnd); }

private:
    std::unordered_map<HWND, std::unique_ptr<State>> m_states;
};

// WM_COMMAND (id, code, control) sent to the control's parent.
void NotifyParent(HWND control, UINT code);

// Sends the WM_CTLCOLOR message to the parent, which sets the DC's colours
// and mode and returns a brush; when the parent gives none, the classic
// colours are set and a system brush returned.
HBRUSH QueryControlColors(HWND control, HDC hdc, UINT ctlColorMessage);
// The classic default of a WM_CTLCOLOR message, for dialogs and controls.
HBRUSH DefaultControlColors(HDC hdc, UINT ctlColorMessage);

// Sends WM_DRAWITEM to the parent; when the parent leaves it unhandled, the
// control's own C++ object may draw it (owner-draw reflection).
void SendDrawItem(HWND control, DRAWITEMSTRUCT& item);
// Hands a message a parent got from a control back to the control's object:
// TRUE when that object handled it.
BOOL ReflectToControl(HWND control, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

// A control that lets the mouse through (a static without SS_NOTIFY, a
// group box) hands mouse messages to its parent, in the parent's coordinates.
LRESULT PassMouseToParent(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// The font a control draws with: the one set with WM_SETFONT, else the
// dialog font face of the system.
HFONT ControlFontOr(HFONT font);

// A memory DC with the font selected, for measuring text when no window DC
// exists; deletes itself.
class MeasureDC {
public:
    explicit MeasureDC(HFONT font);
    ~MeasureDC();
    MeasureDC(const MeasureDC&) = delete;
    MeasureDC& operator=(const MeasureDC&) = delete;
    HDC dc() const { return m_dc; }
    int LineHeight() const;
    int Width(const std::string& text) const;

private:
    HDC m_dc;
    HGDIOBJ m_oldFont = nullptr;
};

// Drawing of the classic look.
void FillSolid(HDC hdc, const RECT& rect, COLORREF color);
// Top and left edges in one colour, bottom and right in the other.
void Frame3d(HDC hdc, const RECT& rect, COLORREF topLeft, COLORREF bottomRight);
// The two-pixel sunken frame of an edit or list box; returns the inside.
RECT DrawSunkenFrame(HDC hdc, const RECT& rect);
// The scroll strip of a list: its thickness, where its thumb lies along it
// (offset from the strip's start, and length) for a view of `visible` out
// of `total` units scrolled to `position`, and its painting (no thumb when
// everything is in view).
constexpr int kScrollStripWidth = 16;
struct StripThumb {
    int start;
    int length;
};
StripThumb ScrollThumb(int stripLength, int total, int visible, int position);
void PaintScrollStrip(HDC hdc, const RECT& strip, bool horizontal, int total, int visible,
                      int position);
// A dotted focus rectangle.
void DrawFocusRect(HDC hdc, const RECT& rect);
// Text with the DC's font and colours, drawn grey (with a light shadow) when
// disabled.
void DrawControlText(HDC hdc, const std::string& text, RECT rect, UINT format, bool enabled);

// WM_CTLCOLORMSGBOX to WM_CTLCOLORSTATIC.
inline bool IsCtlColorMessage(UINT message) {
    return message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC;
}

// A control's WM_PAINT: the paint DC (null when nothing can be drawn) with
// the control's font selected, and its client rectangle.
class ControlPaint {
public:
    ControlPaint(HWND hwnd, HFONT font);
    ~ControlPaint();
    ControlPaint(const ControlPaint&) = delete;
    ControlPaint& operator=(const ControlPaint&) = delete;
    HDC dc() const { return m_dc; }
    const RECT& client() const { return m_client; }

private:
    HWND m_hwnd;
    PAINTSTRUCT m_paint{};
    HDC m_dc;
    RECT m_client{};
    HGDIOBJ m_oldFont = nullptr;
};

// What every control answers alike: WM_SETFONT and WM_GETFONT with its font,
// a repaint on WM_ENABLE, and no erase on WM_ERASEBKGND (each control paints
// its background with the parent's brush in WM_PAINT). False for other
// messages.
bool CommonControlMessage(HWND hwnd, HFONT& font, UINT message, WPARAM wParam, LPARAM lParam,
                          LRESULT* result);

// The window's text as a string.
std::string WindowTextOf(HWND hwnd);
// The style low bits that name a control's kind.
inline DWORD StyleOf(HWND hwnd) {
    return DWORD(GetWindowLong(hwnd, GWL_STYLE));
}

// Between a combo box and its drop-down list: the list learns its combo
// (wParam), and tells it the list closed (wParam 1: an item was chosen).
constexpr UINT kListAttachCombo = WM_USER + 0x7A01;
constexpr UINT kComboListDone = WM_USER + 0x7A02;
// Moves a drop-down list's selection by a key as the list itself would.
bool ComboListKey(HWND list, UINT key);

// Registers a control's window class.
void RegisterControlClass(LPCSTR name, WNDPROC proc, UINT classStyle = CS_DBLCLKS);
// Register the window classes of each control (RegisterControlClasses calls them).
void RegisterButtonClass();
void RegisterStaticClass();
void RegisterEditClass();
void RegisterListBoxClass();
void RegisterListViewClass();
void RegisterComboBoxClass();
void RegisterToolTipClass();
void RegisterDialogClass();

} // namespace platform
