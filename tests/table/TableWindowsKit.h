#pragma once

// The table's own windows as a person's screen holds them, found through
// the window tree rather than asked of the table: each seat's picture (a
// hidden child of the table under the seat's control id), the deal's pace
// window (a hidden child under its own) and the seat pop-up (a pop-up window
// of the table's top-level window, holding the sit button).

#include "platform/window/WindowVisibility.h"
#include "table/cards/DealPaceWnd.h"
#include "table/panes/SeatDisplayWnd.h"
#include "table/panes/SeatPopupWnd.h"

#include <vector>

namespace table_test {

// The picture window of a seat; null when the table has none.
inline CSeatDisplayWnd* SeatPictureOf(const CWnd& table, int seat) {
    const HWND child = ::GetDlgItem(table.m_hWnd, CSeatDisplayWnd::kFirstControlId + seat);
    return dynamic_cast<CSeatDisplayWnd*>(CWnd::FromHandlePermanent(child));
}

// The table's deal pace window; null when the table has none.
inline CDealPaceWnd* DealPaceOf(const CWnd& table) {
    const HWND child = ::GetDlgItem(table.m_hWnd, CDealPaceWnd::kControlId);
    return dynamic_cast<CDealPaceWnd*>(CWnd::FromHandlePermanent(child));
}

// The seat pop-ups over the table's top-level window, shown or not, front
// first.
inline std::vector<HWND> SeatPopupsOf(const CWnd& table) {
    const HWND owner = platform::TopLevelWindowOf(table.m_hWnd, nullptr);
    std::vector<HWND> popups;
    for (HWND top : platform::TopLevelWindowList())
        if (::GetParent(top) == owner && ::GetDlgItem(top, CSeatPopupWnd::kSitId) != nullptr)
            popups.push_back(top);
    return popups;
}

} // namespace table_test
