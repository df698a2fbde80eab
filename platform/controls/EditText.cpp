// The text, caret and selection of a single-line edit control.

#include "platform/controls/EditText.h"

#include "platform/CodePage.h"

#include <algorithm>

namespace platform {

void EditText::SetText(std::string_view text) {
    m_text.assign(text);
    m_caret = m_anchor = 0;
}

int EditText::Snap(int position) const {
    position = std::clamp(position, 0, int(m_text.size()));
    int at = 0;
    while (at < position) {
        const int next = at + std::max(1, GbkCharLength(m_text, size_t(at)));
        if (next > position)
            break;
        at = next;
    }
    return at;
}

int EditText::Previous(int position) const {
    position = Snap(position);
    return position == 0 ? 0 : Snap(position - 1);
}

int EditText::Next(int position) const {
    position = Snap(position);
    if (position >= int(m_text.size()))
        return int(m_text.size());
    return position + std::max(1, GbkCharLength(m_text, size_t(position)));
}

void EditText::SetSelection(int start, int end) {
    if (start == -1) {
        m_anchor = m_caret;
        return;
    }
    if (end < 0 || end > int(m_text.size()))
        end = int(m_text.size());
    m_anchor = Snap(start);
    m_caret = Snap(end);
}

void EditText::MoveCaret(int position, bool extend) {
    m_caret = Snap(position);
    if (!extend)
        m_anchor = m_caret;
}

bool EditText::ReplaceSelection(std::string_view text) {
    const int start = SelectionStart();
    const int removed = SelectionEnd() - start;
    const int room = std::max(0, m_limit - (int(m_text.size()) - removed));
    // Cut to whole characters that fit.
    size_t take = 0;
    while (take < text.size()) {
        const size_t length = size_t(std::max(1, GbkCharLength(text, take)));
        if (take + length > size_t(room))
            break;
        take += length;
    }
    m_text.replace(size_t(start), size_t(removed), text.substr(0, take));
    m_caret = m_anchor = start + int(take);
    return take == text.size();
}

bool EditText::DeleteBackward() {
    if (!HasSelection()) {
        if (m_caret == 0)
            return false;
        m_anchor = Previous(m_caret);
    }
    ReplaceSelection({});
    return true;
}

bool EditText::DeleteForward() {
    if (!HasSelection()) {
        if (m_caret >= int(m_text.size()))
            return false;
        m_anchor = Next(m_caret);
    }
    ReplaceSelection({});
    return true;
}

} // namespace platform
