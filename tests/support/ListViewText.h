#pragma once

// What a report list view shows, read back through its messages: the
// headings (row -1) or a row's texts, one per column; and a column's width.

#include "platform/controls/ControlDefs.h"

#include <string>
#include <vector>

namespace platform_test {

inline int ListViewColumnWidth(HWND list, int column) {
    LVCOLUMN read{LVCF_WIDTH, 0, -1, nullptr, 0, 0};
    return SendMessage(list, LVM_GETCOLUMN, WPARAM(column), LPARAM(&read)) ? read.cx : -1;
}

inline std::vector<std::string> ListViewTexts(HWND list, int row) {
    std::vector<std::string> texts;
    for (int c = 0; ListViewColumnWidth(list, c) >= 0; ++c) {
        char text[32] = "?";
        LVCOLUMN heading{LVCF_TEXT, 0, 0, text, sizeof text, 0};
        LVITEM cell{0, row, c, 0, 0, text, sizeof text, 0, 0};
        SendMessage(list, row < 0 ? LVM_GETCOLUMN : LVM_GETITEMTEXT, WPARAM(row < 0 ? c : row),
                    row < 0 ? LPARAM(&heading) : LPARAM(&cell));
        texts.push_back(text);
    }
    return texts;
}

} // namespace platform_test
