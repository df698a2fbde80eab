#pragma once
// The score history's figures and pages: how a change or a total is
// written, which games a page shows, and the name a seat goes by.

#include "platform/CString.h"

#include <cstdint>

namespace history_pages {

// "+%d万" from ten thousand, "+%d" and "-%d" below it, "-%d万" below minus
// ten thousand; a bean total also "+%d亿"/"-%d亿" past a hundred million.
// Divisions truncate; 64 bits so that sums and the most negative int do not
// wrap.
CString FormatValue(int64_t value, bool beanTotal = false);

// Games on a page (1-based numbers), the newest last; none when last is 0.
struct Page {
    int first = 0;
    int last = 0;
};
Page PageEndingAt(int last);
// The last game number after paging earlier or later from last, with count
// games in all.
int Earlier(int last, int count);
int Later(int last, int count);

} // namespace history_pages
