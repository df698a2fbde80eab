#include "app/HistoryPages.h"

#include <algorithm>
#include <cstring>

namespace history_pages {

namespace {

constexpr int64_t kWan = 10000;
constexpr int64_t kYi = 100000000;

} // namespace

CString FormatValue(int64_t value, bool beanTotal) {
    CString text;
    const int64_t magnitude = value < 0 ? -value : value;
    const char* sign = value < 0 ? "-" : "+";
    if (beanTotal && magnitude >= kYi)
        text.Format("%s%lld亿", sign, (long long)(magnitude / kYi));
    else if (magnitude >= kWan)
        text.Format("%s%lld万", sign, (long long)(magnitude / kWan));
    else
        text.Format("%s%lld", sign, (long long)magnitude);
    return text;
}

Page PageEndingAt(int last) {
    Page page;
    if (last <= 0)
        return page;
    page.last = last;
    page.first = last >= 3 ? last - 2 : 1;
    return page;
}

int Earlier(int last, int count) {
    if (last <= 5 && count >= 3)
        return 3;
    if (last > 5)
        return last - 3;
    return count;
}

int Later(int last, int count) {
    if (last >= count)
        return last;
    return std::min(last + 3, count);
}

} // namespace history_pages
