// The list view class in report view: a header strip along the top with one
// heading per column, and rows of texts under it. Every text is drawn in its
// own cell and cut at the cell's edge (with an ellipsis), so no column's
// text runs into the next. Columns wider than the control scroll sideways
// and rows past its bottom scroll up and down, by the wheel and by clicks on
// the scroll strips (a click pages towards it). The header is drawn by the
// list itself: nothing here asks for a header window of its own.

#include "platform/controls/ControlSupport.h"
#include "platform/window/Input.h"
#include "platform/window/SystemMetrics.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace platform {
namespace {

constexpr int kCellPadding = 6;
constexpr int kWheelRows = 3;
constexpr UINT kCellFormat = DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;

struct Column {
    std::string heading;
    int width = 0;
};

struct ListViewState {
    std::vector<Column> columns;
    // One text per column; a row may hold fewer texts than there are columns.
    std::vector<std::vector<std::string>> rows;
    int top = 0;     // the first row in view
    int scrollX = 0; // how far the columns are scrolled left, in pixels
    HFONT font = nullptr;
};

ControlStates<ListViewState>& States() {
    static auto* states = new ControlStates<ListViewState>;
    return *states;
}

int HeaderHeight(const ListViewState& state) {
    return MeasureDC(state.font).LineHeight() + 6;
}

int RowHeight(const ListViewState& state) {
    return MeasureDC(state.font).LineHeight() + 4;
}

int ColumnsWidth(const ListViewState& state) {
    int width = 0;
    for (const Column& column : state.columns)
        width += column.width;
    return width;
}

// Where the parts lie in the client area; a strip takes room only when its
// direction has more than the view holds.
struct Layout {
    RECT view;   // the header and the rows, left of and above the strips
    int rowsTop; // below the header
    int visibleRows;
    bool across; // the horizontal strip is shown
    bool down;   // the vertical strip is shown
};

Layout LayOut(HWND hwnd, const ListViewState& state) {
    RECT client;
    GetClientRect(hwnd, &client);
    const int header = HeaderHeight(state);
    const int row = RowHeight(state);
    const int width = ColumnsWidth(state);
    const int rows = int(state.rows.size());
    Layout layout{client, int(client.top) + header, 0, false, false};
    // Each strip can make the other needed: decided twice.
    for (int pass = 0; pass < 2; ++pass) {
        layout.across = width > client.right - (layout.down ? kScrollStripWidth : 0);
        const int rowsHeight =
            int(client.bottom) - header - (layout.across ? kScrollStripWidth : 0);
        layout.down = rows * row > rowsHeight;
    }
    layout.view.right -= layout.down ? kScrollStripWidth : 0;
    layout.view.bottom -= layout.across ? kScrollStripWidth : 0;
    layout.visibleRows = std::max(0, int(layout.view.bottom - layout.rowsTop) / row);
    return layout;
}

// Keeps the scroll positions within what there is to scroll.
void ClampScroll(HWND hwnd, ListViewState& state) {
    const Layout layout = LayOut(hwnd, state);
    const int viewWidth = layout.view.right - layout.view.left;
    state.scrollX = std::clamp(state.scrollX, 0, std::max(0, ColumnsWidth(state) - viewWidth));
    state.top = std::clamp(state.top, 0, std::max(0, int(state.rows.size()) - layout.visibleRows));
}

void ScrollTo(HWND hwnd, ListViewState& state, int scrollX, int top) {
    const int oldX = state.scrollX, oldTop = state.top;
    state.scrollX = scrollX;
    state.top = top;
    ClampScroll(hwnd, state);
    if (state.scrollX != oldX || state.top != oldTop)
        InvalidateRect(hwnd, nullptr, FALSE);
}

void Changed(HWND hwnd, ListViewState& state) {
    ClampScroll(hwnd, state);
    InvalidateRect(hwnd, nullptr, FALSE);
}

// The text a cell holds, drawn inside it: the padding keeps it off the edges.
void PaintCell(HDC hdc, const std::string& text, const RECT& cell, bool enabled) {
    const RECT inside{cell.left + kCellPadding, cell.top, cell.right - kCellPadding, cell.bottom};
    if (inside.right > inside.left && !text.empty())
        DrawControlText(hdc, text, inside, kCellFormat, enabled);
}

void PaintHeader(HDC hdc, const ListViewState& state, const Layout& layout, bool enabled) {
    const RECT strip{layout.view.left, layout.view.top, layout.view.right, layout.rowsTop};
    FillSolid(hdc, strip, GetSysColor(COLOR_BTNFACE));
    SetTextColor(hdc, GetSysColor(COLOR_BTNTEXT));
    int x = layout.view.left - state.scrollX;
    for (const Column& column : state.columns) {
        const RECT cell{x, strip.top, x + column.width, strip.bottom};
        x += column.width;
        if (cell.right <= strip.left || cell.left >= strip.right || column.width <= 0)
            continue;
        Frame3d(hdc, cell, GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNSHADOW));
        PaintCell(hdc, column.heading, cell, enabled);
    }
}

void PaintRows(HDC hdc, const ListViewState& state, const Layout& layout, bool enabled) {
    SetTextColor(hdc, GetSysColor(COLOR_WINDOWTEXT));
    const int height = RowHeight(state);
    const int last = std::min(int(state.rows.size()), state.top + layout.visibleRows + 1);
    for (int i = state.top; i < last; ++i) {
        const int y = layout.rowsTop + (i - state.top) * height;
        const std::vector<std::string>& row = state.rows[size_t(i)];
        int x = layout.view.left - state.scrollX;
        for (size_t c = 0; c < state.columns.size(); ++c) {
            const RECT cell{x, y, x + state.columns[c].width,
                            std::min<LONG>(y + height, layout.view.bottom)};
            x += state.columns[c].width;
            if (c < row.size() && cell.right > layout.view.left && cell.left < layout.view.right)
                PaintCell(hdc, row[c], cell, enabled);
        }
    }
}

void Paint(HWND hwnd, ListViewState& state) {
    ControlPaint paint(hwnd, state.font);
    HDC hdc = paint.dc();
    if (!hdc)
        return;
    const Layout layout = LayOut(hwnd, state);
    const bool enabled = IsWindowEnabled(hwnd);
    FillSolid(hdc, paint.client(), GetSysColor(COLOR_WINDOW));
    const int mode = SetBkMode(hdc, TRANSPARENT);
    // The cells that reach under the strips are covered by them.
    PaintRows(hdc, state, layout, enabled);
    PaintHeader(hdc, state, layout, enabled);
    SetBkMode(hdc, mode);
    const RECT& client = paint.client();
    if (layout.across)
        PaintScrollStrip(
            hdc, RECT{client.left, layout.view.bottom, layout.view.right, client.bottom}, true,
            ColumnsWidth(state), layout.view.right - layout.view.left, state.scrollX);
    if (layout.down)
        PaintScrollStrip(hdc, RECT{layout.view.right, client.top, client.right, layout.view.bottom},
                         false, int(state.rows.size()), layout.visibleRows, state.top);
    if (layout.across && layout.down)
        FillSolid(hdc, RECT{layout.view.right, layout.view.bottom, client.right, client.bottom},
                  GetSysColor(COLOR_BTNFACE));
}

// A click on a strip pages towards the click, from the thumb.
void OnClick(HWND hwnd, ListViewState& state, POINT p) {
    const Layout layout = LayOut(hwnd, state);
    if (layout.across && p.y >= layout.view.bottom && p.x < layout.view.right) {
        const int viewWidth = layout.view.right - layout.view.left;
        const StripThumb thumb =
            ScrollThumb(viewWidth, ColumnsWidth(state), viewWidth, state.scrollX);
        const int page = p.x < layout.view.left + thumb.start ? -viewWidth : viewWidth;
        ScrollTo(hwnd, state, state.scrollX + page, state.top);
    } else if (layout.down && p.x >= layout.view.right && p.y < layout.view.bottom) {
        const int rows = std::max(1, layout.visibleRows);
        const StripThumb thumb = ScrollThumb(layout.view.bottom - layout.view.top,
                                             int(state.rows.size()), rows, state.top);
        const int page = p.y < layout.view.top + thumb.start ? -rows : rows;
        ScrollTo(hwnd, state, state.scrollX, state.top + page);
    }
}

const std::string* CellOf(const ListViewState& state, int item, int column) {
    if (item < 0 || item >= int(state.rows.size()) || column < 0 ||
        column >= int(state.columns.size()))
        return nullptr;
    const std::vector<std::string>& row = state.rows[size_t(item)];
    static const std::string empty;
    return size_t(column) < row.size() ? &row[size_t(column)] : &empty;
}

LRESULT InsertColumn(HWND hwnd, ListViewState& state, int index, const LVCOLUMN* column) {
    if (column == nullptr || index < 0)
        return -1;
    index = std::min(index, int(state.columns.size()));
    Column made;
    if ((column->mask & LVCF_TEXT) && column->pszText != nullptr)
        made.heading = column->pszText;
    if (column->mask & LVCF_WIDTH)
        made.width = std::max(0, column->cx);
    state.columns.insert(state.columns.begin() + index, made);
    for (std::vector<std::string>& row : state.rows) {
        if (size_t(index) < row.size())
            row.insert(row.begin() + index, std::string());
    }
    Changed(hwnd, state);
    return index;
}

LRESULT DeleteColumn(HWND hwnd, ListViewState& state, int index) {
    if (index < 0 || index >= int(state.columns.size()))
        return FALSE;
    state.columns.erase(state.columns.begin() + index);
    for (std::vector<std::string>& row : state.rows) {
        if (size_t(index) < row.size())
            row.erase(row.begin() + index);
    }
    Changed(hwnd, state);
    return TRUE;
}

LRESULT InsertItem(HWND hwnd, ListViewState& state, const LVITEM* item) {
    if (item == nullptr || item->iItem < 0 || item->iSubItem != 0)
        return -1;
    const int index = std::min(item->iItem, int(state.rows.size()));
    std::vector<std::string> row;
    if ((item->mask & LVIF_TEXT) && item->pszText != nullptr)
        row.emplace_back(item->pszText);
    state.rows.insert(state.rows.begin() + index, std::move(row));
    Changed(hwnd, state);
    return index;
}

LRESULT SetItemText(HWND hwnd, ListViewState& state, int index, const LVITEM* item) {
    if (item == nullptr || CellOf(state, index, item->iSubItem) == nullptr)
        return FALSE;
    std::vector<std::string>& row = state.rows[size_t(index)];
    if (row.size() <= size_t(item->iSubItem))
        row.resize(size_t(item->iSubItem) + 1);
    const std::string text = item->pszText != nullptr ? item->pszText : "";
    if (row[size_t(item->iSubItem)] != text) {
        row[size_t(item->iSubItem)] = text;
        InvalidateRect(hwnd, nullptr, FALSE);
    }
    return TRUE;
}

// Copies as much of the text as the buffer holds; returns the bytes copied.
int CopyText(const std::string& text, LPSTR buffer, int size) {
    if (buffer == nullptr || size <= 0)
        return 0;
    const size_t length = std::min(text.size(), size_t(size - 1));
    memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
    return int(length);
}

LRESULT GetItemText(const ListViewState& state, int index, LVITEM* item) {
    if (item == nullptr)
        return 0;
    const std::string* text = CellOf(state, index, item->iSubItem);
    return CopyText(text ? *text : std::string(), item->pszText, item->cchTextMax);
}

LRESULT GetColumn(const ListViewState& state, int index, LVCOLUMN* column) {
    if (column == nullptr || index < 0 || index >= int(state.columns.size()))
        return FALSE;
    const Column& kept = state.columns[size_t(index)];
    if (column->mask & LVCF_WIDTH)
        column->cx = kept.width;
    if (column->mask & LVCF_TEXT)
        CopyText(kept.heading, column->pszText, column->cchTextMax);
    return TRUE;
}

// The width and height the list needs for a number of rows (-1: those it
// has) when it is cx wide (-1: as wide as it is now).
LRESULT ApproximateViewRect(HWND hwnd, const ListViewState& state, int rows, int cx) {
    if (rows < 0)
        rows = int(state.rows.size());
    if (cx < 0) {
        RECT client;
        GetClientRect(hwnd, &client);
        cx = client.right;
    }
    const int width = ColumnsWidth(state);
    const int height =
        HeaderHeight(state) + rows * RowHeight(state) + (width > cx ? kScrollStripWidth : 0);
    return MAKELONG(WORD(std::min(width, 0xFFFF)), WORD(std::min(height, 0xFFFF)));
}

LRESULT OnListViewMessage(HWND hwnd, ListViewState& state, UINT message, WPARAM wParam,
                          LPARAM lParam) {
    switch (message) {
    case LVM_INSERTCOLUMN:
        return InsertColumn(hwnd, state, int(wParam), reinterpret_cast<const LVCOLUMN*>(lParam));
    case LVM_DELETECOLUMN:
        return DeleteColumn(hwnd, state, int(wParam));
    case LVM_GETCOLUMN:
        return GetColumn(state, int(wParam), reinterpret_cast<LVCOLUMN*>(lParam));
    case LVM_INSERTITEM:
        return InsertItem(hwnd, state, reinterpret_cast<const LVITEM*>(lParam));
    case LVM_SETITEMTEXT:
        return SetItemText(hwnd, state, int(wParam), reinterpret_cast<const LVITEM*>(lParam));
    case LVM_GETITEMTEXT:
        return GetItemText(state, int(wParam), reinterpret_cast<LVITEM*>(lParam));
    case LVM_GETITEMCOUNT:
        return LRESULT(state.rows.size());
    case LVM_DELETEALLITEMS:
        state.rows.clear();
        Changed(hwnd, state);
        return TRUE;
    case LVM_GETTOPINDEX:
        return state.top;
    case LVM_APPROXIMATEVIEWRECT:
        return ApproximateViewRect(hwnd, state, int(wParam), short(LOWORD(lParam)));
    default:
        return DefWindowProc(hwnd, message, wParam, lParam);
    }
}

LRESULT CALLBACK ListViewProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCDESTROY) {
        States().Drop(hwnd);
        return 0;
    }
    ListViewState& state = States().Get(hwnd);
    LRESULT common = 0;
    if (CommonControlMessage(hwnd, state.font, message, wParam, lParam, &common))
        return common;
    switch (message) {
    case WM_PAINT:
        Paint(hwnd, state);
        return 0;
    case WM_SIZE:
        Changed(hwnd, state);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        OnClick(hwnd, state, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_MOUSEWHEEL: {
        const int steps = short(HIWORD(wParam)) / WHEEL_DELTA;
        ScrollTo(hwnd, state, state.scrollX, state.top - steps * kWheelRows);
        return 0;
    }
    default:
        return OnListViewMessage(hwnd, state, message, wParam, lParam);
    }
}

} // namespace

void RegisterListViewClass() {
    RegisterControlClass(WC_LISTVIEW, ListViewProc);
}

} // namespace platform
