#pragma once

// The items of a list box or a combo box: texts (GBK) with a data value each,
// kept in order or sorted without regard to letter case.

#include "platform/Types.h"

#include <string>
#include <vector>

namespace platform {

class ListItems {
public:
    struct Item {
        std::string text;
        ULONG_PTR data = 0;
    };

    int Count() const { return int(m_items.size()); }
    bool Valid(int index) const { return index >= 0 && index < Count(); }
    const Item& At(int index) const { return m_items[size_t(index)]; }
    void SetData(int index, ULONG_PTR data) { m_items[size_t(index)].data = data; }

    // Returns the index the text went to.
    int Add(const std::string& text, bool sorted);
    // index -1 appends; returns -1 for an index past the end.
    int Insert(int index, const std::string& text);
    // Returns the count left, -1 for a bad index.
    int Remove(int index);
    void Clear() { m_items.clear(); }
    // The first item after start (wrapping; start -1 searches from the
    // top) that begins with the text, or equals it, ignoring letter case.
    int Find(int start, const std::string& text, bool exact) const;

private:
    std::vector<Item> m_items;
};

// The item messages list boxes and combo boxes share, by each control's own
// message ids.
struct ItemMessages {
    UINT add, insert, remove, reset, count, getText, getTextLength, find, findExact, getData,
        setData;
    LRESULT error; // LB_ERR or CB_ERR
};

// Handles one of those messages on the items, keeping the selected index on
// its item; false for any other message. Redrawing is the caller's.
bool HandleItemMessage(const ItemMessages& ids, ListItems& items, int& selected, bool sorted,
                       UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

} // namespace platform
