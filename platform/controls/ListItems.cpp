// The items of list boxes and combo boxes.

#include "platform/controls/ListItems.h"

#include <cstring>
#include <strings.h>

namespace platform {

int ListItems::Add(const std::string& text, bool sorted) {
    size_t at = m_items.size();
    if (sorted) {
        at = 0;
        while (at < m_items.size() && strcasecmp(m_items[at].text.c_str(), text.c_str()) <= 0)
            ++at;
    }
    m_items.insert(m_items.begin() + long(at), Item{text, 0});
    return int(at);
}

int ListItems::Insert(int index, const std::string& text) {
    if (index < 0)
        index = Count();
    if (index > Count())
        return -1;
    m_items.insert(m_items.begin() + index, Item{text, 0});
    return index;
}

int ListItems::Remove(int index) {
    if (!Valid(index))
        return -1;
    m_items.erase(m_items.begin() + index);
    return Count();
}

int ListItems::Find(int start, const std::string& text, bool exact) const {
    const int n = Count();
    if (start < -1 || start >= n)
        start = -1;
    for (int k = 1; k <= n; ++k) {
        const int i = (start + k) % n;
        const std::string& item = m_items[size_t(i)].text;
        const bool match = exact ? strcasecmp(item.c_str(), text.c_str()) == 0
                                 : strncasecmp(item.c_str(), text.c_str(), text.size()) == 0;
        if (match)
            return i;
    }
    return -1;
}

namespace {

LRESULT CopyText(const ListItems& items, int index, LPSTR buffer, LRESULT error) {
    if (!items.Valid(index) || !buffer)
        return error;
    const std::string& text = items.At(index).text;
    memcpy(buffer, text.c_str(), text.size() + 1);
    return LRESULT(text.size());
}

} // namespace

bool HandleItemMessage(const ItemMessages& ids, ListItems& items, int& selected, bool sorted,
                       UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    const std::string text = lParam && (message == ids.add || message == ids.insert ||
                                        message == ids.find || message == ids.findExact)
                                 ? reinterpret_cast<LPCSTR>(lParam)
                                 : "";
    const int index = int(wParam);
    if (message == ids.add || message == ids.insert) {
        const int at = message == ids.add ? items.Add(text, sorted) : items.Insert(index, text);
        if (at >= 0 && selected >= at)
            ++selected;
        *result = at < 0 ? ids.error : at;
    } else if (message == ids.remove) {
        const int left = items.Remove(index);
        if (left >= 0 && selected == index)
            selected = -1;
        else if (left >= 0 && selected > index)
            --selected;
        *result = left < 0 ? ids.error : left;
    } else if (message == ids.reset) {
        items.Clear();
        selected = -1;
        *result = 0;
    } else if (message == ids.count) {
        *result = items.Count();
    } else if (message == ids.getText) {
        *result = CopyText(items, index, reinterpret_cast<LPSTR>(lParam), ids.error);
    } else if (message == ids.getTextLength) {
        *result = items.Valid(index) ? LRESULT(items.At(index).text.size()) : ids.error;
    } else if (message == ids.find || message == ids.findExact) {
        *result = items.Find(index, text, message == ids.findExact);
    } else if (message == ids.getData) {
        *result = items.Valid(index) ? LRESULT(items.At(index).data) : ids.error;
    } else if (message == ids.setData) {
        if (items.Valid(index))
            items.SetData(index, ULONG_PTR(lParam));
        *result = items.Valid(index) ? 0 : ids.error;
    } else {
        return false;
    }
    return true;
}

} // namespace platform
