#pragma once

// The text of a single-line edit control: its bytes (GBK), the caret, the
// selection and the length limit. Every position sits on a character
// boundary: a double-byte character is never split by the caret, a
// selection, a deletion or the limit.

#include <string>
#include <string_view>

namespace platform {

class EditText {
public:
    static constexpr int kDefaultLimit = 0x7FFFFFFE;

    const std::string& text() const { return m_text; }
    int caret() const { return m_caret; }
    int anchor() const { return m_anchor; }
    int SelectionStart() const { return m_caret < m_anchor ? m_caret : m_anchor; }
    int SelectionEnd() const { return m_caret < m_anchor ? m_anchor : m_caret; }
    bool HasSelection() const { return m_caret != m_anchor; }

    // Replaces everything; the caret goes to the start. The limit does not
    // apply (as with WM_SETTEXT).
    void SetText(std::string_view text);
    // 0 restores the default limit.
    void SetLimit(int bytes) { m_limit = bytes > 0 ? bytes : kDefaultLimit; }
    int limit() const { return m_limit; }

    // start -1 removes the selection, leaving the caret; end -1 means the end
    // of the text. The caret goes to end.
    void SetSelection(int start, int end);
    void MoveCaret(int position, bool extend);
    // Character boundaries around a position.
    int Previous(int position) const;
    int Next(int position) const;
    // The boundary at or before a position.
    int Snap(int position) const;

    // Puts text in place of the selection, cut (on a character boundary) to
    // what the limit leaves room for; returns false when any had to be cut.
    bool ReplaceSelection(std::string_view text);
    // Backspace and Delete: the selection, else one character. False when
    // nothing was removed.
    bool DeleteBackward();
    bool DeleteForward();

private:
    std::string m_text;
    int m_caret = 0;
    int m_anchor = 0;
    int m_limit = kDefaultLimit;
};

} // namespace platform
